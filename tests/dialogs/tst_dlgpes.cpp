// The PES dialog on the example network: its run, result file, reports and
// the selection it keeps.

#include "dialogs/CDlgPES.h"
#include "shell/CTreeZORVAN.h"
#include "shell/objectdialogs.h"
#include "store/SaveInfo.h"
#include "store/arxiv.h"

#include "calcglobals.h"
#include "testsupport.h"

#include <QStandardItemModel>
#include <QtTest>

namespace {

const QString kPes = QStringLiteral("Северные электрические сети");

QStringList column(const QVector<QStringList>& rows, int i)
{
    QStringList out;
    for (const QStringList& row : rows)
        out.append(row.value(i));
    return out;
}

} // namespace

class TestDlgPES : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetCalcGlobals(); UROV = 0; }
    void runWritesRowsPerResAndTotal();
    void characteristicsReport();
    void enteredFromTree();
};

void TestDlgPES::runWritesRowsPerResAndTotal()
{
    TempWorkDir dir;
    dir.copyExamples();
    dir.writeFile("poteri.xml", "<ArxivPot/>");   // an older result of another window
    MessageRecorder recorder;
    NPES = "1";
    CDlgPES dlg("1", nullptr);
    QCOMPARE(dlg.windowTitle(), kPes);
    QCOMPARE(pNameRas, QStringList{kPes});
    QVERIFY(!dlg.ArxivSave->isEnabled());
    NPES = "2";   // another PES entered in the tree meanwhile
    dlg.slot_CalcPES();

    QCOMPARE(NPES, QString("1"));
    QCOMPARE(NRES, QString("3"));          // the last RES of the PES, at its own temperature
    QCOMPARE(pT_RES, -14.5);
    QVERIFY(dlg.ArxivSave->isEnabled());
    const ArxivFile file = readArxivFile(dir.filePath("poteri.xml"));
    QCOMPARE(file.records.size(), 1);
    const ResPoter& record = file.records.first();
    QCOMPARE(record.npes + "/" + record.nres, QString("1/0"));
    QCOMPARE(record.rows, dlg.m_rows);
    const QStringList ids = column(record.rows, 0);
    QCOMPARE(ids.mid(0, 11), (QStringList{"1,1,1", "1,1,2", "1,1,3", "B 1,1", "1,2,1", "1,2,2", "1,2,3",
                                          "B 1,2", "1,3,1", "1,3,2", "B 1,3"}));
    QCOMPARE(ids.last(), QString("SUM"));
    const QStringList names = column(record.rows, 1);
    QCOMPARE(names.at(3), QString("Всего по Заречный РЭС"));
    QCOMPARE(names.last(), QString("Всего по ПЭС"));
    // The loss report is written and shown; the PES run keeps no error log.
    QCOMPARE(recorder.texts(), QStringList{"Потери в сети 3-20 кВ " + kPes});
    QVERIFY(QFile::exists(reportFilePath("Потери в сети 3-20 кВ " + kPes)));
    QVERIFY(!dir.exists("Ошибки при расчете потерь.log"));
}

void TestDlgPES::characteristicsReport()
{
    TempWorkDir dir;
    dir.copyExamples();
    MessageRecorder recorder;
    NPES = "1";
    CDlgPES dlg("1", nullptr);
    NPES = "7";
    dlg.ParamPES->click();
    const QString name = "Параметры линий по " + kPes;
    QCOMPARE(recorder.texts(), QStringList{name});
    QFile report(reportFilePath(name));
    QVERIFY(report.open(QIODevice::ReadOnly));
    // A row for each of the eight lines of the PES's three RES.
    QCOMPARE(QString::fromUtf8(report.readAll()).count("<tr BGCOLOR = '#FFFFFF'>"), 8);
}

void TestDlgPES::enteredFromTree()
{
    TempWorkDir dir;
    dir.copyExamples();
    MessageRecorder recorder;
    registerObjectDialogs();
    CTreeZORVAN tree(nullptr);
    tree.setAttribute(Qt::WA_DeleteOnClose, false);
    tree.TreeView->setCurrentIndex(tree.treeModel()->index(0, 0));
    tree.VxodButton->click();
    auto* dlg = qobject_cast<CDlgPES*>(tree.objectDialog(0));
    QVERIFY(dlg && tree.isLocked());
    QCOMPARE(dlg->windowTitle(), kPes);
    dlg->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!tree.objectDialog(0) && !tree.isLocked());
    CTreeZORVAN::setDialogFactory(0, nullptr);
}

QTEST_MAIN(TestDlgPES)
#include "tst_dlgpes.moc"

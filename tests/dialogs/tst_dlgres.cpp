// The RES dialog offscreen: its own RES from opening to save and run, the
// archive button, a run that cannot be interrupted.

#include "dialogs/CDlgRES.h"
#include "shell/objectdialogs.h"
#include "shell/CTreeZORVAN.h"
#include "store/arxiv.h"

#include "calcglobals.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QDir>
#include <QStandardItemModel>
#include <QtTest>

class TestDlgRes : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); }
    void opensOwnRes_data();
    void opensOwnRes();
    void saveWritesOwnRowOnly();
    void runUsesOwnResAndCannotBeInterrupted();
    void errorLogOfFailedLine();
    void enteredFromTree();
    void characteristicsOfOwnRes();
};

void TestDlgRes::opensOwnRes_data()
{
    QTest::addColumn<QString>("nres");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<double>("temp");
    QTest::newRow("common temperature") << "1" << "Режимы работы на уровне Заречный РЭС" << false << 12.5;
    QTest::newRow("own temperature") << "3" << "Режимы работы на уровне Приозерный РЭС" << true << -14.5;
    QTest::newRow("no such RES") << "9" << "Архив потерь" << false << 20.0;
}

void TestDlgRes::opensOwnRes()
{
    QFETCH(QString, nres);
    TempWorkDir dir;
    dir.copyExamples();
    dir.writeFile("poteri.xml", "<ArxivPot/>");
    pT_sr = 12.5;
    pT_RES = 3.0;
    NRES = nres;
    CDlgRES dlg(QString(), nullptr);
    QTEST(dlg.windowTitle(), "title");
    QTEST(dlg.checkTemp->isChecked(), "checked");
    QTEST(dlg.SpinTemp->value(), "temp");
    const bool found = nres != "9";
    QCOMPARE(pT_RES, found ? dlg.SpinTemp->value() : 3.0);
    QCOMPARE(pNameRas.size() + dlg.nomRES->text().size(), found ? 2 : 0);
    // An older result file is never this window's result.
    QVERIFY(!dlg.SaveArxRES->isEnabled());
}

void TestDlgRes::saveWritesOwnRowOnly()
{
    TempWorkDir dir;
    dir.copyExamples();
    MessageRecorder recorder;
    CDlgRES dlg(QString(), nullptr);
    NRES = "2";   // another RES entered in the tree meanwhile
    // ... and another window renamed RES 3 meanwhile.
    Table rows = ReadShablonXML("res", attrRES, "RES");
    rows[2][2] = "Новый";
    saveShablonXML("res", attrRES, "RES", "net10_RES", rows);

    dlg.DnRES->setText("РЭС-1а");
    dlg.SpinTemp->setValue(18.5);
    recorder.answers = {true};   // No: nothing happens
    dlg.slot_Save();
    QCOMPARE(ReadShablonXML("res", attrRES, "RES"), rows);
    QCOMPARE(pT_RES, 20.0);

    recorder.answers = {false};
    dlg.slot_Save();
    rows[0] = QStringList{"1", "1", "Заречный РЭС", "РЭС-1а", "0", "18.5"};
    QCOMPARE(ReadShablonXML("res", attrRES, "RES"), rows);
    QCOMPARE(recorder.warnings(), QStringList{"Информация|Данные сохранены"});
    QCOMPARE(pT_RES, 18.5);

    // A damaged table is not rewritten, and no success is claimed.
    dir.writeFile("res.xml", "<net10_RES><RES npes=\"1\"");
    recorder.clear();
    recorder.answers = {false};
    dlg.slot_Save();
    QCOMPARE(dir.readFile("res.xml"), QByteArray("<net10_RES><RES npes=\"1\""));
    QVERIFY(!recorder.warnings().contains("Информация|Данные сохранены"));
}

void TestDlgRes::runUsesOwnResAndCannotBeInterrupted()
{
    TempWorkDir dir;
    dir.copyExamples();
    MessageRecorder recorder;
    QPointer<CDlgRES> dlg = new CDlgRES(QString(), nullptr);
    dlg->show();
    NRES = "2";
    pT_RES = 99.0;
    // A second press, the close box and Escape arrive while the run works.
    QMetaObject::invokeMethod(dlg, "slot_CalcRES", Qt::QueuedConnection);
    QMetaObject::invokeMethod(dlg, "close", Qt::QueuedConnection);
    QMetaObject::invokeMethod(dlg, "reject", Qt::QueuedConnection);
    dlg->slot_CalcRES();
    QCoreApplication::processEvents();

    QVERIFY(dlg && dlg->isVisible());
    QCOMPARE(dlg->m_lineIds, (QStringList{"1,1,1", "1,1,2", "1,1,3"}));
    QCOMPARE(NRES, QString("1"));
    QVERIFY(dlg->SaveArxRES->isEnabled());
    QVERIFY(dlg->CalcRES->isEnabled());
    const ArxivFile file = readArxivFile(dir.filePath("poteri.xml"));
    QCOMPARE(file.records.value(0).nres, QString("1"));
    QCOMPARE(file.records.value(0).rows, dlg->m_rows);
    // One report, at the window's own temperature; no error log.
    QCOMPARE(recorder.texts(), QStringList{"Потери в сети 35-220 кВ Заречный РЭС"});
    QVERIFY(dir.readFile("html/Потери в сети 35-220 кВ Заречный РЭС.html").contains("Температура 20.0"));
    QVERIFY(!dir.exists("Ошибки при расчете потерь.log"));

    // A result that cannot be written is never offered to the archive.
    QFile::remove(dir.filePath("poteri.xml"));
    QDir(dir.path()).mkdir("poteri.xml");
    recorder.clear();
    dlg->slot_CalcRES();
    QVERIFY(!dlg->SaveArxRES->isEnabled());
    QCOMPARE(recorder.warnings(), QStringList{"Ошибка|Невозможно создать файл -" + dir.filePath("poteri.xml")});
    delete dlg;
}

void TestDlgRes::errorLogOfFailedLine()
{
    TempWorkDir dir;
    MessageRecorder recorder;
    TestNetwork net;
    net.addWire("АС-120/19", "120", "0", "0.249", "0.427");
    for (const QString nlin : {"1", "2", "3"}) {
        net.addLine(nlin, "Линия " + nlin);
        net.addSection(nlin, 0, 1, nlin == "2" ? "XX" : "АС-120/19", 5.0);
    }
    net.write();
    saveShablonXML("res", attrRES, "RES", "net10_RES", {{"1", "1", "РЭС", "", "0", "0"}});

    CDlgRES dlg(QString(), nullptr);
    dlg.slot_CalcRES();
    QCOMPARE(dlg.m_rows.size(), 3 + 2);
    const QString log = QString::fromUtf8(dir.readFile("Ошибки при расчете потерь.log"));
    QVERIFY(log.indexOf("Линия 1") < log.indexOf("XX"));
    QVERIFY(log.indexOf("XX") < log.indexOf("Линия 3"));
    QCOMPARE(recorder.texts().last(), QString("Ошибки при расчете потерь.log"));
}

void TestDlgRes::enteredFromTree()
{
    TempWorkDir dir;
    dir.copyExamples();
    MessageRecorder recorder;
    registerObjectDialogs();
    CTreeZORVAN tree(nullptr);
    tree.setAttribute(Qt::WA_DeleteOnClose, false);
    const QModelIndexList found = tree.treeModel()->match(
        tree.treeModel()->index(0, 0), Qt::DisplayRole, "Луговской РЭС", 1, Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    tree.TreeView->setCurrentIndex(found.first());
    tree.VxodButton->click();

    auto* dlg = qobject_cast<CDlgRES*>(tree.objectDialog(1));
    QVERIFY(dlg);
    QCOMPARE(dlg->windowTitle(), QString("Режимы работы на уровне Луговской РЭС"));
    QVERIFY(tree.isLocked());
    dlg->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!tree.objectDialog(1));
    QVERIFY(!tree.isLocked());
    CTreeZORVAN::setDialogFactory(1, nullptr);
}

void TestDlgRes::characteristicsOfOwnRes()
{
    TempWorkDir dir;
    dir.copyExamples();
    MessageRecorder recorder;
    CDlgRES dlg(QString(), nullptr);
    NRES = "2";   // another RES entered in the tree meanwhile
    dlg.ParamRES->click();
    QCOMPARE(recorder.texts(), QStringList{"Параметры линий по Заречный РЭС"});
    QCOMPARE(NRES, QString("1"));
}

QTEST_MAIN(TestDlgRes)
#include "tst_dlgres.moc"

// The line dialog: loading and saving the line's record, the protocol-mode
// calculation, and a dialog that keeps its own line while the selection moves.

#include "calcglobals.h"
#include "dialogs/CDlgLIN.h"
#include "dialogs/CDlgTblUchLIN.h"
#include "testnetwork.h"
#include "shell/CTreeZORVAN.h"
#include "shell/ZORVAN.h"
#include "startfolder.h"
#include "testsupport.h"

#include <QStandardItemModel>

#include <QtTest>

#include <memory>

namespace {

void writeRes(const QString& indT, const QString& temp)
{
    saveShablonXML("res", attrRES, "RES", "net110_RES",
                   {{"1", "1", "Заречный РЭС", "РЭС-1", indT, temp}});
}

// Line 1 between two other lines of the same RES, with one 35 kV transformer.
TestNetwork network(const QStringList& line1)
{
    TestNetwork net;
    net.addLine("2", "ВЛ-2", 110);
    net.lines.append(line1);
    net.addLine("3", "ВЛ-3", 110);
    net.addWire("АС-70", "70", "0", "0.428", "0.444");
    net.addTransType("ТМН-2500/35", "35", "2500", "3.9", "31", "5.1", "27.5", "1.5", "6", "35", "11");
    net.addSection("1", 0, 1, "АС-70", 4.5);
    net.addTrans("1", 1, 2, "ТМН-2500/35", 1.2, 0.5, 800, 300);
    return net;
}

QStringList lineRow(const QStringList& values)   // attrLin order from "name" on
{
    return QStringList{"1", "1", "1"} + values;
}

} // namespace

class TestDlgLin : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        resetCalcGlobals();
        UNOM = 7;
        dir.reset(new TempWorkDir);
        rec.reset(new MessageRecorder);
        rec->defaultAnswer = false;   // Yes
    }
    void cleanup()
    {
        rec.reset();
        dir.reset();
    }

    void loadAndSave_data();
    void loadAndSave();
    void saveRefusals();
    void calculationInProtocolMode();
    void keepsItsOwnLine();
    void mainWindowClosesWithLineWindowsOpen();

private:
    std::unique_ptr<TempWorkDir> dir;
    std::unique_ptr<MessageRecorder> rec;
};

void TestDlgLin::loadAndSave_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("saved");
    QTest::addColumn<double>("unom");   // UNOM after loading

    QTest::newRow("as stored")
        << lineRow({"ВЛ-1", "Л-1", "1.5", "110", "117", "114", "0.45", "0.72", "1.08", "0.85",
                    "1", "0", "1", "1"})
        << lineRow({"ВЛ-1", "Л-1", "1.5", "110", "117", "114", "0.45", "0.72", "1.08", "0.85",
                    "1", "0", "1", "1"})
        << 110.0;
    QTest::newRow("clamped by the fields")
        << lineRow({"ВЛ-1", "", "400", "0", "600", "", "abc", "", "", "", "0", "1", "0", "2"})
        << lineRow({"ВЛ-1", "", "366", "35", "550", "35", "0", "0", "1", "0", "0", "1", "0", "0"})
        << 0.0;
}

void TestDlgLin::loadAndSave()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, saved);
    QFETCH(double, unom);
    writeRes("1", "-5.5");
    network(stored).write();

    auto* dlg = new CDlgLIN("1,1,1", nullptr);
    QCOMPARE(dlg->windowTitle(), QString("Режимы работы на уровне линии Заречный РЭС ВЛ-1"));
    QCOMPARE(pNameRas, QStringList({"Заречный РЭС", "ВЛ-1"}));
    QCOMPARE(pT_RES, -5.5);
    QCOMPARE(UNOM, unom);
    QCOMPARE(dlg->nomLIN->text(), QString("1"));
    QCOMPARE(dlg->Kfor->isVisibleTo(dlg), stored.at(15) == "1");
    dlg->checkKF->click();   // toggles; the value of k_for is still saved
    QCOMPARE(dlg->Kfor->isVisibleTo(dlg), stored.at(15) != "1");
    dlg->checkKF->click();

    dlg->SaveButton->click();
    QCOMPARE(rec->warnings(), QStringList({"Информация|Данные сохранены"}));
    const Table lines = ReadShablonXML("lines", attrLin, "LIN");
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0).at(2), QString("2"));
    QCOMPARE(lines.at(1), saved);
    QCOMPARE(lines.at(2).at(2), QString("3"));
    delete dlg;
}

void TestDlgLin::saveRefusals()
{
    writeRes("0", "0");
    network(lineRow({"ВЛ-1", "", "0", "35", "35", "35", "0.5", "0.6", "1", "0.5", "0", "0", "0", "0"}))
        .write();
    pT_sr = 3.0;
    auto* dlg = new CDlgLIN("1,1,1", nullptr);
    QCOMPARE(pT_RES, 3.0);
    const QByteArray before = dir->readFile("lines.xml");

    rec->answers = {true};   // No
    dlg->SaveButton->click();
    QCOMPARE(rec->warnings(), QStringList());

    // The line is gone from the table meanwhile: nothing is added, no success.
    TestNetwork other = network({});
    other.lines.removeAt(1);
    other.write();
    const QByteArray without = dir->readFile("lines.xml");
    dlg->SaveButton->click();
    QCOMPARE(rec->warnings().size(), 1);
    QVERIFY(rec->warnings().first().startsWith("Предупреждение|"));
    QCOMPARE(dir->readFile("lines.xml"), without);
    QVERIFY(before != without);
    delete dlg;
}

void TestDlgLin::calculationInProtocolMode()
{
    writeRes("0", "0");
    // A fill factor of 0 is corrected by the calculation, which logs it.
    network(lineRow({"ВЛ-1", "", "0", "35", "35", "35", "0.5", "0", "1", "0.5", "0", "0", "0", "0"}))
        .write();
    auto* dlg = new CDlgLIN("1,1,1", nullptr);
    NLIN = "2";   // another line entered in the tree meanwhile
    dlg->CalcLin->click();
    QVERIFY(dlg->CalcLin->isEnabled());
    QCOMPARE(NLIN, QString("1"));

    QStringList shown;
    for (const RecordedMessage& m : rec->messages) {
        if (m.kind == "show")
            shown.append(m.text);
    }
    QCOMPARE(shown, QStringList({"Информация по участкам линии ВЛ-1", "Ошибки при расчете потерь.log",
                                 "Потери по линии ВЛ-1"}));
    QVERIFY(dir->exists("html/Потери по линии ВЛ-1.html"));
    QVERIFY(QString::fromUtf8(dir->readFile("Ошибки при расчете потерь.log"))
                .contains("* Коэффициент заполнения графика задан неверно, принят 0.5"));
    delete dlg;
}

void TestDlgLin::keepsItsOwnLine()
{
    writeRes("0", "0");
    TestNetwork net = network(
        lineRow({"ВЛ-1", "", "0", "35", "35", "35", "0.5", "0.6", "1", "0.5", "0", "0", "0", "0"}));
    net.addSection("2", 0, 1, "АС-70", 9);
    net.write();
    const Table linesBefore = ReadShablonXML("lines", attrLin, "LIN");

    auto* first = new CDlgLIN("1,1,1", nullptr);
    first->InfoUchLin->click();
    QVERIFY(first->m_pTblUchLIN);
    CDlgTblUchLIN* sections = first->m_pTblUchLIN;
    first->InfoUchLin->click();   // the same editor again
    QCOMPARE(first->m_pTblUchLIN.data(), sections);

    NLIN = "2";
    UNOM = 110;
    auto* second = new CDlgLIN("1,1,2", nullptr);
    QCOMPARE(second->NazvLIN->text(), QString("ВЛ-2"));

    first->NazvLIN->setText("ВЛ-1 новая");
    first->SaveButton->click();
    sections->slot_addTrans();
    sections->SaveButton->click();

    const Table lines = ReadShablonXML("lines", attrLin, "LIN");
    QCOMPARE(lines.at(1).at(3), QString("ВЛ-1 новая"));
    QCOMPARE(lines.at(0), linesBefore.at(0));
    int ofLine1 = 0, ofLine2 = 0;
    for (const QStringList& row : ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"))
        (row.at(2) == "1" ? ofLine1 : ofLine2) += 1;
    QCOMPARE(ofLine1, 3);
    QCOMPARE(ofLine2, 1);

    sections->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first->m_pTblUchLIN);
    first->InfoUchLin->click();   // a new editor after the old one closed
    QVERIFY(first->m_pTblUchLIN);
    NLIN = "2";
    first->ParamLin->click();   // the characteristics of its own line
    QCOMPARE(rec->messages.last().text, QString("Параметры линии ВЛ-1"));   // the name as loaded
    QVERIFY(QString::fromUtf8(dir->readFile("html/Параметры линии ВЛ-1.html")).contains(">70</span>"));
    // Deleting the line dialog takes its open editor with it.
    delete first;
    delete second;
}

void TestDlgLin::mainWindowClosesWithLineWindowsOpen()
{
    dir.reset();
    StartFolder folder;
    folder.copyExamples();
    CTreeZORVAN::setDialogFactory(2, [](const QString& key, QWidget* parent) -> QWidget* {
        return new CDlgLIN(key, parent);
    });
    QPointer<CDlgLIN> line;
    QPointer<CDlgTblUchLIN> sections;
    {
        ZORVAN window(nullptr);
        window.show();
        CTreeZORVAN* tree = window.objectTree();
        const QModelIndex pes = tree->treeModel()->index(0, 0);
        const QModelIndex res = tree->treeModel()->index(0, 0, pes);
        tree->TreeView->setCurrentIndex(tree->treeModel()->index(0, 0, res));
        tree->slot_Vxod();
        line = qobject_cast<CDlgLIN*>(tree->objectDialog(2));
        QVERIFY(line);
        QCOMPARE(line->nomLIN->text(), QString("1"));
        line->InfoUchLin->click();
        sections = line->m_pTblUchLIN;
        QVERIFY(sections && sections->tableWgt->rowCount() > 0);
        window.close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!line);
    QVERIFY(!sections);
    CTreeZORVAN::setDialogFactory(2, nullptr);
    resetStartGlobals();
}

QTEST_MAIN(TestDlgLin)
#include "tst_dlglin.moc"

// The line dialog: loading and saving the line's record, the protocol-mode
// calculation, and a dialog that keeps its own line while the selection moves.

#include "calcglobals.h"
#include "dialogs/CDlgLIN.h"
#include "dialogs/CDlgTblUchLIN.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QtTest>

namespace {

// Line 1 (attrLin values from "name" on) between two other lines of the same
// RES, with one 35 kV transformer.
TestNetwork network(const QStringList& line1)
{
    saveShablonXML("res", attrRES, "RES", "net110_RES", {{"1", "1", "Заречный РЭС", "РЭС-1", "1", "-5.5"}});
    TestNetwork net;
    net.addLine("2", "ВЛ-2", 110);
    net.lines.append(QStringList{"1", "1", "1"} + line1);
    net.addLine("3", "ВЛ-3", 110);
    net.addWire("АС-70", "70", "0", "0.428", "0.444");
    net.addTransType("ТМН-2500/35", "35", "2500", "3.9", "31", "5.1", "27.5", "1.5", "6", "35", "11");
    net.addSection("1", 0, 1, "АС-70", 4.5);
    net.addTrans("1", 1, 2, "ТМН-2500/35", 1.2, 0.5, 800, 300);
    return net;
}

const QStringList kPlainLine = {"ВЛ-1", "", "0", "35", "35", "35", "0.5", "0.6", "1", "0.5",
                                "0", "0", "0", "0"};

} // namespace

class TestDlgLin : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); UNOM = 7; }
    void loadAndSave_data();
    void loadAndSave();
    void calculationInProtocolMode();
    void keepsItsOwnLine();
};

void TestDlgLin::loadAndSave_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("saved");
    QTest::addColumn<double>("unom");   // UNOM after loading

    const QStringList asStored = {"ВЛ-1", "Л-1", "1.5", "110", "117", "114", "0.45", "0.72", "1.08",
                                  "0.85", "1", "0", "1", "1"};
    QTest::newRow("as stored") << asStored << asStored << 110.0;
    QTest::newRow("clamped by the fields")
        << QStringList{"ВЛ-1", "", "400", "0", "600", "", "abc", "", "", "", "0", "1", "0", "2"}
        << QStringList{"ВЛ-1", "", "366", "35", "550", "35", "0", "0", "1", "0", "0", "1", "0", "0"}
        << 0.0;
}

void TestDlgLin::loadAndSave()
{
    TempWorkDir dir;
    MessageRecorder rec;
    rec.defaultAnswer = false;   // Yes
    QFETCH(QStringList, stored);
    QFETCH(QStringList, saved);
    TestNetwork net = network(stored);
    net.write();

    CDlgLIN dlg("1,1,1", nullptr);
    QCOMPARE(pT_RES, -5.5);
    QTEST(UNOM, "unom");

    dlg.SaveButton->click();
    QCOMPARE(rec.warnings(), QStringList({"Информация|Данные сохранены"}));
    net.lines[1] = QStringList({"1", "1", "1"}) + saved;
    QCOMPARE(ReadShablonXML("lines", attrLin, "LIN"), net.lines);
}

void TestDlgLin::calculationInProtocolMode()
{
    TempWorkDir dir;
    MessageRecorder rec;
    rec.defaultAnswer = false;   // Yes
    // A fill factor of 0 is corrected by the calculation, which logs it.
    QStringList line = kPlainLine;
    line[7] = "0";
    network(line).write();
    CDlgLIN dlg("1,1,1", nullptr);
    NLIN = "2";   // another line entered in the tree meanwhile
    dlg.CalcLin->click();
    QCOMPARE(NLIN, QString("1"));

    QCOMPARE(rec.texts(), QStringList({"Информация по участкам линии ВЛ-1",
                                        "Ошибки при расчете потерь.log", "Потери по линии ВЛ-1"}));
    QVERIFY(dir.exists("html/Потери по линии ВЛ-1.html"));
    QVERIFY(QString::fromUtf8(dir.readFile("Ошибки при расчете потерь.log"))
                .contains("* Коэффициент заполнения графика задан неверно, принят 0.5"));
}

void TestDlgLin::keepsItsOwnLine()
{
    TempWorkDir dir;
    MessageRecorder rec;
    rec.defaultAnswer = false;   // Yes
    TestNetwork net = network(kPlainLine);
    net.addSection("2", 0, 1, "АС-70", 9);
    net.write();

    CDlgLIN first("1,1,1", nullptr);   // its sections editor goes with it
    first.InfoUchLin->click();
    CDlgTblUchLIN* sections = first.m_pTblUchLIN;
    QVERIFY(sections);

    NLIN = "2";
    UNOM = 110;
    CDlgLIN second("1,1,2", nullptr);

    first.NazvLIN->setText("ВЛ-1 новая");
    first.SaveButton->click();
    sections->slot_addTrans();
    sections->SaveButton->click();

    net.lines[1][3] = "ВЛ-1 новая";
    QCOMPARE(ReadShablonXML("lines", attrLin, "LIN"), net.lines);
    QStringList ofLine;
    for (const QStringList& row : ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"))
        ofLine.append(row.at(2));
    QCOMPARE(ofLine, QStringList({"1", "1", "1", "2"}));

    // The line is gone from the table meanwhile: nothing is added, no success claimed.
    net.lines.removeAt(1);
    net.write();
    const QByteArray without = dir.readFile("lines.xml");
    rec.clear();
    first.SaveButton->click();
    QCOMPARE(rec.warnings().size(), 1);   // a warning, not "Данные сохранены"
    QVERIFY(rec.warnings().first().startsWith("Предупреждение|"));
    QCOMPARE(dir.readFile("lines.xml"), without);
}

QTEST_MAIN(TestDlgLin)
#include "tst_dlglin.moc"

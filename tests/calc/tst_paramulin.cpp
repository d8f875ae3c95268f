#include "calc/zorvantask.h"
#include "calcglobals.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QtTest>

using Row = QVector<double>;

class TestParamULin : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetCalcGlobals(); }
    void transformerGroups();
    void sectionGroups();
    void emptyTableWarnsOnce();
    void lineWithoutRowsHasZeroTotals();
    void tablesHandedInGiveTheSameSummary();

private:
    static TestNetwork catalogs();
};

TestNetwork TestParamULin::catalogs()
{
    TestNetwork net;
    net.addWire("АС-70", "70", "0", "0.43", "0.44", "", "", "1");
    net.addWire("К-95", "95", "1", "0.32", "0.1", "", "", "1");
    net.addWire("АС-95", "95.6", "0", "0.3", "0.43", "", "", "1");
    net.addTransType("Т250", "10", "250", "1", "1", "1", "1", "0", "0", "10", "0.4");
    net.addTransType("Т400", "35", "400", "1", "1", "1", "1", "0", "0", "35", "0.4");
    net.addTransType("Т63", "10", "63.0", "1", "1", "1", "1", "0", "0", "10", "0.4");
    net.addTransType("Т63.5", "10", "63.5", "1", "1", "1", "1", "0", "0", "10", "0.4");
    net.addTransType("Т0", "10", "0", "1", "1", "1", "1", "0", "0", "10", "0.4");
    return net;
}

void TestParamULin::transformerGroups()
{
    TempWorkDir dir;
    MessageRecorder recorder;
    TestNetwork net = catalogs();
    net.addTrans("1", 1, 2, "Т400", 0, 0, 0, 0, "1");   // listed first, sorted after 250
    TestNetwork::set(net.addTrans("1", 1, 3, "Т250"), attrUchLin, "podkt", "1");
    net.addTrans("1", 1, 4, "Т250");
    net.addTrans("1", 1, 5, "Т0");                      // no power: not counted
    net.addTrans("1", 1, 6, "Т63.5");
    net.addTrans("1", 1, 7, "Т63");
    net.addTrans("2", 1, 2, "Т250");                    // another line
    net.write();

    const ParamU_Lin sum("1");
    QCOMPARE(sum.TrRows.size(), 4);
    QCOMPARE(sum.TrRows.at(0), (Row{63, 2, 126.5, 0, 0, 2, 126.5, 0, 0}));   // last counted: 63.0
    QCOMPARE(sum.TrRows.at(1), (Row{250, 2, 500, 1, 250, 2, 500, 1, 250}));
    QCOMPARE(sum.TrRows.at(2), (Row{400, 1, 400, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(sum.TrRows.at(3), (Row{1026.5 / 5, 5, 1026.5, 1, 250, 4, 626.5, 1, 250}));
    QCOMPARE(sum.SumAll, (Row{5, 1, 1026.5, 250, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(sum.SumBal, (Row{4, 1, 626.5, 250, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(sum.LinRows, QVector<Row>{Row(13, 0.0)});
    QVERIFY(recorder.messages.isEmpty());
}

void TestParamULin::sectionGroups()
{
    TempWorkDir dir;
    MessageRecorder recorder;
    TestNetwork net = catalogs();
    net.addSection("1", 1, 2, "АС-70", 2.5);
    TestNetwork::set(net.addSection("1", 2, 3, "К-95", 1.5, ""), attrUchLin, "podkt", "1");
    TestNetwork::set(net.addSection("1", 3, 4, "АС-95", 4), attrUchLin, "tip_el", "3");
    net.addSection("1", 4, 5, "АС-70", 0);      // creates its group, counts nothing
    net.addSection("1", 5, 6, "Нет-такой", 1);  // counts as overhead 240 mm²
    net.addTrans("1", 6, 7, "Т999");            // unknown type: 10000 kVA
    net.write();

    const ParamU_Lin sum("1");
    QCOMPARE(sum.LinRows.size(), 4);
    QCOMPARE(sum.LinRows.at(0), (Row{70, 1, 2.5, 0, 0, 1, 2.5, 1, 2.5, 0, 0, 1, 2.5}));
    QCOMPARE(sum.LinRows.at(1), (Row{95.6, 2, 5.5, 1, 1.5, 1, 4, 1, 4, 0, 0, 1, 4}));
    QCOMPARE(sum.LinRows.at(2), (Row{240, 1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 1, 1}));
    const double mean = (70 * 1 + 95.6 * 2 + 240 * 1) / 4.0;
    QCOMPARE(sum.LinRows.at(3), (Row{mean, 4, 9, 1, 1.5, 3, 7.5, 3, 7.5, 0, 0, 3, 7.5}));
    QCOMPARE(sum.SumAll, (Row{1, 0, 10000, 0, 4, 3, 1, 9, 7.5, 1.5}));
    QCOMPARE(sum.SumBal, (Row{1, 0, 10000, 0, 3, 3, 0, 7.5, 7.5, 0}));
    QCOMPARE(sum.TrRows.last(), (Row{10000, 1, 10000, 0, 0, 1, 10000, 0, 0}));
}

void TestParamULin::emptyTableWarnsOnce()
{
    TempWorkDir dir;
    MessageRecorder recorder;
    TestNetwork net = catalogs();
    net.write();
    const ParamU_Lin sum("1");
    QVERIFY(sum.LinRows.isEmpty() && sum.TrRows.isEmpty());
    QVERIFY(sum.SumAll.isEmpty() && sum.SumBal.isEmpty());
    QCOMPARE(recorder.warnings(), QStringList{"Предупреждение|Для линии не заведены участки"});
}

void TestParamULin::lineWithoutRowsHasZeroTotals()
{
    TempWorkDir dir;
    MessageRecorder recorder;
    TestNetwork net = catalogs();
    net.addSection("2", 1, 2, "АС-70", 2.5);
    net.write();
    const ParamU_Lin sum("1");
    QCOMPARE(sum.LinRows, QVector<Row>{Row(13, 0.0)});
    QCOMPARE(sum.TrRows, QVector<Row>{Row(9, 0.0)});
    QCOMPARE(sum.SumAll, Row(10, 0.0));
    QVERIFY(recorder.messages.isEmpty());
}

void TestParamULin::tablesHandedInGiveTheSameSummary()
{
    TempWorkDir dir;
    MessageRecorder recorder;
    TestNetwork net = catalogs();
    net.addSection("1", 1, 2, "АС-70", 2.5, "1");
    net.addTrans("1", 2, 3, "Т250");
    net.write();
    const ParamU_Lin fromFiles("1");
    const ParamU_Lin fromTables("1", net.sections, LoadKatalogLines(net.katLin),
                                LoadKatalogTrans(net.katTr, 0));
    QCOMPARE(fromFiles.LinRows, fromTables.LinRows);
    QCOMPARE(fromFiles.TrRows, fromTables.TrRows);
    QCOMPARE(fromFiles.SumAll, fromTables.SumAll);
    QCOMPARE(fromFiles.SumBal, fromTables.SumBal);
}

QTEST_GUILESS_MAIN(TestParamULin)
#include "tst_paramulin.moc"

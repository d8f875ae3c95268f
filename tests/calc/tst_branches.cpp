#include "calc/zorvantask.h"
#include "calcglobals.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QtTest>

#include <memory>

namespace {

// AC-95: 0.306 Ohm/km, 0.421 Ohm/km, 2.7 µS/km; a 240 mm² cable; three
// transformer types (a 110 kV one with taps, a 35 kV one, one without voltages).
TestNetwork catalogs()
{
    TestNetwork net;
    net.addWire("АС-95/16", "95", "0", "0.306", "0.421", "2.7", "330", "1");
    net.addWire("К-240", "240", "1", "0.125", "0.11", "", "", "1");
    net.addTransType("ТДН-10000/110", "110", "10000", "7.95", "139", "14", "70", "1.78", "9", "115", "11");
    net.addTransType("ТМН-4000/35", "35", "4000", "2.6", "23.9", "5.3", "40", "1.5", "8", "35", "11");
    net.addTransType("ТБН", "110", "2500", "10", "200", "5", "20", "1.5", "9", "0", "11");
    return net;
}

std::unique_ptr<CalcRadial> run(const TestNetwork& net, int mode = 0)
{
    CalcTables tables;
    tables.lines = net.lines;
    tables.sections = net.sections;
    tables.katLin = net.katLin;
    tables.katTr = net.katTr;
    auto calc = std::make_unique<CalcRadial>();
    calc->setTables(tables);
    calc->CalcUR("1", mode, 0, 0);
    return calc;
}

} // namespace

class TestBranches : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetCalcGlobals(); }
    void sectionValues_data();
    void sectionValues();
    void taps_data();
    void taps();
    void parallelPairIsOneBranch();
    void joinedCablesAddTheirInsulation();
    void transformerIsNeverJoined();
    void unknownMarksAreReported();
    void withoutBalanceEverythingIsCompany();
    void loadsByMethod_data();
    void loadsByMethod();
};

void TestBranches::sectionValues_data()
{
    QTest::addColumn<double>("unom");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<double>("R");
    QTest::addColumn<double>("X");
    QTest::addColumn<double>("B");
    // 10 km of AC-95. At 35 kV kx = 1 - 75 * 0.074 / 110 = 0.949545.
    QTest::newRow("110 kV, 20 °C") << 110.0 << 20.0 << 3.06 << 4.21 << 27e-6;
    QTest::newRow("35 kV, 20 °C") << 35.0 << 20.0 << 3.06 << 3.9975864 << 2.8434658e-5;
    QTest::newRow("10 kV counts as 35 kV") << 10.0 << 20.0 << 3.06 << 3.9975864 << 2.8434658e-5;
    QTest::newRow("110 kV, 30 °C: kt 1.04") << 110.0 << 30.0 << 3.1824 << 4.21 << 27e-6;
}

void TestBranches::sectionValues()
{
    QFETCH(double, unom);
    QFETCH(double, temperature);
    QFETCH(double, R);
    QFETCH(double, X);
    QFETCH(double, B);
    pT_RES = temperature;
    TestNetwork net = catalogs();
    net.addLine("1", "Л", unom);
    net.addSection("1", 0, 1, "АС-95/16", 10);
    MessageRecorder recorder;
    const auto calc = run(net);
    QCOMPARE(calc->m_nBranches, 1);
    QVERIFY(qAbs(calc->m_brR.at(0) - R) < 1e-9);
    QVERIFY(qAbs(calc->m_brX.at(0) - X) < 1e-6);
    QVERIFY(qAbs(calc->m_brB.at(0) - B) < 1e-12);
    QCOMPARE(calc->m_branchS.at(0), 95.0);
    QCOMPARE(calc->m_branchCable.at(0), 0);
    QCOMPARE(calc->m_branchLabels, QStringList{"0 -1"});
    QCOMPARE(calc->m_brUrated.at(0), unom < 25 ? 35.0 : unom);
}

void TestBranches::taps_data()
{
    QTest::addColumn<QString>("mark");
    QTest::addColumn<int>("tap");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<double>("rated");
    QTest::newRow("tap 0") << "ТДН-10000/110" << 0 << 0.0956522 << 115.0;
    QTest::newRow("tap 12 beyond 9 counts as 0") << "ТДН-10000/110" << 12 << 0.0956522 << 115.0;
    QTest::newRow("tap -10 beyond -9 counts as 0") << "ТДН-10000/110" << -10 << 0.0956522 << 115.0;
    QTest::newRow("tap -9: times 1.1602") << "ТДН-10000/110" << -9 << 0.1109757 << 115.0;
    QTest::newRow("tap 9: times 0.8398") << "ТДН-10000/110" << 9 << 0.0803287 << 115.0;
    QTest::newRow("no voltages: ratio 1, line voltage") << "ТБН" << 3 << 1.0 << 110.0;
}

void TestBranches::taps()
{
    QFETCH(QString, mark);
    QFETCH(int, tap);
    QFETCH(double, ratio);
    QFETCH(double, rated);
    TestNetwork net = catalogs();
    net.addLine("1", "Л", 110);
    net.addSection("1", 0, 1, "АС-95/16", 10);
    net.addTrans("1", 1, 2, mark, 0, 0, 720, 360, "0", tap);
    MessageRecorder recorder;
    const auto calc = run(net);
    QCOMPARE(calc->m_nBranches, 2);
    QVERIFY(calc->m_brTrans.at(1));
    QVERIFY(qAbs(calc->m_brRatio.at(1) - ratio) < 1e-7);
    QCOMPARE(calc->m_brUrated.at(1), rated);
    QCOMPARE(calc->m_nLoads, 1);
    QCOMPARE(calc->m_ldNode.at(0), 2);
}

void TestBranches::parallelPairIsOneBranch()
{
    TestNetwork net = catalogs();
    net.addLine("1", "Л", 110);
    net.addSection("1", 0, 3, "АС-95/16", 10);
    net.addSection("1", 3, 5, "АС-95/16", 5);
    net.addSection("1", 5, 3, "АС-95/16", 5, "1");   // the second circuit, a consumer's
    net.addTrans("1", 5, 6, "ТДН-10000/110", 0, 0, 720, 360, "0");
    MessageRecorder recorder;
    const auto calc = run(net);

    QCOMPARE(calc->m_nBranches, 3);
    QVERIFY(qAbs(calc->m_brR.at(1) - 0.765) < 1e-12);     // 5 * 0.306 / 2
    QVERIFY(qAbs(calc->m_brX.at(1) - 1.0525) < 1e-12);    // 5 * 0.421 / 2
    QVERIFY(qAbs(calc->m_brB.at(1) - 27e-6) < 1e-15);     // 2 * 5 * 2.7 µS
    QCOMPARE(calc->m_brCircuits.at(1), 2);
    QCOMPARE(calc->m_brCircuits.at(2), 1);
    // One owner and one label per branch: the transformer keeps its own.
    QCOMPARE(calc->m_branchLabels, (QStringList{"0 -3", "3 -5", "5 -6"}));
    QCOMPARE(calc->m_brOwner, (QStringList{"0", "0", "0"}));
    QCOMPARE(calc->m_inBranch, (QVector<int>{0, 1, 1, 2}));
    QCOMPARE(calc->m_messages.size(), 1);   // no ring
    QCOMPARE(calc->m_errorCount, 0);
}

void TestBranches::joinedCablesAddTheirInsulation()
{
    p_Iz = 1;
    TestNetwork net = catalogs();
    net.addLine("1", "Л", 110);
    net.addSection("1", 0, 1, "К-240", 2);
    net.addSection("1", 1, 0, "К-240", 2);
    MessageRecorder recorder;
    const auto calc = run(net);
    QCOMPARE(calc->m_nBranches, 1);
    // 240 mm² lies in the class below 250: 88.8 / 24000 per km at 110 kV.
    QVERIFY(qAbs(calc->m_brIns.at(0) - 2 * 2 * 88.8 / 24000.0) < 1e-12);
    QVERIFY(qAbs(calc->m_brB.at(0) - 2 * 2 * 75e-6) < 1e-15);
    QCOMPARE(calc->m_branchCable.at(0), 1);

    p_Iz = 0;
    const auto without = run(net);
    QCOMPARE(without->m_brIns.at(0), 0.0);
}

void TestBranches::transformerIsNeverJoined()
{
    TestNetwork net = catalogs();
    net.addLine("1", "Л", 110);
    net.addSection("1", 0, 1, "АС-95/16", 10);
    net.addTrans("1", 1, 2, "ТДН-10000/110", 0, 0, 720, 360);
    net.addSection("1", 2, 1, "АС-95/16", 1);
    MessageRecorder recorder;
    const auto calc = run(net);
    QCOMPARE(calc->m_nBranches, 3);
    QCOMPARE(calc->m_messages, (QStringList{"--------------------- Л --------------------- ",
                                            "*** Ветвь 2 -1 образует кольцо",
                                            "**** Дана неверная информация об участках линии"}));
    QCOMPARE(calc->m_errorCount, 1);
    QCOMPARE(calc->m_lineTitle, QString("Л (Неверная информация об участках)"));
    QCOMPARE(calc->m_totals, QVector<double>(16, 0.0));
}

void TestBranches::unknownMarksAreReported()
{
    TestNetwork net = catalogs();
    net.addLine("1", "Л", 110);
    net.addSection("1", 0, 1, "АС-9", 10);
    net.addTrans("1", 1, 2, "ТДН-99", 0, 0, 720, 360);
    MessageRecorder recorder;
    const auto calc = run(net);
    QCOMPARE(calc->m_messages, (QStringList{"--------------------- Л --------------------- ",
                                            "*** задана неверная марка АС-9 в ветви 0 -1",
                                            "*** задана неверная марка ТДН-99 в ветви 1 -2"}));
    QCOMPARE(calc->m_errorCount, 2);
    QCOMPARE(calc->m_brR, (QVector<double>{0.0, 0.0}));
    QCOMPARE(calc->m_brRatio.at(1), 1.0);
    QCOMPARE(calc->m_branchS.at(1), 0.0);
    // The unknown transformer still feeds its load at its end node.
    QCOMPARE(calc->m_ldNode, QVector<int>{2});
    QCOMPARE(calc->m_ldP, QVector<double>{1.0});
    QVERIFY(recorder.messages.isEmpty());
}

void TestBranches::withoutBalanceEverythingIsCompany()
{
    TestNetwork net = catalogs();
    net.addLine("1", "Л", 110);
    net.addSection("1", 0, 1, "АС-95/16", 10, "1");
    net.addTrans("1", 1, 2, "ТДН-10000/110", 0, 0, 720, 360, "1");
    MessageRecorder recorder;
    auto calc = run(net);
    QCOMPARE(calc->m_brOwner, (QStringList{"1", "1"}));
    QCOMPARE(calc->m_ldOwner, QStringList{"1"});
    pr_Bal = 1;
    calc = run(net);
    QCOMPARE(calc->m_brOwner, (QStringList{"0", "0"}));
    QCOMPARE(calc->m_ldOwner, QStringList{"0"});
}

void TestBranches::loadsByMethod_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<double>("P");
    QTest::addColumn<double>("Q");
    // 720 MWh over the 720 h of 30 days is 1 MW; the correction is 1.2.
    QTest::newRow("mean load") << "0" << 1.2 << 0.6;
    QTest::newRow("method 2 is mean load") << "2" << 1.2 << 0.6;
    QTest::newRow("method above 2 is mean load") << "7" << 1.2 << 0.6;
    QTest::newRow("maximum loss: peak loads") << "1" << 3.6 << 1.8;
}

void TestBranches::loadsByMethod()
{
    QFETCH(QString, method);
    QFETCH(double, P);
    QFETCH(double, Q);
    pk_Nagr = 1.2;
    TestNetwork net = catalogs();
    net.addLine("1", "Л", 110, 0, 0, "0.5", method);
    net.addSection("1", 0, 1, "АС-95/16", 10);
    net.addTrans("1", 1, 2, "ТДН-10000/110", 3, 1.5, 720, 360);
    MessageRecorder recorder;
    const auto calc = run(net);
    QVERIFY(qAbs(calc->m_ldP.at(0) - P) < 1e-12);
    QVERIFY(qAbs(calc->m_ldQ.at(0) - Q) < 1e-12);
    QCOMPARE(calc->m_ldPx.at(0), 14.0);
    QCOMPARE(calc->m_ldQx.at(0), 70.0);
}

QTEST_GUILESS_MAIN(TestBranches)
#include "tst_branches.moc"

#include "calc/zorvantask.h"
#include "calcglobals.h"
#include "calcnetwork.h"
#include "testsupport.h"

#include <QtTest>

namespace {

const QString heading = "--------------------- Л --------------------- ";

TestNetwork threeRows(const QString& middlePodkt)
{
    TestNetwork net;
    net.addWire("АС-70", "70", "0", "0.43", "0.44", "2.6", "", "1");
    net.addTransType("Т-1", "110", "10000", "10", "100", "14", "70", "0", "0", "0", "0");
    net.addLine("1", "Л", 110, 115, 112, "0.5", "0");
    net.addSection("1", 0, 1, "АС-70", 10);
    TestNetwork::set(net.addSection("1", 1, 2, "АС-70", 4, "1"), attrUchLin, "podkt", middlePodkt);
    net.addTrans("1", 1, 3, "Т-1", 0, 0, 2880, 1440);
    return net;
}

} // namespace

class TestProtocol : public QObject
{
    Q_OBJECT
private slots:
    // Reports of mode 1 go into a working directory of the test's own.
    void init()
    {
        resetCalcGlobals();
        m_dir = std::make_unique<TempWorkDir>();
        m_recorder = std::make_unique<MessageRecorder>();
    }
    void cleanup()
    {
        m_recorder.reset();
        m_dir.reset();
    }
    void displayVectorsAlignedByRow_data();
    void displayVectorsAlignedByRow();
    void unreachedRowKeepsItsKey();
    void unknownLineTouchesNothing();
    void densityWarning();
    void voltageDropWarning();
    void starPointWindingsTakeHalfPower();
    void filesAndTablesGiveTheSameResults();

private:
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<MessageRecorder> m_recorder;
};

void TestProtocol::displayVectorsAlignedByRow_data()
{
    QTest::addColumn<QString>("podkt");
    QTest::addColumn<QString>("owner");
    QTest::newRow("disconnected") << "1" << "Абонент-Откл.";
    QTest::newRow("out of service otherwise") << "2" << "Абонент-Откл.";
}

void TestProtocol::displayVectorsAlignedByRow()
{
    QFETCH(QString, podkt);
    QFETCH(QString, owner);
    const auto calc = calculate(threeRows(podkt), 2);
    QCOMPARE(calc->m_nodeNames, (QVector<QString>{"0", "1", "0", "3"}));
    QCOMPARE(calc->m_branchKeys, (QVector<QString>{"1", "2", "3"}));
    QCOMPARE(calc->m_U.size(), 4);
    QCOMPARE(calc->m_U.at(2), 0.0);
    for (const QVector<double>* v : {&calc->m_dU, &calc->m_I, &calc->m_Kz, &calc->m_P, &calc->m_Q,
                                     &calc->m_dP, &calc->m_dQ, &calc->m_Pxx, &calc->m_Qxx, &calc->m_W,
                                     &calc->m_Wq, &calc->m_dW, &calc->m_dWq, &calc->m_Wxx,
                                     &calc->m_Wqxx, &calc->m_rowS}) {
        QCOMPARE(v->size(), 3);
        QCOMPARE(v->at(1), 0.0);
    }
    QCOMPARE(calc->m_rowS, (QVector<double>{70, 0, 10000}));
    QCOMPARE(calc->m_rowCable, (QVector<int>{0, 0, 1}));
    QCOMPARE(calc->m_branchS, (QVector<double>{70, 10000}));   // per branch
    QCOMPARE(calc->m_secTipEl, (QVector<int>{1, 1, 2}));
    QVERIFY(calc->m_P.at(0) > calc->m_P.at(2));
    QVERIFY(calc->m_Pxx.at(2) > 13.0);
    QCOMPARE(calc->m_protocolRows.at(15),
             QString("<tr BGCOLOR = '#99CC99'>\n<td align='center'>Участок 1-2</td>\n"
                     "<td align='center'>1 - 2</td>\n<td align='center'>АС-70</td>\n"
                     "<td align='center'>%1</td>\n<td align='center'>4.000</td>\n").arg(owner)
             + QString("<td align='center'></td>\n").repeated(9) + "</tr>\n");
    QVERIFY(calc->m_totals.isEmpty());
}

void TestProtocol::unreachedRowKeepsItsKey()
{
    TestNetwork net = threeRows("0");
    net.addSection("1", 7, 8, "АС-70", 1);
    const auto calc = calculate(net, 2);
    QCOMPARE(calc->m_branchKeys, (QVector<QString>{"1", "2", "3", "4"}));
    QCOMPARE(calc->m_nodeNames, (QVector<QString>{"0", "1", "2", "3", "0"}));
    QCOMPARE(calc->m_P.size(), 4);
    QCOMPARE(calc->m_P.at(3), 0.0);
    QCOMPARE(calc->m_messages.mid(1, 2), (QStringList{"*** Узел 7 не связан с питающим узлом ",
                                                     "*** Узел 8 не связан с питающим узлом "}));
}

void TestProtocol::unknownLineTouchesNothing()
{
    const auto calc = calculate(threeRows("0"), 1, "9");
    QVERIFY(calc->m_totals.isEmpty());
    QVERIFY(calc->m_messages.isEmpty());
    QVERIFY(calc->m_htmlRows.isEmpty());
    QVERIFY(calc->m_lineKeys.isEmpty());
    QCOMPARE(calc->m_errorCount, 0);
}

void TestProtocol::densityWarning()
{
    // 70 mm² carrying about 220 A at 110 kV (42 MW): 3.1 A/mm².
    TestNetwork net;
    net.addWire("АС-70", "70", "0", "0.01", "0.01", "0.000001", "", "1");
    net.addTransType("Т-1", "110", "100000", "0", "0.001", "0", "0", "0", "0", "0", "0");
    net.addLine("1", "Л", 110, 110, 110, "1", "0");
    net.addSection("1", 0, 1, "АС-70", 1);
    net.addTrans("1", 1, 2, "Т-1", 0, 0, 720 * 42, 0);
    const auto calc = calculate(net, 1);
    const double I = calc->m_I.at(0);
    QVERIFY(I > 219.0 && I < 221.0);
    QCOMPARE(calc->m_messages, (QStringList{heading,
        "* Cредняя плотность тока на участке 0 -1 более 3.1 A/мм2"}));
    QCOMPARE(calc->m_Kz.at(0), 0.4 * I / 70);
}

void TestProtocol::voltageDropWarning()
{
    // Umax 170 kV on a 110 kV line, 320 MW through 20 Ohm: the line settles
    // near 112 kV, 53 % of the nominal voltage below Umax.
    TestNetwork net;
    net.addWire("W", "300", "0", "2.0", "0.5", "0.000001", "", "1");
    net.addTransType("Т-1", "110", "40000", "0", "0.001", "0", "0", "0", "0", "0", "0");
    net.addLine("1", "Л", 110, 170, 170, "1", "1");
    net.addSection("1", 0, 1, "W", 10);
    net.addTrans("1", 1, 2, "Т-1", 320, 0, 0, 0);
    const auto calc = calculate(net, 2);
    QCOMPARE(calc->m_state, 0);
    const double drop = (170 - calc->m_U.at(1)) / 110 * 100;
    QVERIFY(drop > 50.0);
    QCOMPARE(calc->m_messages.last(), "**** Потери напряжения достигают " + QString::number(drop, 'g', 6)
                                      + " %. Проверьте информацию о нагрузках");
}

void TestProtocol::starPointWindingsTakeHalfPower()
{
    // A three-winding transformer: the 110 kV winding 1-5 (ratio 1) feeds the
    // star point 5; the windings from 5 have no power of their own.
    TestNetwork net;
    net.addWire("W", "120", "0", "0.25", "0.4", "2.7", "", "1");
    net.addTransType("ВН", "110", "25000", "1", "50", "25", "100", "0", "0", "115", "115");
    net.addTransType("СН", "110", "0", "1", "0", "0", "0", "0", "0", "115", "38.5");
    net.addLine("1", "Л", 110, 115, 115, "0.5", "0");
    net.addSection("1", 0, 1, "W", 10);
    net.addTrans("1", 1, 5, "ВН");
    net.addTrans("1", 5, 6, "СН", 0, 0, 2880, 1440);
    const auto calc = calculate(net, 2);
    QCOMPARE(calc->m_rowS, (QVector<double>{120, 25000, 12500}));
}

void TestProtocol::filesAndTablesGiveTheSameResults()
{
    TestNetwork net = threeRows("0");
    net.addLine("2", "Другая", 35);
    net.addSection("2", 0, 1, "АС-70", 3);
    net.write();
    for (int mode : {0, 2}) {
        CalcRadial fromFiles;
        fromFiles.CalcUR("1", mode, 0, 0);
        const auto fromTables = calculate(net, mode);
        QCOMPARE(fromFiles.m_totals, fromTables->m_totals);
        QCOMPARE(fromFiles.m_messages, fromTables->m_messages);
        QCOMPARE(fromFiles.m_U, fromTables->m_U);
        QCOMPARE(fromFiles.m_dW, fromTables->m_dW);
    }
    QVERIFY(m_recorder->messages.isEmpty());
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"

#include "calc/zorvantask.h"
#include "calcglobals.h"
#include "calcnetwork.h"
#include "testsupport.h"

#include <QtTest>

#include <cmath>
#include <complex>

namespace {

const QString heading = "--------------------- Л --------------------- ";

// One 110 kV transformer 0-1 fed at 110 kV: R 10 Ohm, X 100 Ohm, 10000 kVA,
// Px 14 kW, Qx 70 kvar, no voltages given (ratio 1).
TestNetwork oneTransformer(const QString& method, const QString& kZapol, double p, double q,
                           double wp, double wq)
{
    TestNetwork net;
    net.addTransType("Т-1", "110", "10000", "10", "100", "14", "70", "0", "0", "0", "0");
    net.addLine("1", "Л", 110, 110, 110, kZapol, method);
    net.addTrans("1", 0, 1, "Т-1", p, q, wp, wq);
    return net;
}

bool near(double a, double b, double rel = 1e-7)
{
    return std::abs(a - b) <= rel * std::max(1.0, std::abs(b));
}

void compareTotals(const QVector<double>& actual, const QVector<double>& expected, double rel = 1e-7)
{
    QCOMPARE(actual.size(), 16);
    for (int k = 0; k < 16; ++k) {
        if (!near(actual.at(k), expected.at(k), rel))
            QFAIL(qPrintable(QString("total %1: %2 instead of %3").arg(k + 1)
                             .arg(actual.at(k), 0, 'g', 12).arg(expected.at(k), 0, 'g', 12)));
    }
}

bool allFinite(const CalcRadial& c)
{
    for (const QVector<double>* v : {&c.m_totals, &c.m_U, &c.m_dU, &c.m_I, &c.m_Kz, &c.m_P,
                                     &c.m_Q, &c.m_dP, &c.m_dQ, &c.m_Pxx, &c.m_Qxx, &c.m_W,
                                     &c.m_Wq, &c.m_dW, &c.m_dWq, &c.m_Wxx, &c.m_Wqxx}) {
        for (double x : *v) {
            if (!std::isfinite(x))
                return false;
        }
    }
    return true;
}

} // namespace

class TestLoadFlow : public QObject
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
    void oneTransformerMeanLoad();
    void oneTransformerMaximumLoss();
    void twoSectionsAgainstExactSolution();
    void doubleCircuitShowsPerCircuitValues();
    void transitPoint();
    void insulationOfCables();
    void disconnectedLine_data();
    void disconnectedLine();
    void ringGivesZeroTotals();
    void collapseKeepsLoadEnergies();
    void unconvergedLineKeepsItsLastPass();
    void zeroFillFactor();
    void exactFormFactor();
    void nodeEnergiesFollowTheTotals_data();
    void nodeEnergiesFollowTheTotals();
    void reversedRowsCarryTheirLoads();
    void islandLoadsAddUp();
    void voltageLimits();

private:
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<MessageRecorder> m_recorder;
};

void TestLoadFlow::oneTransformerMeanLoad()
{
    // 2880 MWh over 720 h: 4 MW and 2 Mvar. k_zapol 0.5: kmax 4, kf2 1.333,
    // c 1.02; the flow settles on the second pass at U = 107.650456 kV with
    // dP = 10 * 20 / U² * 1.02 = 0.0176013 MW; H = 1.333 * 720 h.
    const auto calc = calculate(oneTransformer("0", "0.5", 0, 0, 2880, 1440), 1);
    const double dP = 0.01760129265667212;
    const double H = 1.333 * 720;
    const double nl = 0.014;
    const double t1 = H * dP + 4 * 720 + nl * 720;
    compareTotals(calc->m_totals, {t1, t1, 0, 0, H * dP, H * dP, nl * 720, 0, nl * 720,
                                   H * dP + nl * 720, 4 + nl, 0, 1000 * dP, 1000 * dP, 14,
                                   1000 * (dP + nl)});
    QCOMPARE(calc->m_passes, 2);
    QVERIFY(near(calc->m_nodeU.at(1), 107.65045607964845, 1e-9));
    // Apparent power 4.6003 MVA on 10 MVA with kmax 4: loading 1.845.
    QCOMPARE(calc->m_messages, (QStringList{heading,
        "* Cредняя расчетная загрузка тр-ра 0 -1 равна 184.5%"}));
    QCOMPARE(calc->m_errorCount, 0);
    QCOMPARE(calc->m_protocolRows.size(), 15);
    QCOMPARE(calc->m_protocolRows.mid(0, 14), calc->m_headCells);
    QCOMPARE(calc->m_protocolRows.at(14), QString(
        "<tr>\n"
        "<td align='center'>Участок 0-1</td>\n<td align='center'>0 - 1</td>\n"
        "<td align='center'>Т-1</td>\n<td align='center'>ЭСО</td>\n<td align='center'>0</td>\n"
        "<td align='center'>1.85</td>\n<td align='center'>4.03</td>\n<td align='center'>2.24</td>\n"
        "<td align='center'>107.65</td>\n<td align='center'>2.14</td>\n<td align='center'>70.405</td>\n"
        "<td align='center'>172.6</td>\n<td align='center'>16893</td>\n<td align='center'>100.00</td>\n"
        "</tr>\n"));
    // The line's summary after the loss-table header.
    const QStringList tail = calc->m_htmlRows.mid(calc->m_htmlRows.size() - 12);
    QCOMPARE(tail, (QStringList{
        "<tr><td align='center'>Л</td>\n",
        "<td align='center'>2906.973<br>2906.973</td>\n",
        "<td align='center'>0.000<br>0.00 %</td>\n",
        "<td align='center'>16.893<br>0.58 %</td>\n",
        "<td align='center'>16.893<br>0.58 %</td>\n",
        "<td align='center'>10.080<br>0.35 %</td>\n",
        "<td align='center'>0.000<br>0.00 %</td>\n",
        "<td align='center'>10.080<br>0.35 %</td>\n",
        "<td align='center'>26.973<br>0.93 %</td>\n",
        "</tr>", "</table>\n",
        "<caption><h3 align = 'left'>Кз = 0.50, температура 20.0</h3></caption>\n"}));
}

void TestLoadFlow::oneTransformerMaximumLoss()
{
    // Peak 5 + j2.5 MW; k_zapol 0.6: T_loss = (0.667 * 0.6 + 0.333) * 0.6 * 720,
    // c 1.03, kmax 1. The load energy counts the mean load 5 * 0.6 * 720.
    const auto calc = calculate(oneTransformer("1", "0.6", 5, 2.5, 0, 0), 2);
    QVERIFY(calc->m_totals.isEmpty());   // display mode builds no totals
    const auto totals = calculate(oneTransformer("1", "0.6", 5, 2.5, 0, 0), 0);
    const double dP = 0.028083343830929704;
    const double H = (0.667 * 0.6 + 0.333) * 0.6 * 720;
    const double t1 = H * dP + 5 * 0.6 * 720 + 0.014 * 720;
    compareTotals(totals->m_totals, {t1, t1, 0, 0, H * dP, H * dP, 10.08, 0, 10.08,
                                     H * dP + 10.08, 5.014, 0, 1000 * dP, 1000 * dP, 14,
                                     1000 * (dP + 0.014)});
    QCOMPARE(calc->m_messages, QStringList{heading});   // loading 0.58: no warning
    QCOMPARE(calc->m_nodeNames, (QVector<QString>{"0", "1"}));
    QCOMPARE(calc->m_branchKeys, QVector<QString>{"1"});
    QVERIFY(near(calc->m_U.at(0), 110.0));
    QVERIFY(near(calc->m_U.at(1), 107.04481827962547, 1e-9));
    QVERIFY(near(calc->m_Kz.at(0), 0.57882022430951864, 1e-9));
    QVERIFY(near(calc->m_P.at(0), 5.04208334383093, 1e-9));
    QVERIFY(near(calc->m_dP.at(0), 1000 * dP, 1e-9));
    QVERIFY(near(calc->m_Pxx.at(0), 14.0));
    QVERIFY(near(calc->m_Wxx.at(0), 10080.0));   // 720 h * 14 kW
    QVERIFY(near(calc->m_W.at(0), 5.04208334383093 * 720, 1e-9));
    QCOMPARE(calc->m_rowS, QVector<double>{10000.0});
    QCOMPARE(calc->m_rowCable, QVector<int>{1});
}

void TestLoadFlow::twoSectionsAgainstExactSolution()
{
    // 35 kV, mean-load method with k_zapol 1: c = 1, kmax = 1, F = 1, so the
    // settled sweep is the exact flow of the two sections. The transformer is
    // an ideal one (no impedance, no no-load losses).
    TestNetwork net;
    net.addWire("W", "120", "0", "0.25", "0.4", "0.000001", "", "1");
    net.addTransType("Ideal", "35", "16000", "0", "0", "0", "0", "0", "0", "0", "0");
    net.addLine("1", "Л", 35, 36, 36, "1", "0");
    net.addSection("1", 0, 1, "W", 12);
    net.addSection("1", 1, 2, "W", 8);
    net.addTrans("1", 2, 3, "Ideal", 0, 0, 720 * 6, 720 * 3);
    const auto calc = calculate(net, 0);

    // Independent solution: the current of the load at node 2 through both sections.
    using C = std::complex<double>;
    const C Z1(3.0, 4.8), Z2(2.0, 3.2), S(6.0, 3.0);
    C U2 = 36.0;
    for (int k = 0; k < 200; ++k) {
        const C I = std::conj(S / U2);
        U2 = 36.0 - (Z1 + Z2) * I;
    }
    const C I = std::conj(S / U2);
    const double losses = (Z1 + Z2).real() * std::norm(I);
    const C U1 = 36.0 - Z1 * I;
    // The sweep stops once no voltage moves by more than 0.001 * U0 in a pass.
    QVERIFY(std::abs(calc->m_nodeU.at(1) - std::abs(U1)) < 2 * 0.036);
    QVERIFY(std::abs(calc->m_nodeU.at(2) - std::abs(U2)) < 2 * 0.036);
    QVERIFY(near(calc->m_totals.at(13), 1000 * losses, 0.005));
    QVERIFY(near(calc->m_totals.at(3), 1000 * losses * 720 / 1000, 0.005));
    QCOMPARE(calc->m_messages, QStringList{heading});
}

void TestLoadFlow::doubleCircuitShowsPerCircuitValues()
{
    // Two circuits carrying 8 MW show what one circuit carrying 4 MW shows.
    auto build = [](bool twoCircuits, double load) {
        TestNetwork net;
        net.addWire("W", "120", "0", "0.25", "0.4", "2.7", "", "1");
        net.addTransType("Ideal", "110", "40000", "0", "0", "0", "0", "0", "0", "0", "0");
        net.addLine("1", "Л", 110, 115, 115, "1", "0");
        net.addSection("1", 0, 1, "W", 20);
        if (twoCircuits)
            net.addSection("1", 1, 0, "W", 20);
        net.addTrans("1", 1, 2, "Ideal", 0, 0, 720 * load, 720 * load / 2);
        return net;
    };
    const auto two = calculate(build(true, 8), 1);
    const auto one = calculate(build(false, 4), 1);
    QCOMPARE(two->m_branchKeys, (QVector<QString>{"1", "2", "3"}));
    QCOMPARE(two->m_nodeNames, (QVector<QString>{"0", "1", "1", "2"}));
    for (const auto& pick : {&CalcRadial::m_P, &CalcRadial::m_Q, &CalcRadial::m_I,
                             &CalcRadial::m_dP, &CalcRadial::m_dQ, &CalcRadial::m_dW}) {
        const QVector<double>& a = (*two).*pick;
        const QVector<double>& b = (*one).*pick;
        QVERIFY(near(a.at(0), b.at(0), 1e-9));
        QVERIFY(near(a.at(1), b.at(0), 1e-9));
    }
    QVERIFY(near(two->m_U.at(1), one->m_U.at(1), 1e-9));
    // The protocol rows of both circuits read as the single circuit's row,
    // from the owner to the energy losses; the share of each circuit is half.
    auto cells = [](const QString& row) {
        return row.mid(row.indexOf("ЭСО"), row.lastIndexOf("<td") - row.indexOf("ЭСО"));
    };
    const QString single = one->m_protocolRows.at(14);
    QCOMPARE(cells(two->m_protocolRows.at(14)), cells(single));
    QCOMPARE(cells(two->m_protocolRows.at(15)), cells(single));
    QVERIFY(single.endsWith("<td align='center'>100.00</td>\n</tr>\n"));
    QVERIFY(two->m_protocolRows.at(15).endsWith("<td align='center'>50.00</td>\n</tr>\n"));
    // The two-circuit branch loses twice the single circuit's power.
    QVERIFY(near(two->m_totals.at(11), 2 * one->m_totals.at(11), 1e-9));
}

void TestLoadFlow::transitPoint()
{
    // A type without power and resistance is a flow out of the network:
    // 720 MWh of transit next to a 1440 MWh consumer.
    TestNetwork net;
    net.addWire("W", "120", "0", "0.25", "0.4", "2.7", "", "1");
    net.addTransType("Т-1", "110", "10000", "10", "100", "14", "70", "0", "0", "0", "0");
    net.addTransType("Транзит", "110", "0", "0", "0", "0", "0", "0", "0", "0", "0");
    net.addLine("1", "Л", 110, 115, 115, "0.5", "0");
    net.addSection("1", 0, 1, "W", 10);
    net.addTrans("1", 1, 2, "Т-1", 0, 0, 1440, 720);
    net.addTrans("1", 1, 3, "Транзит", 0, 0, 720, 360);

    auto calc = calculate(net);
    const QVector<double> with = calc->m_totals;
    QCOMPARE(with.at(2), 720.0);                          // total 3: transit
    QVERIFY(near(with.at(1), 1440 + 720 + with.at(9) - 720));   // own network: loads + losses - transit
    // No-load at the voltage of the transformer's feeding node (of the last pass).
    QVERIFY(near(with.at(10), 2 + 1 + 0.014 * std::pow(calc->m_nodeU.at(1) / 110, 2), 1e-5));
    QVERIFY(near(with.at(0), with.at(13) / 1000 * 1.333 * 720 + 2160 + with.at(6)));

    p_tranz = 1;
    calc = calculate(net);
    const QVector<double> without = calc->m_totals;
    QCOMPARE(without.at(2), 0.0);
    QVERIFY(near(without.at(1), 1440 + without.at(9)));
    QVERIFY(without.at(11) < with.at(11));   // less flow through the section
}

void TestLoadFlow::insulationOfCables()
{
    // 2 km of a 240 mm² cable at 110 kV: 2 * 88.8 / 24000 = 0.0074 MW.
    TestNetwork net;
    net.addWire("К-240", "240", "1", "0.125", "0.11", "", "", "1");
    net.addTransType("Т-1", "110", "10000", "10", "100", "14", "70", "0", "0", "0", "0");
    net.addLine("1", "Л", 110, 110, 110, "0.5", "0");
    net.addSection("1", 0, 1, "К-240", 2);
    net.addTrans("1", 1, 2, "Т-1", 0, 0, 1440, 720);
    const QVector<double> off = calculate(net)->m_totals;
    p_Iz = 1;
    const auto calc = calculate(net);
    const QVector<double> on = calc->m_totals;
    const double ins = 0.0074;
    QCOMPARE(off.at(7), 0.0);
    QVERIFY(near(on.at(7), 720 * ins, 1e-9));              // total 8, MWh
    QVERIFY(near(on.at(8), on.at(6) + 720 * ins, 1e-9));   // total 9
    QVERIFY(near(on.at(9), on.at(5) + on.at(8), 1e-9));    // total 10
    QVERIFY(near(on.at(15), on.at(13) + on.at(14) + 1000 * ins, 1e-9));   // total 16, kW
    QVERIFY(near(on.at(14), off.at(14), 1e-6));            // no-load stays no-load
    QVERIFY(near(on.at(10) - off.at(10), ins, 1e-3));      // power drawn carries it
    QVERIFY(near(on.at(0) - off.at(0), 720 * ins, 1e-3));
}

void TestLoadFlow::disconnectedLine_data()
{
    QTest::addColumn<QString>("podkl");
    QTest::addColumn<QString>("title");
    QTest::addColumn<double>("hours");
    QTest::newRow("whole period") << "30" << "Л (Отключена)" << 0.0;
    QTest::newRow("10 days") << "10" << "Л (Отключена 10.00 дней)" << 480.0;
    QTest::newRow("in service") << "0" << "Л" << 720.0;
}

void TestLoadFlow::disconnectedLine()
{
    QFETCH(QString, podkl);
    QFETCH(QString, title);
    QFETCH(double, hours);
    TestNetwork net = oneTransformer("1", "0.5", 4, 2, 0, 0);
    net.setLine("1", "podkl", podkl);
    const auto calc = calculate(net, 1);
    QCOMPARE(calc->m_lineTitle, title);
    QCOMPARE(calc->m_totals.size(), 16);
    if (hours == 0.0) {
        QCOMPARE(calc->m_totals, QVector<double>(16, 0.0));
        QCOMPARE(calc->m_messages, (QStringList{heading, "* Линия отключена"}));
        QVERIFY(calc->m_U.isEmpty());
        QCOMPARE(calc->m_htmlRows.mid(calc->m_htmlRows.size() - 3, 1), QStringList{"</tr>"});
    } else {
        QCOMPARE(calc->m_Tw, hours);
        // The load energy is the mean load (4 MW * 0.5) over the hours in service.
        QVERIFY(near(calc->m_totals.at(0) - calc->m_totals.at(5) - calc->m_totals.at(6),
                     4 * 0.5 * hours, 1e-9));
    }
}

void TestLoadFlow::ringGivesZeroTotals()
{
    TestNetwork net = oneTransformer("0", "0.5", 0, 0, 720, 360);
    net.addWire("W", "120", "0", "0.25", "0.4", "2.7", "", "1");
    net.addSection("1", 1, 2, "W", 1);
    net.addSection("1", 2, 0, "W", 1);
    for (int mode : {0, 1, 2}) {
        const auto calc = calculate(net, mode);
        QCOMPARE(calc->m_messages, (QStringList{heading, "*** Ветвь 1 -2 образует кольцо",
                                                "**** Дана неверная информация об участках линии"}));
        QCOMPARE(calc->m_errorCount, 1);
        QCOMPARE(calc->m_totals, mode == 2 ? QVector<double>() : QVector<double>(16, 0.0));
        QVERIFY(calc->m_U.isEmpty());
        if (mode == 1)
            QCOMPARE(calc->m_htmlRows.mid(calc->m_htmlRows.size() - 4, 2),
                     (QStringList{"<tr><td align='center'>Л (Неверная информация об участках)</td>\n", "</tr>"}));
    }
}

void TestLoadFlow::collapseKeepsLoadEnergies()
{
    // 200 MW through 100 Ohm of reactance cannot be carried at 110 kV.
    TestNetwork net = oneTransformer("0", "1", 0, 0, 720 * 200, 720 * 100);
    const auto calc = calculate(net, 1);
    QCOMPARE(calc->m_state, 2);
    QCOMPARE(calc->m_messages.mid(0, 2), (QStringList{heading,
        "**** Потеря напряжения в фидере превышает 50%. Проверьте данные о нагрузках"}));
    QCOMPARE(calc->m_errorCount, 1);
    compareTotals(calc->m_totals, {200 * 720, 200 * 720, 0, 0, 0, 0, 0, 0, 0, 0, 200, 0, 0, 0, 0, 0});
    QCOMPARE(calc->m_U.at(1), 110.0);   // collapsed nodes show the nominal voltage
    QVERIFY(allFinite(*calc));
}

void TestLoadFlow::unconvergedLineKeepsItsLastPass()
{
    // Close to the largest load the line can carry the voltages settle slowly.
    TestNetwork net = oneTransformer("0", "1", 0, 0, 720 * 35, 720 * 17.5);
    const auto calc = calculate(net, 2);
    QCOMPARE(calc->m_passes, 15);
    QCOMPARE(calc->m_state, 1);
    QCOMPARE(calc->m_messages.mid(0, 2), (QStringList{heading,
                                                     "* Расчет режима не сошелся за 15 итераций"}));
    QCOMPARE(calc->m_errorCount, 0);
    QVERIFY(near(calc->m_U.at(1), 66.3734144720914, 1e-6));   // the 15th pass
    const auto totals = calculate(net, 0);
    QVERIFY(totals->m_totals.at(13) > 0.0);
}

void TestLoadFlow::zeroFillFactor()
{
    TestNetwork net = oneTransformer("0", "0", 0, 0, 2880, 1440);
    const auto calc = calculate(net, 1);
    const auto half = calculate(oneTransformer("0", "0.5", 0, 0, 2880, 1440), 1);
    QCOMPARE(calc->m_messages, (QStringList{heading,
        "* Коэффициент заполнения графика задан неверно, принят 0.5",
        "* Cредняя расчетная загрузка тр-ра 0 -1 равна 184.5%"}));
    QCOMPARE(calc->m_errorCount, 0);
    QCOMPARE(calc->m_totals, half->m_totals);
    QVERIFY(allFinite(*calc));
    QVERIFY(calc->m_htmlRows.last().contains("Кз = 0.00"));
}

void TestLoadFlow::exactFormFactor()
{
    // "ind_graf" 1: the loss hours are k_for * T (at least T); the load
    // energies stay those of the period.
    TestNetwork net = oneTransformer("0", "0.5", 0, 0, 2880, 1440);
    net.setLine("1", "ind_graf", "1");
    net.setLine("1", "k_for", "1.1");
    const auto k11 = calculate(net);
    net.setLine("1", "k_for", "0.9");
    const auto k09 = calculate(net);
    const double dP = k11->m_totals.at(13) / 1000;
    QVERIFY(near(k11->m_totals.at(5), 1.1 * 720 * dP, 1e-9));
    QVERIFY(near(k09->m_totals.at(5), 720 * dP, 1e-9));
    QVERIFY(near(k11->m_totals.at(0), 1.1 * 720 * dP + 2880 + 0.014 * 720, 1e-9));
    QCOMPARE(k11->m_T, 720.0);
}

void TestLoadFlow::nodeEnergiesFollowTheTotals_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("indGraf");
    QTest::newRow("mean load") << "0" << "0";
    QTest::newRow("mean load, exact form factor") << "0" << "1";
    QTest::newRow("maximum loss") << "1" << "0";
}

void TestLoadFlow::nodeEnergiesFollowTheTotals()
{
    QFETCH(QString, method);
    QFETCH(QString, indGraf);
    pk_Nagr = 1.2;
    TestNetwork net;
    net.addWire("W", "120", "0", "0.25", "0.4", "2.7", "", "1");
    net.addTransType("Т-1", "110", "10000", "10", "100", "14", "70", "0", "0", "0", "0");
    net.addLine("1", "Л", 110, 115, 112, "0.7", method);
    net.setLine("1", "ind_graf", indGraf);
    net.setLine("1", "k_for", "1.2");
    net.addSection("1", 0, 1, "W", 10);
    net.addTrans("1", 1, 2, "Т-1", 4, 2, 2880, 1440);
    net.addSection("1", 1, 3, "W", 5);
    net.addTrans("1", 3, 4, "Т-1", 3, 1, 2160, 720);
    const auto totals = calculate(net, 0);
    const auto display = calculate(net, 2);
    double sumW = 0, sumWxx = 0;
    for (int j = 0; j < display->m_dW.size(); ++j) {
        sumW += display->m_dW.at(j);
        sumWxx += display->m_Wxx.at(j);
    }
    QVERIFY(near(sumW / 1000, totals->m_totals.at(5), 1e-9));    // kWh against MWh
    QVERIFY(near(sumWxx / 1000, totals->m_totals.at(6), 1e-9));
}

void TestLoadFlow::reversedRowsCarryTheirLoads()
{
    auto build = [](bool reversed) {
        TestNetwork net;
        net.addWire("W", "120", "0", "0.25", "0.4", "2.7", "", "1");
        net.addTransType("Т-1", "110", "10000", "10", "100", "14", "70", "1.5", "9", "115", "11");
        net.addLine("1", "Л", 110, 115, 112, "0.5", "0");
        net.addSection("1", reversed ? 1 : 0, reversed ? 0 : 1, "W", 10);
        net.addTrans("1", reversed ? 2 : 1, reversed ? 1 : 2, "Т-1", 0, 0, 2880, 1440);
        return net;
    };
    const auto straight = calculate(build(false), 1);
    const auto reversed = calculate(build(true), 1);
    QCOMPARE(reversed->m_totals, straight->m_totals);
    QCOMPARE(reversed->m_nodeNames, (QVector<QString>{"0", "1", "2"}));
    QCOMPARE(reversed->m_U, straight->m_U);
    QCOMPARE(reversed->m_P, straight->m_P);
    QVERIFY(reversed->m_P.at(1) > 4.0);
    QVERIFY(near(reversed->m_U.at(2), straight->m_nodeU.at(2)));
}

void TestLoadFlow::islandLoadsAddUp()
{
    // Two transformers of an island feed one node: both loads count in the
    // energy drawn, although the island takes no part in the flow.
    TestNetwork net = oneTransformer("0", "0.5", 0, 0, 720, 360);
    net.addTrans("1", 5, 6, "Т-1", 0, 0, 1440, 0);
    net.addTrans("1", 5, 6, "Т-1", 0, 0, 2160, 0);
    const auto calc = calculate(net);
    QVERIFY(near(calc->m_totals.at(10), 1 + 2 + 3 + 0.014 * std::pow(110 / 110.0, 2), 1e-9));
    QCOMPARE(calc->m_errorCount, 2);
}

void TestLoadFlow::voltageLimits()
{
    TestNetwork net = oneTransformer("1", "1.5", 1, 0.5, 0, 0);
    net.setLine("1", "unom", "10");
    net.setLine("1", "umax", "30");
    net.setLine("1", "umin", "25");
    const auto calc = calculate(net);
    QCOMPARE(calc->m_Unom, 35.0);
    QCOMPARE(calc->m_Umax, 35.0);
    QCOMPARE(calc->m_Umin, 25.0);
    QCOMPARE(calc->m_kz, 0.5);
    QVERIFY(near(calc->m_Tloss, 0.33325 * 720));
    pT_RES = 30;
    QCOMPARE(calculate(net)->m_kt, 1.04);
}

QTEST_GUILESS_MAIN(TestLoadFlow)
#include "tst_loadflow.moc"

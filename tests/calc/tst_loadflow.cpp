#include "calc/lossrun.h"
#include "calc/zorvantask.h"
#include "calcglobals.h"
#include "calcnetwork.h"
#include "store/SaveInfo.h"
#include "testsupport.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numeric>

namespace {

const QString heading = "--------------------- Л --------------------- ";

// A line over a catalog of a 120 mm² wire (next to no charging), a 10 MVA
// transformer (R 10 Ohm, X 100 Ohm, Px 14 kW, Qx 70 kvar, ratio 1) and ideal
// transformers at 35 and 110 kV.
TestNetwork line(double unom, double umax, const QString& kZapol, const QString& method = "0")
{
    TestNetwork net;
    net.addWire("W", "120", "0", "0.25", "0.4", "0.000001", "", "1");
    net.addTransType("Т-1", "110", "10000", "10", "100", "14", "70", "0", "0", "0", "0");
    for (const char* u : {"35", "110"})
        net.addTransType(QString("Ideal") + u, u, "40000", "0", "0", "0", "0", "0", "0", "0", "0");
    net.addLine("1", "Л", unom, umax, umax, kZapol, method);
    return net;
}

bool allFinite(const QVector<double>& values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool near(double a, double b, double rel = 1e-7)
{
    return std::abs(a - b) <= rel * std::max(1.0, std::abs(b));
}

// The 16 totals of a line of one Т-1: dP its load loss (MW), H the loss
// hours, W the load energy (MWh), P the load drawn (MW).
void compareOneTransformerTotals(const QVector<double>& actual, double dP, double H, double W, double P)
{
    const double nl = 0.014, t1 = H * dP + W + nl * 720;
    const QVector<double> expected{t1, t1, 0, 0, H * dP, H * dP, nl * 720, 0, nl * 720, H * dP + nl * 720, P + nl, 0,
                                   1000 * dP, 1000 * dP, 1000 * nl, 1000 * (dP + nl)};
    QCOMPARE(actual.size(), 16);
    for (int k = 0; k < 16; ++k)
        QVERIFY2(near(actual.at(k), expected.at(k)), qPrintable(QString("total %1: %2").arg(k + 1).arg(actual.at(k))));
}

// A report's own part: what follows the table opening of the common frame.
QString reportTail(const TempWorkDir& dir, const QString& name)
{
    const QString page = QString::fromUtf8(dir.readFile("html/" + name + ".html"));
    return page.mid(page.indexOf("cellpadding ='2'><tr>") + 21);
}

} // namespace

class TestLoadFlow : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        resetCalcGlobals();
        m_dir = std::make_unique<TempWorkDir>();
        m_recorder.clear();
    }
    void cleanup() { m_dir.reset(); }

    void oneTransformerTotalsAndReports()
    {
        // 2880 MWh over 720 h: 4 MW and 2 Mvar. k_zapol 0.5: kmax 4, kf2 1.333,
        // c 1.02; the flow settles on the second pass at U = 107.650456 kV with
        // dP = 10 * 20 / U² * 1.02 = 0.0176013 MW.
        TestNetwork net = line(110, 110, "0.5");
        net.addTrans("1", 0, 1, "Т-1", 0, 0, 2880, 1440);
        net.write();
        CalcRadial calc;
        calc.CalcUR("1", 1, 1, 0);
        compareOneTransformerTotals(calc.m_totals, 0.01760129265667212, 1.333 * 720, 2880, 4);
        QCOMPARE(calc.m_passes, 2);
        // Apparent power 4.6003 MVA on 10 MVA with kmax 4: loading 1.845.
        QCOMPARE(calc.m_messages, (QStringList{heading, "* Cредняя расчетная загрузка тр-ра 0 -1 равна 184.5%"}));
        QCOMPARE(calc.m_errorCount, 0);

        QVERIFY(calc.m_headCells.at(6).contains("Активная<br>мощность,<br>мВт"));
        auto cells = [](const QStringList& c) { return "<td align='center'>" + c.join("</td>\n<td align='center'>") + "</td>\n"; };
        QCOMPARE(reportTail(*m_dir, "Информация по участкам линии Л"),
                 calc.m_headCells.join(QString()) + "<tr>\n"
                 + cells({"Участок 0-1", "0 - 1", "Т-1", "ЭСО", "0", "1.85", "4.03", "2.24", "107.65", "2.14", "70.405",
                          "172.6", "16893", "100.00"}) + "</tr>\n</body></html>\n");
        QCOMPARE(reportTail(*m_dir, "Потери по линии Л"),
                 TableHtml().join(QString()) + "<tr><td align='center'>Л</td>\n"
                 + cells({"2906.973<br>2906.973", "0.000<br>0.00 %", "16.893<br>0.58 %", "16.893<br>0.58 %",
                          "10.080<br>0.35 %", "0.000<br>0.00 %", "10.080<br>0.35 %", "26.973<br>0.93 %"})
                 + "</tr></table>\n<caption><h3 align = 'left'>Кз = 0.50, температура 20.0</h3></caption>\n</body></html>\n");
        QCOMPARE(m_recorder.texts(), (QStringList{"Информация по участкам линии Л", "Потери по линии Л"}));

        // Maximum loss: peak 5 + j2.5 MW, k_zapol 0.6: T_loss = (0.667 * 0.6 + 0.333)
        // * 0.6 * 720, c 1.03, kmax 1; the load energy counts the mean load.
        TestNetwork peak = line(110, 110, "0.6", "1");
        peak.addTrans("1", 0, 1, "Т-1", 5, 2.5);
        compareOneTransformerTotals(calculate(peak, 0)->m_totals, 0.028083343830929704,
                                    (0.667 * 0.6 + 0.333) * 0.6 * 720, 5 * 0.6 * 720, 5);
        const auto max = calculate(peak, 2);
        QCOMPARE(max->m_messages, QStringList{heading});   // loading 0.58: no warning
        QVERIFY(near(max->m_Wxx.at(0), 10080.0) && near(max->m_Wqxx.at(0), 50400.0));   // 14 kW, 70 kvar
    }

    void twoSectionsAgainstExactSolution()
    {
        // 35 kV, k_zapol 1: c, kmax and F are 1, so the settled sweep is the
        // exact flow of the two sections into an ideal transformer.
        TestNetwork net = line(35, 36, "1");
        net.addSection("1", 0, 1, "W", 12);
        net.addSection("1", 1, 2, "W", 8);
        net.addTrans("1", 2, 3, "Ideal35", 0, 0, 720 * 6, 720 * 3);
        const auto calc = calculate(net, 0);
        using C = std::complex<double>;
        const C Z1(3.0, 4.8), Z2(2.0, 3.2), S(6.0, 3.0);
        C U2 = 36.0;
        for (int k = 0; k < 200; ++k)
            U2 = 36.0 - (Z1 + Z2) * std::conj(S / U2);
        const C I = std::conj(S / U2);
        const double losses = (Z1 + Z2).real() * std::norm(I);
        // The sweep stops once no voltage moves by more than 0.001 * U0 in a pass.
        QVERIFY(std::abs(calc->m_nodeU.at(1) - std::abs(36.0 - Z1 * I)) < 2 * 0.036);
        QVERIFY(std::abs(calc->m_nodeU.at(2) - std::abs(U2)) < 2 * 0.036);
        QVERIFY(near(calc->m_totals.at(13), 1000 * losses, 0.005));
        QVERIFY(near(calc->m_totals.at(3), 720 * losses, 0.005));
        QCOMPARE(calc->m_messages, QStringList{heading});
    }

    void doubleCircuitShowsPerCircuitValues()
    {
        // Two circuits carrying 8 MW show what one circuit carrying 4 MW shows.
        auto build = [](bool twoCircuits, double load) {
            TestNetwork net = line(110, 115, "1");
            net.addSection("1", 0, 1, "W", 20);
            if (twoCircuits)
                net.addSection("1", 1, 0, "W", 20);
            net.addTrans("1", 1, 2, "Ideal110", 0, 0, 720 * load, 720 * load / 2);
            return net;
        };
        const auto two = calculate(build(true, 8), 1);
        const auto one = calculate(build(false, 4), 1);
        for (const auto& pick : {&CalcRadial::m_P, &CalcRadial::m_I, &CalcRadial::m_dP, &CalcRadial::m_dW}) {
            QVERIFY(near(((*two).*pick).at(0), ((*one).*pick).at(0), 1e-9));
            QVERIFY(near(((*two).*pick).at(1), ((*one).*pick).at(0), 1e-9));
        }
        // The pair loses twice one circuit's power, each circuit half of it.
        QVERIFY(near(two->m_totals.at(11), 2 * one->m_totals.at(11), 1e-9));
        QVERIFY(two->m_protocolRows.at(15).endsWith("<td align='center'>50.00</td>\n</tr>\n"));
    }

    void transitAndInsulation()
    {
        // A type without power and resistance is a flow out of the network: 720
        // MWh of transit. An island's loads count in the energy drawn, though it
        // takes no part in the flow. 2 km of cable lose 0.0074 MW in insulation.
        TestNetwork net = line(110, 110, "0.5");
        net.addWire("К-240", "240", "1", "0.125", "0.11", "", "", "1");
        net.addTransType("Транзит", "110", "0", "0", "0", "0", "0", "0", "0", "0", "0");
        net.addSection("1", 0, 1, "К-240", 2);
        net.addTrans("1", 1, 2, "Т-1", 0, 0, 1440, 720);
        net.addTrans("1", 1, 3, "Транзит", 0, 0, 720, 360);
        net.addTrans("1", 5, 6, "Т-1", 0, 0, 1440, 0);
        net.addTrans("1", 5, 6, "Т-1", 0, 0, 2160, 0);
        const QVector<double> base = calculate(net)->m_totals;
        QCOMPARE(base.at(2), 720.0);                            // total 3: transit
        QVERIFY(near(base.at(1), 1440 + 3600 + base.at(9)));    // own network: its loads and losses

        p_Iz = 1;   // the power drawn carries the insulation loss
        QVERIFY(near(calculate(net)->m_totals.at(10) - base.at(10), 0.0074, 1e-3));

        p_Iz = 0;
        p_tranz = 1;
        const QVector<double> without = calculate(net)->m_totals;
        QCOMPARE(without.at(2), 0.0);
        QVERIFY(near(without.at(1), 1440 + 3600 + without.at(9)));
        QVERIFY(without.at(11) < base.at(11));   // less flow through the section
    }

    // The company's part of each total is what its own rows lose and draw;
    // without balance ownership all of it. k_zapol 1: 720 loss hours, kmax 1.
    void companyShareOfEveryTotal()
    {
        p_Iz = 1;
        TestNetwork net = line(110, 110, "1");
        net.addWire("К-240", "240", "1", "0.125", "0.11", "", "", "1");   // 2 km: 7.4 kW in insulation
        net.addSection("1", 0, 1, "К-240", 2);
        net.addTrans("1", 1, 2, "Т-1", 0, 0, 2880, 1440, "1");   // a consumer's, 4 MW
        net.addSection("1", 0, 3, "К-240", 2, "1");               // a consumer's
        net.addTrans("1", 3, 4, "Т-1", 0, 0, 2160, 720);          // 3 MW
        for (pr_Bal = 0; pr_Bal <= 1; ++pr_Bal) {
            p_tranz = pr_Bal;   // no transit here: only the caption names it
            const auto calc = calculate(net, 1);
            double sec = 0, tr = 0, nl = 0, ins = 0, load = 0;   // kW, and MW drawn
            for (int row = 0; row < 4; ++row) {
                if (pr_Bal == 0 && (row == 1 || row == 2))
                    continue;
                (row % 2 ? tr : sec) += calc->m_dP.at(row);
                nl += calc->m_Pxx.at(row);
                ins += row % 2 ? 0.0 : 7.4;
                load += row == 1 ? 4 : row == 3 ? 3 : 0;
            }
            const double t9 = 0.72 * (nl + ins), t10 = 0.72 * (sec + tr) + t9;
            const QVector<double> expected{720 * load + t10, 0.72 * sec, 0.72 * tr, 0.72 * (sec + tr), 0.72 * nl,
                                           0.72 * ins, t9, t10, sec, tr, sec + tr, nl, sec + tr + nl + ins};
            const QVector<int> totals{2, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16};
            for (int k = 0; k < totals.size(); ++k)
                QVERIFY2(near(calc->m_totals.at(totals[k] - 1), expected[k], 1e-9),
                         qPrintable(QString("pr_Bal %1, total %2").arg(pr_Bal).arg(totals[k])));
            QCOMPARE(calc->m_htmlRows.last(), "<caption><h3 align = 'left'>Кз = 1.00, температура 20.0"
                     + QString(pr_Bal ? ", Расчет без учета балансовой принадлежности , Расчет без учета "
                                        "транзитных перетоков " : "") + "</h3></caption>\n");
        }
    }

    // A 35 kV line held at 120 and 25 kV: its mean supply voltage of 101.3 kV
    // lies more than half the nominal below the maximum. The 70 mm² section
    // carries 220 A; the windings behind the star point of a 25 MVA
    // transformer take half its rating, so that 15 MVA load one to 120 %.
    void warningsOfAStrainedLine()
    {
        TestNetwork net = line(35, 120, "1");
        net.setLine("1", "umin", "25");
        net.addWire("А-70", "70", "0", "0.43", "0.44");
        net.addTransType("ТДТН-В", "35", "25000", "0.01", "0.1", "0", "0", "0", "0", "35", "35");
        net.addTransType("ТДТН-Н", "35", "0", "0.01", "0.1", "0", "0", "0", "0", "35", "10");
        net.addSection("1", 0, 1, "А-70", 1);
        net.addTrans("1", 1, 5, "Ideal35", 0, 0, 720 * 31, 720 * 23);
        net.addTrans("1", 0, 2, "ТДТН-В");
        net.addTrans("1", 2, 3, "ТДТН-Н", 0, 0, 720 * 12, 720 * 9);
        net.addTrans("1", 2, 4, "ТДТН-Н");
        const auto calc = calculate(net, 2);
        QCOMPARE(calc->m_rowS, (QVector<double>{70, 40000, 25000, 12500, 12500}));
        QCOMPARE(calc->m_messages, (QStringList{heading, "* Cредняя плотность тока на участке 0 -1 более 3.1 A/мм2",
                                                "* Cредняя расчетная загрузка тр-ра 2 -3 равна 120.0%",
                                                "**** Потери напряжения достигают "
                                                    + QString::number((120 - calc->m_U.at(1)) / 35 * 100, 'g', 6)
                                                    + " %. Проверьте информацию о нагрузках"}));
    }

    void lineOutcomes_data()
    {
        // One transformer: the mean-load method takes "load" MW as 720 h of
        // energy, the maximum-loss method as its peak.
        QTest::addColumn<QStringList>("settings");   // "vid_ras", "k_zapol", "podkl", "sost"
        QTest::addColumn<double>("load");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("state");
        QTest::addColumn<double>("loadEnergy");   // MWh
        QTest::newRow("disconnected") << QStringList{"1", "0.5", "30", "0"} << 4.0 << "Л (Отключена)"
                                      << QStringList{"* Линия отключена"} << 0 << 0.0;
        QTest::newRow("in series, disconnected 10 days")
            << QStringList{"1", "0.5", "10", "1"} << 4.0 << "Л (Последовательная) (Отключена 10.00 дней)"
                                              << QStringList() << 0 << 4 * 0.5 * 480.0;
        QTest::newRow("fill factor 0 taken as 0.5")
            << QStringList{"0", "0", "0", "0"} << 4.0 << "Л"
            << QStringList{"* Коэффициент заполнения графика задан неверно, принят 0.5",
                           "* Cредняя расчетная загрузка тр-ра 0 -1 равна 184.5%"} << 0 << 2880.0;
        // 200 MW through 100 Ohm of reactance cannot be carried at 110 kV.
        const QString collapse = "**** Потеря напряжения в фидере превышает 50%. Проверьте данные о нагрузках";
        QTest::newRow("collapse") << QStringList{"0", "1", "0", "0"} << 200.0 << "Л" << QStringList{collapse}
                                  << 2 << 200 * 720.0;
        // An energy no network delivers also overflows the flow: no figures at all.
        QTest::newRow("overflow") << QStringList{"0", "0.5", "0", "0"} << 1e300 / 720 << "Л" << QStringList{collapse,
            "**** Результаты расчета вне допустимых пределов. Проверьте данные о нагрузках и участках линии"} << 2 << 0.0;
        // Close to the largest load the line can carry the voltages settle slowly.
        QTest::newRow("not converged") << QStringList{"0", "1", "0", "0"} << 35.0 << "Л"
            << QStringList{"* Расчет режима не сошелся за 15 итераций"} << 1 << 35 * 720.0;
    }

    void lineOutcomes()
    {
        QFETCH(QStringList, settings);
        QFETCH(double, load);
        QFETCH(QString, title);
        QFETCH(QStringList, messages);
        QFETCH(int, state);
        QFETCH(double, loadEnergy);
        const bool peak = settings.at(0) == "1";
        TestNetwork net = line(110, 110, settings.at(1), settings.at(0));
        net.addTrans("1", 0, 1, "Т-1", peak ? load : 0, peak ? load / 2 : 0, peak ? 0 : 720 * load, peak ? 0 : 360 * load);
        net.setLine("1", "podkl", settings.at(2));
        net.setLine("1", "sost", settings.at(3));
        const auto calc = calculate(net, 1);
        QCOMPARE(calc->m_lineTitle, title);
        QCOMPARE(calc->m_messages.mid(0, messages.size() + 1), QStringList{heading} + messages);   // loading warnings follow
        QCOMPARE(calc->m_errorCount, state == 2 ? messages.size() : 0);   // only a collapse gives errors
        QCOMPARE(calc->m_state, state);
        for (const QVector<double>* v : {&calc->m_totals, &calc->m_U, &calc->m_I, &calc->m_Kz, &calc->m_dP, &calc->m_dW})
            QVERIFY(allFinite(*v));
        // Energy drawn less losses is the load energy; only a collapse has no losses.
        const QVector<double>& t = calc->m_totals;
        QVERIFY(near(t.at(0) - t.at(9), loadEnergy, 1e-9));
        QCOMPARE(t.at(9) > 0.0, state != 2 && loadEnergy > 0.0);
    }

    void lossHours_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("kZapol");
        QTest::addColumn<QString>("kFor");   // given: "ind_graf" 1, k_for the exact Kf², at least 1
        QTest::addColumn<double>("hours");
        QTest::newRow("maximum loss") << "1" << "0.6" << "" << (0.667 * 0.6 + 0.333) * 0.6 * 720;
        QTest::newRow("exact form factor 1.2") << "0" << "0.5" << "1.2" << 1.2 * 720;
        QTest::newRow("exact form factor 0.9 counts as 1") << "0" << "0.5" << "0.9" << 720.0;
    }

    // The loss hours scale the load losses (T itself is not); the display's
    // per-row energies add up to the totals, the load correction applied once.
    void lossHours()
    {
        QFETCH(QString, method);
        QFETCH(QString, kZapol);
        QFETCH(QString, kFor);
        QFETCH(double, hours);
        pk_Nagr = 1.2;
        TestNetwork net = line(110, 115, kZapol, method);   // company-owned throughout
        net.setLine("1", "ind_graf", kFor.isEmpty() ? "0" : "1");
        net.setLine("1", "k_for", kFor.isEmpty() ? "1" : kFor);
        net.addSection("1", 0, 1, "W", 10);
        net.addTrans("1", 1, 2, "Т-1", 4, 2, 2880, 1440);
        net.addSection("1", 1, 3, "W", 5);
        net.addTrans("1", 3, 4, "Т-1", 3, 1, 2160, 720);
        const auto report = calculate(net, 1);
        const QVector<double> t = report->m_totals;
        QVERIFY(report->m_htmlRows.last().endsWith(", Коэффициент коррекции нагрузки 1.20</h3></caption>\n"));
        const auto calc = calculate(net, 2);
        QCOMPARE(calc->m_T, 720.0);
        QVERIFY(near(t.at(5), hours * t.at(13) / 1000, 1e-9));
        const auto sum = [](const QVector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); };
        QVERIFY(near(sum(calc->m_dW) / 1000, t.at(5), 1e-9));   // kWh against MWh
        QVERIFY(near(sum(calc->m_Wxx) / 1000, t.at(6), 1e-9));
    }

    void poisonedColumnsGiveFiniteFigures_data()
    {
        QTest::addColumn<QString>("value");
        for (const char* value : {"nan", "-inf", "1e400", "1e300"})
            QTest::newRow(value) << QString(value);
    }

    // Whatever a numeric column of the line, section or catalog tables holds,
    // the totals, both reports and the result rows are finite: text that is no
    // number reads as 0, a line that overflows gives no figures but an error.
    void poisonedColumnsGiveFiniteFigures()
    {
        QFETCH(QString, value);
        const QRegularExpression notFinite("nan|inf", QRegularExpression::CaseInsensitiveOption);
        const QVector<QVector<int>> columns = {{5, 6, 7, 8, 10, 11, 16}, {5, 6, 7, 9, 10, 11, 12, 13, 14},
                                               {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}};
        for (int table = 0; table < 4; ++table) {
            for (int column : columns.at(table)) {
                TestNetwork net = line(110, 115, "0.5");
                net.addSection("1", 0, 1, "W", 10);
                net.addTrans("1", 1, 2, "Т-1", 4, 2, 2880, 1440);
                Table* rows[4] = {&net.lines, &net.sections, &net.katLin, &net.katTr};
                for (QStringList& row : *rows[table])
                    row[column] = value;
                const auto calc = calculate(net, 1);
                const QString where = QString("table %1, column %2").arg(table).arg(column);
                QVERIFY2(calc->m_totals.size() == 16 && allFinite(calc->m_totals), qPrintable(where));
                QVERIFY2(value == "1e300" || !calc->m_messages.join("").contains("вне допустимых"), qPrintable(where));
                const QString shown = calc->m_htmlRows.join("") + calc->m_protocolRows.join("");
                QVERIFY2(!shown.contains(notFinite), qPrintable(where));
                for (const QStringList& row : poteriRowsRES(runLossRES("1", "1", calcTables(net))))
                    QVERIFY2(!row.join("").contains(notFinite), qPrintable(where));
            }
        }
    }

    // A section 0-1 and a transformer 1-3, written from their downstream end,
    // carry the flow; a consumer's section 1-2 disconnected, a section 3-4 out
    // of service for another reason and a section 7-8 never reached stand out
    // of it. A line code that matches no line touches nothing.
    void displayVectorsAlignedByRow()
    {
        TestNetwork net = line(110, 115, "0.5");
        net.addSection("1", 1, 0, "W", 10);
        TestNetwork::set(net.addSection("1", 1, 2, "W", 4, "1"), attrUchLin, "podkt", "1");
        net.addTrans("1", 3, 1, "Т-1", 0, 0, 2880, 1440);
        TestNetwork::set(net.addSection("1", 3, 4, "W", 2), attrUchLin, "podkt", "2");
        net.addSection("1", 7, 8, "W", 1);
        const auto calc = calculate(net, 2);
        QCOMPARE(calc->m_nodeNames, (QVector<QString>{"0", "1", "0", "3", "0", "0"}));
        QCOMPARE(calc->m_branchKeys, (QVector<QString>{"1", "2", "3", "4", "5"}));
        QCOMPARE(calc->m_U.size(), 6);
        for (const QVector<double>* v : {&calc->m_dU, &calc->m_I, &calc->m_Kz, &calc->m_P, &calc->m_Q,
                                         &calc->m_dP, &calc->m_dQ, &calc->m_Pxx, &calc->m_Qxx, &calc->m_W,
                                         &calc->m_Wq, &calc->m_dW, &calc->m_dWq, &calc->m_Wxx, &calc->m_Wqxx}) {
            QCOMPARE(v->size(), 5);
            QCOMPARE(QVector<double>({v->at(1), v->at(3), v->at(4)}), QVector<double>(3, 0.0));
        }
        QCOMPARE(calc->m_rowS, (QVector<double>{120, 0, 10000, 0, 0}));
        QCOMPARE(calc->m_rowCable, (QVector<int>{0, 0, 1, 0, 0}));
        QCOMPARE(calc->m_branchS, (QVector<double>{120, 10000, 120}));   // per branch
        // The rows show their downstream ends; the transformer carries its 4 MW.
        QVERIFY(calc->m_P.at(0) > calc->m_P.at(2) && calc->m_P.at(2) > 4.0);
        QVERIFY(calc->m_U.at(1) > calc->m_U.at(3) && calc->m_U.at(3) > 0.0);
        const auto none = calculate(net, 1, "9");
        QVERIFY(none->m_totals.isEmpty() && none->m_messages.isEmpty() && none->m_htmlRows.isEmpty());
        QVERIFY(m_recorder.messages.isEmpty());
    }

    // Every line of the examples calculates with no error and no warning.
    void examplesCalculateCleanly()
    {
        m_dir->copyExamples();
        const Table lines = ReadShablonXML("lines", {"npes", "nres", "nlin", "name"}, "LIN");
        QVERIFY(lines.size() >= 6);
        for (const QStringList& line : lines) {
            NPES = line.at(0);
            NRES = line.at(1);
            CalcRadial calc;
            calc.CalcUR(line.at(2), 0, 0, 0);
            QVERIFY2(calc.m_errorCount == 0 && calc.m_messages.size() == 1,
                     qPrintable(line.at(3) + ": " + calc.m_messages.join(" | ")));
            QVERIFY2(calc.m_totals.value(0) > 0, qPrintable(line.at(3)));  // energy delivered
        }
        QVERIFY(m_recorder.messages.isEmpty());
    }

private:
    std::unique_ptr<TempWorkDir> m_dir;
    MessageRecorder m_recorder;
};

QTEST_GUILESS_MAIN(TestLoadFlow)
#include "tst_loadflow.moc"

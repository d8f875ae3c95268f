#include "calcfixture.h"
#include "calc/lossrun.h"

#include <complex>
#include <numeric>

// The 16 totals of a line of one Т-1: load loss dP (MW), loss hours H, load energy W (MWh), load P (MW).
static void compareOneTransformerTotals(const QVector<double>& actual, double dP, double H, double W, double P)
{
    const double nl = 0.014, t1 = H * dP + W + nl * 720;
    const QVector<double> expected{t1, t1, 0, 0, H * dP, H * dP, nl * 720, 0, nl * 720, H * dP + nl * 720, P + nl, 0,
                                   1000 * dP, 1000 * dP, 1000 * nl, 1000 * (dP + nl)};
    QCOMPARE(actual.size(), 16);
    for (int k = 0; k < 16; ++k)
        QVERIFY2(near(actual.at(k), expected.at(k)), qPrintable(QString("total %1: %2").arg(k + 1).arg(actual.at(k))));
}

class TestLoadFlow : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_case = std::make_unique<CalcCase>(); }
    void cleanup() { m_case.reset(); }

    void oneTransformerTotalsAndReports()
    {
        // 4 + j2 MW, kmax 4, kf2 1.333, c 1.02: settled on pass 2 at 107.650456 kV, dP = 10 * 20 / U² * c.
        TestNetwork net = network();
        net.addTrans("1", 0, 1, "Т-1", 0, 0, 2880, 1440);
        net.write();
        CalcRadial calc;
        calc.CalcUR("1", 1, 1, 0);
        compareOneTransformerTotals(calc.m_totals, 0.01760129265667212, 1.333 * 720, 2880, 4);
        QCOMPARE(calc.m_passes, 2);
        QCOMPARE(calc.m_messages, (QStringList{heading, "* Cредняя расчетная загрузка тр-ра 0 -1 равна 184.5%"}));
        QVERIFY(calc.m_headCells.at(6).contains("Активная<br>мощность,<br>мВт"));
        auto cells = [](const QStringList& c) { return "<td align='center'>" + c.join("</td>\n<td align='center'>") + "</td>\n"; };
        const QString table = "<table border='1' bgcolor='#DEECFC' " + TABLE + "<thead><tr>";
        QCOMPARE(reportBody("Информация по участкам линии Л"), table + calc.m_headCells.join(QString()) + "</thead><tr>\n"
                 + cells({"Участок 0-1", "0 - 1", "Т-1", "ЭСО", "0", "1.85", "4.03", "2.24", "107.65", "2.14", "70.405",
                          "172.6", "16893", "100.00"}) + "</tr>\n");
        QCOMPARE(reportBody("Потери по линии Л"), table + TableHtml().join(QString()) + "</thead><tr><td align='center'>Л</td>\n"
                 + cells({"2906.973<br>2906.973", "0.000<br>0.00 %", "16.893<br>0.58 %", "16.893<br>0.58 %",
                          "10.080<br>0.35 %", "0.000<br>0.00 %", "10.080<br>0.35 %", "26.973<br>0.93 %"})
                 + "</tr></table>\n<caption><h3 align = 'left'>Кз = 0.50, температура 20.0</h3></caption>\n");
        QCOMPARE(m_case->recorder.texts(), (QStringList{"Информация по участкам линии Л", "Потери по линии Л"}));

        // Maximum loss, peak 5 + j2.5 MW: c 1.03, kmax 1; the load energy counts the mean load.
        TestNetwork peak = network(110, 0, "0.6", "1");
        peak.addTrans("1", 0, 1, "Т-1", 5, 2.5);
        const auto max = calculate(peak, 1);
        compareOneTransformerTotals(max->m_totals, 0.028083343830929704, (0.667 * 0.6 + 0.333) * 0.6 * 720, 5 * 0.6 * 720, 5);
        QCOMPARE(max->m_messages, QStringList{heading});   // loading 0.58: no warning
        QVERIFY(near(max->m_Wxx.at(0), 10080.0) && near(max->m_Wqxx.at(0), 50400.0));   // 14 kW, 70 kvar
    }

    void sweepAgainstExactFlow()
    {
        // At 35 kV and k_zapol 1 the settled sweep is the exact flow (c, kmax and F are 1).
        TestNetwork net = network(35, 36, "1");
        net.addSection("1", 0, 1, "W", 12);
        net.addSection("1", 1, 2, "W", 8);
        net.addTrans("1", 2, 3, "Ideal35", 0, 0, 720 * 6, 720 * 3);
        const auto calc = calculate(net);
        using C = std::complex<double>;
        const C Z1(3.0, 4.8), Z2(2.0, 3.2), S(6.0, 3.0);
        C U2 = 36.0;
        for (int k = 0; k < 200; ++k)
            U2 = 36.0 - (Z1 + Z2) * std::conj(S / U2);
        const C I = std::conj(S / U2);
        const double losses = (Z1 + Z2).real() * std::norm(I);   // MW
        // The sweep stops once no voltage moves by more than 0.001 * U0 in a pass: two steps off at most.
        QVERIFY(std::abs(calc->m_nodeU.at(1) - std::abs(36.0 - Z1 * I)) < 0.072 && std::abs(calc->m_nodeU.at(2) - std::abs(U2)) < 0.072);
        QVERIFY(near(calc->m_totals.at(13), 1000 * losses, 0.005) && near(calc->m_totals.at(3), 720 * losses, 0.005));
        QCOMPARE(calc->m_messages, QStringList{heading});

        // Two circuits carrying 8 MW show what one circuit carrying 4 MW shows.
        TestNetwork single = network(110, 115, "1"), pair = single;
        single.addSection("1", 0, 1, "W", 20);
        single.addTrans("1", 1, 2, "Ideal110", 0, 0, 720 * 4, 720 * 2);
        pair.addSection("1", 0, 1, "W", 20);
        pair.addSection("1", 1, 0, "W", 20);
        pair.addTrans("1", 1, 2, "Ideal110", 0, 0, 720 * 8, 720 * 4);
        const auto two = calculate(pair, 1), one = calculate(single, 1);
        for (const auto& pick : {&CalcRadial::m_P, &CalcRadial::m_I, &CalcRadial::m_dP, &CalcRadial::m_dW})
            QVERIFY(near(((*two).*pick).at(0), ((*one).*pick).at(0), 1e-9) && near(((*two).*pick).at(1), ((*one).*pick).at(0), 1e-9));
        // The pair loses twice one circuit's power, each circuit half of it.
        QVERIFY(near(two->m_totals.at(11), 2 * one->m_totals.at(11), 1e-9));
        QVERIFY(two->m_protocolRows.at(15).endsWith("<td align='center'>50.00</td>\n</tr>\n"));
    }

    void companyShareOfEveryTotal_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("kZapol");
        QTest::addColumn<QString>("kFor");   // given: "ind_graf" 1, k_for the exact Kf², at least 1
        QTest::addColumn<double>("hours");
        QTest::newRow("mean load, k_zapol 1") << "0" << "1" << "" << 720.0;
        QTest::newRow("maximum loss") << "1" << "0.6" << "" << (0.667 * 0.6 + 0.333) * 0.6 * 720;
        QTest::newRow("exact form factor 1.2") << "0" << "1" << "1.2" << 1.2 * 720;
        QTest::newRow("exact form factor 0.9 counts as 1") << "0" << "1" << "0.9" << 720.0;
    }

    // The company's part of each total is what its own rows lose and draw, without balance ownership all of
    // it; loads corrected by 1.2. A type without power and resistance is transit; an island's load counts.
    void companyShareOfEveryTotal()
    {
        QFETCH(QString, method);
        QFETCH(QString, kZapol);
        QFETCH(QString, kFor);
        QFETCH(double, hours);
        p_Iz = 1;
        pk_Nagr = 1.2;
        TestNetwork net = network(110, 110, kZapol, method);
        net.setLine("1", "ind_graf", kFor.isEmpty() ? "0" : "1");
        net.setLine("1", "k_for", kFor.isEmpty() ? "1" : kFor);
        net.addSection("1", 0, 1, "К-240", 2);                     // 7.4 kW in insulation
        net.addTrans("1", 1, 2, "Т-1", 4, 2, 2880, 1440, "1");   // a consumer's, 4 MW
        net.addSection("1", 0, 3, "К-240", 2, "1");               // a consumer's
        net.addTrans("1", 3, 4, "Т-1", 3, 1, 2160, 720);          // 3 MW
        net.addTrans("1", 1, 5, "Транзит", 1, 0.5, 720, 360);     // 1 MW of transit
        net.addTrans("1", 7, 8, "Т-1", 2, 1, 1440, 720);          // an island's 2 MW
        const double h = hours / 1000, kLoad = method == "1" ? kZapol.toDouble() : 1.0;   // mean of the peak
        for (pr_Bal = 0; pr_Bal <= 1; ++pr_Bal) {
            p_tranz = 1 - pr_Bal;   // transit counted with balance ownership only
            const auto calc = calculate(net, 1);
            // kW per row, and MW drawn; the consumer's rows 1 and 2 count only without balance ownership.
            const QVector<double> &dP = calc->m_dP, &Pxx = calc->m_Pxx;
            const double sec = dP[0] + pr_Bal * dP[2], tr = dP[3] + pr_Bal * dP[1], nl = Pxx[3] + pr_Bal * Pxx[1],
                         ins = 7.4 * (1 + pr_Bal), load = 6 + 4.8 * pr_Bal, transit = 720 * kLoad * 1.2 * pr_Bal;
            const double t9 = 0.72 * (nl + ins), t10 = h * (sec + tr) + t9,
                         drawn = 10.8 + 1.2 * pr_Bal + (Pxx[1] + Pxx[3] + 14.8) / 1000;
            const QVector<double> expected{720 * kLoad * load + t10, transit, h * sec, h * tr, h * (sec + tr), 0.72 * nl,
                                           0.72 * ins, t9, t10, drawn, sec, tr, sec + tr, nl, sec + tr + nl + ins};
            for (int k = 0; k < 15; ++k)   // totals 2 to 16
                QVERIFY2(near(calc->m_totals.at(k + 1), expected[k], 1e-9), qPrintable(QString("pr_Bal %1, total %2").arg(pr_Bal).arg(k + 2)));
            QCOMPARE(calc->m_htmlRows.last(), "<caption><h3 align = 'left'>Кз = " + QString::number(kZapol.toDouble(), 'f', 2)
                     + ", температура 20.0, Расчет без учета " + (pr_Bal ? "балансовой принадлежности " : "транзитных перетоков ")
                     + ", Коэффициент коррекции нагрузки 1.20</h3></caption>\n");
            const auto MWh = [](const QVector<double>& kWh) { return std::accumulate(kWh.begin(), kWh.end(), 0.0) / 1000; };
            if (pr_Bal)   // all rows the company's: their energies add up to the totals
                QVERIFY(near(MWh(calc->m_dW), calc->m_totals.at(5), 1e-9) && near(MWh(calc->m_Wxx), calc->m_totals.at(6), 1e-9));
        }
    }

    // 35 kV held at 120 and 25 kV: a mean supply voltage of 101.3 kV, 220 A on 70 mm², and windings
    // behind a star point taking half of 25 MVA, so that 15 MVA load one to 120 %.
    void warningsOfAStrainedLine()
    {
        TestNetwork net = network(35, 120, "1");
        net.setLine("1", "umin", "25");
        net.addSection("1", 0, 1, "А-70", 1);
        net.addTrans("1", 1, 5, "Ideal35", 0, 0, 720 * 31, 720 * 23);
        net.addTrans("1", 0, 2, "ТДТН-В");
        net.addTrans("1", 2, 3, "ТДТН-Н", 0, 0, 720 * 12, 720 * 9);
        net.addTrans("1", 2, 4, "ТДТН-Н");
        const auto calc = calculate(net, 2);
        QCOMPARE(calc->m_rowS, (QVector<double>{70, 40000, 25000, 12500, 12500}));
        const QString drop = QString::number((120 - calc->m_U.at(1)) / 35 * 100, 'g', 6);
        QCOMPARE(calc->m_messages, (QStringList{heading, "* Cредняя плотность тока на участке 0 -1 более 3.1 A/мм2",
                                                "* Cредняя расчетная загрузка тр-ра 2 -3 равна 120.0%",
                                                "**** Потери напряжения достигают " + drop + " %. Проверьте информацию о нагрузках"}));
    }

    void lineOutcomes_data()
    {
        // One transformer of "load" MW: 720 h of energy in the mean-load method, the peak in the other.
        QTest::addColumn<QStringList>("settings");   // "vid_ras", "k_zapol", "podkl", "sost", load MW
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("messages");   // a collapse is state 2, a slow flow state 1
        QTest::addColumn<double>("loadEnergy");     // MWh
        QTest::newRow("disconnected") << QStringList{"1", "0.5", "30", "0", "4"} << "Л (Отключена)" << QStringList{"* Линия отключена"} << 0.0;
        QTest::newRow("in series, disconnected 10 days") << QStringList{"1", "0.5", "10", "1", "4"}
            << "Л (Последовательная) (Отключена 10.00 дней)" << QStringList() << 4 * 0.5 * 480.0;
        const QString loading = "* Cредняя расчетная загрузка тр-ра 0 -1 равна 184.5%";
        QTest::newRow("fill factor 0 taken as 0.5") << QStringList{"0", "0", "0", "0", "4"} << "Л"
            << QStringList{"* Коэффициент заполнения графика задан неверно, принят 0.5", loading} << 2880.0;
        QTest::newRow("method above 2 is mean load") << QStringList{"7", "0.5", "0", "0", "4"} << "Л" << QStringList{loading} << 2880.0;
        // 200 MW cannot pass 100 Ohm at 110 kV; an energy no network delivers gives no figures at all.
        const QString collapse = "**** Потеря напряжения в фидере превышает 50%. Проверьте данные о нагрузках";
        QTest::newRow("collapse") << QStringList{"0", "1", "0", "0", "200"} << "Л" << QStringList{collapse} << 200 * 720.0;
        QTest::newRow("overflow") << QStringList{"0", "0.5", "0", "0", "1e298"} << "Л" << QStringList{collapse,
            "**** Результаты расчета вне допустимых пределов. Проверьте данные о нагрузках и участках линии"} << 0.0;
        // Close to the largest load the line can carry the voltages settle slowly.
        QTest::newRow("not converged") << QStringList{"0", "1", "0", "0", "35"} << "Л"
            << QStringList{"* Расчет режима не сошелся за 15 итераций"} << 35 * 720.0;
    }

    void lineOutcomes()
    {
        QFETCH(QStringList, settings);
        QFETCH(QString, title);
        QFETCH(QStringList, messages);
        QFETCH(double, loadEnergy);
        const double load = settings.at(4).toDouble();
        const int state = messages.value(0).startsWith("****") ? 2 : messages.value(0).contains("не сошелся") ? 1 : 0;
        const bool peak = settings.at(0) == "1";
        TestNetwork net = network(110, 110, settings.at(1), settings.at(0));
        net.addTrans("1", 0, 1, "Т-1", peak ? load : 0, peak ? load / 2 : 0, peak ? 0 : 720 * load, peak ? 0 : 360 * load);
        net.setLine("1", "podkl", settings.at(2));
        net.setLine("1", "sost", settings.at(3));
        const auto calc = calculate(net, 1);
        QCOMPARE(calc->m_lineTitle, title);
        QCOMPARE(calc->m_messages.mid(0, messages.size() + 1), QStringList{heading} + messages);   // loading warnings follow
        QCOMPARE(calc->m_errorCount, state == 2 ? messages.size() : 0);   // only a collapse gives errors
        QCOMPARE(calc->m_state, state);
        QVERIFY(allFinite(calc->m_totals + calc->m_U + calc->m_I + calc->m_Kz + calc->m_dP + calc->m_dW));
        // Energy drawn less losses is the load energy; only a collapse has no losses.
        const QVector<double>& t = calc->m_totals;
        QVERIFY(near(t.at(0) - t.at(9), loadEnergy, 1e-9));
        QCOMPARE(t.at(9) > 0.0, state != 2 && loadEnergy > 0.0);
    }

    void poisonedColumnsGiveFiniteFigures_data()
    {
        QTest::addColumn<QString>("value");
        for (const char* value : {"nan", "-inf", "1e400", "1e300"})
            QTest::newRow(value) << QString(value);
    }

    // Whatever a numeric column of any table holds, totals, reports and result rows are finite.
    void poisonedColumnsGiveFiniteFigures()
    {
        QFETCH(QString, value);
        const QRegularExpression notFinite("nan|inf", QRegularExpression::CaseInsensitiveOption);
        const QVector<QVector<int>> columns = {{5, 6, 7, 8, 10, 11, 16}, {5, 6, 7, 9, 10, 11, 12, 13, 14},
                                               {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}};
        for (int table = 0; table < 4; ++table) {
            for (int column : columns.at(table)) {
                TestNetwork net = network(110, 115, "0.5");
                net.addSection("1", 0, 1, "W", 10);
                net.addTrans("1", 1, 2, "Т-1", 4, 2, 2880, 1440);
                Table* rows[4] = {&net.lines, &net.sections, &net.katLin, &net.katTr};
                for (QStringList& row : *rows[table])
                    row[column] = value;
                const auto calc = calculate(net, 1);
                QString shown = calc->m_htmlRows.join("") + calc->m_protocolRows.join("");
                for (const QStringList& row : poteriRowsRES(runLossRES("1", "1", calcTables(net))))
                    shown += row.join("");
                QVERIFY2(calc->m_totals.size() == 16 && allFinite(calc->m_totals) && !shown.contains(notFinite)
                             && (value == "1e300" || !calc->m_messages.join("").contains("вне допустимых")),
                         qPrintable(QString("table %1, column %2").arg(table).arg(column)));
            }
        }
    }

    // Sections 1-0 and unit 3-1 carry the flow; 1-2 (off), 3-4 ("podkt" 2) and 7-8 (unreached) show zeros.
    void displayVectorsAlignedByRow()
    {
        TestNetwork net = network(110, 115, "0.5");
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
        // The rows show their downstream ends; a line code that matches no line touches nothing.
        QVERIFY(calc->m_P.at(0) > calc->m_P.at(2) && calc->m_P.at(2) > 4.0);
        QVERIFY(calc->m_U.at(1) > calc->m_U.at(3) && calc->m_U.at(3) > 0.0);
        const auto none = calculate(net, 1, "9");
        QVERIFY(none->m_totals.isEmpty() && none->m_messages.isEmpty() && none->m_htmlRows.isEmpty());
        QVERIFY(m_case->recorder.messages.isEmpty());
    }

    void examplesCalculateCleanly()
    {
        m_case->dir.copyExamples();
        const Table lines = ReadShablonXML("lines", {"npes", "nres", "nlin", "name"}, "LIN");
        QVERIFY(lines.size() >= 6);
        for (const QStringList& line : lines) {
            NPES = line.at(0);
            NRES = line.at(1);
            CalcRadial calc;
            calc.CalcUR(line.at(2), 0, 0, 0);
            QVERIFY2(calc.m_errorCount == 0 && calc.m_messages.size() == 1 && calc.m_totals.value(0) > 0,
                     qPrintable(line.at(3) + ": " + calc.m_messages.join(" | ")));
        }
        QVERIFY(m_case->recorder.messages.isEmpty());
    }

private:
    std::unique_ptr<CalcCase> m_case;
};

QTEST_GUILESS_MAIN(TestLoadFlow)
#include "tst_loadflow.moc"

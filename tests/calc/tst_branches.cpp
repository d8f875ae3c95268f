#include "calcfixture.h"

class TestBranches : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_case = std::make_unique<CalcCase>(); }
    void cleanup() { m_case.reset(); }

    void wireDerivedValues_data()
    {
        // A catalog row (S, KL, B, Imax, Material): B, Imax, insulation kW·day/km at 35, 110, 220 kV.
        using V = QVector<double>;
        QTest::addColumn<QStringList>("wire");
        QTest::addColumn<V>("expected");
        QTest::newRow("copper overhead 70, B 0") << QStringList{"70", "0", "0", "", "2"} << V{2.6, 273, 0, 0, 0};
        QTest::newRow("Imax with a point is empty") << QStringList{"70", "0", "2.8", "300.5", "1"} << V{2.8, 210, 0, 0, 0};
        QTest::newRow("Imax given") << QStringList{"95", "0", "2.7", "330", "1"} << V{2.7, 330, 0, 0, 0};
        QTest::newRow("KL with a point is overhead") << QStringList{"240", "1.0", "", "", "1"} << V{2.6, 720, 0, 0, 0};
        QTest::newRow("cable 50: class 0") << QStringList{"50", "1", "", "", "1"} << V{75, 100, 11.1, 71, 150};
        QTest::newRow("cable 80: class 1") << QStringList{"80", "1", "", "", "1"} << V{75, 160, 12.2, 72, 160};
        QTest::newRow("cable 240: class 5") << QStringList{"240", "1", "", "", "1"} << V{75, 480, 17, 88.8, 200};
        QTest::newRow("copper cable 300: class 6") << QStringList{"300", "1", "", "", "2"} << V{75, 450, 19.5, 96.4, 219};
        QTest::newRow("cable 2000: above the table") << QStringList{"2000", "1", "", "", "1"} << V{75, 3000, 24, 160, 329};
        QTest::newRow("cross-section 1e300: a current no int holds is none") << QStringList{"1e300", "0", "", "", "1"} << V{2.6, 0, 0, 0, 0};
    }

    void wireDerivedValues()
    {
        QFETCH(QStringList, wire);
        QFETCH(QVector<double>, expected);
        // An earlier row of the same name is not the one found.
        const LoadKatalogLines kat(Table{{"W", "1", "1", "1", "1", "1", "1", "1"},
                                         {"W", wire[0], wire[1], "0.3", "0.4", wire[2], wire[3], wire[4]}});
        const int k = kat.index.value("W");
        QCOMPARE((QVector<double>{kat.B0.at(k), double(kat.Imax.at(k)), 24000 * kat.ins35.at(k), 24000 * kat.ins110.at(k),
                                  24000 * kat.ins220.at(k)}), expected);
    }

    void transformerVoltageBand()
    {
        Table rows;
        for (const char* u : {"88", "110", "121", "132"})
            rows.append({QString("T") + u, u, u, "1", "2", "3", "4", "1.78", "9.7", "115", "11"});
        rows.append({"T110", "110", "111"});   // the same name again: this row is found
        // Strictly inside 0.8·U and 1.2·U: 88 and 132 kV stay out at 110 kV.
        const LoadKatalogTrans band(rows, 110);
        QCOMPARE(band.S, (QVector<double>{110, 121, 111}));
        QVERIFY(band.index.value("T121") == 1 && band.index.value("T110") == 2);
        QCOMPARE(band.n_otp.at(0), 9);   // a tap count read as a whole number
        rows[1][8] = "1e12";                // ... that an int must hold
        QCOMPARE(LoadKatalogTrans(rows, 110).n_otp.at(0), 0);
    }

    void branchValues_data()
    {
        QTest::addColumn<QString>("mark");
        QTest::addColumn<double>("unom");
        QTest::addColumn<int>("tap");
        QTest::addColumn<QVector<double>>("expected");   // R, X, B of a section; ratio, rated U, load P of a unit
        // 10 km of AC-95; at 35 kV kx = 1 - 75 * 0.074 / 110 = 0.949545.
        const QString ac = "АС-95/16", tdn = "ТДН-10000/110";
        QTest::newRow("110 kV") << ac << 110.0 << 0 << QVector<double>{3.06, 4.21, 27e-6};
        QTest::newRow("35 kV") << ac << 35.0 << 0 << QVector<double>{3.06, 3.9975864, 2.8434658e-5};
        QTest::newRow("10 kV counts as 35 kV") << ac << 10.0 << 0 << QVector<double>{3.06, 3.9975864, 2.8434658e-5};
        // 11 / 115 kV, 1.78 % per tap; 720 MWh over 720 h is 1 MW, times 1.2.
        const QVector<double> base{0.0956522, 115, 1.2};
        QTest::newRow("tap 0") << tdn << 110.0 << 0 << base;
        QTest::newRow("tap 12 beyond 9 counts as 0") << tdn << 110.0 << 12 << base;
        QTest::newRow("tap -10 beyond -9 counts as 0") << tdn << 110.0 << -10 << base;
        QTest::newRow("tap -9: times 1.1602") << tdn << 110.0 << -9 << QVector<double>{0.1109757, 115, 1.2};
        QTest::newRow("tap 9: times 0.8398") << tdn << 110.0 << 9 << QVector<double>{0.0803287, 115, 1.2};
        QTest::newRow("no voltages: ratio 1, line voltage") << "ТБН" << 110.0 << 3 << QVector<double>{1, 110, 1.2};
    }

    void branchValues()
    {
        QFETCH(QString, mark);
        QFETCH(double, unom);
        QFETCH(int, tap);
        QFETCH(QVector<double>, expected);
        pk_Nagr = 1.2;
        pT_RES = 30;   // kt 1.04 on a section's resistance
        TestNetwork net = network(unom);
        const bool section = mark.startsWith("АС");
        section ? net.addSection("1", 0, 1, mark, 10) : net.addTrans("1", 0, 1, mark, 3, 1.5, 720, 360, "0", tap);
        const auto c = calculate(net);
        const QVector<double> actual = section ? QVector<double>{c->m_brR.at(0) / 1.04, c->m_brX.at(0), c->m_brB.at(0)}
                                               : QVector<double>{c->m_brRatio.at(0), c->m_brUrated.at(0), c->m_ldP.at(0)};
        for (int k = 0; k < 3; ++k)
            QVERIFY2(near(actual.at(k), expected.at(k), 1e-6), qPrintable(QString::number(actual.at(k), 'g', 9)));
        QCOMPARE(2 * c->m_ldQ.value(0), c->m_ldP.value(0));
    }

    // A second circuit joins the first either way round: one branch with the first's owner and
    // label. An unknown mark joins all the same, whichever row comes first: reported, zero
    // impedance, no ring. A transformer of an unknown type still feeds its load.
    void parallelPairs()
    {
        p_Iz = 1;
        QVector<double> totals[2];
        for (int order = 0; order < 2; ++order) {
            const QString marks[2] = {"АС-95/16", "АС-9"};
            TestNetwork net = network();
            net.addSection("1", 0, 1, marks[order], 10);
            net.addSection("1", 1, 0, marks[1 - order], 10);
            net.addSection("1", 1, 3, "К-240", 5);
            net.addSection("1", 3, 1, "К-240", 5, "1");   // a consumer's
            net.addTrans("1", 3, 6, "ТДН-99", 0, 0, 720, 360);
            const auto calc = calculate(net);
            const QString unknown = "*** задана неверная марка ";
            QCOMPARE(calc->m_messages, (QStringList{heading, unknown + "АС-9 в ветви " + (order ? "0 -1" : "1 -0"), unknown + "ТДН-99 в ветви 3 -6"}));
            QCOMPARE(calc->m_errorCount, 2);
            QCOMPARE(calc->m_brCircuits, (QVector<int>{2, 2, 1}));
            QCOMPARE(calc->m_branchLabels, (QStringList{"0 -1", "1 -3", "3 -6"}));
            QCOMPARE(calc->m_brOwner, (QStringList{"0", "0", "0"}));
            QCOMPARE(calc->m_brR.at(0) + calc->m_brX.at(0), 0.0);
            // R and X halved, B and the insulation loss (class below 250 mm²: 88.8 kW·day/km) doubled.
            QVERIFY(near(calc->m_brR.at(1), 0.3125) && near(calc->m_brX.at(1), 0.275) && near(calc->m_brB.at(1), 7.5e-4)
                    && near(calc->m_brIns.at(1), 2 * 5 * 88.8 / 24000));
            QVERIFY(calc->m_ldNode == QVector<int>{6} && calc->m_ldP == QVector<double>{1.0});
            totals[order] = calc->m_totals;
        }
        QVERIFY(totals[0] == totals[1] && totals[0].value(0) > 0.0);
        QVERIFY(m_case->recorder.messages.isEmpty());
    }

    void topology_data()
    {
        // Rows as "from:to", a transformer marked with a trailing T.
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("levelBound");
        auto ring = [](const QString& b) { return QStringList{"*** Ветвь " + b + " образует кольцо", "**** Дана неверная информация об участках линии"}; };
        auto unreached = [](QStringList nodes) { return nodes.replaceInStrings(QRegularExpression("(.+)"), "*** Узел \\1 не связан с питающим узлом "); };
        QTest::newRow("ring") << "0:1 1:2 2:0" << ring("1 -2") << 0;
        QTest::newRow("a section beside a transformer is not joined to it") << "0:1 1:2T 2:1" << ring("2 -1") << 0;
        QTest::newRow("no supply node") << "1:2 2:3" << unreached({"1", "2", "3"}) << -1;
        QTest::newRow("island") << "0:1 5:6" << unreached({"5", "6"}) << 1;
        // The bound reaches the end of the deeper tree whichever supply comes last.
        QTest::newRow("two supply nodes") << "-1:2 2:3 3:4 0:1" << QStringList() << 3;
    }

    void topology()
    {
        QFETCH(QString, rows);
        QFETCH(QStringList, messages);
        QFETCH(int, levelBound);
        TestNetwork net = network();
        for (const QString& row : rows.split(' ')) {
            const int from = row.section(':', 0, 0).toInt(), to = row.section(':', 1).remove('T').toInt();
            row.endsWith('T') ? net.addTrans("1", from, to, "ТДН-10000/110", 0, 0, 720, 360) : net.addSection("1", from, to, "АС-95/16", 1);
        }
        const auto calc = calculate(net, 1);   // the mode that writes the reports
        const bool ring = messages.value(1).startsWith("****");   // stops the line with zero totals
        QCOMPARE(calc->m_messages, QStringList{heading} + messages);
        QCOMPARE(calc->m_errorCount, ring ? 1 : messages.size());   // one per unreached node
        QCOMPARE(calc->m_lineTitle, QString(ring ? "Л (Неверная информация об участках)" : "Л"));
        QVERIFY(ring ? calc->m_totals == QVector<double>(16, 0.0) : calc->m_levelBound == levelBound);
    }

private:
    std::unique_ptr<CalcCase> m_case;
};

QTEST_GUILESS_MAIN(TestBranches)
#include "tst_branches.moc"

#include "calc/zorvantask.h"
#include "calcglobals.h"
#include "calcnetwork.h"
#include "testsupport.h"

#include <QtTest>

namespace {

const QString heading = "--------------------- Л --------------------- ";

// AC-95: 0.306 Ohm/km, 0.421 Ohm/km, 2.7 µS/km; a 240 mm² cable; a 110 kV
// transformer with taps and one without voltages.
TestNetwork catalogs()
{
    TestNetwork net;
    net.addWire("АС-95/16", "95", "0", "0.306", "0.421", "2.7", "330", "1");
    net.addWire("К-240", "240", "1", "0.125", "0.11", "", "", "1");
    net.addTransType("ТДН-10000/110", "110", "10000", "7.95", "139", "14", "70", "1.78", "9", "115", "11");
    net.addTransType("ТБН", "110", "2500", "10", "200", "5", "20", "1.5", "9", "0", "11");
    return net;
}

bool near(double a, double b) { return qAbs(a - b) <= 1e-6 * qAbs(b); }

} // namespace

class TestBranches : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        resetCalcGlobals();
        m_recorder.clear();
    }

    void wireDerivedValues_data()
    {
        // A catalog row (S, KL, B, Imax, Material); B, Imax and the insulation
        // loss in kW·day per km at 35, 110 and 220 kV.
        using V = QVector<double>;
        QTest::addColumn<QStringList>("wire");
        QTest::addColumn<V>("expected");
        QTest::newRow("aluminium overhead 70") << QStringList{"70", "0", "", "", "1"} << V{2.6, 210, 0, 0, 0};
        QTest::newRow("copper overhead 70, B 0") << QStringList{"70", "0", "0", "", "2"} << V{2.6, 273, 0, 0, 0};
        QTest::newRow("Imax with a point is empty") << QStringList{"70", "0", "2.8", "300.5", "1"} << V{2.8, 210, 0, 0, 0};
        QTest::newRow("Imax given") << QStringList{"95", "0", "2.7", "330", "1"} << V{2.7, 330, 0, 0, 0};
        QTest::newRow("KL with a point is overhead") << QStringList{"240", "1.0", "", "", "1"} << V{2.6, 720, 0, 0, 0};
        QTest::newRow("cable 50: class 0") << QStringList{"50", "1", "", "", "1"} << V{75, 100, 11.1, 71, 150};
        QTest::newRow("cable 80: class 1") << QStringList{"80", "1", "", "", "1"} << V{75, 160, 12.2, 72, 160};
        QTest::newRow("cable 240: class 5") << QStringList{"240", "1", "", "", "1"} << V{75, 480, 17, 88.8, 200};
        QTest::newRow("copper cable 300: class 6") << QStringList{"300", "1", "", "", "2"} << V{75, 450, 19.5, 96.4, 219};
        QTest::newRow("cable 2000: above the table") << QStringList{"2000", "1", "", "", "1"} << V{75, 3000, 24, 160, 329};
        // A current no int holds is no current at all.
        QTest::newRow("cross-section 1e300") << QStringList{"1e300", "0", "", "", "1"} << V{2.6, 0, 0, 0, 0};
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
        QCOMPARE(LoadKatalogTrans(rows, 0).S.size(), 5);
        // Strictly inside 0.8·U and 1.2·U: 88 and 132 kV stay out at 110 kV.
        const LoadKatalogTrans band(rows, 110);
        QCOMPARE(band.S, (QVector<double>{110, 121, 111}));
        QCOMPARE(band.index.value("T121"), 1);
        QCOMPARE(band.index.value("T110"), 2);
        QCOMPARE(band.n_otp.at(0), 9);   // a tap count read as a whole number
        rows[1][8] = "1e12";                // ... that an int must hold
        QCOMPARE(LoadKatalogTrans(rows, 110).n_otp.at(0), 0);
    }

    void branchValues_data()
    {
        QTest::addColumn<QString>("mark");
        QTest::addColumn<double>("unom");
        QTest::addColumn<int>("tap");
        QTest::addColumn<QString>("method");
        // A section: R, X, B (Ohm, Ohm, S); a transformer: ratio, rated voltage, load P.
        QTest::addColumn<QVector<double>>("expected");
        // 10 km of AC-95. At 35 kV kx = 1 - 75 * 0.074 / 110 = 0.949545.
        const QString ac = "АС-95/16", tdn = "ТДН-10000/110";
        QTest::newRow("110 kV") << ac << 110.0 << 0 << "0" << QVector<double>{3.06, 4.21, 27e-6};
        QTest::newRow("35 kV") << ac << 35.0 << 0 << "0" << QVector<double>{3.06, 3.9975864, 2.8434658e-5};
        QTest::newRow("10 kV counts as 35 kV") << ac << 10.0 << 0 << "0" << QVector<double>{3.06, 3.9975864, 2.8434658e-5};
        // 11 / 115 kV with 1.78 % per tap. 720 MWh over 720 h is 1 MW, the peak
        // 3 MW; the load correction is 1.2.
        const QVector<double> base{0.0956522, 115, 1.2};
        QTest::newRow("tap 0") << tdn << 110.0 << 0 << "0" << base;
        QTest::newRow("tap 12 beyond 9 counts as 0") << tdn << 110.0 << 12 << "0" << base;
        QTest::newRow("tap -10 beyond -9 counts as 0") << tdn << 110.0 << -10 << "0" << base;
        QTest::newRow("tap -9: times 1.1602") << tdn << 110.0 << -9 << "0" << QVector<double>{0.1109757, 115, 1.2};
        QTest::newRow("tap 9: times 0.8398") << tdn << 110.0 << 9 << "0" << QVector<double>{0.0803287, 115, 1.2};
        QTest::newRow("no voltages: ratio 1, line voltage") << "ТБН" << 110.0 << 3 << "0" << QVector<double>{1, 110, 1.2};
        QTest::newRow("method above 2 is mean load") << tdn << 110.0 << 0 << "7" << base;
        QTest::newRow("maximum loss: peak load") << tdn << 110.0 << 0 << "1" << QVector<double>{0.0956522, 115, 3.6};
    }

    void branchValues()
    {
        QFETCH(QString, mark);
        QFETCH(double, unom);
        QFETCH(int, tap);
        QFETCH(QString, method);
        QFETCH(QVector<double>, expected);
        pk_Nagr = 1.2;
        pT_RES = 30;   // kt 1.04 on a section's resistance
        TestNetwork net = catalogs();
        net.addLine("1", "Л", unom, 0, 0, "0.5", method);
        const bool section = mark.startsWith("АС");
        if (section)
            net.addSection("1", 0, 1, mark, 10);
        else
            net.addTrans("1", 0, 1, mark, 3, 1.5, 720, 360, "0", tap);
        const auto c = calculate(net);
        const QVector<double> actual = section ? QVector<double>{c->m_brR.at(0) / 1.04, c->m_brX.at(0), c->m_brB.at(0)}
                                               : QVector<double>{c->m_brRatio.at(0), c->m_brUrated.at(0), c->m_ldP.at(0)};
        for (int k = 0; k < 3; ++k)
            QVERIFY2(near(actual.at(k), expected.at(k)), qPrintable(QString::number(actual.at(k), 'g', 9)));
        QCOMPARE(2 * c->m_ldQ.value(0), c->m_ldP.value(0));
    }

    void parallelPairIsOneBranch()
    {
        p_Iz = 1;
        TestNetwork net = catalogs();
        net.addLine("1", "Л", 110);
        net.addSection("1", 0, 3, "АС-95/16", 10);
        net.addSection("1", 3, 5, "К-240", 5);
        net.addSection("1", 5, 3, "К-240", 5, "1");   // the second circuit, a consumer's
        net.addTrans("1", 5, 6, "ТДН-10000/110", 0, 0, 720, 360, "0");
        const auto calc = calculate(net);
        // R and X of one 5 km circuit halved, B of both doubled; both circuits'
        // insulation: 240 mm² lies in the class below 250, 88.8 kW·day per km.
        QVERIFY(near(calc->m_brR.at(1), 0.3125) && near(calc->m_brX.at(1), 0.275) && near(calc->m_brB.at(1), 7.5e-4));
        QVERIFY(near(calc->m_brIns.at(1), 2 * 5 * 88.8 / 24000));
        QCOMPARE(calc->m_brCircuits, (QVector<int>{1, 2, 1}));
        // One owner and one label per branch: the transformer keeps its own.
        QCOMPARE(calc->m_branchLabels, (QStringList{"0 -3", "3 -5", "5 -6"}));
        QCOMPARE(calc->m_brOwner, (QStringList{"0", "0", "0"}));
        QCOMPARE(calc->m_messages, QStringList{heading});
    }

    // A second circuit of an unknown mark is joined all the same, whichever
    // row comes first: its mark is reported, the pair has zero impedance and
    // is no ring. A transformer of an unknown type still feeds its load.
    void unknownMarks()
    {
        QVector<double> totals[2];
        for (int order = 0; order < 2; ++order) {
            const QString marks[2] = {"АС-95/16", "АС-9"};
            TestNetwork net = catalogs();
            net.addLine("1", "Л", 110);
            net.addSection("1", 0, 1, marks[order], 10);
            net.addSection("1", 1, 0, marks[1 - order], 10);
            net.addTrans("1", 1, 2, "ТДН-99", 0, 0, 720, 360);
            const auto calc = calculate(net);
            QCOMPARE(calc->m_messages, (QStringList{heading, QString("*** задана неверная марка АС-9 в ветви ")
                                                    + (order == 0 ? "1 -0" : "0 -1"),
                                                    "*** задана неверная марка ТДН-99 в ветви 1 -2"}));
            QCOMPARE(calc->m_errorCount, 2);
            QCOMPARE(calc->m_brCircuits, (QVector<int>{2, 1}));
            QCOMPARE(calc->m_brR.at(0) + calc->m_brX.at(0), 0.0);
            QCOMPARE(calc->m_ldNode, QVector<int>{2});
            QCOMPARE(calc->m_ldP, QVector<double>{1.0});
            totals[order] = calc->m_totals;
        }
        QCOMPARE(totals[0], totals[1]);
        QVERIFY(totals[0].value(0) > 0.0);
        QVERIFY(m_recorder.messages.isEmpty());
    }

    void topology_data()
    {
        // Rows as "from:to", a transformer marked with a trailing T.
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("errors");
        QTest::addColumn<int>("levelBound");
        auto ring = [](const QString& branch) {
            return QStringList{"*** Ветвь " + branch + " образует кольцо",
                               "**** Дана неверная информация об участках линии"};
        };
        auto unreached = [](QStringList nodes) {
            return nodes.replaceInStrings(QRegularExpression("(.+)"), "*** Узел \\1 не связан с питающим узлом ");
        };
        QTest::newRow("ring") << "0:1 1:2 2:0" << ring("1 -2") << 1 << 0;
        QTest::newRow("a section beside a transformer is not joined to it") << "0:1 1:2T 2:1" << ring("2 -1") << 1 << 0;
        QTest::newRow("no supply node") << "1:2 2:3" << unreached({"1", "2", "3"}) << 3 << -1;
        QTest::newRow("island") << "0:1 5:6" << unreached({"5", "6"}) << 2 << 1;
        // The bound reaches the end of the deeper tree whichever supply comes last.
        QTest::newRow("two supply nodes") << "-1:2 2:3 3:4 0:1" << QStringList() << 0 << 3;
    }

    void topology()
    {
        QFETCH(QString, rows);
        QFETCH(QStringList, messages);
        QFETCH(int, errors);
        QFETCH(int, levelBound);
        TempWorkDir dir;   // mode 1 writes its reports
        TestNetwork net = catalogs();
        net.addLine("1", "Л", 110);
        for (const QString& row : rows.split(' ')) {
            const QStringList ends = QString(row).remove('T').split(':');
            if (row.endsWith('T'))
                net.addTrans("1", ends.at(0).toInt(), ends.at(1).toInt(), "ТДН-10000/110", 0, 0, 720, 360);
            else
                net.addSection("1", ends.at(0).toInt(), ends.at(1).toInt(), "АС-95/16", 1);
        }
        const auto calc = calculate(net, 1);
        QCOMPARE(calc->m_messages, QStringList{heading} + messages);
        QCOMPARE(calc->m_errorCount, errors);
        if (messages.value(1).startsWith("****")) {   // a ring stops the line with zero totals
            QCOMPARE(calc->m_lineTitle, QString("Л (Неверная информация об участках)"));
            QCOMPARE(calc->m_totals, QVector<double>(16, 0.0));
        } else {
            QCOMPARE(calc->m_levelBound, levelBound);
        }
    }

private:
    MessageRecorder m_recorder;
};

QTEST_GUILESS_MAIN(TestBranches)
#include "tst_branches.moc"

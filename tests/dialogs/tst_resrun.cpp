// The loss run of a RES or PES without a window: the rows of "poteri.xml" and the report body.

#include "calc/lossrun.h"
#include "dialogfixture.h"
#include "store/SaveInfo.h"

// RES "1,1" with a line per voltage of unoms, in series where series holds '1',
// then RES "1,2" without lines. Totals of line i: value j = (i + 1) * 100 + j.
static LossCollection collection(const QString& unoms, const QString& series)
{
    const QStringList voltages = unoms.split(' ');
    LossCollection run{{}, {}, {}, {}, {}, 0, {"РЭС", "Пустой"}, {"1,1", "1,2"},
                       {0, int(voltages.size()), int(voltages.size())}};
    for (int i = 0; i < voltages.size(); ++i) {
        QVector<double> totals;
        for (int j = 0; j < 16; ++j)
            totals.append((i + 1) * 100.0 + j);
        run.lineTotals.append(totals);
        run.lineNames.append(series.at(i) == '1' ? "Л (Последовательная)" : "Л");
        run.lineIds.append(QString("1,1,%1").arg(i + 1));
        run.lineUnom.append(voltages.at(i).toDouble());
    }
    return run;
}

class TestResRun : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); }

    void resultRows_data()
    {
        QTest::addColumn<QString>("unoms");
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("ids");   // after the two lines; a PES has a row per RES, of zeros if it has no lines
        QTest::addColumn<QString>("sumLenerp");
        QTest::newRow("series energy left out of sums") << "110 110" << "01" << "110kV|SUM" << "100.000";
        QTest::newRow("class of series lines only has no row") << "35 110" << "10" << "110kV|SUM" << "200.000";
        QTest::newRow("RES: 132 kV is 220, 130 kV is 110") << "132 130" << "00" << "110kV|220kV|SUM" << "300.000";
        QTest::newRow("PES: 132 kV is 110, 150 kV is 220") << "132 150" << "00" << "B 1,1|B 1,2|110kV|220kV|SUM"
                                                           << "300.000";
    }
    void resultRows()
    {
        QFETCH(QString, unoms);
        QFETCH(QString, series);
        QFETCH(QString, ids);
        const bool pes = ids.startsWith("B ");
        const LossCollection run = collection(unoms, series);
        const QVector<QStringList> rows = pes ? poteriRowsPES(run) : poteriRowsRES(run);
        QCOMPARE(column(rows, 0), QStringList({"1,1,1", "1,1,2"}) + ids.split('|'));
        const QStringList& sum = rows.last();
        QCOMPARE(sum.at(1), pes ? QString("Всего по ПЭС") : QString("Всего по РЭС"));
        QTEST(sum.at(2), "sumLenerp");
        QCOMPARE(sum.at(11), QString("318.000"));
        QCOMPARE(rows.at(1).at(2), QString("200.000"));   // a line row shows its own energy, series or not
        if (pes)
            QCOMPARE(rows.at(3).mid(1, 3), (QStringList{"Всего по Пустой", "0.000", "0.000"}));
    }

    void resTemperature_data()
    {
        QTest::addColumn<QString>("indT");
        QTest::addColumn<QString>("temp");
        QTest::addColumn<double>("used");
        QTest::newRow("own") << "1" << "18.57" << 18.6;
        QTest::newRow("no number") << "1" << "nan" << 0.0;
        QTest::newRow("general, beyond the range") << "0" << "5" << 60.0;
    }
    // A run uses what the RES window's spin box shows: within -50..60 °C, to one decimal.
    void resTemperature()
    {
        QFETCH(QString, indT);
        QFETCH(QString, temp);
        pT_sr = 99.0;
        QTEST(::resTemperature({"1", "1", "РЭС", "", indT, temp}), "used");
    }

    void reportBody()
    {
        auto row = [](const QString& id, const QString& name, const QString& lenerp, const QString& stor) {
            return QStringList{id, name, lenerp, "190.000", stor, "4.000", "2.000", "6.000", "3.000", "1.000",
                               "4.000", "10.000", "0", "0", "0", "0", "0", "0"};
        };
        const QString z = "0.000", e = "200.000";
        const QVector<QStringList> rows = {row("1,1,1", "Л <1>", e, z), row("1,1,2", "Л2", z, "0.001"),
                                           row("B 1,1", "Р", e, z), row("110kV", "К", e, z), row("SUM", "С", e, z)};
        const QStringList body = lossReportBody(rows, "Температура 20.0");
        const QString td = "<td align='center'>";
        const QString b = td + "<span style=\" font-weight:600; \">";
        QCOMPARE(QStringList(body.mid(19, 11)).join(""),
                 "<tr>\n" + td + "Л &lt;1&gt;</td>\n" + td + "200.000<br>190.000</td>\n"
                 + td + "4.000<br>2.00 %</td>\n" + td + "2.000<br>1.00 %</td>\n" + td + "6.000<br>3.00 %</td>\n"
                 + td + "3.000<br>1.50 %</td>\n" + td + "1.000<br>0.50 %</td>\n" + td + "4.000<br>2.00 %</td>\n"
                 + td + "10.000<br>5.00 %</td>\n</tr>\n");
        // Without energy supplied the share is one blank; a transit is a third figure.
        QCOMPARE(body.at(32), td + "0.000<br>190.000<br>0.001</td>\n");
        QCOMPARE(body.at(39), td + "10.000<br> </td>\n");
        const QStringList sumRows = {body.at(41), body.at(42), body.at(52), body.at(53), body.at(63), body.at(64)};
        QCOMPARE(sumRows, (QStringList{"<tr BGCOLOR = '#CCEEDD'>\n", b + "Р</td>\n", "<tr BGCOLOR = '#DDCC99'>\n",
                                       td + "К</td>\n", "<tr BGCOLOR = '#99CC99'>\n", b + "С</td>\n"}));
        QCOMPARE(body.mid(74), (QStringList{"</table>\n",   // 19 header lines, 11 per row
                                            "<caption><h3 align = 'left'>Температура 20.0</h3></caption>\n"}));
    }
};

QTEST_GUILESS_MAIN(TestResRun)
#include "tst_resrun.moc"

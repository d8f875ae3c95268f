// The loss run over a RES or PES without a window: collections, result rows,
// "poteri.xml" and the loss report body.

#include "calc/lossrun.h"
#include "store/SaveInfo.h"
#include "store/arxiv.h"

#include "calcglobals.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QtTest>

namespace {

// Totals of line i (0-based): value j = (i + 1) * 100 + j.
QVector<double> fakeTotals(int i)
{
    QVector<double> totals;
    for (int j = 0; j < 16; ++j)
        totals.append((i + 1) * 100.0 + j);
    return totals;
}

// One RES whose line i has voltage unoms[i] and is in series when series[i] is '1'.
LossCollection collection(const QList<double>& unoms, const QString& series)
{
    LossCollection run{{}, {}, {}, {}, {}, 0, {"РЭС"}, {"1,1"}, {0, int(unoms.size())}};
    for (int i = 0; i < unoms.size(); ++i) {
        run.lineTotals.append(fakeTotals(i));
        run.lineNames.append(series.at(i) == '1' ? "Л (Последовательная)" : "Л");
        run.lineIds.append(QString("1,1,%1").arg(i + 1));
        run.lineUnom.append(unoms.at(i));
    }
    return run;
}

QStringList ids(const QVector<QStringList>& rows)
{
    QStringList out;
    for (const QStringList& row : rows)
        out.append(row.at(0));
    return out;
}

} // namespace

class TestResRun : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); }
    void resultRows_data();
    void resultRows();
    void pesCollectsPerRes();
    void exampleResFile();
    void typeAndCaption();
    void reportBody();
};

void TestResRun::resultRows_data()
{
    QTest::addColumn<bool>("pes");
    QTest::addColumn<QList<double>>("unoms");
    QTest::addColumn<QString>("series");
    QTest::addColumn<QStringList>("expectedIds");
    QTest::addColumn<QString>("sumLenerp");
    QTest::addColumn<QString>("sumDwpall");

    const QString l1 = "1,1,1", l2 = "1,1,2";
    QTest::newRow("35 and 110 kV") << false << QList<double>{35, 110} << "00"
        << QStringList{l1, l2, "35kV", "110kV", "SUM"} << "300.000" << "318.000";
    QTest::newRow("series energy left out of sums") << false << QList<double>{110, 110}
        << "01" << QStringList{l1, l2, "110kV", "SUM"} << "100.000" << "318.000";
    QTest::newRow("class of series lines only has no row") << false << QList<double>{35, 110}
        << "10" << QStringList{l1, l2, "110kV", "SUM"} << "200.000" << "318.000";
    QTest::newRow("RES: 132 kV is 220, 130 kV is 110") << false << QList<double>{132, 130}
        << "00" << QStringList{l1, l2, "110kV", "220kV", "SUM"} << "300.000" << "318.000";
    QTest::newRow("PES: 132 kV is 110, 150 kV is 220") << true << QList<double>{132, 150}
        << "00" << QStringList{l1, l2, "B 1,1", "110kV", "220kV", "SUM"}
        << "300.000" << "318.000";
    QTest::newRow("no line") << false << QList<double>{} << ""
        << QStringList{"SUM"} << "0.000" << "0.000";
}

void TestResRun::resultRows()
{
    QFETCH(bool, pes);
    QFETCH(QList<double>, unoms);
    QFETCH(QString, series);
    QFETCH(QStringList, expectedIds);
    QFETCH(QString, sumLenerp);
    QFETCH(QString, sumDwpall);

    const LossCollection run = collection(unoms, series);
    QVector<double> total;
    const QVector<QStringList> rows = pes ? poteriRowsPES(run, &total) : poteriRowsRES(run, &total);
    QCOMPARE(ids(rows), expectedIds);
    const QStringList& sum = rows.last();
    QCOMPARE(sum.at(1), pes ? QString("Всего по ПЭС") : QString("Всего по РЭС"));
    QCOMPARE(sum.at(2), sumLenerp);
    QCOMPARE(sum.at(11), sumDwpall);
    QCOMPARE(total.at(0), sumLenerp.toDouble());
    // A line row always shows its own energy, series or not.
    if (!unoms.isEmpty())
        QCOMPARE(rows.at(1).at(2), QString("200.000"));
}

void TestResRun::pesCollectsPerRes()
{
    // RES 1 with two lines (a line of RES 3 between them), RES 2 without
    // lines, RES 3 with one line at its own temperature; a RES of PES 2.
    TestNetwork net;
    net.addLine("1", "A");
    net.nres = "3";
    net.addLine("1", "C", 35);
    net.nres = "1";
    net.addLine("2", "B");
    net.setLine("2", "unom", "");
    CalcTables tables;
    tables.lines = net.lines;
    const Table res = {{"1", "1", "Первый", "", "0", "5"},
                       {"2", "1", "Чужой", "", "0", "0"},
                       {"1", "2", "Второй", "", "0", "0"},
                       {"1", "3", "Третий", "", "1", "-14.5"}};
    pT_sr = 7.0;
    QStringList calls;
    const LossCollection run = runLossPES("1", res, tables, {},
        [&](CalcRadial& calc, const QString& nlin) {
            calls.append(NRES + "/" + nlin + "@" + QString::number(pT_RES));
            calc.m_lineTitle = NRES + "-" + nlin;
            calc.m_totals = fakeTotals(calls.size() - 1);
        });

    QCOMPARE(calls, (QStringList{"1/1@7", "1/2@7", "3/1@-14.5"}));
    QCOMPARE(run.resBounds, (QVector<int>{0, 2, 2, 3}));
    QCOMPARE(run.lineUnom, (QVector<double>{110, 0, 35}));
    QCOMPARE(NRES + "@" + QString::number(pT_RES), QString("3@-14.5"));

    const QVector<QStringList> rows = poteriRowsPES(run);
    QCOMPARE(ids(rows), (QStringList{"1,1,1", "1,1,2", "B 1,1", "B 1,2", "1,3,1", "B 1,3",
                                     "35kV", "110kV", "SUM"}));
    // RES sums, and the line without a voltage counted as 35 kV.
    QCOMPARE(rows.at(2).mid(1, 2) + rows.at(3).mid(2, 1) + rows.at(6).mid(2, 1),
             (QStringList{"Всего по Первый", "300.000", "0.000", "500.000"}));
}

void TestResRun::exampleResFile()
{
    TempWorkDir dir;
    dir.copyExamples();
    MessageRecorder recorder;
    pMec = "3";
    pYear = "2026";
    pr_Bal = 1;

    QStringList shown;
    const LossCollection run = runLossRES("1", "1", CalcTables::read(), [&](const QString& name) {
        shown.append(name);
        return true;
    });
    QCOMPARE(shown.first(), QString("ВЛ 110 кВ Заречная - Сосновка с отпайками"));
    QCOMPARE(run.lineUnom, (QVector<double>{110, 110, 35}));
    const QVector<QStringList> rows = poteriRowsRES(run);
    QCOMPARE(ids(rows), (QStringList{"1,1,1", "1,1,2", "1,1,3", "35kV", "110kV", "SUM"}));
    QVERIFY(rows.last().at(2).toDouble() > 0.0);
    for (int j = 2; j < 18; ++j) {
        const double sum = rows.at(0).at(j).toDouble() + rows.at(1).at(j).toDouble()
            + rows.at(2).at(j).toDouble();
        QVERIFY(qAbs(rows.last().at(j).toDouble() - sum) < 0.002);
    }

    QVERIFY(writePoteri("1", "1", rows));
    QVERIFY(recorder.messages.isEmpty());
    const QByteArray bytes = dir.readFile("poteri.xml");
    QVERIFY(bytes.contains("<PoteriEn period=\"3\" year=\"2026\" npes=\"1\" nres=\"1\" type=\"100\">"));
    QVERIFY(bytes.contains("<ResArxiv id=\"SUM\" name=\"Всего по РЭС\" lenerp=\"" + rows.last().at(2).toUtf8()
                           + "\" ener_Sob=\""));
    QCOMPARE(readArxivFile(dir.filePath("poteri.xml")).records.value(0).rows, rows);
}

void TestResRun::typeAndCaption()
{
    QCOMPARE(poteriType() + "|" + lossCaptionRES(-3.5) + "|" + lossCaptionPES(), QString("000|Температура -3.5|"));
    pr_Bal = 1;
    pk_Nagr = 0.9;
    QCOMPARE(poteriType() + "|" + lossCaptionPES(),
             QString("101|Расчет без учета балансовой принадлежности , Коэффициент коррекции нагрузки 0.90"));
    pr_Bal = 0;
    pk_Nagr = 1.0;
    p_tranz = 1;
    QCOMPARE(poteriType() + "|" + lossCaptionRES(-3.5),
             QString("010|Температура -3.5, Расчет без учета транзитных перетоков "));
}

void TestResRun::reportBody()
{
    auto row = [](const QString& id, const QString& name, const QString& lenerp, const QString& stor) {
        return QStringList{id, name, lenerp, "190.000", stor, "4.000", "2.000", "6.000", "3.000", "1.000",
                           "4.000", "10.000", "0", "0", "0", "0", "0", "0"};
    };
    const QVector<QStringList> rows = {row("1,1,1", "Л <1>", "200.000", "0.000"),
                                       row("1,1,2", "Л2", "0.000", "0.001"),
                                       row("B 1,1", "Р", "200.000", "0.000"),
                                       row("110kV", "К", "200.000", "0.000"),
                                       row("SUM", "С", "200.000", "0.000")};
    const QStringList body = lossReportBody(rows, "Температура 20.0");
    QCOMPARE(body.mid(0, 19), TableHtml());
    QCOMPARE(body.size(), 19 + 5 * 11 + 2);

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
    QCOMPARE(sumRows, (QStringList{"<tr BGCOLOR = '#CCEEDD'>\n", b + "Р</td>\n",
                                   "<tr BGCOLOR = '#DDCC99'>\n", td + "К</td>\n",
                                   "<tr BGCOLOR = '#99CC99'>\n", b + "С</td>\n"}));
    QCOMPARE(body.mid(74), (QStringList{"</table>\n",
                                        "<caption><h3 align = 'left'>Температура 20.0</h3></caption>\n"}));
}

QTEST_GUILESS_MAIN(TestResRun)
#include "tst_resrun.moc"

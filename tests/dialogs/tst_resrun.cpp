// The loss run over a RES or PES without a window: collections, result rows,
// "poteri.xml" and the loss report body.

#include "calc/lossrun.h"
#include "store/SaveInfo.h"
#include "store/arxiv.h"

#include "calcglobals.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QRegularExpression>
#include <QXmlStreamReader>
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

LossCollection collection(const QList<double>& unoms, const QList<bool>& series)
{
    LossCollection run;
    for (int i = 0; i < unoms.size(); ++i) {
        run.lineTotals.append(fakeTotals(i));
        run.lineNames.append(QStringLiteral("Л%1").arg(i + 1)
                             + (series.at(i) ? QStringLiteral(" (Последовательная)") : QString()));
        run.lineIds.append(QStringLiteral("1,1,%1").arg(i + 1));
        run.lineUnom.append(unoms.at(i));
    }
    run.resNames = {QStringLiteral("РЭС")};
    run.resIds = {QStringLiteral("1,1")};
    run.resBounds = {0, int(unoms.size())};
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
    void typeAndCaption_data();
    void typeAndCaption();
    void reportBody();
};

void TestResRun::resultRows_data()
{
    QTest::addColumn<bool>("pes");
    QTest::addColumn<QList<double>>("unoms");
    QTest::addColumn<QList<bool>>("series");
    QTest::addColumn<QStringList>("expectedIds");
    QTest::addColumn<QString>("sumLenerp");
    QTest::addColumn<QString>("sumDwpall");

    const QString l1 = "1,1,1", l2 = "1,1,2";
    QTest::newRow("35 and 110 kV") << false << QList<double>{35, 110} << QList<bool>{false, false}
        << QStringList{l1, l2, "35kV", "110kV", "SUM"} << "300.000" << "318.000";
    QTest::newRow("series energy left out of sums") << false << QList<double>{110, 110}
        << QList<bool>{false, true} << QStringList{l1, l2, "110kV", "SUM"} << "100.000" << "318.000";
    QTest::newRow("class of series lines only has no row") << false << QList<double>{35, 110}
        << QList<bool>{true, false} << QStringList{l1, l2, "110kV", "SUM"} << "200.000" << "318.000";
    QTest::newRow("RES: 132 kV is 220, 130 kV is 110") << false << QList<double>{132, 130}
        << QList<bool>{false, false} << QStringList{l1, l2, "110kV", "220kV", "SUM"} << "300.000" << "318.000";
    QTest::newRow("PES: 132 kV is 110, 150 kV is 220") << true << QList<double>{132, 150}
        << QList<bool>{false, false} << QStringList{l1, l2, "B 1,1", "110kV", "220kV", "SUM"}
        << "300.000" << "318.000";
    QTest::newRow("no line") << false << QList<double>{} << QList<bool>{}
        << QStringList{"SUM"} << "0.000" << "0.000";
}

void TestResRun::resultRows()
{
    QFETCH(bool, pes);
    QFETCH(QList<double>, unoms);
    QFETCH(QList<bool>, series);
    QFETCH(QStringList, expectedIds);
    QFETCH(QString, sumLenerp);
    QFETCH(QString, sumDwpall);

    const LossCollection run = collection(unoms, series);
    QVector<double> total;
    const QVector<QStringList> rows = pes ? poteriRowsPES(run, &total) : poteriRowsRES(run, &total);
    QCOMPARE(ids(rows), expectedIds);
    const QStringList& sum = rows.last();
    QCOMPARE(sum.size(), attrArx.size());
    QCOMPARE(sum.at(1), pes ? QString("Всего по ПЭС") : QString("Всего по РЭС"));
    QCOMPARE(sum.at(2), sumLenerp);
    QCOMPARE(sum.at(11), sumDwpall);
    QCOMPARE(QString::number(total.at(0), 'f', 3), sumLenerp);
    // A line row always shows its own energy, series or not.
    for (int i = 0; i < unoms.size(); ++i)
        QCOMPARE(rows.at(i).at(2), QString::number((i + 1) * 100.0, 'f', 3));
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
    QCOMPARE(run.resIds, (QStringList{"1,1", "1,2", "1,3"}));
    QCOMPARE(run.lineUnom, (QVector<double>{110, 0, 35}));
    QCOMPARE(NRES, QString("3"));
    QCOMPARE(pT_RES, -14.5);

    const QVector<QStringList> rows = poteriRowsPES(run);
    QCOMPARE(ids(rows), (QStringList{"1,1,1", "1,1,2", "B 1,1", "B 1,2", "1,3,1", "B 1,3",
                                     "35kV", "110kV", "SUM"}));
    QCOMPARE(rows.at(2).at(1), QString("Всего по Первый"));
    QCOMPARE(rows.at(2).at(2), QString("300.000"));
    QCOMPARE(rows.at(3).at(2), QString("0.000"));
    // The line without a voltage counts as 35 kV.
    QCOMPARE(rows.at(6).at(2), QString("500.000"));
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
    QCOMPARE(run.lineIds, (QStringList{"1,1,1", "1,1,2", "1,1,3"}));
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown.first(), QString("ВЛ 110 кВ Заречная - Сосновка с отпайками"));
    QCOMPARE(run.lineUnom, (QVector<double>{110, 110, 35}));

    const QVector<QStringList> rows = poteriRowsRES(run);
    QCOMPARE(ids(rows), (QStringList{"1,1,1", "1,1,2", "1,1,3", "35kV", "110kV", "SUM"}));
    QVERIFY(rows.last().at(2).toDouble() > 0.0);
    QVERIFY(writePoteri("1", "1", rows));
    QVERIFY(recorder.messages.isEmpty());

    // Attribute order as written, then the record as the archive reads it.
    const QByteArray bytes = dir.readFile("poteri.xml");
    QXmlStreamReader xml(bytes);
    int checked = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        QStringList names;
        for (const QXmlStreamAttribute& a : xml.attributes())
            names.append(a.name().toString());
        if (xml.name() == QLatin1String("PoteriEn"))
            QCOMPARE(names, (QStringList{"period", "year", "npes", "nres", "type"}));
        if (xml.name() == QLatin1String("ResArxiv")) {
            QCOMPARE(names, attrArx);
            ++checked;
        }
    }
    QVERIFY(!xml.hasError());
    QCOMPARE(checked, rows.size());

    const ArxivFile file = readArxivFile(dir.filePath("poteri.xml"));
    QCOMPARE(file.records.size(), 1);
    const ResPoter& record = file.records.first();
    QCOMPARE(QStringList({record.period, record.year, record.npes, record.nres, record.type}),
             (QStringList{"3", "2026", "1", "1", "100"}));
    QCOMPARE(record.rows, rows);

    // Every value has three decimals; "SUM" is the sum of the line rows.
    const QRegularExpression threeDecimals("^-?\\d+\\.\\d{3}$");
    for (const QStringList& row : rows) {
        for (int j = 2; j < row.size(); ++j)
            QVERIFY2(threeDecimals.match(row.at(j)).hasMatch(), qPrintable(row.at(j)));
    }
    for (int j = 2; j < 18; ++j) {
        double sum = 0.0;
        for (int i = 0; i < 3; ++i)
            sum += rows.at(i).at(j).toDouble();
        QVERIFY(qAbs(rows.last().at(j).toDouble() - sum) < 0.002);
    }
}

void TestResRun::typeAndCaption_data()
{
    QTest::addColumn<int>("bal");
    QTest::addColumn<int>("tranz");
    QTest::addColumn<double>("kNagr");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("resCaption");
    QTest::addColumn<QString>("pesCaption");
    QTest::newRow("none") << 0 << 0 << 1.0 << "000" << "Температура -3.5" << "";
    QTest::newRow("balance and load") << 1 << 0 << 0.9 << "101"
        << "Температура -3.5, Расчет без учета балансовой принадлежности , Коэффициент коррекции нагрузки 0.90"
        << "Расчет без учета балансовой принадлежности , Коэффициент коррекции нагрузки 0.90";
    QTest::newRow("transit") << 0 << 1 << 1.0 << "010"
        << "Температура -3.5, Расчет без учета транзитных перетоков "
        << ", Расчет без учета транзитных перетоков ";
}

void TestResRun::typeAndCaption()
{
    QFETCH(int, bal);
    QFETCH(int, tranz);
    QFETCH(double, kNagr);
    pr_Bal = bal;
    p_tranz = tranz;
    pk_Nagr = kNagr;
    QTEST(poteriType(), "type");
    QTEST(lossCaptionRES(-3.5), "resCaption");
    QTEST(lossCaptionPES(), "pesCaption");
}

void TestResRun::reportBody()
{
    auto row = [](const QString& id, const QString& name, const QString& lenerp,
                  const QString& stor, const QString& dwpall) {
        QStringList r{id, name, lenerp, "190.000", stor, "4.000", "2.000", "6.000", "3.000", "1.000",
                      "4.000", dwpall};
        for (int j = 0; j < 6; ++j)
            r.append("0.000");
        return r;
    };
    const QVector<QStringList> rows = {row("1,1,1", "Л <1>", "200.000", "0.000", "10.000"),
                                       row("1,1,2", "Л2", "0.000", "0.001", "10.000"),
                                       row("B 1,1", "Всего по Р", "200.000", "0.000", "20.000"),
                                       row("110kV", "Всего по 110 кВ", "200.000", "0.000", "20.000"),
                                       row("SUM", "Всего по РЭС", "200.000", "0.000", "20.000")};
    const QStringList body = lossReportBody(rows, "Температура 20.0");
    QCOMPARE(body.mid(0, 19), TableHtml());
    QCOMPARE(body.size(), 19 + 5 * 11 + 2);

    const QString td = "<td align='center'>";
    const QString b = td + "<span style=\" font-weight:600; \">";
    const QString line1 = QStringList(body.mid(19, 11)).join("|");
    QCOMPARE(line1, QStringList({"<tr>\n", td + "Л &lt;1&gt;</td>\n", td + "200.000<br>190.000</td>\n",
        td + "4.000<br>2.00 %</td>\n", td + "2.000<br>1.00 %</td>\n", td + "6.000<br>3.00 %</td>\n",
        td + "3.000<br>1.50 %</td>\n", td + "1.000<br>0.50 %</td>\n", td + "4.000<br>2.00 %</td>\n",
        td + "10.000<br>5.00 %</td>\n", "</tr>\n"}).join("|"));
    // Without energy supplied the share is one blank; a transit shows as a third figure.
    QCOMPARE(body.at(30 + 2), td + "0.000<br>190.000<br>0.001</td>\n");
    QCOMPARE(body.at(30 + 9), td + "10.000<br> </td>\n");
    QCOMPARE(body.at(41), QString("<tr BGCOLOR = '#CCEEDD'>\n"));
    QCOMPARE(body.at(42), b + "Всего по Р</td>\n");
    QCOMPARE(body.at(52), QString("<tr BGCOLOR = '#DDCC99'>\n"));
    QCOMPARE(body.at(53), td + "Всего по 110 кВ</td>\n");
    QCOMPARE(body.at(63), QString("<tr BGCOLOR = '#99CC99'>\n"));
    QCOMPARE(body.at(64), b + "Всего по РЭС</td>\n");
    QCOMPARE(body.at(74), QString("</table>\n"));
    QCOMPARE(body.at(75), QString("<caption><h3 align = 'left'>Температура 20.0</h3></caption>\n"));
}

QTEST_GUILESS_MAIN(TestResRun)
#include "tst_resrun.moc"

// The sum of ticked periods and the power table of the archive viewer.

#include "calc/lossrun.h"
#include "reference/arxivsum.h"
#include "store/readregim.h"

#include <QtTest>

using Rows = QVector<QStringList>;

// A row of id whose values are all value, but for the overrides (attrArx index -> text).
static QStringList row(const QString& id, const QString& value, const QMap<int, QString>& overrides = {})
{
    QStringList out{id, "Имя " + id};
    for (int c = 2; c < attrArx.size(); ++c)
        out << overrides.value(c, value);
    return out;
}

class TestArxivSum : public QObject
{
    Q_OBJECT

private slots:
    void sums_data()
    {
        QTest::addColumn<QVector<Rows>>("records");
        QTest::addColumn<Rows>("expected");
        const Rows january = {row("1,1,1", "1.000"), row("35kV", "1.000"), row("SUM", "2.000")};
        QTest::newRow("one period keeps its texts") << QVector<Rows>{january} << january;
        // The months' class rows differ: rows pair by id, not by position; a
        // row only a later month holds is left out, one it lacks keeps its text.
        QTest::newRow("two periods by id")
            << QVector<Rows>{january, {row("1,1,1", "2.000"), row("110kV", "2.000"), row("SUM", "4.500")}}
            << Rows{row("1,1,1", "3.00"), row("35kV", "1.000"), row("SUM", "6.50")};
        // Rounded once: step by step 0.004 -> 0.00, then 0.002 -> 0.00.
        QTest::newRow("three periods rounded once") << QVector<Rows>(3, {row("SUM", "0.002")}) << Rows{row("SUM", "0.01")};
        QTest::newRow("nan and inf read as 0")
            << QVector<Rows>{{row("SUM", "nan", {{2, "1.000"}})}, {row("SUM", "inf", {{2, "1e400"}}), row("X", "5.000")}}
            << Rows{row("SUM", "0.00", {{2, "1.00"}})};
        QTest::newRow("an overflowing sum shows 0") << QVector<Rows>(2, {row("SUM", "1e308")}) << Rows{row("SUM", "0.00")};
    }
    // Before the selected records one that is not selected, and not counted.
    void sums()
    {
        QFETCH(QVector<Rows>, records);
        QVector<RaionPot> all(records.size() + 1);
        all[0].rows = {row("SUM", "100.000")};
        for (int i = 0; i < records.size(); ++i)
            all[i + 1].rows = records.at(i), all[i + 1].selected = true;
        QTEST(SumArxivById(all), "expected");
    }

    // A no-load total of exactly "0.000", as older calculations wrote it, shows the no-load sum.
    void olderNoLoadTotal()
    {
        ArxivFile file;
        file.records = {ResPoter{"2023", "1", "1", "1", "000", {row("SUM", "1.000", {{8, "3.500"}, {10, "0.000"}}),
                                                                row("1,1,1", "1.000", {{8, "3.500"}, {10, "0.00"}})}}};
        QCOMPARE(arxivRecords(file).value(0).rows, (Rows{row("SUM", "1.000", {{8, "3.500"}, {10, "3.500"}}),
                                                         row("1,1,1", "1.000", {{8, "3.500"}, {10, "0.00"}})}));
    }

    // The notes of a selected record's calculation type: balance, transit, load correction in that order.
    void notes_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("notes");
        const QString balance = " Расчет без учета балансовой принадлежности ";
        const QString transit = " Расчет без учета транзитных перетоков ";
        const QString correction = " Коэффициент коррекции нагрузки не равен 1";
        QTest::newRow("000") << "000" << "";
        QTest::newRow("100") << "100" << balance;
        QTest::newRow("011") << "011" << transit + correction;
        QTest::newRow("101") << "101" << balance + correction;
        QTest::newRow("110") << "110" << balance + transit;
        QTest::newRow("a type of another form") << "11" << "";
    }
    void notes()
    {
        QFETCH(QString, type);
        QVector<RaionPot> records(1);
        static_cast<ResPoter&>(records[0]) = ResPoter{"2023", "2", "1", "1", type, {}};
        QTEST(SelectArxiv(records, {false, true}, "2023", {"1", "1"}, ": ").notes, "notes");
    }

    // 50 kW of 100 thousand kW drawn is 0.05 %; no power, no percentage; no number counts as 0.
    void tables()
    {
        const QStringList energy = lossReportBody({row("1,1,1", "inf", {{2, "100.000"}})}, QString());
        QVERIFY(energy.contains("<td align='center'>inf<br>0.00 %</td>\n"));
        const QStringList power = arxivPowerBody({row("1,1,<1>", "50.000", {{12, "100.000"}}), row("SUM", "nan")});
        // The heads as the user reads them, line by line.
        const QString heads = QStringList(power.mid(0, 15)).join('|').replace("<br>", "\n").remove(QRegularExpression("<[^>]*>"));
        QCOMPARE(heads.split('|', Qt::SkipEmptyParts),
                 (QStringList{"Линия", "Потребляемая\nмощность, тыс.кВт", "Потери мощности, кВт / % от отпуска в соответствующую сеть",
                              "нагрузочные", "холостого\nхода", "суммарные", "в линиях", "в трансфор-\nматорах", "суммарные"}));
        const QString lines = power.mid(15).join(QString());
        QVERIFY(lines.startsWith("<tr>\n<td align='center'>Имя 1,1,&lt;1&gt;</td>\n"
                                 "<td align='center'>100.000</td>\n<td align='center'>50.000<br>0.05 %</td>\n"));
        QVERIFY(lines.endsWith("<span style=\" font-weight:600; \">nan<br> </td>\n</tr>\n</table>\n"));
    }
};

QTEST_GUILESS_MAIN(TestArxivSum)
#include "tst_arxivsum.moc"

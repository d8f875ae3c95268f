// The archive records as the viewer reads them, the notes of their options
// and the sum of ticked periods.

#include "calc/lossrun.h"
#include "reference/arxivsum.h"
#include "store/readregim.h"

#include <QtTest>

namespace {

// A row of id whose sixteen values are all value, but for the overrides
// (attrArx index -> text).
QStringList row(const QString& id, const QString& value, const QMap<int, QString>& overrides = {})
{
    QStringList out{id, "Имя " + id};
    for (int c = 2; c < attrArx.size(); ++c)
        out << overrides.value(c, value);
    return out;
}

// A selected record holding rows.
RaionPot record(const QVector<QStringList>& rows)
{
    RaionPot r;
    r.rows = rows;
    r.selected = true;
    return r;
}

} // namespace

Q_DECLARE_METATYPE(QVector<RaionPot>)

class TestArxivSum : public QObject
{
    Q_OBJECT

private slots:
    // Every record keeps its own type: one without it after a "111" adds no
    // note; a note repeats for each record that carries it.
    void notesOfEachRecord()
    {
        QByteArray xml = "<ArxivPot>";
        for (const QByteArray& type : {QByteArray(" type=\"111\""), QByteArray(), QByteArray(" type=\"111\"")})
            xml += "<PoteriEn period=\"1\" year=\"2023\" npes=\"1\" nres=\"1\"" + type + "><ResArxiv id=\"SUM\"/></PoteriEn>";
        QVector<RaionPot> records = arxivRecords(parseArxiv(xml + "</ArxivPot>"));
        const ArxivSelection selection = SelectArxiv(records, {true}, "2023", {"1", "1"}, ": ");
        const QString all = " Расчет без учета балансовой принадлежности  Расчет без учета транзитных перетоков "
                            " Коэффициент коррекции нагрузки не равен 1";
        QCOMPARE(selection.notes, all + all);
        QCOMPARE(selection.periodText, QString("январь: январь: январь: 2023 года"));
    }

    void sums_data()
    {
        QTest::addColumn<QVector<RaionPot>>("records");
        QTest::addColumn<QVector<QStringList>>("expected");
        const QVector<QStringList> january = {row("1,1,1", "1.000"), row("35kV", "1.000"), row("SUM", "2.000")};
        QTest::newRow("one period keeps its texts") << QVector<RaionPot>{record(january)} << january;
        // The months' class rows differ: rows pair by id, not by position;
        // a row only a later month holds is left out, one it lacks keeps its text.
        QTest::newRow("two periods by id")
            << QVector<RaionPot>{record(january),
                                 record({row("1,1,1", "2.000"), row("110kV", "2.000"), row("SUM", "4.500")})}
            << QVector<QStringList>{row("1,1,1", "3.00"), row("35kV", "1.000"), row("SUM", "6.50")};
        // Rounded once: step by step 0.004 -> 0.00, then 0.002 -> 0.00.
        const RaionPot small = record({row("SUM", "0.002")});
        QTest::newRow("three periods rounded once")
            << QVector<RaionPot>{small, small, small} << QVector<QStringList>{row("SUM", "0.01")};
        QTest::newRow("nan and inf read as 0")
            << QVector<RaionPot>{record({row("SUM", "nan", {{2, "1.000"}})}),
                                 record({row("SUM", "inf", {{2, "1e400"}}), row("X", "5.000")})}
            << QVector<QStringList>{row("SUM", "0.00", {{2, "1.00"}})};
        QTest::newRow("an overflowing sum shows 0")
            << QVector<RaionPot>{record({row("SUM", "1e308")}), record({row("SUM", "1e308")})}
            << QVector<QStringList>{row("SUM", "0.00")};
    }

    void sums()
    {
        QFETCH(QVector<RaionPot>, records);
        QFETCH(QVector<QStringList>, expected);
        records.prepend(record({row("SUM", "100.000")}));   // not selected: not counted
        records.first().selected = false;
        QCOMPARE(SumArxivById(records), expected);
    }

    // Power drawn 100 thousand kW: 50 kW is 0.05 %; no power, no percentage;
    // a value that is no number counts as 0 in a percentage.
    void tables()
    {
        const QStringList energy = lossReportBody({row("1,1,1", "inf", {{2, "100.000"}})}, QString());
        QVERIFY(energy.contains("<td align='center'>inf<br>0.00 %</td>\n"));

        const QStringList body = arxivPowerBody({row("1,1,<1>", "50.000", {{12, "100.000"}}), row("SUM", "nan")});
        const QString lines = body.mid(15).join(QString());
        QVERIFY(lines.startsWith("<tr>\n<td align='center'>Имя 1,1,&lt;1&gt;</td>\n"
                                 "<td align='center'>100.000</td>\n<td align='center'>50.000<br>0.05 %</td>\n"));
        QVERIFY(lines.contains("<tr BGCOLOR = '#99CC99'>\n"));
        QVERIFY(lines.endsWith("<span style=\" font-weight:600; \">nan<br> </td>\n</tr>\n</table>\n"));
    }
};

QTEST_GUILESS_MAIN(TestArxivSum)
#include "tst_arxivsum.moc"

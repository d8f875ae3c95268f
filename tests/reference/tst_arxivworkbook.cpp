// The archive workbook as openpyxl reads it, every kind of cell on the three sheets.

#include "reference/arxivworkbook.h"

#include "pythonrunner.h"
#include "testsupport.h"

#include <QtTest>

class TestArxivWorkbook : public QObject
{
    Q_OBJECT

private slots:
    void cellsAsOpenpyxlReadsThem()
    {
        const QString missing = openpyxlMissing();
        if (!missing.isEmpty())
            QSKIP(qPrintable("openpyxl check not run: " + missing));
        TempWorkDir dir;
        // id, name, lenerp, ener_Sob, ener_stor, L, T, load, X, I, no-load, all; a RES and a class row each of its own fill.
        const QVector<QStringList> rows = {{"1,1,1", "Линия 1", "200", "150", "50", "10", "20", "30", "4", "2", "5", "35"},
                                           {"SUM", "Всего", "0", "0", "0", "10", "nan", "10", "0", "0", "0", "10"},
                                           {"B 1,1", "РЭС", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
                                           {"110kV", "110 кВ", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}};
        QVERIFY(writeArxivWorkbook(dir.filePath("book.xlsx"), rows, {"Северный РЭС", "Л-5"},
                                   "январь: март: 2023 года", "примечание"));
        // Ranges and shares that overflow are written as 0, never refused.
        QVERIFY(writeArxivWorkbook(dir.filePath("big.xlsx"), {QStringList(QVector<QString>(12, "1e308").toList())}, {}, {}, {}));
        const QStringList expected = {
            "sheets|Сокращенная форма|Полная форма|Форма для отчетов", "widths|1 50 15 1 50 12 10 10 1 60 15",
            // The three head rows of each sheet from column B.
            "heads 1||Отпуск эл.энергии|Потери|электро|энергии|тыс.квтч / %|от отпуска|в сеть| # Линия|/ Собственное "
            "потребление||нагрузочные|||холостого хода|| # |тыс.квтч|в линиях|в трансфор-х|суммарные|в трансфор-х|"
            "в изоляции КЛ|суммарные|Всего",
            "heads 2||Отпуск эл.энергии|Потери|эл.энергии,|тыс.квтч|минимум/.|средние/|максимум|| % от|отпуска|в сеть"
            " # Линия|/ Собственное потребление||нагрузочные||холостого|хода||Всего|нагрузочные|холостого|суммарные # "
            "|/ Транзит, тыс.квтч|в линиях|в трансфор-х|суммарные|в трансфор-х|в изоляции КЛ|суммарные|||хода|",
            "heads 3||Отпуск|Собственное|Транзит||Потери|электро|энергии,|тыс.квтч|| # Линия|электроэнергии,|потребление,"
            "|по сети,||нагрузочные|||холостого хода|| # |тыс.квтч|тыс.квтч|тыс.квтч|в линиях|в трансфор-х|суммарные|"
            "в трансфор-х|в изоляции КЛ|суммарные|Всего",
            // The line's rows from column B: the losses over their shares; minimum, mean, maximum.
            "line 1|Линия 1|200|10|20|30|4|2|5|35 # |150|5|10|15|2|1|2.5|17.5",
            "line 2||200|9.75|19.3|29.257|3.88|1.8|5.68|35.221|14.63|2.84|17.61 # Линия 1|150|10|20|30|4|2|5|35|15|2.5|17.5"
            " # |50|10.25|20.7|30.743|4.12|2.2|6.32|36.779|15.37|3.16|18.39",
            "line 3|Линия 1|200|150|50|10|20|30|4|2|5|35",
            // sheet (1 to 3)!cell|value|font size|bold|rules (l r t b) and c when centred|fill
            "1!B1|Программа расчета потерь электроэнергии в радиальных сетях 35-220 кВ ЗОРВАН|18|0||",
            "1!C3|Расчет потерь электроэнергии (архив)  Северный РЭС Л-5|14|0||",
            "1!C4|Расчетный период: январь: март: 2023 года|12|0||", "1!J5||11|1|bc|",
            "1!C6|Отпуск эл.энергии|11|1|lrc|", "1!J6||11|1|rbc|", "1!G7||11|1|lbc|", "1!H8|в изоляции КЛ|11|1|lrbc|",
            "1!J8|Всего|11|1|lrbc|",
            "1!B9|Линия 1|11|0|lrc|FFFFFFFF", "1!B10||11|0|lrbc|FFFFFFFF", "1!J10|17.5|11|0|lrbc|FFFFFFFF", "1!B11|Всего|11|1|lrc|FFAADDAA", "1!D12|0|11|1|lrbc|FFAADDAA", "1!B13|РЭС|11|1|lrc|FFDDFFEE",
            "1!B15|110 кВ|11|1|lrc|FFEEDDAA", "1!J17||11|1|tc|", "1!K17||11|0||", "1!A17|примечание|11|0||",
            "2!C6|Отпуск эл.энергии|11|1|lrc|FFFFFFFF", "2!D6|Потери|11|1|lbc|",
            // Minimum, mean and maximum: name, supply and the mean row bold.
            "2!C9|200|11|1|lrc|FFFFFFFF", "2!F9|29.257|11|0|lrc|FFFFFFFF", "2!B10|Линия 1|11|1|lrc|FFFFFFFF",
            "2!F10|30|11|1|lrc|FFFFFFFF", "2!B11||11|1|lrbc|FFFFFFFF", "2!F11|30.743|11|0|lrbc|FFFFFFFF", "2!I9|5.68|11|0|lrc|FFFFFFFF",
            "2!J9|35.221|11|0|lrc|FFFFFFFF", "2!J11|36.779|11|0|lrbc|FFFFFFFF", "2!K9|14.63|11|0|lrc|FFFFFFFF",
            "2!M11|18.39|11|0|lrbc|FFFFFFFF",
            // Without supply the shares are 0 and the ranges still shown.
            "2!D12|9.75|11|0|lrc|FFAADDAA", "2!K14|0|11|0|lrbc|FFAADDAA", "2!A21|примечание|11|0||",
            "3!E6|Транзит|11|1|lrc|FFFFFFFF", "3!E9|50|11|0|lrc|FFFFFFFF", "3!L10|10|11|1|lrc|FFAADDAA",
            "3!L13||11|1|tc|", "3!A13|примечание|11|0||",
        };
        QString error;
        const QByteArray out = runPython(QStringLiteral(R"(
import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
print("sheets|" + "|".join(book.sheetnames))
print("widths|" + " ".join(str(int(ws.column_dimensions[k].width))
                           for ws, keys in zip(book.worksheets, ("ABJ", "ABDKN", "ABL")) for k in keys))
for n, ws in enumerate(book.worksheets, 1):
    print("heads %d|" % n + " # ".join("|".join(c.value or "" for c in row[1:]) for row in ws.iter_rows(6, 8)))
for n, last in ((1, 10), (2, 11), (3, 9)):
    print("line %d|" % n + " # ".join("|".join("%g" % c.value if isinstance(c.value, (int, float)) else c.value or ""
                                                for c in row[1:]) for row in book.worksheets[n - 1].iter_rows(9, last)))
for name in sys.argv[2:]:
    sheet, coordinate = name.split("!")
    c = book.worksheets[int(sheet) - 1][coordinate]
    b = c.border
    rules = "".join(k for k, side in zip("lrtb", (b.left, b.right, b.top, b.bottom)) if side.style == "thin")
    fill = c.fill.fgColor.rgb if c.fill.fill_type == "solid" else ""
    print("|".join([name, "" if c.value is None else str(c.value), "%g" % c.font.sz, str(int(bool(c.font.b))),
                    rules + ("c" if c.alignment.horizontal == "center" else ""), fill]))
)"), QStringList{dir.filePath("book.xlsx")} + QStringList(expected.mid(8)).replaceInStrings(QRegularExpression("\\|.*"), ""), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts), expected);
    }
};

QTEST_GUILESS_MAIN(TestArxivWorkbook)
#include "tst_arxivworkbook.moc"

// The archive workbook as openpyxl reads it: values, fills, rules, alignment,
// widths, bold and font sizes of every kind of cell on the three sheets. This
// is every format the workbook module writes.

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
        // id, name, lenerp, ener_Sob, ener_stor, L, T, load, X, I, no-load, all
        const QVector<QStringList> rows = {{"1,1,1", "Линия 1", "200", "150", "50", "10", "20", "30", "4", "1", "5", "35"},
                                           {"SUM", "Всего", "0", "0", "0", "10", "nan", "10", "0", "0", "0", "10"}};
        QVERIFY(writeArxivWorkbook(dir.filePath("book.xlsx"), rows, {"Северный РЭС", "Л-5"},
                                   "январь: март: 2023 года", "примечание"));
        // Ranges and shares that overflow are written as 0, never refused.
        QVERIFY(writeArxivWorkbook(dir.filePath("big.xlsx"), {QStringList(QVector<QString>(12, "1e308").toList())}, {}, {}, {}));
        // sheet!cell|value|font size|bold|rules (l r t b) and c when centred|fill
        const QStringList expected = {
            "Сокращенная форма!B1|Программа расчета потерь электроэнергии в радиальных сетях 35-220 кВ ЗОРВАН|18|0||",
            "Сокращенная форма!C3|Расчет потерь электроэнергии (архив)  Северный РЭС Л-5|14|0||",
            "Сокращенная форма!C4|Расчетный период: январь: март: 2023 года|12|0||",
            "Сокращенная форма!J5||11|1|bc|",
            "Сокращенная форма!C6|Отпуск эл.энергии|11|1|lrc|",
            "Сокращенная форма!J6||11|1|rbc|",
            "Сокращенная форма!G7||11|1|lbc|",
            "Сокращенная форма!J8|Всего|11|1|lrbc|",
            "Сокращенная форма!B9|Линия 1|11|0|lrc|FFFFFFFF",
            "Сокращенная форма!J10|17.5|11|0|lrbc|FFFFFFFF",
            "Сокращенная форма!B11|Всего|11|1|lrc|FFAADDAA",
            "Сокращенная форма!D12|0|11|1|lrbc|FFAADDAA",
            "Сокращенная форма!J13||11|1|tc|",
            "Сокращенная форма!A13|примечание|11|0||",
            "Полная форма!C3|Расчет потерь электроэнергии (архив)  Северный РЭС Л-5|14|0||",
            "Полная форма!C6|Отпуск эл.энергии|11|1|lrc|FFFFFFFF",
            "Полная форма!D6|Потери|11|1|lbc|",
            // Minimum, mean and maximum: name, supply and the mean row bold.
            "Полная форма!C9|200|11|1|lrc|FFFFFFFF",
            "Полная форма!F9|29.257|11|0|lrc|FFFFFFFF",
            "Полная форма!B10|Линия 1|11|1|lrc|FFFFFFFF",
            "Полная форма!F10|30|11|1|lrc|FFFFFFFF",
            "Полная форма!F11|30.743|11|0|lrbc|FFFFFFFF",
            "Полная форма!I9|4.78|11|0|lrc|FFFFFFFF",
            "Полная форма!J9|34.24|11|0|lrc|FFFFFFFF",
            "Полная форма!J11|35.76|11|0|lrbc|FFFFFFFF",
            "Полная форма!K9|14.63|11|0|lrc|FFFFFFFF",
            "Полная форма!M11|17.88|11|0|lrbc|FFFFFFFF",
            // Without supply the shares are 0 and the ranges still shown.
            "Полная форма!D12|9.75|11|0|lrc|FFAADDAA",
            "Полная форма!K14|0|11|0|lrbc|FFAADDAA",
            "Полная форма!A15|примечание|11|0||",
            "Форма для отчетов!E6|Транзит|11|1|lrc|FFFFFFFF",
            "Форма для отчетов!E9|50|11|0|lrc|FFFFFFFF",
            "Форма для отчетов!L10|10|11|1|lrc|FFAADDAA",
            "Форма для отчетов!L11||11|1|tc|",
            "Форма для отчетов!A11|примечание|11|0||",
            "widths|1 50 15 1 50 12 10 10 1 60 15",
        };
        QStringList cells;
        for (const QString& line : expected)
            cells << line.section('|', 0, 0);
        QString error;
        const QByteArray out = runPython(QStringLiteral(R"(
import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
for name in sys.argv[2:-1]:
    sheet, coordinate = name.split("!")
    c = book[sheet][coordinate]
    b = c.border
    rules = "".join(k for k, side in (("l", b.left), ("r", b.right), ("t", b.top), ("b", b.bottom))
                    if side.style == "thin") + ("c" if c.alignment.horizontal == "center" else "")
    fill = c.fill.fgColor.rgb if c.fill.fill_type == "solid" else ""
    print("|".join([name, "" if c.value is None else str(c.value), "%g" % c.font.sz, str(int(bool(c.font.b))),
                    rules, fill]))
print("widths|" + " ".join(str(int(ws.column_dimensions[k].width))
                           for ws, keys in zip(book.worksheets, ("ABJ", "ABDKN", "ABL")) for k in keys))
)"), QStringList{dir.filePath("book.xlsx")} + cells, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts), expected);
    }
};

QTEST_GUILESS_MAIN(TestArxivWorkbook)
#include "tst_arxivworkbook.moc"

// The workbook module: what we write openpyxl reads with every format. Reading
// what openpyxl writes is checked with the table exchange.

#include "store/workbook.h"
#include "pythonrunner.h"
#include "testsupport.h"

#include <QJsonDocument>
#include <QtTest>

using xlsx::Border;
using xlsx::Document;
using xlsx::Format;

class TestWorkbook : public QObject
{
    Q_OBJECT

private slots:
    void openpyxlReadsFormattedWorkbook()
    {
        const QString missing = openpyxlMissing();
        if (!missing.isEmpty())
            QSKIP(qPrintable("openpyxl check not run: " + missing));
        Format title;   // large, ruled above and on the right
        title.setFontSize(18);
        title.setTopBorderStyle(Border::Thin);
        title.setRightBorderStyle(Border::Thin);
        Format header;  // bold, centred, ruled on the left and below, filled
        header.setFontBold(true);
        header.setHorizontalAlignment(xlsx::Align::Center);
        header.setLeftBorderStyle(Border::Thin);
        header.setBottomBorderStyle(Border::Thin);
        header.setPatternBackgroundColor("#AADDAA");
        const QStringList sheets = {"Сокращенная форма", "Полная форма", "Форма для отчетов"};
        Document doc;
        for (int s = 0; s < sheets.size(); ++s) {
            QVERIFY(doc.addSheet(sheets.at(s)) && doc.selectSheet(sheets.at(s)));
            QVERIFY(doc.setColumnWidth(2, 50.0 + 10 * s) && doc.setColumnWidth(3, 10, 15.0));
            QVERIFY(doc.write(1, 2, QStringLiteral("Потери ЗОРВАН"), title));
            QVERIFY(doc.write(6, 3, QStringLiteral("Отпуск"), header));
            QVERIFY(doc.write(9, 3, 1234.5 * (s + 1)));
        }
        const QString file = m_dir.filePath("Архив потерь Северный РЭС.xlsx");
        QVERIFY2(doc.saveAs(file), qPrintable(doc.errorString()));

        QString error;
        const QByteArray out = runPython(QStringLiteral(R"(
import sys, json, openpyxl
def cell(c):
    b = c.border
    rules = (("l", b.left), ("r", b.right), ("t", b.top), ("b", b.bottom))
    return [c.value, c.font.sz, bool(c.font.b), c.alignment.horizontal or "",
            "".join(k for k, side in rules if side.style == "thin"),
            c.fill.fgColor.rgb if c.fill.fill_type == "solid" else ""]
print(json.dumps([[ws.title, cell(ws["B1"]), cell(ws["C6"]), cell(ws["C9"]),
                   int(ws.column_dimensions["B"].width), int(ws.column_dimensions["J"].width)]
                  for ws in openpyxl.load_workbook(sys.argv[1]).worksheets]))
)"), {file}, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QVariantList read = QJsonDocument::fromJson(out).toVariant().toList();
        QCOMPARE(read.size(), sheets.size());
        // A width is stored with the padding spreadsheet programs add to it.
        for (int s = 0; s < sheets.size(); ++s)
            QCOMPARE(read.value(s).toList(),
                     QVariantList({sheets.at(s), QVariantList({"Потери ЗОРВАН", 18, false, "", "rt", ""}),
                                   QVariantList({"Отпуск", 11, true, "center", "lb", "FFAADDAA"}),
                                   QVariantList({1234.5 * (s + 1), 11, false, "", "", ""}), 50 + 10 * s, 15}));
    }

private:
    TempWorkDir m_dir;
};

QTEST_GUILESS_MAIN(TestWorkbook)
#include "tst_workbook.moc"

// The workbook module: what we write openpyxl reads with every format; what
// other programs write is read as a user expects.

#include "store/workbook.h"
#include "pythonrunner.h"
#include "testsupport.h"

#include <minizip/zip.h>

#include <QJsonDocument>
#include <QtTest>

using xlsx::Border;
using xlsx::Document;
using xlsx::Format;

namespace {

bool writeZip(const QString& path, const QVector<QPair<QString, QByteArray>>& parts)
{
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    bool ok = zip != nullptr;
    for (const auto& part : parts) {
        ok = ok && zipOpenNewFileInZip64(zip, part.first.toUtf8().constData(), nullptr, nullptr, 0,
                                         nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, part.second.constData(), unsigned(part.second.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zip && zipClose(zip, nullptr) == ZIP_OK && ok;
}

} // namespace

class TestWorkbook : public QObject
{
    Q_OBJECT

private slots:
    // A workbook as another program may write it: prefixed elements, the
    // workbook part under its own name, part names in other case, rich and
    // empty shared strings, inline and formula strings, booleans, cells
    // without references.
    void readsForeignWorkbook()
    {
        const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
        const QByteArray main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
        const QString file = m_dir.filePath("чужая.xlsx");
        QVERIFY(writeZip(file, {
            {"_rels/.rels", "<Relationships><Relationship Id=\"r1\" Type=\"" + rel
                                + "/officeDocument\" Target=\"XL/Book.xml\"/></Relationships>"},
            {"xl/_rels/book.xml.rels",
             "<Relationships><Relationship Id=\"a\" Type=\"" + rel + "/worksheet\" Target=\"/xl/s/one.xml\"/>"
             "<Relationship Id=\"b\" Type=\"" + rel + "/sharedStrings\" Target=\"strings.xml\"/></Relationships>"},
            {"xl/book.xml", "<x:workbook xmlns:x=\"" + main + "\" xmlns:r=\"" + rel + "\"><x:sheets>"
                            "<x:sheet name=\"Лист1\" sheetId=\"1\" r:id=\"a\"/></x:sheets></x:workbook>"},
            {"xl/strings.xml", "<sst xmlns=\"" + main + "\"><si><t>Заголовок</t></si><si><r><rPr><b/>"
                               "</rPr><t>Жир</t></r><r><t xml:space=\"preserve\">ный </t></r></si><si/></sst>"},
            {"XL/S/One.XML",
             "<x:worksheet xmlns:x=\"" + main + "\"><x:sheetData><x:row r=\"1\">"
             "<x:c r=\"A1\" t=\"s\"><x:v>0</x:v></x:c><x:c r=\"B1\" t=\"s\"><x:v>1</x:v></x:c>"
             "<x:c r=\"C1\" t=\"s\"><x:v>2</x:v></x:c>"
             "<x:c r=\"D1\" t=\"inlineStr\"><x:is><x:t> в строке </x:t></x:is></x:c>"
             "<x:c r=\"E1\" t=\"str\"><x:f>A1&amp;\"!\"</x:f><x:v>Заголовок!</x:v></x:c>"
             "<x:c r=\"F1\" t=\"b\"><x:v>1</x:v></x:c><x:c r=\"G1\"><x:v>1.0E6</x:v></x:c>"
             "<x:c><x:v>12.000000000000002</x:v></x:c></x:row>"
             "<x:row><x:c><x:v>-1.5</x:v></x:c></x:row></x:sheetData></x:worksheet>"}}));
        Document in;
        QVERIFY2(in.load(file), qPrintable(in.errorString()));
        QCOMPARE(in.sheetNames(), QStringList("Лист1"));
        QStringList row;
        for (int c = 1; c <= 8; ++c)
            row.append(in.read(1, c));
        QCOMPARE(row, QStringList({"Заголовок", "Жирный ", "", " в строке ", "Заголовок!", "1",
                                   "1000000", "12"}));
        QVERIFY(!in.isNumber(1, 6) && in.isNumber(1, 8));
        QCOMPARE(in.read(2, 1), QStringLiteral("-1.5"));

        QVERIFY(writeZip(file, {{"readme.txt", "no workbook"}}));
        QVERIFY(!in.load(file));
    }

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
                   ws.column_dimensions["B"].width, ws.column_dimensions["J"].width]
                  for ws in openpyxl.load_workbook(sys.argv[1]).worksheets]))
)"), {file}, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QVariantList read = QJsonDocument::fromJson(out).toVariant().toList();
        QCOMPARE(read.size(), sheets.size());
        for (int s = 0; s < sheets.size(); ++s) {
            const QVariantList got = read.at(s).toList();
            QCOMPARE(got.value(0).toString(), sheets.at(s));
            QCOMPARE(got.value(1).toList(), QVariantList({"Потери ЗОРВАН", 18, false, "", "rt", ""}));
            QCOMPARE(got.value(2).toList(), QVariantList({"Отпуск", 11, true, "center", "lb", "FFAADDAA"}));
            QCOMPARE(got.value(3).toList(), QVariantList({1234.5 * (s + 1), 11, false, "", "", ""}));
            // A width is stored with the padding spreadsheet programs add to it.
            QVERIFY(got.value(4).toDouble() >= 50 + 10 * s && got.value(4).toDouble() < 51 + 10 * s);
            QVERIFY(got.value(5).toDouble() >= 15 && got.value(5).toDouble() < 16);
        }
    }

private:
    TempWorkDir m_dir;
};

QTEST_GUILESS_MAIN(TestWorkbook)
#include "tst_workbook.moc"

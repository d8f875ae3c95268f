// The workbook module: what we write is read back the same, by ourselves and by
// openpyxl with every format; what other programs write is read as a user
// expects.

#include "store/workbook.h"
#include "pythonrunner.h"
#include "testsupport.h"

#include <minizip/zip.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <limits>

using xlsx::Align;
using xlsx::Border;
using xlsx::Document;
using xlsx::Format;

namespace {

// A zip container from (part name, text) pairs.
bool writeZip(const QString& path, const QVector<QPair<QString, QByteArray>>& parts)
{
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const auto& part : parts) {
        const QByteArray name = part.first.toUtf8();
        ok = ok && zipOpenNewFileInZip64(zip, name.constData(), nullptr, nullptr, 0, nullptr, 0,
                                         nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, part.second.constData(), unsigned(part.second.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

const char* const kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// A workbook as another program may write it: prefixed elements, a workbook
// part under its own name, part names in other case, rich and phonetic
// strings, inline and formula strings, booleans, rows and cells without
// references.
QVector<QPair<QString, QByteArray>> foreignParts()
{
    const QByteArray rel = QByteArray(kRelNs);
    return {
        {"[Content_Types].xml", "<?xml version=\"1.0\"?><Types/>"},
        {"_rels/.rels",
         "<Relationships><Relationship Id=\"r1\" Type=\"" + rel + "/officeDocument\" Target=\"XL/Book.xml\"/>"
         "</Relationships>"},
        {"xl/_rels/book.xml.rels",
         "<Relationships>"
         "<Relationship Id=\"rId1\" Type=\"" + rel + "/worksheet\" Target=\"sheets/First.xml\"/>"
         "<Relationship Id=\"rId2\" Type=\"" + rel + "/worksheet\" Target=\"/xl/sheets/second.xml\"/>"
         "<Relationship Id=\"rId3\" Type=\"" + rel + "/sharedStrings\" Target=\"strings.xml\"/>"
         "</Relationships>"},
        {"xl/book.xml",
         "<x:workbook xmlns:x=\"" + QByteArray(kMain) + "\" xmlns:r=\"" + rel + "\"><x:sheets>"
         "<x:sheet name=\"Прочее\" sheetId=\"1\" r:id=\"rId1\"/>"
         "<x:sheet name=\"Лист1\" sheetId=\"2\" r:id=\"rId2\"/></x:sheets></x:workbook>"},
        {"xl/strings.xml",
         "<sst xmlns=\"" + QByteArray(kMain) + "\"><si><t>Заголовок</t></si>"
         "<si><r><rPr><b/></rPr><t>Жир</t></r><r><t xml:space=\"preserve\">ный </t></r></si>"
         "<si/><si><t>漢字</t><rPh sb=\"0\" eb=\"2\"><t>かんじ</t></rPh></si>"
         "<si><t>a_x0009_b</t></si></sst>"},
        {"XL/Sheets/FIRST.XML",
         "<worksheet xmlns=\"" + QByteArray(kMain) + "\"><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
         "</row></sheetData></worksheet>"},
        {"xl/sheets/second.xml",
         "<x:worksheet xmlns:x=\"" + QByteArray(kMain) + "\"><x:sheetData>"
         "<x:row r=\"1\"><x:c r=\"A1\" t=\"s\"><x:v>0</x:v></x:c><x:c r=\"B1\" t=\"s\"><x:v>1</x:v></x:c>"
         "<x:c r=\"C1\" t=\"s\"><x:v>2</x:v></x:c><x:c r=\"D1\" t=\"s\"><x:v>3</x:v></x:c>"
         "<x:c r=\"E1\" t=\"s\"><x:v>4</x:v></x:c><x:c r=\"F1\" t=\"s\"><x:v>99</x:v></x:c></x:row>"
         "<x:row r=\"2\"><x:c r=\"A2\" t=\"inlineStr\"><x:is><x:t> в строке </x:t></x:is></x:c>"
         "<x:c r=\"B2\" t=\"inlineStr\"><x:is><x:r><x:t>по</x:t></x:r><x:r><x:t>частям</x:t></x:r></x:is></x:c>"
         "<x:c r=\"C2\" t=\"str\"><x:f>A1&amp;\"!\"</x:f><x:v>Заголовок!</x:v></x:c>"
         "<x:c r=\"D2\" t=\"b\"><x:v>1</x:v></x:c><x:c r=\"E2\" t=\"b\"><x:v>0</x:v></x:c>"
         "<x:c r=\"F2\" t=\"e\"><x:v>#DIV/0!</x:v></x:c></x:row>"
         "<x:row r=\"4\"><x:c><x:v>1.0E6</x:v></x:c><x:c><x:v>12.000000000000002</x:v></x:c>"
         "<x:c t=\"n\"><x:v>-1.5</x:v></x:c><x:c s=\"1\"/><x:c><x:f>SUM(A4)</x:f></x:c>"
         "<x:c><x:v>0.1</x:v></x:c></x:row>"
         "<x:row><x:c r=\"b5\"><x:v>7</x:v></x:c></x:row>"
         "</x:sheetData></x:worksheet>"},
    };
}

QJsonObject parseJson(const QByteArray& bytes)
{
    return QJsonDocument::fromJson(bytes).object();
}

} // namespace

class TestWorkbook : public QObject
{
    Q_OBJECT

private slots:
    void writtenValuesReadBack_data();
    void writtenValuesReadBack();
    void sheetNames_data();
    void sheetNames();
    void refusedWrites();
    void saveReportsFailure();
    void readsForeignWorkbook_data();
    void readsForeignWorkbook();
    void refusesWhatIsNoWorkbook_data();
    void refusesWhatIsNoWorkbook();
    void openpyxlReadsFormattedWorkbook();
    void readsOpenpyxlWorkbook();

private:
    TempWorkDir m_dir;
};

void TestWorkbook::writtenValuesReadBack_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::newRow("Cyrillic text") << QVariant("Северный РЭС") << "Северный РЭС" << false;
    QTest::newRow("blanks kept") << QVariant("  ТП-1 ") << "  ТП-1 " << false;
    QTest::newRow("digits as text") << QVariant("0012") << "0012" << false;
    QTest::newRow("text with markup") << QVariant("<a & \"b\">") << "<a & \"b\">" << false;
    QTest::newRow("control character") << QVariant("a\x01" "b") << "a\x01" "b" << false;
    QTest::newRow("integer") << QVariant(12.0) << "12" << true;
    QTest::newRow("million") << QVariant(1000000.0) << "1000000" << true;
    QTest::newRow("fraction") << QVariant(1.5) << "1.5" << true;
    QTest::newRow("negative") << QVariant(-0.25) << "-0.25" << true;
    QTest::newRow("binary noise") << QVariant(0.1 + 0.2) << "0.3" << true;
    QTest::newRow("three decimals") << QVariant(123456.789) << "123456.789" << true;
    QTest::newRow("negative zero") << QVariant(-0.0) << "0" << true;
}

void TestWorkbook::writtenValuesReadBack()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QFETCH(bool, number);
    Document out;
    QVERIFY(out.addSheet("Лист1"));
    if (value.type() == QVariant::Double)
        QVERIFY(out.write(3, 2, value.toDouble()));
    else
        QVERIFY(out.write(3, 2, value.toString()));
    QCOMPARE(out.read(3, 2), text);
    const QString file = m_dir.filePath("значения.xlsx");
    QVERIFY2(out.saveAs(file), qPrintable(out.errorString()));
    // Nothing of the save's scratch work stays beside the workbook.
    QCOMPARE(QDir(m_dir.path()).entryList({".workbook-*"}, QDir::Files | QDir::Hidden), QStringList());

    Document in;
    QVERIFY2(in.load(file), qPrintable(in.errorString()));
    QCOMPARE(in.read(3, 2), text);
    QCOMPARE(in.isNumber(3, 2), number);
    QCOMPARE(in.read(2, 3), QString());
    QCOMPARE(in.lastRow(), 3);
}

void TestWorkbook::sheetNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("Cyrillic") << "Сокращенная форма" << true;
    QTest::newRow("31 Cyrillic letters") << QString(31, QChar(0x0416)) << true;
    QTest::newRow("32 letters") << QString(32, QChar('a')) << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("apostrophe first") << "'a" << false;
    QTest::newRow("same name, other case") << "лист1" << false;
}

void TestWorkbook::sheetNames()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    Document doc;
    QVERIFY(doc.addSheet("Лист1"));
    QCOMPARE(doc.addSheet(name), accepted);
    QCOMPARE(doc.sheetNames().size(), accepted ? 2 : 1);
    QCOMPARE(doc.currentSheetName(), accepted ? name : QStringLiteral("Лист1"));
    if (accepted) {
        const QString file = m_dir.filePath("names.xlsx");
        QVERIFY2(doc.saveAs(file), qPrintable(doc.errorString()));
        Document in;
        QVERIFY(in.load(file));
        QCOMPARE(in.sheetNames(), QStringList({"Лист1", name}));
    }
}

void TestWorkbook::refusedWrites()
{
    Document doc;
    QVERIFY(!doc.write(1, 1, QStringLiteral("x")));  // no sheet yet
    QVERIFY(!doc.setColumnWidth(1, 10.0));
    QVERIFY(doc.addSheet("Лист1"));
    QVERIFY(!doc.selectSheet("Нет такого"));
    QCOMPARE(doc.currentSheetName(), QStringLiteral("Лист1"));
    QVERIFY(!doc.write(0, 1, 1.0));
    QVERIFY(!doc.write(1, 0, 1.0));
    QVERIFY(!doc.write(Document::kMaxRows + 1, 1, 1.0));
    QVERIFY(!doc.write(1, Document::kMaxColumns + 1, 1.0));
    QVERIFY(!doc.write(1, 1, std::numeric_limits<double>::quiet_NaN()));
    QVERIFY(!doc.write(1, 1, std::numeric_limits<double>::infinity()));
    QVERIFY(doc.write(Document::kMaxRows, Document::kMaxColumns, 5.0));
    QCOMPARE(doc.lastRow(), Document::kMaxRows);
}

void TestWorkbook::saveReportsFailure()
{
    Document doc;
    QVERIFY(doc.addSheet("Лист1"));
    QVERIFY(doc.write(1, 1, QStringLiteral("x")));
    const QString file = m_dir.filePath("нет папки/книга.xlsx");
    QVERIFY(!doc.saveAs(file));
    QVERIFY(!doc.errorString().isEmpty());
    QVERIFY(!QFileInfo::exists(file));
    QVERIFY(!QFileInfo::exists(m_dir.filePath("нет папки")));
}

void TestWorkbook::readsForeignWorkbook_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    const QString main = QStringLiteral("Лист1");
    QTest::newRow("part found in other case") << "Прочее" << 1 << 1 << "Заголовок" << false;
    QTest::newRow("shared string") << main << 1 << 1 << "Заголовок" << false;
    QTest::newRow("rich text runs") << main << 1 << 2 << "Жирный " << false;
    QTest::newRow("empty shared string") << main << 1 << 3 << "" << false;
    QTest::newRow("phonetic reading left out") << main << 1 << 4 << "漢字" << false;
    QTest::newRow("escaped character") << main << 1 << 5 << "a\tb" << false;
    QTest::newRow("shared string out of range") << main << 1 << 6 << "" << false;
    QTest::newRow("inline string") << main << 2 << 1 << " в строке " << false;
    QTest::newRow("inline runs") << main << 2 << 2 << "почастям" << false;
    QTest::newRow("formula string") << main << 2 << 3 << "Заголовок!" << false;
    QTest::newRow("true") << main << 2 << 4 << "1" << false;
    QTest::newRow("false") << main << 2 << 5 << "0" << false;
    QTest::newRow("error") << main << 2 << 6 << "#DIV/0!" << false;
    QTest::newRow("exponent, cell without reference") << main << 4 << 1 << "1000000" << true;
    QTest::newRow("binary noise") << main << 4 << 2 << "12" << true;
    QTest::newRow("typed number") << main << 4 << 3 << "-1.5" << true;
    QTest::newRow("format only") << main << 4 << 4 << "" << false;
    QTest::newRow("formula without value") << main << 4 << 5 << "" << false;
    QTest::newRow("after the empty ones") << main << 4 << 6 << "0.1" << true;
    QTest::newRow("row without number, lower-case reference") << main << 5 << 2 << "7" << true;
}

void TestWorkbook::readsForeignWorkbook()
{
    QFETCH(QString, sheet);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(bool, number);
    const QString file = m_dir.filePath("чужая.xlsx");
    if (!QFileInfo::exists(file))
        QVERIFY(writeZip(file, foreignParts()));
    Document in;
    QVERIFY2(in.load(file), qPrintable(in.errorString()));
    QCOMPARE(in.sheetNames(), QStringList({"Прочее", "Лист1"}));
    QVERIFY(in.selectSheet(sheet));
    QCOMPARE(in.read(row, column), text);
    QCOMPARE(in.isNumber(row, column), number);
}

void TestWorkbook::refusesWhatIsNoWorkbook_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("text file") << "text";
    QTest::newRow("zip without workbook") << "zip";
    QTest::newRow("damaged sheet XML") << "xml";
    QTest::newRow("cut short") << "cut";
    QTest::newRow("missing") << "missing";
}

void TestWorkbook::refusesWhatIsNoWorkbook()
{
    QFETCH(QString, kind);
    const QString file = m_dir.filePath("плохая-" + kind + ".xlsx");
    if (kind == "text") {
        m_dir.writeFile(QFileInfo(file).fileName(), "npes;nres\n1;2\n");
    } else if (kind == "zip") {
        QVERIFY(writeZip(file, {{"readme.txt", "nothing"}}));
    } else if (kind == "xml") {
        auto parts = foreignParts();
        parts.last().second.chop(20);
        QVERIFY(writeZip(file, parts));
    } else if (kind == "cut") {
        Document doc;
        QVERIFY(doc.addSheet("Лист1"));
        QVERIFY(doc.write(1, 1, QStringLiteral("x")));
        QVERIFY(doc.saveAs(file));
        QFile f(file);
        QVERIFY(f.resize(f.size() / 2));
    }
    Document in;
    QVERIFY(!in.load(file));
    QVERIFY(!in.errorString().isEmpty());
    QVERIFY(in.sheetNames().isEmpty());
    QCOMPARE(in.read(1, 1), QString());
}

void TestWorkbook::openpyxlReadsFormattedWorkbook()
{
    const QString missing = openpyxlMissing();
    if (!missing.isEmpty())
        QSKIP(qPrintable("openpyxl check not run: " + missing));

    // The shapes of the archive export: titles, rules, bordered header cells,
    // filled bold blocks, numbers, widths.
    struct Expected { QString sheet; int row; int column; QVariant value; Format format; };
    QVector<Expected> cells;
    auto fmt = [](bool l, bool r, bool t, bool b, bool bold, const QString& fill) {
        Format f;
        f.setHorizontalAlignment(Align::Center);
        f.setFontBold(bold);
        f.setLeftBorderStyle(l ? Border::Thin : Border::None);
        f.setRightBorderStyle(r ? Border::Thin : Border::None);
        f.setTopBorderStyle(t ? Border::Thin : Border::None);
        f.setBottomBorderStyle(b ? Border::Thin : Border::None);
        f.setPatternBackgroundColor(fill);
        return f;
    };
    Format title;
    title.setFontSize(18);
    Format plain;
    const QStringList sheets = {"Сокращенная форма", "Полная форма", "Форма для отчетов"};
    const QStringList fills = {"#AADDAA", "#EEDDAA", "#DDFFEE", "#FFFFFF"};
    Document doc;
    for (int s = 0; s < sheets.size(); ++s) {
        QVERIFY(doc.addSheet(sheets.at(s)));
        QVERIFY(doc.selectSheet(sheets.at(s)));
        QVERIFY(doc.setColumnWidth(1, 1.0));
        QVERIFY(doc.setColumnWidth(2, 50.0 + 10 * s));
        QVERIFY(doc.setColumnWidth(3, 10, 15.0));
        auto put = [&](int row, int column, const QVariant& value, const Format& format) {
            cells.append({sheets.at(s), row, column, value, format});
            return value.type() == QVariant::Double ? doc.write(row, column, value.toDouble(), format)
                                                    : doc.write(row, column, value.toString(), format);
        };
        QVERIFY(put(1, 2, "Программа расчета потерь электроэнергии в радиальных сетях 35-220 кВ ЗОРВАН", title));
        QVERIFY(put(5, 2, "", fmt(false, false, false, true, true, "")));          // under
        QVERIFY(put(6, 3, "Отпуск эл.энергии", fmt(true, true, false, false, true, "#FFFFFF")));
        QVERIFY(put(7, 7, "", fmt(true, false, false, true, true, "")));           // under-left
        QVERIFY(put(6, 10, "", fmt(false, true, false, true, true, "")));          // under-right
        QVERIFY(put(8, 3, "тыс.квтч", fmt(true, true, false, true, true, "")));   // side-bottom
        for (int k = 0; k < fills.size(); ++k) {
            const bool bold = k < 3;
            QVERIFY(put(9 + k, 2, "Строка " + QString::number(k), fmt(true, true, false, false, bold, fills.at(k))));
            QVERIFY(put(9 + k, 3, 1234.567 * (k + 1), fmt(true, true, false, false, bold, fills.at(k))));
            QVERIFY(put(9 + k, 4, 0.0, fmt(true, true, false, true, bold, fills.at(k))));
        }
        QVERIFY(put(13, 2, "", fmt(false, false, true, false, true, "")));          // over
        QVERIFY(put(13, 1, "Примечание", plain));
    }
    const QString file = m_dir.filePath("Архив потерь Северный РЭС Линия 1.xlsx");
    QVERIFY2(doc.saveAs(file), qPrintable(doc.errorString()));

    const QString script = QStringLiteral(R"(
import sys, json, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
out = {"sheets": wb.sheetnames, "data": {}}
for ws in wb.worksheets:
    cells = {}
    for row in ws.iter_rows():
        for c in row:
            f = c.fill
            cells["%d,%d" % (c.row, c.column)] = {
                "v": c.value, "size": c.font.sz, "bold": bool(c.font.b),
                "h": c.alignment.horizontal or "",
                "l": c.border.left.style or "", "r": c.border.right.style or "",
                "t": c.border.top.style or "", "b": c.border.bottom.style or "",
                "fill": f.fgColor.rgb if f.fill_type == "solid" else ""}
    widths = {k: v.width for k, v in ws.column_dimensions.items()}
    out["data"][ws.title] = {"cells": cells, "widths": widths}
print(json.dumps(out))
)");
    QString error;
    const QJsonObject read = parseJson(runPython(script, {file}, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(read.value("sheets").toVariant().toStringList(), sheets);

    for (const Expected& e : cells) {
        const QJsonObject c = read.value("data").toObject().value(e.sheet).toObject()
                                  .value("cells").toObject()
                                  .value(QString("%1,%2").arg(e.row).arg(e.column)).toObject();
        const QString where = QString("%1 %2,%3").arg(e.sheet).arg(e.row).arg(e.column);
        QVERIFY2(!c.isEmpty(), qPrintable(where));
        if (e.value.type() == QVariant::Double)
            QVERIFY2(qFuzzyCompare(c.value("v").toDouble() + 1, e.value.toDouble() + 1), qPrintable(where));
        else if (e.value.toString().isEmpty())
            QVERIFY2(c.value("v").isNull(), qPrintable(where));
        else
            QCOMPARE(c.value("v").toString(), e.value.toString());
        const Format& f = e.format;
        QCOMPARE(c.value("size").toDouble(), f.fontSize() > 0 ? f.fontSize() : 11.0);
        QCOMPARE(c.value("bold").toBool(), f.fontBold());
        QCOMPARE(c.value("h").toString(), f.horizontalAlignment() == Align::Center ? "center" : "");
        const auto side = [](Border b) { return b == Border::Thin ? QStringLiteral("thin") : QString(); };
        QCOMPARE(c.value("l").toString(), side(f.leftBorderStyle()));
        QCOMPARE(c.value("r").toString(), side(f.rightBorderStyle()));
        QCOMPARE(c.value("t").toString(), side(f.topBorderStyle()));
        QCOMPARE(c.value("b").toString(), side(f.bottomBorderStyle()));
        QCOMPARE(c.value("fill").toString(),
                 f.hasFill() ? QString("FF%1").arg(f.fillRgb(), 6, 16, QChar('0')).toUpper() : QString());
    }
    // A width is stored with the padding spreadsheet programs add to it.
    for (int s = 0; s < sheets.size(); ++s) {
        const QJsonObject widths = read.value("data").toObject().value(sheets.at(s)).toObject()
                                       .value("widths").toObject();
        const QVector<QPair<QString, double>> expected = {
            {"A", 1.0}, {"B", 50.0 + 10 * s}, {"C", 15.0}, {"J", 15.0}};
        for (const auto& w : expected) {
            const double stored = widths.value(w.first).toDouble();
            QVERIFY2(stored >= w.second && stored < w.second + 1.0,
                     qPrintable(QString("%1 %2: %3").arg(sheets.at(s), w.first).arg(stored)));
        }
    }
}

void TestWorkbook::readsOpenpyxlWorkbook()
{
    const QString missing = openpyxlMissing();
    if (!missing.isEmpty())
        QSKIP(qPrintable("openpyxl check not run: " + missing));
    const QString file = m_dir.filePath("из openpyxl.xlsx");
    QString error;
    runPython(QStringLiteral(R"(
import sys, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.title = "Данные"
ws["A1"] = "Нагрузки"
ws["B2"] = 12
ws["C2"] = 1000000
ws["D2"] = 1.5
ws["E2"] = True
ws["F2"] = "=B2*2"
wb.create_sheet("Лист1")["C3"] = "ТП-10/0,4"
wb.save(sys.argv[1])
)"), {file}, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    Document in;
    QVERIFY2(in.load(file), qPrintable(in.errorString()));
    QCOMPARE(in.sheetNames(), QStringList({"Данные", "Лист1"}));
    QCOMPARE(in.read(1, 1), QStringLiteral("Нагрузки"));
    QCOMPARE(in.read(2, 2), QStringLiteral("12"));
    QCOMPARE(in.read(2, 3), QStringLiteral("1000000"));
    QCOMPARE(in.read(2, 4), QStringLiteral("1.5"));
    QCOMPARE(in.read(2, 5), QStringLiteral("1"));
    QCOMPARE(in.read(2, 6), QString());  // a formula nobody has calculated yet
    QVERIFY(in.selectSheet("Лист1"));
    QCOMPARE(in.read(3, 3), QStringLiteral("ТП-10/0,4"));
}

QTEST_GUILESS_MAIN(TestWorkbook)
#include "tst_workbook.moc"

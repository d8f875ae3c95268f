// The archive workbook as openpyxl reads it: values, fills, rules, widths,
// bold and font sizes of every kind of cell on the three sheets.

#include "reference/arxivworkbook.h"
#include "store/readregim.h"

#include "pythonrunner.h"
#include "testsupport.h"

#include <QJsonDocument>
#include <QtTest>

namespace {

// id, name, then lenerp, ener_Sob, ener_stor, L, T, load, X, I, no-load, all;
// the power columns stay empty.
QStringList archiveRow(const QString& id, const QString& name, const QStringList& values)
{
    QStringList row = QStringList{id, name} + values;
    while (row.size() < attrArx.size())
        row << QString();
    return row;
}

} // namespace

class TestArxivWorkbook : public QObject
{
    Q_OBJECT

private slots:
    void cells_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("cell");
        // value ("" for none), font size, bold, rules (l r t b), fill
        QTest::addColumn<QVariantList>("expected");
        const QString line = "FFFFFFFF", total = "FFAADDAA";
        const auto add = [](const char* sheet, const char* cell, const QVariantList& expected) {
            QTest::addRow("%s %s", sheet, cell) << QString::fromUtf8(sheet) << QString(cell) << expected;
        };
        for (const char* sheet : {"Сокращенная форма", "Полная форма", "Форма для отчетов"}) {
            add(sheet, "B1", {"Программа расчета потерь электроэнергии в радиальных сетях 35-220 кВ ЗОРВАН", 18, false, "", ""});
            add(sheet, "C3", {"Расчет потерь электроэнергии (архив)  Северный РЭС Л-5", 14, false, "", ""});
            add(sheet, "C4", {"Расчетный период: январь: март: 2023 года", 12, false, "", ""});
            add(sheet, "J5", {"", 11, true, "b", ""});
        }
        add("Сокращенная форма", "C6", {"Отпуск эл.энергии", 11, true, "lr", ""});
        add("Сокращенная форма", "J6", {"", 11, true, "rb", ""});
        add("Сокращенная форма", "G7", {"", 11, true, "lb", ""});
        add("Сокращенная форма", "J8", {"Всего", 11, true, "lrb", ""});
        add("Сокращенная форма", "B9", {"Линия 1", 11, false, "lr", line});
        add("Сокращенная форма", "J9", {35, 11, false, "lr", line});
        add("Сокращенная форма", "C10", {150, 11, false, "lrb", line});
        add("Сокращенная форма", "J10", {17.5, 11, false, "lrb", line});
        add("Сокращенная форма", "B11", {"Всего", 11, true, "lr", total});
        add("Сокращенная форма", "D12", {0, 11, true, "lrb", total});
        add("Сокращенная форма", "J13", {"", 11, true, "t", ""});
        add("Сокращенная форма", "A13", {"примечание", 11, false, "", ""});
        add("Полная форма", "C6", {"Отпуск эл.энергии", 11, true, "lr", line});
        add("Полная форма", "D6", {"Потери", 11, true, "lb", ""});
        // Minimum, mean and maximum: only the mean row, name and supply bold.
        add("Полная форма", "C9", {200, 11, true, "lr", line});
        add("Полная форма", "F9", {29.257, 11, false, "lr", line});
        add("Полная форма", "B10", {"Линия 1", 11, true, "lr", line});
        add("Полная форма", "F10", {30, 11, true, "lr", line});
        add("Полная форма", "F11", {30.743, 11, false, "lrb", line});
        add("Полная форма", "I9", {4.78, 11, false, "lr", line});
        add("Полная форма", "J9", {34.24, 11, false, "lr", line});
        add("Полная форма", "J11", {35.76, 11, false, "lrb", line});
        add("Полная форма", "K9", {14.63, 11, false, "lr", line});
        add("Полная форма", "L11", {2.61, 11, false, "lrb", line});
        add("Полная форма", "M10", {17.5, 11, true, "lr", line});
        add("Полная форма", "M11", {17.88, 11, false, "lrb", line});
        // Without supply the shares are 0, the ranges still shown.
        add("Полная форма", "D12", {9.75, 11, false, "lr", total});
        add("Полная форма", "K14", {0, 11, false, "lrb", total});
        add("Полная форма", "A15", {"примечание", 11, false, "", ""});
        add("Форма для отчетов", "E6", {"Транзит", 11, true, "lr", line});
        add("Форма для отчетов", "E9", {50, 11, false, "lr", line});
        add("Форма для отчетов", "L10", {10, 11, true, "lr", total});
        add("Форма для отчетов", "L11", {"", 11, true, "t", ""});
        add("Форма для отчетов", "A11", {"примечание", 11, false, "", ""});
    }

    void cells()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, cell);
        QFETCH(QVariantList, expected);
        QCOMPARE(m_cells.value(sheet).toMap().value(cell).toList(), expected);
    }

    void widths()
    {
        QCOMPARE(m_cells.value("widths").toList(),
                 QVariantList({1, 50, 15, 1, 50, 12, 10, 10, 1, 60, 15}));
    }

    void initTestCase()
    {
        const QString missing = openpyxlMissing();
        if (!missing.isEmpty())
            QSKIP(qPrintable("openpyxl check not run: " + missing));
        const QString file = m_dir.filePath("book.xlsx");
        const QVector<QStringList> rows = {
            archiveRow("1,1,1", "Линия 1", {"200", "150", "50", "10", "20", "30", "4", "1", "5", "35"}),
            archiveRow("SUM", "Всего", {"0", "0", "0", "10", "nan", "10", "0", "0", "0", "10"})};
        QVERIFY(writeArxivWorkbook(file, rows, {"Северный РЭС", "Л-5"}, "январь: март: 2023 года", "примечание"));
        QString error;
        const QByteArray out = runPython(QStringLiteral(R"(
import sys, json, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
def cell(c):
    b = c.border
    rules = (("l", b.left), ("r", b.right), ("t", b.top), ("b", b.bottom))
    return ["" if c.value is None else c.value, c.font.sz, bool(c.font.b),
            "".join(k for k, side in rules if side.style == "thin"),
            c.fill.fgColor.rgb if c.fill.fill_type == "solid" else ""]
out = {ws.title: {c.coordinate: cell(c) for row in ws.iter_rows() for c in row} for ws in book.worksheets}
out["widths"] = [int(ws.column_dimensions[k].width) for ws, keys in zip(book.worksheets,
                 ("ABJ", "ABDKN", "ABL")) for k in keys]
print(json.dumps(out))
)"), {file}, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_cells = QJsonDocument::fromJson(out).toVariant().toMap();
        QCOMPARE(m_cells.keys(), QStringList({"widths", "Полная форма", "Сокращенная форма", "Форма для отчетов"}));
    }

private:
    TempWorkDir m_dir;
    QVariantMap m_cells;
};

QTEST_GUILESS_MAIN(TestArxivWorkbook)
#include "tst_arxivworkbook.moc"

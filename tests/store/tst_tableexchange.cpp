// Tables to and from an .xlsx workbook and a ";"-separated text file, as the
// load exchange of a RES uses them.

#include "store/readregim.h"
#include "store/tableexchange.h"
#include "store/workbook.h"
#include "pythonrunner.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

using Rows = QVector<QStringList>;

namespace {

const QStringList kHeader = {"*Кодировка npes", "nres", "nzp", "название", "начало", "конец ветви",
                             "марка", " Pнаг", "Qнаг", "WPген", "WQген"};

// A sheet "Лист1" of the given cells; a double is written as a number.
void writeSheet(const QString& file, const QList<QVariantList>& rows)
{
    xlsx::Document doc;
    QVERIFY(doc.addSheet("Лист1"));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.at(r).size(); ++c) {
            const QVariant& v = rows.at(r).at(c);
            QVERIFY(v.type() == QVariant::Double ? doc.write(r + 1, c + 1, v.toDouble())
                                                 : doc.write(r + 1, c + 1, v.toString()));
        }
    }
    QVERIFY(doc.saveAs(file));
}

} // namespace

class TestTableExchange : public QObject
{
    Q_OBJECT

private slots:
    void xlsxRoundTrip();
    void exportReplacesAnOlderLongerOne();
    void exportFailureIsReported();
    void importedRows_data();
    void importedRows();
    void importTakesLeadingSheetWithoutLoadSheet();
    void importFailures_data();
    void importFailures();
    void openpyxlReadsExport();
    void importsOpenpyxlWorkbook();
    void saveCsv_data();
    void saveCsv();
    void saveCsvFailure();
    void loadCsv();
    void loadCsvMissing();

private:
    TempWorkDir m_dir;
};

void TestTableExchange::xlsxRoundTrip()
{
    MessageRecorder messages;
    const QString file = m_dir.filePath("Северный РЭС - нагрузки.xlsx");
    const Rows rows = {kHeader,
                       {"1", "2", "10", "ТП-1 ", "1", "2", "ТМ-100", "12", "0.5", "1000000", "1.5"},
                       {"1", "2", "11", "ТП; резерв", "3", "4"}};
    QVERIFY(SaveXlsx(file, rows));
    QVERIFY(messages.messages.isEmpty());

    // Each row to its own length, every cell as text.
    xlsx::Document in;
    QVERIFY(in.load(file));
    QCOMPARE(in.sheetNames(), QStringList{"Лист1"});
    QCOMPARE(in.read(1, 8), QStringLiteral(" Pнаг"));
    QCOMPARE(in.read(3, 6), QStringLiteral("4"));
    QVERIFY(!in.isNumber(2, 10));
    QCOMPARE(in.read(3, 7), QString());

    QCOMPARE(LoadXlsx(file, 11),
             QStringList({"1;2;10;ТП-1;1;2;ТМ-100;12;0.5;1000000;1.5;",
                          "1;2;11;ТП, резерв;3;4;;;;;;"}));
    for (const QString& text : LoadXlsx(file, 11))
        QCOMPARE(text.split(';').size(), 12);
    QVERIFY(messages.messages.isEmpty());
}

void TestTableExchange::exportReplacesAnOlderLongerOne()
{
    MessageRecorder messages;
    const QString file = m_dir.filePath("замена - нагрузки.xlsx");
    Rows rows = {kHeader};
    for (int i = 1; i <= 5; ++i)
        rows.append({"1", "2", QString::number(i)});
    QVERIFY(SaveXlsx(file, rows));
    QCOMPARE(LoadXlsx(file, 3).size(), 5);

    QVERIFY(SaveXlsx(file, {kHeader, {"1", "2", "7"}, {"1", "2", "8"}}));
    QCOMPARE(LoadXlsx(file, 3), QStringList({"1;2;7;", "1;2;8;"}));
    QVERIFY(messages.messages.isEmpty());
}

void TestTableExchange::exportFailureIsReported()
{
    MessageRecorder messages;
    const QString file = m_dir.filePath("нет папки/РЭС - нагрузки.xlsx");
    QVERIFY(!SaveXlsx(file, {kHeader}));
    QCOMPARE(messages.warnings(), QStringList{"Ошибка|Невозможно создать файл -" + file});
    QVERIFY(!QFileInfo::exists(file));
}


void TestTableExchange::importedRows_data()
{
    QTest::addColumn<QList<QVariantList>>("sheet");
    QTest::addColumn<int>("n");
    QTest::addColumn<QStringList>("expected");
    const QVariantList header = {"*Кодировка npes", "nres"};
    QTest::newRow("header only") << QList<QVariantList>{header} << 2 << QStringList();
    QTest::newRow("empty first cell of row 2 ends at once")
        << QList<QVariantList>{header, {"", "x"}, {"a", "b"}} << 2 << QStringList();
    QTest::newRow("blank first cell ends the data")
        << QList<QVariantList>{header, {"a"}, {"   ", "b"}, {"c"}} << 1 << QStringList{"a;"};
    QTest::newRow("values trimmed, each followed by ;")
        << QList<QVariantList>{header, {" a ", "b ", " c"}} << 3 << QStringList{"a;b;c;"};
    QTest::newRow("; inside a value becomes ,")
        << QList<QVariantList>{header, {"1", "ТП-5; старая"}} << 2 << QStringList{"1;ТП-5, старая;"};
    QTest::newRow("cells beyond the row are empty")
        << QList<QVariantList>{header, {"a"}} << 3 << QStringList{"a;;;"};
    QTest::newRow("numbers as short text")
        << QList<QVariantList>{header, {12.0, 1000000.0, 1.5, 0.1 + 0.2}} << 4
        << QStringList{"12;1000000;1.5;0.3;"};
}

void TestTableExchange::importedRows()
{
    QFETCH(QList<QVariantList>, sheet);
    QFETCH(int, n);
    QFETCH(QStringList, expected);
    MessageRecorder messages;
    const QString file = m_dir.filePath(QString("импорт %1.xlsx").arg(QTest::currentDataTag()).remove(';'));
    writeSheet(file, sheet);
    QCOMPARE(LoadXlsx(file, n), expected);
    QVERIFY(messages.messages.isEmpty());
}

void TestTableExchange::importTakesLeadingSheetWithoutLoadSheet()
{
    MessageRecorder messages;
    xlsx::Document doc;
    QVERIFY(doc.addSheet("Прочее"));
    QVERIFY(doc.write(2, 1, QStringLiteral("первый")));
    QVERIFY(doc.addSheet("Лист1"));
    QVERIFY(doc.write(2, 1, QStringLiteral("нужный")));
    const QString both = m_dir.filePath("два листа.xlsx");
    QVERIFY(doc.saveAs(both));
    QCOMPARE(LoadXlsx(both, 1), QStringList{"нужный;"});

    xlsx::Document other;
    QVERIFY(other.addSheet("Sheet1"));
    QVERIFY(other.write(2, 1, QStringLiteral("единственный")));
    QVERIFY(other.addSheet("Sheet2"));
    QVERIFY(other.write(2, 1, QStringLiteral("второй")));
    const QString without = m_dir.filePath("без листа1.xlsx");
    QVERIFY(other.saveAs(without));
    QCOMPARE(LoadXlsx(without, 1), QStringList{"единственный;"});
    QVERIFY(messages.messages.isEmpty());
}

void TestTableExchange::importFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");  // null: no file
    QTest::addColumn<QString>("text");
    QTest::newRow("missing") << "нет - нагрузки.xlsx" << QByteArray() << "Файл не найден ";
    QTest::newRow("text, not a workbook") << "текст - нагрузки.xlsx" << QByteArray("1;2;3\n")
                                          << "Ошибка чтения файла ";
    QTest::newRow("empty file") << "пустой - нагрузки.xlsx" << QByteArray("") << "Ошибка чтения файла ";
}

void TestTableExchange::importFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, text);
    MessageRecorder messages;
    if (!content.isNull())
        m_dir.writeFile(name, content);
    const QString file = m_dir.filePath(name);
    QCOMPARE(LoadXlsx(file, 11), QStringList());
    QCOMPARE(messages.warnings(), QStringList{"Ошибка|" + text + file});
}

void TestTableExchange::openpyxlReadsExport()
{
    const QString missing = openpyxlMissing();
    if (!missing.isEmpty())
        QSKIP(qPrintable("openpyxl check not run: " + missing));
    MessageRecorder messages;
    const QString file = m_dir.filePath("Южный РЭС - нагрузки.xlsx");
    const Rows rows = {kHeader, {"1", "2", "10", "ТП-1", "1", "2", "ТМ-100", "12", "0.5", "1000000", "1.5"},
                       {"1", "2", "11"}};
    QVERIFY(SaveXlsx(file, rows));
    QString error;
    const QByteArray out = runPython(QStringLiteral(R"(
import sys, json, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb["Лист1"]
rows = [[c.value if c.data_type == "s" else ["not text", c.value] for c in row if c.value is not None]
        for row in ws.iter_rows()]
print(json.dumps({"sheets": wb.sheetnames, "rows": rows}))
)"), {file}, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QJsonObject read = QJsonDocument::fromJson(out).object();
    QCOMPARE(read.value("sheets").toVariant().toStringList(), QStringList{"Лист1"});
    const QJsonArray readRows = read.value("rows").toArray();
    QCOMPARE(readRows.size(), rows.size());
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(readRows.at(i).toVariant().toStringList(), rows.at(i));
}

void TestTableExchange::importsOpenpyxlWorkbook()
{
    const QString missing = openpyxlMissing();
    if (!missing.isEmpty())
        QSKIP(qPrintable("openpyxl check not run: " + missing));
    MessageRecorder messages;
    const QString file = m_dir.filePath("Западный РЭС - нагрузки.xlsx");
    QString error;
    runPython(QStringLiteral(R"(
import sys, openpyxl
wb = openpyxl.Workbook()
wb.active.title = "Прочее"
wb.active["A2"] = "не отсюда"
ws = wb.create_sheet("Лист1")
ws.append(["*Кодировка npes", "nres", "nzp", "название", "начало", "конец ветви",
           "марка", " Pнаг", "Qнаг", "WPген", "WQген"])
ws.append([1, 2, 10, "ТП-1", 1, 2, "ТМ-100", 12, 0.5, 1000000, 1.5])
ws.append([" 1 ", "2", "11", "ТП-2; новая", "3", "4", None, -3, 0, 2.25, 1e-3])
ws.append([None, 2, 12, "после пустой", 5, 6])
ws.append([1, 2, 13, "не читается", 7, 8])
wb.save(sys.argv[1])
)"), {file}, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(LoadXlsx(file, 11),
             QStringList({"1;2;10;ТП-1;1;2;ТМ-100;12;0.5;1000000;1.5;",
                          "1;2;11;ТП-2, новая;3;4;;-3;0;2.25;0.001;"}));
    QVERIFY(messages.messages.isEmpty());
}

void TestTableExchange::saveCsv_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("rows of different lengths")
        << Rows{{"1", "ТП-1", "12.5"}, {"2"}, {"3", "", "x"}}
        << QByteArray("*npes;name;p\n1;ТП-1;12.5\n2\n3;;x\n");
    QTest::newRow("no rows") << Rows{} << QByteArray("*npes;name;p\n");
}

void TestTableExchange::saveCsv()
{
    QFETCH(Rows, rows);
    QFETCH(QByteArray, bytes);
    MessageRecorder messages;
    const QString file = m_dir.filePath("Северный РЭС.csv");
    m_dir.writeFile("Северный РЭС.csv", "старое содержимое, длиннее нового........................\n");
    SaveCsv(file, rows, "*npes;name;p");
    QCOMPARE(m_dir.readFile("Северный РЭС.csv"), bytes);
    QCOMPARE(messages.warnings(), QStringList{"Информация|Данные сохранены в файл " + file});

    // Read back: the header is a comment, the rows come back as lines.
    messages.clear();
    QStringList lines;
    for (const QStringList& row : rows)
        lines.append(row.join(';'));
    QCOMPARE(LoadCsv(file), lines);
    QVERIFY(messages.messages.isEmpty());
}

void TestTableExchange::saveCsvFailure()
{
    MessageRecorder messages;
    const QString file = m_dir.filePath("нет папки/данные.csv");
    SaveCsv(file, {{"1"}}, "*h");
    QCOMPARE(messages.warnings(), QStringList{"Ошибка|Ошибка открытия файла " + file});
    QVERIFY(!QFileInfo::exists(file));
}

void TestTableExchange::loadCsv()
{
    MessageRecorder messages;
    m_dir.writeFile("ввод.csv", "*npes;name\n\n1;ТП-1\r\n* ещё комментарий\n 2;ТП-2 ");
    QCOMPARE(LoadCsv(m_dir.filePath("ввод.csv")), QStringList({"", "1;ТП-1", " 2;ТП-2 "}));
    m_dir.writeFile("bom.csv", "\xEF\xBB\xBF" "1;А\n");
    QCOMPARE(LoadCsv(m_dir.filePath("bom.csv")), QStringList{"1;А"});
    QVERIFY(messages.messages.isEmpty());
}

void TestTableExchange::loadCsvMissing()
{
    MessageRecorder messages;
    const QString file = m_dir.filePath("нет.csv");
    QCOMPARE(LoadCsv(file), QStringList());
    QCOMPARE(messages.warnings(), QStringList{"Ошибка|Ошибка чтения файла " + file});
}

QTEST_GUILESS_MAIN(TestTableExchange)
#include "tst_tableexchange.moc"

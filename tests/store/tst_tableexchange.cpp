// Tables to and from an .xlsx workbook and a ";"-separated text file, as the
// load exchange of a RES uses them.

#include "store/tableexchange.h"
#include "pythonrunner.h"
#include "testsupport.h"

#include <QtTest>

using Rows = QVector<QStringList>;

class TestTableExchange : public QObject
{
    Q_OBJECT

private slots:
    // A fresh "Лист1" replaces a longer export; cells come back trimmed, ";"
    // inside a value as ",". What cannot be written or read is reported.
    void xlsxRoundTripAndFailures()
    {
        MessageRecorder messages;
        const QString file = m_dir.filePath("Северный РЭС - нагрузки.xlsx");
        QVERIFY(SaveXlsx(file, {{"h"}, {"1"}, {"2"}, {"3"}, {"4"}}));
        QVERIFY(SaveXlsx(file, {{"*Кодировка npes", "nres", "nzp", "название"},
                                {"1", "2", "10", " ТП-1 <А&Б>", "12", "0.5", "1000000"},
                                {"1", "2", "11", "ТП; резерв"}}));
        QCOMPARE(LoadXlsx(file, 7), QStringList({"1;2;10;ТП-1 <А&Б>;12;0.5;1000000;",
                                                 "1;2;11;ТП, резерв;;;;"}));
        const QString unwritable = m_dir.filePath("нет папки/РЭС - нагрузки.xlsx"),
                      missing = m_dir.filePath("нет - нагрузки.xlsx"), text = m_dir.filePath("текст - нагрузки.xlsx");
        m_dir.writeFile("текст - нагрузки.xlsx", "1;2;3\n");
        QVERIFY(!SaveXlsx(unwritable, {{"h"}}));
        QCOMPARE(LoadXlsx(missing, 11), QStringList());
        QCOMPARE(LoadXlsx(text, 11), QStringList());
        QCOMPARE(messages.warnings(), QStringList({"Ошибка|Невозможно создать файл -" + unwritable,
                                                   "Ошибка|Файл не найден " + missing,
                                                   "Ошибка|Ошибка чтения файла " + text}));
    }

    // As openpyxl writes it: shared strings, numbers, "Лист1" not the first
    // sheet, an empty first cell ending the data; further on, rows numbered as
    // far as an int goes, then one without a number, read without overflowing.
    void importsOpenpyxlWorkbook()
    {
        const QString missing = openpyxlMissing();
        if (!missing.isEmpty())
            QSKIP(qPrintable("openpyxl check not run: " + missing));
        MessageRecorder messages;
        const QString file = m_dir.filePath("Западный РЭС - нагрузки.xlsx");
        QString error;
        runPython(QStringLiteral(R"(
import sys, openpyxl, zipfile
wb = openpyxl.Workbook()
wb.active.title = "Прочее"
wb.active["A2"] = "не отсюда"
ws = wb.create_sheet("Лист1")
ws.append(["*Кодировка npes", "nres", "nzp", "название", "P", "Q", "W"])
ws.append([1, 2, 10, "ТП-1", 12, 0.5, 1000000])
ws.append([" 1 ", "2", "11", "ТП-2; новая", -3, 2.25, 1e-3])
ws.append([None, 2, 12, "после пустой"])
wb.save(sys.argv[1])
with zipfile.ZipFile(sys.argv[1]) as z:
    items = [(i, z.read(i.filename)) for i in z.infolist()]
far = b'<row r="2147483647"><c r="A2147483647" t="inlineStr"><is><t>x</t></is></c></row><row><c t="inlineStr"><is><t>y</t></is></c></row>'
with zipfile.ZipFile(sys.argv[1], "w") as z:
    for info, data in items:
        z.writestr(info, data.replace(b"</sheetData>", far + b"</sheetData>") if info.filename.endswith("sheet2.xml") else data)
)"), {file}, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(LoadXlsx(file, 7), QStringList({"1;2;10;ТП-1;12;0.5;1000000;",
                                                 "1;2;11;ТП-2, новая;-3;2.25;0.001;"}));
        QVERIFY(messages.messages.isEmpty());
    }

    void csvRoundTrip()
    {
        MessageRecorder messages;
        const QString file = m_dir.filePath("Северный РЭС.csv");
        m_dir.writeFile("Северный РЭС.csv", "старое содержимое, длиннее нового........................\n");
        SaveCsv(file, {{"1", "ТП-1", "12.5"}, {"2"}, {"3", "", "x"}}, "*npes;name;p");
        QCOMPARE(m_dir.readFile("Северный РЭС.csv"), QByteArray("*npes;name;p\n1;ТП-1;12.5\n2\n3;;x\n"));
        QCOMPARE(messages.warnings(), QStringList{"Информация|Данные сохранены в файл " + file});
        // The header is a comment; the rows come back as lines.
        QCOMPARE(LoadCsv(file), QStringList({"1;ТП-1;12.5", "2", "3;;x"}));
    }

private:
    TempWorkDir m_dir;
};

QTEST_GUILESS_MAIN(TestTableExchange)
#include "tst_tableexchange.moc"

// A RES's loads to and from an .xlsx workbook and a ";"-separated text file.

#include "store/tableexchange.h"
#include "pythonrunner.h"
#include "storetest.h"

class TestTableExchange : public QObject
{
    Q_OBJECT

private slots:
    // Each file replaces a longer one; cells come back trimmed, ";" in a value as
    // ","; the text header is a comment. What cannot be written or read is reported.
    void roundTripsAndFailures()
    {
        Scratch work;
        const QString file = work.filePath("Северный РЭС - нагрузки.xlsx");
        QVERIFY(SaveXlsx(file, {{"h"}, {"1"}, {"2"}, {"3"}, {"4"}}));
        QVERIFY(SaveXlsx(file, {{"*Кодировка npes", "nres", "nzp", "название"},
                                {"1", "2", "10", " ТП-1 <А&Б>", "12", "0.5", "1000000"},
                                {"1", "2", "11", "ТП; резерв"}}));
        QCOMPARE(LoadXlsx(file, 7), QStringList({"1;2;10;ТП-1 <А&Б>;12;0.5;1000000;", "1;2;11;ТП, резерв;;;;"}));
        const QString csv = work.filePath("Северный РЭС.csv");
        work.writeFile("Северный РЭС.csv", "старое содержимое, длиннее нового........................\n");
        SaveCsv(csv, {{"1", "ТП-1", "12.5"}, {"2"}, {"3", "", "x"}}, "*npes;name;p");
        QCOMPARE(work.readFile("Северный РЭС.csv"), QByteArray("*npes;name;p\n1;ТП-1;12.5\n2\n3;;x\n"));
        QCOMPARE(LoadCsv(csv), QStringList({"1;ТП-1;12.5", "2", "3;;x"}));

        const QString unwritable = work.filePath("нет папки/РЭС - нагрузки.xlsx"),
                      missing = work.filePath("нет - нагрузки.xlsx"), text = work.filePath("текст - нагрузки.xlsx");
        work.writeFile("текст - нагрузки.xlsx", "1;2;3\n");
        QVERIFY(!SaveXlsx(unwritable, {{"h"}}));
        QVERIFY(LoadXlsx(missing, 11).isEmpty() && LoadXlsx(text, 11).isEmpty());
        QCOMPARE(work.warnings(), QStringList({"Информация|Данные сохранены в файл " + csv,
                                               "Ошибка|Невозможно создать файл -" + unwritable,
                                               "Ошибка|Файл не найден " + missing, "Ошибка|Ошибка чтения файла " + text}));
    }

    // Shared strings, numbers, "Лист1" not first, an empty first cell ending the
    // data; past it rows numbered up to the int limit, then one unnumbered.
    void importsOpenpyxlWorkbook()
    {
        const QString missing = openpyxlMissing();
        if (!missing.isEmpty())
            QSKIP(qPrintable("openpyxl check not run: " + missing));
        Scratch work;
        const QString file = work.filePath("Западный РЭС - нагрузки.xlsx");
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
        QVERIFY(work.messages.isEmpty());
    }

    // A workbook written by hand as other programs may write it: cells without references, so
    // every row starts again at column A after the skipped header row; each kind of cell value.
    void importsEveryCellType()
    {
        const QString missing = openpyxlMissing();
        if (!missing.isEmpty())
            QSKIP(qPrintable("python check not run: " + missing));
        Scratch work;
        const QString file = work.filePath("Южный РЭС - нагрузки.xlsx");
        QString error;
        runPython(QStringLiteral(R"(
import sys, re, zipfile, openpyxl
wb = openpyxl.Workbook()
wb.active.title = "Лист1"
wb.save(sys.argv[1])
def inline(text):
    return '<c t="inlineStr"><is><t>%s</t></is></c>' % text
rows = ["<row>" + "".join(inline("h%d" % i) for i in range(9)) + "</row>",
        '<row><c t="s"><v>0</v></c>' + inline(" 2 ") + '<c t="b"><v>true</v></c><c t="str"><v>007</v></c>'
        '<c t="e"><v>#DIV/0!</v></c><c t="d"><v>2024-01-31T00:00:00</v></c><c s="1"><v>45322</v></c><c><v>1.5E3</v></c></row>',
        '<row><c t="s"><v>1</v></c><c><v>7</v></c></row>']
with zipfile.ZipFile(sys.argv[1]) as z:
    parts = {i.filename: z.read(i.filename).decode() for i in z.infolist()}
sheet = parts["xl/worksheets/sheet1.xml"]
ns = sheet[sheet.index("xmlns="):].split(">")[0].split(" ")[0]
parts["xl/worksheets/sheet1.xml"] = re.sub("<sheetData.*</sheetData>|<sheetData/>", "<sheetData>" + "".join(rows) + "</sheetData>", sheet, flags=re.S)
parts["xl/sharedStrings.xml"] = ('<sst %s><si><t>ТП-1</t></si><si><r><t>ТП</t></r><r><rPr><b/></rPr><t>-2</t></r>'
                                 '<rPh><t>x</t></rPh></si></sst>' % ns)
kind = parts["xl/_rels/workbook.xml.rels"].split("/worksheet")[0].rsplit("Type=", 1)[1][1:]
parts["xl/_rels/workbook.xml.rels"] = parts["xl/_rels/workbook.xml.rels"].replace(
    "</Relationships>", '<Relationship Id="rIdS" Type="%s/sharedStrings" Target="sharedStrings.xml"/></Relationships>' % kind)
with zipfile.ZipFile(sys.argv[1], "w") as z:
    for name, data in parts.items():
        z.writestr(name, data)
)"), {file}, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(LoadXlsx(file, 9), QStringList({"ТП-1;2;1;007;#DIV/0!;2024-01-31T00:00:00;45322;1500;;",
                                                 "ТП-2;7;;;;;;;;"}));
        QVERIFY(work.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTableExchange)
#include "tst_tableexchange.moc"

// Reading and writing the XML table files.

#include "store/readregim.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

class TestTableFiles : public QObject
{
    Q_OBJECT

private slots:
    void attributeLists();
    void readsRowsWhereverTheyStand();
    void readsChosenColumns_data();
    void readsChosenColumns();
    void truncatedFileGivesRowsBeforeTheBreak();
    void blankFileIsAnEmptyTable();
    void missingFileWarns();
    void writesTheDocumentByteForByte();
    void backupHoldsPreviousContents();
    void refusesEmptyTableAndShortRow_data();
    void refusesEmptyTableAndShortRow();
    void explicitEmptyWriteKeepsRootOnly();
    void dropsCharactersXmlCannotCarry();
    void failedWriteKeepsOldFile();
    void examplesReadWithoutWarning();
};

void TestTableFiles::attributeLists()
{
    QCOMPARE(attrPES.size(), 2);
    QCOMPARE(attrRES.size(), 6);
    QCOMPARE(attrLin.size(), 17);
    QCOMPARE(attrUchLin.size(), 18);
    QCOMPARE(attrArx.size(), 18);
    QCOMPARE(attrL.size(), 8);
    QCOMPARE(attrTR.size(), 11);
    QCOMPARE(attrUchLin.last(), QStringLiteral("key"));
    QVERIFY(NPES.isEmpty() && NRES.isEmpty() && NLIN.isEmpty());
    QCOMPARE(UROV, 0);
}

void TestTableFiles::readsRowsWhereverTheyStand()
{
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("pes.xml",
                  "<?xml version=\"1.0\"?>\n<anything>\n"
                  "  <PES npes=\" 1 \" name=\"Северные\"/>\n"
                  "  <group><deeper><PES name=\"Южные\" npes=\"2\" extra=\"x\"/></deeper></group>\n"
                  "  <pes npes=\"3\" name=\"case differs\"/>\n"
                  "  <PES npes=\"4\"/>\n"
                  "</anything>\n");
    bool xmlError = true;
    const Table rows = ReadShablonXML("pes", attrPES, "PES", &xmlError);
    QVERIFY(!xmlError);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0), QStringList({"1", "Северные"}));
    QCOMPARE(rows.at(1), QStringList({"2", "Южные"}));
    QCOMPARE(rows.at(2), QStringList({"4", ""}));
    QVERIFY(rec.messages.isEmpty());
}

void TestTableFiles::readsChosenColumns_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("subset in another order") << QStringList({"unom", "nlin", "npes"})
                                             << QStringList({"110", "7", "1"});
    QTest::newRow("unknown names") << QStringList({"nothing", "name", "other"})
                                   << QStringList({"", "Линия 7", ""});
    QTest::newRow("a name twice") << QStringList({"nlin", "nlin"}) << QStringList({"7", "7"});
}

void TestTableFiles::readsChosenColumns()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("lines.xml", "<r><LIN npes=\"1\" nres=\"2\" nlin=\"7\" name=\" Линия 7\" "
                               "unom=\"110 \"/></r>");
    const Table rows = ReadShablonXML("lines", names, "LIN");
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0), expected);
}

void TestTableFiles::truncatedFileGivesRowsBeforeTheBreak()
{
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("res.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<net>\n"
                             "  <RES npes=\"1\" nres=\"1\" name=\"А\"/>\n"
                             "  <RES npes=\"1\" nres=\"2\" name=\"Б\"/>\n"
                             "  <RES npes=\"1\" nres=\"3\" na");
    bool xmlError = false;
    const Table rows = ReadShablonXML("res", attrRES, "RES", &xmlError);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(1).at(2), QStringLiteral("Б"));
    QVERIFY(xmlError);
    QCOMPARE(rec.warnings(),
             QStringList("Предупреждение|Ошибка чтения файла " + dir.filePath("res.xml")));
}

void TestTableFiles::blankFileIsAnEmptyTable()
{
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("res.xml", " \n\t\n");
    bool xmlError = true;
    QVERIFY(ReadShablonXML("res", attrRES, "RES", &xmlError).isEmpty());
    QVERIFY(!xmlError);
    QVERIFY(rec.messages.isEmpty());
}

void TestTableFiles::missingFileWarns()
{
    TempWorkDir dir;
    MessageRecorder rec;
    bool xmlError = true;
    QVERIFY(ReadShablonXML("lines", attrLin, "LIN", &xmlError).isEmpty());
    QVERIFY(!xmlError);
    QCOMPARE(rec.warnings(),
             QStringList("Предупреждение|Отсутствует файл -" + dir.filePath("lines.xml")));
}

void TestTableFiles::writesTheDocumentByteForByte()
{
    TempWorkDir dir;
    MessageRecorder rec;
    const Table rows = {{"1", "Северные \"ЭС\" & <К>"}, {"2", ""}};
    QVERIFY(saveShablonXML("pes", attrPES, "PES", "net110_PES", rows));
    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<net110_PES created=\"STAMP\" modeling_authority=\"TARNO\">\n"
        "  <PES npes=\"1\" name=\"Северные &quot;ЭС&quot; &amp; &lt;К&gt;\"/>\n"
        "  <PES npes=\"2\" name=\"\"/>\n"
        "</net110_PES>\n";
    QCOMPARE(withoutStamp(dir.readFile("pes.xml")), expected);
    QVERIFY(rec.messages.isEmpty());
    QCOMPARE(ReadShablonXML("pes", attrPES, "PES"), rows);

    // A longer row writes only the listed attributes.
    QVERIFY(saveShablonXML("pes", attrPES, "PES", "r", Table{{"5", "Пятый", "лишнее"}}));
    QVERIFY(!dir.readFile("pes.xml").contains("лишнее"));
}

void TestTableFiles::backupHoldsPreviousContents()
{
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("pes.bak", "stale");
    dir.writeFile("pes.xml", "<old><PES npes=\"9\" name=\"Старый\"/></old>");
    QVERIFY(saveShablonXML("pes", attrPES, "PES", "net110_PES", Table{{"1", "Новый"}}));
    QCOMPARE(dir.readFile("pes.bak"), QByteArray("<old><PES npes=\"9\" name=\"Старый\"/></old>"));
    QCOMPARE(ReadShablonXML("pes", attrPES, "PES"), Table({{"1", "Новый"}}));
}

void TestTableFiles::refusesEmptyTableAndShortRow_data()
{
    QTest::addColumn<Table>("rows");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << Table() << QStringLiteral("Пустая таблица -");
    QTest::newRow("one short row") << Table({{"1", "А"}, {"2"}, {"3", "В"}})
                                   << QStringLiteral("Структура данных нарушена, файл -");
}

void TestTableFiles::refusesEmptyTableAndShortRow()
{
    QFETCH(Table, rows);
    QFETCH(QString, message);
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("pes.xml", "current");
    dir.writeFile("pes.bak", "previous");
    QVERIFY(!saveShablonXML("pes", attrPES, "PES", "net110_PES", rows));
    QCOMPARE(rec.warnings(), QStringList("Предупреждение|" + message + dir.filePath("pes.xml")));
    QCOMPARE(dir.readFile("pes.xml"), QByteArray("current"));
    QCOMPARE(dir.readFile("pes.bak"), QByteArray("previous"));
}

void TestTableFiles::explicitEmptyWriteKeepsRootOnly()
{
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("lines.xml", "<r><LIN nlin=\"1\"/></r>");
    QVERIFY(saveShablonXMLAllowEmpty("lines", attrLin, "LIN", "net110_LIN", Table()));
    QCOMPARE(withoutStamp(dir.readFile("lines.xml")),
             QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<net110_LIN created=\"STAMP\" modeling_authority=\"TARNO\"/>\n"));
    bool xmlError = true;
    QVERIFY(ReadShablonXML("lines", attrLin, "LIN", &xmlError).isEmpty());
    QVERIFY(!xmlError);
    QVERIFY(rec.messages.isEmpty());
}

void TestTableFiles::dropsCharactersXmlCannotCarry()
{
    TempWorkDir dir;
    MessageRecorder rec;
    const QString dirty = QStringLiteral("Л\x01ин\x1f") + QChar(0xD800) + QStringLiteral("ия");
    QVERIFY(saveShablonXML("pes", attrPES, "PES", "net110_PES", Table{{"1", dirty}}));
    bool xmlError = true;
    const Table rows = ReadShablonXML("pes", attrPES, "PES", &xmlError);
    QVERIFY(!xmlError);
    QCOMPARE(rows, Table({{"1", "Линия"}}));
}

void TestTableFiles::failedWriteKeepsOldFile()
{
    TempWorkDir dir;
    MessageRecorder rec;
    // A folder standing where the file should go: nothing can replace it.
    QVERIFY(QDir().mkpath(dir.filePath("pes.xml")));
    QVERIFY(!saveShablonXML("pes", attrPES, "PES", "r", Table{{"1", "x"}}));
    QVERIFY(QFileInfo(dir.filePath("pes.xml")).isDir());
    QCOMPARE(rec.warnings().last(),
             "Предупреждение|Невозможно создать файл -" + dir.filePath("pes.xml"));

    // A data path whose folder is missing.
    rec.clear();
    ZORVAN_PATH = dir.filePath("missing/");
    QVERIFY(!saveShablonXML("res", attrRES, "RES", "r", Table{{"1", "1", "x", "", "0", ""}}));
    QCOMPARE(rec.warnings(), QStringList("Предупреждение|Невозможно создать файл -"
                                         + dir.filePath("missing/res.xml")));
}

void TestTableFiles::examplesReadWithoutWarning()
{
    const QString previous = ZORVAN_PATH;
    ZORVAN_PATH = examplesPath();
    MessageRecorder rec;
    const struct { const char* table; const QStringList* names; const char* row; } tables[] = {
        {"pes", &attrPES, "PES"},      {"res", &attrRES, "RES"},
        {"lines", &attrLin, "LIN"},    {"uch_lin", &attrUchLin, "UCH_LIN"},
        {"kat_lin", &attrL, "Wire"},   {"kat_tr", &attrTR, "Trans"},
    };
    for (const auto& t : tables) {
        bool xmlError = true;
        const Table rows = ReadShablonXML(t.table, *t.names, t.row, &xmlError);
        QVERIFY2(!xmlError, t.table);
        QVERIFY2(!rows.isEmpty(), t.table);
    }
    ZORVAN_PATH = previous;
    QCOMPARE(rec.messages.size(), 0);
}

QTEST_GUILESS_MAIN(TestTableFiles)
#include "tst_tablefiles.moc"

// Reading and writing the XML table files.

#include "storetest.h"

class TestTableFiles : public QObject
{
    Q_OBJECT

private slots:
    void reads_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Table>("expected");       // columns "m", "none", "n"
        QTest::addColumn<QString>("warning");      // followed by the path; "Ошибка": damaged
        QTest::newRow("any depth, trimmed, chosen columns in another order")
            << QByteArray("<a><R n=\" 1 \" m=\"x\"/><g><d><R m=\"y\" n=\"2\" z=\"z\"/></d></g><r n=\"3\"/><R n=\"4\"/></a>")
            << Table({{"x", "", "1"}, {"y", "", "2"}, {"", "", "4"}}) << "";
        QTest::newRow("blank") << QByteArray(" \n\t\n") << Table() << "";
        QTest::newRow("empty root") << QByteArray("<a/>") << Table() << "";
        QTest::newRow("rows of another element") << QByteArray("<a><r n=\"1\"/><x/></a>") << Table() << "Ошибка чтения файла ";
    }

    void reads()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, warning);
        Scratch work;
        work.writeFile("t.xml", file);
        bool error = !warning.startsWith("Ошибка");
        QTEST(ReadShablonXML("t", {"m", "none", "n"}, "R", &error), "expected");
        QCOMPARE(error, warning.startsWith("Ошибка"));
        QCOMPARE(work.warnings(), warning.isEmpty() ? QStringList()
                                                   : QStringList("Предупреждение|" + warning + work.filePath("t.xml")));
    }

    // Markup escaped, a character XML cannot carry dropped, a long row cut, the
    // old file kept as .bak; an empty table and a short row refused, both kept.
    void writesAndRefuses()
    {
        Scratch work;
        work.writeFile("pes.xml", "old");
        QVERIFY(saveShablonXML("pes", attrPES, "PES", "net110_PES",
                               {{"1", "Северные \"ЭС\" & <К>\x01"}, {"2", ""}, {"3", "Т", "лишнее"}}));
        const QByteArray written = work.readFile("pes.xml");
        QCOMPARE(withoutStamp(written), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<net110_PES created=\"STAMP\" "
                                                   "modeling_authority=\"TARNO\">\n  <PES npes=\"1\" name=\"Северные "
                                                   "&quot;ЭС&quot; &amp; &lt;К&gt;\"/>\n  <PES npes=\"2\" name=\"\"/>\n"
                                                   "  <PES npes=\"3\" name=\"Т\"/>\n</net110_PES>\n"));
        QCOMPARE(work.readFile("pes.bak"), QByteArray("old"));
        QVERIFY(!saveShablonXML("pes", attrPES, "PES", "net110_PES", Table()));
        QVERIFY(!saveShablonXML("pes", attrPES, "PES", "net110_PES", {{"1", "А"}, {"2"}}));
        QCOMPARE(work.readFile("pes.xml") + work.readFile("pes.bak"), written + "old");
        QCOMPARE(work.warnings(), QStringList({"Предупреждение|Пустая таблица -" + work.filePath("pes.xml"),
                                              "Предупреждение|Структура данных нарушена, файл -" + work.filePath("pes.xml")}));
    }

    // Characters beyond the basic plane are written as themselves and read back equal; a lone
    // half of a pair, which XML cannot carry, is dropped.
    void keepsCharactersBeyondTheBasicPlane()
    {
        Scratch work;
        const QString name = "ПС 𝔸 😀";
        QVERIFY(saveShablonXML("pes", attrPES, "PES", "net110_PES", {{"1", name + QChar(0xD835) + "!"}}));
        QVERIFY(work.readFile("pes.xml").contains("name=\"" + name.toUtf8() + "!\""));
        QCOMPARE(ReadShablonXML("pes", attrPES, "PES"), (Table{{"1", name + "!"}}));
    }
};

QTEST_GUILESS_MAIN(TestTableFiles)
#include "tst_tablefiles.moc"

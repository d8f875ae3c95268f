// The file of saved line schemes: storing one line's drawing and loading it.

#include "store/readregim.h"
#include "store/sxema.h"
#include "testsupport.h"

#include <QtTest>

namespace {

SxemaLin drawing(const QString& p, const QString& r, const QString& l, const QString& colour,
                 const QString& tag)
{
    SxemaLin s;
    s.key = QStringList{p, r, l, colour};
    s.nodes.append({"10", "20", "5", "40", "1", "12", "22", "0"});
    s.nodes.append({"110", "20", "5", "40", "2", "112", "22", "1"});
    s.lines.append({"15,40 110,40", "1", "60", "30", tag});
    s.transf.append({"200", "50", "30", "40", "35", "10.5", "2", "230", "50", "0"});
    s.transf3.append({"300", "50", "30", "60", "110", "35", "10", "3", "4", "5", "330", "50",
                      "0"});
    return s;
}

void setLine(const QString& p, const QString& r, const QString& l)
{
    NPES = p;
    NRES = r;
    NLIN = l;
}

const QByteArray kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<lines_sxemes created=\"STAMP\" modeling_authority=\"TARNO\">\n";

} // namespace

class TestSxema : public QObject
{
    Q_OBJECT

private slots:
    void storesTheDocumentByteForByte();
    void saveThenLoadGivesTheSameRows();
    void replacesInPlaceAndAppendsNewLines();
    void loadsOnlyItsOwnRecord_data();
    void loadsOnlyItsOwnRecord();
    void recordWithoutElementsIsDroppedOnNextSave();
    void refusals_data();
    void refusals();
};

void TestSxema::storesTheDocumentByteForByte()
{
    TempWorkDir dir;
    MessageRecorder rec;
    SxemaLin s;
    s.key = QStringList{"1", "2", "3", "rgb(0,0,0)"};
    s.nodes.append({"1", "2", "3", "4", "5", "6", "7", "0", "beyond the list"});
    s.lines.append({"0,0 5,5", "9", "1", "1", "0"});
    QVERIFY(saveSxemaXML(s));
    QCOMPARE(withoutStamp(dir.readFile("sxemalin.xml")),
             kHeader
                 + "  <LinID npes=\"1\" nres=\"2\" nlin=\"3\" background-color=\"rgb(0,0,0)\">\n"
                   "    <Node x=\"1\" y=\"2\" w=\"3\" h=\"4\" key=\"5\" xkt=\"6\" ykt=\"7\" "
                   "hide=\"0\"/>\n"
                   "    <Line points=\"0,0 5,5\" key=\"9\" xkt=\"1\" ykt=\"1\" hide=\"0\"/>\n"
                   "  </LinID>\n"
                   "</lines_sxemes>\n");
    QVERIFY(!dir.exists("sxemalin.bak"));
    QCOMPARE(rec.warnings(), QStringList("Информация|Данные сохранены"));
}

void TestSxema::saveThenLoadGivesTheSameRows()
{
    TempWorkDir dir;
    MessageRecorder rec;
    const SxemaLin saved = drawing("1", "1", "7", "rgb(10,20,30)", "0");
    saveSxemaXML(saved);
    setLine("1", "1", "7");
    ReadSxem loaded;
    QCOMPARE(loaded.nodes, saved.nodes);
    QCOMPARE(loaded.lines, saved.lines);
    QCOMPARE(loaded.transf, saved.transf);
    QCOMPARE(loaded.transf3, saved.transf3);
    QCOMPARE(loaded.color, QStringLiteral("rgb(10,20,30)"));
    QCOMPARE(loaded.key, saved.key);

    setLine("1", "1", "8");
    ReadSxem none;
    QVERIFY(none.nodes.isEmpty() && none.lines.isEmpty() && none.transf.isEmpty()
            && none.transf3.isEmpty() && none.key.isEmpty());
    QCOMPARE(none.color, QStringLiteral("RGB(255,255,255)"));
}

void TestSxema::replacesInPlaceAndAppendsNewLines()
{
    TempWorkDir dir;
    MessageRecorder rec;
    saveSxemaXML(drawing("1", "1", "1", "rgb(1,1,1)", "0"));
    saveSxemaXML(drawing("1", "1", "2", "rgb(2,2,2)", "0"));
    SxemaLin changed = drawing("1", "1", "1", "rgb(9,9,9)", "1");
    changed.nodes.removeLast();
    saveSxemaXML(changed);
    const QByteArray beforeLast = dir.readFile("sxemalin.xml");
    saveSxemaXML(drawing("2", "1", "1", "rgb(3,3,3)", "0"));

    const SxemaFile file = readSxemaFile();
    QVERIFY(!file.xmlError);
    QCOMPARE(file.records.size(), 3);
    QCOMPARE(file.records.at(0).key, changed.key);
    QCOMPARE(file.records.at(0).nodes, changed.nodes);
    QCOMPARE(file.records.at(0).lines, changed.lines);
    QCOMPARE(file.records.at(1).key.at(2), QStringLiteral("2"));
    QCOMPARE(file.records.at(2).key.at(0), QStringLiteral("2"));
    QCOMPARE(dir.readFile("sxemalin.bak"), beforeLast);
    QCOMPARE(rec.warnings().size(), 4);
}

void TestSxema::loadsOnlyItsOwnRecord_data()
{
    QTest::addColumn<QStringList>("line");
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("transf");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("firstNodeKey");

    // Codes in another attribute order, spaces around values.
    QTest::newRow("first, codes out of order") << QStringList({"1", "1", "1"}) << 2 << 0 << 0
                                               << "rgb(1,1,1)" << "11";
    QTest::newRow("middle, without colour") << QStringList({"1", "1", "2"}) << 0 << 1 << 1
                                            << "RGB(255,255,255)" << "";
    QTest::newRow("last, loads to the end") << QStringList({"1", "2", "1"}) << 1 << 1 << 0
                                            << "rgb(3,3,3)" << "31";
    QTest::newRow("record without elements") << QStringList({"2", "2", "2"}) << 0 << 0 << 0
                                             << "rgb(4,4,4)" << "";
    QTest::newRow("codes lacking") << QStringList({"", "", ""}) << 0 << 0 << 0
                                   << "RGB(255,255,255)" << "";
}

void TestSxema::loadsOnlyItsOwnRecord()
{
    QFETCH(QStringList, line);
    QFETCH(int, nodes);
    QFETCH(int, lines);
    QFETCH(int, transf);
    QFETCH(QString, colour);
    QFETCH(QString, firstNodeKey);
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("sxemalin.xml",
                  "<?xml version=\"1.0\"?>\n<any>\n"
                  " <LinID background-color=\"rgb(5,5,5)\"/>\n"
                  " <Node key=\"99\"/>\n"
                  " <LinID nlin=\" 1 \" background-color=\"rgb(1,1,1)\" nres=\"1\" npes=\"1\">\n"
                  "  <Node key=\"11\" x=\"1\"/><Node key=\"12\"/>\n"
                  " </LinID>\n"
                  " <LinID npes=\"1\" nres=\"1\" nlin=\"2\">\n"
                  "  <Line key=\"21\"/><Transf key=\"22\"/>\n"
                  " </LinID>\n"
                  " <LinID npes=\"2\" nres=\"2\" nlin=\"2\" background-color=\"rgb(4,4,4)\"/>\n"
                  " <LinID npes=\"1\" nres=\"2\" nlin=\"1\" background-color=\" rgb(3,3,3) \">\n"
                  "  <Node hide=\"1\" key=\"31\" other=\"x\"/>\n"
                  "  <group><Line key=\"32\"/></group>\n"
                  " </LinID>\n"
                  "</any>\n");
    setLine(line.at(0), line.at(1), line.at(2));
    ReadSxem s;
    QCOMPARE(s.nodes.size(), nodes);
    QCOMPARE(s.lines.size(), lines);
    QCOMPARE(s.transf.size(), transf);
    QVERIFY(s.transf3.isEmpty());
    QCOMPARE(s.color, colour);
    if (nodes > 0) {
        QCOMPARE(s.nodes.at(0).size(), sxemaNodeAttrs.size());
        QCOMPARE(s.nodes.at(0).at(4), firstNodeKey);
    }
    if (firstNodeKey == "31")
        QCOMPARE(s.nodes.at(0), QStringList({"", "", "", "", "31", "", "", "1"}));
    QVERIFY(rec.messages.isEmpty());
}

void TestSxema::recordWithoutElementsIsDroppedOnNextSave()
{
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("sxemalin.xml", "<lines_sxemes><LinID npes=\"1\" nres=\"1\" nlin=\"1\"/>"
                                  "<LinID npes=\"1\" nres=\"1\" nlin=\"2\"><Node key=\"1\"/>"
                                  "</LinID></lines_sxemes>");
    saveSxemaXML(drawing("3", "3", "3", "rgb(0,0,0)", "0"));
    QStringList lines;
    for (const SxemaLin& s : readSxemaFile().records)
        lines.append(s.key.mid(0, 3).join(','));
    QCOMPARE(lines, QStringList({"1,1,2", "3,3,3"}));
    // The record that had no colour is written without one.
    QVERIFY(dir.readFile("sxemalin.xml").contains("<LinID npes=\"1\" nres=\"1\" nlin=\"2\">"));
}

void TestSxema::refusals_data()
{
    QTest::addColumn<QStringList>("key");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("warning");

    const QByteArray good = "<lines_sxemes><LinID npes=\"1\" nres=\"1\" nlin=\"1\">"
                            "<Node key=\"1\"/></LinID></lines_sxemes>\n";
    QTest::newRow("empty key") << QStringList() << good << "Нет данных о ключе схемы";
    QTest::newRow("key without line code") << QStringList({"1", "1"}) << good
                                           << "Нет данных о ключе схемы";
    QTest::newRow("damaged file") << QStringList({"1", "1", "1"})
                                  << QByteArray("<lines_sxemes><LinID npes=\"1\" nres=\"1\" "
                                                "nlin=\"1\"><Node key=\"1\"/></LinID><LinID npe")
                                  << "Ошибка чтения файла ";
}

void TestSxema::refusals()
{
    QFETCH(QStringList, key);
    QFETCH(QByteArray, file);
    QFETCH(QString, warning);
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("sxemalin.xml", file);
    dir.writeFile("sxemalin.bak", "old copy");
    SxemaLin s = drawing("1", "1", "1", "rgb(0,0,0)", "0");
    s.key = key;

    QVERIFY(!saveSxemaXML(s));

    QCOMPARE(dir.readFile("sxemalin.xml"), file);
    QCOMPARE(dir.readFile("sxemalin.bak"), QByteArray("old copy"));
    const QString text = warning.startsWith("Ошибка") ? warning + dir.filePath("sxemalin.xml")
                                                      : warning;
    QCOMPARE(rec.warnings(), QStringList("Предупреждение|" + text));
}

QTEST_GUILESS_MAIN(TestSxema)
#include "tst_sxema.moc"

// Creating, pasting, renaming, moving and deleting PES, RES and lines.

#include "store/readregim.h"
#include "store/sxema.h"
#include "testsupport.h"

#include <QtTest>

namespace {

QStringList lineRow(const QString& p, const QString& r, const QString& l, const QString& name)
{
    return {p, r, l, name, "Д-" + l, "0", "110", "115", "112", "0.4", "0.6", "1.05", "0.8",
            "0", "0", "0", "1"};
}

QStringList uchRow(const QString& p, const QString& r, const QString& l, const QString& key)
{
    return {p, r, l, "уч " + key, "", "1", key, "1", "АС-95", "2.000", "0", "0", "0",
            "100", "40", "0", "0", key};
}

SxemaLin scheme(const QString& p, const QString& r, const QString& l)
{
    SxemaLin s;
    s.key = QStringList{p, r, l, "rgb(1,2,3)"};
    s.nodes.append({"10", "20", "5", "40", "1", "0", "0", "0"});
    return s;
}

QStringList schemeCodes()
{
    QStringList out;
    for (const SxemaLin& s : readSxemaFile().records)
        out.append(s.key.mid(0, 3).join(','));
    return out;
}

// Codes of every row, "npes,nres[,nlin]" (and ":key" for sections).
QStringList codes(const Table& rows, int count, int keyColumn = -1)
{
    QStringList out;
    for (const QStringList& row : rows)
        out.append(row.mid(0, count).join(',') + (keyColumn >= 0 ? ":" + row.at(keyColumn) : ""));
    return out;
}

Table readPes() { return ReadShablonXML("pes", attrPES, "PES"); }
Table readRes() { return ReadShablonXML("res", attrRES, "RES"); }
Table readLines() { return ReadShablonXML("lines", attrLin, "LIN"); }
Table readUch() { return ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"); }

void setCurrent(const QString& p, const QString& r = QString(), const QString& l = QString())
{
    NPES = p;
    NRES = r;
    NLIN = l;
}

// Two PES; PES 1 has RES 1 (lines 1, 2) and RES 2 (line 1); PES 2 has
// RES 1 (line 1) with the same code as a RES of PES 1. Every line has
// sections and a scheme.
void writeNetwork()
{
    saveShablonXML("pes", attrPES, "PES", "net110_PES", {{"1", "Север"}, {"2", "Юг"}});
    saveShablonXML("res", attrRES, "RES", "net110_RES",
                   {{"1", "1", "Северный", "СР-1", "1", "5"},
                    {"1", "2", "Озерный", "", "0", ""},
                    {"2", "1", "Южный", "", "0", ""}});
    saveShablonXML("lines", attrLin, "LIN", "net110_LIN",
                   {lineRow("1", "1", "1", "Л1"), lineRow("1", "1", "2", "Л2"),
                    lineRow("1", "2", "1", "Л3"), lineRow("2", "1", "1", "Л4")});
    saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin",
                   {uchRow("1", "1", "1", "1"), uchRow("1", "1", "1", "2"),
                    uchRow("1", "1", "2", "1"), uchRow("1", "2", "1", "5"),
                    uchRow("2", "1", "1", "7")});
    writeSxemaFile({scheme("1", "1", "1"), scheme("1", "2", "1"), scheme("2", "1", "1"),
                    scheme("1", "1", "2")});
}

} // namespace

class TestObjects : public QObject
{
    Q_OBJECT

private slots:
    void newObjectCodes_data();
    void newObjectCodes();
    void newLineDefaults();
    void pasteRes();
    void pasteLineIntoItsOwnRes();
    void pasteOfVanishedLineChangesNothing();
    void moveLine_data();
    void moveLine();
    void moveResToAnotherPes();
    void moveResOntoItsOwnPes();
    void deleteCascade_data();
    void deleteCascade();
    void deleteLastRemainingObject_data();
    void deleteLastRemainingObject();
    void damagedFileStopsTheOperation_data();
    void damagedFileStopsTheOperation();
};

void TestObjects::newObjectCodes_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("existing");  // codes of the siblings' table rows
    QTest::addColumn<QString>("expected");

    QTest::newRow("first PES") << 0 << QStringList() << "1";
    QTest::newRow("PES after 1 2 7") << 0 << QStringList({"1", "2", "7"}) << "8";
    QTest::newRow("PES x counts as 0") << 0 << QStringList({"x"}) << "1";
    QTest::newRow("first RES of a PES") << 1 << QStringList({"2,5", "2,9"}) << "1";
    QTest::newRow("RES after 3 and x") << 1 << QStringList({"1,3", "1,x", "2,9"}) << "4";
    QTest::newRow("first line of a RES") << 2 << QStringList({"1,2,4"}) << "1";
    QTest::newRow("line after 10 and 9") << 2 << QStringList({"1,1,10", "1,1,9", "2,1,20"})
                                         << "11";
}

void TestObjects::newObjectCodes()
{
    QFETCH(int, level);
    QFETCH(QStringList, existing);
    QFETCH(QString, expected);
    TempWorkDir dir;
    MessageRecorder rec;
    const QStringList& names = level == 0 ? attrPES : level == 1 ? attrRES : attrLin;
    const QString table = level == 0 ? "pes" : level == 1 ? "res" : "lines";
    const QString rowElement = level == 0 ? "PES" : level == 1 ? "RES" : "LIN";
    Table rows;
    for (const QString& c : existing) {
        QStringList row = c.split(',');
        while (row.size() < names.size())
            row.append("имя");
        rows.append(row);
    }
    if (!rows.isEmpty())
        saveShablonXML(table, names, rowElement, "root", rows);
    setCurrent("1", "1");

    QCOMPARE(CreateNewObj(level), 1);

    const Table after = ReadShablonXML(table, names, rowElement);
    QCOMPARE(after.size(), rows.size() + 1);
    QCOMPARE(after.last().at(level), expected);
    QCOMPARE(after.last().mid(0, level), QStringList({"1", "1"}).mid(0, level));
    QCOMPARE(after.last().at(level + 1),
             QStringList({"Новый ПЭС", "Новый РЭС", "Новая линия"}).at(level));
    if (!rows.isEmpty())
        QCOMPARE(after.mid(0, rows.size()), rows);
}

void TestObjects::newLineDefaults()
{
    TempWorkDir dir;
    MessageRecorder rec;
    setCurrent("3", "4");
    CreateNewObj(2);
    QCOMPARE(readLines().value(0),
             QStringList({"3", "4", "1", "Новая линия", "", "0", "35", "35", "35", "0.5", "0.5",
                          "1.0", "0.8", "0", "0", "0", "0"}));
    // The missing table is reported once, by its read.
    QCOMPARE(rec.warnings(),
             QStringList("Предупреждение|Отсутствует файл -" + dir.filePath("lines.xml")));
}

void TestObjects::pasteRes()
{
    TempWorkDir dir;
    MessageRecorder rec;
    writeNetwork();
    const QByteArray resBefore = dir.readFile("res.xml");
    const QByteArray linesBefore = dir.readFile("lines.xml");
    const QByteArray uchBefore = dir.readFile("uch_lin.xml");
    const QByteArray schemesBefore = dir.readFile("sxemalin.xml");
    setCurrent("2", "1");

    QCOMPARE(InsertObj({"1", "1"}), 0);

    const Table res = readRes();
    QCOMPARE(res.size(), 4);
    // The dispatcher name and the temperature stay with the source.
    QCOMPARE(res.last(), QStringList({"2", "2", "Северный- копия", "", "", ""}));
    QCOMPARE(codes(readLines(), 4),
             QStringList({"1,1,1,Л1", "1,1,2,Л2", "1,2,1,Л3", "2,1,1,Л4", "2,2,1,Л1",
                          "2,2,2,Л2"}));
    QCOMPARE(readLines().last().mid(4), lineRow("1", "1", "2", "Л2").mid(4));
    QCOMPARE(codes(readUch(), 3, 17),
             QStringList({"1,1,1:1", "1,1,1:2", "1,1,2:1", "1,2,1:5", "2,1,1:7", "2,2,1:1",
                          "2,2,1:2", "2,2,2:1"}));
    QCOMPARE(readUch().last().mid(3), uchRow("1", "1", "2", "1").mid(3));
    QCOMPARE(dir.readFile("res.bak"), resBefore);
    QCOMPARE(dir.readFile("lines.bak"), linesBefore);
    QCOMPARE(dir.readFile("uch_lin.bak"), uchBefore);
    QCOMPARE(dir.readFile("sxemalin.xml"), schemesBefore);
    QVERIFY(!dir.exists("sxemalin.bak"));
    QCOMPARE(rec.warnings(), QStringList("Информация|Объект добавлен"));
}

void TestObjects::pasteLineIntoItsOwnRes()
{
    TempWorkDir dir;
    MessageRecorder rec;
    writeNetwork();
    setCurrent("1", "1", "2");

    QCOMPARE(InsertObj({"1", "1", "1"}), 0);

    const Table lines = readLines();
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.at(0), lineRow("1", "1", "1", "Л1"));
    QStringList expected = lineRow("1", "1", "3", "Л1- копия");
    expected[4] = "Д-1"; // every other column is the source's
    QCOMPARE(lines.last(), expected);
    QCOMPARE(codes(readUch(), 3, 17).mid(5), QStringList({"1,1,3:1", "1,1,3:2"}));
    QCOMPARE(readSxemaFile().records.size(), 4);
    QCOMPARE(rec.warnings(), QStringList("Информация|Объект добавлен"));
}

void TestObjects::pasteOfVanishedLineChangesNothing()
{
    TempWorkDir dir;
    MessageRecorder rec;
    writeNetwork();
    const QByteArray lines = dir.readFile("lines.xml");
    const QByteArray uch = dir.readFile("uch_lin.xml");
    setCurrent("1", "1", "1");
    QCOMPARE(InsertObj({"1", "1", "9"}), 0);
    QCOMPARE(dir.readFile("lines.xml"), lines);
    QCOMPARE(dir.readFile("uch_lin.xml"), uch);
    QVERIFY(!dir.exists("lines.bak"));
    QVERIFY(rec.messages.isEmpty());
}

void TestObjects::moveLine_data()
{
    QTest::addColumn<QStringList>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QString>("message");

    QTest::newRow("from after") << QStringList({"1", "2", "1"}) << "2" << 0
                                << QStringList({"1,1,1", "1,2,1", "1,1,2", "2,1,1"})
                                << "Объект перемещен";
    QTest::newRow("from before") << QStringList({"1", "1", "1"}) << "2" << 0
                                 << QStringList({"1,1,1", "1,1,2", "1,2,1", "2,1,1"})
                                 << "Объект перемещен";
    QTest::newRow("first before last") << QStringList({"1", "1", "1"}) << "last" << 0
                                       << QStringList({"1,1,2", "1,2,1", "1,1,1", "2,1,1"})
                                       << "Объект перемещен";
    QTest::newRow("onto itself") << QStringList({"1", "1", "2"}) << "2" << 1
                                 << QStringList({"1,1,1", "1,1,2", "1,2,1", "2,1,1"})
                                 << "Объект остается на прежнем месте";
}

void TestObjects::moveLine()
{
    QFETCH(QStringList, source);
    QFETCH(QString, target);
    QFETCH(int, result);
    QFETCH(QStringList, order);
    QFETCH(QString, message);
    TempWorkDir dir;
    MessageRecorder rec;
    writeNetwork();
    const QByteArray uch = dir.readFile("uch_lin.xml");
    if (target == "last")
        setCurrent("2", "1", "1");
    else
        setCurrent("1", "1", target);

    QCOMPARE(ChangeObj(source), result);

    QCOMPARE(codes(readLines(), 3), order);
    QCOMPARE(dir.exists("lines.bak"), result == 0);
    QCOMPARE(dir.readFile("uch_lin.xml"), uch);
    QCOMPARE(rec.warnings(), QStringList("Информация|" + message));
}

void TestObjects::moveResToAnotherPes()
{
    TempWorkDir dir;
    MessageRecorder rec;
    writeNetwork();
    // A drawing left under the codes the RES will get belongs to nobody.
    SxemaFile schemes = readSxemaFile();
    schemes.records.append(scheme("2", "2", "1"));
    writeSxemaFile(schemes.records);
    setCurrent("2", "1");

    QCOMPARE(ChangeObj({"1", "2"}), 0);

    QCOMPARE(codes(readRes(), 3),
             QStringList({"1,1,Северный", "2,2,Озерный", "2,1,Южный"}));
    QCOMPARE(codes(readLines(), 4),
             QStringList({"1,1,1,Л1", "1,1,2,Л2", "2,2,1,Л3", "2,1,1,Л4"}));
    QCOMPARE(codes(readUch(), 3, 17),
             QStringList({"1,1,1:1", "1,1,1:2", "1,1,2:1", "2,2,1:5", "2,1,1:7"}));
    QCOMPARE(schemeCodes(), QStringList({"1,1,1", "2,2,1", "2,1,1", "1,1,2"}));
    QCOMPARE(readSxemaFile().records.at(1).key.value(3), QStringLiteral("rgb(1,2,3)"));
    QVERIFY(dir.exists("sxemalin.bak"));
    QCOMPARE(rec.warnings(), QStringList("Информация|Объект перемещен"));
}

void TestObjects::moveResOntoItsOwnPes()
{
    TempWorkDir dir;
    MessageRecorder rec;
    writeNetwork();
    setCurrent("1", "2");
    QCOMPARE(ChangeObj({"1", "1"}), 0);
    QCOMPARE(codes(readRes(), 2), QStringList({"1,3", "1,2", "2,1"}));
    QCOMPARE(codes(readLines(), 3), QStringList({"1,3,1", "1,3,2", "1,2,1", "2,1,1"}));
    QCOMPARE(schemeCodes(), QStringList({"1,3,1", "1,2,1", "2,1,1", "1,3,2"}));
}

void TestObjects::deleteCascade_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("current");
    QTest::addColumn<QStringList>("pes");
    QTest::addColumn<QStringList>("res");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<QStringList>("schemes");

    // Beside the network, objects coded "0": RES 1,0 with line 1,0,1 and
    // line 1,1,0. They go only by themselves.
    QTest::newRow("PES") << 0 << QStringList({"1", "", ""}) << QStringList({"2"})
                         << QStringList({"2,1"}) << QStringList({"2,1,1"})
                         << QStringList({"2,1,1:7"}) << QStringList({"2,1,1"});
    QTest::newRow("RES, same code under another PES kept")
        << 1 << QStringList({"1", "1", ""}) << QStringList({"1", "2"})
        << QStringList({"1,2", "2,1", "1,0"}) << QStringList({"1,2,1", "2,1,1", "1,0,1"})
        << QStringList({"1,2,1:5", "2,1,1:7", "1,0,1:8"})
        << QStringList({"1,2,1", "2,1,1", "1,0,1"});
    QTest::newRow("line") << 2 << QStringList({"1", "1", "1"}) << QStringList({"1", "2"})
                          << QStringList({"1,1", "1,2", "2,1", "1,0"})
                          << QStringList({"1,1,2", "1,2,1", "2,1,1", "1,1,0", "1,0,1"})
                          << QStringList({"1,1,2:1", "1,2,1:5", "2,1,1:7", "1,1,0:9", "1,0,1:8"})
                          << QStringList({"1,2,1", "2,1,1", "1,1,2", "1,1,0", "1,0,1"});
    QTest::newRow("line coded 0")
        << 2 << QStringList({"1", "1", "0"}) << QStringList({"1", "2"})
        << QStringList({"1,1", "1,2", "2,1", "1,0"})
        << QStringList({"1,1,1", "1,1,2", "1,2,1", "2,1,1", "1,0,1"})
        << QStringList({"1,1,1:1", "1,1,1:2", "1,1,2:1", "1,2,1:5", "2,1,1:7", "1,0,1:8"})
        << QStringList({"1,1,1", "1,2,1", "2,1,1", "1,1,2", "1,0,1"});
    QTest::newRow("RES coded 0")
        << 1 << QStringList({"1", "0", ""}) << QStringList({"1", "2"})
        << QStringList({"1,1", "1,2", "2,1"})
        << QStringList({"1,1,1", "1,1,2", "1,2,1", "2,1,1", "1,1,0"})
        << QStringList({"1,1,1:1", "1,1,1:2", "1,1,2:1", "1,2,1:5", "2,1,1:7", "1,1,0:9"})
        << QStringList({"1,1,1", "1,2,1", "2,1,1", "1,1,2", "1,1,0"});
}

void TestObjects::deleteCascade()
{
    QFETCH(int, level);
    QFETCH(QStringList, current);
    QFETCH(QStringList, pes);
    QFETCH(QStringList, res);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, sections);
    QFETCH(QStringList, schemes);
    TempWorkDir dir;
    MessageRecorder rec;
    writeNetwork();
    Table l = readLines();
    l << lineRow("1", "1", "0", "нулевая") << lineRow("1", "0", "1", "в нулевом РЭС");
    saveShablonXML("lines", attrLin, "LIN", "net110_LIN", l);
    Table u = readUch();
    u << uchRow("1", "1", "0", "9") << uchRow("1", "0", "1", "8");
    saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", u);
    Table r = readRes();
    r.append({"1", "0", "нулевой", "", "", ""});
    saveShablonXML("res", attrRES, "RES", "net110_RES", r);
    SxemaFile s = readSxemaFile();
    s.records << scheme("1", "1", "0") << scheme("1", "0", "1");
    writeSxemaFile(s.records);
    QFile::remove(dir.filePath("sxemalin.bak"));
    setCurrent(current.at(0), current.at(1), current.at(2));
    rec.clear();

    QCOMPARE(DeleteObj(level, NPES, NRES, NLIN), 1);

    QCOMPARE(codes(readPes(), 1), pes);
    QCOMPARE(codes(readRes(), 2), res);
    QCOMPARE(codes(readLines(), 3), lines);
    QCOMPARE(codes(readUch(), 3, 17), sections);
    QCOMPARE(schemeCodes(), schemes);
    QVERIFY(dir.exists("sxemalin.bak"));
    QVERIFY(rec.messages.isEmpty());
}

void TestObjects::deleteLastRemainingObject_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("PES") << 0;
    QTest::newRow("RES") << 1;
    QTest::newRow("line") << 2;
}

void TestObjects::deleteLastRemainingObject()
{
    QFETCH(int, level);
    TempWorkDir dir;
    MessageRecorder rec;
    saveShablonXML("pes", attrPES, "PES", "net110_PES", {{"1", "Север"}});
    saveShablonXML("res", attrRES, "RES", "net110_RES", {{"1", "1", "Р", "", "", ""}});
    saveShablonXML("lines", attrLin, "LIN", "net110_LIN", {lineRow("1", "1", "1", "Л")});
    saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin",
                   {uchRow("1", "1", "1", "1")});
    writeSxemaFile({scheme("1", "1", "1")});
    setCurrent("1", "1", "1");

    DeleteObj(level, NPES, NRES, NLIN);

    QCOMPARE(readPes().size(), level == 0 ? 0 : 1);
    QCOMPARE(readRes().size(), level <= 1 ? 0 : 1);
    QVERIFY(readLines().isEmpty());
    QVERIFY(readUch().isEmpty());
    QVERIFY(readSxemaFile().records.isEmpty());
    QVERIFY(rec.messages.isEmpty());
    QCOMPARE(withoutStamp(dir.readFile("lines.xml")),
             QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<net110_LIN created=\"STAMP\" "
                        "modeling_authority=\"TARNO\"/>\n"));
    QVERIFY(dir.readFile("lines.bak").contains("nlin=\"1\""));
}

void TestObjects::damagedFileStopsTheOperation_data()
{
    QTest::addColumn<QString>("damaged");
    QTest::addColumn<int>("operation");  // 0 delete RES, 1 move RES, 2 paste RES
    QTest::newRow("sections, delete") << "uch_lin.xml" << 0;
    QTest::newRow("schemes, delete") << "sxemalin.xml" << 0;
    QTest::newRow("schemes, move") << "sxemalin.xml" << 1;
    QTest::newRow("lines, paste") << "lines.xml" << 2;
}

void TestObjects::damagedFileStopsTheOperation()
{
    QFETCH(QString, damaged);
    QFETCH(int, operation);
    TempWorkDir dir;
    MessageRecorder rec;
    writeNetwork();
    QByteArray bytes = dir.readFile(damaged);
    bytes.chop(bytes.size() / 3);
    dir.writeFile(damaged, bytes);
    const QStringList files = {"pes.xml", "res.xml", "lines.xml", "uch_lin.xml", "sxemalin.xml"};
    QList<QByteArray> before;
    for (const QString& f : files)
        before.append(dir.readFile(f));
    setCurrent("1", "1");

    if (operation == 0)
        DeleteObj(1, NPES, NRES, NLIN);
    else if (operation == 1)
        QCOMPARE(ChangeObj({"1", "2"}), 1);
    else
        InsertObj({"1", "2"});

    for (int i = 0; i < files.size(); ++i)
        QCOMPARE(dir.readFile(files.at(i)), before.at(i));
    QVERIFY(!dir.exists("res.bak") && !dir.exists("sxemalin.bak"));
    QCOMPARE(rec.warnings(),
             QStringList("Предупреждение|Ошибка чтения файла " + dir.filePath(damaged)));
}

QTEST_GUILESS_MAIN(TestObjects)
#include "tst_objects.moc"

// Creating, pasting, moving and deleting PES, RES and lines.

#include "store/readregim.h"
#include "store/sxema.h"
#include "testsupport.h"

#include <QtTest>

namespace {

// Rows of the line, section and scheme tables for codes "npes,nres,nlin".
QStringList lineRow(const QString& codes, const QString& name)
{
    return codes.split(',') + QStringList{name, "Д", "0", "110", "115", "112", "0.4", "0.6", "1.05", "0.8",
                                          "0", "0", "0", "1"};
}

QStringList uchRow(const QString& codes, const QString& key)
{
    return codes.split(',') + QStringList{"уч " + key, "", "1", key, "1", "АС-95", "2.000", "0", "0", "0",
                                          "100", "40", "0", "0", key};
}

SxemaLin scheme(const QString& codes)
{
    SxemaLin s;
    s.key = codes.split(',') << "rgb(1,2,3)";
    s.nodes.append({"10", "20", "5", "40", "1", "0", "0", "0"});
    return s;
}

// The first count codes of every row joined, with ":key" for sections.
QStringList codes(const Table& rows, int count, bool withKey = false)
{
    QStringList out;
    for (const QStringList& row : rows)
        out.append(row.mid(0, count).join(',') + (withKey ? ":" + row.last() : QString()));
    return out;
}

QStringList schemeCodes()
{
    QStringList out;
    for (const SxemaLin& s : readSxemaFile().records)
        out.append(s.key.mid(0, 3).join(','));
    return out;
}

Table readRes() { return ReadShablonXML("res", attrRES, "RES"); }
Table readLines() { return ReadShablonXML("lines", attrLin, "LIN"); }
Table readUch() { return ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"); }

void setCurrent(const QStringList& codes)
{
    NPES = codes.value(0);
    NRES = codes.value(1);
    NLIN = codes.value(2);
}

// PES 1 has RES 1 (lines 1, 2 and 0) and RES 2 (line 1); PES 2 has RES 1
// (line 1), the same code as a RES of PES 1; RES 1,0 has line 1. Every line has
// sections and a scheme.
void writeNetwork()
{
    saveShablonXML("pes", attrPES, "PES", "net110_PES", {{"1", "Север"}, {"2", "Юг"}});
    saveShablonXML("res", attrRES, "RES", "net110_RES",
                   {{"1", "1", "Северный", "СР-1", "1", "5"}, {"1", "2", "Озерный", "", "0", ""},
                    {"2", "1", "Южный", "", "0", ""}, {"1", "0", "Нулевой", "", "0", ""}});
    const QStringList lines = {"1,1,1", "1,1,2", "1,2,1", "2,1,1", "1,1,0", "1,0,1"};
    Table lineRows, sections;
    QVector<SxemaLin> schemes;
    for (int i = 0; i < lines.size(); ++i) {
        lineRows.append(lineRow(lines.at(i), "Л" + QString::number(i + 1)));
        sections.append(uchRow(lines.at(i), QString::number(i + 5)));
        schemes.append(scheme(lines.at(i)));
    }
    sections.insert(1, uchRow("1,1,1", "2"));   // line 1,1,1 has two
    saveShablonXML("lines", attrLin, "LIN", "net110_LIN", lineRows);
    saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", sections);
    writeSxemaFile(schemes);
}

} // namespace

class TestObjects : public QObject
{
    Q_OBJECT

private slots:
    void newObjectCodes_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<Table>("existing");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first PES") << 0 << Table() << "1";
        QTest::newRow("PES after 2, 7 and x") << 0 << Table({{"2", "а"}, {"7", "б"}, {"x", "в"}}) << "8";
        QTest::newRow("first RES of its PES") << 1 << Table({{"2", "5", "а", "", "", ""}}) << "1";
        QTest::newRow("line after 10, 9; other RES ignored")
            << 2 << Table({lineRow("1,1,10", "а"), lineRow("1,1,9", "б"), lineRow("2,1,20", "в")}) << "11";
    }

    void newObjectCodes()
    {
        QFETCH(int, level);
        QFETCH(Table, existing);
        QFETCH(QString, expected);
        TempWorkDir dir;
        MessageRecorder rec;
        const QStringList& names = level == 0 ? attrPES : level == 1 ? attrRES : attrLin;
        const QString table = QStringList({"pes", "res", "lines"}).at(level);
        const QString row = QStringList({"PES", "RES", "LIN"}).at(level);
        if (!existing.isEmpty())
            saveShablonXML(table, names, row, "root", existing);
        setCurrent({"1", "1"});
        QCOMPARE(CreateNewObj(level), 1);
        const Table after = ReadShablonXML(table, names, row);
        const QString name = QStringList({"Новый ПЭС", "Новый РЭС", "Новая линия"}).at(level);
        QCOMPARE(after.last().mid(0, level + 2),
                 QStringList({"1", "1"}).mid(0, level) + QStringList({expected, name}));
        if (level == 2)   // a new line's defaults
            QCOMPARE(after.last().mid(4), QStringList({"", "0", "35", "35", "35", "0.5", "0.5",
                                                       "1.0", "0.8", "0", "0", "0", "0"}));
    }

    // Each operation on the network, and every table and the scheme file after it.
    void operations_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("source");     // the object pasted or moved
        QTest::addColumn<QString>("current");    // where it goes, or what is deleted
        QTest::addColumn<QString>("res");        // codes and names
        QTest::addColumn<QString>("lines");      // codes and names
        QTest::addColumn<QString>("sections");   // codes and keys
        QTest::addColumn<QString>("schemes");
        QTest::addColumn<QString>("message");
        const QString res = "1,1,Северный 1,2,Озерный 2,1,Южный 1,0,Нулевой";
        const QString lines = "1,1,1,Л1 1,1,2,Л2 1,2,1,Л3 2,1,1,Л4 1,1,0,Л5 1,0,1,Л6";
        const QString sections = "1,1,1:5 1,1,1:2 1,1,2:6 1,2,1:7 2,1,1:8 1,1,0:9 1,0,1:10";
        const QString schemes = "1,1,1 1,1,2 1,2,1 2,1,1 1,1,0 1,0,1";
        QTest::newRow("paste a RES under another PES")
            << "paste" << "1,1" << "2,1" << res + " 2,2,Северный- копия" << lines + " 2,2,1,Л1 2,2,2,Л2 2,2,0,Л5"
            << sections + " 2,2,1:5 2,2,1:2 2,2,2:6 2,2,0:9" << schemes << "Объект добавлен";
        QTest::newRow("paste a line into its own RES")
            << "paste" << "1,1,1" << "1,1,2" << res << lines + " 1,1,3,Л1- копия"
            << sections + " 1,1,3:5 1,1,3:2" << schemes << "Объект добавлен";
        QTest::newRow("move a line before the current one")
            << "move" << "1,2,1" << "1,1,2" << res << "1,1,1,Л1 1,2,1,Л3 1,1,2,Л2 2,1,1,Л4 1,1,0,Л5 1,0,1,Л6"
            << sections << schemes << "Объект перемещен";
        QTest::newRow("move a line onto itself")
            << "move" << "1,1,2" << "1,1,2" << res << lines << sections << schemes
            << "Объект остается на прежнем месте";
        QTest::newRow("move a RES to another PES, schemes follow")
            << "move" << "1,2" << "2,1" << "1,1,Северный 2,2,Озерный 2,1,Южный 1,0,Нулевой"
            << "1,1,1,Л1 1,1,2,Л2 2,2,1,Л3 2,1,1,Л4 1,1,0,Л5 1,0,1,Л6"
            << "1,1,1:5 1,1,1:2 1,1,2:6 2,2,1:7 2,1,1:8 1,1,0:9 1,0,1:10"
            << "1,1,1 1,1,2 2,2,1 2,1,1 1,1,0 1,0,1" << "Объект перемещен";
        QTest::newRow("delete a RES, same code under another PES kept")
            << "delete" << "" << "1,1" << "1,2,Озерный 2,1,Южный 1,0,Нулевой" << "1,2,1,Л3 2,1,1,Л4 1,0,1,Л6"
            << "1,2,1:7 2,1,1:8 1,0,1:10" << "1,2,1 2,1,1 1,0,1" << "";
        QTest::newRow("delete a line coded 0")
            << "delete" << "" << "1,1,0" << res << "1,1,1,Л1 1,1,2,Л2 1,2,1,Л3 2,1,1,Л4 1,0,1,Л6"
            << "1,1,1:5 1,1,1:2 1,1,2:6 1,2,1:7 2,1,1:8 1,0,1:10" << "1,1,1 1,1,2 1,2,1 2,1,1 1,0,1" << "";
        QTest::newRow("delete a RES coded 0")
            << "delete" << "" << "1,0" << "1,1,Северный 1,2,Озерный 2,1,Южный"
            << "1,1,1,Л1 1,1,2,Л2 1,2,1,Л3 2,1,1,Л4 1,1,0,Л5"
            << "1,1,1:5 1,1,1:2 1,1,2:6 1,2,1:7 2,1,1:8 1,1,0:9" << "1,1,1 1,1,2 1,2,1 2,1,1 1,1,0" << "";
    }

    void operations()
    {
        QFETCH(QString, operation);
        QFETCH(QString, source);
        QFETCH(QString, current);
        TempWorkDir dir;
        MessageRecorder rec;
        writeNetwork();
        const QByteArray linesBefore = dir.readFile("lines.xml");
        setCurrent(current.split(','));
        if (operation == "paste")
            InsertObj(source.split(','));
        else if (operation == "move")
            ChangeObj(source.split(','));
        else
            DeleteObj(current.count(','), NPES, NRES, NLIN);
        QTEST(codes(readRes(), 3).join(' '), "res");
        QTEST(codes(readLines(), 4).join(' '), "lines");
        QTEST(codes(readUch(), 3, true).join(' '), "sections");
        QTEST(schemeCodes().join(' '), "schemes");
        QFETCH(QString, message);
        QCOMPARE(rec.warnings(), message.isEmpty() ? QStringList() : QStringList("Информация|" + message));
        // Other columns are copied as they were; a rewritten table keeps its .bak.
        QCOMPARE(readLines().last().mid(4), lineRow("1,1,1", "").mid(4));
        QVERIFY(dir.readFile("lines.bak") == linesBefore || source == current);
    }

    void deleteLastRemainingObject_data()
    {
        QTest::addColumn<int>("level");
        QTest::newRow("PES") << 0;
        QTest::newRow("RES") << 1;
        QTest::newRow("line") << 2;
    }

    void deleteLastRemainingObject()
    {
        TempWorkDir dir;
        MessageRecorder rec;
        QFETCH(int, level);
        saveShablonXML("pes", attrPES, "PES", "net110_PES", {{"1", "Север"}});
        saveShablonXML("res", attrRES, "RES", "net110_RES", {{"1", "1", "Р", "", "", ""}});
        saveShablonXML("lines", attrLin, "LIN", "net110_LIN", {lineRow("1,1,1", "Л")});
        saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "u", {uchRow("1,1,1", "1")});
        writeSxemaFile({scheme("1,1,1")});
        setCurrent({"1", "1", "1"});
        DeleteObj(level, NPES, NRES, NLIN);
        QCOMPARE(ReadShablonXML("pes", attrPES, "PES").size(), level == 0 ? 0 : 1);
        QCOMPARE(readRes().size(), level <= 1 ? 0 : 1);
        QVERIFY(readUch().isEmpty() && readSxemaFile().records.isEmpty());
        QCOMPARE(withoutStamp(dir.readFile("lines.xml")),
                 QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<net110_LIN created=\"STAMP\" "
                            "modeling_authority=\"TARNO\"/>\n"));
        QVERIFY(rec.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestObjects)
#include "tst_objects.moc"

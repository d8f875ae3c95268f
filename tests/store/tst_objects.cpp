// Creating, pasting, moving and deleting PES, RES and lines.

#include "store/readregim.h"
#include "store/sxema.h"
#include "testsupport.h"

#include <QtTest>

namespace {

// PES 1 has RES 1 (lines 1, 2 and 0) and RES 2 (line 1); PES 2 (below) has
// RES 1 (line 1), the same code as a RES of PES 1; RES 1,0 has line 1.
const QString kRes = QStringLiteral("1,1,Северный 1,2,Озерный 2,1,Южный 1,0,Нулевой");
const QString kLines = QStringLiteral("1,1,1,Л1 1,1,2,Л2 1,2,1,Л3 2,1,1,Л4 1,1,0,Л5 1,0,1,Л6");

QStringList lineRow(const QString& codes, const QString& name)
{
    return codes.split(',') + QStringList{name, "Д", "0", "110", "115", "112", "0.4", "0.6", "1.05", "0.8",
                                          "0", "0", "0", "1"};
}

// The section keys of line "Лn" (or of its copy): n and n0.
QStringList keysOf(const QString& name)
{
    return {name.mid(1, 1), name.mid(1, 1) + "0"};
}

// The rows of a table file as "a,b,c" of the columns named.
QStringList rows(const QString& table, const QString& row, const QStringList& names)
{
    QStringList out;
    for (const QStringList& r : ReadShablonXML(table, names, row))
        out.append(r.join(','));
    return out;
}

// PES, RES and lines as in kRes and kLines; every line has its sections and a scheme.
void writeNetwork(const QString& pes = "1,Север 2,Юг", const QString& res = kRes, const QString& lines = kLines)
{
    Table tables[3], sections;
    QVector<SxemaLin> schemes;   // one bus each
    for (const QString& p : pes.split(' '))
        tables[0].append(p.split(','));
    for (const QString& r : res.split(' '))
        tables[1].append(r.split(',') + QStringList{"", "0", ""});
    for (const QString& l : lines.split(' ')) {
        const QString line = l.section(',', 0, 2), name = l.section(',', 3);
        tables[2].append(lineRow(line, name));
        for (const QString& key : keysOf(name))
            sections.append(line.split(',') + QStringList{"уч", "", "1", key, "1", "АС-95", "2.000", "0", "0",
                                                          "0", "100", "40", "0", "0", key});
        schemes.append({line.split(',') << "rgb(1,2,3)", {{"10", "20", "5", "40", "1", "0", "0", "0"}}, {}, {}, {}});
    }
    saveShablonXML("pes", attrPES, "PES", "net110_PES", tables[0]);
    saveShablonXML("res", attrRES, "RES", "net110_RES", tables[1]);
    saveShablonXML("lines", attrLin, "LIN", "net110_LIN", tables[2]);
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
        QTest::addColumn<QString>("expected");   // empty: refused
        QTest::newRow("PES after 2, 7 and x") << 0 << Table({{"2", "а"}, {"7", "б"}, {"x", "в"}}) << "8";
        QTest::newRow("first RES of its PES") << 1 << Table({{"2", "5", "а", "", "", ""}}) << "1";
        QTest::newRow("line after 10, 9; other RES ignored")
            << 2 << Table({lineRow("1,1,10", "а"), lineRow("1,1,9", "б"), lineRow("2,1,20", "в")}) << "11";
        QTest::newRow("no code after the largest integer")
            << 1 << Table({{"1", "9223372036854775807", "а", "", "", ""}}) << "";
    }

    void newObjectCodes()
    {
        QFETCH(int, level);
        QFETCH(Table, existing);
        QFETCH(QString, expected);
        TempWorkDir dir;
        MessageRecorder rec;
        const QStringList& names = level == 0 ? attrPES : level == 1 ? attrRES : attrLin;
        const QStringList file = QStringList({"pes PES Новый ПЭС", "res RES Новый РЭС", "lines LIN Новая линия"})
                                     .at(level).split(' ');   // table, row element, name of a new object
        saveShablonXML(file.at(0), names, file.at(1), "root", existing);
        NPES = NRES = "1";
        QCOMPARE(CreateNewObj(level), 1);
        if (expected.isEmpty()) {   // two objects would share the code
            QCOMPARE(ReadShablonXML(file.at(0), names, file.at(1)), existing);
            QCOMPARE(rec.warnings(), QStringList("Предупреждение|Нет свободного кода для нового объекта"));
            return;
        }
        const QStringList created = ReadShablonXML(file.at(0), names, file.at(1)).last();
        QCOMPARE(created.mid(0, level + 2),
                 QStringList({"1", "1"}).mid(0, level) + QStringList({expected, file.mid(2).join(' ')}));
        if (level == 2)   // a new line's defaults
            QCOMPARE(created.mid(4), QStringList({"", "0", "35", "35", "35", "0.5", "0.5",
                                                  "1.0", "0.8", "0", "0", "0", "0"}));
    }

    // Each operation on the network, and the tables after it.
    void operations_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("source");     // the object pasted or moved
        QTest::addColumn<QString>("current");    // where it goes, or what is deleted
        QTest::addColumn<QString>("res");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("message");
        QTest::newRow("paste a RES under another PES")
            << "paste" << "1,1" << "2,1" << kRes + " 2,2,Северный- копия"
            << kLines + " 2,2,1,Л1 2,2,2,Л2 2,2,0,Л5" << "Объект добавлен";
        QTest::newRow("paste a line into its own RES")
            << "paste" << "1,1,1" << "1,1,2" << kRes << kLines + " 1,1,3,Л1- копия" << "Объект добавлен";
        QTest::newRow("move a line before the current one")
            << "move" << "1,2,1" << "1,1,2" << kRes << "1,1,1,Л1 1,2,1,Л3 1,1,2,Л2 2,1,1,Л4 1,1,0,Л5 1,0,1,Л6"
            << "Объект перемещен";
        QTest::newRow("move a line onto itself")
            << "move" << "1,1,2" << "1,1,2" << kRes << kLines << "Объект остается на прежнем месте";
        QTest::newRow("move a RES to another PES")
            << "move" << "1,2" << "2,1" << "1,1,Северный 2,2,Озерный 2,1,Южный 1,0,Нулевой"
            << "1,1,1,Л1 1,1,2,Л2 2,2,1,Л3 2,1,1,Л4 1,1,0,Л5 1,0,1,Л6" << "Объект перемещен";
        QTest::newRow("delete a RES, same code under another PES kept")
            << "delete" << "" << "1,1" << "1,2,Озерный 2,1,Южный 1,0,Нулевой" << "1,2,1,Л3 2,1,1,Л4 1,0,1,Л6" << "";
        QTest::newRow("delete a line coded 0")
            << "delete" << "" << "1,1,0" << kRes << "1,1,1,Л1 1,1,2,Л2 1,2,1,Л3 2,1,1,Л4 1,0,1,Л6" << "";
        QTest::newRow("delete a RES coded 0")
            << "delete" << "" << "1,0" << "1,1,Северный 1,2,Озерный 2,1,Южный"
            << "1,1,1,Л1 1,1,2,Л2 1,2,1,Л3 2,1,1,Л4 1,1,0,Л5" << "";
    }

    void operations()
    {
        QFETCH(QString, operation);
        QFETCH(QString, source);
        QFETCH(QString, current);
        QFETCH(QString, message);
        TempWorkDir dir;
        MessageRecorder rec;
        writeNetwork();
        const QByteArray linesBefore = dir.readFile("lines.xml");
        const QStringList at = current.split(',') << "" << "";
        NPES = at.at(0); NRES = at.at(1); NLIN = at.at(2);
        if (operation == "paste")
            InsertObj(source.split(','));
        else if (operation == "move")
            ChangeObj(source.split(','));
        else
            DeleteObj(current.count(','), NPES, NRES, NLIN);
        QTEST(rows("res", "RES", {"npes", "nres", "name"}).join(' '), "res");
        const QStringList lines = rows("lines", "LIN", {"npes", "nres", "nlin", "name"});
        QTEST(lines.join(' '), "lines");
        QCOMPARE(rec.warnings(), message.isEmpty() ? QStringList() : QStringList("Информация|" + message));
        // Sections and schemes follow their lines: each line has its own
        // sections (keys kept in a copy), each line but a pasted copy its
        // scheme, and nothing is left of a line that went.
        QStringList got = rows("uch_lin", "UCH_LIN", {"npes", "nres", "nlin", "key"}), want;
        for (const SxemaLin& s : readSxemaFile().records)
            got.append(s.key.mid(0, 3).join(','));
        for (const QString& l : lines) {
            for (const QString& key : keysOf(l.section(',', 3)))
                want.append(l.section(',', 0, 2) + "," + key);
            if (operation != "paste" || kLines.split(' ').contains(l))
                want.append(l.section(',', 0, 2));
        }
        got.sort();
        want.sort();
        QCOMPARE(got, want);
        // Other columns are copied as they were; a rewritten table keeps its .bak.
        QCOMPARE(ReadShablonXML("lines", attrLin, "LIN").last().mid(4), lineRow("1,1,1", "").mid(4));
        QVERIFY(dir.readFile("lines.bak") == linesBefore || source == current);
    }

    // A table that exists but cannot be read, or holds only rows of another
    // spelling, is not replaced by a table of one new row.
    void damagedTableIsNotRewritten_data()
    {
        QTest::addColumn<QByteArray>("pes");   // "<folder>": a folder
        QTest::newRow("a folder") << QByteArray("<folder>");
        QTest::newRow("rows of another spelling") << QByteArray("<net110_PES><pes npes=\"1\" name=\"П\"/></net110_PES>");
    }

    void damagedTableIsNotRewritten()
    {
        QFETCH(QByteArray, pes);
        TempWorkDir dir;
        MessageRecorder rec;
        if (pes == "<folder>")
            QDir().mkpath(dir.filePath("pes.xml/x"));
        else
            dir.writeFile("pes.xml", pes);
        const QMap<QString, QByteArray> before = dir.files();
        CreateNewObj(0);
        QCOMPARE(dir.files(), before);
        QCOMPARE(rec.warnings(), QStringList("Предупреждение|Ошибка чтения файла " + dir.filePath("pes.xml")));
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
        writeNetwork("1,Север", "1,1,Р", "1,1,1,Л1");
        NPES = NRES = NLIN = "1";
        DeleteObj(level, NPES, NRES, NLIN);
        // What stays above it: nothing, the PES, the PES and the RES.
        QCOMPARE(rows("pes", "PES", {"npes"}) + rows("res", "RES", {"nres"}), QStringList({"1", "1"}).mid(0, level));
        QVERIFY(rows("uch_lin", "UCH_LIN", {"key"}).isEmpty() && readSxemaFile().records.isEmpty());
        QCOMPARE(withoutStamp(dir.readFile("lines.xml")),
                 QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<net110_LIN created=\"STAMP\" "
                            "modeling_authority=\"TARNO\"/>\n"));
        QVERIFY(rec.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestObjects)
#include "tst_objects.moc"

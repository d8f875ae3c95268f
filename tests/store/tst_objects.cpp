// Creating, pasting, moving and deleting PES, RES and lines.

#include "store/readregim.h"
#include "store/sxema.h"
#include "testsupport.h"

#include <QtTest>

namespace {

// PES 1 has RES 1 (lines 1, 2 and 0) and RES 2 (line 1); PES 2 has
// RES 1 (line 1), the same code as a RES of PES 1; RES 1,0 has line 1.
const QString kPes = QStringLiteral("1,Север 2,Юг");
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

// The root element of a written file.
QString rootOf(const QByteArray& file)
{
    return QString::fromUtf8(file).section('<', 2, 2).section(' ', 0, 0);
}

// The rows of a table file as "a,b,c" of the columns named.
QStringList rows(const QString& table, const QString& row, const QStringList& names)
{
    QStringList out;
    for (const QStringList& r : ReadShablonXML(table, names, row))
        out.append(r.join(','));
    return out;
}

// The codes of every saved drawing.
QStringList drawings()
{
    QStringList out;
    for (const SxemaLin& s : readSxemaFile().records)
        out.append(s.key.mid(0, 3).join(','));
    return out;
}

// A drawing of one bus for the line of codes.
SxemaLin drawing(const QStringList& codes)
{
    return {codes, {{"10", "20", "5", "40", "1", "0", "0", "0"}}, {}, {}, {}};
}

// PES, RES and lines as in kRes and kLines, under the root "root"; every line
// has its sections and a scheme. Drawings are left under 2,2,5 and 1,1,3 by
// lines deleted while the scheme file was damaged.
const QStringList kStale = {"2,2,5", "1,1,3"};
void writeNetwork(const QString& pes = kPes, const QString& res = kRes, const QString& lines = kLines)
{
    Table tables[3], sections;
    QVector<SxemaLin> schemes = {drawing(kStale.at(0).split(',')), drawing(kStale.at(1).split(','))};
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
        schemes.append(drawing(line.split(',') << "rgb(1,2,3)"));
    }
    saveShablonXML("pes", attrPES, "PES", "root", tables[0]);
    saveShablonXML("res", attrRES, "RES", "root", tables[1]);
    saveShablonXML("lines", attrLin, "LIN", "root", tables[2]);
    saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "root", sections);
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
        // Table, row element, root written, name of a new object.
        const QStringList file = QStringList({"pes PES net110_PES Новый ПЭС", "res RES net110_RES Новый РЭС",
                                              "lines LIN net110_LIN Новая линия"}).at(level).split(' ');
        saveShablonXML(file.at(0), names, file.at(1), "root", existing);
        // A drawing left at the new codes goes, one beside them stays.
        QStringList at = (QStringList({"1", "1"}).mid(0, level) << expected << "1" << "1").mid(0, 3), beside = at;
        beside[level] = QString::number(expected.toLongLong() + 1);
        writeSxemaFile({drawing(at), drawing(beside)});
        NPES = NRES = "1";
        QCOMPARE(CreateNewObj(level), 1);
        QCOMPARE(drawings(), QStringList({at.join(','), beside.join(',')}).mid(expected.isEmpty() ? 0 : 1));
        if (expected.isEmpty()) {   // two objects would share the code
            QCOMPARE(ReadShablonXML(file.at(0), names, file.at(1)), existing);
            QCOMPARE(rec.warnings(), QStringList("Предупреждение|Нет свободного кода для нового объекта"));
            return;
        }
        QCOMPARE(rootOf(dir.readFile(file.at(0) + ".xml")), file.at(2));
        const QStringList created = ReadShablonXML(file.at(0), names, file.at(1)).last();
        QCOMPARE(created.mid(0, level + 2),
                 QStringList({"1", "1"}).mid(0, level) + QStringList({expected, file.mid(3).join(' ')}));
        if (level == 2)   // a new line's defaults
            QCOMPARE(created.mid(4), QStringList({"", "0", "35", "35", "35", "0.5", "0.5",
                                                  "1.0", "0.8", "0", "0", "0", "0"}));
    }

    // Each operation, the tables after it and the root of pes, res, lines and
    // uch_lin ("root" where the operation did not write the table).
    void operations_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("source");     // the object pasted or moved
        QTest::addColumn<QString>("current");    // where it goes, or what is deleted or renamed
        QTest::addColumn<QString>("pesRes");     // the PES rows, then the RES rows
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("roots");
        const QString pesRes = kPes + " " + kRes;
        QTest::newRow("paste a RES under another PES")
            << "paste" << "1,1" << "2,1" << pesRes + " 2,2,Северный- копия" << kLines + " 2,2,1,Л1 2,2,2,Л2 2,2,0,Л5"
            << "Объект добавлен" << "root net110_RES net110_LIN net110_uch_lin";
        QTest::newRow("paste a line into its own RES") << "paste" << "1,1,1" << "1,1,2" << pesRes
            << kLines + " 1,1,3,Л1- копия" << "Объект добавлен" << "root root net110_LIN net110_uch_lin";
        QTest::newRow("move a line before one above it") << "move" << "1,2,1" << "1,1,2" << pesRes
            << "1,1,1,Л1 1,2,1,Л3 1,1,2,Л2 2,1,1,Л4 1,1,0,Л5 1,0,1,Л6" << "Объект перемещен" << "root root net110_LIN root";
        QTest::newRow("move a line before one below it") << "move" << "1,1,1" << "1,2,1" << pesRes
            << "1,1,2,Л2 1,1,1,Л1 1,2,1,Л3 2,1,1,Л4 1,1,0,Л5 1,0,1,Л6" << "Объект перемещен" << "root root net110_LIN root";
        QTest::newRow("move a line onto itself")
            << "move" << "1,1,2" << "1,1,2" << pesRes << kLines << "Объект остается на прежнем месте" << "root root root root";
        // Under its new code 2,2 a moved or pasted RES finds the old drawing 2,2,5, which goes.
        QTest::newRow("move a RES to another PES")
            << "move" << "1,2" << "2,1" << kPes + " 1,1,Северный 2,2,Озерный 2,1,Южный 1,0,Нулевой"
            << "1,1,1,Л1 1,1,2,Л2 2,2,1,Л3 2,1,1,Л4 1,1,0,Л5 1,0,1,Л6" << "Объект перемещен"
            << "root net10_RES net110_LIN net110_uch_lin";
        QTest::newRow("delete a PES with several RES") << "delete" << "" << "1" << "2,Юг 2,1,Южный" << "2,1,1,Л4"
            << "" << "net10_PES net10_RES net110_LIN net110_uch_lin";
        QTest::newRow("delete a RES, same code under another PES kept")
            << "delete" << "" << "1,1" << kPes + " 1,2,Озерный 2,1,Южный 1,0,Нулевой" << "1,2,1,Л3 2,1,1,Л4 1,0,1,Л6"
            << "" << "root net10_RES net110_LIN net110_uch_lin";
        QTest::newRow("delete a line coded 0") << "delete" << "" << "1,1,0" << pesRes
            << "1,1,1,Л1 1,1,2,Л2 1,2,1,Л3 2,1,1,Л4 1,0,1,Л6" << "" << "root root net110_LIN net110_uch_lin";
        QTest::newRow("delete a RES coded 0")
            << "delete" << "" << "1,0" << kPes + " 1,1,Северный 1,2,Озерный 2,1,Южный"
            << "1,1,1,Л1 1,1,2,Л2 1,2,1,Л3 2,1,1,Л4 1,1,0,Л5" << "" << "root net10_RES net110_LIN net110_uch_lin";
        QTest::newRow("rename a PES") << "rename" << "" << "2" << "1,Север 2,Л2 новая " + kRes << kLines << ""
                                      << "net10_PES root root root";
        QTest::newRow("rename a RES") << "rename" << "" << "1,2" << kPes + " 1,1,Северный 1,2,Л2 новая 2,1,Южный 1,0,Нулевой"
                                      << kLines << "" << "root net10_RES root root";
        QTest::newRow("rename a line") << "rename" << "" << "1,1,2" << pesRes
            << "1,1,1,Л1 1,1,2,Л2 новая 1,2,1,Л3 2,1,1,Л4 1,1,0,Л5 1,0,1,Л6" << "" << "root root net110_LIN root";
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
        const QStringList at = current.split(',') << "" << "";
        NPES = at.at(0); NRES = at.at(1); NLIN = at.at(2);
        if (operation == "paste")
            InsertObj(source.split(','));
        else if (operation == "move")
            ChangeObj(source.split(','));
        else if (operation == "rename")
            UpdateObj(current.count(','), "Л2 новая", NPES, NRES, NLIN);
        else
            DeleteObj(current.count(','), NPES, NRES, NLIN);
        QTEST((rows("pes", "PES", {"npes", "name"}) + rows("res", "RES", {"npes", "nres", "name"})).join(' '), "pesRes");
        const QStringList lines = rows("lines", "LIN", {"npes", "nres", "nlin", "name"});
        QTEST(lines.join(' '), "lines");
        QCOMPARE(rec.warnings(), message.isEmpty() ? QStringList() : QStringList("Информация|" + message));
        // Sections (keys kept in a copy) and schemes (not copied) follow their lines.
        QStringList got = rows("uch_lin", "UCH_LIN", {"npes", "nres", "nlin", "key"}) + drawings(), want, codes;
        for (const QString& l : lines) {
            codes.append(l.section(',', 0, 2));
            for (const QString& key : keysOf(l.section(',', 3)))
                want.append(l.section(',', 0, 2) + "," + key);
            if (operation != "paste" || kLines.split(' ').contains(l))
                want.append(l.section(',', 0, 2));
        }
        // A drawing left by a deleted line goes with its RES, or when an object takes its codes.
        const QStringList resAfter = rows("res", "RES", {"npes", "nres"});
        for (const QString& stale : kStale) {
            const QString res = stale.section(',', 0, 1);
            if (resAfter.contains(res) == kRes.contains(res + ",") && !codes.contains(stale))
                want.append(stale);
        }
        got.sort();
        want.sort();
        QCOMPARE(got, want);
        // Other columns are copied as they were.
        QCOMPARE(ReadShablonXML("lines", attrLin, "LIN").last().mid(4), lineRow("1,1,1", "").mid(4));
        QStringList roots;
        for (const QString table : {"pes", "res", "lines", "uch_lin"})
            roots.append(rootOf(dir.readFile(table + ".xml")));
        QTEST(roots.join(' '), "roots");
    }

    // A table that holds only rows of another spelling is damaged, not
    // empty: it is not replaced by a table of one new row. A damaged scheme
    // file does not stop a new object; it stays as it is, with a warning.
    void damagedFiles()
    {
        TempWorkDir dir;
        MessageRecorder rec;
        const QByteArray pes = "<net110_PES><pes npes=\"1\" name=\"П\"/></net110_PES>";
        const QByteArray scheme = "<lines_sxemes><LinID npes=\"2\" nres=\"1\" nlin=\"1\"><Node key=\"1\"/></LinID><LinID";
        dir.writeFile("pes.xml", pes);
        dir.writeFile("sxemalin.xml", scheme);
        CreateNewObj(0);
        QCOMPARE(dir.files(), (QMap<QString, QByteArray>{{"pes.xml", pes}, {"sxemalin.xml", scheme}}));
        dir.writeFile("pes.xml", QByteArray(pes).replace("<pes", "<PES"));
        CreateNewObj(0);
        QCOMPARE(rows("pes", "PES", {"npes"}), QStringList({"1", "2"}));
        QCOMPARE(dir.readFile("sxemalin.xml"), scheme);
        const QString error = "Предупреждение|Ошибка чтения файла ";
        QCOMPARE(rec.warnings(), QStringList({error + dir.filePath("pes.xml"), error + dir.filePath("sxemalin.xml")}));
    }

    // The last line, RES and PES go too: each table is written empty.
    void deleteLastRemainingObject()
    {
        TempWorkDir dir;
        MessageRecorder rec;
        writeNetwork("1,Север", "1,1,Р", "1,1,1,Л1");
        NPES = NRES = NLIN = "1";
        for (const int level : {2, 1, 0}) {
            DeleteObj(level, NPES, NRES, NLIN);
            QCOMPARE(rows("pes", "PES", {"npes"}) + rows("res", "RES", {"nres"}) + rows("lines", "LIN", {"nlin"}),
                     QStringList({"1", "1"}).mid(0, level));
        }
        QVERIFY(rows("uch_lin", "UCH_LIN", {"key"}).isEmpty() && drawings() == QStringList("2,2,5"));
        QCOMPARE(withoutStamp(dir.readFile("pes.xml")),
                 QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<net10_PES created=\"STAMP\" "
                            "modeling_authority=\"TARNO\"/>\n"));
        QVERIFY(rec.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestObjects)
#include "tst_objects.moc"

// Automatic layout of a line's scheme: grid, chains, bus and symbol sizes,
// three-winding units, the update of a saved scheme and an empty line.

#include "scheme/createsxem.h"
#include "store/readregim.h"
#include "store/sxema.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QtTest>

namespace {

// Every record as "Kind field;field;...", in the order of the lists.
QStringList records(const SxemaLin& s)
{
    QStringList out;
    const QVector<QPair<QString, const Table*>> lists = {
        {"Node", &s.nodes}, {"Line", &s.lines}, {"Transf", &s.transf}, {"Transf_3", &s.transf3}};
    for (const auto& list : lists) {
        for (const QStringList& r : *list.second)
            out.append(list.first + ' ' + r.join(';'));
    }
    return out;
}

// Sections "a-b" separated by blanks, keyed 1, 2, ... in order.
void addSections(TestNetwork& net, const QString& list)
{
    for (const QString& s : list.split(' ', Qt::SkipEmptyParts))
        net.addSection("1", s.section('-', 0, 0).toInt(), s.section('-', 1, 1).toInt(), "АС-70", 1);
}

// 110 kV types: a two-winding unit (ratio 0.096), and the HV (ratio 1), MV
// and LV windings of a three-winding one.
void addTypes(TestNetwork& net)
{
    net.addTransType("ТДН-10000/110", "110", "10000", "1", "1", "1", "1", "1.78", "9", "115", "11");
    net.addTransType("ТДТН-ВН", "110", "25000", "1", "1", "1", "1", "1.78", "9", "115", "115");
    net.addTransType("ТДТН-СН", "110", "25000", "1", "1", "0", "0", "0", "0", "115", "38.5");
    net.addTransType("ТДТН-НН", "110", "25000", "1", "1", "0", "0", "0", "0", "115", "11");
}

// A 110 kV line 0-1-2: a two-winding unit on bus 1, a three-winding unit
// (star point 4, MV 6, LV 5) on bus 2.
TestNetwork smallLine()
{
    TestNetwork net;
    addTypes(net);
    addSections(net, "0-1 1-2");
    net.addTrans("1", 1, 3, "ТДН-10000/110");
    net.addTrans("1", 2, 4, "ТДТН-ВН");
    net.addTrans("1", 4, 5, "ТДТН-НН");
    net.addTrans("1", 4, 6, "ТДТН-СН");
    return net;
}

const QStringList kSmallLine = {
    "Node 10;117;7;7;0;0;0;0",
    "Node 160;117;35;7;1;0;0;0",
    "Node 310;117;70;7;2;0;0;0",
    "Line 12,119 162,119;1;0;0;0",
    "Line 162,119 312,119;2;0;0;0",
    "Transf 155;122;35;70;115;11;3;0;0;0",
    "Transf_3 305;122;70;70;115;38.5;11;4;6;5;0;0;0",
};

} // namespace

class TestCreateSxem : public QObject
{
    Q_OBJECT

private:
    TempWorkDir* m_dir = nullptr;
    MessageRecorder* m_rec = nullptr;

private slots:
    void init()
    {
        m_dir = new TempWorkDir;
        m_rec = new MessageRecorder;
        NPES = NRES = NLIN = "1";
        UNOM = 110;
    }

    void cleanup()
    {
        delete m_rec;
        delete m_dir;
    }

    // The worked example, read from "uch_lin" beside another line's rows:
    // chains 1 and 3 are single nodes above the main chain, chain 2 below it.
    void workedExample()
    {
        TestNetwork net;
        addSections(net, "0-1 1-2 2-3 3-4 1-5 5-6 2-7 3-8 8-9");
        net.addSection("2", 0, 1, "АС-70", 1);
        net.write();
        const CreateSxem s(1);
        QCOMPARE(s.key, QStringList({"1", "1", "1", "RGB(0,0,0)"}));
        QCOMPARE(s.color, QStringLiteral("RGB(0,0,0)"));
        QCOMPARE(records(s), QStringList({
            "Node 10;267;7;7;0;0;0;0",   "Node 160;267;7;7;1;0;0;0", "Node 310;267;7;7;2;0;0;0",
            "Node 460;267;7;7;3;0;0;0",  "Node 610;117;7;7;4;0;0;0", "Node 310;417;7;7;5;0;0;0",
            "Node 460;417;7;7;6;0;0;0",  "Node 460;117;7;7;7;0;0;0", "Node 610;267;7;7;8;0;0;0",
            "Node 760;267;7;7;9;0;0;0",
            "Line 12,269 162,269;1;0;0;0",   "Line 162,269 312,269;2;0;0;0",
            "Line 312,269 462,269;3;0;0;0",  "Line 462,269 612,119;4;0;0;0",
            "Line 162,269 312,419;5;0;0;0",  "Line 312,419 462,419;6;0;0;0",
            "Line 312,269 462,119;7;0;0;0",  "Line 462,269 612,269;8;0;0;0",
            "Line 612,269 762,269;9;0;0;0"}));
        QVERIFY(m_rec->messages.isEmpty());
    }

    // A two-winding unit and a three-winding unit found by the catalog ratio
    // of its HV row; its windings get no symbol, MV is the higher voltage.
    void transformersOfSmallLine()
    {
        TestNetwork net = smallLine();
        net.write();
        QCOMPARE(records(CreateSxem(1, &net.sections)), kSmallLine);
    }

    // The update keeps every saved position and label position (labels are
    // shown again), places the new bus and section, and drops the records of
    // elements that are gone. Without a saved scheme it is the new layout.
    void updateKeepsSavedPlaces()
    {
        TestNetwork net = smallLine();
        net.write();
        QCOMPARE(records(CreateSxem(2, &net.sections)), kSmallLine);

        SxemaLin saved = CreateSxem(1, &net.sections);
        saved.nodes[1] = QStringList{"200", "50", "60", "9", "1", "210", "40", "1"};
        saved.nodes.append({"900", "900", "7", "7", "99", "0", "0", "0"});
        saved.lines[0] = QStringList{"12,119 100,80 202,54", "1", "70", "60", "1"};
        saved.transf[0] = QStringList{"190", "60", "1", "1", "1", "1", "3", "180", "150", "2"};
        saved.transf3[0] = QStringList{"330", "70", "1", "1", "1", "1", "1", "4", "", "", "300", "160", "0"};
        QVERIFY(saveSxemaXML(saved));

        net.sections.removeAt(4);   // the LV winding: one winding is left
        net.addSection("1", 2, 7, "АС-70", 1)[17] = "7";
        QCOMPARE(records(CreateSxem(2, &net.sections)), QStringList({
            "Node 10;117;7;7;0;0;0;0", "Node 200;50;60;9;1;210;40;0", "Node 310;117;70;7;2;0;0;0",
            "Node 460;117;7;7;7;0;0;0",
            "Line 12,119 100,80 202,54;1;70;60;0", "Line 162,119 312,119;2;0;0;0",
            "Line 312,119 462,119;7;0;0;0",
            "Transf 190;60;35;70;115;11;3;180;150;0",
            "Transf_3 330;70;70;70;115;115;115;4;;;300;160;0"}));
    }

    // Shapes beside the main chain, record by record.
    void shapes_data()
    {
        QTest::addColumn<double>("unom");
        QTest::addColumn<QString>("sections");
        QTest::addColumn<QStringList>("transformers");  // "from-to type"
        QTest::addColumn<QStringList>("expected");

        // Ratio 0.096 counts 1 and ratio 1.0 counts 2: w = 3 × 35. A star
        // point with one winding gives MV = LV = the HV row's voltage.
        QTest::newRow("ratios on one bus")
            << 110.0 << "0-1" << QStringList({"1-2 ТДН-10000/110", "1-3 ТДТН-ВН", "3-4 ТДТН-НН"})
            << QStringList({"Node 10;117;7;7;0;0;0;0", "Node 160;117;105;7;1;0;0;0",
                            "Line 12,119 162,119;1;0;0;0", "Transf 155;122;35;70;115;11;2;0;0;0",
                            "Transf_3 225;122;70;70;115;115;115;3;;;0;0;0"});
        // Two single nodes on the main chain share slot 0 and the main chain
        // moves to slot 1; nodes 8 and 9 reach no root and stand at X = -140.
        QTest::newRow("branches and unconnected")
            << 35.0 << "0-1 1-2 2-3 1-4 1-5 8-9" << QStringList()
            << QStringList({"Node 10;267;6;6;0;0;0;0", "Node 160;267;6;6;1;0;0;0",
                            "Node 310;267;6;6;2;0;0;0", "Node 460;267;6;6;3;0;0;0",
                            "Node 310;117;6;6;4;0;0;0", "Node 310;117;6;6;5;0;0;0",
                            "Node -140;267;6;6;8;0;0;0", "Node -140;267;6;6;9;0;0;0",
                            "Line 12,269 162,269;1;0;0;0", "Line 162,269 312,269;2;0;0;0",
                            "Line 312,269 462,269;3;0;0;0", "Line 162,269 312,119;4;0;0;0",
                            "Line 162,269 312,119;5;0;0;0", "Line -138,269 -138,269;6;0;0;0"});
        // One bus, node 0; a type outside the 10 kV window reads as 10/10;
        // the third symbol takes the second one's place.
        QTest::newRow("transformers only")
            << 10.0 << "" << QStringList({"0-1 ТДН-10000/110", "0-2 ТМ-400", "7-3 ТМ-400"})
            << QStringList({"Node 10;98;20;5;0;0;0;0", "Transf 5;102;22;45;10;10;1;0;0;0",
                            "Transf 50;102;22;45;10;10;2;0;0;0", "Transf 50;102;22;45;10;10;3;0;0;0"});
        // Node 0 first met as an end node is still the root, as in the
        // calculation.
        QTest::newRow("root met as an end node")
            << 110.0 << "1-0 1-2" << QStringList()
            << QStringList({"Node 10;117;7;7;0;0;0;0", "Node 160;117;7;7;1;0;0;0",
                            "Node 310;117;7;7;2;0;0;0", "Line 162,119 12,119;1;0;0;0",
                            "Line 162,119 312,119;2;0;0;0"});
        // Above the last class bound the last sizes serve, for the bus and
        // for a symbol whose HV voltage is the line's.
        QTest::newRow("beyond the size table")
            << 1150.0 << "0-1" << QStringList({"1-2 ТМ-400"})
            << QStringList({"Node 10;116;8;8;0;0;0;0", "Node 160;116;40;8;1;0;0;0",
                            "Line 12,119 162,119;1;0;0;0", "Transf 155;122;40;80;1150;1150;2;0;0;0"});
    }

    void shapes()
    {
        QFETCH(double, unom);
        QFETCH(QString, sections);
        QFETCH(QStringList, transformers);
        QFETCH(QStringList, expected);
        UNOM = unom;
        TestNetwork net;
        addTypes(net);
        addSections(net, sections);
        for (const QString& t : transformers)
            net.addTrans("1", t.section('-', 0, 0).toInt(), t.section(' ', 0, 0).section('-', 1).toInt(),
                         t.section(' ', 1));
        net.write();
        QCOMPARE(records(CreateSxem(1, &net.sections)), expected);
        QVERIFY(m_rec->messages.isEmpty());
    }

    // A line without rows: one warning, no records, not even the key list;
    // a missing table warns first.
    void emptyLine()
    {
        TestNetwork net;
        addTypes(net);
        net.addSection("2", 0, 1, "АС-70", 1);
        net.write();
        const Table none;
        const QString noRows = "Предупреждение|Для линии не заведены участки";
        for (const CreateSxem& s : {CreateSxem(1, &none), CreateSxem(2)}) {
            QVERIFY(s.key.isEmpty() && records(s).isEmpty());
        }
        QCOMPARE(m_rec->warnings(), QStringList({noRows, noRows}));

        m_rec->clear();
        QFile::remove(m_dir->filePath("uch_lin.xml"));
        QVERIFY(records(CreateSxem(1)).isEmpty());
        QCOMPARE(m_rec->warnings(),
                 QStringList({"Предупреждение|Отсутствует файл -" + m_dir->filePath("uch_lin.xml"), noRows}));
    }
};

QTEST_GUILESS_MAIN(TestCreateSxem)
#include "tst_createsxem.moc"

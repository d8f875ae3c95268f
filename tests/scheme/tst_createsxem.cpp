// Automatic layout of a line's scheme.

#include "schemefixture.h"
#include "scheme/createsxem.h"

namespace {

// Sections "a-b" keyed in order, then transformers "a-b type": two-winding
// (ratio 0.096), or the HV (ratio 1), MV and LV windings of a three-winding unit.
TestNetwork network(const QString& sections, const QStringList& transformers = {})
{
    TestNetwork net;
    net.addTransType("ТДН-10000/110", "110", "10000", "1", "1", "1", "1", "1.78", "9", "115", "11");
    net.addTransType("ТДТН-ВН", "110", "25000", "1", "1", "1", "1", "1.78", "9", "115", "115");
    net.addTransType("ТДТН-СН", "110", "25000", "1", "1", "0", "0", "0", "0", "115", "38.5");
    net.addTransType("ТДТН-НН", "110", "25000", "1", "1", "0", "0", "0", "0", "115", "11");
    for (const QString& s : sections.split(' ', Qt::SkipEmptyParts))
        net.addSection("1", s.section('-', 0, 0).toInt(), s.section('-', 1, 1).toInt(), "АС-70", 1);
    for (const QString& t : transformers)
        net.addTrans("1", t.section('-', 0, 0).toInt(), t.section(' ', 0, 0).section('-', 1).toInt(), t.section(' ', 1));
    return net;
}

} // namespace

class TestCreateSxem : public SchemeCase
{
    Q_OBJECT

private slots:
    void init() { openWork(false); }

    // Read from "uch_lin" beside another line's rows.
    void shapes_data()
    {
        QTest::addColumn<double>("unom");
        QTest::addColumn<QString>("sections");
        QTest::addColumn<QStringList>("transformers");  // "from-to type"
        QTest::addColumn<QString>("expected");          // records joined by '|'
        // Chains 1 and 3 are single nodes above the main chain, chain 2 below it.
        QTest::newRow("worked example") << 110.0 << "0-1 1-2 2-3 3-4 1-5 5-6 2-7 3-8 8-9" << QStringList()
            << "Node 10;267;7;7;0|Node 160;267;7;7;1|Node 310;267;7;7;2|Node 460;267;7;7;3|Node 610;117;7;7;4|"
               "Node 310;417;7;7;5|Node 460;417;7;7;6|Node 460;117;7;7;7|Node 610;267;7;7;8|Node 760;267;7;7;9|"
               "Line 12,269 162,269;1|Line 162,269 312,269;2|Line 312,269 462,269;3|Line 462,269 612,119;4|"
               "Line 162,269 312,419;5|Line 312,419 462,419;6|Line 312,269 462,119;7|Line 462,269 612,269;8|"
               "Line 612,269 762,269;9";
        // Ratio 0.096 counts 1 and 1.0 counts 2 (w = 3 × 35); one winding: MV = LV = HV.
        QTest::newRow("ratios on one bus")
            << 110.0 << "0-1" << QStringList({"1-2 ТДН-10000/110", "1-3 ТДТН-ВН", "3-4 ТДТН-НН"})
            << "Node 10;117;7;7;0|Node 160;117;105;7;1|Line 12,119 162,119;1|Transf 155;122;35;70;115;11;2|"
               "Transf_3 225;122;70;70;115;115;115;3;;";
        // Single nodes on the main chain share slot 0; nodes 8 and 9 reach no root.
        QTest::newRow("branches and unconnected") << 35.0 << "0-1 1-2 2-3 1-4 1-5 8-9" << QStringList()
            << "Node 10;267;6;6;0|Node 160;267;6;6;1|Node 310;267;6;6;2|Node 460;267;6;6;3|Node 310;117;6;6;4|"
               "Node 310;117;6;6;5|Node -140;267;6;6;8|Node -140;267;6;6;9|Line 12,269 162,269;1|"
               "Line 162,269 312,269;2|Line 312,269 462,269;3|Line 162,269 312,119;4|Line 162,269 312,119;5|"
               "Line -138,269 -138,269;6";
        // All on one bus, node 0; a type outside the 10 kV window reads as 10/10.
        QTest::newRow("transformers only")
            << 10.0 << "" << QStringList({"0-1 ТДН-10000/110", "0-2 ТМ-400", "7-3 ТМ-400"})
            << "Node 10;98;20;5;0|Transf 5;102;22;45;10;10;1|Transf 50;102;22;45;10;10;2|Transf 50;102;22;45;10;10;3";
        // Windings of equal LV voltage: the later row is the MV winding.
        QTest::newRow("equal windings")
            << 110.0 << "0-1" << QStringList({"1-2 ТДТН-ВН", "2-3 ТДТН-НН", "2-4 ТДТН-НН"})
            << "Node 10;117;7;7;0|Node 160;117;70;7;1|Line 12,119 162,119;1|Transf_3 155;122;70;70;115;11;11;2;4;3";
        QTest::newRow("root met as an end node") << 110.0 << "1-0 1-2" << QStringList()
            << "Node 10;117;7;7;0|Node 160;117;7;7;1|Node 310;117;7;7;2|Line 162,119 12,119;1|Line 162,119 312,119;2";
        // Bus height and width per unit, unit width and height of each size class below 110 kV and above it.
        const QVector<QPair<double, QString>> classes = {
            {0.4, "118;4;4;0|Node 160;118;10;4;1|Line 12,119 162,119;1|Transf 155;122;15;30"},
            {3.0, "118;5;5;0|Node 160;118;16;5;1|Line 12,119 162,119;1|Transf 155;122;18;35"},
            {6.0, "118;5;5;0|Node 160;118;18;5;1|Line 12,119 162,119;1|Transf 155;122;20;40"},
            {20.0, "118;5;5;0|Node 160;118;25;5;1|Line 12,119 162,119;1|Transf 155;122;25;50"},
            {220.0, "116;8;8;0|Node 160;116;40;8;1|Line 12,119 162,119;1|Transf 155;122;40;80"}};
        for (const auto& [unom, sizes] : classes)
            QTest::addRow("%g kV", unom) << unom << "0-1" << QStringList({"1-2 ТМ-400"})
                                         << QString("Node 10;%1;%2;%2;2").arg(sizes).arg(unom);
        QTest::newRow("beyond the size table") << 1150.0 << "0-1" << QStringList({"1-2 ТМ-400"})
            << "Node 10;116;8;8;0|Node 160;116;40;8;1|Line 12,119 162,119;1|Transf 155;122;40;80;1150;1150;2";
    }
    void shapes()
    {
        QFETCH(double, unom);
        QFETCH(QString, sections);
        QFETCH(QStringList, transformers);
        UNOM = unom;
        TestNetwork net = network(sections, transformers);
        net.addSection("2", 0, 1, "АС-70", 1);
        net.write();
        const CreateSxem s(1);
        QCOMPARE(s.key, QStringList({"1", "1", "1", "RGB(0,0,0)"}));
        QTEST(schemeRecords(s, 3).join('|'), "expected");
        QVERIFY(m_rec->messages.isEmpty());
    }

    // The update keeps saved places (labels shown again), places what is new, drops what is gone.
    void updateKeepsSavedPlaces()
    {
        UNOM = 110;
        TestNetwork net = network("0-1 1-2", {"1-3 ТДН-10000/110", "2-4 ТДТН-ВН", "4-5 ТДТН-НН", "4-6 ТДТН-СН"});
        net.write();
        const QString laidOut = "Node 10;117;7;7;0;0;0;0|Node 160;117;35;7;1;0;0;0|Node 310;117;70;7;2;0;0;0|"
                                "Line 12,119 162,119;1;0;0;0|Line 162,119 312,119;2;0;0;0|"
                                "Transf 155;122;35;70;115;11;3;0;0;0|Transf_3 305;122;70;70;115;38.5;11;4;6;5;0;0;0";
        for (int mode : {1, 2})
            QCOMPARE(schemeRecords(CreateSxem(mode, &net.sections)).join('|'), laidOut);
        SxemaLin saved = CreateSxem(1, &net.sections);
        saved.nodes[1] = QStringList{"200", "50", "60", "9", "1", "210", "40", "1"};
        saved.nodes.append({"900", "900", "7", "7", "3", "0", "0", "0"});   // node 3 is gone, node 7 is new
        saved.lines[0] = QStringList{"12,119 100,80 202,54", "1", "70", "60", "1"};
        saved.transf[0] = QStringList{"190", "60", "1", "1", "1", "1", "3", "180", "150", "2"};
        saved.transf3[0] = QStringList{"330", "70", "1", "1", "1", "1", "1", "4", "", "", "300", "160", "0"};
        QVERIFY(saveSxemaXML(saved));
        QCOMPARE(schemeRecords(CreateSxem(1, &net.sections)).join('|'), laidOut);   // a new layout ignores it
        net.sections.removeAt(4);   // the LV winding: one winding is left
        net.addSection("1", 2, 7, "АС-70", 1)[17] = "7";
        QCOMPARE(schemeRecords(CreateSxem(2, &net.sections)).join('|'),
                 QString("Node 10;117;7;7;0;0;0;0|Node 200;50;60;9;1;210;40;0|Node 310;117;70;7;2;0;0;0|"
                         "Node 460;117;7;7;7;0;0;0|Line 12,119 100,80 202,54;1;70;60;0|Line 162,119 312,119;2;0;0;0|"
                         "Line 312,119 462,119;7;0;0;0|Transf 190;60;35;70;115;11;3;180;150;0|"
                         "Transf_3 330;70;70;70;115;115;115;4;;;300;160;0"));
    }

    void emptyLine()
    {
        TestNetwork net = network("");
        net.addSection("2", 0, 1, "АС-70", 1);
        net.write();
        const Table none;
        for (const CreateSxem& s : {CreateSxem(1, &none), CreateSxem(2)})
            QVERIFY(s.key.isEmpty() && schemeRecords(s).isEmpty());
        const QString noRows = "Предупреждение|Для линии не заведены участки";
        QCOMPARE(m_rec->warnings(), QStringList({noRows, noRows}));
        m_rec->clear();
        QFile::remove(m_dir->filePath("uch_lin.xml"));
        QVERIFY(schemeRecords(CreateSxem(1)).isEmpty());
        QCOMPARE(m_rec->warnings(),
                 QStringList({"Предупреждение|Отсутствует файл -" + m_dir->filePath("uch_lin.xml"), noRows}));
    }
};

QTEST_GUILESS_MAIN(TestCreateSxem)
#include "tst_createsxem.moc"

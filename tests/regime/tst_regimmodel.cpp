// The regime display's model: the line as the table gives it, results taken
// over by row key, the shown values of each mode, classes and label texts.

#include "calcglobals.h"
#include "calcnetwork.h"
#include "regime/regimmodel.h"
#include "regimenetwork.h"

#include <QtTest>

// values: P Q I Kz dP dQ dPxx dQxx dU
struct LabelCase { int mode; QStringList params; QVector<double> values; QStringList line, trans; int offset; };

Q_DECLARE_METATYPE(LabelCase)

class TestRegimModel : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); UNOM = 110; }

    // Names, marks, nodes in numeric order (a leading zero read away), the
    // later row of a shared key, rows of another line left out.
    void readsTheLine()
    {
        // codes, name, name1, nodes, tip_el, kod_el, dl, n_otv and the four loads, kbal, podkt, key
        const auto row = [](const QString& fields) { return fields.split(','); };
        RegimModel m;
        m.ReadModel({row("1,1,1,,,3,7,1,АС-70,2.5,0,0,0,0,0,0,0,1"), row("1,1,2,чужая,,1,2,1,АС-70,1,0,0,0,0,0,0,0,9"),
                     row("1,1,1,Т-1,,7,10,2,ТДН-10000/110,0,0,0,0,0,0,0,0,2"),
                     row("1,1,1,Отпайка,,2,07,1,АС-95,1.250,0,0,0,0,0,0,0,2")});
        QCOMPARE(m.branchName, QStringList({"Участок 3-7", "Т-1", "Отпайка"}));
        QCOMPARE(m.markText, QStringList({"АС-70 2.5 км", "ТДН-10000/110", "АС-95 1.250 км"}));
        QCOMPARE(m.nodeName, QStringList({"Узел 2", "Узел 3", "Узел 7", "Узел 10"}));
        QCOMPARE(m.nodeMap, (QHash<QString, int>{{"2", 0}, {"3", 1}, {"7", 2}, {"10", 3}}));
        QCOMPARE(m.branchMap, (QHash<QString, int>{{"1", 0}, {"2", 2}}));
        QCOMPARE(m.shown.P.size(), 3);
    }

    // Each row's results land on the branch of its key; the supply keeps its voltage though the
    // disconnected row is named "0" too. Scheme parameters keep the values shown before.
    void takesResultsByKey()
    {
        const TestNetwork net = regimeNetwork();
        const auto calc = calculate(net, 2);
        RegimModel m;
        m.ReadModel(net.sections);
        QCOMPARE(m.takeRegime(*calc), 0);
        QCOMPARE(m.U.at(m.nodeMap.value("0")), calc->m_U.at(0));
        QCOMPARE(m.shown.S, QVector<double>({70, 0, 240, 10000}));
        QCOMPARE(m.cable, QVector<int>({0, 0, 1, 1}));
        QCOMPARE(m.shown.dQxx, calc->m_Qxx);   // the rows stand in key order here
        // the cable carries the transformer's flow and its losses
        QVERIFY(m.shown.Kz.at(3) > 0.0 && m.shown.P.at(2) > m.shown.P.at(3) && m.shown.P.at(3) > 4.0);
        m.ChangeVal(1);
        m.ChangeVal(2);
        QCOMPARE(m.shown.P, m.energy.W);
        QCOMPARE(m.shown.dQxx, m.energy.dWqxx);
        m.ChangeVal(0);
        QCOMPARE(m.shown.P, m.regime.P);
    }

    // A bound belongs to the class above it; 2000 kV and above take the last width.
    void drawingClasses_data()
    {
        QTest::addColumn<double>("kv");
        QTest::addColumn<int>("cls");
        QTest::addColumn<double>("width");
        const struct { double kv; int cls; double width; } rows[] = {
            {0.4, 0, 1}, {10, 3, 1}, {35, 5, 1.5}, {110, 6, 2}, {130, 7, 3}, {220, 7, 3}, {2000, 10, 5}};
        for (const auto& r : rows)
            QTest::addRow("%g kV", r.kv) << r.kv << r.cls << r.width;
    }
    void drawingClasses()
    {
        QFETCH(double, kv);
        QTEST(Regime::drawingClass(kv), "cls");
        QTEST(Regime::lineWidth(Regime::drawingClass(kv)), "width");
    }

    // A node's voltage against the four limits of its class: on a limit it
    // falls on the side nearer to normal.
    void nodeBands_data()
    {
        QTest::addColumn<double>("unom");
        QTest::addColumn<QVector<double>>("limits");
        const struct { double unom; QVector<double> limits; } rows[] = {
            {0.4, {0.8, 0.9, 1.1, 1.2}}, {3, {2.4, 2.7, 3.5, 4.0}},   {6, {5.1, 5.6, 7.2, 8.0}},
            {10, {8, 9, 11.2, 12.5}},    {20, {16, 18, 23, 25}},      {35, {31, 33, 39, 42}},
            {110, {99, 104, 120, 126}},  {220, {198, 208, 232, 242}}, {330, {300, 315, 345, 360}},
            {500, {475, 488, 515, 526}}};
        for (const auto& r : rows)
            QTest::addRow("%g kV", r.unom) << r.unom << r.limits;
    }
    void nodeBands()
    {
        QFETCH(double, unom);
        QFETCH(QVector<double>, limits);
        using B = Regime::NodeBand;
        RegimModel m;
        m.ReadModel({QString("1,1,1,,,0,1,1,АС-70,1,0,0,0,0,0,0,0,1").split(',')});
        m.Unom = {unom, unom};
        QVector<B> bands;   // just below, on and just above each limit
        for (double limit : limits) {
            for (double u : {limit - 0.01, limit, limit + 0.01}) {
                m.U = {u, 0};
                bands.append(m.nodeBand(0));
            }
        }
        QCOMPARE(bands, QVector<B>({B::FarBelow, B::Below, B::Below, B::Below, B::Normal, B::Normal,
                                    B::Normal, B::Normal, B::Above, B::Above, B::Above, B::FarAbove}));
        QCOMPARE(m.nodeBand(1), B::NoValue);
    }

    // A branch's value against the bounds of its line view, tested in this
    // order: zero, below low, below normal, above over, from high on.
    void branchBands_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<bool>("transformer");
        QTest::addColumn<QVector<double>>("bounds");   // low, normal, high, over
        // 0 no value, L low, N normal, U undefined, H high, O overloaded: at
        // zero, then just below, on and just above each bound
        QTest::addColumn<QString>("bands");
        QTest::newRow("loading") << 0 << false << QVector<double>({0.2, 0.7, 0.7, 1.0}) << "0LNNNHHNHHHHO";
        QTest::newRow("voltage drop, section") << 1 << false << QVector<double>({0.5, 1.0, 2.5, 5.0}) << "0LNNNUUUHHHHO";
        QTest::newRow("voltage drop, unit") << 1 << true << QVector<double>({0.5, 2.5, 2.5, 5.0}) << "0LNNNHHNHHHHO";
        QTest::newRow("losses, section") << 2 << false << QVector<double>({0.05, 0.2, 0.5, 1.0}) << "0LNNNUUUHHHHO";
        QTest::newRow("losses, unit") << 2 << true << QVector<double>({0.1, 0.3, 0.5, 1.0}) << "0LNNNUUUHHHHO";
    }
    void branchBands()
    {
        QFETCH(int, view);
        QFETCH(bool, transformer);
        QFETCH(QVector<double>, bounds);
        RegimModel m;
        m.ReadModel({QString("1,1,1,,,0,1,1,АС-70,1,0,0,0,0,0,0,0,1").split(',')});
        // Only what the view reads is set: Kz, dU, dU × dP or 20 × dP / S.
        const auto band = [&](double v) {
            m.shown.Kz = {view == 0 ? v : 0.0};
            m.shown.dU = {view == 1 ? v : view == 2 && !transformer ? 1.0 : 0.0};
            m.shown.dP = {view == 2 ? (transformer ? v * 50 : v) : 0.0};
            m.shown.S = {view == 2 && transformer ? 1000.0 : 0.0};
            using B = Regime::BranchBand;
            const QMap<B, QChar> letters = {{B::NoValue, '0'}, {B::Low, 'L'}, {B::Normal, 'N'},
                                            {B::Undefined, 'U'}, {B::High, 'H'}, {B::Overloaded, 'O'}};
            return letters.value(m.branchBand(0, view, transformer), '?');
        };
        QString bands = band(0);
        for (double bound : bounds) {
            for (double v : {bound - 0.001, bound, bound + 0.001})
                bands += band(v);
        }
        QTEST(bands, "bands");
    }

    void labels_data()
    {
        QTest::addColumn<LabelCase>("c");
        const QVector<double> v = {12.346, -3.26, 56.7, 0.414, 1.5, 12.4, 14.2, -70.4, -0.44};
        const QStringList all = {"P=12.35 -J 3.3", "Ток=57 Кз=0.41", "dP=1.50 +J 12", "Потеря U=-0.4"};
        QTest::newRow("power, all ticked, in any order")
            << LabelCase{0, {"DU", "ITK", "DP", "PTK"}, v, all,
                         {all[0], all[1], all[2], "dPxx=14.20 -J 70", all[3]}, -20};
        QTest::newRow("power, Q zero")
            << LabelCase{0, {"PTK"}, {1, 0, 0, 0, 0, 0, 0, 0, 0}, {"P=1.00 +J 0.0"}, {"P=1.00 +J 0.0"}, 0};
        QTest::newRow("energy")
            << LabelCase{1, {"PTK", "DP"}, {1234.4, 567.2, 0, 0, 89, -12, 9, 3, 0}, {"W=1234 +J 567", "dW=89 -J 12"},
                         {"W=1234 +J 567", "dW=89 -J 12", "dWxx=9 +J 3"}, -10};
        QTest::newRow("nothing ticked") << LabelCase{0, {}, v, {}, {}, 0};
        QTest::newRow("scheme parameters: names cut")
            << LabelCase{2, {"PTK", "ITK"}, v, {"Отпайка на ПС Карьерная", "АС-70 5.000 км"},
                         {"Отпайка на ПС Карь", "АС-70 5.000 км"}, 0};
    }
    void labels()
    {
        QFETCH(LabelCase, c);
        TestNetwork net;
        net.addSection("1", 0, 1, "АС-70", 5)[3] = "Отпайка на ПС Карьерная 2 (резерв)";
        RegimModel m;
        m.ReadModel(net.sections);
        int i = 0;
        for (QVector<double>* shown : {&m.shown.P, &m.shown.Q, &m.shown.I, &m.shown.Kz, &m.shown.dP, &m.shown.dQ,
                                       &m.shown.dPxx, &m.shown.dQxx, &m.shown.dU})
            (*shown)[0] = c.values.at(i++);
        m.U = {115.456, 0};
        QCOMPARE(m.lineText(0, c.mode, c.params), c.line);
        QCOMPARE(m.transText(0, c.mode, c.params), c.trans);
        QCOMPARE(RegimModel::lineTextOffset(c.mode, c.params), c.offset);
        QCOMPARE(m.busText(1, c.mode), QStringList(c.mode == 2 ? "Узел 1" : "U=0.00"));
        QCOMPARE(m.busText(0, 0), QStringList("U=115.46"));
        QVERIFY(m.lineText(-1, c.mode, c.params).isEmpty() && m.busText(2, c.mode).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRegimModel)
#include "tst_regimmodel.moc"

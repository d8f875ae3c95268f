// The regime display's model: the line as the table gives it, results taken
// over by row key, the shown values of each mode, classes and label texts.

#include "calcglobals.h"
#include "calcnetwork.h"
#include "regime/regimmodel.h"
#include "regimenetwork.h"

#include <QtTest>

namespace {

QStringList uchRow(const QString& nlin, const QString& name, const QString& begin, const QString& end,
                   const QString& tip, const QString& mark, const QString& dl, const QString& key)
{
    return {"1", "1", nlin, name, "", begin, end, tip, mark, dl, "0", "0", "0", "0", "0", "0", "0", key};
}

} // namespace

class TestRegimModel : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); UNOM = 110; }

    // Names, marks, nodes in numeric order (a leading zero read away), the
    // later row of a shared key, rows of another line left out.
    void readsTheLine()
    {
        RegimModel m;
        m.ReadModel({uchRow("1", "", "3", "7", "1", "АС-70", "2.5", "1"),
                     uchRow("2", "чужая", "1", "2", "1", "АС-70", "1", "9"),
                     uchRow("1", "Т-1", "7", "10", "2", "ТДН-10000/110", "0", "2"),
                     uchRow("1", "Отпайка", "2", "07", "1", "АС-95", "1.250", "2")});
        QCOMPARE(m.branchName, QStringList({"Участок 3-7", "Т-1", "Отпайка"}));
        QCOMPARE(m.markText, QStringList({"АС-70 2.5 км", "ТДН-10000/110", "АС-95 1.250 км"}));
        QCOMPARE(m.nodeName, QStringList({"Узел 2", "Узел 3", "Узел 7", "Узел 10"}));
        QCOMPARE(m.nodeMap.value("7"), 2);
        QCOMPARE(m.nodeMap.value("10"), 3);
        QCOMPARE(m.branchMap.value("2"), 2);
        QCOMPARE(m.Unom, QVector<double>(4, 110.0));
        QCOMPARE(m.shown.P.size(), 3);
    }

    // Each row's results land on the branch of its key, whatever rows the
    // flow left out; the supply bus keeps the supply voltage although the
    // disconnected row is named "0" too.
    void takesResultsByKey()
    {
        const TestNetwork net = regimeNetwork();
        const auto calc = calculate(net, 2);
        QVERIFY(calc->m_U.value(0) > 100.0);
        RegimModel m;
        m.ReadModel(net.sections);
        QCOMPARE(m.takeRegime(*calc), 0);

        QCOMPARE(m.U.at(m.nodeMap.value("0")), calc->m_U.at(0));
        QCOMPARE(m.U.at(m.nodeMap.value("4")), 0.0);
        QVERIFY(m.U.at(m.nodeMap.value("3")) > 5.0);
        QCOMPARE(m.shown.S, QVector<double>({70, 0, 240, 10000}));
        QCOMPARE(m.cable, QVector<int>({0, 0, 1, 1}));
        QCOMPARE(m.shown.P.at(1), 0.0);
        // the cable carries the transformer's flow and its losses
        QVERIFY(m.shown.Kz.at(3) > 0.0 && m.shown.P.at(2) > m.shown.P.at(3) && m.shown.P.at(3) > 4.0);

        m.ChangeVal(1);
        m.ChangeVal(2);   // scheme parameters keep what was shown
        QCOMPARE(m.shown.P, m.energy.W);
        QCOMPARE(m.shown.dQxx, m.energy.dWqxx);
        m.ChangeVal(0);
        QCOMPARE(m.shown.P, m.regime.P);
        QCOMPARE(m.U, m.regime.U);
    }

    void drawingClasses_data()
    {
        QTest::addColumn<double>("kv");
        QTest::addColumn<int>("cls");
        QTest::addColumn<double>("width");
        QTest::newRow("0.4") << 0.4 << 0 << 1.0;
        QTest::newRow("10") << 10.0 << 3 << 1.0;
        QTest::newRow("35") << 35.0 << 5 << 1.5;
        QTest::newRow("110") << 110.0 << 6 << 2.0;
        QTest::newRow("130 is above 130") << 130.0 << 7 << 3.0;
        QTest::newRow("220") << 220.0 << 7 << 3.0;
        QTest::newRow("2000 takes the last width") << 2000.0 << 10 << 5.0;
    }
    void drawingClasses()
    {
        QFETCH(double, kv);
        QTEST(Regime::drawingClass(kv), "cls");
        QTEST(Regime::lineWidth(Regime::drawingClass(kv)), "width");
    }

    void labels_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("params");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVector<double>>("values");   // P Q I Kz dP dQ dPxx dQxx dU
        QTest::addColumn<QStringList>("line");
        QTest::addColumn<QStringList>("trans");
        QTest::addColumn<int>("offset");
        const QVector<double> v = {12.346, -3.26, 56.7, 0.414, 1.5, 12.4, 14.2, -70.4, -0.44};
        QTest::newRow("power, all ticked, in any order")
            << 0 << QStringList{"DU", "ITK", "DP", "PTK"} << "ВЛ" << v
            << QStringList{"P=12.35 -J 3.3", "Ток=57 Кз=0.41", "dP=1.50 +J 12", "Потеря U=-0.4"}
            << QStringList{"P=12.35 -J 3.3", "Ток=57 Кз=0.41", "dP=1.50 +J 12", "dPxx=14.20 -J 70",
                           "Потеря U=-0.4"}
            << -20;
        QTest::newRow("power, Q zero")
            << 0 << QStringList{"PTK"} << "ВЛ" << QVector<double>{1, 0, 0, 0, 0, 0, 0, 0, 0}
            << QStringList{"P=1.00 +J 0.0"} << QStringList{"P=1.00 +J 0.0"} << 0;
        QTest::newRow("energy")
            << 1 << QStringList{"PTK", "DP"} << "ВЛ" << QVector<double>{1234.4, 567.2, 0, 0, 89, -12, 9, 3, 0}
            << QStringList{"W=1234 +J 567", "dW=89 -J 12"}
            << QStringList{"W=1234 +J 567", "dW=89 -J 12", "dWxx=9 +J 3"} << -10;
        QTest::newRow("nothing ticked") << 0 << QStringList{} << "ВЛ" << v << QStringList{}
                                        << QStringList{} << 0;
        QTest::newRow("scheme parameters")
            << 2 << QStringList{"PTK", "ITK"} << "Отпайка на ПС Карьерная 2 (резерв)" << v
            << QStringList{"Отпайка на ПС Карьерная", "АС-70 5.000 км"}
            << QStringList{"Отпайка на ПС Карь", "АС-70 5.000 км"} << 0;
    }
    void labels()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, params);
        QFETCH(QString, name);
        QFETCH(QVector<double>, values);
        TestNetwork net;
        net.addSection("1", 0, 1, "АС-70", 5)[3] = name;
        RegimModel m;
        m.ReadModel(net.sections);
        const QVector<QVector<double>*> shown = {&m.shown.P, &m.shown.Q, &m.shown.I, &m.shown.Kz,
                                                 &m.shown.dP, &m.shown.dQ, &m.shown.dPxx,
                                                 &m.shown.dQxx, &m.shown.dU};
        for (int i = 0; i < shown.size(); ++i)
            (*shown[i])[0] = values.at(i);
        m.U = {115.456, 0};

        QTEST(m.lineText(0, mode, params), "line");
        QTEST(m.transText(0, mode, params), "trans");
        QTEST(RegimModel::lineTextOffset(mode, params), "offset");
        QCOMPARE(m.busText(1, mode), QStringList(mode == 2 ? "Узел 1" : "U=0.00"));
        QCOMPARE(m.busText(0, 0), QStringList("U=115.46"));
        QVERIFY(m.lineText(-1, mode, params).isEmpty() && m.busText(2, mode).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRegimModel)
#include "tst_regimmodel.moc"

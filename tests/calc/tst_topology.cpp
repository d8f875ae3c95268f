#include "calc/zorvantask.h"
#include "calcglobals.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QtTest>

#include <memory>

namespace {

struct Branch
{
    int from, to;
};

std::unique_ptr<CalcRadial> run(const QVector<Branch>& branches)
{
    TestNetwork net;
    net.addWire("АС-95/16", "95", "0", "0.306", "0.421", "2.7", "330", "1");
    net.addLine("1", "Л", 110);
    for (const Branch& b : branches)
        net.addSection("1", b.from, b.to, "АС-95/16", 1);
    CalcTables tables;
    tables.lines = net.lines;
    tables.sections = net.sections;
    tables.katLin = net.katLin;
    auto calc = std::make_unique<CalcRadial>();
    calc->setTables(tables);
    calc->CalcUR("1", 0, 0, 0);
    return calc;
}

const QString heading = "--------------------- Л --------------------- ";

} // namespace

class TestTopology : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetCalcGlobals(); }
    void chainLevelsAndParents();
    void ringStopsTheLine();
    void noSupplyNode();
    void islandIsReportedNodeByNode();
    void severalSupplyNodesTakeTheDeepestTree();
    void levelListsHoldEveryReachedNode();
};

void TestTopology::chainLevelsAndParents()
{
    const auto calc = run({{0, 1}, {1, 2}, {2, 3}});
    QCOMPARE(calc->m_nodeNum, (QVector<int>{0, 1, 2, 3}));
    QCOMPARE(calc->m_nodeLevel, (QVector<int>{0, 1, 2, 3}));
    QCOMPARE(calc->m_nodeParent, (QVector<int>{0, 0, 1, 2}));
    QCOMPARE(calc->m_nodeFeed.mid(1), (QVector<int>{0, 1, 2}));
    QCOMPARE(calc->m_levelBound, 3);
    QCOMPARE(calc->m_messages, QStringList{heading});
    QCOMPARE(calc->m_errorCount, 0);
}

void TestTopology::ringStopsTheLine()
{
    const auto calc = run({{0, 1}, {1, 2}, {2, 0}});
    QCOMPARE(calc->m_messages, (QStringList{heading, "*** Ветвь 1 -2 образует кольцо",
                                            "**** Дана неверная информация об участках линии"}));
    QCOMPARE(calc->m_errorCount, 1);
    QCOMPARE(calc->m_lineTitle, QString("Л (Неверная информация об участках)"));
    QCOMPARE(calc->m_totals, QVector<double>(16, 0.0));
}

void TestTopology::noSupplyNode()
{
    const auto calc = run({{1, 2}, {2, 3}});
    QCOMPARE(calc->m_messages, (QStringList{heading, "*** Узел 1 не связан с питающим узлом ",
                                            "*** Узел 2 не связан с питающим узлом ",
                                            "*** Узел 3 не связан с питающим узлом "}));
    QCOMPARE(calc->m_errorCount, 3);
    QCOMPARE(calc->m_levelBound, -1);
}

void TestTopology::islandIsReportedNodeByNode()
{
    const auto calc = run({{0, 1}, {5, 6}});
    QCOMPARE(calc->m_messages, (QStringList{heading, "*** Узел 5 не связан с питающим узлом ",
                                            "*** Узел 6 не связан с питающим узлом "}));
    QCOMPARE(calc->m_errorCount, 2);
    QCOMPARE(calc->m_levelBound, 1);
    QCOMPARE(calc->m_nodeLevel, (QVector<int>{0, 1, -1, -1}));
}

void TestTopology::severalSupplyNodesTakeTheDeepestTree()
{
    // Supply -1 feeds a chain of three, supply 0 a single node; the bound
    // must reach the end of the deeper tree whichever supply comes last.
    const auto calc = run({{-1, 2}, {2, 3}, {3, 4}, {0, 1}});
    QCOMPARE(calc->m_nodeNum, (QVector<int>{-1, 0, 1, 2, 3, 4}));
    QCOMPARE(calc->m_nodeLevel, (QVector<int>{0, 0, 1, 1, 2, 3}));
    QCOMPARE(calc->m_levelBound, 3);
    QCOMPARE(calc->m_messages, QStringList{heading});
}

void TestTopology::levelListsHoldEveryReachedNode()
{
    // 0 - 1, 1 - 2, 1 - 3, 0 - 4, 4 - 5, with an island 8 - 9.
    const auto calc = run({{0, 4}, {1, 2}, {0, 1}, {4, 5}, {1, 3}, {8, 9}});
    QCOMPARE(calc->m_levelStart, (QVector<int>{0, 1, 3, 6}));
    QVector<int> numbers;
    for (int i : calc->m_levelNodes)
        numbers.append(calc->m_nodeNum.at(i));
    QCOMPARE(numbers, (QVector<int>{0, 1, 4, 2, 3, 5}));
    // Every reached node is fed through a branch that knows it.
    for (int i = 0; i < calc->m_nNodes; ++i) {
        if (calc->m_nodeLevel.at(i) > 0)
            QCOMPARE(calc->m_brFedNode.at(calc->m_nodeFeed.at(i)), i);
    }
}

QTEST_GUILESS_MAIN(TestTopology)
#include "tst_topology.moc"

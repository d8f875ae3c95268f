// Topology check of a line's sections on plain tables.

#include "dialogs/checkuchlin.h"

#include <QtTest>

// "0-1 1-2t 2-3x": begin-end, "t" a transformer, "x" disconnected.
static Table sections(const QString& layout)
{
    Table rows;
    for (QString nodes : layout.split(' ', Qt::SkipEmptyParts)) {
        QStringList row = QVector<QString>(attrUchLin.size(), "0").toList();
        row[7] = nodes.contains('t') ? "2" : "1";
        row[16] = nodes.contains('x') ? "1" : "0";
        nodes.remove('t').remove('x');
        row[5] = nodes.section('-', 0, 0);
        row[6] = nodes.section('-', 1);
        rows.append(row);
    }
    return rows;
}

class TestCheckLin : public QObject
{
    Q_OBJECT

private slots:
    void check_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QStringList>("log");
        const QString ring23 = "*** Участок 2-3 образует кольцо";
        const QString noHead = "*** Головной участок не найден или отключен";
        const QString behind = "*** Узел %1 находится за отключенным участком";
        const QString deadEnd = "Предупреждение: Линия %1 - тупиковая линия без ТП";
        const QString loose = "*** Узел %1 не связан с остальной схемой линии";
        QTest::newRow("clean") << "0-1 1-2t" << QStringList();
        QTest::newRow("ring") << "0-1 1-2 1-3 2-3" << QStringList{ring23, deadEnd.arg("1-3"), ring23, deadEnd.arg("2-3")};
        QTest::newRow("behind a disconnection") << "0-1 1-2x 2-3t" << QStringList{behind.arg(3), deadEnd.arg("0-1")};
        QTest::newRow("all disconnected") << "0-1x 1-2tx" << QStringList{"Предупреждение: Фидер отключен"};
        QTest::newRow("repeated head") << "0-1 0-2 1-3t 2-4t"
                                       << QStringList{"*** Участок 0 -2 повторяется головной участок"};
        QTest::newRow("isolated branch") << "0-1 1-2t 5-6t" << QStringList{loose.arg(5)};
        // Branches the walk never reached are judged by the second branch of the list.
        QTest::newRow("no head") << "1-2t 2-3t" << QStringList{behind.arg(2), behind.arg(3), loose.arg(1), noHead};
        // A section listed before its head is turned by the walk from the head.
        QTest::newRow("section before its head") << "1-2 0-2" << QStringList{deadEnd.arg("2-1")};
        // A row of the same two nodes, either way round, is the same branch.
        QTest::newRow("branches typed back") << "0-1 1-2t 1-0 2-1" << QStringList();
        // 3-4 has a second branch into each end: seen from it the ring at 4 (5-4, earlier in the
        // list) before the one at 3 (2-3). Rows typed backwards are turned by the walk.
        const QString ring54 = "*** Участок 5-4 образует кольцо";
        const QStringList bothEnds{ring54, ring23, ring23, ring54, ring23, ring54};
        QTest::newRow("rings at both ends") << "0-1 1-2 3-4 1-3 5-4 1-5 2-3 4-6t" << bothEnds;
        QTest::newRow("rings at both ends, rows backwards") << "0-1 2-1 4-3 3-1 4-5 5-1 3-2 6-4t" << bothEnds;
        // A node no int holds counts as 0.
        QTest::newRow("node 1e12") << "0-1e12" << QStringList{"*** Участок 0-0 повторяется узел"};
        // One branch and no head: no second branch to judge it by.
        QTest::newRow("single branch, no head") << "1-2t" << QStringList{loose.arg(1), noHead};
    }
    void check()
    {
        QFETCH(QString, rows);
        QTEST(checkLineSections(sections(rows)), "log");
    }
};

QTEST_GUILESS_MAIN(TestCheckLin)
#include "tst_checklin.moc"

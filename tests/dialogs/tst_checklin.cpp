// Topology check of a line's sections on plain tables.

#include "dialogs/checkuchlin.h"

#include <QtTest>

namespace {

// "0-1 1-2t 2-3x": begin-end, "t" a transformer, "x" disconnected.
Table sections(const QString& spec)
{
    Table rows;
    for (const QString& token : spec.split(' ', Qt::SkipEmptyParts)) {
        QString nodes = token;
        const QString type = nodes.contains('t') ? "2" : "1";
        const QString off = nodes.contains('x') ? "1" : "0";
        nodes.remove('t').remove('x');
        const QStringList ends = nodes.split('-');
        QStringList row;
        for (int i = 0; i < attrUchLin.size(); ++i)
            row.append("0");
        row[5] = ends.at(0);
        row[6] = ends.at(1);
        row[7] = type;
        row[16] = off;
        rows.append(row);
    }
    return rows;
}

} // namespace

class TestCheckLin : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
};

void TestCheckLin::check_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QStringList>("log");

    const QString ring23 = "*** Участок 2-3 образует кольцо";
    QTest::newRow("clean") << "0-1 1-2t" << QStringList();
    QTest::newRow("dead end") << "0-1"
        << QStringList{"Предупреждение: Линия 0-1 - тупиковая линия без ТП"};
    QTest::newRow("ring") << "0-1 1-2 1-3 2-3"
        << QStringList{ring23, "Предупреждение: Линия 1-3 - тупиковая линия без ТП",
                       ring23, "Предупреждение: Линия 2-3 - тупиковая линия без ТП"};
    QTest::newRow("ring through the supply") << "0-1 1-2 2-0" << QStringList();
    QTest::newRow("reversed branch") << "0-1 2-1 2-3t" << QStringList();
    QTest::newRow("same branch twice") << "0-1 1-0 1-2t" << QStringList();
    QTest::newRow("copied row") << "0-1 1-2t 1-2t" << QStringList();
    QTest::newRow("behind a disconnection") << "0-1 1-2x 2-3t"
        << QStringList{"*** Узел 3 находится за отключенным участком",
                       "Предупреждение: Линия 0-1 - тупиковая линия без ТП"};
    QTest::newRow("head disconnected") << "0-1x 1-2t"
        << QStringList{"*** Головной участок не найден или отключен"};
    QTest::newRow("all disconnected") << "0-1x 1-2tx"
        << QStringList{"Предупреждение: Фидер отключен"};
    QTest::newRow("repeated head") << "0-1 0-2 1-3t 2-4t"
        << QStringList{"*** Участок 0 -2 повторяется головной участок"};
    QTest::newRow("repeated head, first head later") << "1-3t 0-2 2-4t 0-1"
        << QStringList{"*** Участок 0 -1 повторяется головной участок"};
    QTest::newRow("isolated branch") << "0-1 1-2t 5-6t"
        << QStringList{"*** Узел 5 не связан с остальной схемой линии"};
    // Branches the walk never reached are judged by the second branch of the list.
    QTest::newRow("no head") << "1-2t 2-3t"
        << QStringList{"*** Узел 2 находится за отключенным участком",
                       "*** Узел 3 находится за отключенным участком",
                       "*** Узел 1 не связан с остальной схемой линии",
                       "*** Головной участок не найден или отключен"};
    // One branch and no head: no second branch to judge it by.
    QTest::newRow("single branch, no head") << "1-2t"
        << QStringList{"*** Узел 1 не связан с остальной схемой линии",
                       "*** Головной участок не найден или отключен"};
    QTest::newRow("node repeated") << "0-1 1-2t 2-2t"
        << QStringList{"*** Участок 2-2 образует кольцо", "*** Участок 2-2 повторяется узел",
                       "*** Участок 2-2 образует кольцо", "*** Участок 2-2 образует кольцо"};
}

void TestCheckLin::check()
{
    QFETCH(QString, rows);
    QFETCH(QStringList, log);
    QCOMPARE(checkLineSections(sections(rows)), log);
}

QTEST_GUILESS_MAIN(TestCheckLin)
#include "tst_checklin.moc"

// The merge every window saves its rows through: what others saved meanwhile
// stays, and a window's change never lands on another element.

#include "store/rowmerge.h"
#include "storetest.h"

// Rows as "line key begin end value": a line's element is its key and nodes.
static Table table(const QStringList& rows)
{
    Table out;
    for (const QString& row : rows)
        out.append(row.split(' '));
    return out;
}

static QStringList texts(const Table& rows)
{
    QStringList out;
    for (const QStringList& row : rows)
        out.append(row.join(' '));
    return out;
}

// A window's rows: read as "row" or "row|as shown"; now as "origin:row",
// origin "+" for a row added here.
static OwnRows window(const QStringList& read, const QStringList& now)
{
    OwnRows own;
    own.codes = {0};
    own.element = {1, 2, 3};
    own.keyColumn = 1;
    own.nodeColumns = {2, 3};
    for (const QString& row : read) {
        own.read.append(row.section('|', 0, 0).split(' '));
        own.shown.append(row.section('|', -1).split(' '));
    }
    for (const QString& row : now) {
        const QString origin = row.section(':', 0, 0);
        own.origin.append(origin == "+" ? -1 : origin.toInt());
        own.now.append(row.section(':', 1).split(' '));
    }
    return own;
}

class TestRowMerge : public QObject
{
    Q_OBJECT

private slots:
    void mergesOnlyWhatTheWindowChanged_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<QStringList>("now");
        QTest::addColumn<QStringList>("expected");
        // Rows not saved: "i" of now, "-o@t" of read (its element now row t); numbers moved on: "i:column=value".
        QTest::addColumn<QString>("lost");
        QTest::addColumn<QString>("moved");

        QTest::newRow("untouched cell kept")
            << QStringList{"1 1 0 1 a", "2 1 0 1 q"} << QStringList{"1 1 0 1 x"} << QStringList{"0:1 1 0 1 b"}
            << QStringList{"1 1 0 1 b", "2 1 0 1 q"} << "" << "";
        QTest::newRow("same cell: the window wins")
            << QStringList{"1 1 0 1 z"} << QStringList{"1 1 0 1 a"} << QStringList{"0:1 1 0 1 b"}
            << QStringList{"1 1 0 1 b"} << "" << "";
        QTest::newRow("shown otherwise: saved as shown")
            << QStringList{"1 1 0 1 a"} << QStringList{"1 1 0 1 a|1 1 0 1 A"} << QStringList{"0:1 1 0 1 A"}
            << QStringList{"1 1 0 1 A"} << "" << "";
        QTest::newRow("shown otherwise, changed meanwhile: kept")
            << QStringList{"1 1 0 1 z"} << QStringList{"1 1 0 1 a|1 1 0 1 A"} << QStringList{"0:1 1 0 1 A"}
            << QStringList{"1 1 0 1 z"} << "" << "";
        QTest::newRow("added row after its line")
            << QStringList{"1 1 0 1 x", "2 1 0 1 q"} << QStringList{"1 1 0 1 x"}
            << QStringList{"0:1 1 0 1 x", "+:1 2 1 2 n"} << QStringList{"1 1 0 1 x", "1 2 1 2 n", "2 1 0 1 q"}
            << "" << "";
        QTest::newRow("added row of a line without rows")
            << QStringList{"2 1 0 1 q"} << QStringList{} << QStringList{"+:1 1 0 1 n"}
            << QStringList{"2 1 0 1 q", "1 1 0 1 n"} << "" << "";
        QTest::newRow("key and node taken meanwhile")
            << QStringList{"1 1 0 1 x", "1 2 1 2 o"} << QStringList{"1 1 0 1 x"}
            << QStringList{"+:1 2 1 2 n", "0:1 1 0 1 x", "+:1 3 2 3 m"}
            << QStringList{"1 1 0 1 x", "1 2 1 2 o", "1 4 1 4 n", "1 3 4 3 m"} << ""
            << "0:1=4,0:3=4,2:2=4";
        QTest::newRow("node set here in a read row moves with it")
            << QStringList{"1 1 0 1 x", "1 2 1 2 o"} << QStringList{"1 1 0 1 x"}
            << QStringList{"0:1 1 0 2 x", "+:1 3 2 3 n"} << QStringList{"1 1 0 4 x", "1 2 1 2 o", "1 3 4 3 n"}
            << "" << "0:3=4,1:2=4";
        QTest::newRow("key given here, taken meanwhile")
            << QStringList{"1 0 0 1 x", "1 5 1 2 o"} << QStringList{"1 0 0 1 x"} << QStringList{"0:1 5 0 1 x"}
            << QStringList{"1 6 0 1 x", "1 5 1 2 o"} << "" << "0:1=6";
        QTest::newRow("changed row deleted meanwhile is named")
            << QStringList{"1 1 0 1 x"} << QStringList{"1 1 0 1 x", "1 2 1 2 x"}
            << QStringList{"0:1 1 0 1 x", "1:1 2 1 2 c"} << QStringList{"1 1 0 1 x"} << "1" << "";
        QTest::newRow("untouched row deleted meanwhile stays deleted")
            << QStringList{"1 1 0 1 x"} << QStringList{"1 1 0 1 x", "1 2 1 2 x"}
            << QStringList{"1:1 2 1 2 x", "0:1 1 0 1 x"} << QStringList{"1 1 0 1 x"} << "" << "";
        QTest::newRow("row deleted here")
            << QStringList{"1 1 0 1 x", "1 2 1 2 Y", "2 2 1 2 q"} << QStringList{"1 1 0 1 x", "1 2 1 2 x"}
            << QStringList{"0:1 1 0 1 x"} << QStringList{"1 1 0 1 x", "2 2 1 2 q"} << "" << "";
        QTest::newRow("row deleted here and meanwhile")
            << QStringList{"1 1 0 1 x"} << QStringList{"1 1 0 1 x", "1 2 1 2 x"} << QStringList{"0:1 1 0 1 x"}
            << QStringList{"1 1 0 1 x"} << "" << "";
        QTest::newRow("freed key given to another element")
            << QStringList{"1 1 0 1 x", "1 9 1 5 new"} << QStringList{"1 1 0 1 x", "1 9 1 4 old"}
            << QStringList{"0:1 1 0 1 x", "1:1 9 1 4 7777"} << QStringList{"1 1 0 1 x", "1 9 1 5 new"} << "1"
            << "";
        QTest::newRow("delete of a key given to another element")
            << QStringList{"1 1 0 1 x", "1 9 1 5 new"} << QStringList{"1 1 0 1 x", "1 9 1 4 old"}
            << QStringList{"0:1 1 0 1 x"} << QStringList{"1 1 0 1 x", "1 9 1 5 new"} << "-1@1" << "";
        QTest::newRow("delete of an element renumbered meanwhile")
            << QStringList{"1 10 1 2 a"} << QStringList{"1 0 1 2 a"} << QStringList{}
            << QStringList{"1 10 1 2 a"} << "-0@0" << "";
        QTest::newRow("delete of an element whose nodes changed meanwhile")
            << QStringList{"1 0 1 7 a", "1 0 3 4 b"} << QStringList{"1 0 1 2 a", "1 0 3 4 b"}
            << QStringList{"1:1 0 3 4 b"} << QStringList{"1 0 1 7 a", "1 0 3 4 b"} << "-0@0" << "";
        QTest::newRow("delete of a key 0 deleted meanwhile beside another")
            << QStringList{"1 0 3 4 b"} << QStringList{"1 0 1 2 a", "1 0 3 4 b"} << QStringList{"1:1 0 3 4 b"}
            << QStringList{"1 0 3 4 b"} << "" << "";
        QTest::newRow("renumbered keys")
            << QStringList{"1 7 1 4 a", "1 12 4 5 b"} << QStringList{"1 4 1 4 a", "1 7 4 5 b"}
            << QStringList{"0:1 4 1 4 a", "1:1 7 4 5 len"} << QStringList{"1 7 1 4 a", "1 12 4 5 b"} << "1" << "";
        QTest::newRow("node changed elsewhere")
            << QStringList{"1 5 3 7 a"} << QStringList{"1 5 3 4 a"} << QStringList{"0:1 5 3 4 b"}
            << QStringList{"1 5 3 7 a"} << "0" << "";
        QTest::newRow("keys 0 told apart by their nodes")
            << QStringList{"1 0 2 3 b"} << QStringList{"1 0 1 2 a", "1 0 2 3 b"}
            << QStringList{"0:1 0 1 2 a", "1:1 0 2 3 c"} << QStringList{"1 0 2 3 c"} << "" << "";
        QTest::newRow("equal rows pair by their turn")
            << QStringList{"1 0 1 2 a", "1 0 1 2 Y"} << QStringList{"1 0 1 2 a", "1 0 1 2 x"}
            << QStringList{"1:1 0 1 2 c", "0:1 0 1 2 a"} << QStringList{"1 0 1 2 a", "1 0 1 2 c"} << "" << "";
    }

    // Also: once written, the window's own copy is what it wrote, so a second
    // save changes nothing; a merge that changes nothing says so.
    void mergesOnlyWhatTheWindowChanged()
    {
        QFETCH(QStringList, file);
        QFETCH(QStringList, read);
        QFETCH(QStringList, now);
        QFETCH(QStringList, expected);
        QFETCH(QString, lost);
        QFETCH(QString, moved);
        OwnRows own = window(read, now);
        const MergedRows merged = mergeOwnRows(table(file), own);
        QCOMPARE(texts(merged.table), expected);
        QCOMPARE(merged.changesFile, expected != file);
        QStringList lostRows;
        for (int i : merged.lost)
            lostRows.append(QString::number(i));
        for (int d = 0; d < merged.lostDeleted.size(); ++d)
            lostRows.append(QString("-%1@%2").arg(merged.lostDeleted.at(d)).arg(merged.lostDeletedAt.at(d)));
        QCOMPARE(lostRows.join(','), lost);
        QStringList numbers;
        for (auto it = merged.newKeys.begin(); it != merged.newKeys.end(); ++it)
            numbers.append(QString::number(it.key()) + ":1=" + it.value());
        for (auto it = merged.newNodes.begin(); it != merged.newNodes.end(); ++it) {
            for (auto c = it.value().begin(); c != it.value().end(); ++c)
                numbers.append(QString::number(it.key()) + ":" + QString::number(c.key()) + "=" + c.value());
        }
        numbers.sort();
        QCOMPARE(numbers.join(','), moved);

        adoptWritten(own, merged);
        for (int i = 0; i < own.now.size(); ++i) {
            if (merged.placed.at(i) >= 0)
                QCOMPARE(merged.table.at(merged.placed.at(i)).mid(0, 4), own.now.at(i).mid(0, 4));
        }
        QVERIFY(!own.changed());
        const MergedRows again = mergeOwnRows(merged.table, own);
        QVERIFY(!again.changesFile);
        QCOMPARE(texts(again.table), texts(merged.table));
    }

    // Keys empty, "0" or repeated get keys above every one seen, a deleted
    // row's (8) included; the rest keep theirs.
    void givesOwnKeys()
    {
        Table rows;
        for (const char* key : {"3", "0", "7", "", "3", "3.0"})
            rows.append(QVector<QString>(17, "1").toList() << key);
        SeenNumbers seen;
        seen.key = 8;
        const QVector<int> given = giveOwnKeys(rows, seen);
        QStringList keys;
        for (const QStringList& row : rows)
            keys.append(row.last());
        QCOMPARE(keys.join(' '), QString("3 9 7 10 11 12"));
        QCOMPARE(given, (QVector<int>{1, 3, 4, 5}));
        QCOMPARE(seen.key, qint64(12));
    }
};

QTEST_GUILESS_MAIN(TestRowMerge)
#include "tst_rowmerge.moc"

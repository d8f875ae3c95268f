// The merge every window saves its rows through: what others saved meanwhile stays.

#include "store/rowmerge.h"
#include "storetest.h"

// Rows as "line key a b"; a window's row as "origin:line key a b", origin "+" for a row added here.
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

static OwnRows window(const QStringList& read, const QStringList& now)
{
    OwnRows own;
    own.identity = {0, 1};
    own.keyColumn = 1;
    own.read = table(read);
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
        QTest::addColumn<QString>("lost");
        QTest::addColumn<QString>("newKeys");

        QTest::newRow("untouched cell kept") << QStringList{"1 1 a Y", "2 1 q q"} << QStringList{"1 1 a x"}
                                             << QStringList{"0:1 1 b x"} << QStringList{"1 1 b Y", "2 1 q q"} << ""
                                             << "";
        QTest::newRow("same cell: the window wins") << QStringList{"1 1 z x"} << QStringList{"1 1 a x"}
                                                    << QStringList{"0:1 1 b x"} << QStringList{"1 1 b x"} << "" << "";
        QTest::newRow("untouched window writes nothing") << QStringList{"1 1 z Y"} << QStringList{"1 1 a x"}
                                                         << QStringList{"0:1 1 a x"} << QStringList{"1 1 z Y"} << ""
                                                         << "";
        QTest::newRow("added row after its line")
            << QStringList{"1 1 a x", "2 1 q q"} << QStringList{"1 1 a x"} << QStringList{"0:1 1 a x", "+:1 2 n n"}
            << QStringList{"1 1 a x", "1 2 n n", "2 1 q q"} << "" << "";
        QTest::newRow("added row of a line without rows")
            << QStringList{"2 1 q q"} << QStringList{} << QStringList{"+:1 1 n n"}
            << QStringList{"2 1 q q", "1 1 n n"} << "" << "";
        QTest::newRow("key taken meanwhile")
            << QStringList{"1 1 a x", "1 2 o o"} << QStringList{"1 1 a x"}
            << QStringList{"+:1 2 n n", "0:1 1 a x", "+:1 3 m m"}
            << QStringList{"1 1 a x", "1 2 o o", "1 4 n n", "1 3 m m"} << "" << "0=4";
        QTest::newRow("key given here, taken meanwhile")
            << QStringList{"1 0 a x", "1 5 o o"} << QStringList{"1 0 a x"} << QStringList{"0:1 5 a x"}
            << QStringList{"1 6 a x", "1 5 o o"} << "" << "0=6";
        QTest::newRow("changed row deleted meanwhile is named")
            << QStringList{"1 1 a x"} << QStringList{"1 1 a x", "1 2 b x"} << QStringList{"0:1 1 a x", "1:1 2 c x"}
            << QStringList{"1 1 a x"} << "1" << "";
        QTest::newRow("untouched row deleted meanwhile stays deleted")
            << QStringList{"1 1 a x"} << QStringList{"1 1 a x", "1 2 b x"} << QStringList{"1:1 2 b x", "0:1 1 a x"}
            << QStringList{"1 1 a x"} << "" << "";
        QTest::newRow("row deleted here")
            << QStringList{"1 1 a x", "1 2 b Y", "2 2 q q"} << QStringList{"1 1 a x", "1 2 b x"}
            << QStringList{"0:1 1 a x"} << QStringList{"1 1 a x", "2 2 q q"} << "" << "";
        QTest::newRow("equal keys pair by their turn")
            << QStringList{"1 0 a x", "1 0 b Y"} << QStringList{"1 0 a x", "1 0 b x"}
            << QStringList{"1:1 0 c x", "0:1 0 a x"} << QStringList{"1 0 a x", "1 0 c Y"} << "" << "";
    }

    // Also: once written, the window's own copy is what it wrote, so a second save changes nothing.
    void mergesOnlyWhatTheWindowChanged()
    {
        QFETCH(QStringList, file);
        QFETCH(QStringList, read);
        QFETCH(QStringList, now);
        QFETCH(QStringList, expected);
        QFETCH(QString, lost);
        QFETCH(QString, newKeys);
        OwnRows own = window(read, now);
        const MergedRows merged = mergeOwnRows(table(file), own);
        QCOMPARE(texts(merged.table), expected);
        QStringList lostRows;
        for (int i : merged.lost)
            lostRows.append(QString::number(i));
        QCOMPARE(lostRows.join(','), lost);
        QStringList keys;
        for (auto it = merged.newKeys.begin(); it != merged.newKeys.end(); ++it)
            keys.append(QString::number(it.key()) + "=" + it.value());
        QCOMPARE(keys.join(','), newKeys);
        for (int i = 0; i < own.now.size(); ++i) {
            if (merged.placed.at(i) >= 0)
                QCOMPARE(merged.table.at(merged.placed.at(i)).value(1), merged.newKeys.value(i, own.now.at(i).at(1)));
        }

        adoptWritten(own, merged);
        QVERIFY(!own.changed());
        QCOMPARE(texts(mergeOwnRows(merged.table, own).table), texts(merged.table));
    }
};

QTEST_GUILESS_MAIN(TestRowMerge)
#include "tst_rowmerge.moc"

// The rows a scheme save writes: the editor's changes over the table as it
// is on disk now, so that what other windows saved meanwhile stays.

#include "scheme/linerows.h"
#include "scheme/uchrow.h"

#include <QtTest>

namespace {

// "nlin:key:name" of PES 1, RES 1 as a row, and back.
QStringList row(const QString& text)
{
    const QStringList parts = text.split(':');
    QStringList r;
    for (int i = 0; i < uchFieldCount; ++i)
        r.append(QString());
    r[uchNpes] = r[uchNres] = "1";
    r[uchNlin] = parts.at(0);
    r[uchKey] = parts.at(1);
    r[uchName] = parts.at(2);
    return r;
}

Table table(const QStringList& texts)
{
    Table t;
    for (const QString& text : texts)
        t.append(row(text));
    return t;
}

QStringList texts(const Table& t)
{
    QStringList out;
    for (const QStringList& r : t)
        out.append(r.at(uchNlin) + ':' + r.at(uchKey) + ':' + r.at(uchName));
    return out;
}

QSet<QString> keys(const QString& list)
{
    const QStringList parts = list.split(',');
    return QSet<QString>(parts.begin(), parts.end());
}

} // namespace

class TestLineRows : public QObject
{
    Q_OBJECT

private slots:
    void merge_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QStringList>("editor");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QStringList>("expected");
        const QStringList file{"2:1:b", "1:1:a", "1:2:x", "1::n1", "1::n2"};
        QTest::newRow("untouched rows as on disk, line first")
            << file << QStringList{"1:2:old", "1:1:old", "1::old1", "1::old2"} << "1,2," << ""
            << QStringList{"1:2:x", "1:1:a", "1::n1", "1::n2", "2:1:b"};
        QTest::newRow("edited here wins, deleted here stays deleted")
            << file << QStringList{"1:1:mine"} << "1,2," << "1,2"
            << QStringList{"1:1:mine", "1::n1", "1::n2", "2:1:b"};
        QTest::newRow("deleted or added meanwhile")
            << QStringList{"1:1:a", "1:3:new"} << QStringList{"1:1:a", "1:2:b"} << "1,2" << ""
            << QStringList{"1:1:a", "1:3:new"};
        QTest::newRow("a key added here and meanwhile")
            << QStringList{"1:1:a", "1:5:theirs"} << QStringList{"1:1:a", "1:5:mine"} << "1" << "5"
            << QStringList{"1:1:a", "1:5:mine", "1:5:theirs"};
        QTest::newRow("deleted and added again here")
            << QStringList{"1:5:theirs"} << QStringList{"1:5:mine"} << "5" << "5"
            << QStringList{"1:5:mine"};
    }
    void merge()
    {
        QFETCH(QStringList, file);
        QFETCH(QStringList, editor);
        QFETCH(QString, loaded);
        QFETCH(QString, changed);
        QFETCH(QStringList, expected);
        const EditedLineRows edited{{"1", "1", "1"}, table(editor), keys(loaded),
                                    changed.isEmpty() ? QSet<QString>() : keys(changed)};
        QCOMPARE(texts(mergeLineRows(table(file), edited)), expected);
    }
};

QTEST_MAIN(TestLineRows)
#include "tst_linerows.moc"

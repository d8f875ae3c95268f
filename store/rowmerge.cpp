#include "rowmerge.h"

#include "store/messages.h"
#include "store/numbers.h"

#include <QSet>

#include <algorithm>
#include <limits>

namespace {

// Joins values that a table never holds (XML cannot carry it).
const QChar kSeparator(0x1F);

QString joined(const QStringList& row, const QVector<int>& columns, int skip)
{
    QString text;
    for (int column : columns) {
        if (column == skip)
            continue;
        text += row.value(column);
        text += kSeparator;
    }
    return text;
}

// Each row's identity followed by its turn among the rows of the same
// identity, so that a duplicated code still pairs first with first.
QVector<QString> identities(const Table& rows, const QVector<int>& columns)
{
    QVector<QString> ids;
    ids.reserve(rows.size());
    QHash<QString, int> seen;
    for (const QStringList& row : rows) {
        QString id = joined(row, columns, -1);
        id += QString::number(seen[id]++);
        ids.append(id);
    }
    return ids;
}

void setValue(QStringList& row, int column, const QString& value)
{
    while (row.size() <= column)
        row.append(QString());
    row[column] = value;
}

} // namespace

bool OwnRows::changed() const
{
    QVector<bool> kept(read.size(), false);
    for (int i = 0; i < now.size(); ++i) {
        const int o = origin.value(i, -1);
        if (o < 0 || o >= read.size() || kept.at(o) || now.at(i) != read.at(o))
            return true;
        kept[o] = true;
    }
    return kept.contains(false);
}

namespace {

// The lines (an identity without its key) that a window's rows belong to,
// found for a row of the file without building any text: by the value of the
// line's last column, then the others compared. Rows of other lines are
// passed over at the cost of one lookup.
class OwnLines
{
public:
    OwnLines(const OwnRows& own)
    {
        for (int column : own.identity) {
            if (column != own.keyColumn)
                m_columns.append(column);
        }
        for (const Table* rows : {&own.read, &own.now}) {
            for (const QStringList& row : *rows) {
                if (indexOf(row) < 0) {
                    m_byLast[lastValue(row)].append(m_lines.size());
                    m_lines.append(values(row));
                }
            }
        }
    }
    int count() const { return m_lines.size(); }
    // The line row belongs to, or -1 for a line the window does not hold.
    int indexOf(const QStringList& row) const
    {
        const auto found = m_byLast.constFind(lastValue(row));
        if (found == m_byLast.constEnd())
            return -1;
        for (int line : found.value()) {
            const QStringList& wanted = m_lines.at(line);
            int c = 0;
            while (c < m_columns.size() && row.value(m_columns.at(c)) == wanted.at(c))
                ++c;
            if (c == m_columns.size())
                return line;
        }
        return -1;
    }

private:
    QString lastValue(const QStringList& row) const
    {
        return m_columns.isEmpty() ? QString() : row.value(m_columns.last());
    }
    QStringList values(const QStringList& row) const
    {
        QStringList out;
        for (int column : m_columns)
            out.append(row.value(column));
        return out;
    }

    QVector<int> m_columns;
    QVector<QStringList> m_lines;
    QHash<QString, QVector<int>> m_byLast;
};

} // namespace

MergedRows mergeOwnRows(const Table& file, const OwnRows& own)
{
    MergedRows out;
    const int fileSize = file.size();
    const OwnLines lines(own);

    // Only rows of the window's own lines can be its rows, take its keys or
    // receive its new rows.
    QVector<int> lineOf(fileSize, -1);
    QHash<QString, int> filePosition;
    {
        QHash<QString, int> seen;
        for (int p = 0; p < fileSize; ++p) {
            const int line = lines.indexOf(file.at(p));
            lineOf[p] = line;
            if (line < 0)
                continue;
            QString id = joined(file.at(p), own.identity, -1);
            id += QString::number(seen[id]++);
            filePosition.insert(id, p);
        }
    }
    QVector<int> readPosition(own.read.size(), -1);
    {
        const QVector<QString> ids = identities(own.read, own.identity);
        for (int o = 0; o < ids.size(); ++o)
            readPosition[o] = filePosition.value(ids.at(o), -1);
    }

    Table table = file;
    QVector<bool> removed(fileSize, false);
    QVector<bool> used(own.read.size(), false);
    QVector<int> filePlace(own.now.size(), -1);
    QVector<int> keySetHere;   // rows of now kept in the file whose key changed here
    QVector<int> added;        // rows of now added here

    for (int i = 0; i < own.now.size(); ++i) {
        const int o = own.origin.value(i, -1);
        if (o < 0 || o >= own.read.size() || used.at(o)) {
            added.append(i);
            continue;
        }
        used[o] = true;
        const QStringList& was = own.read.at(o);
        const QStringList& is = own.now.at(i);
        const int p = readPosition.at(o);
        if (p < 0) {
            // Gone from the file: deleted or renumbered by another window.
            if (is != was)
                out.lost.append(i);
            continue;
        }
        filePlace[i] = p;
        for (int c = 0; c < is.size(); ++c) {
            if (is.at(c) != was.value(c))
                setValue(table[p], c, is.at(c));
        }
        if (own.keyColumn >= 0 && is.value(own.keyColumn) != was.value(own.keyColumn))
            keySetHere.append(i);
    }
    for (int o = 0; o < own.read.size(); ++o) {
        if (!used.at(o) && readPosition.at(o) >= 0)
            removed[readPosition.at(o)] = true;   // deleted here
    }

    // Rows added here take new rows as they are.
    Table addedRows;
    addedRows.reserve(added.size());
    for (int i : qAsConst(added))
        addedRows.append(own.now.at(i));

    // A key this window set that another row of the line holds by now moves
    // on to the next free key of the line.
    if (own.keyColumn >= 0 && (!keySetHere.isEmpty() || !added.isEmpty())) {
        const int k = own.keyColumn;
        QSet<int> setHere;
        for (int i : qAsConst(keySetHere))
            setHere.insert(filePlace.at(i));
        QVector<QSet<QString>> held(lines.count());
        QVector<qint64> largest(lines.count(), 0);
        for (int p = 0; p < fileSize; ++p) {
            const int line = lineOf.at(p);
            if (line < 0 || removed.at(p))
                continue;
            const QString key = table.at(p).value(k);
            largest[line] = qMax<qint64>(largest.at(line), toWholeNumber(key));
            if (!setHere.contains(p))
                held[line].insert(key);
        }
        for (const QStringList& row : qAsConst(addedRows)) {
            const int line = lines.indexOf(row);
            largest[line] = qMax<qint64>(largest.at(line), toWholeNumber(row.value(k)));
        }
        auto settle = [&](int i, QStringList& row) {
            const int line = lines.indexOf(row);
            QString key = row.value(k);
            if (!key.isEmpty() && held.at(line).contains(key)) {
                key = QString::number(++largest[line]);
                setValue(row, k, key);
                out.newKeys.insert(i, key);
            }
            held[line].insert(key);
        };
        for (int i : qAsConst(keySetHere))
            settle(i, table[filePlace.at(i)]);
        for (int a = 0; a < added.size(); ++a)
            settle(added.at(a), addedRows[a]);
    }

    // Each added row follows the last row of its line still in the file.
    QVector<QVector<int>> addedAfter(fileSize);
    QVector<int> addedAtEnd;
    if (!added.isEmpty()) {
        QVector<int> lastKept(lines.count(), -1);
        QVector<int> lastAny(lines.count(), -1);
        for (int p = 0; p < fileSize; ++p) {
            const int line = lineOf.at(p);
            if (line < 0)
                continue;
            lastAny[line] = p;
            if (!removed.at(p))
                lastKept[line] = p;
        }
        for (int a = 0; a < added.size(); ++a) {
            const int line = lines.indexOf(addedRows.at(a));
            const int anchor = lastKept.at(line) >= 0 ? lastKept.at(line) : lastAny.at(line);
            if (anchor < 0)
                addedAtEnd.append(a);
            else
                addedAfter[anchor].append(a);
        }
    }

    out.placed.fill(-1, own.now.size());
    QVector<int> tablePlace(fileSize, -1);
    out.table.reserve(fileSize + added.size());
    auto putAdded = [&](const QVector<int>& which) {
        for (int a : which) {
            out.placed[added.at(a)] = out.table.size();
            out.table.append(addedRows.at(a));
        }
    };
    for (int p = 0; p < fileSize; ++p) {
        if (!removed.at(p)) {
            tablePlace[p] = out.table.size();
            out.table.append(table.at(p));
        }
        putAdded(addedAfter.at(p));
    }
    putAdded(addedAtEnd);
    for (int i = 0; i < own.now.size(); ++i) {
        if (filePlace.at(i) >= 0)
            out.placed[i] = tablePlace.at(filePlace.at(i));
    }
    return out;
}

void adoptWritten(OwnRows& own, const MergedRows& merged)
{
    for (auto it = merged.newKeys.constBegin(); it != merged.newKeys.constEnd(); ++it)
        setValue(own.now[it.key()], own.keyColumn, it.value());
    QVector<int> order(own.now.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    // Rows not in the table (lost, or gone meanwhile) after the rest.
    const auto place = [&merged](int i) {
        const int p = merged.placed.value(i, -1);
        return p < 0 ? std::numeric_limits<int>::max() : p;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return place(a) < place(b); });
    own.read.clear();
    own.read.reserve(order.size());
    own.origin.fill(-1, own.now.size());
    for (int rank = 0; rank < order.size(); ++rank) {
        own.origin[order.at(rank)] = rank;
        own.read.append(own.now.at(order.at(rank)));
    }
}

void warnRowsNotSaved(const QStringList& rows, QObject* parent)
{
    ShowWarning(QStringLiteral("Предупреждение"),
                "Не сохранены строки, измененные в другом окне после открытия этого окна:\n"
                    + rows.join(QLatin1Char('\n')) + "\nОткройте окно ввода заново и повторите ввод.",
                parent);
}

#include "rowmerge.h"

#include "store/messages.h"
#include "store/numbers.h"

#include <QSet>

#include <algorithm>
#include <limits>

namespace {

// Joins values that a table never holds (XML cannot carry it).
const QChar kSeparator(0x1F);

// Columns of a line-section row.
enum { sName = 3, sBegin = 5, sEnd = 6, sTip = 7, sKey = 17 };

QString joined(const QStringList& row, const QVector<int>& columns)
{
    QString text;
    for (int column : columns) {
        text += row.value(column);
        text += kSeparator;
    }
    return text;
}

void setValue(QStringList& row, int column, const QString& value)
{
    while (row.size() <= column)
        row.append(QString());
    row[column] = value;
}

const Table& shownRows(const OwnRows& own)
{
    return own.shown.size() == own.read.size() ? own.shown : own.read;
}

} // namespace

void SeenNumbers::note(const QStringList& row)
{
    key = qMax<qint64>(key, toWholeNumber(row.value(sKey)));
    node = std::max<qint64>({node, toWholeNumber(row.value(sBegin)), toWholeNumber(row.value(sEnd))});
}

OwnRows ownSectionRows()
{
    OwnRows own;
    own.codes = {0, 1, 2};
    own.element = {sKey, sBegin, sEnd, sTip};
    own.keyColumn = sKey;
    own.nodeColumns = {sBegin, sEnd};
    return own;
}

bool OwnRows::changed() const
{
    const Table& seen = shownRows(*this);
    QVector<bool> kept(read.size(), false);
    for (int i = 0; i < now.size(); ++i) {
        const int o = origin.value(i, -1);
        if (o < 0 || o >= read.size() || kept.at(o) || now.at(i) != seen.at(o))
            return true;
        kept[o] = true;
    }
    return kept.contains(false);
}

namespace {

// The objects (lines, RES) that a window's rows belong to, found for a row
// of the file without building any text: by the value of the last code,
// then the others compared. Rows of other objects are passed over at the
// cost of one lookup.
class OwnLines
{
public:
    OwnLines(const OwnRows& own)
        : m_columns(own.codes)
    {
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

// Hands out the numbers of one kind (keys, nodes) per line: each above every
// number the line holds, in the file or in the window, and above the floor.
class NextNumbers
{
public:
    NextNumbers(int lines, qint64 floor)
        : m_largest(lines, floor)
    {
    }
    void see(int line, const QString& number)
    {
        if (line >= 0)
            m_largest[line] = qMax<qint64>(m_largest.at(line), toWholeNumber(number));
    }
    QString next(int line) { return QString::number(++m_largest[line]); }

private:
    QVector<qint64> m_largest;
};

} // namespace

MergedRows mergeOwnRows(const Table& file, const OwnRows& own)
{
    MergedRows out;
    const int fileSize = file.size();
    const OwnLines lines(own);
    const QVector<int> identity = own.codes + own.element;
    const Table& seen = shownRows(own);

    // Only rows of the window's own lines can be its rows, take its keys or
    // receive its new rows.
    QVector<int> lineOf(fileSize, -1);
    QHash<QString, int> filePosition;
    {
        QHash<QString, int> turn;
        for (int p = 0; p < fileSize; ++p) {
            const int line = lines.indexOf(file.at(p));
            lineOf[p] = line;
            if (line < 0)
                continue;
            QString id = joined(file.at(p), identity);
            id += QString::number(turn[id]++);
            filePosition.insert(id, p);
        }
    }
    QVector<int> readPosition(own.read.size(), -1);
    {
        QHash<QString, int> turn;
        for (int o = 0; o < own.read.size(); ++o) {
            QString id = joined(own.read.at(o), identity);
            id += QString::number(turn[id]++);
            readPosition[o] = filePosition.value(id, -1);
        }
    }

    Table table = file;
    QVector<bool> removed(fileSize, false);
    QVector<bool> paired(fileSize, false);
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
        const QStringList& shown = seen.at(o);
        const QStringList& is = own.now.at(i);
        const int p = readPosition.at(o);
        if (p < 0) {
            // No longer in the file as the element it was: deleted or
            // changed by another window. Only what the user did is missed.
            if (is != shown)
                out.lost.append(i);
            continue;
        }
        filePlace[i] = p;
        paired[p] = true;
        for (int c = 0; c < is.size(); ++c) {
            const QString& value = is.at(c);
            if (value == was.value(c))
                continue;
            // Shown otherwise than read but not edited: another window's
            // change of the cell meanwhile stays.
            if (value == shown.value(c) && file.at(p).value(c) != was.value(c))
                continue;
            if (table.at(p).value(c) != value) {
                setValue(table[p], c, value);
                out.changesFile = true;
            }
        }
        if (own.keyColumn >= 0 && is.value(own.keyColumn) != was.value(own.keyColumn))
            keySetHere.append(i);
    }
    QVector<int> deletedGone;   // rows of read deleted here, no longer in the file
    for (int o = 0; o < own.read.size(); ++o) {
        if (used.at(o))
            continue;
        const int p = readPosition.at(o);
        if (p >= 0) {
            removed[p] = true;   // deleted here
            paired[p] = true;
            out.changesFile = true;
        } else {
            deletedGone.append(o);
        }
    }
    // A delete that finds the element gone deleted what it meant to, unless
    // the line holds a row under its codes and key by now: then that row is
    // another element, or this one changed, and stays.
    if (!deletedGone.isEmpty() && own.keyColumn >= 0) {
        const QVector<int> codeAndKey = own.codes + QVector<int>{own.keyColumn};
        QSet<QString> held;
        for (int p = 0; p < fileSize; ++p) {
            if (lineOf.at(p) >= 0)
                held.insert(joined(file.at(p), codeAndKey));
        }
        for (int o : qAsConst(deletedGone)) {
            if (held.contains(joined(own.read.at(o), codeAndKey)))
                out.lostDeleted.append(o);
        }
    }

    // Rows added here take new rows as they are.
    Table addedRows;
    addedRows.reserve(added.size());
    for (int i : qAsConst(added))
        addedRows.append(own.now.at(i));
    if (!added.isEmpty())
        out.changesFile = true;

    // A key this window set that another row of the line holds by now moves
    // on to the next free key of the line.
    if (own.keyColumn >= 0 && (!keySetHere.isEmpty() || !added.isEmpty())) {
        const int k = own.keyColumn;
        QSet<int> setHere;
        for (int i : qAsConst(keySetHere))
            setHere.insert(filePlace.at(i));
        QVector<QSet<QString>> held(lines.count());
        NextNumbers keys(lines.count(), own.seen.key);
        for (int p = 0; p < fileSize; ++p) {
            const int line = lineOf.at(p);
            if (line < 0 || removed.at(p))
                continue;
            const QString key = table.at(p).value(k);
            keys.see(line, key);
            if (!setHere.contains(p))
                held[line].insert(key);
        }
        for (const QStringList& row : qAsConst(addedRows))
            keys.see(lines.indexOf(row), row.value(k));
        auto settle = [&](int i, QStringList& row) {
            const int line = lines.indexOf(row);
            QString key = row.value(k);
            if (!key.isEmpty() && held.at(line).contains(key)) {
                key = keys.next(line);
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

    // A node number only rows added here use, which another window's rows
    // of the line hold by now, moves on to the next free node of the line:
    // two windows' new sections are never joined at a node.
    if (!own.nodeColumns.isEmpty() && !added.isEmpty()) {
        QVector<QSet<QString>> known(lines.count());   // nodes of the rows read
        NextNumbers nodes(lines.count(), own.seen.node);
        for (const Table* rows : {&own.read, &own.now}) {
            for (const QStringList& row : *rows) {
                const int line = lines.indexOf(row);
                for (int c : own.nodeColumns) {
                    nodes.see(line, row.value(c));
                    if (rows == &own.read)
                        known[line].insert(row.value(c));
                }
            }
        }
        QVector<QSet<QString>> others(lines.count());  // nodes of other windows' rows
        for (int p = 0; p < fileSize; ++p) {
            const int line = lineOf.at(p);
            if (line < 0)
                continue;
            for (int c : own.nodeColumns) {
                nodes.see(line, file.at(p).value(c));
                if (!paired.at(p))
                    others[line].insert(file.at(p).value(c));
            }
        }
        QVector<QHash<QString, QString>> moves(lines.count());
        for (const QStringList& row : qAsConst(addedRows)) {
            const int line = lines.indexOf(row);
            for (int c : own.nodeColumns) {
                const QString node = row.value(c);
                if (!node.isEmpty() && !known.at(line).contains(node) && others.at(line).contains(node)
                    && !moves.at(line).contains(node))
                    moves[line].insert(node, nodes.next(line));
            }
        }
        // In every row of now that uses such a node: rows added here, and
        // cells set here in the window's other rows.
        auto move = [&](int i, QStringList& row) {
            const QHash<QString, QString>& lineMoves = moves.at(lines.indexOf(own.now.at(i)));
            for (int c : own.nodeColumns) {
                const auto to = lineMoves.constFind(own.now.at(i).value(c));
                if (to != lineMoves.constEnd()) {
                    setValue(row, c, to.value());
                    out.newNodes[i].insert(c, to.value());
                }
            }
        };
        for (int i = 0; i < own.now.size(); ++i) {
            if (filePlace.at(i) >= 0)
                move(i, table[filePlace.at(i)]);
        }
        for (int a = 0; a < added.size(); ++a)
            move(added.at(a), addedRows[a]);
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
    for (auto row = merged.newNodes.constBegin(); row != merged.newNodes.constEnd(); ++row) {
        for (auto c = row.value().constBegin(); c != row.value().constEnd(); ++c)
            setValue(own.now[row.key()], c.key(), c.value());
    }
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
    own.shown.clear();
    own.read.reserve(order.size());
    own.origin.fill(-1, own.now.size());
    for (int rank = 0; rank < order.size(); ++rank) {
        own.origin[order.at(rank)] = rank;
        own.read.append(own.now.at(order.at(rank)));
    }
}

QStringList rowsNotSaved(const OwnRows& own, const MergedRows& merged,
                         const std::function<QString(const QStringList&)>& name)
{
    QStringList rows;
    for (int i : merged.lost)
        rows.append(name(own.now.at(i)));
    for (int o : merged.lostDeleted)
        rows.append(name(own.read.at(o)));
    return rows;
}

QString sectionRowText(const QStringList& row)
{
    return row.value(sName) + ", узлы " + row.value(sBegin) + "-" + row.value(sEnd);
}

void warnRowsNotSaved(const QStringList& rows, QObject* parent)
{
    ShowWarning(QStringLiteral("Предупреждение"),
                "Не сохранены строки, измененные в другом окне после открытия этого окна:\n"
                    + rows.join(QLatin1Char('\n')) + "\nОткройте окно ввода заново и повторите ввод.",
                parent);
}

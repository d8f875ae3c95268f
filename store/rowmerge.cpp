#include "rowmerge.h"

#include "store/messages.h"
#include "store/numbers.h"

#include <QMap>
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
// cost of one lookup. An object deleted since the window read it is known,
// and marked gone.
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
                    m_gone.append(objectGoneSince(m_lines.last(), own.moment));
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
    // The line of a row of the file that is still the window's: -1 also for
    // rows of a line deleted since, whoever holds its codes now.
    int stillOwnOf(const QStringList& row) const
    {
        const int line = indexOf(row);
        return line >= 0 && m_gone.at(line) ? -1 : line;
    }
    bool gone(int line) const { return line >= 0 && m_gone.at(line); }

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
    QVector<bool> m_gone;
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

// One merge of a window's rows into the table as read just now, step by
// step in the order of the rule (rowmerge.h).
class RowMerge
{
public:
    RowMerge(const Table& file, const OwnRows& own)
        : m_file(file)
        , m_own(own)
        , m_lines(own)
        , m_shown(shownRows(own))
        , m_table(file)
        , m_lineOf(file.size(), -1)
        , m_readPlace(own.read.size(), -1)
        , m_removed(file.size(), false)
        , m_paired(file.size(), false)
        , m_used(own.read.size(), false)
        , m_filePlace(own.now.size(), -1)
    {
    }

    // Each row read pairs with the row of the file that is the same element
    // (codes and element columns), the n-th of equal ones with the n-th.
    void pair()
    {
        const QVector<int> identity = m_own.codes + m_own.element;
        QHash<QString, int> filePlace;
        QHash<QString, int> fileTurn;
        for (int p = 0; p < m_file.size(); ++p) {
            const int line = m_lines.stillOwnOf(m_file.at(p));
            m_lineOf[p] = line;
            if (line < 0)
                continue;
            QString id = joined(m_file.at(p), identity);
            id += QString::number(fileTurn[id]++);
            filePlace.insert(id, p);
        }
        QHash<QString, int> readTurn;
        for (int o = 0; o < m_own.read.size(); ++o) {
            QString id = joined(m_own.read.at(o), identity);
            id += QString::number(readTurn[id]++);
            m_readPlace[o] = filePlace.value(id, -1);
        }
    }

    // The cells changed here go into the rows still there; a row changed
    // here whose element has left the file (or whose line was deleted) is
    // lost, and so is a row added to a deleted line.
    void cells()
    {
        for (int i = 0; i < m_own.now.size(); ++i) {
            const int o = m_own.origin.value(i, -1);
            const QStringList& is = m_own.now.at(i);
            if (o < 0 || o >= m_own.read.size() || m_used.at(o)) {
                if (m_lines.gone(m_lines.indexOf(is)))
                    m_out.lost.append(i);
                else
                    m_added.append(i);
                continue;
            }
            m_used[o] = true;
            const int p = m_readPlace.at(o);
            if (p < 0) {
                // No longer in the file as the element it was: deleted or
                // changed by another window. Only what the user did is missed.
                if (is != m_shown.at(o))
                    m_out.lost.append(i);
                continue;
            }
            m_filePlace[i] = p;
            m_paired[p] = true;
            setCells(i, o, p);
        }
        m_addedRows.reserve(m_added.size());
        for (int i : qAsConst(m_added))
            m_addedRows.append(m_own.now.at(i));
        if (!m_added.isEmpty())
            m_out.changesFile = true;
    }

    // Rows deleted here leave the file. A delete that finds its element gone
    // did what it meant to, unless another window renumbered the element or
    // changed its nodes or type: a row of the line that is none of this
    // window's holds its key, or its other element columns, by now. That
    // delete is not done, and is named.
    void deletes()
    {
        QVector<int> gone;
        for (int o = 0; o < m_own.read.size(); ++o) {
            if (m_used.at(o))
                continue;
            const int p = m_readPlace.at(o);
            if (p >= 0) {
                m_removed[p] = true;
                m_paired[p] = true;
                m_out.changesFile = true;
            } else if (!m_lines.gone(m_lines.indexOf(m_own.read.at(o)))) {
                gone.append(o);
            }
        }
        if (gone.isEmpty() || m_own.keyColumn < 0)
            return;
        const QVector<int> byKey = m_own.codes + QVector<int>{m_own.keyColumn};
        QVector<int> byElement = m_own.codes;
        for (int c : m_own.element) {
            if (c != m_own.keyColumn)
                byElement.append(c);
        }
        // The same nodes and type tell an element renumbered (a key "0"
        // numbered) before the same key does; each row of the file stands
        // for one element.
        const bool withElement = byElement.size() > m_own.codes.size();
        QHash<QString, int> others;
        for (int p = m_file.size() - 1; p >= 0; --p) {
            if (m_lineOf.at(p) >= 0 && !m_paired.at(p)) {
                others.insert(QLatin1Char('k') + joined(m_file.at(p), byKey), p);
                if (withElement)
                    others.insert(QLatin1Char('e') + joined(m_file.at(p), byElement), p);
            }
        }
        QSet<int> taken;
        for (int o : qAsConst(gone)) {
            const QStringList& row = m_own.read.at(o);
            for (const QString& id : {QLatin1Char('e') + joined(row, byElement), QLatin1Char('k') + joined(row, byKey)}) {
                const int p = others.value(id, -1);
                if (p >= 0 && !taken.contains(p)) {
                    taken.insert(p);
                    m_out.lostDeleted.append(o);
                    m_lostDeletedFile.append(p);
                    break;
                }
            }
        }
    }

    // A key this window set (on a row added, or given its key, here) that
    // another row of the line holds by now moves on to the next free key of
    // the line.
    void keys()
    {
        const int k = m_own.keyColumn;
        if (k < 0 || (m_keySetHere.isEmpty() && m_added.isEmpty()))
            return;
        QSet<int> setHere;
        for (int i : qAsConst(m_keySetHere))
            setHere.insert(m_filePlace.at(i));
        QVector<QSet<QString>> held(m_lines.count());
        NextNumbers keys(m_lines.count(), m_own.seen.key);
        for (int p = 0; p < m_file.size(); ++p) {
            const int line = m_lineOf.at(p);
            if (line < 0 || m_removed.at(p))
                continue;
            const QString key = m_table.at(p).value(k);
            keys.see(line, key);
            if (!setHere.contains(p))
                held[line].insert(key);
        }
        for (const QStringList& row : qAsConst(m_addedRows))
            keys.see(m_lines.indexOf(row), row.value(k));
        auto settle = [&](int i, QStringList& row) {
            const int line = m_lines.indexOf(row);
            QString key = row.value(k);
            if (!key.isEmpty() && held.at(line).contains(key)) {
                key = keys.next(line);
                setValue(row, k, key);
                m_out.newKeys.insert(i, key);
            }
            held[line].insert(key);
        };
        for (int i : qAsConst(m_keySetHere))
            settle(i, m_table[m_filePlace.at(i)]);
        for (int a = 0; a < m_added.size(); ++a)
            settle(m_added.at(a), m_addedRows[a]);
    }

    // A node number only rows added here use, which another window's rows
    // of the line hold by now, moves on to the next free node of the line:
    // two windows' new sections are never joined at a node.
    void nodes()
    {
        const int lineCount = m_lines.count();
        if (m_own.nodeColumns.isEmpty() || m_added.isEmpty())
            return;
        QVector<QSet<QString>> known(lineCount);   // nodes of the rows read
        NextNumbers next(lineCount, m_own.seen.node);
        for (const Table* rows : {&m_own.read, &m_own.now}) {
            for (const QStringList& row : *rows) {
                const int line = m_lines.indexOf(row);
                for (int c : m_own.nodeColumns) {
                    next.see(line, row.value(c));
                    if (rows == &m_own.read)
                        known[line].insert(row.value(c));
                }
            }
        }
        QVector<QSet<QString>> others(lineCount);  // nodes of other windows' rows
        for (int p = 0; p < m_file.size(); ++p) {
            const int line = m_lineOf.at(p);
            if (line < 0)
                continue;
            for (int c : m_own.nodeColumns) {
                next.see(line, m_file.at(p).value(c));
                if (!m_paired.at(p))
                    others[line].insert(m_file.at(p).value(c));
            }
        }
        QVector<QHash<QString, QString>> moves(lineCount);
        for (const QStringList& row : qAsConst(m_addedRows)) {
            const int line = m_lines.indexOf(row);
            for (int c : m_own.nodeColumns) {
                const QString node = row.value(c);
                if (!node.isEmpty() && !known.at(line).contains(node) && others.at(line).contains(node)
                    && !moves.at(line).contains(node))
                    moves[line].insert(node, next.next(line));
            }
        }
        // In every row of now that uses such a node: rows added here, and
        // cells set here in the window's other rows.
        auto move = [&](int i, QStringList& row) {
            const QHash<QString, QString>& lineMoves = moves.at(m_lines.indexOf(m_own.now.at(i)));
            for (int c : m_own.nodeColumns) {
                const auto to = lineMoves.constFind(m_own.now.at(i).value(c));
                if (to != lineMoves.constEnd()) {
                    setValue(row, c, to.value());
                    m_out.newNodes[i].insert(c, to.value());
                }
            }
        };
        for (int i = 0; i < m_own.now.size(); ++i) {
            if (m_filePlace.at(i) >= 0)
                move(i, m_table[m_filePlace.at(i)]);
        }
        for (int a = 0; a < m_added.size(); ++a)
            move(m_added.at(a), m_addedRows[a]);
    }

    // The table to write: the file's rows in their order, less those deleted
    // here; each added row after the last row of its line still there, or at
    // the end when the line has none.
    MergedRows place()
    {
        const int fileSize = m_file.size();
        QVector<QVector<int>> addedAfter(fileSize);
        QVector<int> addedAtEnd;
        if (!m_added.isEmpty()) {
            QVector<int> lastKept(m_lines.count(), -1);
            QVector<int> lastAny(m_lines.count(), -1);
            for (int p = 0; p < fileSize; ++p) {
                const int line = m_lineOf.at(p);
                if (line < 0)
                    continue;
                lastAny[line] = p;
                if (!m_removed.at(p))
                    lastKept[line] = p;
            }
            for (int a = 0; a < m_added.size(); ++a) {
                const int line = m_lines.indexOf(m_addedRows.at(a));
                const int anchor = lastKept.at(line) >= 0 ? lastKept.at(line) : lastAny.at(line);
                if (anchor < 0)
                    addedAtEnd.append(a);
                else
                    addedAfter[anchor].append(a);
            }
        }

        m_out.placed.fill(-1, m_own.now.size());
        QVector<int> tablePlace(fileSize, -1);
        m_out.table.reserve(fileSize + m_added.size());
        auto putAdded = [&](const QVector<int>& which) {
            for (int a : which) {
                m_out.placed[m_added.at(a)] = m_out.table.size();
                m_out.table.append(m_addedRows.at(a));
            }
        };
        for (int p = 0; p < fileSize; ++p) {
            if (!m_removed.at(p)) {
                tablePlace[p] = m_out.table.size();
                m_out.table.append(m_table.at(p));
            }
            putAdded(addedAfter.at(p));
        }
        putAdded(addedAtEnd);
        for (int i = 0; i < m_own.now.size(); ++i) {
            if (m_filePlace.at(i) >= 0)
                m_out.placed[i] = tablePlace.at(m_filePlace.at(i));
        }
        for (int p : qAsConst(m_lostDeletedFile))
            m_out.lostDeletedAt.append(tablePlace.at(p));
        return std::move(m_out);
    }

private:
    // Row i of now, read as row o, into row p of the table: each cell
    // changed here, unless it was only shown otherwise and another window
    // changed it meanwhile.
    void setCells(int i, int o, int p)
    {
        const QStringList& was = m_own.read.at(o);
        const QStringList& shown = m_shown.at(o);
        const QStringList& is = m_own.now.at(i);
        for (int c = 0; c < is.size(); ++c) {
            const QString& value = is.at(c);
            if (value == was.value(c))
                continue;
            if (value == shown.value(c) && m_file.at(p).value(c) != was.value(c))
                continue;
            if (m_table.at(p).value(c) != value) {
                setValue(m_table[p], c, value);
                m_out.changesFile = true;
            }
        }
        if (m_own.keyColumn >= 0 && is.value(m_own.keyColumn) != was.value(m_own.keyColumn))
            m_keySetHere.append(i);
    }

    const Table& m_file;
    const OwnRows& m_own;
    const OwnLines m_lines;
    const Table& m_shown;
    Table m_table;              // the file with the cells set here
    QVector<int> m_lineOf;      // per row of the file: the window's line, or -1
    QVector<int> m_readPlace;   // per row read: its row in the file, or -1
    QVector<bool> m_removed;    // per row of the file: deleted here
    QVector<bool> m_paired;     // per row of the file: one of this window's rows
    QVector<bool> m_used;       // per row read: some row of now comes from it
    QVector<int> m_filePlace;   // per row of now: its row in the file, or -1
    QVector<int> m_keySetHere;  // rows of now kept in the file whose key changed here
    QVector<int> m_added;       // rows of now added here
    Table m_addedRows;          // their rows, as the merge numbers them
    QVector<int> m_lostDeletedFile;   // per refused delete: the file's row of its element
    MergedRows m_out;
};

} // namespace

MergedRows mergeOwnRows(const Table& file, const OwnRows& own)
{
    RowMerge merge(file, own);
    merge.pair();
    merge.cells();
    merge.deletes();
    merge.keys();
    merge.nodes();
    return merge.place();
}

QVector<int> giveOwnKeys(Table& rows, SeenNumbers& seen)
{
    for (const QStringList& row : qAsConst(rows))
        seen.note(row);
    QVector<int> given;
    QSet<qint64> held;
    for (int r = 0; r < rows.size(); ++r) {
        const qint64 key = toWholeNumber(rows.at(r).value(sKey));
        if (key != 0 && !held.contains(key)) {
            held.insert(key);
            continue;
        }
        setValue(rows[r], sKey, QString::number(++seen.key));
        given.append(r);
    }
    return given;
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

QStringList movedNodes(const OwnRows& own, const MergedRows& merged)
{
    // Said in the order of the numbers, each once.
    QMap<qint64, QString> said;
    for (auto row = merged.newNodes.constBegin(); row != merged.newNodes.constEnd(); ++row) {
        for (auto c = row.value().constBegin(); c != row.value().constEnd(); ++c) {
            const QString from = own.now.value(row.key()).value(c.key());
            said.insert(toWholeNumber(from), "Узел " + from + " занят другим окном, присвоен номер " + c.value());
        }
    }
    return said.values();
}

void warnRowsNotSaved(const QStringList& rows, QObject* parent)
{
    ShowWarning(QStringLiteral("Предупреждение"),
                "Не сохранены строки, измененные в другом окне после открытия этого окна:\n"
                    + rows.join(QLatin1Char('\n')) + "\nОткройте окно ввода заново и повторите ввод.",
                parent);
}

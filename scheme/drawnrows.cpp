#include "drawnrows.h"

#include "scheme/uchrow.h"
#include "store/numbers.h"

#include <QHash>
#include <QPointF>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace {

// Fields of the drawing's records.
enum { nodeNumber = 4, linePoints = 0, lineKey = 1, unitX = 0, unitY = 1, unitW = 2, transfKey = 6, transf3Key = 7 };

// How far from a bus a line's end or a unit's top still stands on it: bus
// drags move line ends by whole units only, so ends drift a little.
constexpr double kReach = 20;
constexpr double kCell = 64;
constexpr int kMostCells = 256;

const QChar kSeparator(0x1F);

// The buses of a drawing, found by a point near them: each bus sits in the
// grid cells its rectangle, widened by the reach, covers; a bus wider than
// that is looked at for every point.
class BusFinder
{
public:
    explicit BusFinder(const Table& nodes)
    {
        for (const QStringList& record : nodes) {
            const QRectF rect(schemeCoordinate(record.value(0)), schemeCoordinate(record.value(1)),
                              schemeCoordinate(record.value(2)), schemeCoordinate(record.value(3)));
            const QRectF reach = rect.normalized().adjusted(-kReach, -kReach, kReach, kReach);
            const int bus = m_rects.size();
            m_rects.append(rect.normalized());
            m_names.append(record.value(nodeNumber));
            const qint64 x0 = cellOf(reach.left()), x1 = cellOf(reach.right());
            const qint64 y0 = cellOf(reach.top()), y1 = cellOf(reach.bottom());
            if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMostCells) {
                m_wide.append(bus);
                continue;
            }
            for (qint64 x = x0; x <= x1; ++x)
                for (qint64 y = y0; y <= y1; ++y)
                    m_cells[key(x, y)].append(bus);
        }
    }

    // The node of the bus nearest p within reach; empty when none.
    QString nodeAt(QPointF p) const
    {
        int best = -1;
        double bestDistance = kReach;
        auto look = [&](int bus) {
            const QRectF& r = m_rects.at(bus);
            const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
            const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
            const double distance = std::hypot(dx, dy);
            // The nearest; of equally near ones the first drawn.
            if (distance > bestDistance || (distance == bestDistance && best >= 0 && bus > best))
                return;
            best = bus;
            bestDistance = distance;
        };
        for (int bus : m_cells.value(key(cellOf(p.x()), cellOf(p.y()))))
            look(bus);
        for (int bus : m_wide)
            look(bus);
        return best < 0 ? QString() : m_names.at(best);
    }

private:
    static qint64 cellOf(double v) { return qint64(std::floor(v / kCell)); }
    static quint64 key(qint64 x, qint64 y) { return (quint64(x) << 32) ^ quint32(y); }

    QVector<QRectF> m_rects;
    QStringList m_names;
    QHash<quint64, QVector<int>> m_cells;
    QVector<int> m_wide;
};

// The rows by kind and key, and by kind, key and nodes, each in row order;
// take() hands out the first not taken yet. Every row stands in two
// queues and each queue's cursor only moves on: linear in all.
class RowQueues
{
public:
    RowQueues(const Table& rows)
        : m_rows(rows)
        , m_taken(rows.size(), false)
    {
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList& row = rows.at(r);
            const QChar kind = kindOf(row);
            m_queues[id(kind, row.value(uchKey), QString())].rows.append(r);
            m_queues[id(kind, row.value(uchKey), nodesOf(row))].rows.append(r);
        }
    }

    static QChar kindOf(const QStringList& row)
    {
        return row.value(uchTipEl) == QLatin1String("1") ? QLatin1Char('S') : QLatin1Char('T');
    }
    // A section's two nodes in either order; a transformer's HV node.
    static QString nodesOf(const QStringList& row)
    {
        return kindOf(row) == QLatin1Char('S') ? ends(row.value(uchNyzln), row.value(uchNyzlk))
                                               : row.value(uchNyzln);
    }
    static QString ends(const QString& a, const QString& b)
    {
        return a < b ? a + kSeparator + b : b + kSeparator + a;
    }

    // The first row not taken of kind and key (on nodes, unless empty); -1.
    int take(QChar kind, const QString& key, const QString& nodes)
    {
        const auto found = m_queues.find(id(kind, key, nodes));
        if (found == m_queues.end())
            return -1;
        Queue& q = found.value();
        while (q.next < q.rows.size() && m_taken.at(q.rows.at(q.next)))
            ++q.next;
        if (q.next == q.rows.size())
            return -1;
        const int r = q.rows.at(q.next++);
        m_taken[r] = true;
        return r;
    }
    const QStringList& row(int r) const { return m_rows.at(r); }

private:
    struct Queue
    {
        QVector<int> rows;
        int next = 0;
    };
    static QString id(QChar kind, const QString& key, const QString& nodes)
    {
        // Nodes are never empty where known: a queue by key alone is apart.
        return kind + key + kSeparator + (nodes.isEmpty() ? QStringLiteral("*") : QLatin1Char('=') + nodes);
    }

    const Table& m_rows;
    QVector<bool> m_taken;
    QHash<QString, Queue> m_queues;
};

// A row an element needs: its kind, the record's field of its key, the
// key, and the nodes the drawing shows (empty when it shows none).
struct Slot
{
    QChar kind;
    int field;
    QString key;
    QString nodes;
    int row = -1;
};

enum DrawnList { Lines, Transf, Transf3 };

struct Element
{
    DrawnList list;
    int index;
    QVector<Slot> slots;   // the first one always; a unit's windings with a key
};

QPointF pointOf(const QString& pair)
{
    const QStringList xy = pair.split(QLatin1Char(','));
    return QPointF(schemeCoordinate(xy.value(0)), schemeCoordinate(xy.value(1)));
}

// The two nodes a line's ends lie on; empty unless both are known.
QString lineEnds(const BusFinder& buses, const QString& points)
{
    QStringList vertices;
    for (const QString& part : points.split(QLatin1Char(' '))) {
        if (part.split(QLatin1Char(',')).size() == 2)
            vertices.append(part);
    }
    if (vertices.size() < 2)
        return QString();
    const QString a = buses.nodeAt(pointOf(vertices.first()));
    const QString b = buses.nodeAt(pointOf(vertices.last()));
    return a.isEmpty() || b.isEmpty() ? QString() : RowQueues::ends(a, b);
}

// The bus under a unit's top, where its HV winding leaves.
QString unitBus(const BusFinder& buses, const QStringList& record)
{
    const double x = schemeCoordinate(record.value(unitX)) + schemeCoordinate(record.value(unitW)) / 2;
    return buses.nodeAt(QPointF(x, schemeCoordinate(record.value(unitY))));
}

} // namespace

SxemaLin pairDrawing(const SxemaLin& drawing, const Table& rows, const QVector<int>& nowOf, const Table& now,
                     QVector<bool>* drawn)
{
    SxemaLin out = drawing;
    Table* const lists[] = {&out.lines, &out.transf, &out.transf3};
    const BusFinder buses(drawing.nodes);
    RowQueues queues(rows);
    const QChar section('S'), transformer('T');

    QVector<Element> elements;
    elements.reserve(out.lines.size() + out.transf.size() + out.transf3.size());
    for (int i = 0; i < out.lines.size(); ++i) {
        const QStringList& r = out.lines.at(i);
        elements.append({Lines, i, {{section, lineKey, r.value(lineKey), lineEnds(buses, r.value(linePoints))}}});
    }
    for (int i = 0; i < out.transf.size(); ++i) {
        const QStringList& r = out.transf.at(i);
        elements.append({Transf, i, {{transformer, transfKey, r.value(transfKey), unitBus(buses, r)}}});
    }
    for (int i = 0; i < out.transf3.size(); ++i) {
        const QStringList& r = out.transf3.at(i);
        Element unit{Transf3, i, {{transformer, transf3Key, r.value(transf3Key), unitBus(buses, r)}}};
        for (int k = transf3Key + 1; k <= transf3Key + 2; ++k) {
            if (!r.value(k).isEmpty())
                unit.slots.append({transformer, k, r.value(k), QString()});
        }
        elements.append(unit);
    }

    // The windings leave the end node of the unit's HV row.
    auto windingsOnTheStar = [&](Element& e) {
        if (e.slots.first().row < 0)
            return;
        const QString star = queues.row(e.slots.first().row).value(uchNyzlk);
        for (int s = 1; s < e.slots.size(); ++s) {
            if (e.slots.at(s).row < 0)
                e.slots[s].row = queues.take(transformer, e.slots.at(s).key, star);
        }
    };
    // Rows on the nodes the drawing shows first, so that an element whose
    // nodes are not shown takes none of them by turn.
    for (Element& e : elements) {
        Slot& first = e.slots.first();
        if (!first.nodes.isEmpty())
            first.row = queues.take(first.kind, first.key, first.nodes);
        windingsOnTheStar(e);
    }
    for (Element& e : elements) {
        Slot& first = e.slots.first();
        if (first.row < 0)
            first.row = queues.take(first.kind, first.key, QString());
        windingsOnTheStar(e);
        for (Slot& s : e.slots) {
            if (s.row < 0)
                s.row = queues.take(s.kind, s.key, QString());
        }
    }

    if (drawn)
        drawn->fill(false, rows.size());
    QVector<bool> keep[3];
    for (int list = Lines; list <= Transf3; ++list)
        keep[list].fill(false, lists[list]->size());
    for (const Element& e : qAsConst(elements)) {
        bool fits = true;
        for (const Slot& s : e.slots)
            fits = fits && s.row >= 0 && nowOf.value(s.row, -1) >= 0;
        if (!fits)
            continue;
        QStringList& record = (*lists[e.list])[e.index];
        for (const Slot& s : e.slots) {
            while (record.size() <= s.field)
                record.append(QString());
            record[s.field] = now.at(nowOf.at(s.row)).value(uchKey);
            if (drawn)
                (*drawn)[s.row] = true;
        }
        keep[e.list][e.index] = true;
    }
    for (int list = Lines; list <= Transf3; ++list) {
        Table kept;
        kept.reserve(lists[list]->size());
        for (int i = 0; i < lists[list]->size(); ++i) {
            if (keep[list].at(i))
                kept.append(lists[list]->at(i));
        }
        *lists[list] = kept;
    }
    return out;
}

void noteDrawnNumbers(const SxemaLin& drawing, qint64& largestNode, qint64& largestKey)
{
    for (const QStringList& r : drawing.nodes)
        largestNode = std::max<qint64>(largestNode, toWholeNumber(r.value(nodeNumber)));
    for (const QStringList& r : drawing.lines)
        largestKey = std::max<qint64>(largestKey, toWholeNumber(r.value(lineKey)));
    for (const QStringList& r : drawing.transf)
        largestKey = std::max<qint64>(largestKey, toWholeNumber(r.value(transfKey)));
    for (const QStringList& r : drawing.transf3) {
        for (int k = transf3Key; k <= transf3Key + 2; ++k)
            largestKey = std::max<qint64>(largestKey, toWholeNumber(r.value(k)));
    }
}

QVector<int> sameRows(int n)
{
    QVector<int> rows(n);
    for (int i = 0; i < n; ++i)
        rows[i] = i;
    return rows;
}

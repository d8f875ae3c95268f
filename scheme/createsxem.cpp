#include "createsxem.h"

#include "calc/zorvantask.h"
#include "scheme/uchrow.h"
#include "store/messages.h"
#include "store/numbers.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Sizes by the layout's size class (scene units). The last bound is 900 kV,
// not the scene's 950: these classes only size, they never colour.
constexpr float kClassBound[] = {1, 4, 8, 12, 25, 50, 130, 900};
constexpr int kClassCount = int(sizeof(kClassBound) / sizeof(kClassBound[0]));
constexpr int kBusHeight[kClassCount] = {4, 5, 5, 5, 5, 6, 7, 8};
constexpr int kBusWidthPerTrans[kClassCount] = {10, 16, 18, 20, 25, 30, 35, 40};
constexpr int kTransf2Width[kClassCount] = {15, 18, 20, 22, 25, 30, 35, 40};
constexpr int kTransf2Height[kClassCount] = {30, 35, 40, 45, 50, 60, 70, 80};
// Side of a three-winding symbol, and the spacing of transformers on a bus.
constexpr int kTransf3Size[kClassCount] = {30, 35, 40, 45, 50, 60, 70, 80};

constexpr int kGridStep = 150;

struct TransRow
{
    int begin = 0;  // node numbers
    int end = 0;
    QString key;
    double uvn = 0.0;
    double unn = 0.0;
    double ratio = 0.0;
};

enum UnitKind : char { TwoWinding, ThreeWinding, Winding };

// What a three-winding unit takes from its windings.
struct Unit3
{
    double usn = 0.0;
    double unn = 0.0;
    QString key2;
    QString key3;
};

QString whole(double v)
{
    return QString::number(qint64(std::floor(v + 0.5)));  // halves up
}

QString general(double v)
{
    return QString::number(v, 'g', 6);
}

Table currentLineRows()
{
    const Table all = ReadShablonXML(QStringLiteral("uch_lin"), attrUchLin, QStringLiteral("UCH_LIN"));
    Table rows;
    for (const QStringList& row : all) {
        if (row.value(uchNpes) == NPES && row.value(uchNres) == NRES && row.value(uchNlin) == NLIN)
            rows.append(row);
    }
    return rows;
}

// Positions of the last record of each key (a later record wins).
template<typename Key, typename KeyOf>
QHash<Key, int> lastByKey(const QVector<QStringList>& records, KeyOf keyOf)
{
    QHash<Key, int> index;
    index.reserve(records.size());
    for (int i = 0; i < records.size(); ++i)
        index.insert(keyOf(records.at(i)), i);
    return index;
}

// Nodes of the sections as a grid: level (column) and slot (row) of each.
struct Grid
{
    QVector<int> level;
    QVector<int> slot;
};

Grid placeNodes(int n, const QVector<int>& secBegin, const QVector<int>& secEnd)
{
    // Neighbours of each node, sections in row order.
    QVector<int> first(n + 1, 0);
    for (int s = 0; s < secBegin.size(); ++s) {
        ++first[secBegin.at(s) + 1];
        ++first[secEnd.at(s) + 1];
    }
    for (int i = 0; i < n; ++i)
        first[i + 1] += first.at(i);
    QVector<int> adj(first.at(n));
    {
        QVector<int> fill = first;
        for (int s = 0; s < secBegin.size(); ++s) {
            adj[fill[secBegin.at(s)]++] = secEnd.at(s);
            adj[fill[secEnd.at(s)]++] = secBegin.at(s);
        }
    }

    // Levels breadth first from the root, the first node of the ascending
    // list, as the calculation roots a line at its lowest node.
    Grid grid;
    grid.level.fill(-1, n);
    grid.slot.fill(0, n);
    QVector<int> parent(n, -1);
    QVector<int> order;
    order.reserve(n);
    grid.level[0] = 0;
    order.append(0);
    for (int head = 0; head < order.size(); ++head) {
        const int u = order.at(head);
        for (int a = first.at(u); a < first.at(u + 1); ++a) {
            const int v = adj.at(a);
            if (grid.level.at(v) < 0) {
                grid.level[v] = grid.level.at(u) + 1;
                parent[v] = u;
                order.append(v);
            }
        }
    }
    const int levels = grid.level.at(order.last()) + 1;

    // Nodes of each level in ascending order.
    QVector<int> levelFirst(levels + 1, 0);
    for (int u = 0; u < n; ++u) {
        if (grid.level.at(u) >= 0)
            ++levelFirst[grid.level.at(u) + 1];
    }
    for (int l = 0; l < levels; ++l)
        levelFirst[l + 1] += levelFirst.at(l);
    QVector<int> byLevel(levelFirst.at(levels));
    {
        QVector<int> fill = levelFirst;
        for (int u = 0; u < n; ++u) {
            if (grid.level.at(u) >= 0)
                byLevel[fill[grid.level.at(u)]++] = u;
        }
    }

    // Chains from the leaves toward the root: a node continues the lowest
    // chain among its children. The root has no parent to hand a chain to.
    QVector<int> chain(n, -1);
    int chains = 0;
    for (int l = levels - 1; l >= 0; --l) {
        for (int i = levelFirst.at(l); i < levelFirst.at(l + 1); ++i) {
            const int u = byLevel.at(i);
            const int p = parent.at(u);
            if (chain.at(u) < 0) {
                chain[u] = chains;
                if (p >= 0 && chain.at(p) < 0)
                    chain[p] = chains;
                ++chains;
            } else if (p >= 0 && (chain.at(p) < 0 || chain.at(p) > chain.at(u))) {
                chain[p] = chain.at(u);
            }
        }
    }

    // Size of each chain, the chain it hangs on, and its nodes.
    QVector<int> size(chains, 0);
    QVector<int> base(chains, -1);
    QVector<int> chainFirst(chains + 1, 0);
    for (int u = 0; u < n; ++u) {
        const int c = chain.at(u);
        if (c < 0)
            continue;
        ++size[c];
        ++chainFirst[c + 1];
        const int p = parent.at(u);
        if (p >= 0 && chain.at(p) != c)
            base[c] = chain.at(p);
    }
    for (int c = 0; c < chains; ++c)
        chainFirst[c + 1] += chainFirst.at(c);
    QVector<int> byChain(chainFirst.at(chains));
    {
        QVector<int> fill = chainFirst;
        for (int u = 0; u < n; ++u) {
            if (chain.at(u) >= 0)
                byChain[fill[chain.at(u)]++] = u;
        }
    }

    // Slots level by level, chains in ascending order; a single node hanging
    // on the main chain goes above it.
    QVector<int> counter(levels, 0);
    bool above = false;
    for (int c = 1; c < chains; ++c) {
        for (int i = chainFirst.at(c); i < chainFirst.at(c + 1); ++i) {
            const int u = byChain.at(i);
            if (size.at(c) == 1 && base.at(c) == 0) {
                grid.slot[u] = -1;
                above = true;
            } else {
                grid.slot[u] = ++counter[grid.level.at(u)];
            }
        }
    }
    if (above) {
        for (int& s : grid.slot)
            ++s;
    }
    return grid;
}

} // namespace

int layoutSizeClass(double u)
{
    const float v = float(u);
    for (int i = 0; i < kClassCount; ++i) {
        if (kClassBound[i] > v)
            return i;
    }
    return kClassCount - 1;
}

CreateSxem::CreateSxem(int mode, const Table* rows, const SxemaLin* savedScheme)
{
    std::optional<ReadSxem> ownRead;
    const SxemaLin& saved = savedScheme ? *savedScheme : ownRead.emplace();
    const bool update = mode == 2 && !saved.nodes.isEmpty();
    Table read;
    if (!rows) {
        read = currentLineRows();
        rows = &read;
    }
    const LoadKatalogTrans katalog(UNOM);

    QVector<int> secBegin, secEnd;  // node numbers, then node positions
    QStringList secKey;
    QVector<TransRow> trans;
    for (const QStringList& row : *rows) {
        const int begin = toInteger(row.value(uchNyzln));
        const int end = toInteger(row.value(uchNyzlk));
        if (row.value(uchTipEl) == QLatin1String("1")) {
            secBegin.append(begin);
            secEnd.append(end);
            secKey.append(row.value(uchKey));
            continue;
        }
        TransRow t;
        t.begin = begin;
        t.end = end;
        t.key = row.value(uchKey);
        const auto type = katalog.index.constFind(row.value(uchKodEl));
        if (type == katalog.index.constEnd()) {
            t.uvn = t.unn = UNOM;
        } else {
            t.uvn = katalog.uvn.at(type.value());
            t.unn = katalog.unn.at(type.value());
            if (t.uvn > 0.0 && t.unn > 0.0)
                t.ratio = t.unn / t.uvn;
        }
        trans.append(t);
    }
    if (secBegin.isEmpty() && trans.isEmpty()) {
        ShowWarning(QStringLiteral("Предупреждение"), QStringLiteral("Для линии не заведены участки"));
        return;
    }
    key = QStringList{NPES, NRES, NLIN, color};

    // Nodes of the sections in ascending order.
    QVector<int> nodeNumber = secBegin + secEnd;
    std::sort(nodeNumber.begin(), nodeNumber.end());
    nodeNumber.erase(std::unique(nodeNumber.begin(), nodeNumber.end()), nodeNumber.end());
    QHash<int, int> nodeIndex;
    nodeIndex.reserve(nodeNumber.size());
    for (int i = 0; i < nodeNumber.size(); ++i)
        nodeIndex.insert(nodeNumber.at(i), i);
    for (int s = 0; s < secBegin.size(); ++s) {
        secBegin[s] = nodeIndex.value(secBegin.at(s));
        secEnd[s] = nodeIndex.value(secEnd.at(s));
    }

    const int k = layoutSizeClass(UNOM);
    QVector<int> busX, busY, busW;
    const int busH = kBusHeight[k];
    if (nodeNumber.isEmpty()) {
        // Transformers only: they all stand on one bus, node 0.
        nodeNumber = {0};
        busX = {10};
        busY = {100};
        busW = {kBusWidthPerTrans[k]};
    } else {
        const Grid grid = placeNodes(nodeNumber.size(), secBegin, secEnd);
        QVector<int> load(nodeNumber.size(), 0);
        for (const TransRow& t : qAsConst(trans)) {
            const auto bus = nodeIndex.constFind(t.begin);
            if (bus != nodeIndex.constEnd())
                load[bus.value()] += t.ratio > 0.8 ? 2 : 1;
        }
        for (int i = 0; i < nodeNumber.size(); ++i) {
            busX.append(kGridStep * grid.level.at(i) + 10);
            busY.append(kGridStep * grid.slot.at(i) + 120);
            busW.append(load.at(i) > 0 ? load.at(i) * kBusWidthPerTrans[k] : busH);
        }
    }

    // Three-winding units: an HV row (ratio near 1) and the rows leaving its
    // star point. A later row's decision overrides an earlier one.
    QVector<char> unitKind(trans.size(), TwoWinding);
    QVector<Unit3> unit3(trans.size());
    QHash<int, QVector<int>> transByBegin;
    for (int r = 0; r < trans.size(); ++r)
        transByBegin[trans.at(r).begin].append(r);
    for (int r = 0; r < trans.size(); ++r) {
        const TransRow& hv = trans.at(r);
        if (!(hv.ratio > 0.8 && hv.ratio < 1.2))
            continue;
        unitKind[r] = ThreeWinding;
        QVector<int> windings;
        for (int s : transByBegin.value(hv.end)) {
            if (s != r) {
                unitKind[s] = Winding;
                windings.append(s);
            }
        }
        Unit3& u = unit3[r];
        if (windings.size() == 2) {
            const TransRow& a = trans.at(windings.at(0));
            const TransRow& b = trans.at(windings.at(1));
            const bool laterHigher = b.unn >= a.unn;
            const TransRow& high = laterHigher ? b : a;
            const TransRow& low = laterHigher ? a : b;
            u.usn = high.unn;
            u.unn = low.unn;
            u.key2 = high.key;
            u.key3 = low.key;
        } else {
            u.usn = u.unn = hv.unn;
        }
    }

    // Saved records by element, the last of a key winning.
    QHash<int, int> savedNode;
    QHash<QString, int> savedLine, savedTransf, savedTransf3;
    if (update) {
        savedNode = lastByKey<int>(saved.nodes, [](const QStringList& r) { return toInteger(r.value(4)); });
        savedLine = lastByKey<QString>(saved.lines, [](const QStringList& r) { return r.value(1); });
        savedTransf = lastByKey<QString>(saved.transf, [](const QStringList& r) { return r.value(6); });
        savedTransf3 = lastByKey<QString>(saved.transf3, [](const QStringList& r) { return r.value(7); });
    }
    const QString zero = QStringLiteral("0");

    for (int i = 0; i < nodeNumber.size(); ++i) {
        const QString number = QString::number(nodeNumber.at(i));
        const auto s = savedNode.constFind(nodeNumber.at(i));
        if (s != savedNode.constEnd()) {
            const QStringList& r = saved.nodes.at(s.value());
            nodes.append({r.value(0), r.value(1), r.value(2), r.value(3), number, r.value(5),
                          r.value(6), zero});
        } else {
            nodes.append({QString::number(busX.at(i)), whole(busY.at(i) - busH / 2.0),
                          QString::number(busW.at(i)), QString::number(busH), number, zero, zero,
                          zero});
        }
    }

    for (int s = 0; s < secBegin.size(); ++s) {
        const QString& sectionKey = secKey.at(s);
        const auto found = savedLine.constFind(sectionKey);
        if (found != savedLine.constEnd()) {
            const QStringList& r = saved.lines.at(found.value());
            lines.append({r.value(0), sectionKey, r.value(2), r.value(3), zero});
            continue;
        }
        const int a = secBegin.at(s), b = secEnd.at(s);
        const QString points = QStringLiteral("%1,%2 %3,%4")
                                   .arg(busX.at(a) + 2).arg(busY.at(a) - 1)
                                   .arg(busX.at(b) + 2).arg(busY.at(b) - 1);
        lines.append({points, sectionKey, zero, zero, zero});
    }

    QVector<char> busTaken(nodeNumber.size(), 0);
    for (int r = 0; r < trans.size(); ++r) {
        if (unitKind.at(r) == Winding)
            continue;
        const TransRow& t = trans.at(r);
        const int bus = nodeIndex.value(t.begin, 0);
        const int k2 = layoutSizeClass(t.uvn);
        const int j = busTaken.at(bus) ? 1 : 0;
        busTaken[bus] = 1;
        QString x = general(busX.at(bus) - 5 + j * kTransf3Size[k2]);
        QString y = general(busY.at(bus) + 2);
        if (unitKind.at(r) == TwoWinding) {
            QString xkt = zero, ykt = zero;
            const auto found = savedTransf.constFind(t.key);
            if (found != savedTransf.constEnd()) {
                const QStringList& s = saved.transf.at(found.value());
                x = s.value(0), y = s.value(1), xkt = s.value(7), ykt = s.value(8);
            }
            transf.append({x, y, general(kTransf2Width[k2]), general(kTransf2Height[k2]),
                           general(t.uvn), general(t.unn), t.key, xkt, ykt, zero});
        } else {
            QString xkt = zero, ykt = zero;
            const auto found = savedTransf3.constFind(t.key);
            if (found != savedTransf3.constEnd()) {
                const QStringList& s = saved.transf3.at(found.value());
                x = s.value(0), y = s.value(1), xkt = s.value(10), ykt = s.value(11);
            }
            const Unit3& u = unit3.at(r);
            const QString side = general(kTransf3Size[k2]);
            transf3.append({x, y, side, side, general(t.uvn), general(u.usn), general(u.unn), t.key,
                            u.key2, u.key3, xkt, ykt, zero});
        }
    }
}

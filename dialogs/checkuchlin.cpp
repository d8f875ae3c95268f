#include "checkuchlin.h"

#include "store/numbers.h"

#include <QHash>
#include <QSet>
#include <QVector>

#include <algorithm>

namespace {

enum { colBegin = 5, colEnd = 6, colType = 7, colOff = 16 };

// A node typed as "3.0" is still node 3; text that is no number, or a number
// no int holds, is 0.
int intValue(const QStringList& row, int col)
{
    return toWholeNumber(row.value(col));
}

// The second entry of a list, or -1 when there is none.
int second(const QVector<int>& list)
{
    return list.size() > 1 ? list.at(1) : -1;
}

} // namespace

QStringList checkLineSections(const Table& rows)
{
    // 1. One entry per distinct branch: a row with the same pair of nodes, in
    // either order, is the same branch (a copied row, for instance).
    QVector<int> B, E, T, O;
    QHash<QPair<int, int>, bool> seen;
    for (const QStringList& row : rows) {
        const int b = intValue(row, colBegin);
        const int e = intValue(row, colEnd);
        if (seen.contains(qMakePair(b, e)) || seen.contains(qMakePair(e, b)))
            continue;
        seen.insert(qMakePair(b, e), true);
        B.append(b);
        E.append(e);
        T.append(intValue(row, colType));
        O.append(intValue(row, colOff));
    }
    const int n = B.size();
    QVector<int> L(n, -1), P(n, 1), D(n, -1);

    // Branches by node, in list order, so that a walk looks only at the
    // branches of a node instead of the whole list. Orienting a branch swaps
    // its ends and keeps its pair of nodes, so the index stays valid.
    QHash<int, QVector<int>> atNode;
    for (int i = 0; i < n; ++i) {
        atNode[B[i]].append(i);
        if (E[i] != B[i])
            atNode[E[i]].append(i);
    }
    const QVector<int> none;
    const auto branchesAt = [&](int node) -> const QVector<int>& {
        const auto it = atNode.constFind(node);
        return it == atNode.constEnd() ? none : it.value();
    };

    // 2. First walk: levels from the heads and orientation away from them.
    // Level by level, each level's branches in list order, so that a branch
    // is reached from the first branch before it in list order that ends at
    // one of its nodes. A head that an earlier walk reached has had its
    // neighbours taken then, and so have all branches of earlier walks.
    QVector<int> level, next;
    for (int i = 0; i < n; ++i) {
        if (B[i] >= 1)
            continue;
        const bool reached = L[i] >= 0;
        L[i] = 0;
        P[i] = 1;
        if (reached)
            continue;
        level = {i};
        for (int k = 0; !level.isEmpty(); ++k) {
            std::sort(level.begin(), level.end());
            next.clear();
            for (int j : qAsConst(level)) {
                const int node = E[j];
                for (int m : branchesAt(node)) {
                    if (L[m] >= 0)
                        continue;
                    L[m] = k + 1;
                    P[m] = j;
                    if (B[m] != node) {
                        E[m] = B[m];
                        B[m] = node;
                    }
                    next.append(m);
                }
            }
            level.swap(next);
        }
    }

    // 3. Second walk: what the heads reach through switched-on branches.
    for (int i = 0; i < n; ++i) {
        if (B[i] >= 1)
            continue;
        const bool reached = D[i] >= 0;
        D[i] = 0;
        if (reached)
            continue;
        level = {i};
        while (!level.isEmpty()) {
            next.clear();
            for (int j : qAsConst(level)) {
                for (int m : branchesAt(E[j])) {
                    if (D[m] < 0 && O[m] == 0) {
                        D[m] = D[j] + 1;
                        next.append(m);
                    }
                }
            }
            level.swap(next);
        }
    }

    QStringList lines;
    // 4. Switched-on branches that the switched-on paths do not reach. A
    // branch the first walk never reached is judged by the second branch of
    // the list; a list of one branch has none, and that branch is reported by
    // the steps below anyway.
    for (int i = 0; i < n; ++i) {
        if (D[i] == -1 && P[i] < n && D[P[i]] == -1 && O[i] == 0)
            lines.append("*** Узел " + QString::number(E[i]) + " находится за отключенным участком");
    }

    // 5. Each switched-on branch against all the others, through what the
    // switched-on branches give each node: how many begin there, and which
    // end there in list order. Every end node counts for step 5d.
    QHash<int, int> beginning;
    QHash<int, QVector<int>> ending;
    QSet<int> ends;
    for (int m = 0; m < n; ++m) {
        ends.insert(E[m]);
        if (O[m] == 1)
            continue;
        ++beginning[B[m]];
        ending[E[m]].append(m);
    }
    const auto ring = [&](int m) {
        if (m >= 0)
            lines.append("*** Участок " + QString::number(B[m]) + "-" + QString::number(E[m])
                         + " образует кольцо");
    };
    bool allOff = true;
    int head = -1;
    for (int i = 0; i < n; ++i) {
        if (O[i] == 1)
            continue;
        if (E[i] == B[i])
            lines.append("*** Участок " + QString::number(B[i]) + "-" + QString::number(E[i])
                         + " повторяется узел");
        // The second branch ending at the begin of i closes a ring, and so
        // does the second ending at its end; reported in list order, the
        // begin first when it is one branch.
        const int toBegin = second(ending.value(B[i]));
        const int toEnd = second(ending.value(E[i]));
        if (toEnd >= 0 && (toBegin < 0 || toEnd < toBegin)) {
            ring(toEnd);
            ring(toBegin);
        } else {
            ring(toBegin);
            ring(toEnd);
        }
        if (beginning.value(E[i]) == 0 && T[i] == 1)
            lines.append("Предупреждение: Линия " + QString::number(B[i]) + "-"
                         + QString::number(E[i]) + " - тупиковая линия без ТП");
        if (B[i] == 0) {
            if (head >= 0)
                lines.append("*** Участок 0 -" + QString::number(E[i])
                             + " повторяется головной участок");
            head = i;
        } else if (!ends.contains(B[i])) {
            lines.append("*** Узел " + QString::number(B[i]) + " не связан с остальной схемой линии");
        }
        allOff = false;
    }

    // 6. The line must be fed.
    if (head < 0)
        lines.append(allOff ? QStringLiteral("Предупреждение: Фидер отключен")
                            : QStringLiteral("*** Головной участок не найден или отключен"));
    return lines;
}

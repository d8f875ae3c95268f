#include "checkuchlin.h"

#include <QHash>
#include <QVector>

namespace {

enum { colBegin = 5, colEnd = 6, colType = 7, colOff = 16 };

int intValue(const QStringList& row, int col)
{
    if (col >= row.size())
        return 0;
    bool ok = false;
    const QString text = row.at(col).trimmed();
    const int value = text.toInt(&ok);
    if (ok)
        return value;
    // A node typed as "3.0" is still node 3; text that is no number is 0.
    return int(text.toDouble());
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
    for (auto it = atNode.begin(); it != atNode.end(); ++it)
        std::sort(it->begin(), it->end());

    // 2. First walk: levels from the heads and orientation away from them.
    for (int i = 0; i < n; ++i) {
        if (B[i] >= 1)
            continue;
        L[i] = 0;
        P[i] = 1;
        for (int k = 0; k < n; ++k) {
            bool any = false;
            for (int j = 0; j < n; ++j) {
                if (L[j] != k)
                    continue;
                any = true;
                const int node = E[j];
                for (int m : atNode.value(node)) {
                    if (L[m] >= 0 || (B[m] != node && E[m] != node))
                        continue;
                    L[m] = k + 1;
                    P[m] = j;
                    if (B[m] != node) {
                        E[m] = B[m];
                        B[m] = node;
                    }
                }
            }
            if (!any)
                break;   // no branch on this level, so none further out
        }
    }

    // 3. Second walk: what the heads reach through switched-on branches.
    for (int i = 0; i < n; ++i) {
        if (B[i] >= 1)
            continue;
        D[i] = 0;
        for (int k = 0; k < n; ++k) {
            bool any = false;
            for (int j = 0; j < n; ++j) {
                if (D[j] != k)
                    continue;
                any = true;
                const int node = E[j];
                for (int m : atNode.value(node)) {
                    if (D[m] < 0 && O[m] == 0 && (B[m] == node || E[m] == node))
                        D[m] = k + 1;
                }
            }
            if (!any)
                break;
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

    // 5. Each switched-on branch against all the others.
    bool allOff = true;
    int head = -1;
    for (int i = 0; i < n; ++i) {
        if (O[i] == 1)
            continue;
        if (E[i] == B[i])
            lines.append("*** Участок " + QString::number(B[i]) + "-" + QString::number(E[i])
                         + " повторяется узел");
        int leaving = 0, toBegin = 0, toEnd = 0;
        // The message is built only when reported: this runs for every pair.
        const auto ring = [&](int m) {
            return "*** Участок " + QString::number(B[m]) + "-" + QString::number(E[m])
                + " образует кольцо";
        };
        for (int m = 0; m < n; ++m) {
            if (O[m] == 1)
                continue;
            if (B[m] == E[i])
                ++leaving;
            if (E[m] == B[i] && ++toBegin == 2)
                lines.append(ring(m));
            if (E[m] == E[i] && ++toEnd == 2)
                lines.append(ring(m));
        }
        if (leaving == 0 && T[i] == 1)
            lines.append("Предупреждение: Линия " + QString::number(B[i]) + "-"
                         + QString::number(E[i]) + " - тупиковая линия без ТП");
        if (B[i] == 0) {
            if (head >= 0)
                lines.append("*** Участок 0 -" + QString::number(E[i])
                             + " повторяется головной участок");
            head = i;
        } else if (!E.contains(B[i])) {
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

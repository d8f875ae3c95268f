#pragma once
// Generated lines for the scheme benchmarks: a deep chain, a bushy tree, a
// comb (a main chain with a one-node branch at every level) and a tree with
// transformers on every third node, as rows of the line 1,1,1 at 110 kV, and
// a working directory with the transformer catalog those rows use.

#include "store/readregim.h"

#include <QTemporaryDir>

namespace benchline {

enum class Shape { Chain, Tree, Comb, Transformers };

inline QStringList row(int from, int to, const QString& type, int key)
{
    // attrUchLin order
    const bool section = type.startsWith(QStringLiteral("АС"));
    return {"1", "1", "1", QStringLiteral("Участок %1-%2").arg(from).arg(to), "",
            QString::number(from), QString::number(to), section ? "1" : "2", type, section ? "1.5" : "",
            "0", "0", "0", "0", "0", "0", "0", QString::number(key)};
}

inline Table generate(int rows, Shape shape)
{
    Table t;
    t.reserve(rows);
    auto add = [&](int from, int to, const QString& type) {
        if (t.size() < rows)
            t.append(row(from, to, type, t.size() + 1));
    };
    const QString wire = QStringLiteral("АС-120/19");
    QVector<int> hubs = {0};
    int next = 1;
    int spine = 0;
    while (t.size() < rows) {
        const int r = t.size();
        switch (shape) {
        case Shape::Chain:
            add(next - 1, next, wire);
            ++next;
            break;
        case Shape::Tree:
            add(hubs.at(r / 4), next, wire);
            hubs.append(next++);
            break;
        case Shape::Comb:
            add(spine, next, wire);
            add(spine, next + 1, wire);
            spine = next;
            next += 2;
            break;
        case Shape::Transformers: {
            // Sections form a tree; every third node carries a two-winding
            // unit, every ninth a three-winding one (HV row and two windings).
            const int node = next++;
            add(hubs.at(hubs.size() / 4), node, wire);
            hubs.append(node);
            if (node % 9 == 0) {
                const int star = next++;
                add(node, star, QStringLiteral("ТДТН-ВН"));
                add(star, next++, QStringLiteral("ТДТН-СН"));
                add(star, next++, QStringLiteral("ТДТН-НН"));
            } else if (node % 3 == 0) {
                add(node, next++, QStringLiteral("ТДН-10000/110"));
            }
            break;
        }
        }
    }
    return t;
}

// A working directory with the transformer catalog and, for the update, the
// saved scheme of the line.
class Workspace
{
public:
    Workspace()
    {
        ZORVAN_PATH = m_dir.path() + QLatin1Char('/');
        NPES = NRES = NLIN = QStringLiteral("1");
        UNOM = 110;
        const Table types = {
            {"ТДН-10000/110", "110", "10000", "7.9", "139", "14", "70", "1.78", "9", "115", "11"},
            {"ТДТН-ВН", "110", "25000", "1.5", "57", "31", "175", "1.78", "9", "115", "115"},
            {"ТДТН-СН", "110", "25000", "1.5", "0", "0", "0", "0", "0", "115", "38.5"},
            {"ТДТН-НН", "110", "25000", "1.5", "36", "0", "0", "0", "0", "115", "11"}};
        saveShablonXML("kat_tr", attrTR, "Trans", "net10_TransInfo", types);
    }

private:
    QTemporaryDir m_dir;
};

} // namespace benchline

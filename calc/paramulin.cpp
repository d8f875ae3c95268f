#include "zorvantask.h"

#include "netreports.h"

#include "store/messages.h"
#include "store/numbers.h"

#include <QMap>

namespace {

// Group rows by the whole-number part of their catalog value, ascending (a
// value no int holds groups with 0).
using Groups = QMap<int, QVector<double>>;

QVector<double>& group(Groups& groups, double value, int width)
{
    const int key = clampedInt(value);
    auto it = groups.find(key);
    if (it == groups.end())
        it = groups.insert(key, QVector<double>(width, 0.0));
    return it.value();
}

} // namespace

ParamU_Lin::ParamU_Lin(QString nlin)
{
    const LoadKatalogLines wires;
    const LoadKatalogTrans trans(0.0);
    const Table sections = ReadShablonXML(QStringLiteral("uch_lin"), attrUchLin,
                                          QStringLiteral("UCH_LIN"));
    build(nlin, sections, wires, trans);
}

ParamU_Lin::ParamU_Lin(const QString& nlin, const Table& sections, const KatalogLines& wires,
                       const KatalogTrans& trans)
{
    build(nlin, sections, wires, trans);
}

void ParamU_Lin::build(const QString& nlin, const Table& sections, const KatalogLines& wires,
                       const KatalogTrans& trans)
{
    if (sections.isEmpty()) {
        ShowWarning(QStringLiteral("Предупреждение"), QStringLiteral("Для линии не заведены участки"));
        return;
    }
    SumAll.fill(0.0, 10);
    SumBal.fill(0.0, 10);
    Groups trGroups, linGroups;

    // attrUchLin: npes 0, nres 1, nlin 2, tip_el 7, kod_el 8, dl 9, kbal 15, podkt 16
    for (const QStringList& row : sections) {
        if (row.value(0) != NPES || row.value(1) != NRES || row.value(2) != nlin)
            continue;
        const QString mark = row.value(8);
        const bool onBalance = row.value(15) == QLatin1String("0");
        if (row.value(7) == QLatin1String("2")) {
            const auto it = trans.index.constFind(mark);
            const double S = it == trans.index.constEnd() ? 10000.0 : trans.S.at(it.value());
            if (S == 0.0)
                continue;
            const bool off = row.value(16) == QLatin1String("1");
            QVector<double>& g = group(trGroups, S, 9);
            g[0] = S;
            g[1] += 1; g[2] += S;
            SumAll[0] += 1; SumAll[2] += S;
            if (off) {
                g[3] += 1; g[4] += S;
                SumAll[1] += 1; SumAll[3] += S;
            }
            if (onBalance) {
                g[5] += 1; g[6] += S;
                SumBal[0] += 1; SumBal[2] += S;
                if (off) {
                    g[7] += 1; g[8] += S;
                    SumBal[1] += 1; SumBal[3] += S;
                }
            }
            continue;
        }
        // A mark missing from the catalog counts as an overhead 240 mm² wire.
        const auto it = wires.index.constFind(mark);
        const bool found = it != wires.index.constEnd();
        const double S = found ? wires.S.at(it.value()) : 240.0;
        const bool cable = found && wires.KL.at(it.value()) == 1;
        QVector<double>& g = group(linGroups, S, 13);
        g[0] = S;
        const double dl = toNumber(row.value(9));
        if (!(dl > 0.0))
            continue;
        g[1] += 1; g[2] += dl;
        g[cable ? 3 : 5] += 1; g[cable ? 4 : 6] += dl;
        SumAll[4] += 1; SumAll[7] += dl;
        SumAll[cable ? 6 : 5] += 1; SumAll[cable ? 9 : 8] += dl;
        if (onBalance) {
            g[7] += 1; g[8] += dl;
            g[cable ? 9 : 11] += 1; g[cable ? 10 : 12] += dl;
            SumBal[4] += 1; SumBal[7] += dl;
            SumBal[cable ? 6 : 5] += 1; SumBal[cable ? 9 : 8] += dl;
        }
    }

    // The groups are already one per key: merging only adds the total rows.
    for (const QVector<double>& g : qAsConst(trGroups))
        TrRows.append(g);
    MergeRows(TrRows, 9, GroupKind::Transformers);
    for (const QVector<double>& g : qAsConst(linGroups))
        LinRows.append(g);
    MergeRows(LinRows, 13, GroupKind::Sections);
}

#include "regimmodel.h"

#include "calc/zorvantask.h"
#include "scheme/uchrow.h"
#include "store/numbers.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace Regime {

int drawingClass(double kv)
{
    constexpr float bounds[kClassCount] = {1, 4, 8, 12, 25, 50, 130, 250, 400, 2000};
    const float v = float(kv);
    int k = 0;
    while (k < kClassCount && !(bounds[k] > v))
        ++k;
    return k;
}

double lineWidth(int drawingClass)
{
    constexpr double widths[kClassCount] = {1, 1, 1, 1, 1, 1.5, 2, 3, 4, 5};
    return widths[qBound(0, drawingClass, kClassCount - 1)];
}

} // namespace Regime

namespace {

using Regime::BranchBand;
using Regime::NodeBand;

// Voltage limits T0 < T1 < T2 < T3 (kV) of each node class.
constexpr double kLimits[Regime::kClassCount][4] = {
    {0.8, 0.9, 1.1, 1.2},     {2.4, 2.7, 3.5, 4.0},     {5.1, 5.6, 7.2, 8.0},
    {8.0, 9.0, 11.2, 12.5},   {16, 18, 23, 25},         {31, 33, 39, 42},
    {99, 104, 120, 126},      {198, 208, 232, 242},     {300, 315, 345, 360},
    {475, 488, 515, 526},
};

// Bands of a branch value, tested in this order: 0 no value, below low,
// below normal, above over, from high on; what is left is undefined.
struct Bounds
{
    double low, normal, high, over;
};

constexpr Bounds kLoading = {0.2, 0.7, 0.7, 1.0};
constexpr Bounds kLineDrop = {0.5, 1.0, 2.5, 5.0};
constexpr Bounds kTransDrop = {0.5, 2.5, 2.5, 5.0};
constexpr Bounds kLineLoss = {0.05, 0.2, 0.5, 1.0};
constexpr Bounds kTransLoss = {0.1, 0.3, 0.5, 1.0};

BranchBand band(double v, const Bounds& b)
{
    if (v == 0.0)
        return BranchBand::NoValue;
    if (v < b.low)
        return BranchBand::Low;
    if (v < b.normal)
        return BranchBand::Normal;
    if (v > b.over)
        return BranchBand::Overloaded;
    if (v >= b.high)
        return BranchBand::High;
    return BranchBand::Undefined;
}

QString fixed(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

// "|a| +J |b|" or "|a| -J |b|" by the sign of b.
QString complexText(double a, int da, double b, int db)
{
    return fixed(std::fabs(a), da) + (b < 0.0 ? QStringLiteral(" -J ") : QStringLiteral(" +J "))
        + fixed(std::fabs(b), db);
}

void zeros(std::initializer_list<QVector<double>*> vectors, int size)
{
    for (QVector<double>* v : vectors)
        v->fill(0.0, size);
}

} // namespace

RegimModel::RegimModel()
    : npes(NPES)
    , nres(NRES)
    , nlin(NLIN)
    , unom(UNOM)
{
}

void RegimModel::ReadModel(const Table& sections)
{
    branchName.clear();
    markText.clear();
    branchKey.clear();
    kbal.clear();
    podkt.clear();
    branchMap.clear();
    nodeMap.clear();
    nodeName.clear();

    QVector<int> numbers;
    for (const QStringList& row : sections) {
        if (row.value(uchNpes) != npes || row.value(uchNres) != nres || row.value(uchNlin) != nlin)
            continue;
        const QString begin = row.value(uchNyzln);
        const QString end = row.value(uchNyzlk);
        const QString name = row.value(uchName);
        branchName.append(name.isEmpty() ? "Участок " + begin + "-" + end : name);
        kbal.append(toInteger(row.value(uchKbal)));
        podkt.append(toInteger(row.value(uchPodkt)));
        branchMap.insert(row.value(uchKey), branchKey.size());
        branchKey.append(row.value(uchKey));
        markText.append(toInteger(row.value(uchTipEl)) == 2
                            ? row.value(uchKodEl)
                            : row.value(uchKodEl) + " " + row.value(uchDl) + " км");
        numbers << toInteger(begin) << toInteger(end);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    for (int number : qAsConst(numbers)) {
        nodeMap.insert(QString::number(number), nodeName.size());
        nodeName.append("Узел " + QString::number(number));
    }

    const int n = nodeCount();
    const int m = branchCount();
    Unom.fill(unom, n);
    vertMark.fill(0, m);
    labelX.fill(0, m);
    labelY.fill(0, m);
    // Every value vector is as long as the nodes or branches it describes, so
    // that any index of the maps reads a value, calculated or not.
    cable.fill(0, m);
    zeros({&U, &regime.U}, n);
    zeros({&shown.P, &shown.Q, &shown.I, &shown.dP, &shown.dQ, &shown.dPxx, &shown.dQxx,
           &shown.dU, &shown.S, &shown.Kz, &regime.P, &regime.Q, &regime.dP, &regime.dQ,
           &regime.dPxx, &regime.dQxx, &regime.I, &regime.Kz, &regime.dU, &energy.W, &energy.Wq,
           &energy.dW, &energy.dWq, &energy.dWxx, &energy.dWqxx},
          m);
}

int RegimModel::ReadRegim_(const CalcTables& tables)
{
    CalcRadial calc;
    calc.setTables(tables);
    calc.CalcUR(nlin, 2, 0, 0);
    return takeRegime(calc);
}

int RegimModel::takeRegime(const CalcRadial& calc)
{
    const int n = calc.m_U.size();
    if (n == 0)
        return 1;

    const int nodes = nodeCount();
    const int branches = branchCount();
    zeros({&regime.U}, nodes);
    for (int i = 0; i < n && i < calc.m_nodeNames.size(); ++i) {
        // Only the first entry is the supply: a row out of service is named
        // "0" too, with no voltage, and must not take the supply's away.
        const QString& name = calc.m_nodeNames.at(i);
        if (i > 0 && name == QLatin1String("0"))
            continue;
        const int node = nodeMap.value(name, -1);
        if (node >= 0)
            regime.U[node] = calc.m_U.at(i);
    }

    cable.fill(0, branches);
    zeros({&shown.S, &regime.P, &regime.Q, &regime.dP, &regime.dQ, &regime.dPxx, &regime.dQxx,
           &regime.I, &regime.Kz, &regime.dU, &energy.W, &energy.Wq, &energy.dW, &energy.dWq,
           &energy.dWxx, &energy.dWqxx},
          branches);
    // The calculation's vectors hold row j at index j; each row's values go
    // to the branch of its key, whatever rows were left out of the flow.
    for (int j = 0; j < calc.m_branchKeys.size(); ++j) {
        const int b = branchMap.value(calc.m_branchKeys.at(j), -1);
        if (b < 0)
            continue;
        regime.I[b] = calc.m_I.value(j);
        regime.Kz[b] = calc.m_Kz.value(j);
        regime.dU[b] = calc.m_dU.value(j);
        regime.P[b] = calc.m_P.value(j);
        regime.Q[b] = calc.m_Q.value(j);
        regime.dP[b] = calc.m_dP.value(j);
        regime.dQ[b] = calc.m_dQ.value(j);
        regime.dPxx[b] = calc.m_Pxx.value(j);
        regime.dQxx[b] = calc.m_Qxx.value(j);
        energy.W[b] = calc.m_W.value(j);
        energy.Wq[b] = calc.m_Wq.value(j);
        energy.dW[b] = calc.m_dW.value(j);
        energy.dWq[b] = calc.m_dWq.value(j);
        energy.dWxx[b] = calc.m_Wxx.value(j);
        energy.dWqxx[b] = calc.m_Wqxx.value(j);
        shown.S[b] = calc.m_rowS.value(j);
        cable[b] = calc.m_rowCable.value(j);
    }
    ChangeVal(Regime::Power);
    return 0;
}

void RegimModel::ChangeVal(int mode)
{
    if (mode == Regime::Power) {
        shown.P = regime.P;
        shown.Q = regime.Q;
        shown.dP = regime.dP;
        shown.dQ = regime.dQ;
        shown.dPxx = regime.dPxx;
        shown.dQxx = regime.dQxx;
    } else if (mode == Regime::Energy) {
        shown.P = energy.W;
        shown.Q = energy.Wq;
        shown.dP = energy.dW;
        shown.dQ = energy.dWq;
        shown.dPxx = energy.dWxx;
        shown.dQxx = energy.dWqxx;
    } else {
        return;
    }
    U = regime.U;
    shown.I = regime.I;
    shown.Kz = regime.Kz;
    shown.dU = regime.dU;
}

Regime::NodeBand RegimModel::nodeBand(int node) const
{
    if (node < 0 || node >= nodeCount())
        return NodeBand::NoValue;
    const double u = U.value(node);
    if (u == 0.0)
        return NodeBand::NoValue;
    const int k = Regime::drawingClass(Unom.value(node));
    if (k >= Regime::kClassCount)
        return NodeBand::Normal;
    const double* t = kLimits[k];
    if (u < t[0])
        return NodeBand::FarBelow;
    if (u < t[1])
        return NodeBand::Below;
    if (u > t[3])
        return NodeBand::FarAbove;
    if (u > t[2])
        return NodeBand::Above;
    return NodeBand::Normal;
}

Regime::BranchBand RegimModel::branchBand(int branch, int lineView, bool transformer) const
{
    if (branch < 0 || branch >= branchCount())
        return BranchBand::NoValue;
    const double dU = shown.dU.value(branch);
    const double dP = shown.dP.value(branch);
    switch (lineView) {
    case 0:
        if (!transformer && podkt.value(branch) == 1)
            return BranchBand::NoValue;
        return band(shown.Kz.value(branch), kLoading);
    case 1:
        return band(dU, transformer ? kTransDrop : kLineDrop);
    case 2:
        if (!transformer)
            return band(dU * dP, kLineLoss);
        if (shown.S.value(branch) == 0.0)
            return BranchBand::NoCapacity;
        return band(20.0 * dP / shown.S.value(branch), kTransLoss);
    default:
        return BranchBand::Undefined;
    }
}

QStringList RegimModel::busText(int node, int mode) const
{
    if (node < 0 || node >= nodeCount())
        return {};
    if (mode == Regime::Scheme)
        return {nodeName.at(node).left(24).trimmed()};
    return {"U=" + fixed(U.value(node), 2)};
}

QStringList RegimModel::lineText(int branch, int mode, const QStringList& params) const
{
    return branchTexts(branch, mode, params, 24, false);
}

QStringList RegimModel::transText(int branch, int mode, const QStringList& params) const
{
    return branchTexts(branch, mode, params, 18, true);
}

int RegimModel::lineTextOffset(int mode, const QStringList& params)
{
    if (mode == Regime::Scheme)
        return 0;
    int offset = 0;
    if (params.contains(QStringLiteral("ITK")))
        offset -= 10;
    if (params.contains(QStringLiteral("DP")))
        offset -= 10;
    return offset;
}

QStringList RegimModel::branchTexts(int b, int mode, const QStringList& params, int nameLength,
                                    bool noLoadLine) const
{
    if (b < 0 || b >= branchCount())
        return {};
    if (mode == Regime::Scheme)
        return {branchName.at(b).left(nameLength).trimmed(), markText.at(b)};

    const bool energies = mode == Regime::Energy;
    const int d2 = energies ? 0 : 2;   // decimals of a power or an energy
    QStringList lines;
    if (params.contains(QStringLiteral("PTK")))
        lines.append((energies ? "W=" : "P=")
                     + complexText(shown.P.value(b), d2, shown.Q.value(b), energies ? 0 : 1));
    if (params.contains(QStringLiteral("ITK")))
        lines.append("Ток=" + fixed(std::fabs(shown.I.value(b)), 0) + " Кз="
                     + fixed(shown.Kz.value(b), 2));
    if (params.contains(QStringLiteral("DP"))) {
        lines.append((energies ? "dW=" : "dP=")
                     + complexText(shown.dP.value(b), d2, shown.dQ.value(b), 0));
        if (noLoadLine)
            lines.append((energies ? "dWxx=" : "dPxx=")
                         + complexText(shown.dPxx.value(b), d2, shown.dQxx.value(b), 0));
    }
    if (params.contains(QStringLiteral("DU")))
        lines.append("Потеря U=" + fixed(shown.dU.value(b), 1));
    return lines;
}

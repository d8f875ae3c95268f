#include "zorvantask.h"

#include "store/numbers.h"

#include <QtGlobal>

namespace {

// Column positions of a section row (attrUchLin).
enum UchCol {
    uNpes, uNres, uNlin, uName, uName1, uNyzln, uNyzlk, uTipEl, uKodEl, uDl, uNotv,
    uPnagr, uQnagr, uWpnagr, uWqnagr, uKbal, uPodkt, uKey
};

quint64 nodePairKey(int a, int b)
{
    if (a > b)
        qSwap(a, b);
    return (quint64(quint32(a)) << 32) | quint64(quint32(b));
}

} // namespace

CalcRadial::CalcRadial()
    : m_showReport(0)
    , m_errorCount(0)
    , m_Unom(110.0)
    , m_Umin(110.0)
    , m_Umax(110.0)
    , m_kZapol(0.5)
    , m_nTotals(16)
    , m_spanBold(QStringLiteral("<span style=\" font-weight:600; \">"))
    , m_cellStart(QStringLiteral("<td align='center'>"))
    , m_headStart(m_cellStart + m_spanBold)
    , m_cellEnd(QStringLiteral("</td>\n"))
{
    m_headCells.clear();
    const char* const heads[14] = {
        "Комментарий", "Нумерация<br>ветви", "Элемент", "Балансовая<br>принад-<br>лежность",
        "Длина/<br>Рабочее<br>ответвление", "Плотность<br>тока/<br>Загрузка<br>РТ",
        "Активная<br>мощность,<br>мВт", "Реак-<br>тивная<br>мощность,<br>мвар",
        "Рабочее<br>напря-<br>жение, кВ", "Падение<br>напряже-<br>ния, %",
        "Потери<br>мощности,<br>кВт", "Потери<br>мощности,<br>квар",
        "Потери<br>энергии,<br>кВтч", "Доля, %"};
    for (const char* head : heads)
        m_headCells.append(m_headStart + QString::fromUtf8(head) + m_cellEnd);
}

CalcRadial::~CalcRadial() = default;

void CalcRadial::setTables(const CalcTables& tables)
{
    m_tables = tables;   // implicitly shared: no copy of the rows
    if (m_tables.sectionsByLine.isEmpty() && !m_tables.sections.isEmpty())
        m_tables.indexSections();
    m_haveTables = true;
}

// ---- line input ----------------------------------------------------------------------

void CalcRadial::VvodLine(const QString& nlin, const Table& sections, const QVector<int>* rows)
{
    m_sectionCount = 0;
    m_secPodkt.clear(); m_secDl.clear(); m_secNyzln.clear(); m_secNyzlk.clear();
    m_secTipEl.clear(); m_secNotv.clear(); m_secKodEl.clear(); m_secName.clear();
    m_secKbal.clear(); m_secKey.clear(); m_secInService.clear();
    m_inDl.clear(); m_inP.clear(); m_inQ.clear(); m_inWp.clear(); m_inWq.clear();
    m_inNyzln.clear(); m_inNyzlk.clear(); m_inTipEl.clear(); m_inNotv.clear();
    m_inKodEl.clear(); m_inName.clear(); m_inKbal.clear(); m_inKey.clear();
    m_inBranch.clear();

    auto take = [&](const QStringList& row) {
        if (row.value(uNpes) != NPES || row.value(uNres) != NRES || row.value(uNlin) != nlin)
            return;
        m_secName.append(row.value(uName));
        m_secNyzln.append(toInteger(row.value(uNyzln)));
        m_secNyzlk.append(toInteger(row.value(uNyzlk)));
        m_secPodkt.append(row.value(uPodkt));
        m_secTipEl.append(toInteger(row.value(uTipEl)));
        m_secDl.append(toNumber(row.value(uDl)));
        m_secKodEl.append(row.value(uKodEl));
        m_secNotv.append(toInteger(row.value(uNotv)));
        m_secKbal.append(row.value(uKbal));
        m_secKey.append(row.value(uKey));
        if (row.value(uPodkt) == QLatin1String("0")) {
            m_secInService.append(m_inDl.size());
            m_inName.append(row.value(uName));
            m_inNyzln.append(toInteger(row.value(uNyzln)));
            m_inNyzlk.append(toInteger(row.value(uNyzlk)));
            m_inNotv.append(toInteger(row.value(uNotv)));
            m_inP.append(toNumber(row.value(uPnagr)));
            m_inQ.append(toNumber(row.value(uQnagr)));
            m_inWp.append(toNumber(row.value(uWpnagr)));
            m_inWq.append(toNumber(row.value(uWqnagr)));
            m_inTipEl.append(toInteger(row.value(uTipEl)));
            m_inDl.append(toNumber(row.value(uDl)));
            m_inKodEl.append(row.value(uKodEl));
            m_inKbal.append(row.value(uKbal));
            m_inKey.append(row.value(uKey));
        } else {
            m_secInService.append(-1);
        }
        ++m_sectionCount;
    };
    if (rows) {
        for (int r : *rows)
            take(sections.at(r));
    } else {
        for (const QStringList& row : sections)
            take(row);
    }
}

// ---- branch parameters ------------------------------------------------------------------

void CalcRadial::ParamBranches(const KatalogLines& wires, const KatalogTrans& trans)
{
    const int n = m_inDl.size();
    m_brR.fill(0.0, n); m_brX.fill(0.0, n); m_brB.fill(0.0, n); m_brIns.fill(0.0, n);
    m_brUrated.fill(0.0, n); m_brRatio.fill(1.0, n);
    m_brBegin.fill(1, n); m_brEnd.fill(1, n); m_brCircuits.fill(1, n);
    m_brTrans.fill(0, n);
    m_branchS.fill(0.0, n); m_branchCable.fill(1, n);
    m_ldP.fill(0.0, n); m_ldQ.fill(0.0, n); m_ldPx.fill(0.0, n); m_ldQx.fill(0.0, n);
    m_ldNode.fill(1, n); m_ldBranch.fill(-1, n);
    m_ldOwner.clear();
    m_brOwner.clear();
    m_branchLabels.clear();
    m_inBranch.fill(-1, n);
    m_Etr = 0.0;

    m_nodeSet.clear();
    for (int r = 0; r < n; ++r) {
        m_nodeSet.insert(m_inNyzln.at(r), 0);
        m_nodeSet.insert(m_inNyzlk.at(r), 0);
    }
    m_nNodes = m_nodeSet.size();
    m_nodeOwner.clear();
    for (int i = 0; i < m_nNodes; ++i)
        m_nodeOwner.append(QStringLiteral("0"));

    const QString zero = QStringLiteral("0");
    // First line-section branch between each pair of nodes, either direction.
    QHash<quint64, int> sectionByPair;
    sectionByPair.reserve(n);

    int b = 0;
    int t = 0;
    for (int r = 0; r < n; ++r) {
        const int begin = m_inNyzln.at(r);
        const int end = m_inNyzlk.at(r);
        const QString label = QString::number(begin) + QStringLiteral(" -") + QString::number(end);
        const QString& mark = m_inKodEl.at(r);
        const QString& kbal = m_inKbal.at(r);

        if (m_inTipEl.at(r) == 2) {
            m_brBegin[b] = begin;
            m_brEnd[b] = end;
            m_branchLabels.append(label);
            m_brOwner.append(pr_Bal != 0 ? zero : kbal);
            m_brUrated[b] = m_Unom;
            m_brTrans[b] = 1;
            double rated = 0.0;
            const auto it = trans.index.constFind(mark);
            if (it == trans.index.constEnd()) {
                m_messages.append("*** задана неверная марка " + mark + " в ветви " + label);
                ++m_errorCount;
                m_brRatio[b] = 1.0;
            } else {
                const int k = it.value();
                rated = trans.S.at(k);
                m_ldPx[t] = trans.Px.at(k);
                m_ldQx[t] = trans.Qx.at(k);
                m_brR[b] = trans.R.at(k);
                m_brX[b] = trans.X.at(k);
                int tap = m_inNotv.at(r);
                if (tap > trans.n_otp.at(k) || tap < -trans.n_otp.at(k))
                    tap = 0;
                if (trans.uvn.at(k) <= 0.0 || trans.unn.at(k) <= 0.0) {
                    m_brRatio[b] = 1.0;
                } else {
                    m_brUrated[b] = trans.uvn.at(k);
                    m_brRatio[b] = trans.unn.at(k) / trans.uvn.at(k)
                        * (1.0 - tap * 0.01 * trans.u_otv.at(k));
                }
            }
            // An unknown type still feeds its load at its own end node.
            m_ldNode[t] = end;
            m_ldBranch[t] = b;
            m_branchS[b] = rated;
            m_ldOwner.append(pr_Bal == 1 ? zero : kbal);
            if (m_method == 1) {
                m_ldP[t] = m_inP.at(r) * pk_Nagr;
                m_ldQ[t] = m_inQ.at(r) * pk_Nagr;
            } else if (m_Tw > 0.0) {
                m_ldP[t] = m_inWp.at(r) / m_Tw * pk_Nagr;
                m_ldQ[t] = m_inWq.at(r) / m_Tw * pk_Nagr;
            }
            // A type without power and resistance marks a flow out of the network.
            if (rated == 0.0 && m_brR.at(b) == 0.0) {
                if (p_tranz == 0) {
                    m_Etr += m_Tw * m_ldP.at(t) * m_kz;
                } else {
                    m_ldP[t] = 0.0;
                    m_ldQ[t] = 0.0;
                }
            }
            ++t;
            m_inBranch[r] = b;
            ++b;
            continue;
        }

        // Line section.
        double R = 0.0, X = 0.0, B = 0.0, S = 0.0, ins = 0.0;
        int cable = 1;
        const auto it = wires.index.constFind(mark);
        if (it == wires.index.constEnd()) {
            m_messages.append("*** задана неверная марка " + mark + " в ветви " + label);
            ++m_errorCount;
        } else {
            const int k = it.value();
            const double dl = m_inDl.at(r);
            const double kx = 1.0 + (m_Unom - 110.0) * 0.074 / 110.0;
            R = dl * wires.R0.at(k) * m_kt;
            X = dl * wires.X0.at(k) * kx;
            B = dl * wires.B0.at(k) * 1e-6 / kx;
            S = wires.S.at(k);
            cable = wires.KL.at(k);
            if (p_Iz == 1 && wires.KL.at(k) == 1) {
                const double perKm = m_Unom < 50.0 ? wires.ins35.at(k)
                                   : m_Unom <= 150.0 ? wires.ins110.at(k) : wires.ins220.at(k);
                ins = dl * perKm;
            }
        }
        // A parallel circuit between the same nodes joins the first such
        // section, its mark known or not (an unknown one brings zero
        // impedance): one branch, one owner, one label.
        const auto pj = sectionByPair.constFind(nodePairKey(begin, end));
        if (pj != sectionByPair.constEnd()) {
            const int j = pj.value();
            m_brR[j] = m_brR.at(j) + R <= 0.0 ? 0.0 : m_brR.at(j) * R / (m_brR.at(j) + R);
            m_brX[j] = m_brX.at(j) + X <= 0.0 ? 0.0 : m_brX.at(j) * X / (m_brX.at(j) + X);
            m_brB[j] += B;
            m_brIns[j] += ins;
            m_brCircuits[j] += 1;
            m_inBranch[r] = j;
            continue;
        }
        m_brBegin[b] = begin;
        m_brEnd[b] = end;
        m_branchLabels.append(label);
        m_brOwner.append(pr_Bal != 0 ? zero : kbal);
        m_brUrated[b] = m_Unom;
        m_brR[b] = R;
        m_brX[b] = X;
        m_brB[b] = B;
        m_brIns[b] = ins;
        m_branchS[b] = S;
        m_branchCable[b] = cable;
        sectionByPair.insert(nodePairKey(begin, end), b);
        m_inBranch[r] = b;
        ++b;
    }
    m_nBranches = b;
    m_nLoads = t;
    for (QVector<double>* v : {&m_brR, &m_brX, &m_brB, &m_brIns, &m_brUrated, &m_brRatio,
                               &m_branchS})
        v->resize(b);
    for (QVector<int>* v : {&m_brBegin, &m_brEnd, &m_brCircuits, &m_branchCable})
        v->resize(b);
    m_brTrans.resize(b);
    for (QVector<double>* v : {&m_ldP, &m_ldQ, &m_ldPx, &m_ldQx})
        v->resize(t);
    m_ldNode.resize(t);
    m_ldBranch.resize(t);
}

// ---- topology ----------------------------------------------------------------------------

int CalcRadial::CheckTopology(bool& error)
{
    error = false;
    const int n = m_nodeSet.size();
    m_nNodes = n;
    m_nodeNum.resize(n);
    {
        int i = 0;
        for (auto it = m_nodeSet.begin(); it != m_nodeSet.end(); ++it, ++i) {
            m_nodeNum[i] = it.key();
            it.value() = i;
        }
    }
    m_nodeParent.fill(0, n);
    m_nodeFeed.fill(0, n);
    m_nodeLevel.fill(-1, n);
    m_nodeDegree.fill(0, n);
    m_nodeFirst.fill(0, n);
    m_brFedNode.fill(-1, m_nBranches);
    m_levelStart.clear();
    m_levelNodes.clear();
    m_levelBound = -1;

    for (QVector<double>* v : {&m_fP, &m_fQ, &m_fdPmax, &m_fdQ, &m_fdW, &m_fdWq, &m_fPxx,
                               &m_fQxx, &m_fWxx, &m_fWqxx, &m_fWins, &m_fW, &m_fWq,
                               &m_nodePx, &m_nodeQx})
        v->fill(0.0, n);

    // Adjacency in node order, each node's entries in branch order.
    QVector<int> beginPos(m_nBranches), endPos(m_nBranches);
    for (int k = 0; k < m_nBranches; ++k) {
        beginPos[k] = m_nodeSet.value(m_brBegin.at(k));
        endPos[k] = m_nodeSet.value(m_brEnd.at(k));
        ++m_nodeDegree[beginPos[k]];
        if (endPos[k] != beginPos[k])
            ++m_nodeDegree[endPos[k]];
    }
    int entries = 0;
    for (int i = 0; i < n; ++i) {
        m_nodeFirst[i] = entries;
        entries += m_nodeDegree[i];
    }
    m_adjNode.fill(0, entries);
    m_adjBranch.fill(0, entries);
    QVector<int> fill = m_nodeFirst;
    for (int k = 0; k < m_nBranches; ++k) {
        const int a = beginPos[k], e = endPos[k];
        m_adjNode[fill[a]] = e;
        m_adjBranch[fill[a]++] = k;
        if (e != a) {
            m_adjNode[fill[e]] = a;
            m_adjBranch[fill[e]++] = k;
        }
    }

    // Levels by breadth from every supply node (number 0 or below).
    QVector<char> used(m_nBranches, 0);
    QVector<int> frontier, next;
    for (int s = 0; s < n && m_nodeNum.at(s) <= 0; ++s) {
        m_nodeLevel[s] = 0;
        frontier = {s};
        int L = 1;
        for (;;) {
            next.clear();
            for (int u : qAsConst(frontier)) {
                const int last = m_nodeFirst.at(u) + m_nodeDegree.at(u);
                for (int a = m_nodeFirst.at(u); a < last; ++a) {
                    const int v = m_adjNode.at(a);
                    const int k = m_adjBranch.at(a);
                    if (m_nodeLevel.at(v) < 0) {
                        m_nodeLevel[v] = L;
                        m_nodeParent[v] = u;
                        m_nodeFeed[v] = k;
                        used[k] = 1;
                        next.append(v);
                    } else if (!used.at(k)) {
                        m_messages.append("*** Ветвь " + m_branchLabels.value(k) + " образует кольцо");
                        ++m_errorCount;
                        error = true;
                        return m_levelBound;
                    }
                }
            }
            if (next.isEmpty())
                break;
            frontier.swap(next);
            ++L;
        }
        // Several supply trees: the deepest decides, so none is cut short.
        m_levelBound = qMax(m_levelBound, L - 1);
    }

    for (int i = 0; i < n; ++i) {
        if (m_nodeLevel.at(i) == -1 && m_nodeNum.at(i) > 0) {
            m_messages.append("*** Узел " + QString::number(m_nodeNum.at(i))
                              + " не связан с питающим узлом ");
            ++m_errorCount;
        }
    }

    // The nodes of each level in node order, found once for every pass.
    const int levels = m_levelBound + 1;
    m_levelStart.fill(0, levels + 1);
    for (int i = 0; i < n; ++i) {
        const int L = m_nodeLevel.at(i);
        if (L >= 0 && L < levels)
            ++m_levelStart[L + 1];
    }
    for (int L = 0; L < levels; ++L)
        m_levelStart[L + 1] += m_levelStart[L];
    m_levelNodes.fill(0, levels > 0 ? m_levelStart[levels] : 0);
    QVector<int> pos = m_levelStart;
    for (int i = 0; i < n; ++i) {
        const int L = m_nodeLevel.at(i);
        if (L >= 0 && L < levels) {
            m_levelNodes[pos[L]++] = i;
            if (L > 0)
                m_brFedNode[m_nodeFeed.at(i)] = i;
        }
    }
    return m_levelBound;
}

#include "zorvantask.h"

#include "store/SaveInfo.h"

#include <QMultiHash>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

const QString kCompany = QStringLiteral("0");

double clamp100(double v)
{
    return v < 0.0 ? 0.0 : (v > 100.0 ? 100.0 : v);
}

bool allFinite(const QVector<double>& values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

} // namespace

// Load flow of one line: a backward sweep of powers and losses from the
// deepest level to the supply, then a forward sweep of voltages, repeated
// until the voltages settle; then the 16 totals.
void CalcRadial::runFlowAndTotals(int mode)
{
    const int n = m_nNodes;
    m_nodeU.fill(m_U0, n);
    m_nodeLoadP.fill(0.0, n);
    m_nodeLoadQ.fill(0.0, n);
    m_nodePx.fill(0.0, n);
    m_nodeQx.fill(0.0, n);
    for (int t = 0; t < m_nLoads; ++t) {
        // The load sits at the downstream end of its transformer, whichever
        // way the row was written.
        const int br = m_ldBranch.at(t);
        int i = br >= 0 ? m_brFedNode.value(br, -1) : -1;
        if (i < 0)
            i = m_nodeSet.value(m_ldNode.at(t), -1);
        if (i < 0)
            continue;
        // Several transformers at one node add up.
        m_nodeLoadP[i] += m_ldP.at(t);
        m_nodeLoadQ[i] += m_ldQ.at(t);
        m_nodePx[i] += m_ldPx.at(t);
        m_nodeQx[i] += m_ldQx.at(t);
        m_nodeOwner[i] = m_ldOwner.at(t);
    }
    double sumPload = 0.0, sumPloadCompany = 0.0;
    for (int i = 0; i < n; ++i) {
        sumPload += m_nodeLoadP.at(i);
        if (m_nodeOwner.at(i) == kCompany)
            sumPloadCompany += m_nodeLoadP.at(i);
    }

    double sdP = 0, sNL = 0, sIns = 0, sdPc = 0, sNLc = 0, sInsc = 0, sdPcTr = 0, sdPcSec = 0;
    m_state = 0;
    m_passes = 0;
    const double Tw = m_Tw;
    for (int pass = 1; pass <= 15; ++pass) {
        m_passes = pass;
        m_fP.fill(0.0, n);
        m_fQ.fill(0.0, n);
        m_fW.fill(0.0, n);
        m_fWq.fill(0.0, n);
        sdP = sNL = sIns = sdPc = sNLc = sInsc = sdPcTr = sdPcSec = 0.0;
        if (m_levelBound < 1)
            break;

        for (int L = m_levelBound; L >= 1; --L) {
            for (int idx = m_levelStart.at(L); idx < m_levelStart.at(L + 1); ++idx) {
                const int i = m_levelNodes.at(idx);
                const int br = m_nodeFeed.at(i);
                const int p = m_nodeParent.at(i);
                const double U = m_nodeU.at(i);
                const double C = m_brB.at(br) * U * U;
                double Ur = U;
                if (m_brRatio.at(br) != 1.0)
                    Ur /= m_brRatio.at(br);
                const double rated = m_brUrated.at(br);
                const double up = rated != 0.0 ? m_nodeU.at(p) / rated : 0.0;
                const double ks = up * up * 0.001;
                const double ins = m_brIns.at(br);

                m_fP[i] += m_nodeLoadP.at(i);
                m_fQ[i] = m_nodeLoadQ.at(i) + m_fQ.at(i) - C / 2.0;
                const double S2 = m_fP.at(i) * m_fP.at(i) + m_fQ.at(i) * m_fQ.at(i);
                const double Ur2 = Ur * Ur;
                const double dP = Ur2 > 0.0 ? m_brR.at(br) * S2 / Ur2 * m_c : 0.0;
                const double dQ = Ur2 > 0.0 ? m_brX.at(br) * S2 / Ur2 : 0.0;

                m_fdPmax[i] = dP * m_kmax;
                m_fdQ[i] = dQ - C;
                m_fPxx[i] = ks * m_nodePx.at(i) * 1000.0;
                m_fQxx[i] = m_nodeQx.at(i) * ks * 1000.0 - C * 1000.0;
                m_fdW[i] = Tw * dP * m_F;
                m_fdWq[i] = Tw * dQ * m_F;
                m_fWxx[i] = Tw * ks * m_nodePx.at(i);        // MWh
                m_fWqxx[i] = Tw * m_fQxx.at(i) / 1000.0;     // Mvarh
                m_fWins[i] = ins * Tw;

                m_fP[i] += m_nodePx.at(i) * ks + dP + ins;
                m_fQ[i] += dQ + ks * m_nodeQx.at(i);
                m_fW[i] += m_fdW.at(i) + m_fWxx.at(i) + m_fWins.at(i)
                         + m_nodeLoadP.at(i) * Tw * m_kz;
                m_fWq[i] += m_fdWq.at(i) + m_fWqxx.at(i) + m_nodeLoadQ.at(i) * Tw * m_kz;
                m_fP[p] += m_fP.at(i);
                m_fQ[p] += m_fQ.at(i) - C / 2.0;
                m_fW[p] += m_fW.at(i);
                m_fWq[p] += m_fWq.at(i);

                const double nl = ks * m_nodePx.at(i);
                if (m_nodeOwner.at(i) == kCompany)
                    sNLc += nl;
                sdP += dP;
                sNL += nl;
                sIns += ins;
                if (m_brOwner.at(br) == kCompany) {
                    sdPc += dP;
                    sInsc += ins;
                    (m_brTrans.at(br) ? sdPcTr : sdPcSec) += dP;
                }
            }
        }

        m_state = 0;
        for (int L = 1; L <= m_levelBound; ++L) {
            for (int idx = m_levelStart.at(L); idx < m_levelStart.at(L + 1); ++idx) {
                const int i = m_levelNodes.at(idx);
                const int br = m_nodeFeed.at(i);
                const double P = m_fP.at(i), Q = m_fQ.at(i);
                const double R = m_brR.at(br), X = m_brX.at(br);
                const double U1 = m_nodeU.at(m_nodeParent.at(i));
                double U2;
                const double dU = U1 > 0.0 ? (P * R + Q * X) / U1 : 0.0;
                if (U1 <= 0.0 || dU >= 0.75 * U1 || m_state == 2) {
                    U2 = m_Unom;
                    m_state = 2;
                } else {
                    const double dU2 = (P * X - Q * R) / U1;
                    U2 = qSqrt((U1 - dU) * (U1 - dU) + dU2 * dU2);
                    if (m_brRatio.at(br) != 1.0)
                        U2 *= m_brRatio.at(br);
                    if (qAbs(U2 - m_nodeU.at(i)) > 0.001 * m_U0)
                        m_state = 1;
                }
                if (pass >= 4 && U2 < 3.0) {
                    U2 = m_Unom;
                    m_state = 2;
                }
                m_nodeU[i] = U2;
            }
        }

        if (m_state == 2) {
            m_messages.append(QStringLiteral(
                "**** Потеря напряжения в фидере превышает 50%. Проверьте данные о нагрузках"));
            ++m_errorCount;
            sdP = sNL = sIns = sdPc = sNLc = sInsc = sdPcTr = sdPcSec = 0.0;
            break;
        }
        if (m_state == 0)
            break;
    }
    if (m_state == 1)
        m_messages.append(QStringLiteral("* Расчет режима не сошелся за 15 итераций"));
    m_sumNlDp = sNL + sdP;

    const double H = TmRas > 0 ? m_Tloss * Tw / (TmRas * 24.0) : 0.0;
    QVector<double> t(16, 0.0);
    t[3] = H * sdPcSec;
    t[4] = H * sdPcTr;
    t[5] = H * sdPc;
    t[6] = Tw * sNLc;
    t[7] = Tw * sInsc;
    t[8] = t[6] + t[7];
    t[9] = t[5] + t[8];
    // Load energies count the mean load: kz is 1 in the mean-load method.
    t[0] = H * sdP + sumPload * m_kz * Tw + (sNL + sIns) * Tw;
    t[1] = Tw * m_kz * sumPloadCompany + t[9] - m_Etr;
    t[2] = m_Etr;
    if (m_Etr == 0.0 && t[1] > t[0])
        t[0] = t[1];
    t[10] = sumPload + sNL + sIns;
    t[11] = 1000.0 * sdPcSec;
    t[12] = 1000.0 * sdPcTr;
    t[13] = 1000.0 * sdPc;
    t[14] = 1000.0 * sNLc;
    t[15] = 1000.0 * (sdPc + sNLc + sInsc);

    // Values no network has (a load of 1e200 MWh, a catalog resistance of
    // 1e300) overflow the flow: such a line gives no figures at all rather
    // than infinite or undefined ones.
    bool finite = allFinite(t) && std::isfinite(m_sumNlDp);
    for (const QVector<double>* v : {&m_nodeU, &m_fP, &m_fQ, &m_fdPmax, &m_fdQ, &m_fdW, &m_fdWq,
                                     &m_fPxx, &m_fQxx, &m_fWxx, &m_fWqxx, &m_fW, &m_fWq})
        finite = finite && allFinite(*v);
    if (!finite) {
        m_messages.append(QStringLiteral(
            "**** Результаты расчета вне допустимых пределов. Проверьте данные о нагрузках и участках линии"));
        ++m_errorCount;
        if (mode != 2)
            m_totals.fill(0.0, m_nTotals);
        return;
    }

    if (mode == 1 || mode == 2)
        branchResults(mode);
    if (p_tranz != 0)
        m_Etr = 0.0;
    if (mode == 2)
        return;
    m_totals = t;
}

// Per-row results: the protocol table, the display vectors and the warnings.
void CalcRadial::branchResults(int mode)
{
    // Windings behind a star point take half the power of the winding that feeds them.
    QMultiHash<int, int> byBegin;
    for (int b = 0; b < m_nBranches; ++b)
        byBegin.insert(m_brBegin.at(b), b);
    for (int b = 0; b < m_nBranches; ++b) {
        if (!m_brTrans.at(b) || !(m_brRatio.at(b) > 0.8 && m_brRatio.at(b) < 1.2))
            continue;
        for (auto it = byBegin.constFind(m_brEnd.at(b)); it != byBegin.constEnd()
             && it.key() == m_brEnd.at(b); ++it) {
            const int j = it.value();
            if (j != b && m_branchS.at(j) == 0.0)
                m_branchS[j] = m_branchS.at(b) * 0.5;
        }
    }

    QStringList rows = m_headCells;
    for (QVector<double>* v : {&m_U, &m_dU, &m_I, &m_Kz, &m_P, &m_Q, &m_dP, &m_dQ, &m_Pxx,
                               &m_Qxx, &m_W, &m_Wq, &m_dW, &m_dWq, &m_Wxx, &m_Wqxx, &m_rowS})
        v->clear();
    m_rowCable.clear();
    m_nodeNames = {QStringLiteral("0")};
    m_U.append(m_U0);
    m_branchKeys = m_secKey.toVector();
    double maxDrop = 0.0;
    double j = 0.0;
    const QString cell = m_cellStart;
    const QString end = m_cellEnd;

    for (int r = 0; r < m_sectionCount; ++r) {
        const bool section = m_secTipEl.at(r) == 1;
        QString row = section ? QStringLiteral("<tr BGCOLOR = '#99CC99'>\n") : QStringLiteral("<tr>\n");
        const bool company = m_secKbal.at(r) == kCompany;
        const bool inService = m_secPodkt.at(r) == kCompany;
        const QString owner = company ? (inService ? QStringLiteral("ЭСО") : QStringLiteral("ЭСО-Отключен"))
                                      : (inService ? QStringLiteral("Абонент") : QStringLiteral("Абонент-Откл."));
        row += cell + m_secName.at(r).toHtmlEscaped() + end;
        row += cell + QString::number(m_secNyzln.at(r)) + " - " + QString::number(m_secNyzlk.at(r)) + end;
        row += cell + m_secKodEl.at(r).toHtmlEscaped() + end;
        row += cell + owner + end;
        row += cell + (section ? QString::number(m_secDl.at(r), 'f', 3) : QString::number(m_secNotv.at(r))) + end;

        const int in = m_secInService.at(r);
        const int br = in >= 0 ? m_inBranch.value(in, -1) : -1;
        const int i = br >= 0 ? m_brFedNode.value(br, -1) : -1;
        if (i < 0) {
            // Out of service or not reached: no values, but the row keeps its key.
            for (int c = 0; c < 9; ++c)
                row += cell + end;
            rows.append(row + QStringLiteral("</tr>\n"));
            m_nodeNames.append(QStringLiteral("0"));
            for (QVector<double>* v : {&m_U, &m_dU, &m_I, &m_Kz, &m_P, &m_Q, &m_dP, &m_dQ, &m_Pxx,
                                       &m_Qxx, &m_W, &m_Wq, &m_dW, &m_dWq, &m_Wxx, &m_Wqxx, &m_rowS})
                v->append(0.0);
            m_rowCable.append(0);
            continue;
        }

        const int p = m_nodeParent.at(i);
        const int nc = qMax(1, m_brCircuits.at(br));
        const double P = m_fP.at(i), Q = m_fQ.at(i);
        const double Smva = qSqrt(P * P + Q * Q);
        double share = 0.0;
        if (m_sumNlDp > 0.0)
            share = shown(qMin(100.0, m_fdPmax.at(i) / m_sumNlDp * 100.0 / nc));
        const double Ui = m_nodeU.at(i);
        const double U = Ui < 0.0 ? 0.0 : Ui;
        const double Up = m_nodeU.at(p);
        const double I = (Ui > 1.0 && Up > 0.0) ? shown(Smva / Up * 577.0 / nc) : 0.0;
        double drop = 0.0, dU = 0.0, loading = 0.0;
        if (!m_brTrans.at(br)) {
            drop = (m_Umax - U) / m_Unom * 100.0;
            dU = (Up - U) / m_Unom * 100.0;
            if (m_branchS.at(br) > 0.0) {
                j = shown(I / m_branchS.at(br));
                loading = 0.4 * j;
                if (j > 3.0)
                    m_messages.append("* Cредняя плотность тока на участке "
                                      + QString::number(m_brBegin.at(br)) + " -"
                                      + QString::number(m_brEnd.at(br)) + " более "
                                      + QString::number(j, 'f', 1) + " A/мм2");
            } else {
                j = 0.0;
            }
        } else {
            dU = shown((Up - U / m_brRatio.at(br)) / m_Unom * 100.0);
            if (m_branchS.at(br) > 0.0)
                loading = shown(Smva / nc / m_branchS.at(br) * m_kmax * 1000.0);
            if (loading > 1.0)
                m_messages.append("* Cредняя расчетная загрузка тр-ра "
                                  + QString::number(m_brBegin.at(br)) + " -"
                                  + QString::number(m_brEnd.at(br)) + " равна "
                                  + QString::number(loading * 100.0, 'f', 1) + "%");
        }
        maxDrop = qMax(maxDrop, drop);
        dU = clamp100(dU);

        row += cell + QString::number(m_brTrans.at(br) ? loading : j, 'f', 2) + end;
        row += cell + QString::number(P / nc, 'f', 2) + end;
        row += cell + QString::number(Q / nc, 'f', 2) + end;
        row += cell + QString::number(U, 'f', 2) + end;
        row += cell + QString::number(dU, 'f', 2) + end;
        row += cell + QString::number(m_fdPmax.at(i) * 1000.0 / nc, 'f', 3) + end;
        row += cell + QString::number(m_fdQ.at(i) * 1000.0 / nc, 'f', 1) + end;
        row += cell + QString::number(m_fdW.at(i) * 1000.0 / nc, 'f', 0) + end;
        row += cell + QString::number(share, 'f', 2) + end;
        rows.append(row + QStringLiteral("</tr>\n"));

        m_U.append(U);
        m_dU.append(dU);
        m_I.append(I);
        m_Kz.append(loading);
        m_P.append(P / nc);
        m_Q.append(Q / nc);
        m_dP.append(m_fdPmax.at(i) * 1000.0 / nc);
        m_dQ.append(m_fdQ.at(i) * 1000.0 / nc);
        m_Pxx.append(m_fPxx.at(i) / nc);
        m_Qxx.append(m_fQxx.at(i) / nc);
        m_W.append(P * m_Tw / nc);
        m_Wq.append(Q * m_Tw / nc);
        m_dW.append(m_fdW.at(i) * 1000.0 / nc);
        m_dWq.append(m_fdWq.at(i) * 1000.0 / nc);
        m_Wxx.append(m_fWxx.at(i) * 1000.0 / nc);
        m_Wqxx.append(m_fWqxx.at(i) * 1000.0 / nc);
        m_nodeNames.append(QString::number(m_nodeNum.at(i)));
        m_rowS.append(m_branchS.at(br));
        m_rowCable.append(m_branchCable.at(br));
    }

    if (m_state == 0 && maxDrop > 50.0)
        m_messages.append("**** Потери напряжения достигают " + QString::number(maxDrop, 'g', 6)
                          + " %. Проверьте информацию о нагрузках");
    m_protocolRows = rows;
    if (mode == 1)
        HtmlBody("Информация по участкам линии " + m_titleName, NamePeriod, rows, 1);
}

void CalcRadial::summaryReport()
{
    const QVector<double>& t = m_totals;
    m_htmlRows = TableHtml();
    m_htmlRows.append("<tr>" + m_cellStart + m_lineTitle.toHtmlEscaped() + m_cellEnd);
    const double d = t.at(0) * 0.01;
    if (d != 0.0) {
        QString first = m_cellStart + QString::number(t.at(0), 'f', 3) + "<br>"
                      + QString::number(t.at(1), 'f', 3);
        if (t.at(2) != 0.0)
            first += "<br>" + QString::number(t.at(2), 'f', 3);
        m_htmlRows.append(first + m_cellEnd);
        for (int k = 3; k <= 9; ++k)
            m_htmlRows.append(m_cellStart + QString::number(t.at(k), 'f', 3) + "<br>"
                              + QString::number(shown(t.at(k) / d), 'f', 2) + " %" + m_cellEnd);
    }
    m_htmlRows.append(QStringLiteral("</tr>"));
    m_htmlRows.append(QStringLiteral("</table>\n"));
    QString caption = "Кз = " + QString::number(m_kZapol, 'f', 2) + ", температура "
                    + QString::number(pT_RES, 'f', 1);
    if (pr_Bal == 1)
        caption += QStringLiteral(", Расчет без учета балансовой принадлежности ");
    if (p_tranz == 1)
        caption += QStringLiteral(", Расчет без учета транзитных перетоков ");
    if (pk_Nagr != 1.0)
        caption += ", Коэффициент коррекции нагрузки " + QString::number(pk_Nagr, 'f', 2);
    m_htmlRows.append("<caption><h3 align = 'left'>" + caption + "</h3></caption>\n");
    HtmlBody("Потери по линии " + m_lineTitle, NamePeriod, m_htmlRows, m_showReport);
}

void CalcRadial::writeErrorLog()
{
    SaveLog(QStringLiteral("Ошибки при расчете потерь.log"), m_messages);
}

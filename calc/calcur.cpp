#include "zorvantask.h"

#include "store/numbers.h"

#include <QtMath>

namespace {

// Column positions of a line row (attrLin).
enum LinCol {
    lNpes, lNres, lNlin, lName, lDnlin, lPodkl, lUnom, lUmax, lUmin, lTgLin, lKzapol, lKfor,
    lKfree, lSost, lVlin, lIndGraf, lVidRas
};

} // namespace

int CalcRadial::CalcUR(QString nlin, int mode, int show, int writeLog)
{
    m_showReport = show;
    m_kt = (pT_RES - 20.0) * 0.004 + 1.0;
    // Without tables handed over the call reads them itself, once for all its lines.
    if (!m_haveTables)
        m_tables = CalcTables::read();
    m_lineKeys.clear();
    // A damaged table never yields a figure; the reader has said why.
    if (m_tables.damaged)
        return 0;
    if (!m_tables.catalogs)
        m_tables.catalogs = std::make_shared<CatalogCache>(m_tables.katLin, m_tables.katTr);

    bool anyLine = false;
    for (const QStringList& line : qAsConst(m_tables.lines)) {
        if (line.value(lNpes) != NPES || line.value(lNres) != NRES || line.value(lNlin) != nlin)
            continue;
        anyLine = true;
        calcLine(line, nlin, mode);
    }

    if (writeLog > 0 && m_messages.size() > 1)
        writeErrorLog();
    // Nothing calculated: no report over empty totals.
    if (mode == 1 && anyLine && m_totals.size() == m_nTotals)
        summaryReport();
    return 0;
}

void CalcRadial::calcLine(const QStringList& line, const QString& nlin, int mode)
{
    m_totals.clear();
    m_lineName = line.value(lName);
    m_lineKeys.append(line.value(lNpes) + "," + line.value(lNres) + "," + line.value(lNlin));
    m_messages.append("--------------------- " + m_lineName + " --------------------- ");

    const double podkl = toNumber(line.value(lPodkl));
    m_Unom = toNumber(line.value(lUnom));
    m_Umax = toNumber(line.value(lUmax));
    m_Umin = toNumber(line.value(lUmin));
    m_kZapol = toNumber(line.value(lKzapol));
    const double kFor = toNumber(line.value(lKfor));
    const QString sost = line.value(lSost);
    const QString indGraf = line.value(lIndGraf);
    m_method = toInteger(line.value(lVidRas));

    double limitMax, limitMin;
    if (m_Unom < 25.0) {
        m_Unom = 35.0;
        limitMax = 31.5;
        limitMin = 24.5;
    } else {
        limitMax = 0.9 * m_Unom;
        limitMin = 0.7 * m_Unom;
    }
    if (m_Umax < limitMax)
        m_Umax = m_Unom;
    if (m_Umin < limitMin)
        m_Umin = m_Unom;

    m_T = TmRas * 24.0;
    if (m_method > 2)
        m_method = 0;
    if (m_method == 1) {
        m_kz = (m_kZapol < 0.01 || m_kZapol > 1.0) ? 0.5 : m_kZapol;
        m_Tloss = (0.667 * m_kz + 0.333) * m_kz * m_T;
        m_kmax = 1.0;
        m_c = 1.03;
        m_U0 = m_Umax;
    } else {
        m_kz = m_kZapol;
        // A factor of 0 (the line dialog allows it) would divide by zero.
        if (m_kz < 0.01) {
            m_kz = 0.5;
            m_messages.append(QStringLiteral("* Коэффициент заполнения графика задан неверно, принят 0.5"));
        }
        m_kmax = 1.0 / (m_kz * m_kz);
        m_c = m_Unom >= 70.0 ? 1.02 : 1.0;
        const double kf2 = 0.333 / m_kz + 0.667;
        // "ind_graf" 1: the user gives the exact form factor squared in "k_for".
        if (indGraf == QLatin1String("1"))
            m_Tloss = qMax(1.0, kFor) * m_T;
        else
            m_Tloss = kf2 * m_T;
        m_U0 = qSqrt(0.7 * m_Umax * m_Umax + 0.3 * m_Umin * m_Umin);
        m_kz = 1.0;
    }
    // Per-node energies follow the totals: loss hours over period hours.
    m_F = m_T > 0.0 ? m_Tloss / m_T : 0.0;

    const auto rows = m_tables.sectionsByLine.constFind(m_lineKeys.last());
    static const QVector<int> none;
    VvodLine(nlin, m_tables.sections,
             rows == m_tables.sectionsByLine.constEnd() ? &none : &rows.value());

    QString name = m_lineName;
    if (sost == QLatin1String("1"))
        name += QStringLiteral(" (Последовательная)");
    m_titleName = name;

    if (podkl >= TmRas) {
        m_messages.append(QStringLiteral("* Линия отключена"));
        m_totals.fill(0.0, m_nTotals);
        m_lineTitle = name + QStringLiteral(" (Отключена)");
        return;
    }
    m_Tw = (TmRas - podkl) * 24.0;
    m_lineTitle = podkl <= 0.0 ? name
        : name + " (Отключена " + QString::number(podkl, 'f', 2) + " дней)";

    ParamBranches(m_tables.catalogs->wires(), m_tables.catalogs->trans(m_Unom));
    bool ring = false;
    CheckTopology(ring);
    if (ring) {
        m_messages.append(QStringLiteral("**** Дана неверная информация об участках линии"));
        m_lineTitle = name + QStringLiteral(" (Неверная информация об участках)");
        if (mode != 2)
            m_totals.fill(0.0, m_nTotals);
        return;
    }

    runFlowAndTotals(mode);
}

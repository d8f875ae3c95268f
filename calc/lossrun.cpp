#include "lossrun.h"

#include "store/SaveInfo.h"
#include "store/arxiv.h"
#include "store/numbers.h"

#include <QHash>

#include <memory>

namespace {

enum LinCol { lNpes, lNres, lNlin, lName, lUnom = 6 };
enum ResCol { rNpes, rNres, rName, rDnres, rIndT, rTemp };

const int kValues = 16;
const QString kSeries = QStringLiteral("(Последовательная)");

QString lineKey(const QStringList& row)
{
    return row.value(lNpes) + QLatin1Char(',') + row.value(lNres) + QLatin1Char(',')
        + row.value(lNlin);
}

// Runs the lines of one RES (NPES/NRES already set) and appends their results.
class LineRunner
{
public:
    LineRunner(const CalcTables& tables, const LossProgress& progress, const LineCalculation& calc)
        : m_progress(progress), m_calc(calc), m_base(tables), m_allLines(tables.lines)
    {
        if (m_base.sectionsByLine.isEmpty() && !m_base.sections.isEmpty())
            m_base.indexSections();
        // The catalogs do not change during the run: converted once, not per line.
        m_base.catalogs = std::make_shared<CatalogCache>(m_base.katLin, m_base.katTr);
        // Each line's calculation gets only the line rows of its own key, so
        // that it never scans the whole "lines" table.
        for (const QStringList& row : tables.lines)
            m_linesByKey[lineKey(row)].append(row);
        m_base.lines.clear();
    }

    // false: the progress callback asked to stop.
    bool run(const QString& npes, const QString& nres, bool keepMessages, LossCollection& out)
    {
        for (const QStringList& row : m_allLines) {
            if (row.value(lNpes) != npes || row.value(lNres) != nres)
                continue;
            const QString nlin = row.value(lNlin);
            const double unom = toNumber(row.value(lUnom));

            auto calc = std::make_unique<CalcRadial>();
            CalcTables own = m_base;
            own.lines = m_linesByKey.value(lineKey(row));
            calc->setTables(own);
            if (m_calc)
                m_calc(*calc, nlin);
            else
                calc->CalcUR(nlin, 0, 0, 0);

            // A failed line still yields its row; missing totals count as 0.
            QVector<double> totals = calc->m_totals;
            totals.resize(kValues);
            out.lineTotals.append(totals);
            out.lineNames.append(calc->m_lineTitle);
            if (keepMessages) {
                out.errorSum += calc->m_errorCount;
                for (const QString& message : qAsConst(calc->m_messages))
                    out.errors.append(message);
            }
            const bool goOn = !m_progress || m_progress(calc->m_lineName);
            out.lineIds.append(lineKey(row));
            out.lineUnom.append(unom);
            if (!goOn)
                return false;
        }
        return true;
    }

private:
    const LossProgress& m_progress;
    const LineCalculation& m_calc;
    CalcTables m_base;
    Table m_allLines;
    QHash<QString, Table> m_linesByKey;
};

void addInto(QVector<double>& sum, const QVector<double>& totals, bool series)
{
    for (int j = 0; j < kValues; ++j) {
        if (j == 0 && series)
            continue;   // energy of a line worked in series is counted at its feeder
        sum[j] += totals.value(j);
    }
}

QStringList resultRow(const QString& id, const QString& name, const QVector<double>& values)
{
    QStringList row{id, name};
    for (int j = 0; j < kValues; ++j)
        row.append(QString::number(shown(values.value(j)), 'f', 3));
    return row;
}

// Class index 0: 35 kV, 1: 110 kV, 2: 220 kV.
int voltageClass(double unom, double upper220)
{
    if (unom < 50.0)
        return 0;
    if (unom > upper220)
        return 2;
    return 1;
}

void appendClassRows(QVector<QStringList>& rows, const QVector<double> classes[3])
{
    static const char* const ids[3] = {"35kV", "110kV", "220kV"};
    static const char* const names[3] = {"Всего по 35 кВ", "Всего по 110 кВ", "Всего по 220 кВ"};
    for (int c = 0; c < 3; ++c) {
        if (classes[c].at(0) != 0.0)
            rows.append(resultRow(QString::fromLatin1(ids[c]), QString::fromUtf8(names[c]), classes[c]));
    }
}

QString flagsCaption(const QString& separator)
{
    QString caption;
    if (pr_Bal == 1)
        caption += separator + QStringLiteral("Расчет без учета балансовой принадлежности ");
    if (p_tranz == 1)
        caption += QStringLiteral(", Расчет без учета транзитных перетоков ");
    if (pk_Nagr != 1.0)
        caption += ", Коэффициент коррекции нагрузки " + QString::number(pk_Nagr, 'f', 2);
    return caption;
}

} // namespace

double resTemperature(const QStringList& resRow)
{
    const double t = resRow.value(rIndT) == QLatin1String("1") ? toNumber(resRow.value(rTemp)) : pT_sr;
    // Rounded as the spin box rounds what it is given.
    return toNumber(QString::number(qBound(-50.0, t, 60.0), 'f', 1));
}

LossCollection runLossRES(const QString& npes, const QString& nres, const CalcTables& tables,
                          const LossProgress& progress, const LineCalculation& calc)
{
    NPES = npes;
    NRES = nres;
    LossCollection out;
    out.refused = tables.damaged;
    if (out.refused)
        return out;
    LineRunner runner(tables, progress, calc);
    runner.run(npes, nres, true, out);
    return out;
}

LossCollection runLossPES(const QString& npes, const Table& resRows, const CalcTables& tables,
                          const LossProgress& progress, const LineCalculation& calc)
{
    NPES = npes;
    LossCollection out;
    out.resBounds.append(0);
    out.refused = tables.damaged;
    if (out.refused)
        return out;
    LineRunner runner(tables, progress, calc);
    for (const QStringList& res : resRows) {
        if (res.value(rNpes) != npes)
            continue;
        NRES = res.value(rNres);
        out.resNames.append(res.value(rName));
        pT_RES = resTemperature(res);
        out.resIds.append(npes + QLatin1Char(',') + NRES);
        const bool goOn = runner.run(npes, NRES, false, out);
        out.resBounds.append(out.lineTotals.size());
        if (!goOn)
            break;
    }
    return out;
}

QVector<QStringList> poteriRowsRES(const LossCollection& run, QVector<double>* total)
{
    QVector<double> sum(kValues, 0.0);
    QVector<double> classes[3] = {sum, sum, sum};
    QVector<QStringList> rows;
    for (int i = 0; i < run.lineTotals.size(); ++i) {
        const bool series = run.lineNames.at(i).contains(kSeries);
        addInto(sum, run.lineTotals.at(i), series);
        addInto(classes[voltageClass(run.lineUnom.at(i), 130.0)], run.lineTotals.at(i), series);
        rows.append(resultRow(run.lineIds.at(i), run.lineNames.at(i), run.lineTotals.at(i)));
    }
    appendClassRows(rows, classes);
    rows.append(resultRow(QStringLiteral("SUM"), QStringLiteral("Всего по РЭС"), sum));
    if (total)
        *total = sum;
    return rows;
}

QVector<QStringList> poteriRowsPES(const LossCollection& run, QVector<double>* total)
{
    QVector<double> sum(kValues, 0.0);
    QVector<double> classes[3] = {sum, sum, sum};
    for (int i = 0; i < run.lineTotals.size(); ++i) {
        const bool series = run.lineNames.at(i).contains(kSeries);
        addInto(sum, run.lineTotals.at(i), series);
        addInto(classes[voltageClass(run.lineUnom.at(i), 132.0)], run.lineTotals.at(i), series);
    }
    QVector<QStringList> rows;
    for (int r = 0; r < run.resNames.size(); ++r) {
        QVector<double> resSum(kValues, 0.0);
        for (int i = run.resBounds.value(r); i < run.resBounds.value(r + 1); ++i) {
            addInto(resSum, run.lineTotals.at(i), run.lineNames.at(i).contains(kSeries));
            rows.append(resultRow(run.lineIds.at(i), run.lineNames.at(i), run.lineTotals.at(i)));
        }
        rows.append(resultRow("B " + run.resIds.at(r), "Всего по " + run.resNames.at(r), resSum));
    }
    appendClassRows(rows, classes);
    rows.append(resultRow(QStringLiteral("SUM"), QStringLiteral("Всего по ПЭС"), sum));
    if (total)
        *total = sum;
    return rows;
}

QString poteriType()
{
    QString type = QStringLiteral("000");
    if (pr_Bal == 1)
        type[0] = QLatin1Char('1');
    if (p_tranz == 1)
        type[1] = QLatin1Char('1');
    if (pk_Nagr != 1.0)
        type[2] = QLatin1Char('1');
    return type;
}

bool stagePoteri(StagedFiles& files, const QString& npes, const QString& nres,
                 const QVector<QStringList>& rows)
{
    ResPoter record;
    record.period = pMec;
    record.year = pYear;
    record.npes = npes;
    record.nres = nres;
    record.type = poteriType();
    record.rows = rows;
    return stageArxivFile(files, ZORVAN_PATH + QStringLiteral("poteri.xml"), {record},
                          QStringLiteral("Ошибка"));
}

QString lossRowStart(const QString& id, QString* cellStart)
{
    const QString plain = QStringLiteral("<td align='center'>");
    const QString bold = plain + QStringLiteral("<span style=\" font-weight:600; \">");
    if (id == QLatin1String("SUM")) {
        *cellStart = bold;
        return QStringLiteral("<tr BGCOLOR = '#99CC99'>\n");
    }
    if (id.contains(QLatin1String("kV"))) {
        *cellStart = plain;
        return QStringLiteral("<tr BGCOLOR = '#DDCC99'>\n");
    }
    if (id.contains(QLatin1Char('B'))) {
        *cellStart = bold;
        return QStringLiteral("<tr BGCOLOR = '#CCEEDD'>\n");
    }
    *cellStart = plain;
    return QStringLiteral("<tr>\n");
}

QStringList lossReportBody(const QVector<QStringList>& rows, const QString& caption)
{
    const QString end = QStringLiteral("</td>\n");

    QStringList lines = TableHtml();
    for (const QStringList& row : rows) {
        QString cell;
        lines.append(lossRowStart(row.value(0), &cell));
        lines.append(cell + row.value(1).toHtmlEscaped() + end);
        QString energy = row.value(2) + "<br>" + row.value(3);
        if (row.value(4) != QLatin1String("0.000"))
            energy += "<br>" + row.value(4);
        lines.append(cell + energy + end);
        const double base = toNumber(row.value(2)) * 0.01;
        // dwpsuml .. dwpall: value and its share of the energy supplied.
        for (int i = 5; i <= 11; ++i) {
            const QString share = base > 0.0
                ? QString::number(shown(toNumber(row.value(i)) / base), 'f', 2) + " %"
                : QStringLiteral(" ");
            lines.append(cell + row.value(i) + "<br>" + share + end);
        }
        lines.append(QStringLiteral("</tr>\n"));
    }
    lines.append(QStringLiteral("</table>\n"));
    lines.append("<caption><h3 align = 'left'>" + caption + "</h3></caption>\n");
    return lines;
}

QString lossCaptionRES(double temperature)
{
    return "Температура " + QString::number(temperature, 'f', 1) + flagsCaption(QStringLiteral(", "));
}

QString lossCaptionPES()
{
    return flagsCaption(QString());
}

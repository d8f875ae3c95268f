#include "netreports.h"

#include "store/SaveInfo.h"
#include "store/numbers.h"

#include <QMap>

namespace {

const QString kBalance = QStringLiteral("<br>В т.ч. на балансе ЭСО");
const QString kBodyStyle = QStringLiteral(
    "<body style = 'font-size:11pt; font-weight:400; font-style:normal; text-decoration:none; "
    "background-color: #FFFFFF'>");

QString lineKey(const QString& npes, const QString& nres, const QString& nlin)
{
    // A separator no code can hold, so "1,2"+"3" never meets "1"+"2,3".
    return npes + QChar(0x1f) + nres + QChar(0x1f) + nlin;
}

// Voltage class of these reports: 0 for 35 kV, 1 for 110 kV, 2 for 220 kV.
int reportClass(const QString& unom)
{
    const double u = toNumber(unom);
    if (u < 50.0)
        return 0;
    return u > 150.0 ? 2 : 1;
}

QString headerCell(int colspan, int rowspan, const QString& text)
{
    QString cell = QStringLiteral("<th");
    if (colspan > 0)
        cell += QStringLiteral(" colspan=\"%1\"").arg(colspan);
    if (rowspan > 0)
        cell += QStringLiteral(" rowspan=\"%1\"").arg(rowspan);
    return cell + ">" + text + "</th>";
}

// The summary table shows a zero as a blank, so that the figures stand out.
QString summaryValue(double value, bool length)
{
    value = shown(value);
    if (value == 0.0)
        return QStringLiteral(" ");
    return length ? QString::number(value, 'f', 3) : QString::number(value, 'g', 6);
}

QString pair(const QVector<double>& row, int all, int bal, int decimals)
{
    return QString::number(shown(row.value(all)), 'f', decimals) + "<br>"
           + QString::number(shown(row.value(bal)), 'f', decimals);
}

// The group rows of one table; the last row is the total row.
void groupRows(QStringList& body, const ValueRows& rows, GroupKind kind, const QString& totalLabel,
               const QString& closer, const QString& rowEnd)
{
    for (int r = 0; r < rows.size(); ++r) {
        const QVector<double>& row = rows.at(r);
        const bool total = r == rows.size() - 1;
        const QString opener = total ? paramBoldOpener() : paramPlainOpener();
        const auto cell = [&](const QString& content) { body << opener + content + closer; };
        body << QStringLiteral("<tr>");
        cell(total ? totalLabel : "Всего" + kBalance);
        cell(QString::number(shown(row.value(0)), 'f', 0));
        if (kind == GroupKind::Transformers) {
            for (int k = 1; k <= 4; ++k)
                cell(pair(row, k, k + 4, 0));
        } else {
            for (int k = 1; k <= 6; ++k)
                cell(pair(row, k, k + 6, k % 2 == 0 ? 3 : 0));
        }
        body << rowEnd;
    }
}

QStringList trHeader()
{
    return {QStringLiteral("<tr><th></th><th>Мощность,<br>кВА</th><th>Всего,<br>штук</th><th>Всего,<br>кВА</th>"),
            QStringLiteral("<th>Отключено,<br>штук</th><th>Отключено,<br>кВА</th></tr>\n")};
}

QStringList linHeader()
{
    return {QStringLiteral("<tr><th></th><th>Сечение,<br>мм2</th><th>Всего<br>участков</th><th>Всего<br>длина, км</th><th>Участков<br>КЛ</th>"),
            QStringLiteral("<th>Длина,<br>КЛ</th><th>Участков<br>ВЛ</th><th>Длина,<br>ВЛ</th></tr>\n")};
}

QString linTableOpen()
{
    return QStringLiteral("<table border='1' bgcolor='#EEFFEE' align='center' width='100%' cellspacing='0' cellpadding ='2'>");
}

} // namespace

QString paramPlainOpener()
{
    return QStringLiteral("<td align='center'>");
}

QString paramBoldOpener()
{
    return paramPlainOpener() + "<span style=\" font-weight:600; \">";
}

QString paramCloser(NetReportKind kind)
{
    return kind == NetReportKind::RES ? QStringLiteral("</span></p>") : QStringLiteral("</span></p>\n");
}

void SumRowHtml(QStringList& body, const QVector<double>& all, const QVector<double>& bal,
                const QString& colour, const QString& label, const QString& opener,
                const QString& closer)
{
    body << "<tr BGCOLOR = '" + colour + "'>";
    body << opener + label + closer;
    for (int k = 0; k < 10; ++k) {
        const bool length = k >= 7;
        body << opener + summaryValue(all.value(k), length) + "<br>"
                    + summaryValue(bal.value(k), length) + closer;
    }
    body << QStringLiteral("</tr>");
}

void MergeRows(ValueRows& rows, int width, GroupKind kind)
{
    QMap<int, QVector<double>> groups;   // ascending by key
    for (const QVector<double>& row : qAsConst(rows)) {
        const int key = clampedInt(row.value(0));
        auto it = groups.find(key);
        if (it == groups.end()) {
            QVector<double> first = row;
            first.resize(width);
            groups.insert(key, first);
            continue;
        }
        for (int v = 1; v < width; ++v)
            (*it)[v] += row.value(v);
    }

    ValueRows merged;
    merged.reserve(groups.size() + 1);
    QVector<double> total(width, 0.0);
    double weighted = 0.0;
    for (const QVector<double>& g : qAsConst(groups)) {
        merged.append(g);
        for (int v = 1; v < width; ++v)
            total[v] += g.at(v);
        weighted += g.at(0) * g.at(1);
    }
    if (total[1] != 0.0)
        total[0] = kind == GroupKind::Transformers ? total[2] / total[1] : weighted / total[1];
    merged.append(total);
    rows = merged;
}

NetSummary::NetSummary()
{
    for (int c = 0; c < 3; ++c) {
        classAll[c].fill(0.0, 10);
        classBal[c].fill(0.0, 10);
    }
    totalAll.fill(0.0, 10);
    totalBal.fill(0.0, 10);
}

void NetSummary::addLine(const QString& name, const QString& unom, const ParamU_Lin* sum)
{
    // A summary that could not be built (no sections table) is a line of zeros.
    const bool full = sum && sum->SumAll.size() == 10 && sum->SumBal.size() == 10;
    const QVector<double> all = full ? sum->SumAll : QVector<double>(10, 0.0);
    const QVector<double> bal = full ? sum->SumBal : QVector<double>(10, 0.0);
    lineNames.append(name);
    lineAll.append(all);
    lineBal.append(bal);
    const int c = reportClass(unom);
    for (int k = 0; k < 10; ++k) {
        totalAll[k] += all.at(k);
        totalBal[k] += bal.at(k);
        classAll[c][k] += all.at(k);
        classBal[c][k] += bal.at(k);
    }
    if (!sum)
        return;
    // The lines' own total rows never enter the group lists.
    trRows += sum->TrRows.mid(0, sum->TrRows.size() - 1);
    linRows += sum->LinRows.mid(0, sum->LinRows.size() - 1);
}

void NetSummary::merge()
{
    MergeRows(trRows, 9, GroupKind::Transformers);
    MergeRows(linRows, 13, GroupKind::Sections);
}

NetReportTables NetReportTables::read()
{
    NetReportTables t;
    t.lines = ReadShablonXML(QStringLiteral("lines"),
                             {QStringLiteral("npes"), QStringLiteral("nres"), QStringLiteral("nlin"),
                              QStringLiteral("name"), QStringLiteral("unom"), QStringLiteral("v_lin")},
                             QStringLiteral("LIN"));
    t.wires = LoadKatalogLines();
    t.trans = LoadKatalogTrans(0.0);
    const Table sections = ReadShablonXML(QStringLiteral("uch_lin"), attrUchLin, QStringLiteral("UCH_LIN"));
    t.sectionsEmpty = sections.isEmpty();
    for (const QStringList& row : sections)
        t.sectionsByLine[lineKey(row.value(0), row.value(1), row.value(2))].append(row);
    return t;
}

std::unique_ptr<ParamU_Lin> NetReportTables::summary(const QString& nlin) const
{
    // Each summary gets only its line's rows: the sections table is read and
    // walked once per report, not once per line.
    if (sectionsEmpty)
        return std::make_unique<ParamU_Lin>(nlin, Table(), wires, trans);   // warns, stays empty
    const auto it = sectionsByLine.constFind(lineKey(NPES, NRES, nlin));
    if (it == sectionsByLine.constEnd())
        return nullptr;
    return std::make_unique<ParamU_Lin>(nlin, it.value(), wires, trans);
}

void addResLines(NetSummary& summary, const NetReportTables& tables)
{
    for (const QStringList& row : tables.lines) {
        if (row.value(0) != NPES || row.value(1) != NRES || row.value(5) != QLatin1String("0"))
            continue;
        const std::unique_ptr<ParamU_Lin> sum = tables.summary(row.value(2));
        summary.addLine(row.value(3), row.value(4), sum.get());
    }
}

QStringList netParamBody(NetReportKind kind, const QString& name, const NetSummary& summary)
{
    const bool pes = kind == NetReportKind::PES;
    const QString closer = paramCloser(kind);
    const QString nl = pes ? QStringLiteral("\n") : QString();
    QStringList body;
    body << QStringLiteral("<caption><h2>Обобщенные характеристики сети</h2></caption>")
         << kBodyStyle
         << QStringLiteral("<table border='1' bgcolor='#DEECFC' align='center' width='100%' cellspacing='0' cellpadding ='2'>")
         << QStringLiteral("<tr>")
         << headerCell(0, 3, QStringLiteral("Название ЦП"))
         << headerCell(2, 2, QStringLiteral("Количество<br>трансформаторов"))
         << headerCell(2, 2, QStringLiteral("Мощность<br>трансформаторов, кВА"))
         << headerCell(3, 2, QStringLiteral("<br>Количество линий, шт"))
         << closer
         << headerCell(3, 2, QStringLiteral("<br>Длина линий, км"))
         << closer
         << QStringLiteral("</tr>")
         << QStringLiteral("<tr></tr>")
         << QStringLiteral("<tr>")
         << QStringLiteral("<th>Всего</th><th>Отключено</th><th>Всего</th><th>Отключено</th>")
         << QStringLiteral("<th>Всего</th><th>ВЛ</th><th>КЛ</th><th>Всего</th><th>ВЛ</th><th>КЛ</th>")
         << (pes ? QStringLiteral("</tr>") : QStringLiteral("</tr>\n"));

    const QString plain = paramPlainOpener();
    for (int i = 0; i < summary.lineNames.size(); ++i)
        SumRowHtml(body, summary.lineAll.at(i), summary.lineBal.at(i), QStringLiteral("#FFFFFF"),
                   summary.lineNames.at(i).toHtmlEscaped() + kBalance, plain, closer);
    static const char* const classNames[3] = {"35", "110", "220"};
    for (int c = 0; c < 3; ++c) {
        // Class rows only where there are transformers.
        if (summary.classAll[c].value(0) > 0.0)
            SumRowHtml(body, summary.classAll[c], summary.classBal[c], QStringLiteral("#DDCC99"),
                       QStringLiteral("Всего по %1 кВ").arg(QLatin1String(classNames[c])) + kBalance,
                       plain, closer);
    }
    SumRowHtml(body, summary.totalAll, summary.totalBal, QStringLiteral("#CCEEDD"),
               "Всего по " + name.toHtmlEscaped() + kBalance, paramBoldOpener(), closer);
    body << QStringLiteral("</table>\n");

    const QString totalLabel = (pes ? QStringLiteral("Всего по ПЭС") : QStringLiteral("Всего по РЭС")) + kBalance;
    body << "<caption><h2 align = 'left'>Количество и мощность трансформаторов с разбивкой по типовым мощностям</h2></caption>" + nl
         << kBodyStyle + nl
         << QStringLiteral("<table border='1' bgcolor='#EEEEEE' align='center' width='100%' cellspacing='0' cellpadding ='2'>\n")
         << trHeader();
    groupRows(body, summary.trRows, GroupKind::Transformers, totalLabel, closer, QStringLiteral("</tr>"));
    body << QStringLiteral("<tr>") << QStringLiteral("</table>\n");

    body << "<caption><h2>Длины участков линий с разбивкой по сечениям, км</h2></caption>" + nl
         << kBodyStyle + nl
         << linTableOpen() + nl
         << linHeader();
    groupRows(body, summary.linRows, GroupKind::Sections, totalLabel, closer,
              pes ? QStringLiteral("</tr>\n") : QStringLiteral("</tr>"));
    body << QStringLiteral("</table>\n");
    return body;
}

QStringList lineParamBody(const ParamU_Lin& sum)
{
    const QString closer = paramCloser(NetReportKind::PES);
    const QString totalLabel = "Всего по линии" + kBalance;
    QStringList body;
    body << QStringLiteral("<caption><h2 align = 'left'>Информация по трансформаторам с разбивкой по мощностям</h2></caption>\n")
         << kBodyStyle + "\n"
         << QStringLiteral("<table border='1' bgcolor='#DEECFC' align='center' width='100%' cellspacing='0' cellpadding ='2'>\n")
         << trHeader();
    groupRows(body, sum.TrRows, GroupKind::Transformers, totalLabel, closer, QStringLiteral("</tr>\n"));
    body << QStringLiteral("</table>\n")
         << QStringLiteral("<caption><h2>Информация по участкам линий с разбивкой по сечениям, км</h2></caption>\n")
         << kBodyStyle + "\n"
         << linTableOpen() + "\n"
         << linHeader();
    groupRows(body, sum.LinRows, GroupKind::Sections, totalLabel, closer, QStringLiteral("</tr>\n"));
    body << QStringLiteral("</table>\n");
    return body;
}

bool ParamRESReport(const QString& resName)
{
    const NetReportTables tables = NetReportTables::read();
    NetSummary summary;
    addResLines(summary, tables);
    summary.merge();
    return HtmlBody("Параметры линий по " + resName, QString(),
                    netParamBody(NetReportKind::RES, resName, summary), 2);
}

bool ParamPESReport(const QString& pesName)
{
    const Table res = ReadShablonXML(QStringLiteral("res"), attrRES, QStringLiteral("RES"));
    const NetReportTables tables = NetReportTables::read();
    NetSummary summary;
    // Lines grouped by RES in the order of the RES table.
    for (const QStringList& row : res) {
        if (row.value(0) != NPES)
            continue;
        NRES = row.value(1);
        addResLines(summary, tables);
    }
    summary.merge();
    return HtmlBody("Параметры линий по " + pesName, QString(),
                    netParamBody(NetReportKind::PES, pesName, summary), 2);
}

bool ParamLineReport(const QString& lineName)
{
    const ParamU_Lin sum(NLIN);
    return HtmlBody("Параметры линии " + lineName, QString(), lineParamBody(sum), 2);
}

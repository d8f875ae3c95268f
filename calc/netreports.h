#pragma once
// Network characteristics reports: the equipment of a line, a RES or a PES
// (transformers by rated power, sections by cross-section, lengths, and the
// part on the network company's balance), built from the line summaries and
// written through HtmlBody. No window here: the dialogs call these.

#include "calc/zorvantask.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

using ValueRows = QVector<QVector<double>>;

enum class GroupKind { Transformers, Sections };
enum class NetReportKind { RES, PES };

// Cell openers and closers of these reports.
QString paramPlainOpener();
QString paramBoldOpener();
QString paramCloser(NetReportKind kind);   // the PES closer ends with a line feed

// One row of the summary table: the label cell and ten two-value cells (the
// whole figure, "<br>", the part on the balance). Counts and powers in 'g' 6,
// lengths in 'f' 3; an exact 0 is written as a blank.
void SumRowHtml(QStringList& body, const QVector<double>& all, const QVector<double>& bal,
                const QString& colour, const QString& label, const QString& opener,
                const QString& closer);

// Merges group rows (width 9 for transformers, 13 for sections) into one row
// per whole-number key of value 0, in ascending key order, and appends the
// total row.
void MergeRows(ValueRows& rows, int width, GroupKind kind);

// What a RES or PES report sums: the lines taken, their totals, the totals
// per voltage class (35, 110, 220 kV) and of the whole, and the merged group
// lists, each ending with its total row.
struct NetSummary
{
    QStringList lineNames;
    ValueRows lineAll, lineBal;
    QVector<double> classAll[3], classBal[3];
    QVector<double> totalAll, totalBal;
    ValueRows trRows, linRows;

    NetSummary();
    // Adds one line; a null or empty summary (no sections of the line, no
    // sections table) counts as a line of zeros.
    void addLine(const QString& name, const QString& unom, const ParamU_Lin* sum);
    void merge();
};

// The tables a report needs, read once per report: the lines (npes, nres,
// nlin, name, unom, v_lin), the sections grouped by line, both catalogs.
struct NetReportTables
{
    Table lines;
    bool sectionsEmpty = true;
    QHash<QString, Table> sectionsByLine;
    LoadKatalogLines wires{Table()};
    LoadKatalogTrans trans{Table(), 0.0};

    static NetReportTables read();
    // The summary of line nlin of the current NPES and NRES; null when the
    // table holds sections but none of this line (a summary of zeros).
    std::unique_ptr<ParamU_Lin> summary(const QString& nlin) const;
};

// Sums the lines of the current NPES and NRES whose "v_lin" is "0".
void addResLines(NetSummary& summary, const NetReportTables& tables);

// Report bodies, handed to HtmlBody in mode 2.
QStringList netParamBody(NetReportKind kind, const QString& name, const NetSummary& summary);
QStringList lineParamBody(const ParamU_Lin& sum);

// The three reports: read the tables, write "Параметры линий по " + name (RES
// of NPES/NRES; PES of NPES, leaving NRES at its last RES) or
// "Параметры линии " + name (line NLIN) and show it. Returns whether written.
bool ParamRESReport(const QString& resName);
bool ParamPESReport(const QString& pesName);
bool ParamLineReport(const QString& lineName);

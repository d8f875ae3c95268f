#pragma once
// The loss run over a RES or a PES: every line calculated in totals mode, the
// results collected, summed into the rows of "poteri.xml" and turned into the
// body of the loss report. No window here: the RES and PES dialogs call these
// functions with a progress callback, and so do the tests and the benchmark.

#include "zorvantask.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class StagedFiles;

// What one run collected, one entry per calculated line in the order of the
// rows of "lines" (the four per-line lists always have equal length).
struct LossCollection
{
    QVector<QVector<double>> lineTotals;  // 16 totals, "lenerp" to "Sumdp"
    QList<QString> lineNames;             // labelled name, e.g. "... (Последовательная)"
    QList<QString> lineIds;               // "npes,nres,nlin" of the line row
    QVector<double> lineUnom;             // "unom" of the line row, kV (0 when not a number)
    // RES run only: the messages of every line and the sum of error counts.
    QList<QString> errors;
    int errorSum = 0;
    // PES run only: one entry per RES row of the PES; the lines of RES r are
    // the entries from resBounds[r] up to resBounds[r + 1].
    QList<QString> resNames;
    QList<QString> resIds;                // "npes,nres"
    QVector<int> resBounds;               // starts with 0
    // The tables were damaged: nothing was calculated, and nothing of this
    // run may be written.
    bool refused = false;
};

// Called after each line with the line's name (for the work window). Return
// false to stop the run (the window that asked is gone).
using LossProgress = std::function<bool(const QString& lineName)>;
// The calculation of one line; empty means CalcUR(nlin, 0, 0, 0).
using LineCalculation = std::function<void(CalcRadial& calc, const QString& nlin)>;

// The air temperature a RES row gives its lines: its "temp" when "ind_t" is
// "1", else pT_sr; in the range of the RES window's spin box (-50 to 60 °C)
// and to its one decimal, so that a run uses what the window shows.
double resTemperature(const QStringList& resRow);

// All lines of RES npes/nres at the temperature pT_RES. NPES and NRES are set
// to npes and nres first: the calculation reads them. Damaged tables are
// refused.
LossCollection runLossRES(const QString& npes, const QString& nres, const CalcTables& tables,
                          const LossProgress& progress = {}, const LineCalculation& calc = {});

// All lines of every RES of PES npes (resRows read with attrRES, in their
// order). NRES and pT_RES follow each RES and keep the last RES's values.
LossCollection runLossPES(const QString& npes, const Table& resRows, const CalcTables& tables,
                          const LossProgress& progress = {}, const LineCalculation& calc = {});

// Rows of the result file (attrArx order, values 'f' 3) and the total sum.
// A line whose labelled name contains "(Последовательная)" keeps its own
// "lenerp" in its row but adds none into any sum. RES: lines, the classes
// 35/110/220 kV (U < 50, U > 130), "SUM". PES: per RES its lines and its
// "B npes,nres" row, then the classes (U < 50, U > 132), "SUM".
QVector<QStringList> poteriRowsRES(const LossCollection& run, QVector<double>* total = nullptr);
QVector<QStringList> poteriRowsPES(const LossCollection& run, QVector<double>* total = nullptr);

// The options of the calculation as the record's "type": "000" with "1" for
// pr_Bal, p_tranz and a load correction other than 1.0.
QString poteriType();

// Stages ZORVAN_PATH + "poteri.xml" into files (safefile.h): one "PoteriEn"
// of the current period for npes/nres holding rows. It lands with the run's
// report and log or not at all. A file that cannot be staged warns ("Ошибка",
// "Невозможно создать файл -" and the path) and returns false.
bool stagePoteri(StagedFiles& files, const QString& npes, const QString& nres,
                 const QVector<QStringList>& rows);

// The start of a loss table row by its id ("SUM", a voltage class "..kV", a
// RES "B ..", else a line) and, in *cellStart, the start of its cells.
QString lossRowStart(const QString& id, QString* cellStart);

// The body of the loss report (header rows of TableHtml, one table row per
// result row, the end of the table and the caption) for HtmlBody mode 1.
QStringList lossReportBody(const QVector<QStringList>& rows, const QString& caption);
// Captions: the RES one starts with its temperature, the PES one names only
// the options.
QString lossCaptionRES(double temperature);
QString lossCaptionPES();

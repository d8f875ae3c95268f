// The saves of the windows that edit rows, each through the store's merge, on
// models of growing size (every line 25 rows: sections, two- and
// three-winding transformers): the scheme editor saving its drawing alone
// (which reads "lines" only) and with a changed row (which rereads and
// rewrites "uch_lin"), the sections editor's save, the merge itself, and
// the monthly input of the RES opened and saved (its node table holds every
// row of the RES, most of them hidden). Reports the time per line (and per
// row) of the model, which must not grow with it.

#include "dialogs/CDlgTblUchLIN.h"
#include "dialogs/CDlgVvodRES.h"
#include "generatedline.h"
#include "scheme/CGraph_DMS.h"
#include "scheme/createsxem.h"
#include "scheme/diagramscene.h"
#include "scheme/uchrow.h"
#include "store/messages.h"
#include "store/rowmerge.h"
#include "store/sxema.h"

#include "windowsmain.h"


#include <QCoreApplication>
#include <QHeaderView>

#include <benchmark/benchmark.h>

namespace {

using namespace benchline;

constexpr int kRowsPerLine = 25;

// Answers every question with Yes and says nothing.
class QuietSink final : public MessageSink
{
public:
    void warning(const QString&, const QString&, QObject*) override {}
    bool question(const QString&, const QString&) override { return false; }
    SaveAnswer askToSave(const QString&, const QString&, QObject*) override { return SaveAnswer::Save; }
    void showFile(const QString&, const QString&) override {}
};

// A model of RES 1,1 with the given number of lines, line 1 drawn.
Table writeModel(int lines)
{
    const Table lineRows = generate(kRowsPerLine, Shape::Transformers);
    Table sections;
    sections.reserve(lines * kRowsPerLine);
    Table lineTable;
    for (int l = 1; l <= lines; ++l) {
        const QString code = QString::number(l);
        lineTable.append({"1", "1", code, "Линия " + code, "", "0", "110", "117", "114", "0.4", "0.72",
                          "1.08", "0.85", "0", "0", "0", "0"});
        for (QStringList row : lineRows) {
            row[uchNlin] = code;
            sections.append(row);
        }
    }
    saveShablonXML("lines", attrLin, "LIN", "net110_LIN", lineTable);
    saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", sections);
    saveShablonXML("kat_lin", {"name"}, "Wire", "net110_WireInfo", Table{{"АС-120/19"}});
    saveShablonXML("res", attrRES, "RES", "net110_RES", Table{{"1", "1", "РЭС", "", "0", "0"}});
    writeSxemaFile({CreateSxem(1, &lineRows)});
    return sections;
}

void perLine(benchmark::State& state, int lines)
{
    state.counters["lines"] = lines;
    state.counters["time_per_line"] =
        benchmark::Counter(lines, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void perRow(benchmark::State& state, int lines)
{
    perLine(state, lines);
    state.counters["rows"] = lines * kRowsPerLine;
    state.counters["time_per_row"] = benchmark::Counter(
        lines * kRowsPerLine, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void schemeSave(benchmark::State& state, bool changeRow)
{
    Workspace workspace;
    QuietSink sink;
    MessageSink* previous = setMessageSink(&sink);
    const int lines = int(state.range(0));
    writeModel(lines);
    auto* editor = new CGraph_DMS;
    int turn = 0;
    for (auto _ : state) {
        if (changeRow) {
            QStringList row = editor->scene()->lineRows().at(0);
            row[uchName] = QStringLiteral("Участок %1").arg(++turn);
            editor->scene()->slot_ParamUCH(row);
        }
        editor->slot_SaveGraph();
    }
    if (editor->hasUnsavedEdits())
        state.SkipWithError("the save did not write");
    delete editor;
    setMessageSink(previous);
    perLine(state, lines);
}

void BM_SchemeSaveDrawingOnly(benchmark::State& state)
{
    schemeSave(state, false);
}

void BM_SchemeSaveWithRows(benchmark::State& state)
{
    schemeSave(state, true);
}

void BM_SectionsEditorSave(benchmark::State& state)
{
    Workspace workspace;
    QuietSink sink;
    MessageSink* previous = setMessageSink(&sink);
    const int lines = int(state.range(0));
    writeModel(lines);
    auto* editor = new CDlgTblUchLIN(nullptr);
    int turn = 0;
    for (auto _ : state) {
        editor->tableWgt->item(0, uchName1)->setText(QString::number(++turn));
        editor->slot_saveVtv();
    }
    if (editor->hasUnsavedEdits())
        state.SkipWithError("the save did not write");
    delete editor;
    setMessageSink(previous);
    perLine(state, lines);
}

// The merge alone: line 1's rows, one cell changed, one row added, into the whole table.
void BM_MergeOwnRows(benchmark::State& state)
{
    const int lines = int(state.range(0));
    Table file;
    const Table lineRows = generate(kRowsPerLine, Shape::Transformers);
    for (int l = 1; l <= lines; ++l) {
        for (QStringList row : lineRows) {
            row[uchNlin] = QString::number(l);
            file.append(row);
        }
    }
    OwnRows own = ownSectionRows();
    own.read = lineRows;
    own.now = lineRows;
    for (int i = 0; i < lineRows.size(); ++i)
        own.origin.append(i);
    own.now[0][uchName] = QStringLiteral("Правка");
    own.now.append(row(0, 999, QStringLiteral("АС-120/19"), kRowsPerLine + 1));
    own.origin.append(-1);
    for (auto _ : state)
        benchmark::DoNotOptimize(mergeOwnRows(file, own));
    perLine(state, lines);
}

// Opening includes showing the window and the events that follow.
void BM_MonthlyInputOpen(benchmark::State& state)
{
    Workspace workspace;
    QuietSink sink;
    MessageSink* previous = setMessageSink(&sink);
    const int lines = int(state.range(0));
    writeModel(lines);
    for (auto _ : state) {
        auto* dialog = new CDlgVvodRES("1", "1", "РЭС");
        dialog->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        delete dialog;
        state.ResumeTiming();
    }
    setMessageSink(previous);
    perRow(state, lines);
}

// One coefficient of a line and one energy of a transformer changed, then
// saved; before each save (untimed) the user sorts the node table by each of
// sortedBy's columns in turn, the other way round each time.
void monthlyInputSave(benchmark::State& state, const QVector<int>& sortedBy)
{
    Workspace workspace;
    QuietSink sink;
    MessageSink* previous = setMessageSink(&sink);
    const int lines = int(state.range(0));
    writeModel(lines);
    auto* dialog = new CDlgVvodRES("1", "1", "РЭС");
    dialog->show();
    QCoreApplication::processEvents();
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const Qt::SortOrder order = turn % 2 ? Qt::AscendingOrder : Qt::DescendingOrder;
        for (int column : sortedBy)
            dialog->tableWgt->horizontalHeader()->setSortIndicator(column, order);
        state.ResumeTiming();
        const QString value = QString::number(++turn);
        dialog->tableLIN->item(0, 10)->setText(value);
        dialog->tableWgt->item(0, 13)->setText(value);
        dialog->slot_saveVtv();
        QCoreApplication::processEvents();
    }
    if (dialog->hasUnsavedEdits())
        state.SkipWithError("the save did not write");
    delete dialog;
    setMessageSink(previous);
    perRow(state, lines);
}

void BM_MonthlyInputSave(benchmark::State& state)
{
    monthlyInputSave(state, {});
}

// Sorted by the node's number, which moves rows, then by "Откл", whose
// texts the save sets on every row.
void BM_MonthlyInputSaveSorted(benchmark::State& state)
{
    monthlyInputSave(state, {6, 16});
}

} // namespace

BENCHMARK(BM_SchemeSaveDrawingOnly)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchemeSaveWithRows)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SectionsEditorSave)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeOwnRows)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthlyInputOpen)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthlyInputSave)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthlyInputSaveSorted)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);

ZORVAN_BENCHMARK_WITH_WINDOWS_MAIN()

// The loss run over a generated PES of growing size, side by side with one
// parse of its "uch_lin.xml". The run reads the four tables once, calculates
// every line, sums the results, writes "poteri.xml" and the report: it must
// grow with the number of lines and stay within a few parses of the sections.

#include "calc/lossrun.h"
#include "store/SaveInfo.h"
#include "store/safefile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

const int kResCount = 4;

QStringList sectionRow(const QString& nres, const QString& nlin, int from, int to, bool transformer,
                       int key)
{
    // attrUchLin order; transformers carry a monthly load (MWh, Mvarh)
    return {"1", nres, nlin, QString("Участок %1-%2").arg(from).arg(to), "", QString::number(from),
            QString::number(to), transformer ? "2" : "1",
            transformer ? "ТМН-6300/110" : (key % 2 ? "АС-150/24" : "АС-120/19"),
            transformer ? "0" : "1.250", "0", "0", "0", transformer ? "1800" : "0",
            transformer ? "900" : "0", key % 7 == 0 ? "1" : "0", "0", QString::number(key)};
}

// A PES of four RES sharing the lines out; each line has 20 to 40 rows, a
// tree whose every fourth row is a transformer hanging off a section node.
struct GeneratedPes
{
    QTemporaryDir dir;
    Table res;
    int rows = 0;

    explicit GeneratedPes(int lines)
    {
        ZORVAN_PATH = dir.path() + "/";
        Table lineRows, sections;
        for (int r = 1; r <= kResCount; ++r)
            res.append({"1", QString::number(r), QString("РЭС %1").arg(r), "", "0", "0"});
        for (int l = 0; l < lines; ++l) {
            const QString nres = QString::number(l % kResCount + 1);
            const QString nlin = QString::number(l / kResCount + 1);
            lineRows.append({"1", nres, nlin, "Линия " + nlin, "", "0", l % 3 ? "110" : "35",
                             l % 3 ? "115" : "36", l % 3 ? "112" : "35.5", "0.4", "0.6", "1", "0",
                             l % 11 == 5 ? "1" : "0", "0", "0", "0"});
            const int count = 20 + l % 21;
            QVector<int> hubs = {0};
            for (int k = 0; k < count; ++k) {
                const bool transformer = k % 4 == 3;
                const int to = k + 1;
                sections.append(sectionRow(nres, nlin, hubs.at(k / 3), to, transformer, k + 1));
                if (!transformer)
                    hubs.append(to);
            }
            rows += count;
        }
        const Table katLin = {{"АС-150/24", "150", "0", "0.198", "0.42", "2.7", "450", "1"},
                              {"АС-120/19", "120", "0", "0.249", "0.427", "2.66", "390", "1"}};
        const Table katTr = {{"ТМН-6300/110", "110", "6300", "14.7", "220", "10", "50", "1.78", "9", "115", "11"},
                             {"ТМН-6300/35", "35", "6300", "1.4", "14.6", "8", "48", "1.5", "6", "35", "11"}};
        saveShablonXMLAllowEmpty("lines", attrLin, "LIN", "net110_LIN", lineRows);
        saveShablonXMLAllowEmpty("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", sections);
        saveShablonXMLAllowEmpty("kat_lin", attrL, "Wire", "net110_WireInfo", katLin);
        saveShablonXMLAllowEmpty("kat_tr", attrTR, "Trans", "net10_TransInfo", katTr);
    }
};

GeneratedPes& network(int lines)
{
    static std::map<int, std::unique_ptr<GeneratedPes>> cache;
    auto& slot = cache[lines];
    if (!slot)
        slot = std::make_unique<GeneratedPes>(lines);
    ZORVAN_PATH = slot->dir.path() + "/";
    return *slot;
}

void setCounters(benchmark::State& state, int lines, int rows)
{
    using benchmark::Counter;
    state.counters["lines"] = lines;
    state.counters["rows"] = rows;
    state.counters["time_per_line"] =
        Counter(lines, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["time_per_row"] =
        Counter(rows, Counter::kIsIterationInvariantRate | Counter::kInvert);
}

void BM_PesRun(benchmark::State& state)
{
    const int lines = int(state.range(0));
    GeneratedPes& pes = network(lines);
    NPES = "1";
    TmRas = 30;
    pT_sr = 20.0;
    pk_Nagr = 1.0;
    pMec = "1";
    pYear = "2026";
    int collected = 0;
    for (auto _ : state) {
        const CalcTables tables = CalcTables::read();
        const LossCollection run = runLossPES("1", pes.res, tables);
        const QVector<QStringList> rows = poteriRowsPES(run);
        StagedFiles files;
        stagePoteri(files, "1", "0", rows);
        stageHtmlBody(files, "Потери в сети 3-20 кВ ПЭС", NamePeriod, lossReportBody(rows, lossCaptionPES()), 1);
        commitStaged(files);
        collected = run.lineTotals.size();
    }
    if (collected != lines)
        state.SkipWithError("not every line was calculated");
    setCounters(state, lines, pes.rows);
}

void BM_ParseUchLin(benchmark::State& state)
{
    const int lines = int(state.range(0));
    GeneratedPes& pes = network(lines);
    for (auto _ : state) {
        const Table sections = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
        benchmark::DoNotOptimize(sections.constData());
    }
    setCounters(state, lines, pes.rows);
}

} // namespace

BENCHMARK(BM_PesRun)->Arg(10)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseUchLin)->Arg(10)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

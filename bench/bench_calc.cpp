// Load flow of one generated line of growing size, as a deep chain and as a
// bushy tree. Reports the time per row and per row and pass: a pass must cost
// time in proportion to the rows, however deep the line is.

#include "calc/zorvantask.h"

#include <benchmark/benchmark.h>

namespace {

QStringList row(int from, int to, bool transformer, int key)
{
    // attrUchLin order
    return {"1", "1", "1", QString("Участок %1-%2").arg(from).arg(to), "", QString::number(from),
            QString::number(to), transformer ? "2" : "1", transformer ? "ТМН-1000/110" : "АС-150/24",
            transformer ? "0" : "0.010", "0", "0", "0", transformer ? "7.2" : "0",
            transformer ? "3.6" : "0", "0", "0", QString::number(key)};
}

// Every fifth row is a transformer hanging off the network with a small load
// (10 kW mean); the others are 10 m of AC-150 between the nodes.
CalcTables generate(int rows, bool chain)
{
    CalcTables t;
    t.lines.append({"1", "1", "1", "Линия", "", "0", "110", "115", "112", "0.4", "0.5", "1", "0",
                    "0", "0", "0", "0"});
    t.katLin.append({"АС-150/24", "150", "0", "0.198", "0.42", "2.7", "450", "1"});
    t.katTr.append({"ТМН-1000/110", "110", "1000", "100", "1000", "2", "10", "1.5", "9", "115", "11"});
    // A chain hangs each row on the end of the previous section; a tree
    // gives every section node four rows below it.
    QVector<int> hubs = {0};
    int nextNode = 1;
    for (int r = 0; r < rows; ++r) {
        const bool transformer = r % 5 == 4;
        const int from = chain ? hubs.last() : hubs.at(r / 4);
        const int to = nextNode++;
        t.sections.append(row(from, to, transformer, r + 1));
        if (!transformer)
            hubs.append(to);
    }
    t.indexSections();
    return t;
}

void runLine(benchmark::State& state, bool chain)
{
    NPES = "1";
    NRES = "1";
    TmRas = 30;
    pT_RES = 20.0;
    pk_Nagr = 1.0;
    const int rows = int(state.range(0));
    const CalcTables tables = generate(rows, chain);
    int passes = 0;
    int errors = 0;
    for (auto _ : state) {
        CalcRadial calc;
        calc.setTables(tables);
        calc.CalcUR("1", 0, 0, 0);
        passes = calc.m_passes;
        errors = calc.m_errorCount;
        benchmark::DoNotOptimize(calc.m_totals.data());
    }
    state.counters["rows"] = rows;
    state.counters["passes"] = passes;
    state.counters["errors"] = errors;
    state.counters["time_per_row"] =
        benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["time_per_row_pass"] =
        benchmark::Counter(double(rows) * qMax(1, passes),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_DeepChain(benchmark::State& state)
{
    runLine(state, true);
}

void BM_BushyTree(benchmark::State& state)
{
    runLine(state, false);
}

} // namespace

BENCHMARK(BM_DeepChain)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BushyTree)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

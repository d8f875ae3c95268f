// Automatic scheme layout of generated lines of growing size: a deep chain,
// a bushy tree, a comb (a main chain with a one-node branch at every level),
// a tree with transformers on every third node, and the update of a saved
// scheme of the same size. Reports the time per row, which must not grow
// with the size of the line.

#include "generatedline.h"
#include "scheme/createsxem.h"
#include "store/sxema.h"

#include <benchmark/benchmark.h>

namespace {

using namespace benchline;

void layout(benchmark::State& state, Shape shape, int mode)
{
    Workspace workspace;
    const int rows = int(state.range(0));
    const Table table = generate(rows, shape);
    if (mode == 2)
        writeSxemaFile({CreateSxem(1, &table)});
    int nodes = 0;
    for (auto _ : state) {
        const CreateSxem s(mode, &table);
        nodes = s.nodes.size();
        benchmark::DoNotOptimize(s.lines.data());
    }
    state.counters["rows"] = rows;
    state.counters["nodes"] = nodes;
    state.counters["time_per_row"] =
        benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Chain(benchmark::State& state) { layout(state, Shape::Chain, 1); }
void BM_BushyTree(benchmark::State& state) { layout(state, Shape::Tree, 1); }
void BM_Comb(benchmark::State& state) { layout(state, Shape::Comb, 1); }
void BM_Transformers(benchmark::State& state) { layout(state, Shape::Transformers, 1); }
void BM_UpdateSaved(benchmark::State& state) { layout(state, Shape::Transformers, 2); }

} // namespace

BENCHMARK(BM_Chain)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BushyTree)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Comb)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Transformers)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateSaved)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

// The check of a line's sections on generated lines of growing size: a deep
// chain, a star of sections around one node and a tree of four sections below
// each node. Reports the time per section: the check runs on every save of
// the sections editor and must cost time in proportion to the sections,
// whatever the shape of the line.

#include "dialogs/checkuchlin.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

enum class Shape { Chain, Star, Tree };

// Section r feeds node r + 1 from its parent; the first leaves the supply
// node 0. Sections ending where nothing goes on are transformers, so that a
// clean line gives no message at all.
Table generate(int sections, Shape shape)
{
    std::vector<int> parent(sections + 1, 0);
    std::vector<bool> feeds(sections + 1, false);
    for (int node = 2; node <= sections; ++node) {
        parent[node] = shape == Shape::Chain ? node - 1 : shape == Shape::Star ? 1 : (node + 2) / 4;
        feeds[parent[node]] = true;
    }
    Table rows;
    rows.reserve(sections);
    for (int node = 1; node <= sections; ++node) {
        QStringList row = QVector<QString>(attrUchLin.size(), QStringLiteral("0")).toList();
        row[5] = QString::number(parent[node]);
        row[6] = QString::number(node);
        row[7] = feeds[node] ? QStringLiteral("1") : QStringLiteral("2");
        row[17] = QString::number(node);
        rows.append(row);
    }
    return rows;
}

void runCheck(benchmark::State& state, Shape shape)
{
    const int sections = int(state.range(0));
    const Table rows = generate(sections, shape);
    int messages = 0;
    for (auto _ : state) {
        const QStringList lines = checkLineSections(rows);
        messages = lines.size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["sections"] = sections;
    state.counters["messages"] = messages;
    state.counters["time_per_section"] =
        benchmark::Counter(sections, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_CheckChain(benchmark::State& state)
{
    runCheck(state, Shape::Chain);
}

void BM_CheckStar(benchmark::State& state)
{
    runCheck(state, Shape::Star);
}

void BM_CheckTree(benchmark::State& state)
{
    runCheck(state, Shape::Tree);
}

} // namespace

BENCHMARK(BM_CheckChain)->Arg(10)->Arg(100)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(8000)->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckStar)->Arg(10)->Arg(100)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(8000)->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckTree)->Arg(10)->Arg(100)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(8000)->Arg(10000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

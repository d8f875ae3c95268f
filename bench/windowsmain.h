#pragma once
// main() of a benchmark that builds windows or a scene: an offscreen
// application object around the benchmarks.

#include <QApplication>

#include <benchmark/benchmark.h>

#define ZORVAN_BENCHMARK_WITH_WINDOWS_MAIN()                      \
    int main(int argc, char** argv)                               \
    {                                                             \
        qputenv("QT_QPA_PLATFORM", "offscreen");                  \
        QApplication app(argc, argv);                             \
        benchmark::Initialize(&argc, argv);                       \
        if (benchmark::ReportUnrecognizedArguments(argc, argv))   \
            return 1;                                             \
        benchmark::RunSpecifiedBenchmarks();                      \
        return 0;                                                 \
    }

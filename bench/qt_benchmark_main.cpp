// main() of the console benchmarks: the Qt event machinery they need, and a
// clear message instead of an abort when a benchmark's setup fails (a store
// error while building the journal, for example).
#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}

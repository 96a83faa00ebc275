#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <utility>

namespace permora::bench {

// A row of the summary table: the benchmark's name, what it is judged against, and how.
struct Figure {
    std::string benchmark;   // name as registered
    std::string operation;   // what the table calls it
    double limitSeconds = 0; // 0: no absolute limit
    std::string anchor;      // benchmark measured in the same run, or empty
    double maxRatio = 0;     // limit of median / anchor median
};

void AddFigure(Figure figure);
// A measured value that is not a time (peak memory): value, limit, unit, and how the limit
// is set when that is not plain.
void AddMeasure(std::string operation, double value, double limit, std::string unit,
                std::string figure = "");

// Benchmarks that run at each template size of the run: 100,000 targets, and with --large
// 1,000,000 as well. A registrar registers its benchmarks and figures for one size.
using SizedRegistrar = void (*)(int targets);
bool AddSizedBenchmarks(SizedRegistrar registrar);

// The benchmark name and table text of a row at a size: unchanged at 100,000; at 1,000,000
// the name gains "_1M" and the text begins with "1,000,000 targets: ".
std::string SizedName(const std::string& name, int targets);
std::string SizedOperation(const std::string& operation, int targets);

// How many times a benchmark runs: 5, or 3 for rows that take over a second.
inline int RunsOf(bool overASecond) {
    return overASecond ? 3 : 5;
}
void NoteBenchmark(const std::string& name, int runs);

// Registers a benchmark that measures real time over `iterations` iterations. bench_main runs
// it once at a time, `RunsOf(overASecond)` times: alone for a row without an anchor, and for a
// row with one in pairs with its anchor, one after the other, so that load which comes and goes
// on the machine falls on both of a pair.
template <class Fn, class... Args>
void AddBenchmark(const std::string& name, bool overASecond, int iterations, Fn&& fn,
                  Args&&... args) {
    benchmark::RegisterBenchmark(name.c_str(), std::forward<Fn>(fn), std::forward<Args>(args)...)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(iterations)
        ->Repetitions(1);
    NoteBenchmark(name, RunsOf(overASecond));
}

} // namespace permora::bench

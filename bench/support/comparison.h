#pragma once

// A measured piece of work against a baseline run in the same iterations,
// so that both see the same machine load: the benchmark reports both times,
// their ratio, and the peak resident memory added since it started.

#include "support/peak_memory.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <string>

namespace pln::bench {

// Wall and processor seconds: on a shared machine the processor time is the
// fairer measure of the work done.
struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();

    double wallSeconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    }
    double cpuSeconds() const { return static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC; }
};

class Comparison {
public:
    Comparison(std::string measured, std::string baseline)
        : measured_(std::move(measured)), baseline_(std::move(baseline)) {}

    // Returns the wall time, for benchmarks that time iterations by hand.
    double addMeasured(const Stopwatch& watch) {
        const double wall = watch.wallSeconds();
        measuredWall_ += wall;
        measuredCpu_ += watch.cpuSeconds();
        return wall;
    }
    void addBaseline(const Stopwatch& watch) {
        baselineWall_ += watch.wallSeconds();
        baselineCpu_ += watch.cpuSeconds();
    }

    void report(benchmark::State& state, const PeakMemory& memory) const {
        report(state, memory.addedMegabytes());
    }
    void report(benchmark::State& state, double peakMegabytes) const {
        const double iterations = static_cast<double>(state.iterations());
        state.counters[measured_ + "_ms"] = measuredWall_ * 1000 / iterations;
        state.counters[baseline_ + "_ms"] = baselineWall_ * 1000 / iterations;
        state.counters["ratio"] = measuredWall_ / baselineWall_;
        state.counters["cpu_ratio"] = measuredCpu_ / baselineCpu_;
        state.counters["peak_MB"] = peakMegabytes;
    }

private:
    std::string measured_;
    std::string baseline_;
    double measuredWall_ = 0, measuredCpu_ = 0;
    double baselineWall_ = 0, baselineCpu_ = 0;
};

} // namespace pln::bench

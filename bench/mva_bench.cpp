// Exact MVA, whole solve (parsing, arrays and their allocation, visit
// ratios, recursion, result tables) against the bare loop of the same
// recursion on the same network. Each solve reports `bare_ratio`: its mean
// time over the best time of the bare loop, measured just before it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "bench/bare_mva.h"
#include "bench/bench_support.h"
#include "bench/network_generator.h"
#include "solver/core/method_table.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsOf(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double bestBareSeconds(int stations, const std::vector<int>& population, int tries) {
    const kolt::bench::BareNetwork net = kolt::bench::bareRingBenchmark(stations, population);
    double best = 1e300;
    for (int i = 0; i < tries; ++i) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(kolt::bench::bareExactMva(net));
        best = std::min(best, secondsOf(Clock::now() - start));
    }
    return best;
}

void solveRing(benchmark::State& state, int stations, const std::vector<int>& population, int bareTries) {
    const std::string text = kolt::bench::ringBenchmarkNetwork(stations, population);
    const double bare = bestBareSeconds(stations, population, bareTries);
    double total = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!kolt::bench::solveText(text, kolt::kMva)) state.SkipWithError("the solve failed");
        total += secondsOf(Clock::now() - start);
    }
    state.counters["bare_s"] = bare;
    state.counters["bare_ratio"] = total / static_cast<double>(state.iterations()) / bare;
}

void BM_ExactMva_1x1000_10Stations(benchmark::State& s) { solveRing(s, 10, {1000}, 20); }
void BM_ExactMva_3x30_10Stations(benchmark::State& s) { solveRing(s, 10, {30, 30, 30}, 10); }
void BM_ExactMva_3x20_40_60_10Stations(benchmark::State& s) { solveRing(s, 10, {20, 40, 60}, 5); }
void BM_ExactMva_4x50_10Stations(benchmark::State& s) { solveRing(s, 10, {50, 50, 50, 50}, 2); }
void BM_ExactMva_5x8_20Stations(benchmark::State& s) { solveRing(s, 20, {8, 8, 8, 8, 8}, 3); }
void BM_ExactMva_4x100_10Stations(benchmark::State& s) { solveRing(s, 10, {100, 100, 100, 100}, 1); }

BENCHMARK(BM_ExactMva_1x1000_10Stations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExactMva_3x30_10Stations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExactMva_3x20_40_60_10Stations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExactMva_4x50_10Stations)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ExactMva_5x8_20Stations)->Unit(benchmark::kMillisecond);
// About a minute per run: left out unless asked for by --benchmark_filter.
BENCHMARK(BM_ExactMva_4x100_10Stations)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Name("LONG_ExactMva_4x100_10Stations");

}  // namespace

BENCHMARK_MAIN();

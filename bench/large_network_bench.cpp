// Large sparse networks, whole solve: up to 10,000 stations with a few random
// transitions each to stations within 50 of it (second argument 50), and
// 10,000 with transitions to stations anywhere (0), whose LU would fill in
// and which take the iterative solve; one class, under JACKSON, DIFF and
// MVA; and the syntax
// analysis alone of a file of many stations (throughput in bytes per second).
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "bench/network_generator.h"
#include "solver/core/method_table.h"

namespace {

using kolt::bench::NetworkFamily;

std::string network(NetworkFamily family, int stations, int reach) {
    kolt::bench::NetworkShape shape;
    shape.family = family;
    shape.stations = stations;
    shape.population = {20};
    shape.fanOut = 3;
    shape.reach = reach;  // random transitions to stations this far at most; 0: anywhere
    return kolt::bench::generateNetwork(shape);
}

void solve(benchmark::State& state, NetworkFamily family, int method) {
    const std::string text = network(family, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state)
        if (!kolt::bench::solveText(text, method)) state.SkipWithError("the solve failed");
}

void BM_Jackson(benchmark::State& s) { solve(s, NetworkFamily::Jackson, kolt::kJackson); }
void BM_Diffusion(benchmark::State& s) { solve(s, NetworkFamily::Diffusion, kolt::kDiff); }
void BM_ExactMvaOneClass(benchmark::State& s) { solve(s, NetworkFamily::ExactMva, kolt::kMva); }
void largeNetworks(benchmark::internal::Benchmark* b) {
    b->Args({400, 50})->Args({2000, 50})->Args({10000, 50})->Args({10000, 0})->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_Jackson)->Apply(largeNetworks);
BENCHMARK(BM_Diffusion)->Apply(largeNetworks);
BENCHMARK(BM_ExactMvaOneClass)->Apply(largeNetworks);

void BM_SyntaxAnalysis(benchmark::State& state) {
    kolt::bench::NetworkShape shape;
    shape.family = NetworkFamily::Diffusion;
    shape.stations = static_cast<int>(state.range(0));
    shape.comments = true;
    const std::string text = kolt::bench::generateNetwork(shape);
    for (auto _ : state)
        if (!kolt::bench::parseText(text)) state.SkipWithError("the syntax analysis failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_SyntaxAnalysis)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

// Large sparse networks, whole solve: 10,000 stations with a few random
// transitions each to stations within 50 of it, one class, under JACKSON,
// DIFF and MVA; and the syntax
// analysis alone of a file of many stations (throughput in bytes per second).
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "bench/network_generator.h"
#include "solver/core/method_table.h"

namespace {

using kolt::bench::NetworkFamily;

std::string network(NetworkFamily family, int stations) {
    kolt::bench::NetworkShape shape;
    shape.family = family;
    shape.stations = stations;
    shape.population = {20};
    shape.fanOut = 3;
    shape.reach = 50;  // random transitions to stations nearby (see the README on fill-in)
    return kolt::bench::generateNetwork(shape);
}

void solve(benchmark::State& state, NetworkFamily family, int method) {
    const std::string text = network(family, static_cast<int>(state.range(0)));
    for (auto _ : state)
        if (!kolt::bench::solveText(text, method)) state.SkipWithError("the solve failed");
}

void BM_Jackson(benchmark::State& s) { solve(s, NetworkFamily::Jackson, kolt::kJackson); }
void BM_Diffusion(benchmark::State& s) { solve(s, NetworkFamily::Diffusion, kolt::kDiff); }
void BM_ExactMvaOneClass(benchmark::State& s) { solve(s, NetworkFamily::ExactMva, kolt::kMva); }
BENCHMARK(BM_Jackson)->Arg(400)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Diffusion)->Arg(400)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExactMvaOneClass)->Arg(400)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

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

// Exact MVA cost per population vector over a few network sizes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "solver/methods/methods.h"

namespace {

// A closed network of M stations visited in a cycle by every class, station
// 1 a delay station, the others FIFO and PS in turn; arrays in the driver's
// layout.
struct Network {
    int M, R;
    std::int64_t L;
    std::vector<int> K, TYPE, SR, SN, INDEX;
    std::vector<double> TAU, THETA, W, N, LAMBDA, ADP;
    std::int64_t vectors = 1;

    Network(int stations, std::vector<int> population) : M(stations), R(static_cast<int>(population.size())) {
        K = population;
        TYPE.assign(M, 1);
        TYPE[0] = 4;
        for (int m = 2; m < M; m += 2) TYPE[m] = 2;
        SR.assign(R * M, 1);
        SN.assign(R, M);
        TAU.resize(R * M);
        for (int m = 0; m < M; ++m)
            for (int r = 0; r < R; ++r) TAU[m * R + r] = 0.05 + 0.01 * ((m + 3 * r) % 7);
        L = M;
        for (int k : K) {
            L *= k + 1;
            vectors *= k + 1;
        }
        L = std::max<std::int64_t>(L, static_cast<std::int64_t>(R + 1) * (M + 1) * (M + 1));
        THETA.resize(R * M);
        W.resize(R * M);
        N.resize(M);
        LAMBDA.resize(R);
        INDEX.resize(R + 1);
    }

    // The routing blocks are consumed by each run: rebuild them.
    void loadRouting() {
        ADP.assign(L, 0.0);
        INDEX[0] = 1;
        const int n = M + 1;
        for (int r = 0; r < R; ++r) {
            for (int i = 0; i < M; ++i) ADP[INDEX[r] - 1 + i + n * ((i + 1) % M)] = 1.0;
            INDEX[r + 1] = INDEX[r] + n * n;
        }
    }
};

void runExactMva(benchmark::State& state, Network& net) {
    for (auto _ : state) {
        state.PauseTiming();
        net.loadRouting();
        state.ResumeTiming();
        int failed = 0;
        kolt::methods::exactMva(net.M, net.R, net.L, net.K.data(), net.TYPE.data(), net.SR.data(), net.TAU.data(),
                                net.SN.data(), net.ADP.data(), net.INDEX.data(), 0, net.THETA.data(), net.N.data(),
                                net.W.data(), net.LAMBDA.data(), failed, nullptr);
        if (failed) state.SkipWithError("exact MVA failed");
        benchmark::DoNotOptimize(net.N.data());
    }
    state.counters["vectors"] = static_cast<double>(net.vectors);
    // Seconds per population vector, shown as time by inverting the rate.
    state.counters["per_vector"] = benchmark::Counter(static_cast<double>(net.vectors),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}

void BM_OneClassTenStations(benchmark::State& state) {
    Network net(10, {static_cast<int>(state.range(0))});
    runExactMva(state, net);
}
BENCHMARK(BM_OneClassTenStations)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_ThreeClasses20_40_60TenStations(benchmark::State& state) {
    Network net(10, {20, 40, 60});
    runExactMva(state, net);
}
BENCHMARK(BM_ThreeClasses20_40_60TenStations)->Unit(benchmark::kMillisecond);

void BM_FiveClassesOf8TwentyStations(benchmark::State& state) {
    Network net(20, {8, 8, 8, 8, 8});
    runExactMva(state, net);
}
BENCHMARK(BM_FiveClassesOf8TwentyStations)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

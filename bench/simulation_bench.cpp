// Events per second of the simulator on a mixed network of 10 stations and
// 3 classes: every discipline, every kind of law, random routing.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "solver/methods/simulation/simulation.h"

namespace {

using namespace kolt::methods;

// Stations 0..9: IS terminals, a FIFO processor, FIFO, LIFO, LIFO-PR,
// PRIOR, PRIOR-PR disks and channels, and a second delay. Classes: 0 and 1
// closed (12 and 6 customers), 2 open, arriving at the processor.
SimulationModel mixedNetwork() {
    SimulationModel m;
    m.M = 10;
    m.R = 3;
    m.discipline = {kInfiniteServer,     kFifo, kFifo, kLifo,          kLifoPreemptive, kPriority,
                    kPriorityPreemptive, kFifo, kFifo, kInfiniteServer};
    m.population = {12, 6, 0};
    m.startStation = {0, 0, 0};
    // Cox (1, 0.02), (0.5, 0.04); hyperexponential (0.6, 0.01), (0.4, 0.07);
    // histogram bins up to 0.02, 0.05, 0.1 with weights 1, 2, 1.
    m.pairFirst = {1.0, 0.5, 0.6, 0.4, 0.02, 0.05, 0.1};
    m.pairSecond = {0.02, 0.04, 0.01, 0.07, 1.0, 2.0, 1.0};
    const Law laws[] = {
        {LawKind::Exponential, 0, 0.05, 0, 0, 0},
        {LawKind::Erlang, 3, 0.04, 0, 0, 0},
        {LawKind::Constant, 0, 0.03, 0, 0, 0},
        {LawKind::Uniform, 0, 0.01, 0.05, 0, 0},
        {LawKind::Cox, 0, 0, 0, 0, 2},
        {LawKind::Hyper, 0, 0, 0, 2, 2},
        {LawKind::Histogram, 0, 0, 0, 4, 3},
    };
    m.service.resize(m.M * m.R);
    for (int s = 0; s < m.M; ++s)
        for (int r = 0; r < m.R; ++r) m.service[s * m.R + r] = laws[(s + 2 * r) % 7];
    m.service[0 * m.R + 0] = {LawKind::Exponential, 0, 2.0, 0, 0, 0};  // think times
    m.service[0 * m.R + 1] = {LawKind::Exponential, 0, 1.0, 0, 0, 0};
    m.service[9 * m.R + 2] = {LawKind::Exponential, 0, 0.5, 0, 0, 0};

    // Closed classes: terminals -> processor -> one of the devices ->
    // processor or back to the terminals; the open class passes the
    // processor and devices and leaves from the second delay.
    m.routeBegin.assign(m.M * m.R + 1, 0);
    for (int s = 0; s < m.M; ++s)
        for (int r = 0; r < m.R; ++r) {
            auto add = [&](int t, double p) {
                m.routeTarget.push_back(t);
                m.routeProbability.push_back(p);
            };
            if (s == 0) {
                add(1, 1.0);
            } else if (s == 1) {
                for (int t = 2; t <= 8; ++t) add(t, 0.12);
                add(r == 2 ? 9 : 0, 0.16);
            } else if (s == 9) {
                add(kExitTarget, 1.0);
            } else {
                add(1, 0.9);
                add(r == 2 ? 9 : 0, 0.1);
            }
            m.routeBegin[s * m.R + r + 1] = static_cast<int>(m.routeTarget.size());
        }
    m.streams.push_back({{LawKind::Exponential, 0, 0.5, 0, 0, 0}, 0, 1});
    m.streamStation = {1};
    m.streamClass = {2};
    m.streamProbability = {1.0};
    return m;
}

void BM_MixedTenStationsThreeClasses(benchmark::State& state) {
    const SimulationModel model = mixedNetwork();
    SimulationControl control;
    control.precision = 0.0;  // never met: every run handles exactly eventCap events
    control.eventCap = state.range(0);
    std::int64_t events = 0;
    for (auto _ : state) {
        SimulationResult result;
        simulate(model, control, result);
        if (result.failure != SimulationFailure::None) state.SkipWithError("simulation failed");
        events += result.events;
        benchmark::DoNotOptimize(result.estimate.data());
    }
    state.counters["events/s"] = benchmark::Counter(static_cast<double>(events), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MixedTenStationsThreeClasses)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

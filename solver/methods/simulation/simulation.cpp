// Discrete-event simulation of a mixed queueing network (SIMUL).
//
// Assumptions: R classes, closed ones with fixed populations that circulate
// for ever, open ones fed by renewal streams from the sources and leaving at
// the exit; no class switching. Stations are single servers (FIFO, LIFO
// non-preemptive, LIFO-PR preemptive-resume, PRIOR head-of-line, PRIOR-PR
// preemptive-resume, priority by class order with class 0 first) or delay
// stations (IS). Service and interarrival times are independent draws from
// their laws, exactly as defined (law_sampler.h); a preempted customer
// resumes with the work it has left. Any routing, product form or not.
//
// The run: the state changes only at events (an arrival from a stream, the
// end of a service), kept in one heap; between events every (station,
// class) pair accumulates the time integrals of its customers present and in
// service, and counts its departures. The run is cut into batches of equal
// numbers of events (batch_means.h). For a station and class
//   N = integral(present) / T,  U = integral(in service) / T,
//   X = departures / T,         W = integral(present) / departures = N / X,
// so Little's law holds exactly in what is reported; queue values use the
// customers present but not in service. The warm-up from the empty start is
// found by MSER over the batch means and deleted; the 95% intervals come
// from batch means with the delta method for the ratios.
//
// Stop rule: every watched mean number (each station all classes together,
// and each class that can reach it) has a 95% half-width of at most
// `precision` of its estimate, or `eventCap` events have been handled. The
// rule is first checked once the store holds half its batches; from the
// half-width found there the run is planned to the length that should meet
// the goal (half-widths shrink as one over the root of the length) and
// checked again only there. Checking after every batch would stop at the
// first half-width that happens to come out narrow, and such intervals hold
// the true value less often than they claim.
// (Law and Kelton, Simulation Modeling and Analysis, 3rd ed., ch. 9;
// White, Simulation 69(6), 1997.)
//
// Cost: O(log E) per event for E pending events (one per busy single
// server and stream, one per customer at a delay station); O(M R) per batch;
// memory O(M R) for the counters and 128 batches, plus the customers.
//
// Outside the assumptions: open customers beyond `openCustomerCap` (a
// station that cannot keep up, for instance below a closed class of higher
// priority) end the run as unstable, naming the station holding the most;
// a batch of events in which the clock never moves (customers circling
// through stations without service time) ends it as NoTime; memory that
// cannot be had ends it as OutOfMemory, naming the structure.
#include "solver/methods/simulation/simulation.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "solver/methods/simulation/batch_means.h"
#include "solver/methods/simulation/simulation_engine.h"

namespace kolt::methods {
namespace {

constexpr double kMinGrowth = 1.125, kMaxGrowth = 8.0;
constexpr int kMinimumGroups = 20;
constexpr std::int64_t kMinimumBatchLength = 2048;

// Fewer stored batches for very large models keep the store near 64 MB.
int storeCapacity(int pairs) { return BatchStore::bytes(pairs, 128) <= (std::int64_t{64} << 20) ? 128 : 64; }

// A batch closes every station's counters, so it spans several events per
// (station, class) pair.
std::int64_t initialBatchLength(const SimulationModel& model) {
    return std::max<std::int64_t>(kMinimumBatchLength, 8 * static_cast<std::int64_t>(model.M) * model.R);
}

// The run length at which the precision should be met: the half-width
// shrinks as one over the square root of the length, and 10% more allows
// for the noise of its estimate; at least an eighth more and at most eight
// times as long.
std::int64_t plannedLength(std::int64_t events, double precision, double goal) {
    const double factor = 1.1 * (precision / goal) * (precision / goal);
    if (!(factor > kMinGrowth)) return static_cast<std::int64_t>(static_cast<double>(events) * kMinGrowth);
    return static_cast<std::int64_t>(static_cast<double>(events) * std::min(factor, kMaxGrowth));
}

// Class r can reach station s when some routing of class r, a stream of
// class r or its start leads there.
Watched watchedStations(const SimulationModel& model) {
    Watched w;
    w.M = model.M;
    w.R = model.R;
    w.visits.assign(static_cast<std::size_t>(model.M) * model.R, 0);
    auto mark = [&](int s, int r) {
        if (s >= 0) w.visits[static_cast<std::size_t>(s) * model.R + r] = 1;
    };
    for (int s = 0; s < model.M; ++s)
        for (int r = 0; r < model.R; ++r) {
            const std::size_t x = static_cast<std::size_t>(s) * model.R + r;
            for (int i = model.routeBegin[x]; i < model.routeBegin[x + 1]; ++i) mark(model.routeTarget[i], r);
        }
    for (std::size_t i = 0; i < model.streamStation.size(); ++i) mark(model.streamStation[i], model.streamClass[i]);
    for (int r = 0; r < model.R; ++r)
        if (model.population[r] > 0) mark(model.startStation[r], r);
    return w;
}

template <typename T>
std::int64_t vectorBytes(const std::vector<T>& v) {
    return static_cast<std::int64_t>(v.size() * sizeof(T));
}

}  // namespace

void simulate(const SimulationModel& model, const SimulationControl& control, SimulationResult& result,
              SimulationProgress progress, void* progressContext) {
    result = SimulationResult{};
    const int P = model.M * model.R;
    SimulationEngine engine(model, control.seed, control.openCustomerCap);
    bool engineStarting = false;
    try {
        const Watched watched = watchedStations(model);
        BatchStore store(P, storeCapacity(P));
        engineStarting = true;
        engine.start();
        std::int64_t batchLength = initialBatchLength(model);
        std::int64_t events = 0;
        std::int64_t plannedCheck = 0;
        bool estimated = false;
        for (;;) {
            const std::int64_t step = std::min(batchLength, control.eventCap - events);
            const bool running = engine.run(step);
            events += step;
            result.events = events;
            result.simulatedTime = engine.now();
            if (!running) {
                result.failure = engine.failure();
                result.station = engine.failedStation();
                return;
            }
            double* row = store.appendRow();
            row[0] = engine.closeBatch(row + 1, row + 1 + P, row + 1 + 2 * P);
            if (row[0] <= 0.0 && step == batchLength) {
                result.failure = SimulationFailure::NoTime;
                return;
            }

            const bool atCap = events >= control.eventCap;
            if ((store.count() >= store.capacity() / 2 && events >= plannedCheck) || atCap) {
                const int first = estimateFromBatches(store, warmupBatches(store, watched), watched, result);
                estimated = true;
                result.warmupEvents = first * batchLength;
                result.warmupTime = 0.0;
                for (int i = 0; i < first; ++i) result.warmupTime += store.row(i)[0];
                result.precisionReached = result.batches >= kMinimumGroups && result.precision <= control.precision;
                if (result.precisionReached || atCap) break;
                plannedCheck = plannedLength(events, result.precision, control.precision);
            }
            if (progress) progress(progressContext, events, estimated ? result.precision : -1.0);
            if (store.full()) {
                store.mergePairs();
                batchLength *= 2;
            }
        }
        if (!(result.simulatedTime > result.warmupTime)) result.failure = SimulationFailure::NoTime;
    } catch (const std::bad_alloc&) {
        result.failure = SimulationFailure::OutOfMemory;
        result.what = engineStarting ? engine.whatOnFailure() : "batches";
    }
}

std::int64_t simulationMemoryBytes(const SimulationModel& model) {
    const int P = model.M * model.R;
    std::int64_t bytes = vectorBytes(model.discipline) + vectorBytes(model.population) +
                         vectorBytes(model.startStation) + vectorBytes(model.service) + vectorBytes(model.pairFirst) +
                         vectorBytes(model.pairSecond) + vectorBytes(model.routeBegin) +
                         vectorBytes(model.routeTarget) + vectorBytes(model.routeProbability) +
                         vectorBytes(model.streams) + vectorBytes(model.streamStation) +
                         vectorBytes(model.streamClass) + vectorBytes(model.streamProbability);
    bytes += SimulationEngine::startBytes(model);
    bytes += BatchStore::bytes(P, storeCapacity(P));
    bytes +=
        2 * static_cast<std::int64_t>(model.M) * (model.R + 1) * static_cast<std::int64_t>(sizeof(StationMeasures));
    bytes += P;  // the watched stations
    return bytes;
}

}  // namespace kolt::methods

// Discrete-event simulation of a mixed queueing network (SIMUL): the plain
// data the analysis prepares, the run control, and the estimates the run
// returns. Nothing here knows the network model: distributions arrive as
// sampling descriptors, routing as lists of (target, probability).
//
// Indexing follows the other methods: element (class r, station s), both
// from 0, of an R x M array is at s*R + r. Results add the class slot -1 for
// all classes together: (class c, station s) is at s*(R+1) + (c+1).
#pragma once

#include <cstdint>
#include <vector>

namespace kolt::methods {

// How one service or interarrival time is drawn.
enum class LawKind : std::uint8_t {
    None,         // no distribution given: the time is 0
    Constant,     // a
    Uniform,      // uniform on [a, b]
    Exponential,  // mean a
    Erlang,       // `phases` exponential phases, mean a of the whole
    Cox,          // pairs (entry probability, phase mean)
    Hyper,        // pairs (branch probability, branch mean); a missing
                  // probability mass is a branch of time 0
    Histogram,    // pairs (upper bound x_i, weight w_i), bin i uniform on
                  // [x_(i-1), x_i] with x_0 = 0, chosen with weight w_i
};

struct Law {
    LawKind kind = LawKind::None;
    int phases = 0;
    double a = 0.0, b = 0.0;
    int first = 0, count = 0;  // list kinds: pairs first .. first+count-1 of the pair pool
};

// Scheduling of a station, by the codes of the model.
enum StationDiscipline : int {
    kFifo = 0,
    kLifo = 1,
    kInfiniteServer = 3,
    kLifoPreemptive = 4,
    kPriority = 5,
    kPriorityPreemptive = 6
};

// A stream of external arrivals: renewal times drawn from `interarrival`;
// each arrival picks one target (station, class) with its probability, and
// with the probability left over (when the targets add up to less than 1) no
// customer arrives.
struct ArrivalStream {
    Law interarrival;
    int begin = 0, end = 0;  // targets begin .. end-1 of the stream target lists
};

constexpr int kExitTarget = -1;

struct SimulationModel {
    int M = 0;                                  // stations
    int R = 0;                                  // classes; class 0 has the highest priority
    std::vector<int> discipline;                // M: StationDiscipline
    std::vector<int> population;                // R: customers of a closed class, 0 for an open class
    std::vector<int> startStation;              // R: where the customers of a closed class begin
    std::vector<Law> service;                   // R x M
    std::vector<double> pairFirst, pairSecond;  // the pair pool of the list kinds
    // Routing of class r leaving station s: entries routeBegin[s*R+r] ..
    // routeBegin[s*R+r+1]-1, each a station index or kExitTarget. A class
    // without entries at a station leaves the network there.
    std::vector<int> routeBegin;  // R*M + 1
    std::vector<int> routeTarget;
    std::vector<double> routeProbability;
    std::vector<ArrivalStream> streams;
    std::vector<int> streamStation, streamClass;
    std::vector<double> streamProbability;
};

constexpr std::uint64_t kDefaultSeed = 19970101;

struct SimulationControl {
    std::uint64_t seed = kDefaultSeed;
    // Goal: the 95% half-width of every station's mean number of customers
    // (all classes and each class) at most this fraction of the estimate.
    double precision = 0.01;
    // The run stops here whatever the precision; events are counted, not
    // seconds, so that a run is reproducible on any machine.
    std::int64_t eventCap = 100'000'000;
    // Open customers present at once beyond which the network is taken as
    // unstable.
    std::int64_t openCustomerCap = 1'000'000;
};

// The measures of one station for one class (or all classes).
struct StationMeasures {
    double number = 0;       // mean number present
    double queueNumber = 0;  // mean number waiting (present, not in service)
    double busy = 0;         // mean number in service: the utilisation at a single server
    double throughput = 0;   // departures per unit time
    double time = 0;         // mean time per visit, number / throughput
    double queueTime = 0;    // mean waiting time per visit
    double serviceTime = 0;  // mean time in service per visit
};

enum class SimulationFailure : int {
    None = 0,
    Unstable,     // open customers beyond the cap: `station` holds the most
    OutOfMemory,  // `what` names the structure
    NoTime,       // the clock never advanced: nothing can be estimated
};

struct SimulationResult {
    std::vector<StationMeasures> estimate;   // M x (R+1)
    std::vector<StationMeasures> halfWidth;  // 95% half-widths, same layout
    std::int64_t events = 0;                 // events processed in all
    std::int64_t warmupEvents = 0;           // of which deleted as warm-up
    double simulatedTime = 0, warmupTime = 0;
    int batches = 0;                        // batches of the interval estimates
    double precision = 0;                   // largest relative half-width of the stop rule
    int worstStation = 0, worstClass = -1;  // where that largest one is
    bool precisionReached = false;
    SimulationFailure failure = SimulationFailure::None;
    int station = 0;
    const char* what = "";
};

// Called after every batch with the events so far and the latest precision
// (negative while none is known); may be null.
using SimulationProgress = void (*)(void* context, std::int64_t events, double precision);

// Runs the simulation to the stop rule or the cap. The model must have
// passed the analysis checks: valid laws, routing lists that add up to 1,
// closed classes that never reach the exit, open load below 1 at every
// single server.
void simulate(const SimulationModel& model, const SimulationControl& control, SimulationResult& result,
              SimulationProgress progress = nullptr, void* progressContext = nullptr);

// Bytes the run holds from its start: the model, the samplers, the engine's
// state sized for the closed customers, and the batch store. Open customers
// beyond the start-up room add to it as they come.
std::int64_t simulationMemoryBytes(const SimulationModel& model);

}  // namespace kolt::methods

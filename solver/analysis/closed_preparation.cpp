#include "solver/analysis/closed_preparation.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "solver/analysis/admissibility.h"
#include "solver/analysis/analysis_context.h"
#include "solver/analysis/array_index.h"
#include "solver/analysis/array_sizes.h"
#include "solver/analysis/memory_estimate.h"
#include "solver/core/method_table.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "solver/methods/method_codes.h"
#include "solver/methods/methods.h"
#include "solver/methods/sparse_system.h"
#include "solver/model/network.h"
#include "solver/model/station.h"

namespace kolt {
namespace {

using Size = std::int64_t;

// One transition between stations of the table, as read from the model.
struct StationTransition {
    int r, from, to;
    double p;
};

void allocateArrays(AnalysisContext& c, Reporter& reporter) {
    const Size M = c.M, R = c.R, RM = saturatingMultiply(R, M);
    const bool hmva = c.methodIndex == kHmva;
    allocateArray(c.TYPE, M, " (TYPE)", reporter);
    allocateArray(c.INDEX, R + 1, " (INDEX)", reporter);
    allocateArray(c.SR, RM, " (SR)", reporter);
    allocateArray(c.SN, R, " (SN)", reporter);
    allocateArray(c.TAU, RM, " (TAU)", reporter);
    allocateArray(c.THETA, RM, " (THETA)", reporter);
    allocateArray(c.W, RM, " (W)", reporter);
    if (hmva) {
        allocateArray(c.N, RM, " (N)", reporter);
        allocateArray(c.LAMBDA, RM, " (LAMBDA)", reporter);
        allocateArray(c.NTOTAL, M, " (N)", reporter);
    } else {
        allocateArray(c.LAMBDA, R, " (LAMBDA)", reporter);
        allocateArray(c.N, M, " (N)", reporter);
    }
}

// The station checks in their order, then TYPE, the routing (gathered in
// `transitions`, SR marked) and TAU of station s.
void describeStation(AnalysisContext& c, int s, const StationLookup& lookup,
                     std::vector<StationTransition>& transitions, Reporter& reporter) {
    const Station& station = *c.stations[s];
    schedulingAdmitted(station, c.methodIndex, reporter);  // the station is still processed
    const SchedulingDiscipline* discipline = station.discipline();
    const int type = discipline ? closedStationType(static_cast<int>(discipline->kind())) : 0;
    c.TYPE[s] = type;
    if (discipline == nullptr) return;  // reported when the tables were built
    if (type == 0) {
        reporter.report(Level::Error,
                        formatText("Nieznany typ regulaminu kolejki na stan.: %s", station.name().c_str()));
        return;
    }
    if (!station.routing()->checkRoutingSums(reporter)) return;

    for (int r = 0; r < c.R; ++r) {
        const std::vector<Transition>* list = station.routing()->transitions(r);
        if (list == nullptr) continue;
        for (const Transition& transition : *list) {
            const int t = lookup.indexOf(transition.target, reporter);
            if (t == StationLookup::kExit) continue;
            c.SR[classStationIndex(c.R, r, t)] = 1;
            transitions.push_back({r, s, t, transition.probability});
        }
    }
    for (int r = 0; r < c.R; ++r) {
        const ServiceDistribution* distribution = station.serviceTable().at(r);
        if (distribution == nullptr) continue;  // service time stays 0
        distributionAdmitted(*distribution, station, c.methodIndex, reporter);
        c.TAU[classStationIndex(c.R, r, s)] = distribution->mean();
    }
}

// What a closed network leaves out without changing the results the user
// meant: its customers never come from a source, and a class visiting a
// station where it has no service time passes it in no time at all.
void warnOfWhatIsLeftOut(const AnalysisContext& c, Reporter& reporter) {
    for (const Station* source : c.sources)
        reporter.report(Level::Warning,
                        formatText("Źródło %s w sieci zamkniętej zostanie pominięte", source->name().c_str()));
    for (int s = 0; s < c.M; ++s)
        for (int r = 0; r < c.R; ++r)
            if (c.SR[classStationIndex(c.R, r, s)] && c.stations[s]->serviceTable().at(r) == nullptr)
                reporter.report(Level::Warning, formatText("Brak rozkladu dla klasy %d w stanowisku %s", r,
                                                           c.stations[s]->name().c_str()));
}

// INDEX and the length of ADP: a dense block for every class of at most
// kSparseThreshold stations, then room for the method's own table.
void sizeAdp(AnalysisContext& c, Reporter& reporter) {
    c.INDEX[0] = 1;
    Size blocks = 0;
    for (int r = 0; r < c.R; ++r) {
        const Size side = c.SN[r] + 1;
        if (c.SN[r] <= methods::kSparseThreshold) blocks += side * side;
        // INDEX is handed to the methods as 32-bit integers; blocks reaching
        // beyond that cannot be addressed by them.
        if (blocks + 1 > std::numeric_limits<int>::max())
            reporter.report(Level::Fatal, fixedText("Blad allokacji pamięci (INDEX)"));
        c.INDEX[r + 1] = static_cast<int>(blocks + 1);
    }
    const Size table = c.methodIndex == kHmva ? saturatingMultiply(saturatingMultiply(2 * Size{c.R}, c.R), c.M)
                                              : methods::exactMvaQueueTable(c.M, c.R, c.K.data(), c.TYPE.data());
    c.L = std::max(blocks, table);
}

// Each class's routing among the stations it visits, by their rank in
// table order: as a dense block in ADP (element (i, j) of an (SN+1) x (SN+1)
// matrix by columns, the last row and column left for the method) or, for
// a class of more than kSparseThreshold stations, as lists.
void buildRouting(AnalysisContext& c, const std::vector<StationTransition>& transitions, Reporter& reporter) {
    allocateWorkspace(c.ADP, c.L, " (ADP)", reporter);
    std::fill(c.ADP.begin(), c.ADP.begin() + (c.INDEX[c.R] - 1), 0.0);
    std::vector<int> rank(c.M);
    methods::RoutingLists& lists = c.closedLists;
    for (int r = 0; r < c.R; ++r) {
        int visited = 0;
        for (int s = 0; s < c.M; ++s) rank[s] = c.SR[classStationIndex(c.R, r, s)] ? visited++ : -1;
        const Size side = c.SN[r] + 1;
        if (c.SN[r] <= methods::kSparseThreshold) {
            double* block = c.ADP.data() + (c.INDEX[r] - 1);
            for (const StationTransition& t : transitions)
                if (t.r == r && rank[t.from] >= 0) block[rank[t.from] + side * rank[t.to]] = t.p;
            continue;
        }
        if (lists.classStart.empty()) lists.classStart.assign(c.R, -1);
        lists.classStart[r] = static_cast<std::int64_t>(lists.rowStart.size());
        // Transitions come station by station, so the rows fill in order.
        int row = 0;
        lists.rowStart.push_back(static_cast<std::int64_t>(lists.to.size()));
        for (const StationTransition& t : transitions) {
            if (t.r != r || rank[t.from] < 0) continue;
            for (; row < rank[t.from]; ++row) lists.rowStart.push_back(static_cast<std::int64_t>(lists.to.size()));
            lists.to.push_back(rank[t.to]);
            lists.probability.push_back(t.p);
        }
        for (; row < c.SN[r]; ++row) lists.rowStart.push_back(static_cast<std::int64_t>(lists.to.size()));
    }
}

}  // namespace

int closedStationType(int schedulingKind) {
    switch (static_cast<SchedulingKind>(schedulingKind)) {
        case SchedulingKind::Fifo: return methods::kClosedFifo;
        case SchedulingKind::Lifo: return methods::kClosedLifo;
        case SchedulingKind::Ps: return methods::kClosedPs;
        case SchedulingKind::Is: return methods::kClosedIs;
        case SchedulingKind::LifoPr: return methods::kClosedLifoPr;
        case SchedulingKind::Prior: return methods::kClosedPriorHol;
        case SchedulingKind::PriorPr: return methods::kClosedPriorPr;
        default: return 0;
    }
}

void prepareClosedNetwork(const Network& network, AnalysisContext& c, Reporter& reporter) {
    allocateArray(c.K, c.R, "(K)", reporter);
    for (int r = 0; r < c.R; ++r) c.K[r] = network.customers(r);

    std::FILE* err = reporter.stream(Target::Err);
    std::fputs(closedMemoryEstimate(c.methodIndex, c.M, c.R, c.K).c_str(), err);
    writeFixed(err, " bajtów");

    allocateArrays(c, reporter);

    const StationLookup lookup(c, reporter);
    std::vector<StationTransition> transitions;
    for (int s = 0; s < c.M; ++s) describeStation(c, s, lookup, transitions, reporter);

    for (int r = 0; r < c.R; ++r) {
        c.SN[r] = 0;
        for (int s = 0; s < c.M; ++s) c.SN[r] += c.SR[classStationIndex(c.R, r, s)];
    }
    checkEveryClassVisits(network, c, reporter);
    warnOfWhatIsLeftOut(c, reporter);
    sizeAdp(c, reporter);
    buildRouting(c, transitions, reporter);
}

}  // namespace kolt

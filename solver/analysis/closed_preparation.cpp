#include "solver/analysis/closed_preparation.h"

#include <cstdio>
#include <limits>

#include "solver/analysis/admissibility.h"
#include "solver/analysis/analysis_context.h"
#include "solver/analysis/array_sizes.h"
#include "solver/analysis/memory_estimate.h"
#include "solver/frontend/method_table.h"
#include "solver/frontend/reporter.h"
#include "solver/frontend/text.h"
#include "solver/model/network.h"
#include "solver/model/station.h"

namespace kolt {
namespace {

using Size = std::int64_t;

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
    allocateArray(c.ADP, c.L, " (ADP)", reporter);
}

// Position (from 0) of the full routing element from station `from` to
// station `to` of class r: full (M+1) x (M+1) matrices, one per class, placed
// after room for one such matrix so that the compacted blocks always lie
// below the matrix still to be read.
Size fullRoutingAt(const AnalysisContext& c, int r, int from, int to) {
    const Size side = c.M + 1;
    return (r + 1) * side * side + from + side * to;
}

// The station checks in their order, then TYPE, the routing and TAU of
// station s.
void describeStation(AnalysisContext& c, int s, const StationLookup& lookup, Reporter& reporter) {
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
            c.SR[static_cast<Size>(t) * c.R + r] = 1;
            c.ADP[fullRoutingAt(c, r, s, t)] = transition.probability;
        }
    }
    for (int r = 0; r < c.R; ++r) {
        const ServiceDistribution* distribution = station.serviceTable().at(r);
        if (distribution == nullptr) continue;  // service time stays 0
        distributionAdmitted(*distribution, station, c.methodIndex, reporter);
        c.TAU[static_cast<Size>(s) * c.R + r] = distribution->mean();
    }
}

// What a closed network leaves out without changing the results the user
// meant: its customers never come from a source, and a class visiting a
// station where it has no service time passes it in no time at all.
void warnOfWhatIsLeftOut(const AnalysisContext& c, Reporter& reporter) {
    for (const Station* source : c.sources)
        reporter.report(Level::Warning, formatText("Źródło %s w sieci zamkniętej zostanie pominięte",
                                                   source->name().c_str()));
    for (int s = 0; s < c.M; ++s)
        for (int r = 0; r < c.R; ++r)
            if (c.SR[static_cast<Size>(s) * c.R + r] && c.stations[s]->serviceTable().at(r) == nullptr)
                reporter.report(Level::Warning, formatText("Brak rozkladu dla klasy %d w stanowisku %s", r,
                                                           c.stations[s]->name().c_str()));
}

void compactRoutingBlocks(AnalysisContext& c, Reporter& reporter) {
    std::vector<int> visited;
    c.INDEX[0] = 1;
    for (int r = 0; r < c.R; ++r) {
        visited.clear();
        for (int s = 0; s < c.M; ++s)
            if (c.SR[static_cast<Size>(s) * c.R + r]) visited.push_back(s);
        const Size side = c.SN[r] + 1;
        const Size start = c.INDEX[r] - 1;
        for (Size j = 0; j < c.SN[r]; ++j)
            for (Size i = 0; i < c.SN[r]; ++i)
                c.ADP[start + i + side * j] = c.ADP[fullRoutingAt(c, r, visited[i], visited[j])];
        // INDEX is handed to the methods as 32-bit integers; blocks reaching
        // beyond that cannot be addressed by them.
        const Size next = c.INDEX[r] + side * side;
        if (next > std::numeric_limits<int>::max())
            reporter.report(Level::Fatal, fixedText("Blad allokacji pamięci (INDEX)"));
        c.INDEX[r + 1] = static_cast<int>(next);
    }
}

}  // namespace

int closedStationType(int schedulingKind) {
    switch (static_cast<SchedulingKind>(schedulingKind)) {
        case SchedulingKind::Fifo: return 1;
        case SchedulingKind::Lifo: return 7;
        case SchedulingKind::Ps: return 2;
        case SchedulingKind::Is: return 4;
        case SchedulingKind::LifoPr: return 3;
        case SchedulingKind::Prior: return 6;
        case SchedulingKind::PriorPr: return 5;
        default: return 0;
    }
}

void prepareClosedNetwork(const Network& network, AnalysisContext& c, Reporter& reporter) {
    allocateArray(c.K, c.R, "(K)", reporter);
    for (int r = 0; r < c.R; ++r) c.K[r] = network.customers(r);
    c.L = adpLength(c.methodIndex, c.M, c.R, c.K);

    std::FILE* err = reporter.stream(Target::Err);
    std::fputs(closedMemoryEstimate(c.methodIndex, c.M, c.R, c.K).c_str(), err);
    writeFixed(err, " bajtów");

    allocateArrays(c, reporter);

    const StationLookup lookup(c, reporter);
    for (int s = 0; s < c.M; ++s) describeStation(c, s, lookup, reporter);

    for (int r = 0; r < c.R; ++r) {
        c.SN[r] = 0;
        for (int s = 0; s < c.M; ++s) c.SN[r] += c.SR[static_cast<Size>(s) * c.R + r];
    }
    checkEveryClassVisits(network, c, reporter);
    warnOfWhatIsLeftOut(c, reporter);
    compactRoutingBlocks(c, reporter);
}

}  // namespace kolt

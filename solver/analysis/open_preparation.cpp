#include "solver/analysis/open_preparation.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "solver/analysis/admissibility.h"
#include "solver/analysis/analysis_context.h"
#include "solver/analysis/array_index.h"
#include "solver/analysis/array_sizes.h"
#include "solver/analysis/memory_estimate.h"
#include "solver/core/method_table.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "solver/methods/method_codes.h"
#include "solver/methods/sparse_system.h"
#include "solver/model/network.h"
#include "solver/model/station.h"

namespace kolt {
namespace {

using Size = std::int64_t;

void allocateArrays(AnalysisContext& c, Reporter& reporter) {
    const Size M = c.M, R = c.R;
    const Size RM = saturatingMultiply(R, M);
    const Size matrix = saturatingMultiply(RM, saturatingAdd(RM, 1));
    allocateArray(c.LAMBN, M, " (LAMBN)", reporter);
    allocateArray(c.OBCN, M, " (OBCN)", reporter);
    allocateArray(c.ENKN, M, " (ENKN)", reporter);
    allocateArray(c.ENTN, M, " (ENTN)", reporter);
    allocateArray(c.MIN, M, " (MIN)", reporter);
    allocateArray(c.LMBNR, RM, " (LMBNR)", reporter);
    allocateArray(c.OBCNR, RM, " (OBCNR)", reporter);
    allocateArray(c.ENRKNR, RM, " (ENRKNR)", reporter);
    allocateArray(c.ENRTNR, RM, " (ENRTNR)", reporter);
    allocateArray(c.TAU, RM, " (TAU)", reporter);
    allocateArray(c.THETA, RM, " (THETA)", reporter);
    // A sparse network keeps its routing as lists (describeStation) and
    // needs none of the dense systems.
    if (c.openSparse) {
        allocateArray(c.openLists.minusExternalRate, RM, " (BP)", reporter);
        allocateArray(c.openLists.start, saturatingAdd(RM, 1), " (BP)", reporter);
    } else {
        allocateArray(c.BP, matrix, " (BP)", reporter);
    }
    allocateArray(c.SR, RM, " (SR)", reporter);
    if (c.methodIndex == kJackson) {
        allocateArray(c.TYPE, M, " (TYPE)", reporter);
        return;
    }
    const Size twoM = saturatingMultiply(2, M);
    if (!c.openSparse) allocateArray(c.BP1, matrix, " (BP1)", reporter);
    allocateArray(c.CBNR2, RM, " (CBNR2)", reporter);
    allocateArray(c.CBN2, M, " (CBN2)", reporter);
    allocateArray(c.C0NR2, RM, " (C0NR2)", reporter);
    if (!c.openSparse) {
        allocateArray(c.RJI, saturatingMultiply(M, M), " (RJI)", reporter);
        allocateArray(c.G, saturatingMultiply(twoM, saturatingAdd(twoM, 1)), " (G)", reporter);
    }
    allocateArray(c.CAN2, M, " (CAN2)", reporter);
}

// The largest linear system of the method: the traffic equations (R*M
// unknowns) and, for DIFF, the variability system (2M).
bool solvedAsSparse(const AnalysisContext& c) {
    const Size RM = saturatingMultiply(c.R, c.M);
    const Size largest = c.methodIndex == kDiff ? std::max<Size>(RM, saturatingMultiply(2, c.M)) : RM;
    return largest > methods::kSparseThreshold;
}

// Routing lists of a sparse network: pair x's transitions follow those of
// every pair before it, as describeStation meets them in pair order.
void appendTransition(methods::OpenRouting& lists, Size from, int to, double p, Size& nextPair) {
    for (; nextPair <= from; ++nextPair) lists.start[nextPair] = static_cast<std::int64_t>(lists.target.size());
    lists.target.push_back(to);
    lists.probability.push_back(p);
}

// The station checks in their order, then TYPE, TAU (and CBNR2) and the
// station's column block of BP.
void describeStation(AnalysisContext& c, int i, const StationLookup& lookup, Size& nextPair, Reporter& reporter) {
    const Station& station = *c.stations[i];
    const Size R = c.R, RM = R * c.M;
    if (station.discipline() == nullptr) return;  // reported when the tables were built
    if (!station.routing()->checkRoutingSums(reporter)) return;
    if (!schedulingAdmitted(station, c.methodIndex, reporter)) return;
    if (c.methodIndex == kJackson) {
        const int type = jacksonStationType(static_cast<int>(station.discipline()->kind()));
        if (type == 0) {
            reporter.report(Level::Error,
                            formatText("Niedozwolony typ regulaminu kolejki na stan.: %s", station.name().c_str()));
            return;
        }
        c.TYPE[i] = type;
    }
    for (int r = 0; r < c.R; ++r) {
        const ServiceDistribution* distribution = station.serviceTable().at(r);
        if (distribution == nullptr) {
            // Allowed: the class then has service rate 0 here.
            reporter.report(Level::Warning,
                            formatText("Brak rozkladu dla klasy %d w stanowisku %s", r, station.name().c_str()));
            continue;
        }
        distributionAdmitted(*distribution, station, c.methodIndex, reporter);
        c.TAU[classStationIndex(c.R, r, i)] = 1.0 / distribution->mean();
        if (c.methodIndex == kDiff) {
            const double v = distribution->variation();
            c.CBNR2[classStationIndex(c.R, r, i)] = v * v;
        }
    }
    for (int r = 0; r < c.R; ++r) {
        const std::vector<Transition>* list = station.routing()->transitions(r);
        if (list == nullptr) continue;
        for (const Transition& transition : *list) {
            const int j = lookup.indexOf(transition.target, reporter);
            if (j == StationLookup::kExit) continue;  // customers leave the network there
            const std::size_t from = classStationIndex(c.R, r, i), to = classStationIndex(c.R, r, j);
            c.SR[to] = 1;
            if (c.openSparse)
                appendTransition(c.openLists, from, static_cast<int>(to), transition.probability, nextPair);
            else
                c.BP[columnMajorIndex(RM, to, from)] = transition.probability;
        }
    }
}

// External arrivals. Each source adds, per (station, class) pair it feeds,
// the rate p / (mean interarrival time) to minus the last column of BP. For
// DIFF the variability of the split stream, (v^2 - 1) * p + 1, is merged
// over the sources weighted by their rates: merged independent streams have
// the rate-weighted mean of their squared variations, which for a single
// source is the source's own term. C0NR2 gathers the rate-weighted sum and
// is divided by the pair's external rate at the end.
void describeSources(AnalysisContext& c, const StationLookup& lookup, Reporter& reporter) {
    const Size R = c.R, RM = R * c.M;
    const bool diffusion = c.methodIndex == kDiff;
    double* minusExternalRate =
        c.openSparse ? c.openLists.minusExternalRate.data() : c.BP.data() + columnMajorIndex(RM, 0, RM);
    for (const Station* source : c.sources) {
        for (int r = 0; r < c.R; ++r) {
            const std::vector<Transition>* list = source->routing()->transitions(r);
            if (list == nullptr) continue;
            const ServiceDistribution* interarrival = source->serviceTable().at(r);
            for (const Transition& transition : *list) {
                if (transition.target->type() == kExitType) {
                    reporter.report(Level::Error,
                                    formatText("Niedozwolone opuszczenie sieci przez klientow klasy %d ze zrodla %s", r,
                                               source->name().c_str()));
                    continue;
                }
                const std::size_t x = classStationIndex(c.R, r, lookup.indexOf(transition.target, reporter));
                c.SR[x] = 1;
                if (interarrival == nullptr) continue;  // visits, but brings no arrivals
                const double p = transition.probability;
                const double rate = p / interarrival->mean();
                if (!(rate > 0)) continue;
                minusExternalRate[x] -= rate;
                if (diffusion) {
                    const double variation = interarrival->variation();
                    c.C0NR2[x] += rate * ((variation * variation - 1.0) * p + 1.0);
                }
            }
        }
    }
    if (!diffusion) return;
    for (Size x = 0; x < RM; ++x)
        if (minusExternalRate[x] < 0) c.C0NR2[x] /= -minusExternalRate[x];
}

}  // namespace

int jacksonStationType(int schedulingKind) {
    switch (static_cast<SchedulingKind>(schedulingKind)) {
        case SchedulingKind::Is: return methods::kJacksonIs;
        case SchedulingKind::LifoPr: return methods::kJacksonLifoPr;
        case SchedulingKind::Ps: return methods::kJacksonPs;
        case SchedulingKind::Fifo: return methods::kJacksonFifo;
        default: return 0;
    }
}

void prepareOpenNetwork(const Network&, AnalysisContext& c, Reporter& reporter) {
    const std::string estimate =
        c.methodIndex == kJackson ? jacksonMemoryEstimate(c.M, c.R) : diffusionMemoryEstimate(c.M, c.R);
    std::FILE* err = reporter.stream(Target::Err);
    std::fputs(estimate.c_str(), err);
    writeFixed(err, " bajtów\n");

    c.openSparse = solvedAsSparse(c);
    allocateArrays(c, reporter);

    const StationLookup lookup(c, reporter);
    Size nextPair = 0;
    for (int i = 0; i < c.M; ++i) describeStation(c, i, lookup, nextPair, reporter);
    if (c.openSparse) {
        const Size RM = Size{c.R} * c.M;
        for (; nextPair <= RM; ++nextPair)
            c.openLists.start[nextPair] = static_cast<std::int64_t>(c.openLists.target.size());
    }
    describeSources(c, lookup, reporter);
}

}  // namespace kolt

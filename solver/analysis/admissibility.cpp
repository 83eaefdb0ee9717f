#include "solver/analysis/admissibility.h"

#include <new>
#include <vector>

#include "solver/analysis/analysis_context.h"
#include "solver/core/method_table.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "solver/model/network.h"
#include "solver/model/station.h"

namespace kolt {
namespace {

// The network kind each method requires (0 open, 1 closed, 2 mixed), and
// whether it solves several classes.
constexpr int kRequiredKind[kMethodCount] = {kClosedNetwork, kClosedNetwork, kClosedNetwork, kOpenNetwork,
                                             kClosedNetwork, kOpenNetwork,   kClosedNetwork, kMixedNetwork};
constexpr bool kSeveralClasses[kMethodCount] = {true, true, true, true, false, true, false, true};

// Which scheduling kind each method accepts, [method][kind]. Methods in the
// order MVA, MVAP, HMVA, JACKSON, EPF, DIFF, ITERM, SIMUL; kinds FIFO, LIFO,
// PS, IS, LIFO-PR, PRIOR, PRIOR-PR, source marker.
constexpr int kSchedulingAdmissible[kMethodCount][kSchedulingKindCount] = {
    {1, 0, 1, 1, 1, 0, 0, 0},  // MVA
    {1, 0, 1, 1, 1, 1, 1, 0},  // MVAP: the priority approximation
    {1, 0, 1, 1, 1, 0, 0, 0},  // HMVA
    {1, 0, 1, 1, 1, 0, 0, 0},  // JACKSON
    {1, 0, 1, 1, 1, 0, 0, 0},  // EPF
    {1, 0, 0, 0, 0, 0, 0, 0},  // DIFF: single-server FIFO only
    {1, 0, 1, 1, 1, 0, 0, 0},  // ITERM
    {1, 1, 0, 1, 1, 1, 1, 1},  // SIMUL
};

// Which distribution kind each method accepts, [method][kind]. Methods as
// above; kinds DET, UNI, EXP, COX, ERL, HIP, G, HIST.
constexpr int kDistributionAdmissible[kMethodCount][kDistributionKindCount] = {
    {1, 1, 1, 1, 1, 1, 1, 1},  // MVA
    {1, 1, 1, 1, 1, 1, 1, 1},  // MVAP
    {1, 1, 1, 1, 1, 1, 1, 1},  // HMVA
    {0, 0, 1, 1, 0, 0, 0, 0},  // JACKSON: product form needs exponential phases
    {1, 0, 1, 1, 1, 1, 1, 0},  // EPF
    {1, 1, 1, 1, 1, 1, 1, 1},  // DIFF
    {1, 0, 1, 1, 1, 1, 1, 1},  // ITERM
    {1, 1, 1, 1, 1, 1, 0, 1},  // SIMUL: a bare mean and variation cannot be sampled
};

bool knownMethod(int methodIndex) { return methodIndex >= 0 && methodIndex < kMethodCount; }

const char* kindAdjective(int kind) {
    switch (kind) {
        case kOpenNetwork: return "otwartej";
        case kClosedNetwork: return "zamkniętej";
        default: return "mieszanej";
    }
}

const char* displayName(int methodIndex) { return methodInfo(methodIndex).displayName; }

// Room for `count` entries of a station or source table; memory that cannot
// be had is the Fatal message naming the table.
void reserveTable(std::vector<const Station*>& table, std::size_t count, const char* label, Reporter& reporter) {
    try {
        table.reserve(count);
    } catch (const std::bad_alloc&) {
        reporter.report(Level::Fatal, fixedText("Blad allokacji pamięci") + label);
    }
}

}  // namespace

void checkMethodForNetwork(const Network& network, int methodIndex, Reporter& reporter) {
    // A negative population has no meaning and would make the network kind
    // and the population enumeration of the exact recursion nonsense.
    bool negative = false;
    for (int r = 0; r < network.numberOfClasses(); ++r) {
        if (network.customers(r) < 0) {
            reporter.report(Level::Error,
                            formatText("Liczba klientów klasy %s nie może być ujemna", network.className(r).c_str()));
            negative = true;
        }
    }
    if (negative) reporter.flush(Target::Err);

    const int kind = network.kindOfNetwork();
    if (kind != kRequiredKind[methodIndex]) {
        reporter.report(Level::Error, formatText("Metoda %s nie jest dozwolona w analizowaniu sieci %s",
                                                 displayName(methodIndex), fixedText(kindAdjective(kind)).c_str()));
        reporter.flush(Target::Err);
    }
    if (network.numberOfClasses() > 1 && !kSeveralClasses[methodIndex]) {
        reporter.report(Level::Error,
                        formatText("Metoda %s nie jest dozwolona dla wielu klas", displayName(methodIndex)));
        reporter.flush(Target::Err);
    }
    // The exact recursion keeps its population vector for at most ten classes.
    if ((methodIndex == kMva || methodIndex == kMvap) && network.numberOfClasses() > kMaxExactMvaClasses) {
        reporter.report(Level::Error, formatText("Metoda %s dopuszcza co najwyżej %d klas", displayName(methodIndex),
                                                 kMaxExactMvaClasses));
        reporter.flush(Target::Err);
    }
}

void buildObjectTables(const Network& network, AnalysisContext& context, Reporter& reporter) {
    // First pass: count, and refuse what is neither a station, a source nor
    // the exit.
    std::size_t stationCount = 0, sourceCount = 0;
    for (const NetObject* object : network.registry()) {
        switch (object->type()) {
            case kStationType: ++stationCount; break;
            case kSourceType: ++sourceCount; break;
            case kExitType: break;
            default:
                reporter.report(Level::Fatal,
                                formatText("Niedozwolony typ obiektu %s w Sieci", object->name().c_str()));
                break;
        }
    }
    context.stations.clear();
    context.sources.clear();
    reserveTable(context.stations, stationCount, " (station_table)", reporter);
    reserveTable(context.sources, sourceCount, " (source_table)", reporter);

    // Second pass: fill, in registry order.
    for (const NetObject* object : network.registry()) {
        if (object->type() == kStationType) {
            const auto* station = static_cast<const Station*>(object);
            // Without a discipline the station has no scheduling kind to
            // check and no station type to give the methods.
            if (station->discipline() == nullptr)
                reporter.report(Level::Error, formatText("Stanowisko %s nie zostało opisane", station->name().c_str()));
            context.stations.push_back(station);
        } else if (object->type() == kSourceType) {
            context.sources.push_back(static_cast<const Station*>(object));
        }
    }
    context.M = static_cast<int>(context.stations.size());
    context.S = static_cast<int>(context.sources.size());
    context.R = network.numberOfClasses();
    if (context.R <= 0) reporter.report(Level::Fatal, fixedText("Za mala liczba klas"));
}

bool methodAdmitsScheduling(int methodIndex, SchedulingKind kind) {
    const int k = static_cast<int>(kind);
    if (!knownMethod(methodIndex) || k < 0 || k >= kSchedulingKindCount) return false;
    return kSchedulingAdmissible[methodIndex][k] != 0;
}

bool methodAdmitsDistribution(int methodIndex, DistributionKind kind) {
    const int k = static_cast<int>(kind);
    if (!knownMethod(methodIndex) || k < 0 || k >= kDistributionKindCount) return false;
    return kDistributionAdmissible[methodIndex][k] != 0;
}

bool schedulingAdmitted(const Station& station, int methodIndex, Reporter& reporter) {
    const SchedulingDiscipline* discipline = station.discipline();
    if (discipline == nullptr) return false;  // already reported by buildObjectTables
    if (methodAdmitsScheduling(methodIndex, discipline->kind())) return true;
    reporter.report(Level::Error,
                    formatText("Typ szeregowania %s nie jest dozwolony dla metody %s (stanowisko: %s)",
                               schedulingName(discipline->kind()), displayName(methodIndex), station.name().c_str()));
    return false;
}

bool distributionAdmitted(const ServiceDistribution& distribution, const Station& station, int methodIndex,
                          Reporter& reporter) {
    if (methodAdmitsDistribution(methodIndex, distribution.kind())) return true;
    reporter.report(Level::Error, formatText("Rozkład %s nie jest dozwolony dla metody %s (stanowisko: %s)",
                                             fixedText(distributionDisplayName(distribution.kind())).c_str(),
                                             displayName(methodIndex), station.name().c_str()));
    return false;
}

StationLookup::StationLookup(const AnalysisContext& context, Reporter& reporter) {
    // An index over the station table: running out of memory for it is
    // running out of memory for the table.
    try {
        index_.reserve(context.stations.size());
        for (int s = 0; s < static_cast<int>(context.stations.size()); ++s) index_.emplace(context.stations[s], s);
    } catch (const std::bad_alloc&) {
        reporter.report(Level::Fatal, fixedText("Blad allokacji pamięci (station_table)"));
    }
}

int StationLookup::indexOf(const NetObject* target, Reporter& reporter) const {
    if (target->type() == kExitType) return kExit;
    const auto found = index_.find(target);
    if (found != index_.end()) return found->second;
    reporter.report(Level::Error, formatText("Nieznana stacja: %s", target->name().c_str()));
    return 0;
}

void checkEveryClassVisits(const Network& network, const AnalysisContext& context, Reporter& reporter) {
    for (int r = 0; r < context.R; ++r) {
        if (context.SN[r] == 0)
            reporter.report(Level::Error,
                            formatText("Klasa %s nie odwiedza żadnego stanowiska", network.className(r).c_str()));
    }
}

}  // namespace kolt

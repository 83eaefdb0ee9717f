// Is the chosen method allowed for this network? The checks that look at the
// network as a whole run first (each ended by a flush, so an error stops the
// run there); the checks of single stations run inside the array building and
// use the helpers below, so that every station is examined before the run
// ends.
#pragma once

#include <unordered_map>

#include "solver/model/discipline.h"
#include "solver/model/distribution.h"

namespace kolt {

class NetObject;
class Network;
class Reporter;
class ServiceDistribution;
class Station;
struct AnalysisContext;

// Most classes the exact recursion can enumerate.
constexpr int kMaxExactMvaClasses = 10;

// Populations not negative, network kind as the method requires, several
// classes only where allowed, and at most kMaxExactMvaClasses classes for the
// exact recursion. Each failed check reports an Error and flushes, which ends
// the run.
void checkMethodForNetwork(const Network& network, int methodIndex, Reporter& reporter);

// Fills the station and source tables and M, R, S of the context in registry
// order. Any object other than a station, a source or the exit is Fatal; a
// station that was declared but never described (it has no discipline) is an
// Error; no classes at all is Fatal.
void buildObjectTables(const Network& network, AnalysisContext& context, Reporter& reporter);

// Whether the method accepts stations served in this scheduling kind, and
// services of this distribution kind; false for an index that names no
// method (the syntax-only run included).
bool methodAdmitsScheduling(int methodIndex, SchedulingKind kind);
bool methodAdmitsDistribution(int methodIndex, DistributionKind kind);

// Scheduling of the station against the method's table; reports the Error
// naming the discipline, the method and the station when it is not allowed.
bool schedulingAdmitted(const Station& station, int methodIndex, Reporter& reporter);

// Distribution kind against the method's table; reports the Error naming the
// kind, the method and the station when it is not allowed.
bool distributionAdmitted(const ServiceDistribution& distribution, const Station& station, int methodIndex,
                          Reporter& reporter);

// Where a transition leads, as an index into the station table.
class StationLookup {
  public:
    // Builds the index; memory that cannot be had is a Fatal report.
    StationLookup(const AnalysisContext& context, Reporter& reporter);
    static constexpr int kExit = -1;
    // The station's index; kExit for an exit object; for anything else the
    // Error "Nieznana stacja: NAME" is reported and station 0 is answered, so
    // that the building can go on to the flush that ends the run.
    int indexOf(const NetObject* target, Reporter& reporter) const;

  private:
    std::unordered_map<const NetObject*, int> index_;
};

// Closed methods: every class must visit at least one station (SN filled);
// reports an Error naming each class that visits none.
void checkEveryClassVisits(const Network& network, const AnalysisContext& context, Reporter& reporter);

}  // namespace kolt

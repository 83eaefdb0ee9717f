// Stations and sources: a source is a Station carrying the source marker.
#pragma once

#include <optional>

#include "discipline.h"
#include "distribution.h"
#include "net_object.h"

namespace kolt {

class Station final : public NetObject {
  public:
    explicit Station(std::string name) : NetObject(std::move(name)) { createRouting(); }

    // 7 for a source, 4 otherwise (also while no discipline is set).
    int type() const override;
    void dump(Reporter& list) const override;

    void setDiscipline(SchedulingKind kind) { discipline_.emplace(kind); }
    const SchedulingDiscipline* discipline() const { return discipline_ ? &*discipline_ : nullptr; }

    const ServiceTable& serviceTable() const { return services_; }
    ServiceTable& serviceTable() { return services_; }

    // Setters used by the parser. Each returns 1 when the class's slot now
    // holds the value, 0 when it was refused (and reports why through the
    // network's reporter).
    int setDet(int classIndex, double mean);
    int setExp(int classIndex, double mean);
    int setUni(int classIndex, double a, double b);
    int setErl(int classIndex, int phases, double mean);
    int setGen(int classIndex, double mean, double variation);
    int addCoxPhase(int classIndex, double probability, double mean);
    int addHipBranch(int classIndex, double probability, double mean);
    int addHistBin(int classIndex, double upperBound, double weight);

  private:
    ServiceTable services_;
    std::optional<SchedulingDiscipline> discipline_;
};

}  // namespace kolt

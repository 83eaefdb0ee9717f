#include "solver/model/discipline.h"

namespace kolt {
namespace {

constexpr int kKindCount = 8;
constexpr int kMethods = 8;

// Which scheduling kind each solution method accepts, [method][kind]. Methods
// in the order MVA, MVAP, HMVA, JACKSON, EPF, DIFF, ITERM, SIMUL; kinds FIFO,
// LIFO, PS, IS, LIFO-PR, PRIOR, PRIOR-PR, source marker.
constexpr int kSchedulingAdmissible[kMethods][kKindCount] = {
    {1, 0, 1, 1, 1, 0, 0, 0},  // MVA
    {1, 0, 1, 1, 1, 1, 1, 0},  // MVAP: the priority approximation
    {1, 0, 1, 1, 1, 0, 0, 0},  // HMVA
    {1, 0, 1, 1, 1, 0, 0, 0},  // JACKSON
    {1, 0, 1, 1, 1, 0, 0, 0},  // EPF
    {1, 0, 0, 0, 0, 0, 0, 0},  // DIFF: single-server FIFO only
    {1, 0, 1, 1, 1, 0, 0, 0},  // ITERM
    {1, 1, 0, 1, 1, 1, 1, 1},  // SIMUL
};

}  // namespace

const char* schedulingName(SchedulingKind kind) {
    switch (kind) {
        case SchedulingKind::Fifo: return "FIFO";
        case SchedulingKind::Lifo: return "LIFO";
        case SchedulingKind::Ps: return "PS";
        case SchedulingKind::Is: return "IS";
        case SchedulingKind::LifoPr: return "LIFO_PR";
        case SchedulingKind::Prior: return "PRIOR_HOL";
        case SchedulingKind::PriorPr: return "PRIOR_PR";
        case SchedulingKind::SourceMarker: return "";
    }
    return "";
}

int SchedulingDiscipline::admissibleFor(int methodIndex) const {
    const int kind = static_cast<int>(kind_);
    if (methodIndex < 0 || methodIndex >= kMethods || kind < 0 || kind >= kKindCount) return 0;
    return kSchedulingAdmissible[methodIndex][kind];
}

}  // namespace kolt

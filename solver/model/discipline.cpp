#include "solver/model/discipline.h"

namespace kolt {

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

}  // namespace kolt

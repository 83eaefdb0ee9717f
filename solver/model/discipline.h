// Scheduling disciplines of stations, and the source marker.
#pragma once

namespace kolt {

enum class SchedulingKind { Fifo = 0, Lifo = 1, Ps = 2, Is = 3, LifoPr = 4, Prior = 5, PriorPr = 6, SourceMarker = 7 };
constexpr int kSchedulingKindCount = 8;

// Name used in messages ("FIFO", "LIFO_PR", "PRIOR_HOL", ...); empty for the source marker.
const char* schedulingName(SchedulingKind kind);

class SchedulingDiscipline {
  public:
    explicit SchedulingDiscipline(SchedulingKind kind) : kind_(kind) {}
    SchedulingKind kind() const { return kind_; }

  private:
    SchedulingKind kind_;
};

}  // namespace kolt

// Priority stations (PRIOR_PR, type 5; PRIOR_HOL, type 6) inside the exact
// MVA recursion. Class 1 has the highest priority, class R the lowest.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "solver/methods/method_codes.h"
#include "solver/methods/mva_state.h"

namespace kolt::methods {

class PriorityApproximation {
  public:
    static constexpr std::int64_t kUtilisationCapacity = 16000;
    static constexpr std::int64_t kWorkCapacity = 12000;
    static constexpr int kStationCapacity = 30;

    // Number of PRIOR_HOL stations: each adds one head-of-line column to the
    // queue table.
    static int headOfLineStations(int M, const int* TYPE);

    // Sizes the tables for the state's bounds and checks their capacity:
    // 0, or the failure flag value kPriorityStationLimit (more stations than
    // kStationCapacity) or kPriorityTableLimit (more entries than the tables
    // hold).
    int prepare(const MvaState& state, std::FILE* roLines);
    bool active() const { return !priorityStations_.empty(); }

    // Values for the empty population, stored at the state's current offset.
    void setEmpty(const MvaState& state);
    // Recomputes the addresses of the current population vector.
    void beginVector(const MvaState& state);
    // Residence time W(r, m) at priority station m; false when the priority
    // divisor leaves [0, 1].
    bool residenceTime(const MvaState& state, int r, int m, double& w) const;
    // Utilisations of class r at its priority stations, once LAMBDA(r) is known.
    void classStep(const MvaState& state, int r);
    // Residual work and N(m) of priority station m at the end of the vector.
    void stationStep(const MvaState& state, int m);

  private:
    double utilisationAt(const MvaState& state, int s, int m, double z) const;

    std::vector<int> priorityStations_;           // station numbers of types 5 and 6
    std::vector<int> headOfLineColumn_;           // 1-based by station; 0 for no column
    std::vector<std::int64_t> P_;                 // P(i) = product of bounds i..R, P(R+1) = 1
    std::vector<std::int64_t> suffix_;            // sum over j >= i of (n(j)-1) P(j+1)
    std::vector<std::int64_t> utilisationBlock_;  // (r, m): start of class r's block at m
    std::vector<std::int64_t> workBlock_;
    std::vector<double> utilisation_;
    std::vector<double> work_;
    std::vector<double> lastClassWork_;  // 1-based by station
    std::FILE* roLines_ = nullptr;
};

}  // namespace kolt::methods

// Output analysis of the simulator: batches of the run, the warm-up to
// delete, and ratio estimates with their confidence intervals.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/methods/simulation/simulation.h"

namespace kolt::methods {

// The batches of the run so far, at most `capacity` of them; when full, the
// neighbours are merged pairwise into batches of twice the length, so the
// store keeps between capacity/2 and capacity batches of equal length in
// events however long the run grows.
//
// Row layout, with P = M*R pairs: [0] the duration, then for pair x the time
// integral of the customers present at 1 + x, of those in service at
// 1 + P + x, and the departures at 1 + 2P + x.
class BatchStore {
  public:
    BatchStore(int pairs, int capacity);
    int count() const { return count_; }
    int capacity() const { return capacity_; }
    int pairs() const { return pairs_; }
    bool full() const { return count_ == capacity_; }
    double* appendRow() { return &rows_[static_cast<std::size_t>(count_++) * width_]; }
    const double* row(int i) const { return &rows_[static_cast<std::size_t>(i) * width_]; }
    void mergePairs();
    static std::int64_t bytes(int pairs, int capacity);

  private:
    int pairs_, capacity_, width_, count_ = 0;
    std::vector<double> rows_;
};

// The stations (with their classes) whose mean number the stop rule watches:
// visits[s*R + r] is 1 when class r can reach station s.
struct Watched {
    int M = 0, R = 0;
    std::vector<char> visits;
};

// Batches to delete as warm-up, by MSER (White, Simulation 69(6), 1997):
// for each watched series y_1..y_n of batch means, the d in 0..n/2 that
// minimises sum over i > d of (y_i - mean after d)^2 / (n - d)^2; the
// largest d over the series.
int warmupBatches(const BatchStore& store, const Watched& watched);

// Estimates from batches d..n-1, combined into 20 to 39 groups of equal
// length (the few oldest left over are dropped too). Every measure is a
// ratio of sums, Y/Z, such as present-time over time (mean number) or
// present-time over departures (time per visit, so that Little's law holds
// in the estimates); its half-width is the delta-method one,
//   t(0.975, B-1) * sqrt(sum (Y_j - r Z_j)^2 / (B-1) / B) / mean Z_j,
// over the B groups. Fills estimate, halfWidth, batches, the precision (the
// largest relative half-width of a watched mean number; infinite with fewer
// than two groups) and where it is. Returns the first batch used.
int estimateFromBatches(const BatchStore& store, int d, const Watched& watched, SimulationResult& result);

// Two-sided Student t quantile: the t with P(|T| <= t) = confidence, for
// confidence 0.95 or 0.99 and df >= 1.
double studentQuantile(double confidence, int df);

}  // namespace kolt::methods

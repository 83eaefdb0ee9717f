#include "solver/methods/simulation/batch_means.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kolt::methods {
namespace {

constexpr int kTargetGroups = 20;

// Sums of one class slot (or all classes, c = -1) at station s over a row.
struct SlotSums {
    double present = 0, inService = 0, departures = 0;
};

SlotSums slotSums(const double* row, int P, int R, int s, int c) {
    SlotSums sums;
    const int first = c < 0 ? 0 : c, last = c < 0 ? R - 1 : c;
    for (int r = first; r <= last; ++r) {
        const int x = s * R + r;
        sums.present += row[1 + x];
        sums.inService += row[1 + P + x];
        sums.departures += row[1 + 2 * P + x];
    }
    return sums;
}

bool watchedSlot(const Watched& w, int s, int c) {
    if (c >= 0) return w.visits[static_cast<std::size_t>(s) * w.R + c] != 0;
    for (int r = 0; r < w.R; ++r)
        if (w.visits[static_cast<std::size_t>(s) * w.R + r]) return true;
    return false;
}

// Ratio of sums over the groups and its half-width.
struct Ratio {
    double value = 0, halfWidth = 0;
};

Ratio ratio(const std::vector<double>& Y, const std::vector<double>& Z, double t) {
    const int B = static_cast<int>(Y.size());
    double sumY = 0, sumZ = 0;
    for (int j = 0; j < B; ++j) {
        sumY += Y[j];
        sumZ += Z[j];
    }
    Ratio result;
    if (!(sumZ > 0)) return result;  // nothing happened: the measure is 0
    result.value = sumY / sumZ;
    if (B < 2) return result;
    double squares = 0;
    for (int j = 0; j < B; ++j) {
        const double e = Y[j] - result.value * Z[j];
        squares += e * e;
    }
    result.halfWidth = t * std::sqrt(squares / (B - 1) / B) / (sumZ / B);
    return result;
}

}  // namespace

BatchStore::BatchStore(int pairs, int capacity)
    : pairs_(pairs),
      capacity_(capacity),
      width_(1 + 3 * pairs),
      rows_(static_cast<std::size_t>(capacity) * (1 + 3 * static_cast<std::size_t>(pairs))) {}

void BatchStore::mergePairs() {
    const int half = count_ / 2;
    for (int i = 0; i < half; ++i) {
        double* target = &rows_[static_cast<std::size_t>(i) * width_];
        const double* a = row(2 * i);
        const double* b = row(2 * i + 1);
        for (int k = 0; k < width_; ++k) target[k] = a[k] + b[k];
    }
    // An odd last batch starts the next pair.
    if (count_ % 2 != 0)
        std::copy(row(count_ - 1), row(count_ - 1) + width_, &rows_[static_cast<std::size_t>(half) * width_]);
    count_ = half + count_ % 2;
}

std::int64_t BatchStore::bytes(int pairs, int capacity) {
    return static_cast<std::int64_t>(capacity) * (1 + 3 * static_cast<std::int64_t>(pairs)) * sizeof(double);
}

int warmupBatches(const BatchStore& store, const Watched& watched) {
    const int n = store.count(), P = store.pairs();
    if (n < 4) return 0;
    std::vector<double> y(n);
    int deleted = 0;
    for (int s = 0; s < watched.M; ++s) {
        for (int c = -1; c < watched.R; ++c) {
            if (!watchedSlot(watched, s, c)) continue;
            for (int i = 0; i < n; ++i) {
                const double* row = store.row(i);
                y[i] = row[0] > 0 ? slotSums(row, P, watched.R, s, c).present / row[0] : 0.0;
            }
            // Suffix sums give every candidate d in one backward pass.
            double sum = 0, squares = 0, best = std::numeric_limits<double>::infinity();
            int bestD = 0;
            for (int d = n - 1; d >= 0; --d) {
                sum += y[d];
                squares += y[d] * y[d];
                if (d > n / 2) continue;
                const double k = n - d;
                const double mser = std::max(0.0, squares - sum * sum / k) / (k * k);
                if (mser <= best) {
                    best = mser;
                    bestD = d;
                }
            }
            deleted = std::max(deleted, bestD);
        }
    }
    return deleted;
}

int estimateFromBatches(const BatchStore& store, int d, const Watched& watched, SimulationResult& result) {
    const int M = watched.M, R = watched.R, P = store.pairs();
    const int kept = store.count() - d;
    const int size = std::max(1, kept / kTargetGroups);
    const int B = kept / size;
    const int start = store.count() - B * size;

    // Group sums per pair, in the row layout.
    const int width = 1 + 3 * P;
    std::vector<double> groups(static_cast<std::size_t>(B) * width, 0.0);
    for (int j = 0; j < B; ++j)
        for (int i = start + j * size; i < start + (j + 1) * size; ++i) {
            const double* row = store.row(i);
            for (int k = 0; k < width; ++k) groups[static_cast<std::size_t>(j) * width + k] += row[k];
        }

    const double t = studentQuantile(0.95, B - 1);
    result.estimate.assign(static_cast<std::size_t>(M) * (R + 1), StationMeasures{});
    result.halfWidth.assign(result.estimate.size(), StationMeasures{});
    result.batches = B;
    result.precision = B < 2 ? HUGE_VAL : 0.0;
    result.worstStation = 0;
    result.worstClass = -1;

    std::vector<double> T(B), A(B), S(B), D(B), Q(B);
    for (int s = 0; s < M; ++s) {
        for (int c = -1; c < R; ++c) {
            for (int j = 0; j < B; ++j) {
                const double* row = &groups[static_cast<std::size_t>(j) * width];
                const SlotSums sums = slotSums(row, P, R, s, c);
                T[j] = row[0];
                A[j] = sums.present;
                S[j] = sums.inService;
                D[j] = sums.departures;
                Q[j] = sums.present - sums.inService;
            }
            StationMeasures& e = result.estimate[static_cast<std::size_t>(s) * (R + 1) + (c + 1)];
            StationMeasures& h = result.halfWidth[static_cast<std::size_t>(s) * (R + 1) + (c + 1)];
            auto put = [&](double StationMeasures::*measure, const std::vector<double>& Y,
                           const std::vector<double>& Z) {
                const Ratio r = ratio(Y, Z, t);
                e.*measure = r.value;
                h.*measure = r.halfWidth;
            };
            put(&StationMeasures::number, A, T);
            put(&StationMeasures::busy, S, T);
            put(&StationMeasures::queueNumber, Q, T);
            put(&StationMeasures::throughput, D, T);
            put(&StationMeasures::time, A, D);
            put(&StationMeasures::queueTime, Q, D);
            put(&StationMeasures::serviceTime, S, D);

            if (!watchedSlot(watched, s, c)) continue;
            const double relative = e.number > 0 ? h.number / e.number : h.number > 0 ? HUGE_VAL : 0.0;
            if (relative > result.precision) {
                result.precision = relative;
                result.worstStation = s;
                result.worstClass = c;
            }
        }
    }
    return start;
}

double studentQuantile(double confidence, int df) {
    // Two-sided 95% and 99% points for 1..40 degrees of freedom; beyond, the
    // Cornish-Fisher expansion about the normal point.
    static const double k95[40] = {12.706, 4.303, 3.182, 2.776, 2.571, 2.447, 2.365, 2.306, 2.262, 2.228,
                                   2.201,  2.179, 2.160, 2.145, 2.131, 2.120, 2.110, 2.101, 2.093, 2.086,
                                   2.080,  2.074, 2.069, 2.064, 2.060, 2.056, 2.052, 2.048, 2.045, 2.042,
                                   2.040,  2.037, 2.035, 2.032, 2.030, 2.028, 2.026, 2.024, 2.023, 2.021};
    static const double k99[40] = {63.657, 9.925, 5.841, 4.604, 4.032, 3.707, 3.499, 3.355, 3.250, 3.169,
                                   3.106,  3.055, 3.012, 2.977, 2.947, 2.921, 2.898, 2.878, 2.861, 2.845,
                                   2.831,  2.819, 2.807, 2.797, 2.787, 2.779, 2.771, 2.763, 2.756, 2.750,
                                   2.744,  2.738, 2.733, 2.728, 2.724, 2.719, 2.715, 2.712, 2.708, 2.704};
    const bool ninetyNine = confidence > 0.97;
    df = std::max(df, 1);
    if (df <= 40) return (ninetyNine ? k99 : k95)[df - 1];
    const double z = ninetyNine ? 2.5758293035489 : 1.9599639845401;
    const double z3 = z * z * z, z5 = z3 * z * z;
    return z + (z3 + z) / (4.0 * df) + (5 * z5 + 16 * z3 + 3 * z) / (96.0 * df * df);
}

}  // namespace kolt::methods

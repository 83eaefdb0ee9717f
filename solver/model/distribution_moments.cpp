// Mean and coefficient of variation of the distribution kinds that are not
// given directly by their parameters. The analysis reads only these two
// numbers from a distribution; all arithmetic is in double precision and the
// parameters are taken as the parser checked them.
#include <algorithm>
#include <cmath>

#include "solver/model/distribution.h"

namespace kolt {
namespace {

// sqrt that treats a variance pushed just below zero by rounding as zero, so
// that a distribution concentrated at one point reports 0 rather than NaN.
double rootOfVariance(double variance) { return variance > 0.0 ? std::sqrt(variance) : 0.0; }

}  // namespace

// Uniform on [a, b]: mean (a+b)/2; standard deviation (b-a)/sqrt(12), hence
// variation (b-a) / (a+b) / sqrt(3). Both are formed from the halves a/2 and
// b/2, so that bounds near the top of the double range do not overflow; the
// halves are exact, so the mean is that of the plain formula.
double UniDistribution::mean() const { return a_ / 2.0 + b_ / 2.0; }
double UniDistribution::variation() const { return (b_ / 2.0 - a_ / 2.0) / (a_ / 2.0 + b_ / 2.0) / std::sqrt(3.0); }

// Erlang with k phases: variation 1/sqrt(k), whatever the mean.
double ErlDistribution::variation() const { return 1.0 / std::sqrt(static_cast<double>(k_)); }

// Cox with phases (a_i, t_i), i = 1..n, and the running product
// A_i = a_1·a_2·…·a_i (the probability of reaching phase i):
//   mean  = Σ A_i·t_i
//   E[T²] = Σ A_i·2t_i² + 2·Σ_{i<j} A_j·t_i·t_j
// (phase i's exponential contributes its own second moment, and each pair of
// phases that are both reached the product of their means). Subtracting the
// square of the mean leaves the variance as a sum of terms that are never
// negative:
//   Var = Σ A_i·t_i² + Σ A_i·(1 − A_i)·t_i² + 2·Σ_j A_j·t_j·Σ_{i<j} (1 − A_i)·t_i
// For a chain of phases that are all entered (every A_i = 1) only the first
// sum remains, the variance of a sum of independent exponentials: two phases
// of mean 1 give mean 2 and variation 1/sqrt(2). Cost O(n) with a running
// sum of (1 − A_i)·t_i.
double CoxDistribution::mean() const {
    double reach = 1.0;
    double sum = 0.0;
    for (size_t i = 0; i < first_.size(); ++i) {
        reach *= first_[i];
        sum += reach * second_[i];
    }
    return sum;
}

double CoxDistribution::variation() const {
    double reach = 1.0;
    double squares = 0.0;
    double stopping = 0.0;  // Σ A_i·(1 − A_i)·t_i²
    double pairs = 0.0;     // Σ_j A_j·t_j·Σ_{i<j} (1 − A_i)·t_i
    double missedBefore = 0.0;
    for (size_t i = 0; i < first_.size(); ++i) {
        reach *= first_[i];
        const double t = second_[i];
        squares += reach * t * t;
        stopping += reach * (1.0 - reach) * t * t;
        pairs += reach * t * missedBefore;
        missedBefore += (1.0 - reach) * t;
    }
    return std::sqrt(squares + stopping + 2.0 * pairs) / mean();
}

// Hyperexponential with branches (p_i, t_i): mean m = Σ p_i·t_i. With
//   S = Σ over all ordered pairs (i, j) of p_i·p_j·(t_i − t_j)²
// the second moment Σ 2·p_i·t_i² equals S + 2m² when the p_i sum to 1, so the
// variance is m² + S and
//   variation = sqrt(m² + S) / m.
// Expanding the square, S = 2·(P·Σ p_i·t_i² − m²) with P = Σ p_i, which is
// added up in one pass: cost O(n) rather than O(n²) over the pairs, so that a
// list of a million branches does not stall the analysis.
double HipDistribution::mean() const {
    double sum = 0.0;
    for (size_t i = 0; i < first_.size(); ++i) sum += first_[i] * second_[i];
    return sum;
}

double HipDistribution::variation() const {
    double P = 0.0;
    double m = 0.0;
    double squares = 0.0;
    for (size_t i = 0; i < first_.size(); ++i) {
        P += first_[i];
        m += first_[i] * second_[i];
        squares += first_[i] * second_[i] * second_[i];
    }
    // S is a sum of squares; rounding in the difference must not make it
    // negative.
    const double S = std::max(0.0, 2.0 * (P * squares - m * m));
    return std::sqrt(m * m + S) / m;
}

// Histogram with bins (x_i, w_i): bin i is uniform on [x_(i-1), x_i], x_0 = 0,
// with weight w_i; W = Σ w_i (the weights need not sum to 1).
//   mean = Σ w_i·(x_(i-1) + x_i)/2 / W
//   T_i  = w_i·(x_i³ − x_(i-1)³) / (3·(x_i − x_(i-1)))   (second moment of the bin)
//   T_i  = w_i·x_i²                                      when x_i = x_(i-1) (a point mass)
//   E2   = Σ T_i / W,   variation = sqrt(E2 − mean²) / mean.
// One bin [0, 2] is the uniform distribution: mean 1, variation 1/sqrt(3).
// Cost O(n).
double HistDistribution::mean() const {
    double weights = 0.0;
    double sum = 0.0;
    double lower = 0.0;
    for (size_t i = 0; i < first_.size(); ++i) {
        const double upper = first_[i];
        weights += second_[i];
        sum += second_[i] * (lower + upper) / 2.0;
        lower = upper;
    }
    // An empty histogram (as createEmpty makes it) has mean 0, not 0/0.
    return weights != 0.0 ? sum / weights : 0.0;
}

double HistDistribution::variation() const {
    double weights = 0.0;
    double T = 0.0;
    double lower = 0.0;
    for (size_t i = 0; i < first_.size(); ++i) {
        const double upper = first_[i];
        const double w = second_[i];
        weights += w;
        if (upper != lower) {
            T += w * (upper * upper * upper - lower * lower * lower) / (3.0 * (upper - lower));
        } else {
            T += w * upper * upper;
        }
        lower = upper;
    }
    const double m = mean();
    const double E2 = T / weights;
    return rootOfVariance(E2 - m * m) / m;
}

}  // namespace kolt

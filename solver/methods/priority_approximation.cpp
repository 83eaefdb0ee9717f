// Priority approximation inside the exact MVA recursion (MVAP).
//
// Assumptions: a priority station is one server; class 1 has the highest
// priority, class R the lowest; the other stations are as in exact MVA.
// A class r customer arriving at priority station m waits for the residual
// work b of its own and higher classes found there (read at n - e_r), and its
// service is stretched by the share of the server the higher classes take:
//   F = 1 - sum over higher classes s visiting m of U(s, m) at the population
//       with Q(s, m) class-s customers fewer (linear interpolation between the
//       two neighbouring whole populations),
//   PRIOR_PR:  W(r, m) = (THETA(r, m) * b + D(r, m)) / F
//   PRIOR_HOL: W(r, m) = THETA(r, m) * b' / F + D(r, m),
// where b' adds to b the residual service TAU(s, m) * U(s, m) of the lower
// classes that may be in service. U(r, m) = D(r, m) * X(r).
//
// Tables: the utilisation of class r < R at m is kept for every population of
// classes r..R, the cumulative residual work of classes 1..r (1 < r < R) for
// every population of classes r+1..R, with P(i) = prod over j >= i of
// (K(j)+1) entries per block; the higher classes are implied by the order of
// enumeration (class 1 slowest). The class-1 work lives in the station's
// queue-table column, the utilisation of class R at a PRIOR_HOL station in its
// own head-of-line column, the work of all classes in one value per station
// read at the next population vector.
//
// Cost: O(R) extra per class and priority station per population vector.
// Limits: 16000 utilisation and 12000 work entries, 30 stations; a network
// needing more is refused. F outside [0, 1] means the approximation has
// broken down (the higher classes saturate the server): the run fails.
#include "solver/methods/priority_approximation.h"

#include <cmath>
#include <limits>

namespace kolt::methods {
namespace {

// Products of bounds stop growing here: any block this large is refused.
constexpr std::int64_t kSaturated = std::numeric_limits<std::int64_t>::max() / 4;

std::int64_t saturatingProduct(std::int64_t a, std::int64_t b) { return a > kSaturated / b ? kSaturated : a * b; }

}  // namespace

int PriorityApproximation::headOfLineStations(int M, const int* TYPE) {
    int count = 0;
    for (int m = 0; m < M; ++m)
        if (TYPE[m] == kClosedPriorHol) ++count;
    return count;
}

int PriorityApproximation::prepare(const MvaState& s, std::FILE* roLines) {
    const int M = s.M;
    const int R = s.R;
    roLines_ = roLines;
    priorityStations_.clear();
    for (int m = 1; m <= M; ++m)
        if (isPriorityStation(s.TYPE[m - 1])) priorityStations_.push_back(m);
    if (priorityStations_.empty()) return 0;
    if (M > kStationCapacity) return kPriorityStationLimit;

    P_.assign(R + 2, 1);
    for (int i = R; i >= 1; --i) P_[i] = saturatingProduct(P_[i + 1], s.bound[i - 1]);
    suffix_.assign(R + 2, 0);

    headOfLineColumn_.assign(M + 1, 0);
    utilisationBlock_.assign(static_cast<std::size_t>(R) * M, 0);
    workBlock_.assign(static_cast<std::size_t>(R) * M, 0);
    int headOfLine = 0;
    std::int64_t utilisationTotal = 0;  // sum of B2 over the stations so far
    std::int64_t workTotal = 0;         // sum of B1
    for (int m : priorityStations_) {
        if (s.TYPE[m - 1] == kClosedPriorHol) headOfLineColumn_[m] = M + ++headOfLine;
        // Blocks of a station run from the lowest class up: class r starts
        // after the blocks of the classes r+1..R-1 that visit m.
        std::int64_t utilisationOffset = 0;
        std::int64_t workOffset = 0;
        for (int r = R - 1; r >= 1; --r) {
            if (!s.visits(r, m)) continue;
            utilisationBlock_[s.rm(r, m)] = utilisationTotal + utilisationOffset;
            utilisationOffset += P_[r];
            if (r >= 2) {
                workBlock_[s.rm(r, m)] = workTotal + workOffset;
                workOffset += P_[r + 1];
            }
            if (utilisationOffset > kUtilisationCapacity || workOffset > kWorkCapacity) return kPriorityTableLimit;
        }
        // A work block of size 1 keeps its own entry.
        utilisationTotal += utilisationOffset;
        workTotal += workOffset;
        if (utilisationTotal > kUtilisationCapacity || workTotal > kWorkCapacity) return kPriorityTableLimit;
    }
    utilisation_.assign(static_cast<std::size_t>(utilisationTotal), 0.0);
    work_.assign(static_cast<std::size_t>(workTotal), 0.0);
    lastClassWork_.assign(M + 1, 0.0);
    return 0;
}

void PriorityApproximation::setEmpty(const MvaState& s) {
    for (int m : priorityStations_) {
        s.queueAt(m, 0) = 0.0;
        if (headOfLineColumn_[m] != 0) s.queueAt(headOfLineColumn_[m], 0) = 0.0;
    }
}

void PriorityApproximation::beginVector(const MvaState& s) {
    for (int i = s.R; i >= 1; --i) suffix_[i] = suffix_[i + 1] + static_cast<std::int64_t>(s.n[i] - 1) * P_[i + 1];
}

// U(s, m) with class s's population index replaced by z (real, interpolated).
double PriorityApproximation::utilisationAt(const MvaState& st, int s, int m, double z) const {
    // Rounding can put Q(s, m) a hair above the class's population or below
    // 0; the read must stay within the class's populations.
    const int top = st.n[s];
    if (!(z >= 1.0)) z = 1.0;
    if (z > top) z = top;
    const std::int64_t base =
        utilisationBlock_[st.rm(s, m)] + suffix_[s] - static_cast<std::int64_t>(top - 1) * P_[s + 1];
    const double whole = std::trunc(z);
    const double weight = z - whole;
    const std::int64_t below = base + (static_cast<std::int64_t>(whole) - 1) * P_[s + 1];
    if (weight == 0.0) return utilisation_[below];
    return utilisation_[below] + weight * (utilisation_[below + P_[s + 1]] - utilisation_[below]);
}

bool PriorityApproximation::residenceTime(const MvaState& st, int r, int m, double& w) const {
    const int R = st.R;
    const std::size_t x = st.rm(r, m);
    if (st.n[r] == 1) {
        w = 0.0;
        return true;
    }
    double F = 1.0;
    for (int s = 1; s < r; ++s) {
        if (!st.visits(s, m)) continue;
        const double y = st.LAMBDA[s - 1] * st.W[st.rm(s, m)];
        F -= utilisationAt(st, s, m, st.n[s] - y);
    }
    if (!(F >= 0.0 && F <= 1.0)) return false;

    double b;
    if (r == 1)
        b = st.queueAt(m, st.offsetWithout(1));
    else if (r < R)
        b = work_[workBlock_[x] + suffix_[r + 1]];
    else
        b = lastClassWork_[m];

    if (st.TYPE[m - 1] == kClosedPriorPr) {
        w = (st.THETA[x] * b + st.D[x]) / F;
        return true;
    }
    if (r < R) {
        for (int s = r + 1; s <= R - 1; ++s)
            if (st.visits(s, m)) b += st.tau[st.rm(s, m)] * utilisation_[utilisationBlock_[st.rm(s, m)] + suffix_[s]];
        if (st.visits(R, m)) b += st.tau[st.rm(R, m)] * st.queueAt(headOfLineColumn_[m], st.offsetWithout(r));
    }
    w = st.THETA[x] * b / F + st.D[x];
    return true;
}

void PriorityApproximation::classStep(const MvaState& st, int r) {
    const int R = st.R;
    for (int m : priorityStations_) {
        if (!st.visits(r, m)) continue;
        const bool headOfLine = st.TYPE[m - 1] == kClosedPriorHol;
        if (r == R && !headOfLine) continue;
        const double u = st.D[st.rm(r, m)] * st.LAMBDA[r - 1];
        if ((u < 0.0 || u > 1.0) && roLines_) std::fprintf(roLines_, "%d %d RO = %f\n", r, m, u);
        if (r < R)
            utilisation_[utilisationBlock_[st.rm(r, m)] + suffix_[r]] = u;
        else
            st.queueAt(headOfLineColumn_[m], st.offset) = u;
    }
}

void PriorityApproximation::stationStep(const MvaState& st, int m) {
    const int R = st.R;
    auto q = [&](int r) { return st.visits(r, m) ? st.LAMBDA[r - 1] * st.W[st.rm(r, m)] : 0.0; };
    double A = st.tau[st.rm(1, m)] * q(1);
    if (st.visits(1, m)) st.queueAt(m, st.offset) = A;
    for (int r = 2; r <= R - 1; ++r)
        if (st.visits(r, m)) {
            A += st.tau[st.rm(r, m)] * q(r);
            work_[workBlock_[st.rm(r, m)] + suffix_[r + 1]] = A;
        }
    if (st.visits(R, m)) lastClassWork_[m] = A + st.tau[st.rm(R, m)] * q(R);
    double total = 0.0;
    for (int r = 1; r <= R; ++r) total += q(r);
    st.N[m - 1] = total;
}

}  // namespace kolt::methods

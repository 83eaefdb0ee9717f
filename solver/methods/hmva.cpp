// Approximate MVA with correction terms (HMVA) for closed multi-class
// networks.
//
// Assumptions: as exact MVA (product form, single-server queueing stations
// and IS delay stations), but the populations are not enumerated. The queue a
// class-r customer finds at station m is estimated from the queues at the
// full population K:
//   W(r, m) = TAU(r, m) (1 + sum_s (K(s) - [s = r]) (f(s, m) + D(s, m, r)))
//   f(s, m) = Q(s, m) / K(s)  (rounded to single precision)
//   X(r)    = K(r) / sum_m THETA(r, m) W(r, m),  Q(r, m) = X(r) THETA(r, m) W(r, m)
// iterated to a fixed point (change per customer at most 1 / (16 sum K + 4000)).
// D(s, m, r) corrects the fraction of class s at m for the removal of one
// class-r customer; it is estimated from fixed points at K - e_r:
//   D(s, m, r) = Qb(s, m, r) / (K(s) - [s = r]) - Q(s, m) / K(s).
// With D = 0 this is Schweitzer's approximation; the correction terms are
// those of Chandy and Neuse's linearizer (C. ACM 25(2), 1982), refined twice.
//
// Cost: (2 + 2 (R + 1)) fixed points of O(R^2 M) per pass (the rounded
// f(s, m) is formed once per station, not once per class); memory 2 R^2 M
// doubles in ADP after the visit ratios are done with it.
//
// Outside the assumptions: the fixed point is not guaranteed to exist or to
// be reached; after kMaxPasses passes the run fails with the flag. A class
// with no customers has no population K - e_r: its correction terms stay 0.
#include <cmath>
#include <cstddef>

#include <vector>

#include "solver/methods/array_index.h"
#include "solver/methods/method_codes.h"
#include "solver/methods/methods.h"
#include "solver/methods/visit_ratios.h"

namespace kolt::methods {
namespace {

// Far beyond what a convergent iteration needs (typically tens to hundreds).
constexpr int kMaxPasses = 100000;

struct Hmva {
    int M, R;
    int* K;
    const int* TYPE;
    const double* TAU;
    const double* THETA;
    double* W;
    double* D;                                           // correction terms, R x M x R
    std::vector<double> f = std::vector<double>(R + 1);  // f(s, m) of one station, once for all its classes
    std::size_t rm(int r, int m) const { return classStation(R, r, m); }
    std::size_t rmr(int a, int m, int b) const { return classStationClass(R, M, a, m, b); }

    // Fixed point at the population K holds now; Q is read and rewritten.
    bool solveFixedPoint(double* Q) {
        long long T = 0;
        for (int r = 1; r <= R; ++r) T += K[r - 1];
        const double tol = 1.0 / (16.0 * static_cast<double>(T) + 4000.0);
        for (int pass = 0; pass < kMaxPasses; ++pass) {
            for (int m = 1; m <= M; ++m) {
                if (TYPE[m - 1] == kClosedIs) {
                    for (int r = 1; r <= R; ++r) W[rm(r, m)] = TAU[rm(r, m)];
                    continue;
                }
                for (int s = 1; s <= R; ++s) {
                    const int k = K[s - 1];
                    f[s] = k == 0 ? 0.0 : static_cast<float>(Q[rm(s, m)] / k);
                }
                for (int r = 1; r <= R; ++r) {
                    double seen = 1.0;
                    for (int s = 1; s <= R; ++s) seen += (K[s - 1] - (s == r ? 1 : 0)) * (f[s] + D[rmr(s, m, r)]);
                    W[rm(r, m)] = TAU[rm(r, m)] * seen;
                }
            }
            double largest = 0.0;
            for (int r = 1; r <= R; ++r) {
                double C = 0.0;
                for (int m = 1; m <= M; ++m) C += THETA[rm(r, m)] * W[rm(r, m)];
                const int k = K[r - 1];
                for (int m = 1; m <= M; ++m) {
                    double estimate = 0.0;
                    if (C != 0.0 && k != 0) {
                        estimate = k * THETA[rm(r, m)] * W[rm(r, m)] / C;
                        const double change = std::fabs(Q[rm(r, m)] - estimate) / k;
                        if (change > largest) largest = change;
                    }
                    Q[rm(r, m)] = estimate;
                }
            }
            if (largest <= tol) return true;
        }
        return false;
    }
};

}  // namespace

void approximateMva(int M, int R, std::int64_t L, int* K, const int* TYPE, const int* SR, double* TAU, const int* SN,
                    double* ADP, const int* INDEX, int /*mode: only 0 is defined*/, double* THETA, double* LAMBDA,
                    double* W, double* N, int& failed, const RoutingLists* lists) {
    failed = 0;
    bool valid = M >= 1 && R >= 1;
    for (int r = 0; valid && r < R; ++r) valid = K[r] >= 0;
    if (!valid) {
        failed = kClosedNetworkFailed;
        return;
    }
    checkRoutingAndSolveVisitRatios(M, R, L, ADP, SR, SN, INDEX, lists, THETA, failed);
    if (failed) return;

    const std::size_t RM = static_cast<std::size_t>(R) * M;
    if (static_cast<std::int64_t>(2 * R * RM) > L) {
        failed = kClosedNetworkFailed;
        return;
    }
    // The fixed point reads THETA of every pair; unvisited ones weigh nothing.
    for (std::size_t x = 0; x < RM; ++x)
        if (!(SR[x] & 0xFF)) THETA[x] = 0.0;

    Hmva h{M, R, K, TYPE, TAU, THETA, W, ADP};
    double* Q = LAMBDA;
    double* Qb = ADP + R * RM;
    for (int r = 1; r <= R; ++r)
        for (int m = 1; m <= M; ++m) {
            const int k = K[r - 1];
            Q[h.rm(r, m)] = static_cast<double>(k) / M;
            for (int s = 1; s <= R; ++s) {
                h.D[h.rmr(r, m, s)] = 0.0;
                Qb[h.rmr(r, m, s)] =
                    s == r ? static_cast<double>(static_cast<float>(k - 1) / static_cast<float>(M)) : double(k) / M;
            }
        }

    for (int pass = 1; pass <= 2; ++pass) {
        if (!h.solveFixedPoint(Q)) {
            failed = kClosedNetworkFailed;
            return;
        }
        for (int s = 1; s <= R; ++s) {
            if (K[s - 1] == 0) continue;
            --K[s - 1];
            const bool converged = h.solveFixedPoint(Qb + h.rmr(1, 1, s));
            ++K[s - 1];
            if (!converged) {
                failed = kClosedNetworkFailed;
                return;
            }
        }
        for (int m = 1; m <= M; ++m)
            for (int r = 1; r <= R; ++r) {
                const int kr = K[r - 1];
                const double F = kr == 0 ? 0.0 : Q[h.rm(r, m)] / kr;
                for (int s = 1; s <= R; ++s) {
                    if (K[s - 1] == 0) continue;
                    const int k = kr - (s == r ? 1 : 0);
                    h.D[h.rmr(r, m, s)] = (k == 0 ? 0.0 : Qb[h.rmr(r, m, s)] / k) - F;
                }
            }
    }
    if (!h.solveFixedPoint(Q)) {
        failed = kClosedNetworkFailed;
        return;
    }
    for (std::size_t x = 0; x < RM; ++x) N[x] = W[x] != 0.0 ? Q[x] / W[x] : 0.0;
}

}  // namespace kolt::methods

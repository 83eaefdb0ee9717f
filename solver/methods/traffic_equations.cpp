// Traffic equations of an open network.
//
// Assumptions: pairs (station m, class r) are numbered (m-1)*R + r; BP(i, j)
// is the probability that a customer of pair j goes next to pair i and
// column RM+1 holds minus the external arrival rate of each pair. Every
// customer eventually leaves, so I - P is non-singular.
//
// The arrival rates solve lambda(i) = lambda0(i) + sum_j P(i, j) lambda(j),
// i.e. (P - I) lambda = -lambda0, by Gauss-Jordan elimination without
// pivoting (the diagonal of I - P dominates for a network that is left with
// positive probability). Cost O(RM^3) at most; an update by a zero entry of
// the pivot row or a zero multiplier is skipped, as it would subtract an
// exact 0, which leaves the sparse routing of most networks near O(RM^2).
// Above kSparseThreshold pairs the driver hands the routing as lists, solved
// by the sparse LU in time and memory near linear in the transitions.
//
// Outside the assumptions: a closed loop of pairs that is never left makes a
// pivot exactly zero, which is reported; a nearly singular system is not
// detected and gives large or negative rates.
#include "solver/methods/traffic_equations.h"

#include <cmath>
#include <cstddef>

#include "solver/methods/sparse_system.h"

namespace kolt::methods {

bool eliminateGaussJordan(int n, double* A) {
    auto at = [A, n](int i, int j) -> double& { return A[static_cast<std::size_t>(j - 1) * n + (i - 1)]; };
    std::vector<int> rows;  // rows other than k with a non-zero multiplier
    rows.reserve(n);
    for (int k = 1; k <= n; ++k) {
        const double pivot = at(k, k);
        if (pivot == 0.0) return false;
        // x - a*0 is x for every finite a, and x - 0*f is x for every finite
        // f: such updates are skipped (an exact zero may then keep the other
        // sign, which no later step and no printed value tells apart). A
        // non-finite value in them (0 * inf is NaN) makes the step run in full.
        rows.clear();
        bool finite = true;
        for (int i = 1; i <= n; ++i) {
            if (i == k) continue;
            const double a = at(i, k);
            if (a != 0.0) rows.push_back(i);
            finite = finite && std::isfinite(a);
        }
        for (int j = k + 1; j <= n + 1; ++j) {
            at(k, j) /= pivot;
            const double f = at(k, j);
            if (finite && std::isfinite(f)) {
                if (f == 0.0) continue;
                for (int i : rows) at(i, j) -= at(i, k) * f;
            } else {
                for (int i = 1; i <= n; ++i)
                    if (i != k) at(i, j) -= at(i, k) * f;
            }
        }
    }
    return true;
}

bool solveTrafficEquations(int RM, double* BP, double* LMBNR) {
    for (int i = 1; i <= RM; ++i) BP[static_cast<std::size_t>(i - 1) * RM + (i - 1)] -= 1.0;
    if (!eliminateGaussJordan(RM, BP)) return false;
    for (int i = 1; i <= RM; ++i) LMBNR[i - 1] = BP[static_cast<std::size_t>(RM) * RM + (i - 1)];
    return true;
}

bool solveTrafficEquations(int RM, const OpenRouting& routing, double* LMBNR) {
    // Column j of P - I: what pair j sends to each pair, minus itself.
    SparseColumns A;
    for (int j = 0; j < RM; ++j) {
        A.add(j, -1.0);
        for (std::int64_t k = routing.start[j]; k < routing.start[j + 1]; ++k)
            A.add(routing.target[k], routing.probability[k]);
        A.endColumn();
    }
    return solveSparse(A, routing.minusExternalRate.data(), LMBNR);
}

void stationLoad(int R, int m, const double* TAU, const double* LMBNR, double* OBCNR, double* LAMBN, double* OBCN) {
    LAMBN[m - 1] = 0.0;
    OBCN[m - 1] = 0.0;
    for (int r = 1; r <= R; ++r) {
        const std::size_t x = static_cast<std::size_t>(m - 1) * R + (r - 1);
        if (TAU[x] == 0.0) {
            OBCNR[x] = 0.0;
            continue;
        }
        OBCNR[x] = LMBNR[x] / TAU[x];
        OBCN[m - 1] += OBCNR[x];
        LAMBN[m - 1] += LMBNR[x];
    }
}

}  // namespace kolt::methods

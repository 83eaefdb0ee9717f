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
// positive probability). Cost O(RM^3).
//
// Outside the assumptions: a closed loop of pairs that is never left makes a
// pivot exactly zero, which is reported; a nearly singular system is not
// detected and gives large or negative rates.
#include "solver/methods/traffic_equations.h"

#include <cstddef>

namespace kolt::methods {

bool solveTrafficEquations(int RM, double* BP, double* LMBNR) {
    auto at = [BP, RM](int i, int j) -> double& { return BP[static_cast<std::size_t>(j - 1) * RM + (i - 1)]; };
    for (int i = 1; i <= RM; ++i) at(i, i) -= 1.0;
    for (int k = 1; k <= RM; ++k) {
        const double pivot = at(k, k);
        if (pivot == 0.0) return false;
        for (int j = k + 1; j <= RM + 1; ++j) {
            at(k, j) /= pivot;
            const double f = at(k, j);
            for (int i = 1; i <= RM; ++i)
                if (i != k) at(i, j) -= at(i, k) * f;
        }
    }
    for (int i = 1; i <= RM; ++i) LMBNR[i - 1] = at(i, RM + 1);
    return true;
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

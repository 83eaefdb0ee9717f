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
// positive probability). Cost O(RM^3) at most, near O(RM^2) for the sparse
// routing of most networks. Above kSparseThreshold pairs the driver hands the
// routing as lists, solved by the sparse LU in time and memory near linear in
// the transitions.
//
// Outside the assumptions: a closed loop of pairs that is never left is
// refused before the solve (everyCustomerCanLeave), and would make a pivot
// exactly zero; a nearly singular system is not detected and gives large or
// negative rates.
#include "solver/methods/traffic_equations.h"

#include <cstddef>

#include "solver/methods/array_index.h"
#include "solver/methods/gauss_jordan.h"
#include "solver/methods/open_topology.h"
#include "solver/methods/sparse_system.h"

namespace kolt::methods {

bool solveTrafficEquations(int RM, double* BP, double* LMBNR) {
    for (int i = 1; i <= RM; ++i) BP[columnMajor(RM, i, i)] -= 1.0;
    if (!eliminateGaussJordan(RM, BP)) return false;
    for (int i = 1; i <= RM; ++i) LMBNR[i - 1] = BP[columnMajor(RM, i, RM + 1)];
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

bool solveArrivalRates(int RM, double* BP, const OpenRouting* lists, double* LMBNR) {
    if (lists) return everyCustomerCanLeave(RM, *lists) && solveTrafficEquations(RM, *lists, LMBNR);
    return everyCustomerCanLeave(RM, BP) && solveTrafficEquations(RM, BP, LMBNR);
}

void stationLoad(int R, int m, const double* TAU, const double* LMBNR, double* OBCNR, double* LAMBN, double* OBCN) {
    LAMBN[m - 1] = 0.0;
    OBCN[m - 1] = 0.0;
    for (int r = 1; r <= R; ++r) {
        const std::size_t x = classStation(R, r, m);
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

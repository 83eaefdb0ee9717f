// Traffic equations of an open multi-class network, shared by JACKSON and
// DIFF.
#pragma once

#include <cstdint>
#include <vector>

namespace kolt::methods {

// Failure codes of the open-network methods, as the driver words them.
enum OpenFailure : int {
    kInfiniteServiceTime = 25,
    kZeroUtilisation = 26,
    kZeroThroughput = 28,
    kZeroQueueLength = 29,
    kOverloaded = 30,
    kImproperTopology = 33,
};

// The routing of an open network as lists, for networks whose traffic matrix
// is too large to hold densely. Pairs (station m, class r) are numbered
// (m-1)*R + r - 1 from 0; pair j sends its customers to pair target[k] with
// probability[k] for k in start[j] .. start[j+1] - 1 (the exit is left out),
// and minusExternalRate[j] is minus the external arrival rate of pair j.
struct OpenRouting {
    std::vector<std::int64_t> start;
    std::vector<int> target;
    std::vector<double> probability;
    std::vector<double> minusExternalRate;
};

// Gauss-Jordan elimination without pivoting of the n x (n+1) system A (by
// columns, the right-hand side last), in place: the solution ends in the
// last column. False on an exactly zero pivot.
bool eliminateGaussJordan(int n, double* A);

// Solves (P - I) lambda = -lambda0 in place on BP, RM x (RM+1) by columns;
// the arrival rates end in the last column and are copied to LMBNR. False on
// an exactly zero pivot.
bool solveTrafficEquations(int RM, double* BP, double* LMBNR);

// The same system from routing lists, by the sparse LU. False when it is
// singular or too badly conditioned to trust.
bool solveTrafficEquations(int RM, const OpenRouting& routing, double* LMBNR);

// The load of station m (from 1) once the arrival rates are known: per class
// OBCNR(r, m) = LMBNR(r, m) / TAU(r, m), the service rate, or 0 for a class
// without service there; their sum in OBCN(m) and the station's total arrival
// rate in LAMBN(m).
void stationLoad(int R, int m, const double* TAU, const double* LMBNR, double* OBCNR, double* LAMBN, double* OBCN);

}  // namespace kolt::methods

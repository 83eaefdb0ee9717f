// Traffic equations of an open multi-class network, shared by JACKSON and
// DIFF.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/methods/method_codes.h"

namespace kolt::methods {

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

// Solves (P - I) lambda = -lambda0 in place on BP, RM x (RM+1) by columns;
// the arrival rates end in the last column and are copied to LMBNR. False on
// an exactly zero pivot.
bool solveTrafficEquations(int RM, double* BP, double* LMBNR);

// The same system from routing lists, by the sparse LU. False when it is
// singular or too badly conditioned to trust.
bool solveTrafficEquations(int RM, const OpenRouting& routing, double* LMBNR);

// The first step of both open methods: the arrival rates into LMBNR, from
// `lists` when given, otherwise from BP (which is overwritten). False when
// some customers can never leave the network or the system cannot be solved.
bool solveArrivalRates(int RM, double* BP, const OpenRouting* lists, double* LMBNR);

// The load of station m (from 1) once the arrival rates are known: per class
// OBCNR(r, m) = LMBNR(r, m) / TAU(r, m), the service rate, or 0 for a class
// without service there; their sum in OBCN(m) and the station's total arrival
// rate in LAMBN(m).
void stationLoad(int R, int m, const double* TAU, const double* LMBNR, double* OBCNR, double* LAMBN, double* OBCN);

}  // namespace kolt::methods

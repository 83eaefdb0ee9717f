// Traffic equations of an open multi-class network, shared by JACKSON and
// DIFF.
#pragma once

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

// Solves (P - I) lambda = -lambda0 in place on BP, RM x (RM+1) by columns,
// by Gauss-Jordan elimination without pivoting; the arrival rates end in the
// last column and are copied to LMBNR. False on an exactly zero pivot.
bool solveTrafficEquations(int RM, double* BP, double* LMBNR);

// The load of station m (from 1) once the arrival rates are known: per class
// OBCNR(r, m) = LMBNR(r, m) / TAU(r, m), the service rate, or 0 for a class
// without service there; their sum in OBCN(m) and the station's total arrival
// rate in LAMBN(m).
void stationLoad(int R, int m, const double* TAU, const double* LMBNR, double* OBCNR, double* LAMBN, double* OBCN);

}  // namespace kolt::methods

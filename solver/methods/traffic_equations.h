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

}  // namespace kolt::methods

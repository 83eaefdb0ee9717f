// Routing check and visit ratios shared by the closed-network methods.
// Each class's routing is a compressed (SN(r)+1) x (SN(r)+1) matrix inside
// ADP, stored by columns from the 1-based position INDEX(r); its leading
// SN(r) x SN(r) block holds the probabilities among the stations the class
// visits, in increasing station order. A class visiting more than
// kSparseThreshold stations may instead come as transition lists (no block:
// INDEX(r+1) = INDEX(r)).
#pragma once

#include <cstdint>
#include <vector>

#include "solver/methods/method_codes.h"

namespace kolt::methods {

// Transitions of the classes whose routing is kept as lists: for class r
// (from 0) with classStart[r] >= 0, visited station i (from 0, in increasing
// station order) goes to the visited stations to[k] with probability[k] for
// k in rowStart[classStart[r] + i] .. rowStart[classStart[r] + i + 1] - 1.
// classStart[r] is -1 for a class whose routing is a dense block in ADP.
struct RoutingLists {
    std::vector<std::int64_t> classStart;
    std::vector<std::int64_t> rowStart;
    std::vector<int> to;
    std::vector<double> probability;
};

// Work vectors sized once per method call for matrices of dimension up to
// maxDimension (= M + 1), so that no class needs an allocation of its own.
struct VisitRatioWorkspace {
    explicit VisitRatioWorkspace(int maxDimension);
    std::vector<int> stack;  // stations still to search from
    std::vector<unsigned char> seen;
    std::vector<double> x;           // solution vector, 1-based use
    std::vector<int> variableOrder;  // u
    std::vector<int> equationOrder;  // e
};

// True when every visited station of a class can reach every visited station
// (itself included) through probabilities of at least 1.0E-4 (single
// precision). A is the compressed matrix, n = SN(r) + 1.
bool routingStronglyConnected(const double* A, int n, VisitRatioWorkspace& work);

// Checks every class in turn; sets failed = kClosedNetworkFailed at the first
// class that fails, also when a class visits no station or its block lies
// outside ADP. `lists` may be null when every class has a dense block.
void checkRouting(int M, int R, std::int64_t L, const double* ADP, const int* SN, const int* INDEX,
                  const RoutingLists* lists, int& failed, VisitRatioWorkspace& work);

// Fills THETA(r, m) for every visited pair, 1 at each class's lowest-numbered
// station. Overwrites the dense routing blocks. Call only after checkRouting
// passed. A class of more than `sparseAbove` visited stations is solved as a
// sparse system; failed = kClosedNetworkFailed when that system is singular
// or too badly conditioned to trust.
void solveVisitRatios(int M, int R, double* ADP, const int* SR, const int* SN, const int* INDEX,
                      const RoutingLists* lists, double* THETA, VisitRatioWorkspace& work, int& failed,
                      int sparseAbove);

// The opening of every closed method: checkRouting, then, when it passed,
// solveVisitRatios with classes of more than kSparseThreshold stations solved
// as sparse, in a workspace of its own. `failed` is left as the two set it.
void checkRoutingAndSolveVisitRatios(int M, int R, std::int64_t L, double* ADP, const int* SR, const int* SN,
                                     const int* INDEX, const RoutingLists* lists, double* THETA, int& failed);

}  // namespace kolt::methods

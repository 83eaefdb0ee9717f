// Routing check and visit ratios shared by the closed-network methods.
// Each class's routing is a compressed (SN(r)+1) x (SN(r)+1) matrix inside
// ADP, stored by columns from the 1-based position INDEX(r); its leading
// SN(r) x SN(r) block holds the probabilities among the stations the class
// visits, in increasing station order.
#pragma once

#include <cstdint>
#include <vector>

namespace kolt::methods {

// Work vectors sized once per method call for matrices of dimension up to
// maxDimension (= M + 1), so that no class needs an allocation of its own.
struct VisitRatioWorkspace {
    explicit VisitRatioWorkspace(int maxDimension);
    std::vector<unsigned char> reach;      // B: reachable in the steps so far
    std::vector<unsigned char> reachNext;  // C: one squaring further
    std::vector<double> x;                 // solution vector, 1-based use
    std::vector<int> variableOrder;        // u
    std::vector<int> equationOrder;        // e
};

// True when every visited station of a class can reach every visited station
// (itself included) through probabilities of at least 1.0E-4 (single
// precision). A is the compressed matrix, n = SN(r) + 1.
bool routingStronglyConnected(const double* A, int n, VisitRatioWorkspace& work);

// Checks every class in turn; sets failed = 1 at the first class that fails,
// also when a class visits no station or its block lies outside ADP.
void checkRouting(int M, int R, std::int64_t L, const double* ADP, const int* SN, const int* INDEX, int& failed,
                  VisitRatioWorkspace& work);

// Fills THETA(r, m) for every visited pair, 1 at each class's lowest-numbered
// station. Overwrites the routing blocks. Call only after checkRouting passed.
void solveVisitRatios(int M, int R, double* ADP, const int* SR, const int* SN, const int* INDEX, double* THETA,
                      VisitRatioWorkspace& work);

}  // namespace kolt::methods

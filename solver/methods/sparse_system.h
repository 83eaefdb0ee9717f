// Large linear systems of the methods, solved by a sparse direct LU.
//
// The routing of a network with thousands of stations has a few transitions
// per station: its systems are sparse, and a dense elimination over them is
// cubic in time and quadratic in memory. Above kSparseThreshold unknowns the
// visit ratios, the traffic equations and the diffusion variability system
// are solved here instead; below it every method keeps its own elimination,
// so small networks give the same numbers to the last bit.
#pragma once

#include <cstdint>
#include <vector>

namespace kolt::methods {

// Systems of more unknowns than this are solved as sparse.
constexpr int kSparseThreshold = 500;

// A square matrix in compressed columns: the entries of column j are
// row[start[j]] .. row[start[j+1]-1] with their values; a row may repeat in
// a column (the values are added).
struct SparseColumns {
    int n = 0;
    std::vector<int> start{0};
    std::vector<int> row;
    std::vector<double> value;

    void add(int i, double v) {
        row.push_back(i);
        value.push_back(v);
    }
    void endColumn() {
        start.push_back(static_cast<int>(row.size()));
        ++n;
    }
};

// Solves A x = b (b and x of length A.n; they may be the same array). False
// when A is singular or so badly conditioned that x cannot be trusted: the
// LU meets a zero pivot, the condition estimate exceeds 1e12, or the residual
// b - A x is not small against |A| |x| + |b|.
bool solveSparse(const SparseColumns& A, const double* b, double* x);

}  // namespace kolt::methods

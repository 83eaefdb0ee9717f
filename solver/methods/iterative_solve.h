// Large sparse systems whose LU would fill in, solved iteratively: BiCGSTAB
// (van der Vorst, SIAM J. Sci. Stat. Comput. 13(2), 1992) preconditioned on
// the right by an incomplete LU without fill, ILU(0) (Saad, Iterative Methods
// for Sparse Linear Systems, 2nd ed., 10.3). A routing matrix I - P' with P
// substochastic, or that with one equation replaced by x(1) = 1, converges in
// a few tens of iterations when the routing mixes well, which is exactly when
// its LU fills in. Each iteration costs two products with A and two
// triangular solves, linear in the entries; one thread, a fixed order of
// operations, so the same system gives the same bits on every run.
#pragma once

#include <vector>

#include "solver/methods/sparse_system.h"

namespace kolt::methods {

// Backward error the large systems are solved to: near the rounding of the
// product A x itself, so that the answer is as close to the exact solution
// as an LU's.
constexpr double kIterativeTarget = 1e-14;

// A square matrix in compressed rows.
struct SparseRows {
    int n = 0;
    std::vector<int> start;
    std::vector<int> column;
    std::vector<double> value;
};

// A and its incomplete factors, with those of A' built on first use.
// Columns of A must hold each row once, in increasing order.
class IterativeSolver {
  public:
    explicit IterativeSolver(const SparseColumns& A);

    // False when a diagonal entry is missing or the incomplete LU meets a
    // zero or non-finite pivot: the iteration cannot start.
    bool ready() const { return ready_; }

    // x from A x = b, within a backward error `target`: the true residual
    // b - A x within target (||b|| + ||A|| ||x||) in the 2-norm. False when
    // the iteration breaks down or has not reached the target within its cap.
    bool solve(const double* b, double* x, double target);

    // The 1-norm condition number |A| |A^-1| estimated as by Hager and
    // Higham (ACM TOMS 14(4), 1988) from solves with A and A'; infinite when
    // one of those solves fails. Those solves must bring the residual below
    // a fraction of ||b|| alone: a singular A has no solution for most
    // right-hand sides, and its residual cannot fall that far, whereas a
    // backward error can be met there by a huge x.
    double conditionEstimate();

  private:
    SparseRows A_, At_;
    SparseRows luA_, luAt_;  // unit lower and upper factors in A's pattern
    std::vector<int> diagonalA_, diagonalAt_;
    bool ready_ = false, transposedReady_ = false, transposedTried_ = false;

    bool solveForEstimate(bool transposed, const double* b, double* x);
};

}  // namespace kolt::methods

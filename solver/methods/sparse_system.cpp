// Sparse direct solve by SuiteSparse's KLU: a left-looking LU with partial
// pivoting after a permutation to block triangular form and an AMD ordering
// of each block. Routing matrices are unsymmetric, very sparse and split into
// strongly connected blocks, which is the structure KLU was built for
// (Davis and Palamadai Natarajan, ACM TOMS 37(3), 2010). Cost roughly linear
// in the transitions for such networks; memory that of the factors.
//
// When transitions lead to random stations anywhere, a large block's LU
// fills in and its cost grows with the cube of the block. KLU's analysis
// predicts that cost before any factoring; above kIterativeFlops the system
// is first solved iteratively (iterative_solve.h), which on such well-mixed
// routing takes milliseconds, and only if that fails is it factored.
#include "solver/methods/sparse_system.h"

#include <klu.h>

#include <algorithm>
#include <cmath>

#include "solver/methods/iterative_solve.h"

namespace kolt::methods {
namespace {

// Condition numbers above this leave fewer than four correct digits.
constexpr double kWorstCondition = 1e12;
// Backward error allowed, relative to |A| |x| + |b|.
constexpr double kResidualTolerance = 1e-10;
// Predicted factorisation work (KLU's flop estimate) above which the
// iterative solve is tried first. KLU factors about 2e9 to 6e9 such flops a
// second here, so below this the LU takes a quarter of a second or less and
// the system keeps its direct solution, bit for bit; networks whose
// transitions stay near their station (rings, stages, transitions within 50
// stations of 10,000) predict 1e5 to 4e7. Random transitions anywhere among
// 2000 stations predict 3e8 and stay direct; among 3000, 1e9; among 10,000,
// 4e10, twenty seconds of factoring.
constexpr double kIterativeFlops = 1e9;

// Duplicate entries of a column added together, rows in increasing order,
// as KLU requires.
SparseColumns canonical(const SparseColumns& A) {
    SparseColumns C;
    C.n = A.n;
    C.start.assign(1, 0);
    std::vector<std::pair<int, double>> column;
    for (int j = 0; j < A.n; ++j) {
        column.clear();
        for (int k = A.start[j]; k < A.start[j + 1]; ++k) column.emplace_back(A.row[k], A.value[k]);
        std::sort(column.begin(), column.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t k = 0; k < column.size(); ++k) {
            if (!C.row.empty() && static_cast<int>(C.row.size()) > C.start.back() && C.row.back() == column[k].first)
                C.value.back() += column[k].second;
            else
                C.add(column[k].first, column[k].second);
        }
        C.start.push_back(static_cast<int>(C.row.size()));
    }
    return C;
}

bool residualSmall(const SparseColumns& A, const double* b, const std::vector<double>& x) {
    std::vector<double> r(b, b + A.n);
    std::vector<double> scale(A.n, 0.0);
    for (int j = 0; j < A.n; ++j)
        for (int k = A.start[j]; k < A.start[j + 1]; ++k) {
            r[A.row[k]] -= A.value[k] * x[j];
            scale[A.row[k]] += std::fabs(A.value[k] * x[j]);
        }
    for (int i = 0; i < A.n; ++i) {
        if (!std::isfinite(x[i])) return false;
        if (!(std::fabs(r[i]) <= kResidualTolerance * (scale[i] + std::fabs(b[i])))) return false;
    }
    return true;
}

// The iterative answer, accepted on the same residual test as the LU's and
// on a condition estimate under the same bound. The estimate also refuses a
// singular A whose system happens to be consistent: the iteration would
// return one of its many solutions with a small residual, but the estimate's
// own solves, with right-hand sides outside A's range, do not converge.
bool solveIteratively(const SparseColumns& A, const double* b, std::vector<double>& x) {
    IterativeSolver solver(A);
    x.assign(A.n, 0.0);
    return solver.solve(b, x.data(), kIterativeTarget) && residualSmall(A, b, x) &&
           solver.conditionEstimate() <= kWorstCondition;
}

}  // namespace

bool solveSparse(const SparseColumns& input, const double* b, double* x) {
    if (input.n < 1) return false;
    SparseColumns A = canonical(input);
    klu_common common;
    klu_defaults(&common);
    klu_symbolic* symbolic = klu_analyze(A.n, A.start.data(), A.row.data(), &common);
    if (symbolic == nullptr) return false;
    // A structurally singular A is left to the LU, which refuses it.
    if (symbolic->est_flops > kIterativeFlops && symbolic->structural_rank == A.n) {
        std::vector<double> solution;
        if (solveIteratively(A, b, solution)) {
            klu_free_symbolic(&symbolic, &common);
            std::copy(solution.begin(), solution.end(), x);
            return true;
        }
    }
    klu_numeric* numeric = klu_factor(A.start.data(), A.row.data(), A.value.data(), symbolic, &common);
    bool solved = numeric != nullptr && common.status == KLU_OK;
    if (solved)
        solved = klu_condest(A.start.data(), A.value.data(), symbolic, numeric, &common) &&
                 common.condest <= kWorstCondition;
    std::vector<double> solution(b, b + A.n);
    if (solved)
        solved = klu_solve(symbolic, numeric, A.n, 1, solution.data(), &common) && residualSmall(A, b, solution);
    if (numeric) klu_free_numeric(&numeric, &common);
    klu_free_symbolic(&symbolic, &common);
    if (solved) std::copy(solution.begin(), solution.end(), x);
    return solved;
}

}  // namespace kolt::methods

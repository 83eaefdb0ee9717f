// Systems whose LU fills in are first solved iteratively: the answer must
// agree with the LU's to 1e-9, a system the iteration cannot finish must
// still get the LU's answer, and a singular system must be refused even when
// the iteration finds one of its solutions.
#include <gtest/gtest.h>

#include <klu.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "solver/methods/iterative_solve.h"
#include "solver/methods/sparse_system.h"

namespace kolt::methods {
namespace {

// Columns of a system from a routing matrix given by rows: each station's
// transitions as (target, probability) pairs.
using Transitions = std::vector<std::vector<std::pair<int, double>>>;

// I - P' for open routing, or with station `pinned`'s equation replaced by
// x = 1 (the closed visit ratios pin the first station). Rows in increasing
// order in each column, each once, as the solvers take them.
SparseColumns systemOf(const Transitions& P, int pinned = -1) {
    SparseColumns A;
    std::vector<double> column(P.size());
    for (std::size_t j = 0; j < P.size(); ++j) {
        std::fill(column.begin(), column.end(), 0.0);
        column[j] = 1.0;
        for (const auto& [to, p] : P[j])
            if (to != pinned) column[to] -= p;
        for (std::size_t i = 0; i < P.size(); ++i)
            if (column[i] != 0.0) A.add(static_cast<int>(i), column[i]);
        A.endColumn();
    }
    return A;
}

// Stations first..first+count-1, each sending `keep` of its customers in
// equal parts to its successor in the group's ring (which keeps the group
// irreducible) and to two random stations of the group; the rest leaves.
void addRandomGroup(Transitions& P, int first, int count, double keep, std::mt19937& random) {
    for (int i = first; i < first + count; ++i) {
        P[i].emplace_back(first + (i - first + 1) % count, keep / 3);
        for (int k = 0; k < 2; ++k) P[i].emplace_back(first + static_cast<int>(random() % count), keep / 3);
    }
}

// KLU's answer and condition estimate, as the solver uses them; no answer
// when the LU fails.
struct LuResult {
    std::vector<double> x;
    double condition = 0.0;
};

LuResult luSolve(SparseColumns A, std::vector<double> b) {
    LuResult result;
    klu_common common;
    klu_defaults(&common);
    klu_symbolic* symbolic = klu_analyze(A.n, A.start.data(), A.row.data(), &common);
    klu_numeric* numeric = klu_factor(A.start.data(), A.row.data(), A.value.data(), symbolic, &common);
    if (numeric && klu_condest(A.start.data(), A.value.data(), symbolic, numeric, &common) &&
        klu_solve(symbolic, numeric, A.n, 1, b.data(), &common)) {
        result.x = b;
        result.condition = common.condest;
    }
    if (numeric) klu_free_numeric(&numeric, &common);
    klu_free_symbolic(&symbolic, &common);
    return result;
}

constexpr int kStations = 4000;  // random routing: the LU would fill in

TEST(IterativeSystems, RandomRoutingAgreesWithTheLu) {
    std::mt19937 random(5);
    // Open: a quarter leaves at each station, arrivals everywhere. Closed:
    // the visit ratios with x(1) = 1, a harder system (condition about 1e4).
    Transitions open(kStations), closed(kStations);
    addRandomGroup(open, 0, kStations, 0.75, random);
    addRandomGroup(closed, 0, kStations, 1.0, random);
    std::vector<double> arrivals(kStations), pinned(kStations, 0.0);
    for (int i = 0; i < kStations; ++i) arrivals[i] = 0.1 + (i % 7) / 10.0;
    pinned[0] = 1.0;
    const struct {
        SparseColumns A;
        std::vector<double> b;
    } systems[] = {{systemOf(open), arrivals}, {systemOf(closed, 0), pinned}};
    for (const auto& [A, b] : systems) {
        std::vector<double> x(kStations), iterated(kStations);
        ASSERT_TRUE(solveSparse(A, b.data(), x.data()));
        IterativeSolver solver(A);
        ASSERT_TRUE(solver.solve(b.data(), iterated.data(), kIterativeTarget));
        EXPECT_EQ(x, iterated);  // the iterative answer was the one taken
        const LuResult lu = luSolve(A, b);
        ASSERT_EQ(lu.x.size(), x.size());
        double largest = 0.0;
        for (int i = 0; i < kStations; ++i) largest = std::max(largest, std::fabs(x[i] - lu.x[i]) / std::fabs(lu.x[i]));
        EXPECT_LT(largest, 1e-9);
        // The estimate that guards the iterative answer is the LU's.
        EXPECT_NEAR(solver.conditionEstimate(), lu.condition, 1e-3 * lu.condition);
    }
}

// Random routing beside a cycle through 2000 stations whose customers stay
// with probability 1 - 1e-6: its eigenvalues ring the unit circle and the
// iteration gains almost nothing per step, but the LU solves it.
TEST(IterativeSystems, SystemTheIterationCannotFinishGetsTheLuAnswer) {
    constexpr int kCycle = 2000;
    std::mt19937 random(11);
    Transitions P(kStations + kCycle);
    addRandomGroup(P, 0, kStations, 0.75, random);
    std::vector<int> order(kCycle);
    for (int i = 0; i < kCycle; ++i) order[i] = kStations + i;
    std::shuffle(order.begin(), order.end(), random);
    for (int i = 0; i < kCycle; ++i) P[order[i]].emplace_back(order[(i + 1) % kCycle], 1.0 - 1e-6);
    const SparseColumns A = systemOf(P);
    std::vector<double> b(A.n);
    for (int i = 0; i < A.n; ++i) b[i] = 1.0 + (i % 5);
    std::vector<double> x(A.n);
    IterativeSolver solver(A);
    EXPECT_FALSE(solver.solve(b.data(), x.data(), kIterativeTarget));
    ASSERT_TRUE(solveSparse(A, b.data(), x.data()));
    EXPECT_EQ(x, luSolve(A, b).x);
}

// Two closed groups that never meet, the first station's equation x(1) = 1:
// the second group's ratios may be anything, so A is singular although every
// column has its diagonal. The iteration does find a solution (zero on the
// second group) with a tiny residual; the solve must still be refused.
TEST(IterativeSystems, SingularConsistentSystemIsRefused) {
    constexpr int kSecond = 300;
    std::mt19937 random(13);
    Transitions P(kStations + kSecond);
    addRandomGroup(P, 0, kStations, 1.0, random);
    addRandomGroup(P, kStations, kSecond, 1.0, random);
    const SparseColumns A = systemOf(P, 0);
    std::vector<double> b(A.n, 0.0), x(A.n);
    b[0] = 1.0;
    IterativeSolver solver(A);
    EXPECT_TRUE(solver.solve(b.data(), x.data(), kIterativeTarget));
    EXPECT_FALSE(solveSparse(A, b.data(), x.data()));
    EXPECT_GT(solver.conditionEstimate(), 1e12);
}

}  // namespace
}  // namespace kolt::methods

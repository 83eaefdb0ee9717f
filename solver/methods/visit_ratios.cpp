// Routing connectivity check and visit ratios of one closed class.
//
// Assumptions: the class's routing among its s = SN(r) visited stations is a
// stochastic matrix P (rows sum to 1) stored in the leading s x s block of an
// n x n matrix A (n = s + 1, by columns); the last row and column are free.
//
// Connectivity: B(i, j) = [P(i, j) >= 1.0E-4f]; repeated Boolean squaring
// C = B or B*B widens the reachable paths to 2, 4, 8, ... steps until s steps
// are covered; the class passes when every entry ends true. Cost O(s^3 log s).
//
// Visit ratios: the traffic equations x(j) = sum_i x(i) P(i, j), j = 1..s,
// have rank s - 1; the first visited station's equation is replaced by the
// normalisation sum_i x(i) = 1. A holds the transposed system (row = variable,
// column = equation, row n = right-hand sides). Gaussian elimination with
// complete pivoting over the variable order u and the equation order e; the
// back substitution keeps its running sum in single precision, which limits
// the ratios to about seven significant digits. THETA(r, m) = x(k) / x(1) for
// the k-th visited station m. Cost O(s^3).
//
// Outside the assumptions: a class that is not strongly connected makes the
// system singular; the check refuses it before the solve.
#include "solver/methods/visit_ratios.h"

#include <cmath>

namespace kolt::methods {
namespace {

// Element (i, j), 1-based, of an n x n matrix stored by columns.
inline double& at(double* A, int n, int i, int j) { return A[static_cast<std::size_t>(j - 1) * n + (i - 1)]; }
inline double at(const double* A, int n, int i, int j) { return A[static_cast<std::size_t>(j - 1) * n + (i - 1)]; }
inline unsigned char& at(std::vector<unsigned char>& B, int n, int i, int j) {
    return B[static_cast<std::size_t>(j - 1) * n + (i - 1)];
}

// The single-precision value of 1.0E-4, compared in double precision.
constexpr double kLeastProbability = static_cast<double>(1.0E-4f);

// Gaussian elimination with complete pivoting on the transposed balance
// equations; x(1..n-1) receives the unnormalised solution.
void solveClassSystem(int n, double* A, VisitRatioWorkspace& work) {
    std::vector<double>& x = work.x;
    std::vector<int>& u = work.variableOrder;
    std::vector<int>& e = work.equationOrder;
    for (int i = 1; i <= n; ++i) {
        at(A, n, i, i) -= 1.0;
        at(A, n, n, i) = 0.0;
        at(A, n, i, n) = 1.0;
        u[i] = i;
        e[i] = i;
    }
    // The first station's balance equation moves to the end, where it is
    // left out unless pivoting brings it back.
    e[1] = n;
    e[n] = 1;

    for (int k = 2; k <= n - 1; ++k) {
        const double pivot = at(A, n, u[k - 1], e[k - 1]);
        double largest = 0.0;
        int bestQ = k;
        int bestT = k;
        for (int q = k; q <= n; ++q) {
            const double f = at(A, n, u[k - 1], e[q]) / pivot;
            at(A, n, u[k - 1], e[q]) = 0.0;
            for (int t = k; t <= n - 1; ++t) {
                double& a = at(A, n, u[t], e[q]);
                a -= at(A, n, u[t], e[k - 1]) * f;
                if (std::fabs(a) > largest) {
                    largest = std::fabs(a);
                    bestQ = q;
                    bestT = t;
                }
            }
            at(A, n, n, e[q]) -= at(A, n, n, e[k - 1]) * f;
        }
        std::swap(e[k], e[bestQ]);
        std::swap(u[k], u[bestT]);
    }

    x[u[n - 1]] = at(A, n, n, e[n - 1]) / at(A, n, u[n - 1], e[n - 1]);
    for (int i = n - 2; i >= 1; --i) {
        float s = static_cast<float>(at(A, n, n, e[i]));
        for (int t = i + 1; t <= n - 1; ++t)
            s = static_cast<float>(static_cast<double>(s) - at(A, n, u[t], e[i]) * x[u[t]]);
        x[u[i]] = static_cast<double>(s) / at(A, n, u[i], e[i]);
    }
}

}  // namespace

VisitRatioWorkspace::VisitRatioWorkspace(int maxDimension)
    : reach(static_cast<std::size_t>(maxDimension) * maxDimension),
      reachNext(static_cast<std::size_t>(maxDimension) * maxDimension),
      x(maxDimension + 1),
      variableOrder(maxDimension + 1),
      equationOrder(maxDimension + 1) {}

bool routingStronglyConnected(const double* A, int n, VisitRatioWorkspace& work) {
    const int s = n - 1;
    std::vector<unsigned char>& B = work.reach;
    std::vector<unsigned char>& C = work.reachNext;
    bool allTrue = true;
    for (int j = 1; j <= s; ++j)
        for (int i = 1; i <= s; ++i) {
            at(B, s, i, j) = at(A, n, i, j) >= kLeastProbability;
            allTrue = allTrue && at(B, s, i, j);
        }
    for (int step = 1; step < s && !allTrue; step *= 2) {
        allTrue = true;
        for (int j = 1; j <= s; ++j)
            for (int i = 1; i <= s; ++i) {
                bool reachable = at(B, s, i, j);
                for (int k = 1; k <= s && !reachable; ++k) reachable = at(B, s, i, k) && at(B, s, k, j);
                at(C, s, i, j) = reachable;
                allTrue = allTrue && reachable;
            }
        B.swap(C);
    }
    return allTrue;
}

void checkRouting(int M, int R, std::int64_t L, const double* ADP, const int* SN, const int* INDEX, int& failed,
                  VisitRatioWorkspace& work) {
    for (int r = 1; r <= R && !failed; ++r) {
        const int s = SN[r - 1];
        const std::int64_t start = INDEX[r - 1];
        const std::int64_t blockEnd = start - 1 + static_cast<std::int64_t>(s + 1) * (s + 1);
        // A class without stations has no traffic equations to solve, and a
        // block outside ADP cannot be read: both are refused like a broken route.
        if (s < 1 || s > M || start < 1 || blockEnd > L || INDEX[r] != blockEnd + 1) {
            failed = 1;
            break;
        }
        if (!routingStronglyConnected(ADP + (start - 1), s + 1, work)) failed = 1;
    }
}

void solveVisitRatios(int M, int R, double* ADP, const int* SR, const int* SN, const int* INDEX, double* THETA,
                      VisitRatioWorkspace& work) {
    std::vector<double>& x = work.x;
    for (int r = 1; r <= R; ++r) {
        const int n = SN[r - 1] + 1;
        if (n == 2)
            x[1] = 1.0;
        else
            solveClassSystem(n, ADP + (INDEX[r - 1] - 1), work);
        int k = 0;
        for (int m = 1; m <= M; ++m)
            if ((SR[(m - 1) * R + (r - 1)] & 0xFF) && k < n - 1) {
                ++k;
                THETA[(m - 1) * R + (r - 1)] = x[k] / x[1];
            }
    }
}

}  // namespace kolt::methods

// The methods' numerical steps written out literally, without the shortcuts
// of the solver (searches for the routing check, skipped zero updates, the
// recursion's station lists): the solver must give their verdicts and their
// bits exactly.
#pragma once

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "tests/solver/test_method_arrays.h"

namespace kolt::methods::testing {

// Routing check by repeated Boolean squaring of the edges P(i, j) >= 1.0E-4f
// of an n x n block by columns (s = n - 1 stations).
inline bool squaringRoutingCheck(const std::vector<double>& A, int n) {
    const int s = n - 1;
    auto edge = [&](int i, int j) { return A[static_cast<std::size_t>(j) * n + i] >= static_cast<double>(1.0E-4f); };
    std::vector<char> B(static_cast<std::size_t>(s) * s), C(B.size());
    bool all = true;
    for (int i = 0; i < s; ++i)
        for (int j = 0; j < s; ++j) all = (B[i * s + j] = edge(i, j)) && all;
    for (int step = 1; step < s && !all; step *= 2) {
        all = true;
        for (int i = 0; i < s; ++i)
            for (int j = 0; j < s; ++j) {
                bool reach = B[i * s + j];
                for (int k = 0; k < s && !reach; ++k) reach = B[i * s + k] && B[k * s + j];
                all = (C[i * s + j] = reach) && all;
            }
        B.swap(C);
    }
    return all;
}

// Gauss-Jordan without pivoting over every row and column, n x (n+1) by
// columns; false on a zero pivot.
inline bool plainGaussJordan(int n, double* A) {
    auto at = [&](int i, int j) -> double& { return A[static_cast<std::size_t>(j) * n + i]; };
    for (int k = 0; k < n; ++k) {
        const double pivot = at(k, k);
        if (pivot == 0.0) return false;
        for (int j = k + 1; j <= n; ++j) {
            at(k, j) /= pivot;
            for (int i = 0; i < n; ++i)
                if (i != k) at(i, j) -= at(i, k) * at(k, j);
        }
    }
    return true;
}

// Visit ratios of one class (block A, n = s + 1, by columns) by complete
// pivoting on the transposed balance equations with every update made, and
// the back substitution's running sum in single precision; returns
// x(k) / x(1) for the s stations.
inline std::vector<double> literalVisitRatios(std::vector<double> A, int n) {
    auto at = [&](int i, int j) -> double& { return A[static_cast<std::size_t>(j - 1) * n + (i - 1)]; };
    std::vector<int> u(n + 1), e(n + 1);
    std::vector<double> x(n + 1, 0.0);
    for (int i = 1; i <= n; ++i) {
        at(i, i) -= 1.0;
        at(n, i) = 0.0;
        at(i, n) = 1.0;
        u[i] = e[i] = i;
    }
    std::swap(e[1], e[n]);
    for (int k = 2; k <= n - 1; ++k) {
        const double pivot = at(u[k - 1], e[k - 1]);
        double largest = 0.0;
        int bestQ = k, bestT = k;
        for (int q = k; q <= n; ++q) {
            const double f = at(u[k - 1], e[q]) / pivot;
            at(u[k - 1], e[q]) = 0.0;
            for (int t = k; t <= n - 1; ++t) {
                at(u[t], e[q]) -= at(u[t], e[k - 1]) * f;
                if (std::fabs(at(u[t], e[q])) > largest) {
                    largest = std::fabs(at(u[t], e[q]));
                    bestQ = q;
                    bestT = t;
                }
            }
            at(n, e[q]) -= at(n, e[k - 1]) * f;
        }
        std::swap(e[k], e[bestQ]);
        std::swap(u[k], u[bestT]);
    }
    if (n == 2) {
        x[1] = 1.0;
    } else {
        x[u[n - 1]] = at(n, e[n - 1]) / at(u[n - 1], e[n - 1]);
        for (int i = n - 2; i >= 1; --i) {
            float sum = static_cast<float>(at(n, e[i]));
            for (int t = i + 1; t <= n - 1; ++t)
                sum = static_cast<float>(static_cast<double>(sum) - at(u[t], e[i]) * x[u[t]]);
            x[u[i]] = static_cast<double>(sum) / at(u[i], e[i]);
        }
    }
    std::vector<double> theta(n - 1);
    for (int k = 1; k <= n - 1; ++k) theta[k - 1] = x[k] / x[1];
    return theta;
}

// The closed recursion as written in its formulas: a table with a column of
// S entries per station, the station type tested per element. THETA must
// already hold the visit ratios; writes W (per visit), LAMBDA and N.
inline void literalExactMva(ClosedArrays& a) {
    const int M = a.M, R = a.R;
    auto rm = [R](int r, int m) { return static_cast<std::size_t>(m) * R + r; };
    std::vector<std::int64_t> stride(R, 0);
    std::int64_t S = 1;
    for (int r = 1; r < R; ++r) {
        stride[r] = S;
        S *= a.K[r] + 1;
    }
    std::vector<double> Q(static_cast<std::size_t>(M) * S, 1.0), D(a.TAU.size());
    for (std::size_t x = 0; x < D.size(); ++x) D[x] = a.SR[x] ? a.TAU[x] * a.THETA[x] : 0.0;
    std::vector<int> n(R, 0);
    std::int64_t at = 0;
    for (;;) {
        for (int r = 0; r < R; ++r) {
            double sum = 0.0;
            for (int m = 0; m < M; ++m) {
                if (!a.SR[rm(r, m)]) continue;
                double w = 0.0;
                if (n[r] > 0) w = a.TYPE[m] == 4 ? D[rm(r, m)] : D[rm(r, m)] * Q[m * S + at - stride[r]];
                a.W[rm(r, m)] = w;
                sum += w;
            }
            if (n[r] == 0) sum = 1.0;
            a.LAMBDA[r] = n[r] / sum;
        }
        for (int m = 0; m < M; ++m) {
            double q = 1.0;
            for (int r = 0; r < R; ++r)
                if (a.SR[rm(r, m)]) q += a.W[rm(r, m)] * a.LAMBDA[r];
            Q[m * S + at] = q;
        }
        int r = R - 1;
        for (; r >= 0 && n[r] == a.K[r]; --r) {
            at -= n[r] * stride[r];
            n[r] = 0;
        }
        if (r < 0) break;
        ++n[r];
        at += stride[r];
    }
    for (std::size_t x = 0; x < a.W.size(); ++x)
        if (a.SR[x]) a.W[x] /= a.THETA[x];
    for (int m = 0; m < M; ++m) a.N[m] = Q[m * S + S - 1] - 1.0;
}

}  // namespace kolt::methods::testing

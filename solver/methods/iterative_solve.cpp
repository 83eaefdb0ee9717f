#include "solver/methods/iterative_solve.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kolt::methods {
namespace {

// Products with A, and with the preconditioner, per solve. The routing
// systems that reach this converge in well under a hundred; a system that
// needs more is left to the direct solve, which costs less than a long
// iteration would.
constexpr int kMaxIterations = 400;
// Fresh starts from the true residual when the recurrence drifts from it.
constexpr int kMaxRestarts = 4;

double dot(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += a[i] * b[i];
    return sum;
}

double norm2(const std::vector<double>& a) { return std::sqrt(dot(a, a)); }

// y = A x.
void multiply(const SparseRows& A, const double* x, double* y) {
    for (int i = 0; i < A.n; ++i) {
        double sum = 0.0;
        for (int k = A.start[i]; k < A.start[i + 1]; ++k) sum += A.value[k] * x[A.column[k]];
        y[i] = sum;
    }
}

// ILU(0): L (unit diagonal, not stored) and U share A's pattern; every
// update that would fall outside it is dropped.
bool factorIncomplete(const SparseRows& A, SparseRows& lu, std::vector<int>& diagonal) {
    lu = A;
    diagonal.assign(A.n, -1);
    for (int i = 0; i < A.n; ++i)
        for (int k = A.start[i]; k < A.start[i + 1]; ++k)
            if (A.column[k] == i) diagonal[i] = k;
    std::vector<int> where(A.n, -1);
    for (int i = 0; i < A.n; ++i) {
        if (diagonal[i] < 0) return false;
        for (int k = lu.start[i]; k < lu.start[i + 1]; ++k) where[lu.column[k]] = k;
        for (int k = lu.start[i]; k < diagonal[i]; ++k) {
            const int c = lu.column[k];
            lu.value[k] /= lu.value[diagonal[c]];
            const double multiplier = lu.value[k];
            for (int j = diagonal[c] + 1; j < lu.start[c + 1]; ++j)
                if (where[lu.column[j]] >= 0) lu.value[where[lu.column[j]]] -= multiplier * lu.value[j];
        }
        for (int k = lu.start[i]; k < lu.start[i + 1]; ++k) where[lu.column[k]] = -1;
        const double pivot = lu.value[diagonal[i]];
        if (pivot == 0.0 || !std::isfinite(pivot)) return false;
    }
    return true;
}

// z = (L U)^-1 r.
void precondition(const SparseRows& lu, const std::vector<int>& diagonal, const std::vector<double>& r,
                  std::vector<double>& z) {
    for (int i = 0; i < lu.n; ++i) {
        double sum = r[i];
        for (int k = lu.start[i]; k < diagonal[i]; ++k) sum -= lu.value[k] * z[lu.column[k]];
        z[i] = sum;
    }
    for (int i = lu.n - 1; i >= 0; --i) {
        double sum = z[i];
        for (int k = diagonal[i] + 1; k < lu.start[i + 1]; ++k) sum -= lu.value[k] * z[lu.column[k]];
        z[i] = sum / lu.value[diagonal[i]];
    }
}

// Largest row sum of |A|.
double normInfinity(const SparseRows& A) {
    double largest = 0.0;
    for (int i = 0; i < A.n; ++i) {
        double sum = 0.0;
        for (int k = A.start[i]; k < A.start[i + 1]; ++k) sum += std::fabs(A.value[k]);
        largest = std::max(largest, sum);
    }
    return largest;
}

// Right-preconditioned BiCGSTAB from x = 0, restarted from the true residual
// when the recurrence claims convergence the true residual does not show or
// breaks down (a zero inner product). Converged when ||b - A x|| is within
// target (||b|| + weight ||x||): with weight ||A||, a backward error, whose
// target can be set near the rounding of A x whatever the size of x; with
// weight 0, relative to b alone.
bool bicgstab(const SparseRows& A, const SparseRows& lu, const std::vector<int>& diagonal, const double* b, double* x,
              double target, double weight) {
    const int n = A.n;
    std::vector<double> r(b, b + n), solution(n, 0.0), shadow(n), p(n), v(n), y(n), s(n), z(n), t(n);
    const double normB = norm2(r);
    if (normB == 0.0) {
        for (int i = 0; i < n; ++i) x[i] = 0.0;
        return true;
    }
    const auto converged = [&](const std::vector<double>& residual) {
        return norm2(residual) <= target * (normB + weight * norm2(solution));
    };
    int iterations = 0;
    for (int restart = 0; restart <= kMaxRestarts && iterations < kMaxIterations; ++restart) {
        if (restart > 0) {
            multiply(A, solution.data(), t.data());
            for (int i = 0; i < n; ++i) r[i] = b[i] - t[i];
        }
        if (converged(r)) break;
        shadow = r;
        double rho = 1.0, alpha = 1.0, omega = 1.0;
        std::fill(p.begin(), p.end(), 0.0);
        std::fill(v.begin(), v.end(), 0.0);
        while (iterations++ < kMaxIterations) {
            const double rhoNext = dot(shadow, r);
            if (rhoNext == 0.0 || !std::isfinite(rhoNext)) break;
            const double beta = (rhoNext / rho) * (alpha / omega);
            rho = rhoNext;
            for (int i = 0; i < n; ++i) p[i] = r[i] + beta * (p[i] - omega * v[i]);
            precondition(lu, diagonal, p, y);
            multiply(A, y.data(), v.data());
            const double shadowV = dot(shadow, v);
            if (shadowV == 0.0 || !std::isfinite(shadowV)) break;
            alpha = rho / shadowV;
            for (int i = 0; i < n; ++i) {
                solution[i] += alpha * y[i];
                s[i] = r[i] - alpha * v[i];
            }
            if (converged(s)) {
                r = s;
                break;
            }
            precondition(lu, diagonal, s, z);
            multiply(A, z.data(), t.data());
            const double tt = dot(t, t);
            if (tt == 0.0 || !std::isfinite(tt)) break;
            omega = dot(t, s) / tt;
            for (int i = 0; i < n; ++i) {
                solution[i] += omega * z[i];
                r[i] = s[i] - omega * t[i];
            }
            if (converged(r) || omega == 0.0) break;
        }
    }
    multiply(A, solution.data(), t.data());
    for (int i = 0; i < n; ++i) {
        r[i] = b[i] - t[i];
        if (!std::isfinite(solution[i])) return false;
    }
    if (!converged(r)) return false;
    std::copy(solution.begin(), solution.end(), x);
    return true;
}

}  // namespace

IterativeSolver::IterativeSolver(const SparseColumns& A) {
    const int n = A.n;
    // A' in rows is A in columns.
    At_.n = n;
    At_.start = A.start;
    At_.column = A.row;
    At_.value = A.value;
    A_.n = n;
    A_.start.assign(n + 1, 0);
    for (int k = 0; k < A.start[n]; ++k) ++A_.start[A.row[k] + 1];
    for (int i = 0; i < n; ++i) A_.start[i + 1] += A_.start[i];
    A_.column.resize(A.row.size());
    A_.value.resize(A.value.size());
    std::vector<int> next(A_.start.begin(), A_.start.end() - 1);
    for (int j = 0; j < n; ++j)
        for (int k = A.start[j]; k < A.start[j + 1]; ++k) {
            const int at = next[A.row[k]]++;
            A_.column[at] = j;
            A_.value[at] = A.value[k];
        }
    ready_ = factorIncomplete(A_, luA_, diagonalA_);
}

bool IterativeSolver::solve(const double* b, double* x, double target) {
    return ready_ && bicgstab(A_, luA_, diagonalA_, b, x, target, normInfinity(A_));
}

bool IterativeSolver::solveForEstimate(bool transposed, const double* b, double* x) {
    // A few correct digits suffice for a norm estimate, and leave room for
    // the rounding of A x on systems conditioned up to about 1e7; worse
    // ones fail here and are left to the LU.
    constexpr double kEstimateTarget = 1e-8;
    if (!transposed) return ready_ && bicgstab(A_, luA_, diagonalA_, b, x, kEstimateTarget, 0.0);
    if (!transposedTried_) {
        transposedTried_ = true;
        transposedReady_ = factorIncomplete(At_, luAt_, diagonalAt_);
    }
    return transposedReady_ && bicgstab(At_, luAt_, diagonalAt_, b, x, kEstimateTarget, 0.0);
}

double IterativeSolver::conditionEstimate() {
    constexpr int kEstimateSteps = 5;
    const double infinite = std::numeric_limits<double>::infinity();
    const int n = A_.n;
    double normA = 0.0;  // largest column sum
    for (int j = 0; j < n; ++j) {
        double sum = 0.0;
        for (int k = At_.start[j]; k < At_.start[j + 1]; ++k) sum += std::fabs(At_.value[k]);
        normA = std::max(normA, sum);
    }
    std::vector<double> x(n, 1.0 / n), y(n), sign(n), z(n);
    double estimate = 0.0;
    for (int step = 0; step < kEstimateSteps; ++step) {
        if (!solveForEstimate(false, x.data(), y.data())) return infinite;
        double norm1 = 0.0;
        for (double value : y) norm1 += std::fabs(value);
        if (step > 0 && norm1 <= estimate) break;
        estimate = norm1;
        for (int i = 0; i < n; ++i) sign[i] = y[i] < 0.0 ? -1.0 : 1.0;
        if (!solveForEstimate(true, sign.data(), z.data())) return infinite;
        int largest = 0;
        for (int i = 1; i < n; ++i)
            if (std::fabs(z[i]) > std::fabs(z[largest])) largest = i;
        if (step > 0 && std::fabs(z[largest]) <= dot(z, x)) break;
        std::fill(x.begin(), x.end(), 0.0);
        x[largest] = 1.0;
    }
    // Higham's extra vector of alternating signs and growing size catches
    // matrices on which the steps above stall early.
    for (int i = 0; i < n; ++i) x[i] = (i % 2 == 0 ? 1.0 : -1.0) * (1.0 + static_cast<double>(i) / std::max(1, n - 1));
    if (!solveForEstimate(false, x.data(), y.data())) return infinite;
    double alternative = 0.0;
    for (double value : y) alternative += std::fabs(value);
    estimate = std::max(estimate, 2.0 * alternative / (3.0 * n));
    return normA * estimate;
}

}  // namespace kolt::methods

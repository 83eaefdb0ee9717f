// Routing connectivity check and visit ratios of one closed class.
//
// Assumptions: the class's routing among its s = SN(r) visited stations is a
// stochastic matrix P (rows sum to 1) stored in the leading s x s block of an
// n x n matrix A (n = s + 1, by columns); the last row and column are free.
//
// Connectivity: an edge i -> j where P(i, j) >= 1.0E-4f. The class passes
// when every station reaches every station, itself included: for s = 1 the
// self-loop, otherwise a search forward and one backward from the first
// station both reach all s (strong connectivity makes every station lie on a
// cycle). Cost O(s^2) on a dense block, O(transitions) on lists.
//
// Visit ratios: the traffic equations x(j) = sum_i x(i) P(i, j), j = 1..s,
// have rank s - 1; the first visited station's equation is replaced by the
// normalisation sum_i x(i) = 1. A holds the transposed system (row = variable,
// column = equation, row n = right-hand sides). Gaussian elimination with
// complete pivoting over the variable order u and the equation order e; the
// back substitution keeps its running sum in single precision, which limits
// the ratios to about seven significant digits. THETA(r, m) = x(k) / x(1) for
// the k-th visited station m. Cost O(s^3); an update whose multiplier is 0
// is skipped (it would subtract an exact 0), the pivot search still sees
// every entry. A class of more than kSparseThreshold stations is solved by
// the sparse LU instead (x(1) = 1 replacing its equation, then normalised to
// a sum of 1 and each x rounded to single precision, as the dense solve
// leaves them), in time and memory near linear in its transitions.
//
// Outside the assumptions: a class that is not strongly connected makes the
// system singular; the check refuses it before the solve.
#include "solver/methods/visit_ratios.h"

#include <algorithm>
#include <cmath>

#include "solver/methods/array_index.h"
#include "solver/methods/method_codes.h"
#include "solver/methods/sparse_system.h"

namespace kolt::methods {
namespace {

// Element (i, j) of an n x n matrix.
inline double& at(double* A, int n, int i, int j) { return A[columnMajor(n, i, j)]; }
inline double at(const double* A, int n, int i, int j) { return A[columnMajor(n, i, j)]; }

// The single-precision value of 1.0E-4, compared in double precision.
constexpr double kLeastProbability = static_cast<double>(1.0E-4f);

bool isEdge(double p) { return p >= kLeastProbability; }

// A class's routing as lists, whether it came so or as a dense block.
struct ClassLists {
    const std::int64_t* rowStart;  // s + 1 entries
    const int* to;
    const double* probability;
};

// Marks the stations reached from station 0 (from 0) by following `next`,
// which calls its argument for every neighbour of a station; true when all
// s were reached.
template <typename Neighbours>
bool reachesAll(int s, VisitRatioWorkspace& work, Neighbours next) {
    std::fill(work.seen.begin(), work.seen.begin() + s, 0);
    work.stack.clear();
    work.stack.push_back(0);
    work.seen[0] = 1;
    int reached = 1;
    while (!work.stack.empty()) {
        const int i = work.stack.back();
        work.stack.pop_back();
        next(i, [&](int j) {
            if (work.seen[j]) return;
            work.seen[j] = 1;
            ++reached;
            work.stack.push_back(j);
        });
    }
    return reached == s;
}

bool listsStronglyConnected(int s, const ClassLists& c, VisitRatioWorkspace& work) {
    if (s == 1) {
        for (std::int64_t k = c.rowStart[0]; k < c.rowStart[1]; ++k)
            if (c.to[k] == 0 && isEdge(c.probability[k])) return true;
        return false;
    }
    const bool forward = reachesAll(s, work, [&](int i, auto visit) {
        for (std::int64_t k = c.rowStart[i]; k < c.rowStart[i + 1]; ++k)
            if (isEdge(c.probability[k])) visit(c.to[k]);
    });
    if (!forward) return false;
    // Predecessor lists for the backward search.
    std::vector<std::int64_t> start(s + 1, 0);
    for (std::int64_t k = c.rowStart[0]; k < c.rowStart[s]; ++k)
        if (isEdge(c.probability[k])) ++start[c.to[k] + 1];
    for (int i = 0; i < s; ++i) start[i + 1] += start[i];
    std::vector<int> from(static_cast<std::size_t>(start[s]));
    std::vector<std::int64_t> fill(start.begin(), start.end() - 1);
    for (int i = 0; i < s; ++i)
        for (std::int64_t k = c.rowStart[i]; k < c.rowStart[i + 1]; ++k)
            if (isEdge(c.probability[k])) from[fill[c.to[k]]++] = i;
    return reachesAll(s, work, [&](int j, auto visit) {
        for (std::int64_t k = start[j]; k < start[j + 1]; ++k) visit(from[k]);
    });
}

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
        // x - a*0 is x for every finite a: with a finite pivot equation a
        // zero multiplier leaves its equation as it is.
        bool pivotEquationFinite = true;
        for (int t = k; t <= n && pivotEquationFinite; ++t)
            pivotEquationFinite = std::isfinite(at(A, n, t < n ? u[t] : n, e[k - 1]));
        double largest = 0.0;
        int bestQ = k;
        int bestT = k;
        for (int q = k; q <= n; ++q) {
            const double f = at(A, n, u[k - 1], e[q]) / pivot;
            at(A, n, u[k - 1], e[q]) = 0.0;
            const bool unchanged = f == 0.0 && pivotEquationFinite;
            for (int t = k; t <= n - 1; ++t) {
                double& a = at(A, n, u[t], e[q]);
                if (!unchanged) a -= at(A, n, u[t], e[k - 1]) * f;
                if (std::fabs(a) > largest) {
                    largest = std::fabs(a);
                    bestQ = q;
                    bestT = t;
                }
            }
            if (!unchanged) at(A, n, n, e[q]) -= at(A, n, n, e[k - 1]) * f;
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

// The traffic equations of s stations as a sparse system with x(1) = 1 in
// place of the first station's equation; x(1..s) receives the solution
// normalised to a sum of 1 and rounded to single precision.
bool solveSparseClass(int s, const ClassLists& c, std::vector<double>& x) {
    SparseColumns A;
    for (int i = 0; i < s; ++i) {
        // Column i: the equations in which x(i) appears.
        A.add(i, i == 0 ? 1.0 : -1.0);
        for (std::int64_t k = c.rowStart[i]; k < c.rowStart[i + 1]; ++k)
            if (c.to[k] != 0) A.add(c.to[k], c.probability[k]);
        A.endColumn();
    }
    std::vector<double> b(s, 0.0);
    b[0] = 1.0;
    if (!solveSparse(A, b.data(), b.data())) return false;
    double sum = 0.0;
    for (double v : b) sum += v;
    if (!(sum > 0.0)) return false;
    for (int i = 0; i < s; ++i) x[i + 1] = static_cast<double>(static_cast<float>(b[i] / sum));
    return true;
}

// A dense block's entries as lists, for a class solved as sparse.
struct ListsFromBlock {
    std::vector<std::int64_t> rowStart;
    std::vector<int> to;
    std::vector<double> probability;
    ListsFromBlock(const double* A, int s) : rowStart(1, 0) {
        for (int i = 1; i <= s; ++i) {
            for (int j = 1; j <= s; ++j)
                if (at(A, s + 1, i, j) != 0.0) {
                    to.push_back(j - 1);
                    probability.push_back(at(A, s + 1, i, j));
                }
            rowStart.push_back(static_cast<std::int64_t>(to.size()));
        }
    }
    ClassLists view() const { return {rowStart.data(), to.data(), probability.data()}; }
};

bool hasLists(const RoutingLists* lists, int r) {
    return lists != nullptr && static_cast<int>(lists->classStart.size()) >= r && lists->classStart[r - 1] >= 0;
}

ClassLists listsOf(const RoutingLists& lists, int r) {
    return {lists.rowStart.data() + lists.classStart[r - 1], lists.to.data(), lists.probability.data()};
}

}  // namespace

VisitRatioWorkspace::VisitRatioWorkspace(int maxDimension)
    : seen(maxDimension), x(maxDimension + 1), variableOrder(maxDimension + 1), equationOrder(maxDimension + 1) {
    stack.reserve(maxDimension);
}

bool routingStronglyConnected(const double* A, int n, VisitRatioWorkspace& work) {
    const int s = n - 1;
    if (s == 1) return isEdge(at(A, n, 1, 1));
    return reachesAll(s, work,
                      [&](int i, auto visit) {
                          for (int j = 0; j < s; ++j)
                              if (isEdge(at(A, n, i + 1, j + 1))) visit(j);
                      }) &&
           reachesAll(s, work, [&](int j, auto visit) {
               for (int i = 0; i < s; ++i)
                   if (isEdge(at(A, n, i + 1, j + 1))) visit(i);
           });
}

void checkRouting(int M, int R, std::int64_t L, const double* ADP, const int* SN, const int* INDEX,
                  const RoutingLists* lists, int& failed, VisitRatioWorkspace& work) {
    for (int r = 1; r <= R && !failed; ++r) {
        const int s = SN[r - 1];
        if (s < 1 || s > M) {
            failed = kClosedNetworkFailed;
            break;
        }
        if (hasLists(lists, r)) {
            if (INDEX[r] != INDEX[r - 1] || !listsStronglyConnected(s, listsOf(*lists, r), work))
                failed = kClosedNetworkFailed;
            continue;
        }
        const std::int64_t offset = routingBlockOffset(INDEX, r);
        const std::int64_t blockEnd = offset + static_cast<std::int64_t>(s + 1) * (s + 1);
        // A class without stations has no traffic equations to solve, and a
        // block outside ADP cannot be read: both are refused like a broken route.
        if (offset < 0 || blockEnd > L || INDEX[r] != blockEnd + 1) {
            failed = kClosedNetworkFailed;
            break;
        }
        if (!routingStronglyConnected(ADP + offset, s + 1, work)) failed = kClosedNetworkFailed;
    }
}

void solveVisitRatios(int M, int R, double* ADP, const int* SR, const int* SN, const int* INDEX,
                      const RoutingLists* lists, double* THETA, VisitRatioWorkspace& work, int& failed,
                      int sparseAbove) {
    std::vector<double>& x = work.x;
    for (int r = 1; r <= R; ++r) {
        const int s = SN[r - 1];
        const int n = s + 1;
        double* block = ADP + routingBlockOffset(INDEX, r);
        bool solved = true;
        if (hasLists(lists, r))
            solved = solveSparseClass(s, listsOf(*lists, r), x);
        else if (s > sparseAbove)
            solved = solveSparseClass(s, ListsFromBlock(block, s).view(), x);
        else if (n == 2)
            x[1] = 1.0;
        else
            solveClassSystem(n, block, work);
        if (!solved) {
            failed = kClosedNetworkFailed;
            return;
        }
        int k = 0;
        for (int m = 1; m <= M; ++m)
            if ((SR[classStation(R, r, m)] & 0xFF) && k < n - 1) {
                ++k;
                THETA[classStation(R, r, m)] = x[k] / x[1];
            }
    }
}

void checkRoutingAndSolveVisitRatios(int M, int R, std::int64_t L, double* ADP, const int* SR, const int* SN,
                                     const int* INDEX, const RoutingLists* lists, double* THETA, int& failed) {
    VisitRatioWorkspace work(M + 1);
    checkRouting(M, R, L, ADP, SN, INDEX, lists, failed, work);
    if (failed) return;
    solveVisitRatios(M, R, ADP, SR, SN, INDEX, lists, THETA, work, failed, kSparseThreshold);
}

}  // namespace kolt::methods

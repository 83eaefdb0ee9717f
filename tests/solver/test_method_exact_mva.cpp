// Exact MVA against hand-derived cases, a textbook table and a separate
// brute-force multi-class MVA written here for clarity.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <vector>

#include "solver/methods/methods.h"
#include "tests/solver/test_method_arrays.h"

namespace kolt::methods {
namespace {

using testing::buildClosed;
using testing::ClosedArrays;
using testing::Routing;
using testing::runExactMva;

TEST(MethodExactMva, HandDerivedSingleAndTwoStationCases) {
    // One FIFO station alone: every customer is always there.
    ClosedArrays one = buildClosed({5}, {1}, Routing{{{1.0}}}, {{0.4}});
    ASSERT_EQ(runExactMva(one), 0);
    EXPECT_DOUBLE_EQ(one.LAMBDA[0], 1 / 0.4);
    EXPECT_DOUBLE_EQ(one.N[0], 5.0);
    EXPECT_DOUBLE_EQ(one.w(1, 1), 5 * 0.4);

    // Two FIFO stations in a cycle, D1 = 1, D2 = 2, two customers.
    // n = 1: Q1 = 1/3, Q2 = 2/3. n = 2: W1 = 1 * 4/3, W2 = 2 * 5/3,
    // X = 2 / (14/3) = 3/7, Q1 = 4/7, Q2 = 10/7.
    ClosedArrays two = buildClosed({2}, {1, 1}, Routing{{{0, 1}, {1, 0}}}, {{1.0, 2.0}});
    ASSERT_EQ(runExactMva(two), 0);
    EXPECT_NEAR(two.LAMBDA[0], 3.0 / 7, 1e-12);
    EXPECT_NEAR(two.w(1, 1), 4.0 / 3, 1e-12);
    EXPECT_NEAR(two.w(1, 2), 10.0 / 3, 1e-12);
    EXPECT_NEAR(two.N[0], 4.0 / 7, 1e-12);
    EXPECT_NEAR(two.N[1], 10.0 / 7, 1e-12);
}

// Jain, "The Art of Computer Systems Performance Analysis", Wiley 1991,
// Example 34.2 and Table 34.1: a timesharing system with terminals (think
// time 4 s), a CPU (0.125 s, 16 visits), disk A (0.3 s, 10 visits) and disk B
// (0.2 s, 5 visits). Printed results to three decimals.
TEST(MethodExactMva, TimesharingSystemOfJainTable34_1) {
    struct Row {
        int users;
        double rCpu, rA, rB, system, throughput, qCpu, qA, qB;
    };
    const Row rows[] = {
        {1, 0.125, 0.300, 0.200, 6.000, 0.100, 0.200, 0.300, 0.100},
        {2, 0.150, 0.390, 0.220, 7.400, 0.175, 0.421, 0.684, 0.193},
        {3, 0.178, 0.505, 0.239, 9.088, 0.229, 0.651, 1.158, 0.273},
        {5, 0.235, 0.816, 0.268, 13.256, 0.290, 1.088, 2.365, 0.388},
        {17, 0.370, 3.962, 0.300, 47.045, 0.333, 1.974, 13.195, 0.499},
        {20, 0.373, 4.854, 0.300, 56.016, 0.333, 1.991, 16.177, 0.500},
    };
    // Terminals (IS) -> CPU; CPU -> A 10/16, B 5/16, terminals 1/16; disks -> CPU.
    Routing p{{{0, 1, 0, 0}, {1.0 / 16, 0, 10.0 / 16, 5.0 / 16}, {0, 1, 0, 0}, {0, 1, 0, 0}}};
    for (const Row& row : rows) {
        ClosedArrays a = buildClosed({row.users}, {4, 1, 1, 1}, p, {{4.0, 0.125, 0.3, 0.2}});
        ASSERT_EQ(runExactMva(a), 0);
        const double X = a.LAMBDA[0];
        const double system = a.theta(1, 2) * a.w(1, 2) + a.theta(1, 3) * a.w(1, 3) + a.theta(1, 4) * a.w(1, 4);
        SCOPED_TRACE(row.users);
        EXPECT_NEAR(a.w(1, 2), row.rCpu, 6e-4);
        EXPECT_NEAR(a.w(1, 3), row.rA, 6e-4);
        EXPECT_NEAR(a.w(1, 4), row.rB, 6e-4);
        EXPECT_NEAR(system, row.system, 6e-4);
        EXPECT_NEAR(X, row.throughput, 6e-4);
        EXPECT_NEAR(a.N[1], row.qCpu, 6e-4);
        EXPECT_NEAR(a.N[2], row.qA, 6e-4);
        EXPECT_NEAR(a.N[3], row.qB, 6e-4);
        EXPECT_NEAR(a.w(1, 1), 4.0, 1e-12) << "terminals never queue";
    }
}

TEST(MethodExactMva, SingleChainRecursionWrittenOut) {
    // Station 1 FIFO, 2 PS, 3 IS, 4 LIFO-PR; visit ratios 1, 0.5, 1, 0.25.
    Routing p{{{0, 0.5, 0.25, 0.25}, {0, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}}};
    const std::vector<double> tau{0.3, 0.8, 2.0, 1.2};
    const std::vector<double> theta{1.0, 0.5, 1.0, 0.25};
    const std::vector<int> type{1, 2, 4, 3};
    const int K = 12;
    std::vector<double> q(4, 0.0), w(4, 0.0);
    double X = 0.0;
    for (int k = 1; k <= K; ++k) {
        double cycle = 0.0;
        for (int m = 0; m < 4; ++m) {
            w[m] = tau[m] * (type[m] == 4 ? 1.0 : 1.0 + q[m]);  // per visit
            cycle += theta[m] * w[m];
        }
        X = k / cycle;
        for (int m = 0; m < 4; ++m) q[m] = X * theta[m] * w[m];
    }
    ClosedArrays a = buildClosed({K}, type, p, {tau});
    ASSERT_EQ(runExactMva(a), 0);
    EXPECT_NEAR(a.LAMBDA[0], X, 1e-6 * X);
    for (int m = 1; m <= 4; ++m) {
        EXPECT_NEAR(a.theta(1, m), theta[m - 1], 1e-7);
        EXPECT_NEAR(a.w(1, m), w[m - 1], 1e-6 * w[m - 1]);
        EXPECT_NEAR(a.N[m - 1], q[m - 1], 1e-6 * q[m - 1]);
    }
    EXPECT_NEAR(std::accumulate(a.N.begin(), a.N.end(), 0.0), K, 1e-9) << "customers are conserved";
}

// Straightforward multi-class MVA over every population vector, kept apart
// from the code under test: visit ratios by plain Gaussian elimination with
// x(first) = 1, queue lengths in a map keyed by the population vector.
struct BruteForce {
    std::vector<std::vector<double>> theta;  // [r][m]
    std::vector<std::vector<double>> w;      // [r][m] per visit, full population
    std::vector<double> X;                   // [r]
    std::vector<double> Q;                   // [m]
};

std::vector<double> visitRatios(const std::vector<std::vector<double>>& P, const std::vector<int>& visited) {
    const int s = static_cast<int>(visited.size());
    // Equations j = 1..s-1: sum_i x_i P(i, j) - x_j = 0; equation 0: x_0 = 1.
    std::vector<std::vector<double>> A(s, std::vector<double>(s + 1, 0.0));
    A[0][0] = 1.0;
    A[0][s] = 1.0;
    for (int j = 1; j < s; ++j) {
        for (int i = 0; i < s; ++i) A[j][i] = P[visited[i]][visited[j]];
        A[j][j] -= 1.0;
    }
    for (int c = 0; c < s; ++c) {
        int pivot = c;
        for (int i = c + 1; i < s; ++i)
            if (std::fabs(A[i][c]) > std::fabs(A[pivot][c])) pivot = i;
        std::swap(A[c], A[pivot]);
        for (int i = 0; i < s; ++i) {
            if (i == c) continue;
            const double f = A[i][c] / A[c][c];
            for (int j = c; j <= s; ++j) A[i][j] -= f * A[c][j];
        }
    }
    std::vector<double> x(s);
    for (int i = 0; i < s; ++i) x[i] = A[i][s] / A[i][i];
    return x;
}

BruteForce bruteForceMva(const std::vector<int>& K, const std::vector<int>& type, const Routing& P,
                         const std::vector<std::vector<double>>& tau) {
    const int R = static_cast<int>(K.size()), M = static_cast<int>(type.size());
    BruteForce b;
    b.theta.assign(R, std::vector<double>(M, 0.0));
    for (int r = 0; r < R; ++r) {
        std::vector<int> visited;
        for (int m = 0; m < M; ++m) {
            bool in = false;
            for (int i = 0; i < M; ++i) in = in || P[r][i][m] > 0;
            if (in) visited.push_back(m);
        }
        std::vector<double> x = visitRatios(P[r], visited);
        for (std::size_t k = 0; k < visited.size(); ++k) b.theta[r][visited[k]] = x[k];
    }
    std::map<std::vector<int>, std::vector<double>> queue;  // population -> Q(m)
    std::vector<int> n(R, 0);
    queue[n] = std::vector<double>(M, 0.0);
    std::vector<std::vector<int>> all;
    std::vector<int> v(R, 0);
    for (;;) {  // every vector, ordered by total population
        all.push_back(v);
        int r = R - 1;
        while (r >= 0 && v[r] == K[r]) v[r--] = 0;
        if (r < 0) break;
        ++v[r];
    }
    std::sort(all.begin(), all.end(), [](const auto& x, const auto& y) {
        const int sizeX = std::accumulate(x.begin(), x.end(), 0), sizeY = std::accumulate(y.begin(), y.end(), 0);
        return sizeX != sizeY ? sizeX < sizeY : x < y;
    });
    for (const auto& pop : all) {
        std::vector<std::vector<double>> w(R, std::vector<double>(M, 0.0));
        std::vector<double> X(R, 0.0), Q(M, 0.0);
        for (int r = 0; r < R; ++r) {
            if (pop[r] == 0) continue;
            std::vector<int> less = pop;
            --less[r];
            double cycle = 0.0;
            for (int m = 0; m < M; ++m) {
                if (b.theta[r][m] == 0) continue;
                w[r][m] = tau[r][m] * (type[m] == 4 ? 1.0 : 1.0 + queue.at(less)[m]);
                cycle += b.theta[r][m] * w[r][m];
            }
            X[r] = pop[r] / cycle;
            for (int m = 0; m < M; ++m) Q[m] += X[r] * b.theta[r][m] * w[r][m];
        }
        queue[pop] = Q;
        b.w = w;
        b.X = X;
        b.Q = Q;
    }
    return b;
}

// Exact MVA and the brute force agree to `tolerance`, relative, on every
// throughput, visited response time and station queue.
void expectAgreesWithBruteForce(const std::vector<int>& K, const std::vector<int>& type, const Routing& p,
                                const std::vector<std::vector<double>>& tau, double tolerance) {
    const int R = static_cast<int>(K.size()), M = static_cast<int>(type.size());
    ClosedArrays a = buildClosed(K, type, p, tau);
    ASSERT_EQ(runExactMva(a), 0);
    const BruteForce b = bruteForceMva(K, type, p, tau);
    for (int r = 1; r <= R; ++r) {
        EXPECT_NEAR(a.LAMBDA[r - 1], b.X[r - 1], tolerance * b.X[r - 1]) << "class " << r;
        for (int m = 1; m <= M; ++m) {
            if (!a.SR[(m - 1) * R + (r - 1)]) {
                EXPECT_EQ(a.w(r, m), -1.0) << "unvisited pair written";
                continue;
            }
            EXPECT_NEAR(a.theta(r, m), b.theta[r - 1][m - 1], tolerance * b.theta[r - 1][m - 1]) << r << "," << m;
            EXPECT_NEAR(a.w(r, m), b.w[r - 1][m - 1], tolerance * b.w[r - 1][m - 1]) << r << "," << m;
        }
    }
    for (int m = 1; m <= M; ++m) EXPECT_NEAR(a.N[m - 1], b.Q[m - 1], tolerance * b.Q[m - 1]) << m;
    EXPECT_NEAR(std::accumulate(a.N.begin(), a.N.end(), 0.0), std::accumulate(K.begin(), K.end(), 0), 1e-9);
}

// Stations: 1 IS terminals, 2 FIFO, 3 PS, 4 FIFO, 5 LIFO-PR. Class 1 visits
// 1-4 (terminals -> 2 -> {3, 4, terminals}, back to 2), class 2 only 1 and 3
// (with a self-loop at 3), class 3 stations 2, 4 and 5 and no terminals.
Routing threeClassRouting(double toDiskA, double toDiskB, double selfLoop) {
    Routing p(3, std::vector<std::vector<double>>(5, std::vector<double>(5, 0.0)));
    p[0][0][1] = 1;
    p[0][1][2] = toDiskA, p[0][1][3] = toDiskB, p[0][1][0] = 1 - toDiskA - toDiskB;
    p[0][2][1] = 1;
    p[0][3][1] = 1;
    p[1][0][2] = 1;
    p[1][2][0] = 1 - selfLoop, p[1][2][2] = selfLoop;
    p[2][1][3] = 0.5, p[2][1][4] = 0.5;
    p[2][3][1] = 1;
    p[2][4][1] = 1;
    return p;
}

const std::vector<int> kThreeClassTypes{4, 1, 2, 1, 3};
const std::vector<std::vector<double>> kThreeClassTau{
    {5.0, 0.2, 0.5, 0.35, 0}, {3.0, 0, 0.9, 0, 0}, {0, 0.15, 0, 0.6, 1.1}};

TEST(MethodExactMva, ThreeClassesAgainstBruteForce) {
    // The visit-ratio solve normalises its solution to a sum of 1 and keeps
    // it in single precision. With ratios 1, 4, 2, 1 (class 1), 1, 1 and
    // 1, 0.5, 0.5, whose sums are powers of 2, nothing is lost there, and
    // the recursion itself must agree to rounding.
    expectAgreesWithBruteForce({3, 2, 4}, kThreeClassTypes, threeClassRouting(0.5, 0.25, 0.0), kThreeClassTau, 1e-12);
    // Other ratios are rounded to single precision, which bounds the
    // agreement to about 1e-7 relative.
    expectAgreesWithBruteForce({3, 2, 4}, kThreeClassTypes, threeClassRouting(0.4, 0.3, 0.3), kThreeClassTau, 1e-6);
    // Larger populations, one class empty.
    expectAgreesWithBruteForce({6, 0, 5}, kThreeClassTypes, threeClassRouting(0.4, 0.3, 0.3), kThreeClassTau, 1e-6);
}

TEST(MethodExactMva, EmptyClassAndDelayStation) {
    // Class 2 has no customers: W = 0 everywhere and no throughput; the IS
    // station gives class 1 exactly its service time.
    Routing p{{{0, 1}, {1, 0}}, {{0, 1}, {1, 0}}};
    ClosedArrays a = buildClosed({4, 0}, {4, 1}, p, {{2.5, 0.5}, {1.0, 1.0}});
    ASSERT_EQ(runExactMva(a), 0);
    EXPECT_EQ(a.LAMBDA[1], 0.0);
    EXPECT_EQ(a.w(2, 1), 0.0);
    EXPECT_EQ(a.w(2, 2), 0.0);
    EXPECT_DOUBLE_EQ(a.w(1, 1), 2.5);
    EXPECT_NEAR(a.N[0] + a.N[1], 4.0, 1e-12);
}

TEST(MethodExactMva, PopulationAndServiceTimesRestoredOnEveryExit) {
    Routing p{{{0.2, 0.8}, {1, 0}}, {{0, 1}, {1, 0}}};
    const std::vector<std::vector<double>> tau{{0.1, 0.3}, {0.7, 0.11}};
    ClosedArrays ok = buildClosed({3, 2}, {1, 2}, p, tau);
    const std::vector<double> tauBefore = ok.TAU;
    ASSERT_EQ(runExactMva(ok), 0);
    EXPECT_EQ(ok.K, (std::vector<int>{3, 2}));
    EXPECT_EQ(ok.TAU, tauBefore) << "service times must come back bit for bit";

    // Fails after K was raised: the queue table does not fit in ADP.
    ClosedArrays shortAdp = buildClosed({30, 30}, {1, 2}, p, tau);
    shortAdp.L = 2 * 31 - 1;
    EXPECT_EQ(runExactMva(shortAdp), 1);
    EXPECT_EQ(shortAdp.K, (std::vector<int>{30, 30}));
    EXPECT_EQ(shortAdp.TAU, tauBefore);

    // Fails in the priority capacity check, also after K was raised.
    ClosedArrays prio = buildClosed({200, 200}, {5, 1}, p, tau);
    EXPECT_EQ(runExactMva(prio), kPriorityTableLimit);
    EXPECT_EQ(prio.K, (std::vector<int>{200, 200}));
    EXPECT_EQ(prio.TAU, tauBefore);

    // Fails in the routing check.
    Routing broken{{{0.5, 0.5}, {0, 1}}, {{0, 1}, {1, 0}}};
    ClosedArrays bad = buildClosed({3, 2}, {1, 2}, broken, tau);
    EXPECT_EQ(runExactMva(bad), 1);
    EXPECT_EQ(bad.K, (std::vector<int>{3, 2}));
    EXPECT_EQ(bad.TAU, tauBefore);
}

TEST(MethodExactMva, PriorityStationsUnderMvap) {
    // One class at a preemptive priority station behaves as at a FIFO one.
    Routing loop{{{0, 1}, {1, 0}}};
    ClosedArrays fifo = buildClosed({4}, {1, 4}, loop, {{0.5, 2.0}});
    ClosedArrays prior = buildClosed({4}, {5, 4}, loop, {{0.5, 2.0}});
    ASSERT_EQ(runExactMva(fifo), 0);
    ASSERT_EQ(runExactMva(prior), 0);
    EXPECT_NEAR(prior.LAMBDA[0], fifo.LAMBDA[0], 1e-12);
    EXPECT_NEAR(prior.w(1, 1), fifo.w(1, 1), 1e-12);
    EXPECT_NEAR(prior.N[0], fifo.N[0], 1e-12);

    // Class 1 preempts class 2 there and meets it nowhere else (IS): it is
    // never slowed down, and sees the station as if it were alone.
    Routing both{{{0, 1}, {1, 0}}, {{0, 1}, {1, 0}}};
    ClosedArrays mixed = buildClosed({4, 3}, {5, 4}, both, {{0.5, 2.0}, {0.4, 3.0}});
    ASSERT_EQ(runExactMva(mixed), 0);
    EXPECT_NEAR(mixed.LAMBDA[0], fifo.LAMBDA[0], 1e-12);
    EXPECT_NEAR(mixed.w(1, 1), fifo.w(1, 1), 1e-12);
    EXPECT_GT(mixed.w(2, 1), 0.4) << "the lower class waits";
    EXPECT_NEAR(mixed.N[0] + mixed.N[1], 7.0, 1e-9);
}

TEST(MethodExactMva, SmallServiceTimesGiveTheScaledResults) {
    // Three customers between a FIFO station and a delay station, then the
    // same model with every time 1e7 times shorter: the throughput grows by
    // 1e7, the queues stay, and all three customers are still there.
    Routing loop{{{0, 1}, {1, 0}}};
    ClosedArrays unit = buildClosed({3}, {1, 4}, loop, {{1.0, 2.0}});
    ClosedArrays fast = buildClosed({3}, {1, 4}, loop, {{1e-7, 2e-7}});
    ASSERT_EQ(runExactMva(unit), 0);
    ASSERT_EQ(runExactMva(fast), 0);
    EXPECT_NEAR(fast.LAMBDA[0] * 1e-7, unit.LAMBDA[0], 1e-9 * unit.LAMBDA[0]);
    EXPECT_NEAR(fast.N[0], unit.N[0], 1e-9);
    EXPECT_NEAR(fast.N[0] + fast.N[1], 3.0, 1e-9);
}

TEST(MethodExactMva, UnknownStationTypeIsRefused) {
    ClosedArrays a = buildClosed({2}, {1, 7}, Routing{{{0, 1}, {1, 0}}}, {{1, 1}});
    EXPECT_EQ(runExactMva(a), 1);
}

}  // namespace
}  // namespace kolt::methods

// The solver's shortcuts against the literal steps of the methods on random
// networks: the routing check by searches gives the verdict of repeated
// squaring, and the recursion made for networks without priority stations,
// the eliminations that skip zero updates and the visit-ratio solve give the
// same bits as the literal steps.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>

#include "solver/methods/gauss_jordan.h"
#include "solver/methods/methods.h"
#include "solver/methods/visit_ratios.h"
#include "tests/solver/reference_numerics.h"

namespace kolt::methods {
namespace {

using testing::buildClosed;
using testing::ClosedArrays;
using testing::Routing;

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// Each class visits a random subset of the stations in a ring with random
// shortcuts; random probabilities, some of them zero.
Routing randomClosedRouting(int R, int M, std::mt19937& random) {
    Routing p(R, std::vector<std::vector<double>>(M, std::vector<double>(M, 0.0)));
    for (int r = 0; r < R; ++r) {
        std::vector<int> visited;
        for (int m = 0; m < M; ++m)
            if (random() % 3 != 0) visited.push_back(m);
        if (visited.empty()) visited.push_back(static_cast<int>(random() % M));
        const int s = static_cast<int>(visited.size());
        for (int i = 0; i < s; ++i) {
            std::vector<double> weight(s, 0.0);
            weight[(i + 1) % s] = 1.0 + random() % 7;
            for (int j = 0; j < s; ++j)
                if (random() % 3 == 0) weight[j] += random() % 5;  // 0 keeps some entries zero
            double total = 0.0;
            for (double w : weight) total += w;
            for (int j = 0; j < s; ++j) p[r][visited[i]][visited[j]] = weight[j] / total;
        }
    }
    return p;
}

TEST(BitIdentity, RecursionWithoutPriorityStationsGivesTheLiteralRecursionsBits) {
    std::mt19937 random(2026);
    for (int trial = 0; trial < 60; ++trial) {
        const int R = 1 + static_cast<int>(random() % 3);
        const int M = 1 + static_cast<int>(random() % 7);
        std::vector<int> population(R), type(M);
        for (int& k : population) k = static_cast<int>(random() % 5);
        for (int& t : type) t = 1 + static_cast<int>(random() % 4);
        std::vector<std::vector<double>> tau(R, std::vector<double>(M));
        for (auto& row : tau)
            for (double& t : row) t = 0.01 + (random() % 1000) / 997.0;
        ClosedArrays fast = buildClosed(population, type, randomClosedRouting(R, M, random), tau);
        ClosedArrays literal = fast;
        int failed = -1;
        exactMva(fast.M, fast.R, fast.L, fast.K.data(), fast.TYPE.data(), fast.SR.data(), fast.TAU.data(),
                 fast.SN.data(), fast.ADP.data(), fast.INDEX.data(), 0, fast.THETA.data(), fast.N.data(), fast.W.data(),
                 fast.LAMBDA.data(), failed, nullptr);
        ASSERT_EQ(failed, 0) << "trial " << trial;
        literal.THETA = fast.THETA;
        testing::literalExactMva(literal);
        EXPECT_TRUE(sameBits(fast.W, literal.W)) << "trial " << trial;
        EXPECT_TRUE(sameBits(fast.LAMBDA, literal.LAMBDA)) << "trial " << trial;
        EXPECT_TRUE(sameBits(fast.N, literal.N)) << "trial " << trial;
    }
}

// Systems with exact zeros in the pivot rows and columns, and a few negative
// zeros and infinities among them.
TEST(BitIdentity, GaussJordanSkippingZeroUpdatesGivesThePlainEliminationsBits) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 40; ++trial) {
        const int n = 1 + static_cast<int>(random() % 40);
        std::vector<double> A(static_cast<std::size_t>(n) * (n + 1), 0.0);
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i < n; ++i) {
                const unsigned pick = random() % 10;
                double& a = A[static_cast<std::size_t>(j) * n + i];
                if (i == j)
                    a = -1.0 - (random() % 100) / 50.0;
                else if (pick < 2)
                    a = (random() % 100) / 400.0;
                else if (pick == 2)
                    a = -0.0;
            }
        if (trial % 10 == 9) A[random() % A.size()] = INFINITY;
        std::vector<double> plain = A;
        const bool solved = eliminateGaussJordan(n, A.data());
        EXPECT_EQ(solved, testing::plainGaussJordan(n, plain.data()));
        if (!solved) continue;
        // Every value the same to the bit, but an exact zero may keep the
        // other sign: -0 - (-0) is +0 where the update was not made. A zero
        // of either sign prints and computes as 0 in everything after.
        for (std::size_t x = 0; x < A.size(); ++x) {
            if (std::isnan(A[x]) && std::isnan(plain[x])) continue;
            if (plain[x] == 0.0)
                ASSERT_EQ(A[x], 0.0) << "trial " << trial << " at " << x;
            else
                // Bits, not values: the point is that nothing changed by a bit.
                // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
                ASSERT_EQ(std::memcmp(&A[x], &plain[x], sizeof(double)), 0) << "trial " << trial << " at " << x;
        }
    }
}

TEST(BitIdentity, DenseVisitRatioSolveGivesTheLiteralEliminationsBits) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 40; ++trial) {
        const int M = 1 + static_cast<int>(random() % 30);
        ClosedArrays a =
            buildClosed({1}, std::vector<int>(M, 1), randomClosedRouting(1, M, random), {std::vector<double>(M, 1.0)});
        const int n = a.SN[0] + 1;
        const std::vector<double> block(a.ADP.begin(), a.ADP.begin() + n * n);
        VisitRatioWorkspace work(M + 1);
        int failed = 0;
        solveVisitRatios(a.M, a.R, a.ADP.data(), a.SR.data(), a.SN.data(), a.INDEX.data(), nullptr, a.THETA.data(),
                         work, failed, INT_MAX);
        ASSERT_EQ(failed, 0);
        std::vector<double> theta;
        for (int m = 0; m < M; ++m)
            if (a.SR[m]) theta.push_back(a.THETA[m]);
        EXPECT_TRUE(sameBits(theta, testing::literalVisitRatios(block, n))) << "trial " << trial;
    }
}

// Connected, disconnected and one-way classes, with probabilities on both
// sides of 1.0E-4 in single precision.
TEST(RoutingCheck, SearchesGiveTheVerdictOfRepeatedSquaring) {
    std::mt19937 random(5);
    const double probabilities[] = {0.5, 1.0, 0.3, 1.0E-4, static_cast<double>(1.0E-4f), 9.9e-5, 0.0};
    int passed = 0, refused = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const int s = 1 + static_cast<int>(random() % 9);
        const int n = s + 1;
        std::vector<double> A(static_cast<std::size_t>(n) * n, 0.0);
        const unsigned density = 1 + random() % 4;
        for (int i = 0; i < s; ++i)
            for (int j = 0; j < s; ++j)
                if (random() % 5 < density) A[static_cast<std::size_t>(j) * n + i] = probabilities[random() % 7];
        if (trial % 4 == 0)  // a ring, sometimes broken one way
            for (int i = 0; i < s; ++i) A[static_cast<std::size_t>((i + 1) % s) * n + i] = trial % 8 ? 0.5 : 5e-5;
        VisitRatioWorkspace work(n);
        const bool verdict = testing::squaringRoutingCheck(A, n);
        EXPECT_EQ(routingStronglyConnected(A.data(), n, work), verdict) << "trial " << trial;
        (verdict ? passed : refused) += 1;
    }
    EXPECT_GT(passed, 50);
    EXPECT_GT(refused, 50);
}

}  // namespace
}  // namespace kolt::methods

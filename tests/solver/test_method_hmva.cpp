// Approximate MVA with correction terms: exact where the approximation is
// exact, close to exact MVA elsewhere, and its delay and empty-class cases.
#include <gtest/gtest.h>

#include <cmath>

#include "solver/methods/methods.h"
#include "tests/solver/test_method_arrays.h"

namespace kolt::methods {
namespace {

using testing::buildClosed;
using testing::ClosedArrays;
using testing::Routing;
using testing::runApproximateMva;
using testing::runExactMva;

TEST(MethodHmva, OneStationIsExact) {
    for (int K : {1, 2, 7}) {
        ClosedArrays a = buildClosed({K}, {1}, Routing{{{1.0}}}, {{0.5}}, true);
        ASSERT_EQ(runApproximateMva(a), 0);
        EXPECT_NEAR(a.LAMBDA[0], K, 1e-9) << "all customers at the only station";
        EXPECT_NEAR(a.w(1, 1), K * 0.5, 1e-6);
        EXPECT_NEAR(a.N[0], 2.0, 1e-6) << "throughput 1 / service time";
        EXPECT_EQ(a.K[0], K);
    }
}

TEST(MethodHmva, CloseToExactMvaButNotEqual) {
    // Two classes over a delay station, a FIFO CPU and two disks.
    Routing p{{{0, 1, 0, 0}, {0.2, 0, 0.5, 0.3}, {0, 1, 0, 0}, {0, 1, 0, 0}},
              {{0, 0, 0, 0}, {0, 0.1, 0.9, 0}, {0, 1, 0, 0}, {0, 0, 0, 0}}};
    const std::vector<std::vector<double>> tau{{3.0, 0.05, 0.12, 0.2}, {0, 0.08, 0.1, 0}};
    ClosedArrays approx = buildClosed({6, 3}, {4, 1, 1, 2}, p, tau, true);
    ClosedArrays exact = buildClosed({6, 3}, {4, 1, 1, 2}, p, tau);
    ASSERT_EQ(runApproximateMva(approx), 0);
    ASSERT_EQ(runExactMva(exact), 0);
    bool differs = false;
    for (int r = 1; r <= 2; ++r)
        for (int m = 1; m <= 4; ++m) {
            const std::size_t x = (m - 1) * 2 + (r - 1);
            if (!exact.SR[x]) {
                EXPECT_EQ(approx.LAMBDA[x], 0.0) << "unvisited pairs carry nothing";
                EXPECT_EQ(approx.N[x], 0.0);
                continue;
            }
            const double X = exact.LAMBDA[r - 1] * exact.theta(r, m);
            EXPECT_NEAR(approx.N[x], X, 0.03 * X) << "throughput " << r << "," << m;
            EXPECT_NEAR(approx.w(r, m), exact.w(r, m), 0.03 * exact.w(r, m)) << "time " << r << "," << m;
            differs = differs || std::fabs(approx.w(r, m) - exact.w(r, m)) > 1e-9;
        }
    EXPECT_TRUE(differs) << "an approximation that equals exact MVA here is suspicious";
    // Customers are conserved per class.
    for (int r = 1; r <= 2; ++r) {
        double total = 0.0;
        for (int m = 1; m <= 4; ++m) total += approx.LAMBDA[(m - 1) * 2 + (r - 1)];
        EXPECT_NEAR(total, approx.K[r - 1], 1e-9);
    }
}

TEST(MethodHmva, DelayStationNeverQueues) {
    Routing p{{{0, 1}, {1, 0}}};
    ClosedArrays a = buildClosed({50}, {4, 1}, p, {{2.0, 0.1}}, true);
    ASSERT_EQ(runApproximateMva(a), 0);
    EXPECT_DOUBLE_EQ(a.w(1, 1), 2.0);
    EXPECT_NEAR(a.N[1], 10.0, 0.05) << "the server saturates at 1 / 0.1";
}

TEST(MethodHmva, EmptyClassChangesNothingForTheOthers) {
    Routing two{{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, {{0, 0.5, 0.5}, {1, 0, 0}, {1, 0, 0}}};
    const std::vector<std::vector<double>> tau{{1.0, 0.3, 0.4}, {0.2, 0.6, 0.1}};
    ClosedArrays withEmpty = buildClosed({5, 0}, {4, 1, 2}, two, tau, true);
    ASSERT_EQ(runApproximateMva(withEmpty), 0);
    ClosedArrays alone = buildClosed({5}, {4, 1, 2}, Routing{two[0]}, {tau[0]}, true);
    ASSERT_EQ(runApproximateMva(alone), 0);
    for (int m = 1; m <= 3; ++m) {
        EXPECT_EQ(withEmpty.LAMBDA[(m - 1) * 2 + 1], 0.0);
        EXPECT_EQ(withEmpty.N[(m - 1) * 2 + 1], 0.0);
        EXPECT_DOUBLE_EQ(withEmpty.w(1, m), alone.w(1, m));
        EXPECT_DOUBLE_EQ(withEmpty.N[(m - 1) * 2], alone.N[m - 1]);
        EXPECT_TRUE(std::isfinite(withEmpty.w(2, m)));
    }
    EXPECT_EQ(withEmpty.K, (std::vector<int>{5, 0}));
}

TEST(MethodHmva, BrokenRoutingRaisesTheFlag) {
    Routing p{{{0.5, 0.5}, {0, 1}}};
    ClosedArrays a = buildClosed({3}, {1, 1}, p, {{1, 1}}, true);
    EXPECT_EQ(runApproximateMva(a), 1);
    EXPECT_EQ(a.LAMBDA[0], -1.0) << "nothing computed";
}

}  // namespace
}  // namespace kolt::methods

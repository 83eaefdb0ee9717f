// Routing check and visit ratios of the closed methods, through exactMva
// (which fails exactly when the check fails) and directly.
#include <gtest/gtest.h>

#include "solver/methods/methods.h"
#include "solver/methods/visit_ratios.h"
#include "tests/solver/test_method_arrays.h"

namespace kolt::methods {
namespace {

using testing::buildClosed;
using testing::ClosedArrays;
using testing::Routing;
using testing::runExactMva;

TEST(MethodVisitRatios, BranchingCycleAndTwoStationBounce) {
    // 1 -> 2 -> 3 -> 1 with a branch 1 -> 3 at 0.5: x2 = x1/2, x3 = x1/2 + x2.
    Routing branch{{{0, 0.5, 0.5}, {0, 0, 1}, {1, 0, 0}}};
    ClosedArrays a = buildClosed({1}, {1, 1, 1}, branch, {{1, 1, 1}});
    ASSERT_EQ(runExactMva(a), 0);
    EXPECT_EQ(a.theta(1, 1), 1.0);
    EXPECT_NEAR(a.theta(1, 2), 0.5, 1e-7);
    EXPECT_NEAR(a.theta(1, 3), 1.0, 1e-7);

    Routing bounce{{{0, 1}, {1, 0}}};
    ClosedArrays b = buildClosed({3}, {1, 2}, bounce, {{1, 1}});
    ASSERT_EQ(runExactMva(b), 0);
    EXPECT_EQ(b.theta(1, 1), 1.0);
    EXPECT_NEAR(b.theta(1, 2), 1.0, 1e-7);
}

TEST(MethodVisitRatios, CentralServerAgainstBalanceEquations) {
    // A CPU (1) feeding three disks, and a second class that skips disk 2:
    // the ratios must satisfy x = x P to single precision.
    Routing p{{{0.1, 0.2, 0.3, 0.4}, {1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}},
              {{0, 0, 0.25, 0.75}, {0, 0, 0, 0}, {1, 0, 0, 0}, {0.5, 0, 0.5, 0}}};
    ClosedArrays a = buildClosed({1, 1}, {2, 1, 1, 4}, p, {{1, 1, 1, 1}, {1, 0, 1, 1}});
    ASSERT_EQ(runExactMva(a), 0);
    for (int r = 1; r <= 2; ++r)
        for (int j = 1; j <= 4; ++j) {
            if (!a.SR[(j - 1) * 2 + (r - 1)]) continue;
            double inflow = 0.0;
            for (int i = 1; i <= 4; ++i)
                if (a.SR[(i - 1) * 2 + (r - 1)]) inflow += a.theta(r, i) * p[r - 1][i - 1][j - 1];
            EXPECT_NEAR(inflow, a.theta(r, j), 1e-6) << "class " << r << " station " << j;
        }
    EXPECT_NEAR(a.theta(1, 4), 0.4, 1e-6);
    EXPECT_EQ(a.theta(2, 1), 1.0);
    EXPECT_NEAR(a.theta(2, 3), 0.625, 1e-6);
    EXPECT_EQ(a.THETA[1 * 2 + 1], -1.0) << "unvisited pair must stay unwritten";
}

TEST(MethodVisitRatios, RoutingCheckRefusals) {
    // Station 3 is entered but never left towards the others.
    Routing trap{{{0, 0.5, 0.5}, {1, 0, 0}, {0, 0, 1}}};
    ClosedArrays a = buildClosed({2}, {1, 1, 1}, trap, {{1, 1, 1}});
    EXPECT_EQ(runExactMva(a), 1);
    EXPECT_EQ(a.THETA[0], -1.0) << "no visit ratio may be computed";

    // The only way back is below the 1.0E-4 threshold.
    Routing faint{{{0, 1}, {0.00009, 0.99991}}};
    ClosedArrays b = buildClosed({2}, {1, 1}, faint, {{1, 1}});
    EXPECT_EQ(runExactMva(b), 1);

    // A long cycle needs every squaring step: 1 -> 2 -> ... -> 6 -> 1 passes,
    // the same cycle cut at 6 fails.
    Routing cycle(1, std::vector<std::vector<double>>(6, std::vector<double>(6, 0.0)));
    for (int i = 0; i < 6; ++i) cycle[0][i][(i + 1) % 6] = 1.0;
    ClosedArrays c = buildClosed({1}, {1, 1, 1, 1, 1, 1}, cycle, {std::vector<double>(6, 1.0)});
    EXPECT_EQ(runExactMva(c), 0);
    for (int m = 1; m <= 6; ++m) EXPECT_NEAR(c.theta(1, m), 1.0, 1e-6);
    cycle[0][5][0] = 0.5;
    cycle[0][5][5] = 0.5;
    ClosedArrays d = buildClosed({1}, {1, 1, 1, 1, 1, 1}, cycle, {std::vector<double>(6, 1.0)});
    EXPECT_EQ(runExactMva(d), 0) << "5 steps back to 1 still close the cycle";
    cycle[0][5][0] = 0.0;
    cycle[0][5][5] = 1.0;
    ClosedArrays e = buildClosed({1}, {1, 1, 1, 1, 1, 1}, cycle, {std::vector<double>(6, 1.0)});
    EXPECT_EQ(runExactMva(e), 1);
}

TEST(MethodVisitRatios, SingleStationNeedsItsOwnLoop) {
    VisitRatioWorkspace work(3);
    const double loop[4] = {1.0, 0.0, 0.0, 0.0};
    const double leak[4] = {0.00001, 0.0, 0.0, 0.0};
    EXPECT_TRUE(routingStronglyConnected(loop, 2, work));
    EXPECT_FALSE(routingStronglyConnected(leak, 2, work));
}

TEST(MethodVisitRatios, ClassWithoutStationsIsRefusedNotCrashed) {
    Routing p{{{0, 1}, {1, 0}}, {{0, 0}, {0, 0}}};
    ClosedArrays a = buildClosed({1, 1}, {1, 1}, p, {{1, 1}, {0, 0}});
    ASSERT_EQ(a.SN[1], 0);
    EXPECT_EQ(runExactMva(a), 1);
    EXPECT_EQ(a.K, (std::vector<int>{1, 1}));
}

}  // namespace
}  // namespace kolt::methods

// Open product-form network against the M/M/1 and M/M/infinity formulas and
// the traffic equations solved here by plain iteration.
#include <gtest/gtest.h>

#include <cmath>

#include "solver/methods/methods.h"
#include "tests/solver/test_method_arrays.h"

namespace kolt::methods {
namespace {

using testing::buildOpen;
using testing::OpenArrays;
using testing::Routing;
using testing::runJackson;

TEST(MethodJackson, SingleServerIsMM1AndSaturationFails) {
    OpenArrays a = buildOpen({4}, Routing{{{0.0}}}, {{1.0}}, {{0.5}});
    int code = -1, station = -1;
    runJackson(a, code, station);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(station, 2);
    EXPECT_DOUBLE_EQ(a.LMBNR[0], 0.5);
    EXPECT_DOUBLE_EQ(a.OBCN[0], 0.5);
    EXPECT_DOUBLE_EQ(a.ENKN[0], 1.0);
    EXPECT_DOUBLE_EQ(a.ENTN[0], 2.0);
    EXPECT_DOUBLE_EQ(a.MIN[0], 1.0);
    EXPECT_DOUBLE_EQ(a.ENRTNR[0], 2.0);

    OpenArrays full = buildOpen({4}, Routing{{{0.0}}}, {{1.0}}, {{1.0}});
    runJackson(full, code, station);
    EXPECT_EQ(code, 30);
    EXPECT_EQ(station, 1);
}

TEST(MethodJackson, DelayStationWithLoadTwo) {
    // Two classes each loading the IS station by 1: rho = 2.
    Routing p{{{0.0}}, {{0.0}}};
    OpenArrays a = buildOpen({1}, p, {{1.0}, {0.5}}, {{1.0}, {0.5}});
    int code = -1, station = -1;
    runJackson(a, code, station);
    ASSERT_EQ(code, 0);
    EXPECT_DOUBLE_EQ(a.ENKN[0], 2.0);
    EXPECT_DOUBLE_EQ(a.OBCN[0], 1.0 - std::exp(-2.0));
    EXPECT_DOUBLE_EQ(a.ENTN[0], 2.0 / 1.5);
    EXPECT_DOUBLE_EQ(a.ENRTNR[0], 1.0) << "time at a delay station is the service time";
    EXPECT_DOUBLE_EQ(a.ENRTNR[1], 2.0);
    EXPECT_DOUBLE_EQ(a.ENRKNR[0], 1.0);
    EXPECT_DOUBLE_EQ(a.ENRKNR[1], 1.0);
    EXPECT_DOUBLE_EQ(a.OBCNR[0] + a.OBCNR[1], a.OBCN[0]);
}

TEST(MethodJackson, FailuresNameTheStation) {
    // Station 2 is loaded by nobody; station 1 is evaluated before it.
    OpenArrays idle = buildOpen({4, 3}, Routing{{{0, 0}, {0, 0}}}, {{1.0, 0.0}}, {{0.25, 0.0}});
    int code = -1, station = -1;
    runJackson(idle, code, station);
    EXPECT_EQ(code, 26);
    EXPECT_EQ(station, 2);
    EXPECT_DOUBLE_EQ(idle.ENKN[0], 0.25 / 0.75);

    // Customers bounce between two stations for ever.
    OpenArrays loop = buildOpen({4, 4}, Routing{{{0, 1}, {1, 0}}}, {{1.0, 1.0}}, {{0.1, 0.0}});
    runJackson(loop, code, station);
    EXPECT_EQ(code, 33);
    EXPECT_EQ(station, 0);
}

TEST(MethodJackson, FeedbackNetworkAgainstTrafficEquations) {
    // Two classes over a PS CPU, a FIFO disk and an IS think stage, with
    // feedback; class 2 never uses the disk.
    const std::vector<int> type{3, 4, 1};
    Routing p{{{0.1, 0.5, 0.2}, {0.9, 0, 0}, {0.6, 0, 0}}, {{0.3, 0, 0.4}, {0, 0, 0}, {1.0, 0, 0}}};
    const std::vector<std::vector<double>> rate{{10.0, 4.0, 0.5}, {8.0, 0.0, 1.0}};
    const std::vector<std::vector<double>> arrivals{{0.4, 0.1, 0.0}, {0.5, 0.0, 0.0}};
    OpenArrays a = buildOpen(type, p, rate, arrivals);
    int code = -1, station = -1;
    runJackson(a, code, station);
    ASSERT_EQ(code, 0);
    ASSERT_EQ(station, 4);

    for (int r = 0; r < 2; ++r) {
        std::vector<double> lambda(3, 0.0);
        for (int pass = 0; pass < 2000; ++pass) {  // lambda = lambda0 + P^T lambda
            std::vector<double> next = arrivals[r];
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) next[j] += lambda[i] * p[r][i][j];
            lambda = next;
        }
        for (int m = 1; m <= 3; ++m) EXPECT_NEAR(a.LMBNR[a.rm(r + 1, m)], lambda[m - 1], 1e-12);
    }
    for (int m = 1; m <= 3; ++m) {
        double rho = 0.0, lam = 0.0;
        for (int r = 1; r <= 2; ++r)
            if (rate[r - 1][m - 1] > 0) {
                rho += a.LMBNR[a.rm(r, m)] / rate[r - 1][m - 1];
                lam += a.LMBNR[a.rm(r, m)];
            }
        EXPECT_NEAR(a.LAMBN[m - 1], lam, 1e-12);
        EXPECT_NEAR(a.ENTN[m - 1], a.ENKN[m - 1] / lam, 1e-12) << "Little's law at " << m;
        if (type[m - 1] == 1) {
            EXPECT_NEAR(a.ENKN[m - 1], rho, 1e-12);
            continue;
        }
        EXPECT_NEAR(a.ENKN[m - 1], rho / (1 - rho), 1e-12);
        double sum = 0.0;
        for (int r = 1; r <= 2; ++r)
            if (rate[r - 1][m - 1] > 0) {
                EXPECT_NEAR(a.ENRTNR[a.rm(r, m)], 1 / (rate[r - 1][m - 1] * (1 - rho)), 1e-12);
                sum += a.ENRKNR[a.rm(r, m)];
            }
        EXPECT_NEAR(sum, a.ENKN[m - 1], 1e-12);
    }
}

}  // namespace
}  // namespace kolt::methods

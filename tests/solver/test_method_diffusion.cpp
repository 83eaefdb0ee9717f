// Diffusion approximation against the M/M/1 and M/D/1 mean queue lengths it
// must reproduce for one station, the class response times it derives from
// the station's, and its failure codes.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "solver/methods/methods.h"
#include "tests/solver/test_method_arrays.h"

namespace kolt::methods {
namespace {

using testing::buildOpen;
using testing::OpenArrays;
using testing::Routing;
using testing::runDiffusion;

TEST(MethodDiffusion, SingleStationMatchesMM1AndHalvesItForDeterministicService) {
    // Poisson arrivals at 0.6, service rate 1: rho 0.6.
    OpenArrays mm1 = buildOpen({4}, Routing{{{0.0}}}, {{1.0}}, {{0.6}}, {{1.0}}, {{1.0}});
    int code = -1, station = -1;
    runDiffusion(mm1, code, station);
    ASSERT_EQ(code, 0);
    EXPECT_EQ(station, 2);
    EXPECT_NEAR(mm1.CAN2[0], 1.0, 1e-12);
    EXPECT_NEAR(mm1.CBN2[0], 1.0, 1e-12);
    EXPECT_NEAR(mm1.ENKN[0], 0.6 / 0.4, 1e-12);
    EXPECT_NEAR(mm1.ENTN[0], 1.0 / 0.4, 1e-12);
    EXPECT_NEAR(mm1.MIN[0], 1.0, 1e-12);

    OpenArrays md1 = buildOpen({4}, Routing{{{0.0}}}, {{1.0}}, {{0.6}}, {{0.0}}, {{1.0}});
    runDiffusion(md1, code, station);
    ASSERT_EQ(code, 0);
    EXPECT_NEAR(md1.CBN2[0], 0.0, 1e-12);
    EXPECT_NEAR(md1.ENKN[0], 0.6 / (2 * 0.4), 1e-12);
}

TEST(MethodDiffusion, QueueIsEmptyWhereTheFormulaFallsBelowTheLoad) {
    // Poisson arrivals at 0.25 into Erlang-4 service of mean 1: the formula
    // gives 0.25 (1/2 + (0.25 + 0.25) / 1.5) = 0.2083, fewer customers than
    // the 0.25 in service. D/D/1 at 0.5 likewise gives 0.25.
    for (const auto& [load, arrivalScv, serviceScv] : {std::tuple{0.25, 1.0, 0.25}, std::tuple{0.5, 0.0, 0.0}}) {
        OpenArrays a = buildOpen({4}, Routing{{{0.0}}}, {{1.0}}, {{load}}, {{serviceScv}}, {{arrivalScv}});
        int code = -1, station = -1;
        runDiffusion(a, code, station);
        ASSERT_EQ(code, 0);
        EXPECT_DOUBLE_EQ(a.ENKN[0], load);
        EXPECT_NEAR(a.ENTN[0], 1.0, 1e-12) << "the time is the service time";
        EXPECT_NEAR(a.ENRTNR[0], 1.0, 1e-12);
        EXPECT_NEAR(a.ENRKNR[0], load, 1e-12) << "Little's law for the class";
    }
}

TEST(MethodDiffusion, TandemCarriesTheDepartureVariabilityOnAndClassTimesDifferByServiceTime) {
    // Two classes through A then B, Poisson arrivals, exponential service of
    // different rates per class. Everything leaving A goes to B, so B's
    // arrival variability is A's departure variability,
    // cd = (1 - rho) ca + rho^2 (1 + cb) + (1 - rho)(1 + 2 rho) - 1
    //    = 1 + rho^2 (cb - 1) for ca = 1.
    Routing p{{{0, 1}, {0, 0}}, {{0, 1}, {0, 0}}};
    const std::vector<std::vector<double>> rate{{2.0, 4.0}, {1.0, 2.0}};
    const std::vector<std::vector<double>> arrivals{{0.5, 0.0}, {0.25, 0.0}};
    const std::vector<std::vector<double>> ones{{1.0, 1.0}, {1.0, 1.0}};
    OpenArrays a = buildOpen({4, 4}, p, rate, arrivals, ones, ones);
    int code = -1, station = -1;
    runDiffusion(a, code, station);
    ASSERT_EQ(code, 0);
    double arrivalScv = 1.0;
    for (int m = 1; m <= 2; ++m) {
        const double rho = 0.5 / rate[0][m - 1] + 0.25 / rate[1][m - 1];
        SCOPED_TRACE(m);
        EXPECT_NEAR(a.LAMBN[m - 1], 0.75, 1e-12);
        EXPECT_NEAR(a.OBCN[m - 1], rho, 1e-12);
        EXPECT_NEAR(a.CAN2[m - 1], arrivalScv, 1e-12);
        const double mu = 0.75 / rho;
        EXPECT_NEAR(a.MIN[m - 1], mu, 1e-12);
        // The mixture of two exponentials is not exponential: cb from its
        // second moment, sum_r (lambda_r / lambda) 2 / mu_r^2.
        const double second =
            (0.5 / 0.75) * 2 / std::pow(rate[0][m - 1], 2) + (0.25 / 0.75) * 2 / std::pow(rate[1][m - 1], 2);
        const double cb = mu * mu * second - 1;
        EXPECT_NEAR(a.CBN2[m - 1], cb, 1e-12);
        EXPECT_NEAR(a.ENKN[m - 1], rho * (0.5 + 0.5 * (rho * arrivalScv + cb) / (1 - rho)), 1e-12);
        for (int r = 1; r <= 2; ++r)
            EXPECT_NEAR(a.ENRTNR[a.rm(r, m)] - a.ENTN[m - 1], 1 / rate[r - 1][m - 1] - 1 / mu, 1e-12);
        EXPECT_NEAR(a.ENRKNR[a.rm(1, m)] + a.ENRKNR[a.rm(2, m)], a.ENKN[m - 1], 1e-12) << "Little's law per class";
        arrivalScv = 1 + rho * rho * (cb - 1);
    }
}

TEST(MethodDiffusion, OverloadIsFoundBeforeAnythingElseAndIdleStationIsNamed) {
    // Station 1 is fine, station 2 saturated, station 3 visited by nobody:
    // the overload of station 2 is reported first.
    Routing p{{{0, 1, 0}, {0, 0, 0}, {0, 0, 0}}};
    OpenArrays a = buildOpen({4, 4, 4}, p, {{2.0, 1.0, 1.0}}, {{1.0, 0.0, 0.0}});
    int code = -1, station = -1;
    runDiffusion(a, code, station);
    EXPECT_EQ(code, 30);
    EXPECT_EQ(station, 2);

    OpenArrays idle = buildOpen({4, 4}, Routing{{{0, 0}, {0, 0}}}, {{2.0, 1.0}}, {{1.0, 0.0}});
    runDiffusion(idle, code, station);
    EXPECT_EQ(code, 26);
    EXPECT_EQ(station, 2);

    OpenArrays loop = buildOpen({4, 4}, Routing{{{0, 1}, {1, 0}}}, {{2.0, 2.0}}, {{0.1, 0.0}});
    runDiffusion(loop, code, station);
    EXPECT_EQ(code, 33);
    EXPECT_EQ(station, 0);
}

}  // namespace
}  // namespace kolt::methods

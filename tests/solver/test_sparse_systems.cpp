// Networks too large for the dense eliminations are solved by the sparse LU:
// on a few hundred stations it must agree with the dense solves to 1e-9
// (relative) and to every printed digit, and refuse a singular system with
// the methods' failure code.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "solver/methods/methods.h"
#include "tests/solver/test_method_arrays.h"

namespace kolt::methods {
namespace {

using testing::buildClosed;
using testing::buildOpen;
using testing::ClosedArrays;
using testing::OpenArrays;
using testing::Routing;

constexpr int kStations = 300;

// Each station sends 3/4 of its customers on, to the next station and a few
// within ten of it, and feeds on arrivals of its own.
OpenArrays openRing(std::mt19937& random) {
    const int M = kStations;
    Routing p(1, std::vector<std::vector<double>>(M, std::vector<double>(M, 0.0)));
    std::vector<std::vector<double>> rate(1, std::vector<double>(M)), arrivals = rate, scv = rate, arrivalScv = rate;
    for (int i = 0; i < M; ++i) {
        p[0][i][(i + 1) % M] += 0.25;
        for (int k = 0; k < 2; ++k) p[0][i][(i + 1 + random() % 10) % M] += 0.25;
        rate[0][i] = 2.0 + (random() % 100) / 10.0;
        arrivals[0][i] = 0.05 + (random() % 10) / 100.0;
        scv[0][i] = (random() % 30) / 10.0;
        arrivalScv[0][i] = 0.5 + (random() % 10) / 10.0;
    }
    return buildOpen(std::vector<int>(M, 4), p, rate, arrivals, scv, arrivalScv);
}

// Agreement to 1e-9 and in both printed forms (" %10.8f" cut to 10
// characters, "%10.4f").
void expectSameResults(const std::vector<double>& dense, const std::vector<double>& sparse, const char* what) {
    ASSERT_EQ(dense.size(), sparse.size());
    for (std::size_t x = 0; x < dense.size(); ++x) {
        EXPECT_NEAR(sparse[x], dense[x], 1e-9 * std::fabs(dense[x])) << what << " " << x;
        char a[64], b[64];
        std::snprintf(a, sizeof a, " %10.8f", dense[x]);
        std::snprintf(b, sizeof b, " %10.8f", sparse[x]);
        EXPECT_EQ(std::string(a).substr(0, 10), std::string(b).substr(0, 10)) << what << " " << x;
        std::snprintf(a, sizeof a, "%10.4f", dense[x]);
        std::snprintf(b, sizeof b, "%10.4f", sparse[x]);
        EXPECT_STREQ(a, b) << what << " " << x;
    }
}

TEST(SparseSystems, JacksonAndDiffusionAgreeWithTheDenseEliminations) {
    std::mt19937 random(3);
    const OpenArrays built = openRing(random);
    const OpenRouting lists = testing::openRoutingOf(built);
    OpenArrays dense = built, sparse = built;
    int code = -1, station = -1;
    jackson(dense.M, dense.R, dense.TYPE.data(), dense.BP.data(), dense.LAMBN.data(), dense.OBCN.data(),
            dense.ENKN.data(), dense.ENTN.data(), dense.LMBNR.data(), dense.OBCNR.data(), dense.ENRKNR.data(),
            dense.ENRTNR.data(), dense.MIN.data(), dense.TAU.data(), code, station);
    ASSERT_EQ(code, 0);
    jackson(sparse.M, sparse.R, sparse.TYPE.data(), nullptr, sparse.LAMBN.data(), sparse.OBCN.data(),
            sparse.ENKN.data(), sparse.ENTN.data(), sparse.LMBNR.data(), sparse.OBCNR.data(), sparse.ENRKNR.data(),
            sparse.ENRTNR.data(), sparse.MIN.data(), sparse.TAU.data(), code, station, &lists);
    ASSERT_EQ(code, 0);
    expectSameResults(dense.LMBNR, sparse.LMBNR, "LMBNR");
    expectSameResults(dense.ENKN, sparse.ENKN, "ENKN");
    expectSameResults(dense.ENTN, sparse.ENTN, "ENTN");

    dense = built;
    sparse = built;
    double work = 0.0;
    diffusion(dense.M, dense.R, dense.BP.data(), dense.BP1.data(), dense.LAMBN.data(), dense.OBCN.data(),
              dense.ENKN.data(), dense.ENTN.data(), dense.LMBNR.data(), dense.OBCNR.data(), dense.ENRKNR.data(),
              dense.ENRTNR.data(), dense.MIN.data(), dense.TAU.data(), dense.CBN2.data(), dense.CBNR2.data(),
              dense.C0NR2.data(), dense.RJI.data(), dense.G.data(), dense.CAN2.data(), code, station, work);
    ASSERT_EQ(code, 0);
    diffusion(sparse.M, sparse.R, nullptr, nullptr, sparse.LAMBN.data(), sparse.OBCN.data(), sparse.ENKN.data(),
              sparse.ENTN.data(), sparse.LMBNR.data(), sparse.OBCNR.data(), sparse.ENRKNR.data(), sparse.ENRTNR.data(),
              sparse.MIN.data(), sparse.TAU.data(), sparse.CBN2.data(), sparse.CBNR2.data(), sparse.C0NR2.data(),
              nullptr, nullptr, sparse.CAN2.data(), code, station, work, &lists);
    ASSERT_EQ(code, 0);
    expectSameResults(dense.CAN2, sparse.CAN2, "CAN2");
    expectSameResults(dense.ENKN, sparse.ENKN, "ENKN");
    expectSameResults(dense.ENRTNR, sparse.ENRTNR, "ENRTNR");
}

// The dense solve keeps its back substitution's running sums in single
// precision, which over 300 stations leaves about five correct digits; the
// sparse one solves in double and rounds only its solution. They agree to
// what the dense solve holds.
TEST(SparseSystems, VisitRatiosAgreeWithTheDenseSolveToItsPrecision) {
    std::mt19937 random(9);
    const int M = kStations;
    Routing p(1, std::vector<std::vector<double>>(M, std::vector<double>(M, 0.0)));
    for (int i = 0; i < M; ++i) {
        p[0][i][(i + 1) % M] += 0.5;
        p[0][i][(i + 1 + random() % 20) % M] += 0.25;
        p[0][i][(i + M - 1 - random() % 20) % M] += 0.25;
    }
    ClosedArrays dense = buildClosed({3}, std::vector<int>(M, 1), p, {std::vector<double>(M, 1.0)});
    ClosedArrays sparse = dense;
    VisitRatioWorkspace work(M + 1);
    int failed = 0;
    solveVisitRatios(M, 1, dense.ADP.data(), dense.SR.data(), dense.SN.data(), dense.INDEX.data(), nullptr,
                     dense.THETA.data(), work, failed, INT_MAX);
    solveVisitRatios(M, 1, sparse.ADP.data(), sparse.SR.data(), sparse.SN.data(), sparse.INDEX.data(), nullptr,
                     sparse.THETA.data(), work, failed, 0);
    ASSERT_EQ(failed, 0);
    EXPECT_EQ(sparse.THETA[0], 1.0);
    for (int m = 0; m < M; ++m) {
        EXPECT_NEAR(sparse.THETA[m], dense.THETA[m], 1e-4 * dense.THETA[m]) << m;
    }
}

// Two stations that send every customer to each other and none out: the
// traffic system is singular, refused as a network without a way out.
TEST(SparseSystems, SingularSystemIsTheImproperTopologyCode) {
    OpenArrays a = buildOpen({4, 4}, Routing{{{0, 1}, {1, 0}}}, {{1.0, 1.0}}, {{0.1, 0.0}});
    const OpenRouting lists = testing::openRoutingOf(a);
    int code = 0, station = -1;
    jackson(a.M, a.R, a.TYPE.data(), nullptr, a.LAMBN.data(), a.OBCN.data(), a.ENKN.data(), a.ENTN.data(),
            a.LMBNR.data(), a.OBCNR.data(), a.ENRKNR.data(), a.ENRTNR.data(), a.MIN.data(), a.TAU.data(), code, station,
            &lists);
    EXPECT_EQ(code, kImproperTopology);
}

}  // namespace
}  // namespace kolt::methods

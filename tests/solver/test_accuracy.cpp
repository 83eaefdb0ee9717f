// Accuracy of the approximate methods against values that do not come from
// them: HMVA against exact MVA on random closed networks, MVAP against the
// exact Markov chain of a preemptive-priority station, DIFF against the
// Pollaczek-Khinchine formula and networks worked out by hand. Each test
// prints the largest error it found: these are the figures of the README's
// accuracy table (run `kolt_solver_tests --gtest_filter='Accuracy*'`).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "solver/analysis/analysis_driver.h"
#include "solver/core/method_table.h"
#include "solver/methods/methods.h"
#include "tests/solver/test_analysis_support.h"
#include "tests/solver/test_method_arrays.h"

namespace kolt::methods {
namespace {

using testing::buildClosed;
using testing::buildOpen;
using testing::ClosedArrays;
using testing::OpenArrays;
using testing::Routing;
using testing::runApproximateMva;
using testing::runDiffusion;
using testing::runExactMva;

double relativeError(double value, double exact) { return std::fabs(value - exact) / std::fabs(exact); }

// The largest error seen and where.
struct Largest {
    double error = 0.0;
    int network = 0, classIndex = 0, station = 0;
    void see(double e, int n, int r, int m) {
        if (e > error) *this = {e, n, r, m};
    }
};

// A closed network of 2-5 stations (FIFO, PS, LIFO-PR or IS, drawn at
// random), 2-4 classes of 1-30 customers, each class visiting a random
// non-empty set of stations with positive probabilities between all of them
// (so its routing is strongly connected).
struct RandomClosed {
    std::vector<int> K, TYPE;
    Routing routing;
    std::vector<std::vector<double>> tau;
};

RandomClosed randomClosedNetwork(std::mt19937_64& random) {
    auto uniform = [&] { return static_cast<double>(random() >> 11) * 0x1.0p-53; };
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<std::uint64_t>(n)); };
    RandomClosed net;
    const int R = 2 + below(3);
    const int M = 2 + below(4);
    for (int m = 0; m < M; ++m) net.TYPE.push_back(1 + below(4));
    for (int r = 0; r < R; ++r) net.K.push_back(1 + below(30));
    net.routing.assign(R, std::vector<std::vector<double>>(M, std::vector<double>(M, 0.0)));
    net.tau.assign(R, std::vector<double>(M, 0.0));
    for (int r = 0; r < R; ++r) {
        std::vector<int> visited;
        for (int m = 0; m < M; ++m)
            if (uniform() < 0.7) visited.push_back(m);
        if (visited.empty()) visited.push_back(below(M));
        for (int i : visited) {
            double total = 0.0;
            std::vector<double> weight(M, 0.0);
            for (int j : visited) total += weight[j] = 0.1 + uniform();
            for (int j : visited) net.routing[r][i][j] = weight[j] / total;
            net.tau[r][i] = net.TYPE[i] == 4 ? 1.0 + 9.0 * uniform() : 0.05 + 0.95 * uniform();
        }
    }
    return net;
}

TEST(Accuracy, HmvaAgainstExactMvaOnRandomClosedNetworks) {
    std::mt19937_64 random(20240617);
    constexpr int kNetworks = 24;
    Largest throughput, number;
    for (int n = 1; n <= kNetworks; ++n) {
        const RandomClosed net = randomClosedNetwork(random);
        ClosedArrays exact = buildClosed(net.K, net.TYPE, net.routing, net.tau);
        ClosedArrays approximate = buildClosed(net.K, net.TYPE, net.routing, net.tau, true);
        ASSERT_EQ(runExactMva(exact), 0);
        ASSERT_EQ(runApproximateMva(approximate), 0);
        for (int m = 1; m <= exact.M; ++m)
            for (int r = 1; r <= exact.R; ++r) {
                const std::size_t x = static_cast<std::size_t>(m - 1) * exact.R + (r - 1);
                if (!exact.SR[x]) continue;
                const double X = exact.LAMBDA[r - 1] * exact.THETA[x];
                const double Q = exact.W[x] * X;
                throughput.see(relativeError(approximate.N[x], X), n, r, m);
                number.see(relativeError(approximate.LAMBDA[x], Q), n, r, m);
            }
    }
    std::printf(
        "HMVA against exact MVA, %d random closed networks: largest relative error of throughput %.2f%% "
        "(network %d, class %d, station %d), of mean number %.2f%% (network %d, class %d, station %d)\n",
        kNetworks, 100 * throughput.error, throughput.network, throughput.classIndex, throughput.station,
        100 * number.error, number.network, number.classIndex, number.station);
    EXPECT_LT(throughput.error, 0.03);
    EXPECT_LT(number.error, 0.06);
}

TEST(Accuracy, HmvaEqualsExactMvaWhereNoCustomerEverWaits) {
    // One class over delay stations only, and one customer anywhere: nobody
    // ever finds another customer ahead, so the approximation has nothing to
    // approximate.
    const Routing ring{{{0, 0.5, 0.5}, {1, 0, 0}, {0.2, 0.8, 0}}};
    const std::vector<std::vector<double>> tau{{2.0, 0.5, 1.5}};
    for (const auto& [population, types] :
         {std::pair{12, std::vector<int>{4, 4, 4}}, std::pair{1, std::vector<int>{1, 2, 4}}}) {
        ClosedArrays exact = buildClosed({population}, types, ring, tau);
        ClosedArrays approximate = buildClosed({population}, types, ring, tau, true);
        ASSERT_EQ(runExactMva(exact), 0);
        ASSERT_EQ(runApproximateMva(approximate), 0);
        for (int m = 0; m < 3; ++m) {
            EXPECT_NEAR(approximate.N[m], exact.LAMBDA[0] * exact.THETA[m], 1e-12);
            EXPECT_NEAR(approximate.W[m], exact.W[m], 1e-12);
        }
    }
}

// Exact solution of a closed network of a delay station (think times Z1,
// Z2) and one preemptive-priority server (exponential service times t1, t2,
// class 1 first): the Markov chain over (n1, n2), the customers of each class
// at the server, solved directly. Gives each class's throughput and mean
// number at the server.
struct PriorityChain {
    double X[2], Q[2];
};

PriorityChain solvePriorityChain(int K1, int K2, double Z1, double Z2, double t1, double t2) {
    const int S = (K1 + 1) * (K2 + 1);
    auto state = [&](int n1, int n2) { return n1 * (K2 + 1) + n2; };
    // Balance equations pi A = 0 as rows of A^T, the last replaced by sum pi = 1.
    std::vector<std::vector<double>> A(S, std::vector<double>(S + 1, 0.0));
    auto flow = [&](int from, int to, double rate) {
        A[to][from] += rate;
        A[from][from] -= rate;
    };
    for (int n1 = 0; n1 <= K1; ++n1)
        for (int n2 = 0; n2 <= K2; ++n2) {
            const int s = state(n1, n2);
            if (n1 < K1) flow(s, state(n1 + 1, n2), (K1 - n1) / Z1);
            if (n2 < K2) flow(s, state(n1, n2 + 1), (K2 - n2) / Z2);
            if (n1 > 0)
                flow(s, state(n1 - 1, n2), 1 / t1);
            else if (n2 > 0)
                flow(s, state(n1, n2 - 1), 1 / t2);
        }
    for (int s = 0; s <= S; ++s) A[S - 1][s] = 1.0;
    for (int k = 0; k < S; ++k) {
        int pivot = k;
        for (int i = k + 1; i < S; ++i)
            if (std::fabs(A[i][k]) > std::fabs(A[pivot][k])) pivot = i;
        std::swap(A[k], A[pivot]);
        for (int i = 0; i < S; ++i) {
            if (i == k) continue;
            const double f = A[i][k] / A[k][k];
            for (int j = k; j <= S; ++j) A[i][j] -= f * A[k][j];
        }
    }
    PriorityChain exact{{0, 0}, {0, 0}};
    for (int n1 = 0; n1 <= K1; ++n1)
        for (int n2 = 0; n2 <= K2; ++n2) {
            const double p = A[state(n1, n2)][S] / A[state(n1, n2)][state(n1, n2)];
            if (n1 > 0) exact.X[0] += p / t1;
            if (n1 == 0 && n2 > 0) exact.X[1] += p / t2;
            exact.Q[0] += p * n1;
            exact.Q[1] += p * n2;
        }
    return exact;
}

TEST(Accuracy, MvapAgainstTheExactChainOfAPreemptivePriorityStation) {
    struct Case {
        int K1, K2;
        double Z1, Z2, t1, t2;
    };
    const Case cases[] = {{1, 1, 2.0, 2.0, 0.5, 0.5},   {2, 3, 4.0, 3.0, 0.5, 0.8}, {3, 2, 5.0, 2.0, 0.4, 1.0},
                          {4, 4, 10.0, 10.0, 1.0, 1.0}, {5, 1, 8.0, 1.0, 0.3, 0.5}, {1, 5, 6.0, 12.0, 2.0, 0.7}};
    const Routing loop{{{0, 1}, {1, 0}}, {{0, 1}, {1, 0}}};
    double highest = 0.0, lowestX = 0.0, lowestQ = 0.0;
    for (const Case& c : cases) {
        const PriorityChain exact = solvePriorityChain(c.K1, c.K2, c.Z1, c.Z2, c.t1, c.t2);
        ClosedArrays a = buildClosed({c.K1, c.K2}, {4, 5}, loop, {{c.Z1, c.t1}, {c.Z2, c.t2}});
        std::FILE* roLines = std::tmpfile();
        ASSERT_EQ(runExactMva(a, roLines), 0);
        EXPECT_EQ(kolt::testing::writtenBytes(roLines), "") << "no utilisation leaves [0, 1] here";
        std::fclose(roLines);
        // Station 2 is the server; both classes visit each station once per cycle.
        const double X[2] = {a.LAMBDA[0], a.LAMBDA[1]};
        const double Q[2] = {a.LAMBDA[0] * a.w(1, 2), a.LAMBDA[1] * a.w(2, 2)};
        highest = std::max({highest, relativeError(X[0], exact.X[0]), relativeError(Q[0], exact.Q[0])});
        lowestX = std::max(lowestX, relativeError(X[1], exact.X[1]));
        lowestQ = std::max(lowestQ, relativeError(Q[1], exact.Q[1]));
    }
    std::printf(
        "MVAP against the exact Markov chain of a PRIOR-PR server with a delay station, %zu networks: "
        "class 1 largest relative error %.1e; class 2 throughput %.2f%%, mean number %.2f%%\n",
        std::size(cases), highest, 100 * lowestX, 100 * lowestQ);
    // The highest class never meets the other at the server: exact.
    EXPECT_LT(highest, 1e-9);
    EXPECT_LT(lowestX, 0.05);
    EXPECT_LT(lowestQ, 0.15);
}

// Where the approximation lets a class step load a priority station beyond
// 1, one line "r m RO = u" says so for each population at which it happens,
// and the recursion goes on. Here class 1 loops at a preemptive-priority
// server (mean 2, back with probability 0.8) and shares a FIFO station with
// class 2: with class 2 present it briefly overshoots.
TEST(Accuracy, MvapWritesAnRoLineForEveryOvershootAndGoesOn) {
    const Routing loop{{{0.8, 0.2}, {1, 0}}, {{0.8, 0.2}, {1, 0}}};
    ClosedArrays a = buildClosed({2, 3}, {5, 1}, loop, {{2.0, 0.5}, {0.5, 0.5}});
    std::FILE* roLines = std::tmpfile();
    ASSERT_EQ(runExactMva(a, roLines), 0);
    const std::string text = kolt::testing::writtenBytes(roLines);
    std::fclose(roLines);
    int lines = 0;
    for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        int r = 0, m = 0;
        double u = 0;
        ASSERT_EQ(std::sscanf(text.c_str() + at, "%d %d RO = %lf", &r, &m, &u), 3) << text;
        EXPECT_EQ(r, 1);
        EXPECT_EQ(m, 1);
        EXPECT_GT(u, 1.0);
        ++lines;
    }
    EXPECT_GE(lines, 1) << text;
    EXPECT_NEAR(a.N[0] + a.N[1], 5.0, 1e-9) << "the recursion went on to the full population";
}

// Mean number in an M/G/1 queue (Pollaczek-Khinchine) with load rho and
// squared service variation cs.
double pollaczekKhinchine(double rho, double cs) { return rho + rho * rho * (1 + cs) / (2 * (1 - rho)); }

TEST(Accuracy, DiffusionAgainstPollaczekKhinchineForOneStation) {
    // With Poisson arrivals the diffusion formula is the M/G/1 mean less
    // rho (1 - cs) / 2: exact for exponential service, rho / 2 short for
    // deterministic service. Where that falls below rho the queue is empty.
    double largestMD1 = 0.0, largestMG1 = 0.0;
    for (const double cs : {0.0, 0.25, 0.5, 1.0, 2.0, 4.0})
        for (int tenths = 1; tenths <= 9; ++tenths) {
            const double rho = tenths / 10.0;
            OpenArrays a = buildOpen({4}, Routing{{{0.0}}}, {{1.0}}, {{rho}}, {{cs}}, {{1.0}});
            int code = -1, station = -1;
            runDiffusion(a, code, station);
            ASSERT_EQ(code, 0);
            const double exact = pollaczekKhinchine(rho, cs);
            const double expected = std::max(rho, exact - rho * (1 - cs) / 2);
            EXPECT_NEAR(a.ENKN[0], expected, 1e-12 * expected) << "rho " << rho << " cs " << cs;
            const double error = relativeError(a.ENKN[0], exact);
            (cs == 0.0 ? largestMD1 : largestMG1) = std::max(cs == 0.0 ? largestMD1 : largestMG1, error);
            if (cs == 1.0) {
                EXPECT_LT(error, 1e-12) << "M/M/1 at rho " << rho;
            }
        }
    std::printf(
        "DIFF against Pollaczek-Khinchine, one station, rho 0.1-0.9: M/M/1 equal, M/D/1 largest relative "
        "difference %.1f%%, M/G/1 (cs^2 0.25-4) %.1f%%\n",
        100 * largestMD1, 100 * largestMG1);
}

}  // namespace
}  // namespace kolt::methods

namespace kolt::testing {
namespace {

// Open networks analysed end to end (preparation, method, derivation) and
// read from the result tables.
class AccuracyOpen : public AnalysisTest {
  protected:
    void analyse() {
        ASSERT_FALSE(endsRun([&] { analyseNetwork(net_, kDiff, context_, results_, reporter_); })) << err();
    }
    void twoSourcesIntoOneServer(bool deterministic) {
        addClass("K", 0);
        Station& first = source("Z1");
        Station& second = source("Z2");
        Station& server = station("S", SchedulingKind::Fifo);
        NetObject& out = exit();
        if (deterministic)
            first.setDet(0, 5.0);
        else
            first.setExp(0, 5.0);
        second.setExp(0, 10.0 / 3.0);
        server.setExp(0, 1.0);
        route(first, 0, server, 1.0);
        route(second, 0, server, 1.0);
        route(server, 0, out, 1.0);
        analyse();
    }
    double number(int s) const { return results_.number(-1, s, 0); }
    double time(int s) const { return results_.time(-1, s, 0); }

    AnalysisContext context_;
    PresentationModule results_;
};

// Poisson arrivals at 0.5 into A (deterministic 1.2, rho 0.6) and then B
// (exponential 1, rho 0.5). By hand: A: N = 0.6 (1/2 + 0.6 / 0.8) = 0.75,
// T = 1.5; its departures have cd = 1 - rho^2 (1 - cs) = 0.64, which is B's
// arrival variability: N = 0.5 (1/2 + (0.5 * 0.64 + 1) / 1) = 0.91, T = 1.82.
TEST_F(AccuracyOpen, DiffusionTandemAgainstHandWorkedValues) {
    addClass("K", 0);
    Station& source = this->source("Z");
    Station& a = station("A", SchedulingKind::Fifo);
    Station& b = station("B", SchedulingKind::Fifo);
    NetObject& out = exit();
    source.setExp(0, 2.0);
    a.setDet(0, 1.2);
    b.setExp(0, 1.0);
    route(source, 0, a, 1.0);
    route(a, 0, b, 1.0);
    route(b, 0, out, 1.0);
    analyse();
    EXPECT_NEAR(number(0), 0.75, 1e-12);
    EXPECT_NEAR(time(0), 1.5, 1e-12);
    EXPECT_NEAR(number(1), 0.91, 1e-12);
    EXPECT_NEAR(time(1), 1.82, 1e-12);
}

// Two sources into one exponential server of mean 1: Poisson at 0.3 and,
// deterministic or Poisson, at 0.2. The merged stream has the rate-weighted
// variability (0.2 * 0 + 0.3 * 1) / 0.5 = 0.6, so
// N = 0.5 (1/2 + (0.5 * 0.6 + 1) / 1) = 0.9; two Poisson sources merge into
// one and give the M/M/1 value 1.
TEST_F(AccuracyOpen, DiffusionMergesADeterministicAndAPoissonSource) {
    twoSourcesIntoOneServer(true);
    EXPECT_NEAR(number(0), 0.9, 1e-12);
}

TEST_F(AccuracyOpen, DiffusionMergesTwoPoissonSourcesIntoOne) {
    twoSourcesIntoOneServer(false);
    EXPECT_NEAR(number(0), 1.0, 1e-12);
    EXPECT_NEAR(time(0), 2.0, 1e-12);
}

}  // namespace
}  // namespace kolt::testing

// The simulator against queueing formulas it does not use: M/G/1 by
// Pollaczek-Khinchine with each law's true second moment, LIFO and LIFO-PR,
// a delay station, Cobham's priority formulas, and a product-form mixed
// network solved here by exact mixed MVA. Every estimate must hold the exact
// value within its own 99% interval, and its 95% interval must be as narrow
// as promised. Also: the same seed gives the same run, other seeds agree,
// closed populations and flows are conserved.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "solver/methods/simulation/batch_means.h"
#include "solver/methods/simulation/simulation.h"

namespace kolt::methods {
namespace {

// A run draws the same numbers in every build, so the sanitizer build checks
// the very runs of the normal one; it is far slower, and skips the tests that
// only repeat a run already checked.
constexpr double kGoal = 0.02;
#ifdef KOLT_SANITIZED_BUILD
#define SKIP_REPEATED_RUNS() GTEST_SKIP() << "the runs are those of the normal build"
#else
#define SKIP_REPEATED_RUNS() (void)0
#endif

Law exponential(double mean) { return {LawKind::Exponential, 0, mean, 0, 0, 0}; }
Law constant(double value) { return {LawKind::Constant, 0, value, 0, 0, 0}; }

// A model written station by station; routing and streams are collected per
// (station, class) and laid out by build().
class ModelBuilder {
  public:
    ModelBuilder(int M, std::vector<int> population) {
        m_.M = M;
        m_.R = static_cast<int>(population.size());
        m_.population = std::move(population);
        m_.discipline.assign(M, kFifo);
        m_.startStation.assign(m_.R, 0);
        m_.service.assign(M * m_.R, Law{});
        routes_.resize(M * m_.R);
    }
    ModelBuilder& station(int s, int discipline) {
        m_.discipline[s] = discipline;
        return *this;
    }
    ModelBuilder& serve(int s, int r, Law law) {
        m_.service[s * m_.R + r] = law;
        return *this;
    }
    // A law given by pairs (first, second).
    Law pairs(LawKind kind, const std::vector<std::pair<double, double>>& list) {
        Law law{kind, 0, 0, 0, static_cast<int>(m_.pairFirst.size()), static_cast<int>(list.size())};
        for (auto [a, b] : list) {
            m_.pairFirst.push_back(a);
            m_.pairSecond.push_back(b);
        }
        return law;
    }
    ModelBuilder& route(int s, int r, int target, double p) {
        routes_[s * m_.R + r].push_back({target, p});
        return *this;
    }
    // Poisson arrivals of class r at station s.
    ModelBuilder& arrivals(int s, int r, double rate) {
        const int at = static_cast<int>(m_.streamStation.size());
        m_.streams.push_back({exponential(1.0 / rate), at, at + 1});
        m_.streamStation.push_back(s);
        m_.streamClass.push_back(r);
        m_.streamProbability.push_back(1.0);
        return *this;
    }
    ModelBuilder& start(int r, int s) {
        m_.startStation[r] = s;
        return *this;
    }
    SimulationModel build() {
        m_.routeBegin.assign(1, 0);
        for (const auto& list : routes_) {
            for (auto [t, p] : list) {
                m_.routeTarget.push_back(t);
                m_.routeProbability.push_back(p);
            }
            m_.routeBegin.push_back(static_cast<int>(m_.routeTarget.size()));
        }
        return m_;
    }

  private:
    SimulationModel m_;
    std::vector<std::vector<std::pair<int, double>>> routes_;
};

SimulationResult run(const SimulationModel& model, std::uint64_t seed = kDefaultSeed) {
    SimulationControl control;
    control.seed = seed;
    control.precision = kGoal;
    SimulationResult result;
    simulate(model, control, result);
    EXPECT_EQ(result.failure, SimulationFailure::None);
    EXPECT_TRUE(result.precisionReached) << "precision " << result.precision << " after " << result.events;
    return result;
}

const StationMeasures& estimate(const SimulationResult& r, int R, int s, int c) {
    return r.estimate[s * (R + 1) + (c + 1)];
}
const StationMeasures& halfWidth(const SimulationResult& r, int R, int s, int c) {
    return r.halfWidth[s * (R + 1) + (c + 1)];
}

// The exact value inside the estimate's 99% interval.
void expectWithin99(const SimulationResult& r, double value, double halfWidth95, double exact, const char* what) {
    const double widen = studentQuantile(0.99, r.batches - 1) / studentQuantile(0.95, r.batches - 1);
    EXPECT_LE(std::fabs(value - exact), widen * halfWidth95)
        << what << ": " << value << " +- " << halfWidth95 << " (95%), exact " << exact;
}

// Station 0 takes the open class 0 (arrival rate lambda); closed class 1
// with one customer cycles between a delay (1) and a FIFO server (2) that
// class 0 never visits: the smallest mixed network.
SimulationModel singleStation(int discipline, double lambda, Law service, ModelBuilder& b) {
    b.station(0, discipline).station(1, kInfiniteServer).serve(0, 0, service);
    b.serve(1, 1, exponential(4.0)).serve(2, 1, exponential(1.0));
    b.route(0, 0, kExitTarget, 1.0).route(1, 1, 2, 1.0).route(2, 1, 1, 1.0).start(1, 1);
    b.arrivals(0, 0, lambda);
    return b.build();
}

struct SingleStationCase {
    const char* name;
    int discipline;
    LawKind kind;
    std::vector<std::pair<double, double>> parameters;  // a single value, (a, b), or the pairs
    double mean, secondMoment;
};

// Mean number at the station: Pollaczek-Khinchine for FIFO and LIFO,
// rho / (1 - rho) for LIFO-PR (insensitive), lambda E[S] at a delay.
double exactNumber(const SingleStationCase& c, double lambda) {
    const double rho = lambda * c.mean;
    if (c.discipline == kInfiniteServer) return rho;
    if (c.discipline == kLifoPreemptive) return rho / (1.0 - rho);
    return rho + lambda * lambda * c.secondMoment / (2.0 * (1.0 - rho));
}

TEST(SimulationMethod, SingleStationsMatchTheirFormulas) {
    const SingleStationCase cases[] = {
        {"M/M/1", kFifo, LawKind::Exponential, {{1.0, 0}}, 1.0, 2.0},
        {"M/D/1", kFifo, LawKind::Constant, {{1.0, 0}}, 1.0, 1.0},
        {"M/U/1 on [0.5, 1.5]", kFifo, LawKind::Uniform, {{0.5, 1.5}}, 1.0, 1.0 + 1.0 / 12},
        {"M/E3/1", kFifo, LawKind::Erlang, {{3, 1.0}}, 1.0, 1.0 + 1.0 / 3},
        // Phases of means 0.5 and 1, the second entered with probability 0.5:
        // E[S^2] = 2(0.5)^2 + 0.5 (2 * 0.5 * 1 + 2 * 1^2) = 2.
        {"M/Cox/1", kFifo, LawKind::Cox, {{1.0, 0.5}, {0.5, 1.0}}, 1.0, 2.0},
        // Branches of means 0.5 and 1.5: E[S^2] = 0.5 * 2 * 0.25 + 0.5 * 2 * 2.25.
        {"M/H2/1", kFifo, LawKind::Hyper, {{0.5, 0.5}, {0.5, 1.5}}, 1.0, 2.5},
        // Bins [0, 0.5] and [0.5, 1.5] of equal weight: E[S^2] = 0.5 (0.25/3) + 0.5 (3.375 - 0.125)/3.
        {"M/Hist/1", kFifo, LawKind::Histogram, {{0.5, 1.0}, {1.5, 1.0}}, 0.625, 0.5 * 0.25 / 3 + 0.5 * 3.25 / 3},
        {"LIFO, same mean as FIFO", kLifo, LawKind::Hyper, {{0.5, 0.5}, {0.5, 1.5}}, 1.0, 2.5},
        {"LIFO-PR, E[S]/(1 - rho)", kLifoPreemptive, LawKind::Hyper, {{0.5, 0.5}, {0.5, 1.5}}, 1.0, 2.5},
        {"IS", kInfiniteServer, LawKind::Constant, {{2.0, 0}}, 2.0, 4.0},
    };
    const double lambda = 0.5;
    for (const SingleStationCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModelBuilder b(3, {0, 1});
        Law law;
        switch (c.kind) {
            case LawKind::Uniform: law = {c.kind, 0, c.parameters[0].first, c.parameters[0].second, 0, 0}; break;
            case LawKind::Erlang:
                law = {c.kind, static_cast<int>(c.parameters[0].first), c.parameters[0].second, 0, 0, 0};
                break;
            case LawKind::Cox:
            case LawKind::Hyper:
            case LawKind::Histogram: law = b.pairs(c.kind, c.parameters); break;
            default: law = {c.kind, 0, c.parameters[0].first, 0, 0, 0}; break;
        }
        const SimulationResult r = run(singleStation(c.discipline, lambda, law, b));
        const StationMeasures& e = estimate(r, 2, 0, 0);
        const StationMeasures& h = halfWidth(r, 2, 0, 0);
        expectWithin99(r, e.number, h.number, exactNumber(c, lambda), "mean number");
        EXPECT_LE(h.number, kGoal * e.number) << "interval wider than promised";
    }
}

// Three open classes at one station, class 0 first. Head of line (Cobham):
//   T_k = E[S_k] + W0 / ((1 - s_(k-1)) (1 - s_k)),  W0 = sum lambda_i E[S_i^2] / 2;
// preemptive resume, over the classes 0..k only:
//   T_k = E[S_k] / (1 - s_(k-1)) + (sum over i <= k of lambda_i E[S_i^2] / 2) / ((1 - s_(k-1)) (1 - s_k)),
// with s_k the load of classes 0..k; the mean number is lambda_k T_k.
TEST(SimulationMethod, PriorityClassesMatchCobhamAndPreemptiveResume) {
    const double lambda[] = {0.2, 0.25, 0.2};
    const double mean[] = {0.5, 1.0, 1.0};
    const double second[] = {0.5, 1.0, 2.0};  // E[S^2] of exponential 0.5, constant 1, exponential 1
    for (int discipline : {kPriority, kPriorityPreemptive}) {
        SCOPED_TRACE(discipline == kPriority ? "PRIOR" : "PRIOR-PR");
        ModelBuilder b(3, {0, 0, 0, 1});
        b.station(0, discipline).station(1, kInfiniteServer);
        b.serve(0, 0, exponential(0.5)).serve(0, 1, constant(1.0)).serve(0, 2, exponential(1.0));
        b.serve(1, 3, exponential(4.0)).serve(2, 3, exponential(1.0));
        b.route(1, 3, 2, 1.0).route(2, 3, 1, 1.0).start(3, 1);
        for (int k = 0; k < 3; ++k) b.route(0, k, kExitTarget, 1.0).arrivals(0, k, lambda[k]);
        const SimulationResult r = run(b.build());

        double load = 0.0, residual = 0.0, allResidual = 0.0;
        for (int k = 0; k < 3; ++k) allResidual += lambda[k] * second[k] / 2.0;
        for (int k = 0; k < 3; ++k) {
            const double above = load;
            load += lambda[k] * mean[k];
            residual += lambda[k] * second[k] / 2.0;
            const double T = discipline == kPriority
                                 ? mean[k] + allResidual / ((1.0 - above) * (1.0 - load))
                                 : mean[k] / (1.0 - above) + residual / ((1.0 - above) * (1.0 - load));
            const StationMeasures& e = estimate(r, 4, 0, k);
            const StationMeasures& h = halfWidth(r, 4, 0, k);
            expectWithin99(r, e.number, h.number, lambda[k] * T, "mean number of the class");
        }
    }
}

// Terminals (IS, mean 5) -> CPU (FIFO, mean 0.2 for both classes) -> disk
// (LIFO-PR, hyperexponential mean 0.3 closed, Erlang mean 0.4 open) with
// probability 0.6, else back to the terminals; the disk returns to the CPU.
// Four closed customers. The open class arrives at the CPU at rate 0.5,
// goes to the disk with 0.3 (and back) or through a delay (DET 1) to the
// exit with 0.7. Product form, so exact mixed MVA holds: the open load U_o
// stretches the closed demands to D / (1 - U_o), the closed recursion runs
// on those, and the open class holds U_o (1 + Q_closed) / (1 - U_o).
class ProductFormMixed : public ::testing::Test {
  protected:
    SimulationModel model() {
        ModelBuilder b(4, {4, 0});
        b.station(0, kInfiniteServer).station(1, kFifo).station(2, kLifoPreemptive).station(3, kInfiniteServer);
        b.serve(0, 0, exponential(5.0)).serve(1, 0, exponential(0.2)).serve(1, 1, exponential(0.2));
        b.serve(2, 0, b.pairs(LawKind::Hyper, {{0.5, 0.1}, {0.5, 0.5}}));
        b.serve(2, 1, Law{LawKind::Erlang, 2, 0.4, 0, 0, 0}).serve(3, 1, constant(1.0));
        b.route(0, 0, 1, 1.0).route(1, 0, 2, 0.6).route(1, 0, 0, 0.4).route(2, 0, 1, 1.0);
        b.route(1, 1, 2, 0.3).route(1, 1, 3, 0.7).route(2, 1, 1, 1.0).route(3, 1, kExitTarget, 1.0);
        b.arrivals(1, 1, 0.5);
        return b.build();
    }

    // Exact values: Q[class][station] for the closed class 0 and open class 1.
    void solveExactly() {
        const double openVisits[] = {0, 1.0 / 0.7, 0.3 / 0.7, 1.0};
        const double openMean[] = {0, 0.2, 0.4, 1.0};
        const double closedDemand[] = {5.0, 2.5 * 0.2, 1.5 * 0.3};
        double Uo[3], D[3];
        for (int s = 0; s < 3; ++s) {
            Uo[s] = 0.5 * openVisits[s] * openMean[s];
            D[s] = s == 0 ? closedDemand[s] : closedDemand[s] / (1.0 - Uo[s]);
        }
        double Q[3] = {0, 0, 0};
        for (int n = 1; n <= 4; ++n) {
            double W[3], cycle = 0;
            for (int s = 0; s < 3; ++s) {
                W[s] = s == 0 ? D[s] : D[s] * (1.0 + Q[s]);
                cycle += W[s];
            }
            for (int s = 0; s < 3; ++s) Q[s] = n / cycle * W[s];
        }
        for (int s = 0; s < 3; ++s) closed[s] = Q[s];
        open[1] = Uo[1] * (1.0 + Q[1]) / (1.0 - Uo[1]);
        open[2] = Uo[2] * (1.0 + Q[2]) / (1.0 - Uo[2]);
        open[3] = 0.5 * openVisits[3] * openMean[3];
    }

    double closed[3] = {}, open[4] = {};
};

TEST_F(ProductFormMixed, EveryClassAtEveryStationMatchesExactMixedMva) {
    solveExactly();
    const SimulationResult r = run(model());
    for (int s = 0; s < 3; ++s)
        expectWithin99(r, estimate(r, 2, s, 0).number, halfWidth(r, 2, s, 0).number, closed[s], "closed class");
    for (int s = 1; s < 4; ++s)
        expectWithin99(r, estimate(r, 2, s, 1).number, halfWidth(r, 2, s, 1).number, open[s], "open class");
}

TEST_F(ProductFormMixed, TheSameSeedRepeatsTheRunAndOtherSeedsAgree) {
    SKIP_REPEATED_RUNS();
    const SimulationModel m = model();
    const SimulationResult first = run(m), again = run(m), other = run(m, 7);
    ASSERT_EQ(first.events, again.events);
    EXPECT_EQ(
        std::memcmp(first.estimate.data(), again.estimate.data(), first.estimate.size() * sizeof(StationMeasures)), 0);
    EXPECT_EQ(
        std::memcmp(first.halfWidth.data(), again.halfWidth.data(), first.halfWidth.size() * sizeof(StationMeasures)),
        0);
    EXPECT_NE(first.estimate[1].number, other.estimate[1].number) << "another seed must give another run";
    // The difference of two independent estimates of a station's mean
    // number, within its 99% interval.
    const int df = std::min(first.batches, other.batches) - 1;
    for (std::size_t x = 0; x < first.estimate.size(); x += 3) {
        const double sd = std::hypot(first.halfWidth[x].number / studentQuantile(0.95, first.batches - 1),
                                     other.halfWidth[x].number / studentQuantile(0.95, other.batches - 1));
        EXPECT_LE(std::fabs(first.estimate[x].number - other.estimate[x].number), studentQuantile(0.99, df) * sd)
            << "station " << x / 3;
    }
}

// The four closed customers are somewhere at every moment, so their mean
// numbers add up to 4; every flow into a station leaves it again; the
// printed time is number over throughput.
TEST_F(ProductFormMixed, PopulationsAndFlowsAreConserved) {
    SKIP_REPEATED_RUNS();
    const SimulationResult r = run(model());
    double customers = 0;
    for (int s = 0; s < 4; ++s) customers += estimate(r, 2, s, 0).number;
    EXPECT_NEAR(customers, 4.0, 1e-9);

    const double tolerance = 4.0 / (r.simulatedTime - r.warmupTime);  // the customers in flight at the ends
    const double cpu = estimate(r, 2, 1, 0).throughput, disk = estimate(r, 2, 2, 0).throughput;
    EXPECT_NEAR(cpu, estimate(r, 2, 0, 0).throughput + disk, 3 * tolerance) << "closed class at the CPU";
    const double openCpu = estimate(r, 2, 1, 1).throughput;
    const double openDisk = estimate(r, 2, 2, 1).throughput, openDelay = estimate(r, 2, 3, 1).throughput;
    EXPECT_NEAR(openCpu, openDisk + openDelay, 1e-3 * openCpu) << "open class at the CPU";
    expectWithin99(r, openDisk, halfWidth(r, 2, 2, 1).throughput, 0.3 * openCpu, "routing share of the disk");

    for (const StationMeasures& e : r.estimate)
        if (e.throughput > 0) {
            EXPECT_NEAR(e.time * e.throughput, e.number, 1e-12 * (1 + e.number));
        }
}

}  // namespace
}  // namespace kolt::methods

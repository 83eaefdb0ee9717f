// Result measures derived from hand-set method outputs: Little's law and the
// utilisation law for the closed family, the HMVA overload bound, the open
// families' queue cells and the diffusion waiting probability.
#include <gtest/gtest.h>

#include <cmath>

#include "solver/analysis/result_derivation.h"
#include "solver/core/method_table.h"
#include "test_analysis_support.h"

namespace kolt::testing {
namespace {

class Derivation : public AnalysisTest {
  protected:
    // Stations of the given disciplines, named S1, S2, ..., all visited by
    // every class; R classes with one customer each (or open when `open`).
    void stations(int R, std::initializer_list<SchedulingKind> kinds, bool open = false) {
        for (int r = 0; r < R; ++r) addClass("K" + std::to_string(r), open ? 0 : 1);
        int i = 0;
        for (SchedulingKind kind : kinds) context_.stations.push_back(&station("S" + std::to_string(++i), kind));
        context_.R = R;
        context_.M = static_cast<int>(context_.stations.size());
        context_.SR.assign(static_cast<std::size_t>(R) * context_.M, 1);
    }
    std::string queuedAndFlushed() {
        endsRun([&] { reporter_.flush(Target::Err); });
        return err();
    }

    AnalysisContext context_;
    PresentationModule results_;
};

TEST_F(Derivation, ClosedMeasuresFollowLittlesLawAndTheUtilisationLaw) {
    stations(2, {SchedulingKind::Fifo, SchedulingKind::Is});
    context_.methodIndex = kMva;
    context_.TYPE = {1, 4};
    context_.TAU = {1.0, 2.0, 3.0, 4.0};
    context_.THETA = {1.0, 1.0, 1.0, 2.0};
    context_.W = {1.5, 3.0, 3.0, 4.0};
    context_.LAMBDA = {0.2, 0.1};
    context_.N = {0.6, 1.4};
    deriveClosedResults(net_, context_, results_, reporter_);
    EXPECT_TRUE(reporter_.noErrorSoFar());

    for (int r = 0; r < 2; ++r) {
        for (int s = 0; s < 2; ++s) {
            const double X = context_.LAMBDA[r] * context_.THETA[s * 2 + r];
            EXPECT_DOUBLE_EQ(results_.throughput(r, s, 0), X);
            EXPECT_DOUBLE_EQ(results_.time(r, s, 0), context_.W[s * 2 + r]);
            EXPECT_DOUBLE_EQ(results_.number(r, s, 0), results_.time(r, s, 0) * X) << "Little's law";
        }
    }
    // FIFO station: utilisation D*X, queue = station minus the server.
    EXPECT_DOUBLE_EQ(results_.utilisation(0, 0, 0), 0.2);
    EXPECT_DOUBLE_EQ(results_.utilisation(1, 0, 0), 0.2);
    EXPECT_DOUBLE_EQ(results_.time(1, 0, 1), 1.0);
    EXPECT_DOUBLE_EQ(results_.number(1, 0, 1), 0.1);
    EXPECT_EQ(results_.utilisation(1, 0, 1), -1.0);
    // Totals: throughput-weighted time, number from N, summed utilisation.
    EXPECT_DOUBLE_EQ(results_.throughput(-1, 0, 0), 0.3);
    EXPECT_DOUBLE_EQ(results_.time(-1, 0, 0), 2.0);
    EXPECT_DOUBLE_EQ(results_.number(-1, 0, 0), 0.6);
    EXPECT_DOUBLE_EQ(results_.utilisation(-1, 0, 0), 0.4);
    EXPECT_NEAR(results_.time(-1, 0, 1), 2.0 - 4.0 / 3.0, 1e-12);
    EXPECT_NEAR(results_.number(-1, 0, 1), 0.2, 1e-12);
    // IS station: no utilisation, no queue.
    EXPECT_EQ(results_.utilisation(0, 1, 0), -1.0);
    EXPECT_EQ(results_.utilisation(-1, 1, 0), -1.0);
    EXPECT_DOUBLE_EQ(results_.number(-1, 1, 0), 1.4);
    EXPECT_EQ(results_.time(0, 1, 1), 0.0) << "queue cells of an IS station stay unset";
}

TEST_F(Derivation, StationNoCustomerPassesHasZeroTimesNotNaN) {
    stations(1, {SchedulingKind::Fifo});
    context_.methodIndex = kMva;
    context_.TYPE = {1};
    context_.TAU = {1.0};
    context_.THETA = {1.0};
    context_.W = {0.0};
    context_.LAMBDA = {0.0};
    context_.N = {0.0};
    deriveClosedResults(net_, context_, results_, reporter_);
    EXPECT_EQ(results_.time(-1, 0, 0), 0.0);
    EXPECT_EQ(results_.time(-1, 0, 1), 0.0);
}

class HmvaOverload : public Derivation {
  protected:
    // One class at one station with throughput 1, so utilisation = TAU.
    void derive(SchedulingKind kind, int type, double utilisation) {
        stations(1, {kind});
        context_.methodIndex = kHmva;
        context_.TYPE = {type};
        context_.TAU = {utilisation};
        context_.THETA = {1.0};
        context_.W = {3.0};
        context_.N = {1.0};       // class throughput
        context_.LAMBDA = {3.0};  // class mean number
        context_.NTOTAL = {0.0};
        deriveClosedResults(net_, context_, results_, reporter_);
    }
};

TEST_F(HmvaOverload, SlightOvershootIsClampedWithoutMessage) {
    derive(SchedulingKind::Fifo, 1, 1.005);
    EXPECT_TRUE(reporter_.noErrorSoFar());
    EXPECT_EQ(results_.utilisation(0, 0, 0), 1.0);
    EXPECT_EQ(results_.utilisation(-1, 0, 0), 1.0);
    EXPECT_DOUBLE_EQ(results_.number(0, 0, 1), 2.0) << "queue number uses the clamped value";
    EXPECT_DOUBLE_EQ(results_.number(-1, 0, 0), 3.0) << "station total summed by the derivation";
}

TEST_F(HmvaOverload, InfiniteServerIsNeverOverloaded) {
    derive(SchedulingKind::Is, 4, 1.2);
    EXPECT_TRUE(reporter_.noErrorSoFar());
    EXPECT_EQ(results_.utilisation(0, 0, 0), -1.0);
}

TEST_F(HmvaOverload, OverloadedQueueIsReportedAndShownUnclamped) {
    derive(SchedulingKind::Fifo, 1, 1.2);
    EXPECT_DOUBLE_EQ(results_.utilisation(0, 0, 0), 1.2);
    EXPECT_DOUBLE_EQ(results_.utilisation(-1, 0, 0), 1.2);
    EXPECT_EQ(queuedAndFlushed(),
              "\nBŁĄD:         Przeciazenie stanowiska\nBŁĄD:         Przeciazenie stanowisk w sieci\n");
}

TEST_F(Derivation, JacksonCellsTakeTheServiceTimeOffTheQueueAndSkipIsAndPsQueues) {
    stations(1, {SchedulingKind::Fifo, SchedulingKind::Is, SchedulingKind::Ps}, true);
    context_.methodIndex = kJackson;
    context_.TYPE = {4, 1, 3};
    context_.TAU = {1.0, 0.5, 2.0};
    context_.ENRTNR = {2.0, 2.0, 1.0};
    context_.ENRKNR = {1.0, 1.0, 0.5};
    context_.OBCNR = {0.5, 0.4, 0.25};
    context_.LMBNR = {0.5, 0.5, 0.5};
    context_.ENTN = {2.0, 2.0, 1.0};
    context_.ENKN = {1.0, 1.0, 0.5};
    context_.OBCN = {0.5, 0.4, 0.25};
    context_.LAMBN = {0.5, 0.5, 0.5};
    context_.MIN = {1.0, 0.5, 2.0};
    deriveJacksonResults(net_, context_, results_, reporter_);
    EXPECT_DOUBLE_EQ(results_.time(0, 0, 1), 1.0);
    EXPECT_DOUBLE_EQ(results_.number(0, 0, 1), 0.5);
    EXPECT_DOUBLE_EQ(results_.time(-1, 0, 1), 1.0);
    EXPECT_EQ(results_.utilisation(-1, 0, 1), -1.0);
    EXPECT_EQ(results_.utilisation(0, 1, 0), -1.0);
    EXPECT_EQ(results_.utilisation(-1, 1, 0), -1.0);
    EXPECT_DOUBLE_EQ(results_.utilisation(-1, 2, 0), 0.25);
    EXPECT_EQ(results_.time(-1, 2, 1), 0.0) << "no queue cells at a PS station";
}

TEST(WaitingProbability, DiffusionFormula) {
    // Deterministic arrivals and service: nobody waits below saturation.
    EXPECT_EQ(waitingProbability(0.5, 0.5, 1.0, 0.0, 0.0), 0.0);
    // Poisson arrivals, exponential service, rho 0.5: rho * e^gamma with
    // gamma = 2*(0.5 - 1)/(0.5 + 1).
    EXPECT_NEAR(waitingProbability(0.5, 0.5, 1.0, 1.0, 1.0), 0.5 * std::exp(-2.0 / 3.0), 1e-15);
}

TEST_F(Derivation, DiffusionGivesEveryStationAQueueAndTheWaitingProbability) {
    stations(1, {SchedulingKind::Fifo, SchedulingKind::Fifo}, true);
    context_.methodIndex = kDiff;
    context_.TAU = {2.0, 1.0};
    context_.ENRTNR = {0.75, 1.5};
    context_.ENRKNR = {0.375, 0.75};
    context_.OBCNR = {0.25, 0.5};
    context_.LMBNR = {0.5, 0.5};
    context_.ENTN = {0.75, 1.5};
    context_.ENKN = {0.375, 0.75};
    context_.OBCN = {0.25, 0.5};
    context_.LAMBN = {0.5, 0.5};
    context_.MIN = {2.0, 1.0};
    context_.CAN2 = {0.0, 1.0};
    context_.CBN2 = {0.0, 1.0};
    deriveDiffusionResults(net_, context_, results_, reporter_);
    EXPECT_EQ(results_.utilisation(-1, 0, 1), 0.0);
    EXPECT_NEAR(results_.utilisation(-1, 1, 1), 0.5 * std::exp(-2.0 / 3.0), 1e-15);
    EXPECT_DOUBLE_EQ(results_.time(0, 0, 1), 0.25);
    EXPECT_DOUBLE_EQ(results_.time(-1, 1, 1), 0.5);
    EXPECT_DOUBLE_EQ(results_.number(-1, 1, 1), 0.25);
    EXPECT_EQ(results_.utilisation(0, 1, 1), -1.0);
}

}  // namespace
}  // namespace kolt::testing

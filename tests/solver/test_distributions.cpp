// Service-time distributions: their moments, copying between kinds, the
// admissibility lookups, and the station setters that fill the table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "common/cp1250.h"
#include "solver/analysis/admissibility.h"
#include "solver/core/method_table.h"
#include "solver/core/reporter.h"
#include "solver/model/network.h"
#include "solver/model/station.h"
#include "tests/solver/captured_console.h"

// The replaced operators below pair malloc with free, which GCC cannot see
// through once they are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

// Allocation failure on demand: when armed with n >= 0, the allocation n
// steps from now throws std::bad_alloc; otherwise operator new is malloc.
namespace {
int allocationsBeforeFailure = -1;
}  // namespace

void* operator new(std::size_t size) {
    if (allocationsBeforeFailure >= 0 && allocationsBeforeFailure-- == 0) throw std::bad_alloc();
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace kolt {
namespace {

constexpr double kTight = 1e-12;

// ----------------------------------------------------------------------------
// Moments, against values worked out by hand.

TEST(DistributionMoments, SingleParameterKinds) {
    EXPECT_DOUBLE_EQ(DetDistribution(3).mean(), 3);
    EXPECT_DOUBLE_EQ(DetDistribution(3).variation(), 0);
    EXPECT_DOUBLE_EQ(ExpDistribution(2).mean(), 2);
    EXPECT_DOUBLE_EQ(ExpDistribution(2).variation(), 1);
    EXPECT_DOUBLE_EQ(ErlDistribution(4, 2).mean(), 2);
    EXPECT_DOUBLE_EQ(ErlDistribution(4, 2).variation(), 0.5);
    EXPECT_DOUBLE_EQ(GenDistribution(2, 0.7).mean(), 2);
    EXPECT_DOUBLE_EQ(GenDistribution(2, 0.7).variation(), 0.7);
}

TEST(DistributionMoments, UniformOnAnInterval) {
    UniDistribution uni(1, 3);
    EXPECT_EQ(uni.kind(), DistributionKind::Uni);
    EXPECT_DOUBLE_EQ(uni.mean(), 2);
    // Standard deviation 2/sqrt(12) over mean 2.
    EXPECT_NEAR(uni.variation(), 1 / (2 * std::sqrt(3.0)), kTight);
    EXPECT_NEAR(UniDistribution(0, 2).variation(), 1 / std::sqrt(3.0), kTight);
    // Bounds whose sum overflows still have their mean and variation.
    const UniDistribution huge(1e308, 1.6e308);
    EXPECT_DOUBLE_EQ(huge.mean(), 1.3e308);
    EXPECT_NEAR(huge.variation(), 0.6 / (std::sqrt(3.0) * 2.6), kTight);
}

TEST(DistributionMoments, CoxUsesTheRunningProductOfEntryProbabilities) {
    CoxDistribution one({1}, {2});
    EXPECT_DOUBLE_EQ(one.mean(), 2);
    EXPECT_DOUBLE_EQ(one.variation(), 1);

    // Two phases always entered: an Erlang-2 of mean 2.
    CoxDistribution chain({1, 1}, {1, 1});
    EXPECT_DOUBLE_EQ(chain.mean(), 2);
    EXPECT_NEAR(chain.variation(), 1 / std::sqrt(2.0), kTight);

    // Second phase reached with probability 0.5: T = X1 + B·X2 with X1, X2
    // exponential of means 1 and 2 and B a fair coin. mean = 1 + 0.5·2 = 2;
    // Var = Var X1 + E[B·X2²] − (E[B·X2])² = 1 + 0.5·8 − 1 = 4.
    CoxDistribution branching({1, 0.5}, {1, 2});
    EXPECT_DOUBLE_EQ(branching.mean(), 2);
    EXPECT_NEAR(branching.variation(), 1.0, kTight);
    // COX[1,0.2,0.4,0.3]: mean 0.32, E[T²] = 2·0.04 + 0.4·2·0.09 + 2·0.4·0.2·0.3
    // = 0.2, Var = 0.2 − 0.1024 = 0.0976, squared variation 0.953125.
    const double cv = CoxDistribution({1, 0.4}, {0.2, 0.3}).variation();
    EXPECT_NEAR(cv * cv, 0.953125, kTight);

    // The first probability counts too: a_1 = 0.5 halves everything.
    CoxDistribution skipped({0.5, 1}, {2, 2});
    EXPECT_DOUBLE_EQ(skipped.mean(), 2);
}

TEST(DistributionMoments, HyperexponentialSumsOverOrderedPairs) {
    HipDistribution two({0.5, 0.5}, {1, 3});
    EXPECT_DOUBLE_EQ(two.mean(), 2);
    // S = 2·0.25·(1-3)² = 2; variation sqrt(1 + 2/4).
    EXPECT_NEAR(two.variation(), std::sqrt(1.5), kTight);

    // One branch is the exponential distribution.
    EXPECT_NEAR(HipDistribution({1}, {4}).variation(), 1, kTight);

    // Three branches: m = 0.2·1 + 0.3·2 + 0.5·4 = 2.8;
    // S = 2·(0.06·1 + 0.1·9 + 0.15·4) = 3.12; cv = sqrt(2.8² + 3.12)/2.8.
    HipDistribution three({0.2, 0.3, 0.5}, {1, 2, 4});
    EXPECT_NEAR(three.mean(), 2.8, kTight);
    EXPECT_NEAR(three.variation(), std::sqrt(2.8 * 2.8 + 3.12) / 2.8, kTight);

    // Branch probabilities need not sum to 1: S is still the sum over pairs,
    // here 2·0.5·0.2·(1-3)² = 0.8 with m = 1.1.
    EXPECT_NEAR(HipDistribution({0.5, 0.2}, {1, 3}).variation(), std::sqrt(1.1 * 1.1 + 0.8) / 1.1, kTight);
}

TEST(DistributionMoments, HyperexponentialOfManyBranchesAgreesWithThePairSum) {
    std::vector<double> p, t;
    for (int i = 1; i <= 300; ++i) {
        p.push_back(1.0 / 300);
        t.push_back(0.01 * i * i);
    }
    double m = 0, S = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        m += p[i] * t[i];
        for (size_t j = 0; j < p.size(); ++j) S += p[i] * p[j] * (t[i] - t[j]) * (t[i] - t[j]);
    }
    const HipDistribution many(p, t);
    EXPECT_NEAR(many.variation(), std::sqrt(m * m + S) / m, 1e-12);
    // Equal branches are one exponential, whatever their number.
    EXPECT_NEAR(HipDistribution(std::vector<double>(1000, 0.001), std::vector<double>(1000, 7.3)).variation(), 1,
                1e-12);
}

TEST(DistributionMoments, HistogramBinsAreUniformBetweenTheirBounds) {
    HistDistribution one({2}, {1});
    EXPECT_DOUBLE_EQ(one.mean(), 1);
    EXPECT_NEAR(one.variation(), std::sqrt(4.0 / 3 - 1), kTight);
    EXPECT_NEAR(one.variation(), 0.5774, 1e-4);

    // Weights need not sum to 1.
    EXPECT_NEAR(HistDistribution({2}, {5}).variation(), one.variation(), kTight);

    // U[0,1] and U[1,3] equally: mean 1.25, E2 = (1/3 + 13/3)/2 = 7/3.
    HistDistribution two({1, 3}, {1, 1});
    EXPECT_NEAR(two.mean(), 1.25, kTight);
    EXPECT_NEAR(two.variation(), std::sqrt(7.0 / 3 - 1.5625) / 1.25, kTight);

    // A bin with equal bounds is a point mass: U[0,2] and the point 2
    // equally: mean 1.5, E2 = (4/3 + 4)/2 = 8/3.
    HistDistribution withPoint({2, 2}, {1, 1});
    EXPECT_NEAR(withPoint.mean(), 1.5, kTight);
    EXPECT_NEAR(withPoint.variation(), std::sqrt(8.0 / 3 - 2.25) / 1.5, kTight);
}

TEST(DistributionMoments, HistogramPointMassHasNoVariationRatherThanNaN) {
    // E2 − mean² comes out as −1.7e-18 here in double precision.
    HistDistribution point({0.1, 0.1}, {0, 3});
    EXPECT_NEAR(point.mean(), 0.1, kTight);
    EXPECT_EQ(point.variation(), 0.0);
}

TEST(DistributionMoments, PairArraysOfUnequalLengthKeepOnlyWholePairs) {
    CoxDistribution cox({1, 1, 0.5}, {2});
    EXPECT_EQ(cox.count(), 1);
    EXPECT_DOUBLE_EQ(cox.mean(), 2);
}

// ----------------------------------------------------------------------------
// Copying between distributions.

class DistributionCopyTest : public ::testing::Test {
  protected:
    testing::CapturedConsole console_;
    Reporter& reporter_ = console_.reporter();
};

TEST_F(DistributionCopyTest, AssignCopiesTheSameKind) {
    ErlDistribution erl(2, 1);
    EXPECT_EQ(&erl.assign(ErlDistribution(4, 3), reporter_), &erl);
    EXPECT_EQ(erl.phases(), 4);
    EXPECT_DOUBLE_EQ(erl.mean(), 3);
    EXPECT_EQ(reporter_.queued(), 0u);
}

TEST_F(DistributionCopyTest, AssignOfAnotherKindWarnsWithTheTargetsKeyword) {
    DetDistribution det(1);
    HistDistribution hist({2}, {1});
    GenDistribution gen(3, 0.2);
    EXPECT_EQ(&det.assign(ExpDistribution(5), reporter_), &det);
    hist.assign(CoxDistribution({1}, {7}), reporter_);
    gen.assign(det, reporter_);

    EXPECT_DOUBLE_EQ(det.mean(), 1);
    EXPECT_DOUBLE_EQ(hist.mean(), 1);
    EXPECT_DOUBLE_EQ(gen.variation(), 0.2);
    EXPECT_EQ(console_.flushed(),
              "\nOSTRZEŻENIE:  Zignorowano bledne przypisanie rozkladowi typu 'DET' rozkladu innego typu"
              "\nOSTRZEŻENIE:  Zignorowano bledne przypisanie rozkladowi typu 'HIST' rozkladu innego typu"
              "\nOSTRZEŻENIE:  Zignorowano bledne przypisanie rozkladowi typu 'G' rozkladu innego typu\n");
}

TEST_F(DistributionCopyTest, AssignOfPairsIsADeepCopy) {
    CoxDistribution source({1}, {2});
    CoxDistribution target({0.5, 0.5}, {1, 1});
    target.assign(source, reporter_);
    source.appendPair(1, 10);

    EXPECT_EQ(target.count(), 1);
    EXPECT_DOUBLE_EQ(target.mean(), 2);
    EXPECT_EQ(source.count(), 2);

    target.assign(target, reporter_);
    EXPECT_EQ(target.count(), 1);
}

TEST(DistributionCreateEmpty, GivesTheSameKindWithoutParameters) {
    const std::unique_ptr<ServiceDistribution> samples[] = {
        std::make_unique<DetDistribution>(1),
        std::make_unique<UniDistribution>(1, 2),
        std::make_unique<ExpDistribution>(1),
        std::make_unique<CoxDistribution>(std::vector<double>{1}, std::vector<double>{1}),
        std::make_unique<ErlDistribution>(2, 1),
        std::make_unique<HipDistribution>(std::vector<double>{1}, std::vector<double>{1}),
        std::make_unique<GenDistribution>(1, 1),
        std::make_unique<HistDistribution>(std::vector<double>{1}, std::vector<double>{1}),
    };
    for (const auto& sample : samples) {
        const auto empty = sample->createEmpty();
        ASSERT_NE(empty, nullptr);
        EXPECT_EQ(empty->kind(), sample->kind());
        EXPECT_EQ(empty->mean(), 0.0) << distributionKeyword(sample->kind());
        if (auto* pairs = dynamic_cast<const PairListDistribution*>(empty.get())) {
            EXPECT_EQ(pairs->count(), 0);
        }
    }
}

// ----------------------------------------------------------------------------
// Names and admissibility.

TEST(DistributionNames, EveryKindHasAKeywordAndANameTheCodePageCanCarry) {
    for (int k = 0; k < 8; ++k) {
        const auto kind = static_cast<DistributionKind>(k);
        const std::string name = distributionDisplayName(kind);
        ASSERT_FALSE(name.empty());
        EXPECT_EQ(utf8ToCp1250(name).find('?'), std::string::npos) << name;
        EXPECT_FALSE(std::string(distributionKeyword(kind)).empty());
    }
    EXPECT_STREQ(distributionDisplayName(DistributionKind::Hip), "hiperwykładniczy");
    EXPECT_STREQ(distributionKeyword(DistributionKind::Gen), "G");
}

TEST(Admissibility, LookupsUseTheObjectsOwnKind) {
    EXPECT_EQ(methodAdmitsDistribution(kJackson, ExpDistribution(1).kind()), 1);
    EXPECT_EQ(methodAdmitsDistribution(kJackson, HistDistribution().kind()), 0);
    EXPECT_EQ(methodAdmitsDistribution(kEpf, UniDistribution().kind()), 0);
    EXPECT_EQ(methodAdmitsDistribution(kDiff, UniDistribution().kind()), 1);
    EXPECT_EQ(methodAdmitsDistribution(kSimul, GenDistribution().kind()), 0);
    EXPECT_EQ(methodAdmitsDistribution(-1, ExpDistribution().kind()), 0);
    EXPECT_EQ(methodAdmitsDistribution(8, ExpDistribution().kind()), 0);

    EXPECT_EQ(methodAdmitsScheduling(kMva, SchedulingDiscipline(SchedulingKind::Lifo).kind()), 0);
    EXPECT_EQ(methodAdmitsScheduling(kMvap, SchedulingDiscipline(SchedulingKind::Prior).kind()), 1);
    EXPECT_EQ(methodAdmitsScheduling(kMva, SchedulingDiscipline(SchedulingKind::Prior).kind()), 0);
    EXPECT_EQ(methodAdmitsScheduling(kDiff, SchedulingDiscipline(SchedulingKind::Ps).kind()), 0);
    EXPECT_EQ(methodAdmitsScheduling(kSimul, SchedulingDiscipline(SchedulingKind::SourceMarker).kind()), 1);
    EXPECT_EQ(methodAdmitsScheduling(kHmva, SchedulingDiscipline(SchedulingKind::SourceMarker).kind()), 0);
    EXPECT_EQ(methodAdmitsScheduling(kSyntaxOnly, SchedulingDiscipline(SchedulingKind::Fifo).kind()), 0);

    EXPECT_STREQ(schedulingName(SchedulingKind::LifoPr), "LIFO_PR");
    EXPECT_STREQ(schedulingName(SchedulingKind::Prior), "PRIOR_HOL");
    EXPECT_STREQ(schedulingName(SchedulingKind::SourceMarker), "");
}

// ----------------------------------------------------------------------------
// The station setters.

class ServiceSetterTest : public ::testing::Test {
  protected:
    ServiceSetterTest() : net_("N", reporter_) {
        station_ = static_cast<Station*>(net_.createObject(kStationType, "S1"));
    }
    ~ServiceSetterTest() override { allocationsBeforeFailure = -1; }
    const ServiceDistribution* slot(int r) const { return station_->serviceTable().at(r); }

    testing::CapturedConsole console_;
    Reporter& reporter_ = console_.reporter();
    Network net_;
    Station* station_;
};

TEST_F(ServiceSetterTest, FirstSingleValueWinsAndTheRepeatIsWarnedAbout) {
    EXPECT_EQ(station_->setExp(0, 2), 1);
    EXPECT_EQ(station_->setExp(0, 5), 0);
    EXPECT_EQ(station_->setDet(0, 1), 0);
    ASSERT_NE(slot(0), nullptr);
    EXPECT_EQ(slot(0)->kind(), DistributionKind::Exp);
    EXPECT_DOUBLE_EQ(slot(0)->mean(), 2);
    EXPECT_TRUE(reporter_.noErrorSoFar());
    EXPECT_EQ(console_.flushed(),
              "\nOSTRZEŻENIE:  Zignorowano powtorne ustalenie rozkladu czasu obslugi w stan. S1 dla klasy 0"
              "\nOSTRZEŻENIE:  Zignorowano powtorne ustalenie rozkladu czasu obslugi w stan. S1 dla klasy 0\n");
}

TEST_F(ServiceSetterTest, EachSingleValueSetterMakesItsKind) {
    EXPECT_EQ(station_->setDet(0, 1), 1);
    EXPECT_EQ(station_->setExp(1, 1), 1);
    EXPECT_EQ(station_->setUni(2, 1, 3), 1);
    EXPECT_EQ(station_->setErl(3, 4, 2), 1);
    EXPECT_EQ(station_->setGen(4, 2, 0.3), 1);
    EXPECT_EQ(slot(0)->kind(), DistributionKind::Det);
    EXPECT_EQ(slot(1)->kind(), DistributionKind::Exp);
    EXPECT_EQ(slot(2)->kind(), DistributionKind::Uni);
    EXPECT_DOUBLE_EQ(slot(2)->mean(), 2);
    EXPECT_EQ(slot(3)->kind(), DistributionKind::Erl);
    EXPECT_DOUBLE_EQ(slot(3)->variation(), 0.5);
    EXPECT_EQ(slot(4)->kind(), DistributionKind::Gen);
    EXPECT_EQ(slot(5), nullptr);
    EXPECT_EQ(reporter_.queued(), 0u);
}

TEST_F(ServiceSetterTest, ListSettersGrowOneDistributionPerClass) {
    EXPECT_EQ(station_->addCoxPhase(0, 1, 1), 1);
    EXPECT_EQ(station_->addCoxPhase(0, 1, 1), 1);
    EXPECT_EQ(station_->addHipBranch(1, 0.5, 1), 1);
    EXPECT_EQ(station_->addHipBranch(1, 0.5, 3), 1);
    EXPECT_EQ(station_->addHistBin(2, 2, 1), 1);

    const auto* cox = dynamic_cast<const CoxDistribution*>(slot(0));
    ASSERT_NE(cox, nullptr);
    EXPECT_EQ(cox->count(), 2);
    EXPECT_NEAR(cox->variation(), 1 / std::sqrt(2.0), kTight);
    ASSERT_EQ(slot(1)->kind(), DistributionKind::Hip);
    EXPECT_NEAR(slot(1)->variation(), std::sqrt(1.5), kTight);
    EXPECT_EQ(slot(2)->kind(), DistributionKind::Hist);
    EXPECT_EQ(reporter_.queued(), 0u);
}

TEST_F(ServiceSetterTest, PairsForASlotOfAnotherKindAreErrorsAndChangeNothing) {
    station_->setExp(0, 2);
    station_->addCoxPhase(1, 1, 1);
    station_->setDet(2, 1);

    EXPECT_EQ(station_->addCoxPhase(0, 1, 1), 0);
    EXPECT_EQ(station_->addHipBranch(1, 0.5, 1), 0);
    EXPECT_EQ(station_->addHistBin(2, 2, 1), 0);
    // A single value after a list kind follows the single-value rule.
    EXPECT_EQ(station_->setExp(1, 9), 0);

    EXPECT_EQ(slot(0)->kind(), DistributionKind::Exp);
    EXPECT_EQ(dynamic_cast<const CoxDistribution&>(*slot(1)).count(), 1);
    EXPECT_EQ(slot(2)->kind(), DistributionKind::Det);
    EXPECT_FALSE(reporter_.noErrorSoFar());
    EXPECT_EQ(console_.flushed(),
              "\nBŁĄD:         Dodanie nowych parametrow dla innego rozkladu niz COX w S1 dla klasy 0"
              "\nBŁĄD:         Dodanie nowych parametrow dla innego rozkladu niz Hiperboliczny w S1 dla klasy 1"
              "\nBŁĄD:         Dodanie nowych parametrow dla innego rozkladu niz Histogram w S1 dla klasy 2"
              "\nOSTRZEŻENIE:  Zignorowano powtorne ustalenie rozkladu czasu obslugi w stan. S1 dla klasy 1\n");
}

TEST_F(ServiceSetterTest, ClassIndexOutsideTheTableIsRefused) {
    EXPECT_EQ(station_->setExp(32, 1), 0);
    EXPECT_EQ(station_->addHistBin(-1, 2, 1), 0);
    EXPECT_EQ(console_.flushed(),
              "\nBŁĄD:         Nieprawidlowy numer klasy (32) w obiekcie S1"
              "\nBŁĄD:         Nieprawidlowy numer klasy (-1) w obiekcie S1\n");
}

// Running out of memory ends the run with the Fatal message and leaves the
// table as it was.

TEST_F(ServiceSetterTest, NoMemoryForANewDistributionIsFatal) {
    allocationsBeforeFailure = 0;
    EXPECT_THROW(station_->setExp(0, 2), RunEnded);
    EXPECT_EQ(slot(0), nullptr);
    EXPECT_EQ(console_.err(), "\nBŁĄD FATALNY: Blad allokacji pamieci\n");
}

TEST_F(ServiceSetterTest, NoMemoryForTheFirstHistogramBinIsFatal) {
    allocationsBeforeFailure = 0;
    EXPECT_THROW(station_->addHistBin(0, 2, 1), RunEnded);
    EXPECT_EQ(slot(0), nullptr);
    EXPECT_EQ(console_.err(), "\nBŁĄD FATALNY: Blad alokacji pamieci\n");
}

TEST_F(ServiceSetterTest, NoMemoryForTheFirstCoxPhaseIsFatal) {
    allocationsBeforeFailure = 1;
    EXPECT_THROW(station_->addCoxPhase(0, 1, 2), RunEnded);
    EXPECT_EQ(slot(0), nullptr);
    EXPECT_EQ(console_.err(), "\nBŁĄD FATALNY: Blad allokacji pamieci\n");
}

TEST_F(ServiceSetterTest, NoMemoryToGrowEitherArrayIsFatalAndKeepsThePairs) {
    station_->addHipBranch(0, 0.5, 1);
    allocationsBeforeFailure = 0;
    EXPECT_THROW(station_->addHipBranch(0, 0.5, 3), RunEnded);
    EXPECT_EQ(dynamic_cast<const HipDistribution&>(*slot(0)).count(), 1);
    EXPECT_EQ(console_.err(), "\nBŁĄD FATALNY: Blad allokacji pamieci\n");

    allocationsBeforeFailure = 1;
    EXPECT_THROW(station_->addHipBranch(0, 0.5, 3), RunEnded);
    const auto& hip = dynamic_cast<const HipDistribution&>(*slot(0));
    EXPECT_EQ(hip.count(), 1);
    EXPECT_EQ(hip.first().size(), hip.second().size());
    EXPECT_EQ(console_.err(),
              "\nBŁĄD FATALNY: Blad allokacji pamieci"
              "\n\nBŁĄD FATALNY: Blad alokacji pamieci\n");
}

TEST(ServiceSetterWithoutNetwork, ExhaustionGoesOnToTheCaller) {
    Station loose("L");
    allocationsBeforeFailure = 0;
    EXPECT_THROW(loose.setDet(0, 1), std::bad_alloc);
    allocationsBeforeFailure = -1;
    EXPECT_EQ(loose.serviceTable().at(0), nullptr);
    EXPECT_EQ(loose.setDet(0, 1), 1);
}

}  // namespace
}  // namespace kolt

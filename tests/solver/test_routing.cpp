// Routing: adding transitions with their refusals, and the check that each
// class's probabilities add up to exactly 1.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "solver/model/network.h"
#include "solver/model/station.h"
#include "tests/solver/captured_console.h"

namespace kolt {
namespace {

class RoutingTest : public ::testing::Test {
  protected:
    RoutingTest() : net_("N", reporter_) {
        s1_ = net_.createObject(kStationType, "S1");
        a_ = net_.createObject(kStationType, "A");
        b_ = net_.createObject(kStationType, "B");
        c_ = net_.createObject(kExitType, "OUT");
    }
    bool add(int r, NetObject* target, double p) { return s1_->addTransition(r, target, p, reporter_); }
    bool sumsHold() { return s1_->checkRoutingSums(reporter_); }

    testing::CapturedConsole console_;
    Reporter& reporter_ = console_.reporter();
    Network net_;
    NetObject *s1_, *a_, *b_, *c_;
};

TEST_F(RoutingTest, TransitionsAreKeptPerClassInTheOrderGiven) {
    EXPECT_TRUE(add(0, b_, 0.25));
    EXPECT_TRUE(add(0, a_, 0.75));
    EXPECT_TRUE(add(31, c_, 1));
    EXPECT_TRUE(add(0, s1_, 0));  // zero and self-loops are the parser's concern

    const auto* list = s1_->routing()->transitions(0);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->size(), 3u);
    EXPECT_EQ((*list)[0].target, b_);
    EXPECT_EQ((*list)[1].target, a_);
    EXPECT_DOUBLE_EQ((*list)[1].probability, 0.75);
    EXPECT_EQ(s1_->routing()->transitions(1), nullptr);
    ASSERT_NE(s1_->routing()->transitions(31), nullptr);
    EXPECT_EQ(s1_->routing()->transitions(32), nullptr);
    EXPECT_EQ(reporter_.queued(), 0u);
}

TEST_F(RoutingTest, RefusalsAndTheirMessages) {
    EXPECT_FALSE(add(32, a_, 0.5));
    EXPECT_FALSE(add(-1, a_, 0.5));
    // An undeclared target was reported by whoever read its name.
    EXPECT_FALSE(add(0, &NotFoundObject::instance(), 0.5));
    EXPECT_FALSE(add(0, nullptr, 0.5));
    EXPECT_FALSE(add(0, a_, 1.5));
    EXPECT_FALSE(add(0, b_, -0.1));
    EXPECT_FALSE(add(0, b_, std::numeric_limits<double>::quiet_NaN()));

    EXPECT_EQ(s1_->routing()->transitions(0), nullptr);
    EXPECT_EQ(console_.flushed(),
              "\nBŁĄD:         Nieprawidlowy numer klasy (32) w obiekcie S1"
              "\nBŁĄD:         Nieprawidlowy numer klasy (-1) w obiekcie S1"
              "\nBŁĄD:         Bledne prawdopodobienstwo przejscia S1 -> A"
              "\nBŁĄD:         Bledne prawdopodobienstwo przejscia S1 -> B"
              "\nBŁĄD:         Bledne prawdopodobienstwo przejscia S1 -> B\n");
}

TEST_F(RoutingTest, RepeatedTargetIsIgnoredWithAWarningAndTheFirstStays) {
    EXPECT_TRUE(add(0, a_, 0.4));
    EXPECT_TRUE(add(0, a_, 0.6));
    // The repeat is caught even when its probability is out of range.
    EXPECT_TRUE(add(0, a_, 7));
    EXPECT_TRUE(add(1, a_, 0.6));  // another class is another list

    const auto* list = s1_->routing()->transitions(0);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_DOUBLE_EQ((*list)[0].probability, 0.4);
    EXPECT_TRUE(reporter_.noErrorSoFar());
    EXPECT_EQ(console_.flushed(),
              "\nOSTRZEŻENIE:  Zignorowano powtorna tranzycje S1 -> A"
              "\nOSTRZEŻENIE:  Zignorowano powtorna tranzycje S1 -> A\n");
}

TEST_F(RoutingTest, ObjectWithoutRoutingNodeRefuses) {
    Network& network = net_;
    EXPECT_EQ(network.routing(), nullptr);
    EXPECT_FALSE(network.addTransition(0, a_, 1, reporter_));
    EXPECT_TRUE(network.checkRoutingSums(reporter_));
    // The class index is checked first.
    EXPECT_FALSE(network.addTransition(40, a_, 1, reporter_));
    EXPECT_EQ(console_.flushed(),
              "\nBŁĄD:         Brak wezla tranzycyjnego w obiekcie N"
              "\nBŁĄD:         Nieprawidlowy numer klasy (40) w obiekcie N\n");
}

TEST_F(RoutingTest, SumsThatComeOutAtExactlyOnePass) {
    EXPECT_TRUE(sumsHold());  // no list at all
    add(0, a_, 0.5);
    add(0, b_, 0.25);
    add(0, c_, 0.25);
    add(3, c_, 1);
    EXPECT_TRUE(sumsHold());
    EXPECT_EQ(reporter_.queued(), 0u);
}

TEST_F(RoutingTest, SumsThatMissOneFailNamingTheOwner) {
    add(0, a_, 0.3);
    add(0, b_, 0.3);
    add(0, c_, 0.3);
    EXPECT_FALSE(sumsHold());
    EXPECT_EQ(console_.flushed(), "\nBŁĄD:         Bledna suma prawdopodobienstw w S1\n");
}

TEST_F(RoutingTest, SumsAreAddedInListOrderWithoutTolerance) {
    // 0.1 + 0.2 + 0.7 is exactly 1 in double precision ...
    add(0, a_, 0.1);
    add(0, b_, 0.2);
    add(0, c_, 0.7);
    EXPECT_TRUE(sumsHold());

    // ... while 0.7 + 0.2 + 0.1 is 0.9999999999999999.
    NetObject* s2 = net_.createObject(kStationType, "S2");
    s2->addTransition(0, a_, 0.7, reporter_);
    s2->addTransition(0, b_, 0.2, reporter_);
    s2->addTransition(0, c_, 0.1, reporter_);
    EXPECT_FALSE(s2->checkRoutingSums(reporter_));
    EXPECT_EQ(console_.flushed(), "\nBŁĄD:         Bledna suma prawdopodobienstw w S2\n");
}

TEST_F(RoutingTest, CheckStopsAtTheFirstFailingClass) {
    add(0, a_, 1);
    add(2, a_, 0.5);
    add(5, b_, 0.5);
    EXPECT_FALSE(sumsHold());
    EXPECT_EQ(console_.flushed(), "\nBŁĄD:         Bledna suma prawdopodobienstw w S1\n");
}

}  // namespace
}  // namespace kolt

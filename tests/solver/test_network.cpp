// The network root: classes and their limits, the kind of network, and the
// object registry.
#include <gtest/gtest.h>

#include <string>

#include "solver/model/network.h"
#include "solver/model/station.h"
#include "tests/solver/captured_console.h"

namespace kolt {
namespace {

class NetworkTest : public ::testing::Test {
  protected:
    testing::CapturedConsole console_;
    Reporter& reporter_ = console_.reporter();
    Network net_{"Siec", reporter_};
};

TEST_F(NetworkTest, AcceptsThirtyTwoClassesAndRefusesTheThirtyThird) {
    for (int i = 0; i < 32; ++i) ASSERT_EQ(net_.addClass("K" + std::to_string(i)), i);
    EXPECT_TRUE(reporter_.noErrorSoFar());

    EXPECT_EQ(net_.addClass("K32"), -1);
    EXPECT_EQ(net_.numberOfClasses(), 32);
    EXPECT_EQ(net_.findClass("K32"), -1);
    EXPECT_EQ(console_.flushed(), "\nBŁĄD:         Za duża liczba klas\n");
}

TEST_F(NetworkTest, RepeatedClassNameIsRefusedAndLeavesTheTableUnchanged) {
    ASSERT_EQ(net_.addClass("A"), 0);
    net_.setCustomers(0, 7);
    EXPECT_EQ(net_.addClass("A"), -1);
    EXPECT_EQ(net_.numberOfClasses(), 1);
    EXPECT_EQ(net_.customers(0), 7);
    EXPECT_EQ(console_.flushed(), "\nBŁĄD:         Klasa o podanej nazwie już istnieje\n");
}

TEST_F(NetworkTest, ClassNamesAreCutToTwentyCharactersAndComparedExactly) {
    ASSERT_EQ(net_.addClass("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), 0);
    EXPECT_EQ(net_.className(0), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(net_.findClass("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), -1);
    EXPECT_EQ(net_.findClass("ABCDEFGHIJKLMNOPQRST"), 0);

    // Letter case matters.
    EXPECT_EQ(net_.addClass("klasa"), 1);
    EXPECT_EQ(net_.addClass("KLASA"), 2);
    EXPECT_EQ(net_.findClass("Klasa"), -1);
    EXPECT_EQ(net_.findClass("KLASA"), 2);
    EXPECT_TRUE(reporter_.noErrorSoFar());
}

TEST_F(NetworkTest, LongNamesAgreeingInTheirFirstTwentyCharactersAreBothAccepted) {
    // The new full name is compared with the stored shortened names, so the
    // second is not a repeat; the first one wins every later lookup.
    ASSERT_EQ(net_.addClass("ABCDEFGHIJKLMNOPQRST_one"), 0);
    ASSERT_EQ(net_.addClass("ABCDEFGHIJKLMNOPQRST_two"), 1);
    EXPECT_EQ(net_.className(1), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(net_.findClass("ABCDEFGHIJKLMNOPQRST"), 0);
    EXPECT_TRUE(reporter_.noErrorSoFar());

    // A name of exactly twenty characters does meet the stored one.
    EXPECT_EQ(net_.addClass("ABCDEFGHIJKLMNOPQRST"), -1);
}

TEST_F(NetworkTest, ClassAccessorsTolerateIndexesOutsideTheTable) {
    net_.addClass("A");
    net_.setCustomers(5, 3);
    net_.setCustomers(-1, 3);
    EXPECT_EQ(net_.customers(5), 0);
    EXPECT_EQ(net_.customers(-1), 0);
    EXPECT_EQ(net_.className(5), "");
    EXPECT_EQ(net_.customers(0), 0);
}

TEST_F(NetworkTest, KindFollowsThePopulations) {
    net_.addClass("A");
    net_.addClass("B");
    EXPECT_EQ(net_.kindOfNetwork(), kOpenNetwork);
    net_.setCustomers(0, 5);
    EXPECT_EQ(net_.kindOfNetwork(), kMixedNetwork);
    net_.setCustomers(1, 3);
    EXPECT_EQ(net_.kindOfNetwork(), kClosedNetwork);
}

TEST_F(NetworkTest, LargePopulationsDoNotWrapIntoAnOpenNetwork) {
    // Four classes of 2^30 customers: a 32-bit sum would wrap to exactly 0.
    for (int i = 0; i < 4; ++i) {
        net_.addClass("K" + std::to_string(i));
        net_.setCustomers(i, 1 << 30);
    }
    EXPECT_EQ(net_.kindOfNetwork(), kClosedNetwork);
}

TEST_F(NetworkTest, CreateObjectMakesStationsSourcesAndTheExitInRegistryOrder) {
    NetObject* station = net_.createObject(kStationType, "S1");
    NetObject* source = net_.createObject(kSourceType, "Z1");
    NetObject* exit = net_.createObject(kExitType, "OUT");
    EXPECT_EQ(net_.createObject(kNetworkType, "N"), nullptr);
    EXPECT_EQ(net_.createObject(5, "X"), nullptr);

    ASSERT_NE(station, nullptr);
    ASSERT_NE(source, nullptr);
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(station->type(), kStationType);
    EXPECT_EQ(source->type(), kSourceType);
    EXPECT_EQ(exit->type(), kExitType);
    EXPECT_EQ(net_.registry(), (std::vector<NetObject*>{station, source, exit}));
    for (NetObject* o : net_.registry()) EXPECT_EQ(o->network(), &net_);
    EXPECT_NE(station->routing(), nullptr);
    EXPECT_NE(exit->routing(), nullptr);
    EXPECT_TRUE(reporter_.noErrorSoFar());
}

TEST_F(NetworkTest, SourceKeepsItsMarkerAndAStationWithoutDisciplineIsAStation) {
    auto* source = static_cast<Station*>(net_.createObject(kSourceType, "Z"));
    auto* station = static_cast<Station*>(net_.createObject(kStationType, "S"));
    EXPECT_EQ(station->discipline(), nullptr);
    EXPECT_EQ(station->type(), kStationType);
    ASSERT_NE(source->discipline(), nullptr);
    EXPECT_EQ(source->discipline()->kind(), SchedulingKind::SourceMarker);

    station->setDiscipline(SchedulingKind::Ps);
    station->setDiscipline(SchedulingKind::Is);
    EXPECT_EQ(station->discipline()->kind(), SchedulingKind::Is);
    EXPECT_EQ(station->type(), kStationType);
}

TEST_F(NetworkTest, FindObjectReturnsTheFirstOfTwoNamesakesOrThePlaceholder) {
    NetObject* first = net_.createObject(kStationType, "S");
    net_.createObject(kSourceType, "S");
    EXPECT_EQ(net_.findObject("S"), first);
    EXPECT_EQ(net_.findObject("s"), &NotFoundObject::instance());
    EXPECT_EQ(net_.findObject(""), &NotFoundObject::instance());
    EXPECT_EQ(NotFoundObject::instance().type(), kNotFoundType);
}

TEST_F(NetworkTest, JoinRefusesANetworkAndARepeatedObject) {
    NetObject* station = net_.createObject(kStationType, "S1");
    Network inner("Wewn", reporter_);

    EXPECT_FALSE(net_.join(*station));
    EXPECT_FALSE(net_.join(inner));
    EXPECT_EQ(net_.registry().size(), 1u);
    EXPECT_EQ(inner.network(), nullptr);
    EXPECT_EQ(console_.flushed(),
              "\nOSTRZEŻENIE:  Zignorowano powtorne dolaczenie do sieci Siec obiektu S1"
              "\nBŁĄD:         Niedozwolone zagniezdzenie sieci Wewn w sieci Siec\n");
}

}  // namespace
}  // namespace kolt

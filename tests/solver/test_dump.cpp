// The network dump of syntax-only mode, byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "solver/model/network.h"
#include "solver/model/station.h"
#include "tests/solver/captured_console.h"

namespace kolt {
namespace {

class DumpTest : public ::testing::Test {
  protected:
    Station& station(const char* name) { return static_cast<Station&>(*net_.createObject(kStationType, name)); }

    testing::CapturedConsole console_;
    Reporter& reporter_ = console_.reporter();
    Network net_{"Siec testowa", reporter_};
};

TEST_F(DumpTest, StationWithOneServiceAndOneTransition) {
    Station& s = station("Stan1");
    NetObject* exit = net_.createObject(kExitType, "OUT");
    s.setDiscipline(SchedulingKind::Fifo);
    s.setExp(0, 2);
    s.addTransition(0, exit, 1, reporter_);

    Reporter list(reporter_.console());
    s.dump(list);
    EXPECT_EQ(list.queued(), 6u);
    list.flush(Target::Out);
    EXPECT_EQ(console_.out(),
              "\n"
              "Stanowisko: Stan1\n"
              "  Rozkłady:\n"
              "    Dla klasy 0 rozkład: wykładniczy\n"
              "  Tranzycje:\n"
              "    Dla klasy 0\n"
              "      Do obiektu OUT z prawd. 1.000000\n");
}

TEST_F(DumpTest, WholeNetworkInRegistryOrder) {
    net_.addClass("Klasa A");
    net_.addClass("B");
    net_.setCustomers(1, 12);
    Station& source = static_cast<Station&>(*net_.createObject(kSourceType, "Zr"));
    Station& s = station("S1");
    NetObject* exit = net_.createObject(kExitType, "OUT");

    source.setExp(1, 0.5);
    source.addTransition(1, &s, 1, reporter_);
    s.setDiscipline(SchedulingKind::Ps);
    s.addHistBin(1, 2, 1);
    s.setUni(0, 1, 3);
    s.addTransition(1, exit, 0.25, reporter_);
    s.addTransition(1, &s, 0.75, reporter_);
    s.addTransition(0, exit, 1, reporter_);

    EXPECT_TRUE(net_.writeDump());
    EXPECT_EQ(console_.out(),
              "\n"
              "Sieć: \"Siec testowa\"\n"
              " Klasa: \"Klasa A\" (0 klientów)\n"
              " Klasa: \"B\" (12 klientów)\n"
              "Zródło: Zr\n"
              "  Rozkłady:\n"
              "    Dla klasy 1 rozkład: wykładniczy\n"
              "  Tranzycje:\n"
              "    Dla klasy 1\n"
              "      Do obiektu S1 z prawd. 1.000000\n"
              "Stanowisko: S1\n"
              "  Rozkłady:\n"
              "    Dla klasy 0 rozkład: równomierny\n"
              "    Dla klasy 1 rozkład: histogramowy\n"
              "  Tranzycje:\n"
              "    Dla klasy 0\n"
              "      Do obiektu OUT z prawd. 1.000000\n"
              "    Dla klasy 1\n"
              "      Do obiektu OUT z prawd. 0.250000\n"
              "      Do obiektu S1 z prawd. 0.750000\n");
}

TEST_F(DumpTest, StationWithoutDistributionsOrTransitionsKeepsItsHeadings) {
    station("Pusta");
    EXPECT_TRUE(net_.writeDump());
    EXPECT_EQ(console_.out(),
              "\nSieć: \"Siec testowa\"\nBrak zdefiniowanych klas\n"
              "Stanowisko: Pusta\n  Rozkłady:\n  Tranzycje:\n");
}

TEST_F(DumpTest, ClassesWithoutObjectsReportAnEmptyRegistry) {
    net_.addClass("A");
    net_.setCustomers(0, 3);
    EXPECT_FALSE(net_.writeDump());
    EXPECT_EQ(console_.out(),
              "\nSieć: \"Siec testowa\"\n Klasa: \"A\" (3 klientów)\nLista obiektow sieci jest pusta\n");
}

TEST_F(DumpTest, EmptyNetworkSaysSoTwice) {
    EXPECT_FALSE(net_.writeDump());
    EXPECT_EQ(console_.out(), "\nSieć: \"Siec testowa\"\nBrak zdefiniowanych klas\nLista obiektow sieci jest pusta\n");
}

TEST_F(DumpTest, UserBytesPassUnchanged) {
    // A percent sign and a Windows-1250 letter (0xB9, 'ą') in the names.
    Network net("100%\xB9", reporter_);
    net.addClass("k%d");
    Station& s = static_cast<Station&>(*net.createObject(kStationType, "S%s\xB9"));
    s.addTransition(0, &s, 1, reporter_);
    net.writeDump();
    EXPECT_EQ(console_.outBytes(),
              "\nSie\xE6: \"100%\xB9\"\n Klasa: \"k%d\" (0 klient\xF3w)\n"
              "Stanowisko: S%s\xB9\n  Rozk\xB3"
              "ady:\n  Tranzycje:\n    Dla klasy 0\n"
              "      Do obiektu S%s\xB9 z prawd. 1.000000\n");
}

TEST_F(DumpTest, DumpLeavesTheRunsQueueAlone) {
    reporter_.report(Level::Warning, "pending");
    station("S");
    net_.writeDump();
    EXPECT_EQ(reporter_.queued(), 1u);
    EXPECT_EQ(console_.out().find("pending"), std::string::npos);
}

}  // namespace
}  // namespace kolt

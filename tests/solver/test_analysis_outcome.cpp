// The method's failure words turned into messages, end to end through the
// analysis with the real open-network routine, and a solved open network
// printed as results.
#include <gtest/gtest.h>

#include "solver/analysis/analysis_driver.h"
#include "solver/analysis/method_outcome.h"
#include "solver/core/method_table.h"
#include "test_analysis_support.h"

namespace kolt::testing {
namespace {

class Outcome : public AnalysisTest {
  protected:
    // A source at rate 1/`arrivalMean` into A, then B, then OUT.
    void tandem(double arrivalMean, double meanA, double meanB) {
        addClass("Zgloszenia", 0);
        Station& in = source("Zrodlo");
        Station& a = station("A", SchedulingKind::Fifo);
        Station& b = station("B", SchedulingKind::Fifo);
        NetObject& out = exit();
        in.setExp(0, arrivalMean);
        a.setExp(0, meanA);
        b.setExp(0, meanB);
        route(in, 0, a, 1.0);
        route(a, 0, b, 1.0);
        route(b, 0, out, 1.0);
    }
    bool analyse(int method) {
        return endsRun([&] { analyseNetwork(net_, method, context_, results_, reporter_); });
    }

    AnalysisContext context_;
    PresentationModule results_;
};

TEST_F(Outcome, OverloadedSecondStationIsNamed) {
    tandem(1.0, 0.5, 1.0);
    EXPECT_TRUE(analyse(kJackson));
    EXPECT_TRUE(hasLine(err(), errorLine("Przeciazone stanowisko \"B\"")));
}

TEST_F(Outcome, StationThatNoClassLoadsIsNamed) {
    tandem(2.0, 0.5, 0.5);
    Station& idle = station("Bezczynna", SchedulingKind::Fifo);
    idle.setExp(0, 1.0);
    route(idle, 0, *net_.findObject("OUT"), 1.0);
    EXPECT_TRUE(analyse(kJackson));
    EXPECT_TRUE(hasLine(err(), errorLine("Wspolczynnik wykorzystania stanowiska \"Bezczynna\" wynosi zero")));
}

TEST_F(Outcome, InterarrivalTimeOfZeroOverloadsTheStationInsteadOfGivingNumbers) {
    // An infinite arrival rate has no steady state; it must not come out as
    // NaN cells printed as zeros under a successful run.
    tandem(0.0, 0.5, 0.5);
    EXPECT_TRUE(analyse(kJackson));
    EXPECT_TRUE(hasLine(err(), errorLine("Przeciazone stanowisko \"A\"")));
}

TEST_F(Outcome, ClosedLoopWithoutExitIsABadTopology) {
    addClass("Zgloszenia", 0);
    Station& in = source("Zrodlo");
    Station& a = station("A", SchedulingKind::Fifo);
    Station& b = station("B", SchedulingKind::Fifo);
    exit();
    in.setExp(0, 2.0);
    a.setExp(0, 0.5);
    b.setExp(0, 0.5);
    route(in, 0, a, 1.0);
    route(a, 0, b, 1.0);
    route(b, 0, a, 1.0);
    EXPECT_TRUE(analyse(kJackson));
    EXPECT_TRUE(hasLine(err(), errorLine("Niewłaściwa topologia sieci")));
}

TEST_F(Outcome, SingleQueueIsSolvedAndPrinted) {
    addClass("Zgloszenia", 0);
    Station& in = source("Zrodlo");
    Station& a = station("A", SchedulingKind::Fifo);
    NetObject& leave = exit();
    in.setExp(0, 2.0);
    a.setExp(0, 1.0);
    route(in, 0, a, 1.0);
    route(a, 0, leave, 1.0);
    ASSERT_FALSE(analyse(kJackson)) << err();
    EXPECT_NE(err().find("Analiza sieci...\nOK\n"), std::string::npos) << err();
    // M/M/1 with rho 0.5: 1 customer, 2 time units, 1 of them waiting.
    EXPECT_TRUE(results_.print(-1, true, reporter_));
    EXPECT_EQ(out(),
              "5#1>\"Bez podziału\"\t2#1>\"A\"\tSTATION\t    2.0000\t    1.0000\t    0.5000\t    0.5000\t\n"
              "5#1>\"Bez podziału\"\t2#1>\"A\"\tQUEUE\t    1.0000\t    0.5000\t            \t    0.5000\t\n"
              "5#1>\"Bez podziału\"\t2#1>\"A\"\tSERVER\t    1.0000\t    0.5000\t    0.5000\t            \t\n");
}

TEST_F(Outcome, EveryFailureCodeNamesItsStation) {
    addClass("K", 0);
    context_.stations = {&station("Pierwsza", SchedulingKind::Fifo), &station("Druga", SchedulingKind::Is)};
    context_.M = 2;
    context_.openStation = 2;
    for (int code : {25, 26, 28, 29, 30, 33}) {
        context_.openCode = code;
        reportMethodOutcome(context_, reporter_);
    }
    EXPECT_TRUE(endsRun([&] { reporter_.flush(Target::Err); }));
    EXPECT_EQ(err(),
              "\nBŁĄD:         Nieskończony czas obsługi na stanowisku \"Druga\"\n"
              "BŁĄD:         Wspolczynnik wykorzystania stanowiska \"Druga\" wynosi zero\n"
              "BŁĄD:         Przepustowosc na stanowisku \"Druga\" wynosi zero\n"
              "BŁĄD:         Dlugosc kolejki na stanowisku \"Druga\" wynosi zero\n"
              "BŁĄD:         Przeciazone stanowisko \"Druga\"\n"
              "BŁĄD:         Niewłaściwa topologia sieci\n");
}

TEST_F(Outcome, FailureWordsWithoutOwnTextStillNameWhatHappened) {
    addClass("K", 0);
    context_.stations = {&station("A", SchedulingKind::Fifo)};
    context_.M = 1;
    context_.closedFailed = 1;
    context_.openCode = 27;
    context_.openStation = 1;
    reportMethodOutcome(context_, reporter_);
    context_.closedFailed = 0;
    context_.openStation = 5;  // not a station of the table
    reportMethodOutcome(context_, reporter_);
    EXPECT_TRUE(endsRun([&] { reporter_.flush(Target::Err); }));
    EXPECT_EQ(err(),
              "\nBŁĄD:         Sieć przeciążona lub niewłaściwa\n"
              "BŁĄD:         Metoda obliczeniowa zwróciła nieznany kod błędu 27 (stanowisko \"A\")\n"
              "BŁĄD:         Metoda obliczeniowa zwróciła kod błędu 27 dla stanowiska nr 5\n");
}

}  // namespace
}  // namespace kolt::testing

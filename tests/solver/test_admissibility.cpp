// Whether the chosen method may solve the network: the whole-network checks,
// the station and source checks, and the refusals added for models the
// methods cannot take (too many classes, a class that visits nothing, a
// station never described, a negative population).
#include <gtest/gtest.h>

#include "solver/analysis/analysis_driver.h"
#include "solver/core/method_table.h"
#include "test_analysis_support.h"

namespace kolt::testing {
namespace {

class MethodAdmissibility : public AnalysisTest {
  protected:
    // One closed class cycling between a FIFO and an IS station.
    void closedNetwork() {
        addClass("Klienci", 3);
        Station& cpu = station("CPU", SchedulingKind::Fifo);
        Station& terminals = station("Terminale", SchedulingKind::Is);
        cpu.setExp(0, 1.0);
        terminals.setExp(0, 5.0);
        route(cpu, 0, terminals, 1.0);
        route(terminals, 0, cpu, 1.0);
    }

    // Open class 0 fed by a source into one FIFO station that leaves to OUT.
    void openNetwork() {
        addClass("Zgloszenia", 0);
        Station& in = source("Zrodlo");
        Station& server = station("Serwer", SchedulingKind::Fifo);
        NetObject& out = exit();
        in.setExp(0, 2.0);
        server.setExp(0, 1.0);
        route(in, 0, server, 1.0);
        route(server, 0, out, 1.0);
    }

    bool analyse(int method) {
        return endsRun([&] { analyseNetwork(net_, method, context_, results_, reporter_); });
    }

    AnalysisContext context_;
    PresentationModule results_;
};

TEST_F(MethodAdmissibility, NetworkKindMustMatchTheMethodAndNamesTheKind) {
    closedNetwork();
    EXPECT_TRUE(analyse(kJackson));
    EXPECT_TRUE(hasLine(err(), errorLine("Metoda Jackson nie jest dozwolona w analizowaniu sieci zamkniętej")));
    EXPECT_EQ(err().find("Inicjacja tablic"), std::string::npos) << "no array may be built after the refusal";
}

TEST_F(MethodAdmissibility, MixedNetworkIsRefusedByMvaAndOpenByDiff) {
    addClass("A", 2);
    addClass("B", 0);
    EXPECT_TRUE(analyse(kMva));
    EXPECT_TRUE(hasLine(err(), errorLine("Metoda MVA nie jest dozwolona w analizowaniu sieci mieszanej")));
}

TEST_F(MethodAdmissibility, OpenNetworkIsRefusedBySimulWhichTakesOnlyMixed) {
    openNetwork();
    EXPECT_TRUE(analyse(kSimul));
    EXPECT_TRUE(hasLine(err(), errorLine("Metoda Symulacja nie jest dozwolona w analizowaniu sieci otwartej")));
}

TEST_F(MethodAdmissibility, SingleClassMethodsRefuseSeveralClasses) {
    closedNetwork();
    addClass("Druga", 1);
    EXPECT_TRUE(analyse(kEpf));
    EXPECT_TRUE(hasLine(err(), errorLine("Metoda EPF nie jest dozwolona dla wielu klas")));
}

TEST_F(MethodAdmissibility, ExactRecursionTakesAtMostTenClasses) {
    closedNetwork();
    for (int r = 1; r <= 10; ++r) addClass("K" + std::to_string(r), 1);
    EXPECT_TRUE(analyse(kMvap));
    EXPECT_TRUE(hasLine(err(), errorLine("Metoda MVA-PriorApprox dopuszcza co najwyżej 10 klas")));
}

TEST_F(MethodAdmissibility, NegativePopulationIsRefusedNamingTheClass) {
    closedNetwork();
    addClass("Ujemna", -2);
    EXPECT_TRUE(analyse(kMva));
    EXPECT_TRUE(hasLine(err(), errorLine("Liczba klientów klasy Ujemna nie może być ujemna")));
}

TEST_F(MethodAdmissibility, DisallowedSchedulingIsReportedOncePerStationAndEveryStationIsExamined) {
    addClass("Klienci", 2);
    Station& a = station("LifoA", SchedulingKind::Lifo);
    Station& b = station("LifoB", SchedulingKind::Lifo);
    Station& c = station("Suma", SchedulingKind::Fifo);
    for (Station* s : {&a, &b, &c}) s->setExp(0, 1.0);
    route(a, 0, b, 1.0);
    route(b, 0, c, 1.0);
    route(c, 0, a, 0.5);
    route(c, 0, b, 0.4);  // sums to 0.9: reported too, after the LIFO stations
    EXPECT_TRUE(analyse(kMva));
    const std::string text = err();
    const std::string head = "Typ szeregowania LIFO nie jest dozwolony dla metody MVA (stanowisko: ";
    EXPECT_EQ(occurrences(text, "\n" + errorLine(head + "LifoA)") + "\n"), 1) << text;
    EXPECT_EQ(occurrences(text, "\n" + errorLine(head + "LifoB)") + "\n"), 1);
    EXPECT_TRUE(hasLine(text, errorLine("Bledna suma prawdopodobienstw w Suma")));
    EXPECT_EQ(text.find("Analiza sieci..."), std::string::npos) << "the method must not run";
}

TEST_F(MethodAdmissibility, DisallowedDistributionNamesKindMethodAndStation) {
    addClass("Zgloszenia", 0);
    Station& in = source("Zrodlo");
    Station& server = station("Serwer", SchedulingKind::Fifo);
    NetObject& out = exit();
    in.setExp(0, 2.0);
    server.addHistBin(0, 2.0, 1.0);
    route(in, 0, server, 1.0);
    route(server, 0, out, 1.0);
    EXPECT_TRUE(analyse(kJackson));
    EXPECT_TRUE(
        hasLine(err(), errorLine("Rozkład histogramowy nie jest dozwolony dla metody Jackson (stanowisko: Serwer)")));
}

TEST_F(MethodAdmissibility, SourceMayNotSendAClassStraightToTheExit) {
    openNetwork();
    addClass("Druga", 0);
    Station& in = *static_cast<Station*>(net_.findObject("Zrodlo"));
    route(in, 1, *net_.findObject("OUT"), 1.0);
    EXPECT_TRUE(analyse(kJackson));
    EXPECT_TRUE(hasLine(err(), errorLine("Niedozwolone opuszczenie sieci przez klientow klasy 1 ze zrodla Zrodlo")));
}

TEST_F(MethodAdmissibility, MissingOpenDistributionIsOnlyAWarning) {
    openNetwork();
    addClass("Druga", 0);
    Station& in = *static_cast<Station*>(net_.findObject("Zrodlo"));
    Station& server = *static_cast<Station*>(net_.findObject("Serwer"));
    in.setExp(1, 4.0);
    route(in, 1, server, 1.0);
    route(server, 1, *net_.findObject("OUT"), 1.0);
    EXPECT_FALSE(analyse(kJackson));
    EXPECT_TRUE(hasLine(err(), warningLine("Brak rozkladu dla klasy 1 w stanowisku Serwer")));
    EXPECT_TRUE(hasLine(err(), "Analiza sieci..."));
}

TEST_F(MethodAdmissibility, DiffusionTakesOnlyFifoStations) {
    openNetwork();
    Station& ps = station("Procesor", SchedulingKind::Ps);
    ps.setExp(0, 0.5);
    route(ps, 0, *net_.findObject("OUT"), 1.0);
    EXPECT_TRUE(analyse(kDiff));
    EXPECT_TRUE(
        hasLine(err(), errorLine("Typ szeregowania PS nie jest dozwolony dla metody DIFF (stanowisko: Procesor)")));
}

TEST_F(MethodAdmissibility, NetworkWithoutClassesIsFatal) {
    // No class at all is an open network, which JACKSON accepts by kind.
    station("Serwer", SchedulingKind::Fifo);
    EXPECT_TRUE(analyse(kJackson));
    EXPECT_TRUE(hasLine(err(), fatalLine("Za mala liczba klas")));
    EXPECT_EQ(err().find("Inicjacja tablic"), std::string::npos);
}

TEST_F(MethodAdmissibility, TransitionToASourceIsAnUnknownStation) {
    closedNetwork();
    Station& in = source("Zrodlo");
    static_cast<void>(in);
    Station& cpu = *static_cast<Station*>(net_.findObject("CPU"));
    addClass("Druga", 1);
    route(cpu, 1, in, 1.0);
    EXPECT_TRUE(analyse(kMva));
    EXPECT_TRUE(hasLine(err(), errorLine("Nieznana stacja: Zrodlo")));
}

TEST_F(MethodAdmissibility, ClosedClassThatVisitsNoStationIsRefusedByName) {
    closedNetwork();
    addClass("Bezdomna", 2);
    EXPECT_TRUE(analyse(kHmva));
    EXPECT_TRUE(hasLine(err(), errorLine("Klasa Bezdomna nie odwiedza żadnego stanowiska")));
}

TEST_F(MethodAdmissibility, StationNeverDescribedIsRefusedByName) {
    closedNetwork();
    net_.createObject(kStationType, "Pusta");
    EXPECT_TRUE(analyse(kMva));
    EXPECT_TRUE(hasLine(err(), errorLine("Stanowisko Pusta nie zostało opisane")));
    EXPECT_EQ(err().find("Inicjacja tablic"), std::string::npos);
}

TEST_F(MethodAdmissibility, MethodsWithoutComputationPassTheChecksButLeaveTheTablesEmpty) {
    closedNetwork();
    EXPECT_FALSE(analyse(kIterm));
    const std::string text = err();
    EXPECT_NE(text.find("Analiza semantyczna...\nOK\nInicjacja tablic...\nIlość potrzebnej pamięci: \nOK\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(endsRun([&] {
        for (int c = -1; c < 1; ++c) EXPECT_FALSE(results_.print(c, true, reporter_));
        reporter_.flush(Target::Out);
    }));
    EXPECT_EQ(occurrences(out(), errorLine("Nie zainicjalizowano modulu prezentacyjnego") + "\n"), 2);
}

}  // namespace
}  // namespace kolt::testing

// SIMUL inside the analysis: what it refuses before simulating, what it
// says about the run, and the results it prints with their half-widths.
#include <gtest/gtest.h>

#include <regex>

#include "solver/analysis/analysis_driver.h"
#include "solver/core/method_table.h"
#include "test_analysis_support.h"

namespace kolt::testing {
namespace {

class SimulationRun : public AnalysisTest {
  protected:
    // Closed class 0 (one customer) from IS "Terminale" (mean 4) to FIFO
    // "CPU" (mean 1); open class 1 from "Z" (mean interarrival 2) to FIFO
    // "Serwer" (mean 1). Where the CPU and the server send their customers
    // is up to each test; completeRouting() closes the cycle and leaves.
    void SetUp() override {
        addClass("Zamknieta", 1);
        addClass("Otwarta", 0);
        terminals = &station("Terminale", SchedulingKind::Is);
        cpu = &station("CPU", SchedulingKind::Fifo);
        server = &station("Serwer", SchedulingKind::Fifo);
        in = &source("Z");
        exitObject = &exit();
        terminals->setExp(0, 4.0);
        cpu->setExp(0, 1.0);
        server->setExp(1, 1.0);
        in->setExp(1, 2.0);
        route(*terminals, 0, *cpu, 1.0);
        route(*in, 1, *server, 1.0);
        context_.simulationControl.precision = 0.05;
    }
    void completeRouting() {
        route(*cpu, 0, *terminals, 1.0);
        route(*server, 1, *exitObject, 1.0);
    }
    // True when the run ended with an error.
    bool analyse() {
        return endsRun([&] { analyseNetwork(net_, kSimul, context_, results_, reporter_); });
    }
    void expectError(const std::string& text) { EXPECT_TRUE(hasLine(err(), errorLine(text))); }

    Station *terminals, *cpu, *server, *in;
    NetObject* exitObject;
    AnalysisContext context_;
    PresentationModule results_;
};

TEST_F(SimulationRun, RefusesWhatCannotBeSimulatedNamingEachPlace) {
    route(*cpu, 0, *terminals, 0.5);
    route(*cpu, 0, *exitObject, 0.5);  // a closed customer cannot leave
    route(*in, 0, *cpu, 1.0);          // nor come from a source: passed over
    Station& shared = station("Dzielony", SchedulingKind::Ps);
    Station& general = station("Ogolny", SchedulingKind::Fifo);
    route(*server, 1, shared, 0.5);
    route(*server, 1, general, 0.5);
    shared.setExp(1, 1.0);
    general.setGen(1, 1.0, 2.0);
    general.setExp(0, -1.0);
    route(shared, 1, *exitObject, 1.0);
    route(general, 1, *exitObject, 1.0);
    EXPECT_TRUE(analyse());
    expectError("Klienci klasy zamkniętej Zamknieta opuszczają sieć w stanowisku CPU");
    EXPECT_TRUE(hasLine(err(), warningLine("Pominięto tranzycje klasy zamkniętej Zamknieta ze źródła Z")));
    expectError("Typ szeregowania PS nie jest dozwolony dla metody Symulacja (stanowisko: Dzielony)");
    expectError("Rozkład ogólny nie jest dozwolony dla metody Symulacja (stanowisko: Ogolny)");
    expectError("Rozkład wykładniczy klasy Zamknieta ma niewłaściwe parametry (stanowisko: Ogolny)");
    EXPECT_EQ(err().find("Analiza sieci"), std::string::npos) << "nothing may be simulated";
}

// Half the open customers come back to the server once more, so its load is
// 0.5 * 2 * 1 = 1; a second open class loops for ever at "Petla".
TEST_F(SimulationRun, AnOpenLoadOfOneOrAWayWithoutExitIsRefusedBeforeSimulating) {
    route(*cpu, 0, *terminals, 1.0);
    Station& again = station("Ponownie", SchedulingKind::Fifo);
    again.setExp(1, 1.0);
    route(*server, 1, again, 0.5);
    route(*server, 1, *exitObject, 0.5);
    route(again, 1, *server, 1.0);
    addClass("Krazy", 0);
    Station& loop = station("Petla", SchedulingKind::Fifo);
    loop.setExp(2, 0.1);
    in->setExp(2, 5.0);
    route(*in, 2, loop, 1.0);
    route(loop, 2, loop, 1.0);
    EXPECT_TRUE(analyse());
    expectError("Przeciazone stanowisko \"Serwer\"");
    expectError("Niewłaściwa topologia sieci");
    EXPECT_EQ(err().find("Przeciazone stanowisko \"Ponownie\""), std::string::npos);
    EXPECT_EQ(err().find("Analiza sieci"), std::string::npos);
}

TEST_F(SimulationRun, ComputesEstimatesAndPrintsHalfWidthsInThePlainReportOnly) {
    completeRouting();
    EXPECT_FALSE(analyse()) << err();
    EXPECT_TRUE(std::regex_search(err(), std::regex("Ilość potrzebnej pamięci: [0-9]+ bajtów\n"))) << err();
    EXPECT_TRUE(std::regex_search(err(), std::regex("\nSymulacja: [0-9]+ zdarzeń, czas symulowany [0-9.e+]+, "
                                                    "ziarno generatora 19970101\n"
                                                    "Odrzucony okres przejściowy: czas [0-9.e+]+, [0-9]+ zdarzeń\n"
                                                    "Dokładność \\(względna połowa 95% przedziału ufności średniej "
                                                    "liczby klientów\\): [0-9.]+%, cel 5.00%\n"
                                                    "Najmniej dokładna: stanowisko [A-Za-z]+, [a-z]+ [A-Za-z]+; "
                                                    "średnie z [0-9]+ przedziałów\n")))
        << err();
    EXPECT_EQ(err().find("OSTRZEŻENIE"), std::string::npos);

    for (int c = -1; c < 2; ++c) ASSERT_TRUE(results_.print(c, false, reporter_));
    const std::string plain = out();
    EXPECT_EQ(occurrences(plain, "POŁOWY SZEROKOŚCI 95% PRZEDZIAŁÓW UFNOŚCI :\n"), 3);
    // The open class's block: its one station, then the same row again.
    const std::string open = plain.substr(plain.find("Dla klasy \"Otwarta\""));
    EXPECT_EQ(occurrences(open, " 1.Stan.         Serwer"), 2) << open;
    EXPECT_EQ(occurrences(open, "Stan."), 2) << "the open class visits no other station";

    for (int c = -1; c < 2; ++c) ASSERT_TRUE(results_.print(c, true, reporter_));
    const std::string machine = out().substr(plain.size());
    EXPECT_EQ(machine.find("POŁOWY"), std::string::npos);
    EXPECT_EQ(occurrences(machine, "\n"), 7 + 4 + 3);  // all classes, the closed class, the open one
    EXPECT_EQ(machine.rfind("5#1>\"Bez podziału\"\t3#1>\"Terminale\"\tIS\t", 0), 0u) << machine;
}

TEST_F(SimulationRun, ACapBeforeThePrecisionWarnsWithThePrecisionReached) {
    completeRouting();
    context_.simulationControl.precision = 0.001;
    context_.simulationControl.eventCap = 100000;
    EXPECT_FALSE(analyse()) << err();
    EXPECT_TRUE(std::regex_search(err(), std::regex("OSTRZEŻENIE:  Nie osiągnięto dokładności 0.10% w limicie 100000 "
                                                    "zdarzeń; osiągnięta dokładność [0-9.]+% \\(stanowisko ")))
        << err();
    EXPECT_GT(results_.number(-1, 2, 0), 0.0) << "the estimates are still there";
}

// The closed customer, once at "Priorytet", holds it 10/11 of the time at
// the higher priority; the open class's own load there is only 0.5, yet its
// queue grows without bound.
TEST_F(SimulationRun, AnOpenQueueGrowingBelowAClosedClassOfHigherPriorityIsReported) {
    Station& priority = station("Priorytet", SchedulingKind::PriorPr);
    Station& quick = station("Szybki", SchedulingKind::Is);
    priority.setExp(0, 1.0);
    priority.setExp(1, 1.0);
    quick.setExp(0, 0.1);
    route(*cpu, 0, priority, 1.0);
    route(priority, 0, quick, 1.0);
    route(quick, 0, priority, 1.0);
    route(*server, 1, priority, 1.0);
    route(priority, 1, *exitObject, 1.0);
    context_.simulationControl.openCustomerCap = 2000;
    EXPECT_TRUE(analyse());
    expectError("Przeciazone stanowisko \"Priorytet\"");
}

TEST_F(SimulationRun, CustomersCirclingWithoutServiceTimeAreReported) {
    completeRouting();
    addClass("Krazaca", 2);
    Station& a = station("A", SchedulingKind::Fifo);
    Station& b = station("B", SchedulingKind::Fifo);
    route(a, 2, b, 1.0);
    route(b, 2, a, 1.0);
    EXPECT_TRUE(analyse());
    EXPECT_TRUE(hasLine(err(), warningLine("Brak rozkladu dla klasy 2 w stanowisku A")));
    expectError("Czas symulacji nie postępuje: klienci krążą przez stanowiska bez czasu obsługi");
}

}  // namespace
}  // namespace kolt::testing

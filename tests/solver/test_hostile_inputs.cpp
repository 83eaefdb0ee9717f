// Inputs that once gave wrong numbers with status 0, each run through the
// real solver as the workbench starts it. Every run must either end with the
// status 0 and sound numbers or with the status 50 and the Polish message
// that says why.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/cp1250.h"
#include "solver_process.h"
#include "test_language_support.h"

namespace kolt::testing {
namespace {

struct HostileCase {
    const char* what;
    std::string network;
    const char* method;
    int status;
    std::vector<std::string> diagnostics;  // whole lines of the diagnostics file
    std::vector<std::string> results;      // whole lines of the results file
};

// One class of `customers` between a FIFO station A with `serviceA` and an
// IS station B with mean 1.
std::string twoStations(const std::string& customers, const std::string& serviceA) {
    return networkFile("/CLASS/ NAME=K[" + customers + "]\n/STATION/ NAME=A\n/STATION/ NAME=B\n",
                       "/STATION/ NAME=A SERVICE=" + serviceA +
                           " TRANSIT=B;\n"
                           "/STATION/ NAME=B SCHEDULE=IS SERVICE=EXP[1] TRANSIT=A;\n");
}

// Poisson arrivals, `interarrival` apart on average, into one FIFO station
// with `service`.
std::string openStation(const std::string& interarrival, const std::string& service) {
    return networkFile("/CLASS/ NAME=K[]\n/SOURCE/ NAME=Z\n/STATION/ NAME=A\n/OUT/ NAME=OUT\n",
                       "/SOURCE/ NAME=Z SERVICE=EXP[" + interarrival +
                           "] TRANSIT=A;\n"
                           "/STATION/ NAME=A SERVICE=" +
                           service + " TRANSIT=OUT;\n");
}

// `count` FIFO stations S1..Sn in a ring for two classes, the first station
// preemptive-priority.
std::string priorityRing(int count, int customers) {
    std::string declarations =
        "/CLASS/ NAME=K1[" + std::to_string(customers) + "]\n/CLASS/ NAME=K2[" + std::to_string(customers) + "]\n";
    std::string descriptions;
    for (int i = 1; i <= count; ++i) {
        const std::string name = "S" + std::to_string(i);
        declarations += "/STATION/ NAME=" + name + "\n";
        descriptions += "/STATION/ NAME=" + name + (i == 1 ? " SCHEDULE=PRIOR-PR" : "") +
                        " SERVICE=EXP[0.01] TRANSIT=S" + std::to_string(i % count + 1) + ";\n";
    }
    return networkFile(declarations, descriptions);
}

// Customers enter A and then move between A, B and C for ever. The traffic
// equations are singular, but rounding hides their zero pivot.
std::string endlessLoop() {
    return networkFile(
        "/CLASS/ NAME=K[]\n/SOURCE/ NAME=Z\n/STATION/ NAME=A\n/STATION/ NAME=B\n/STATION/ NAME=C\n"
        "/OUT/ NAME=OUT\n",
        "/SOURCE/ NAME=Z SERVICE=EXP[10] TRANSIT=A;\n"
        "/STATION/ NAME=A SERVICE=EXP[0.1] TRANSIT=[0.1]B,[0.9]C;\n"
        "/STATION/ NAME=B SERVICE=EXP[0.1] TRANSIT=[0.7]A,[0.3]C;\n"
        "/STATION/ NAME=C SERVICE=EXP[0.1] TRANSIT=[0.35]A,[0.65]B;\n");
}

std::vector<HostileCase> hostileCases() {
    return {
        {"closed class routed to the exit",
         networkFile("/CLASS/ NAME=K[2]\n/STATION/ NAME=A\n/STATION/ NAME=B\n/OUT/ NAME=OUT\n",
                     "/STATION/ NAME=A SERVICE=EXP[1] TRANSIT=B;\n"
                     "/STATION/ NAME=B SERVICE=EXP[1] TRANSIT=[0.5]A,[0.5]OUT;\n"),
         "MVA",
         50,
         {"BŁĄD:         (10,56) Klienci klasy zamkniętej K nie mogą opuścić sieci"},
         {}},
        {"overflow of a huge service time under MVA",
         twoStations("3", "EXP[1e308]"),
         "MVA",
         50,
         {"BŁĄD:         Wynik nieokreślony (przepełnienie) dla stanowiska A",
          "BŁĄD:         Wynik nieokreślony (przepełnienie) dla stanowiska A, klasa K"},
         {}},
        {"Cox phase entered with probability 1e-300 under DIFF",
         openStation("1e6", "COX[1,0.5,1e-300,1e305]"),
         "DIFF",
         50,
         {"BŁĄD:         Wynik nieokreślony (przepełnienie) dla stanowiska A"},
         {}},
        {"histogram bounds near the top of the range under DIFF",
         openStation("1e201", "HIST[1e200,1]"),
         "DIFF",
         50,
         {"BŁĄD:         Wynik nieokreślony (przepełnienie) dla stanowiska A"},
         {}},
        {"priority station over its capacity under MVAP",
         networkFile("/CLASS/ NAME=K1[4]\n/CLASS/ NAME=K2[4]\n/STATION/ NAME=P\n/STATION/ NAME=D\n",
                     "/STATION/ NAME=P SCHEDULE=PRIOR-PR SERVICE(K1)=EXP[1] SERVICE(K2)=EXP[1] TRANSIT=D;\n"
                     "/STATION/ NAME=D SCHEDULE=IS SERVICE=EXP[0.5] TRANSIT=P;\n"),
         "MVAP",
         50,
         {},
         {"BŁĄD:         Przeciazenie stanowisk w sieci"}},
        {"hyperexponential branches that do not add up to 1",
         twoStations("2", "HIP[0.3,1.8]"),
         "-c",
         50,
         {"BŁĄD:         (8,37) Suma prawdopodobieństw gałęzi rozkładu hiperwykładniczego różna od 1"},
         {}},
        {"customer count written in the exponent form",
         twoStations("1e3", "EXP[1]"),
         "-c",
         50,
         {"BŁĄD:         (3,19) Liczba klientów musi być liczbą naturalną"},
         {}},
        {"source in a closed network",
         networkFile("/CLASS/ NAME=K[2]\n/SOURCE/ NAME=Z\n/STATION/ NAME=A\n",
                     "/SOURCE/ NAME=Z SERVICE=EXP[1] TRANSIT=A;\n/STATION/ NAME=A SERVICE=EXP[1] TRANSIT=A;\n"),
         "MVA",
         0,
         {"OSTRZEŻENIE:  Źródło Z w sieci zamkniętej zostanie pominięte"},
         {}},
        {"class without service at a station it visits",
         networkFile("/CLASS/ NAME=K1[2]\n/CLASS/ NAME=K2[2]\n/STATION/ NAME=A\n/STATION/ NAME=B\n",
                     "/STATION/ NAME=A SERVICE(K1)=EXP[1] TRANSIT=B;\n/STATION/ NAME=B SERVICE=EXP[1] TRANSIT=A;\n"),
         "MVA",
         0,
         {"OSTRZEŻENIE:  Brak rozkladu dla klasy 1 w stanowisku A"},
         {}},
        {"class names equal in their first 20 characters",
         networkFile("/CLASS/ NAME=PierwszaDlugaNazwaKlasy[1]\n/CLASS/ NAME=PierwszaDlugaNazwaKlasyB[1]\n"
                     "/STATION/ NAME=A\n",
                     "/STATION/ NAME=A SERVICE=EXP[1] TRANSIT=A;\n"),
         "MVA",
         0,
         {"OSTRZEŻENIE:  (4,38) Nazwa klasy PierwszaDlugaNazwaKlasyB po skróceniu do 20 znaków jest taka sama "
          "jak nazwa klasy PierwszaDlugaNazwaKl"},
         {}},
        {"more stations than the priority approximation holds",
         priorityRing(31, 1),
         "MVAP",
         50,
         {"BŁĄD:         Metoda MVA-PriorApprox dopuszcza co najwyżej 30 stanowisk w sieci ze stanowiskami "
          "priorytetowymi"},
         {}},
        {"populations beyond the priority tables",
         priorityRing(2, 130),
         "MVAP",
         50,
         {"BŁĄD:         Metoda MVA-PriorApprox: tablice stanowisk priorytetowych mieszczą co najwyżej 16000 "
          "wartości wykorzystania i 12000 wartości pracy; populacje klas są za duże"},
         {}},
        {"open network whose customers can never leave, under JACKSON",
         endlessLoop(),
         "JACKSON",
         50,
         {"BŁĄD:         Niewłaściwa topologia sieci"},
         {}},
        {"open network whose customers can never leave, under DIFF",
         endlessLoop(),
         "DIFF",
         50,
         {"BŁĄD:         Niewłaściwa topologia sieci"},
         {}},
    };
}

class HostileInputs : public ScratchDirectoryTest {};

TEST_F(HostileInputs, EndWithSoundNumbersOrTheMessageThatSaysWhy) {
    for (const HostileCase& c : hostileCases()) {
        SCOPED_TRACE(c.what);
        const SolverRun run = runAsWorkbench(dir_, utf8ToCp1250(c.network), c.method);
        const std::string diagnostics = cp1250ToUtf8(readBytes(dir_ / "siec.err"));
        const std::string results = cp1250ToUtf8(readBytes(dir_ / "siec.wnk"));
        EXPECT_EQ(run.status, c.status) << diagnostics << results;
        for (const std::string& line : c.diagnostics) EXPECT_TRUE(hasLine(diagnostics, line));
        for (const std::string& line : c.results) EXPECT_TRUE(hasLine(results, line));
        EXPECT_EQ(results.find("nan"), std::string::npos) << results;
        EXPECT_EQ(results.find("inf"), std::string::npos) << results;
    }
}

}  // namespace
}  // namespace kolt::testing

// A closed network analysed end to end with exact MVA, the stage texts and
// the results in both layouts compared byte for byte with values worked out
// by hand; the methods that compute nothing leave the results empty, and
// SIMUL fills them.
#include <gtest/gtest.h>

#include "solver/analysis/analysis_driver.h"
#include "solver/core/method_table.h"
#include "test_analysis_support.h"

namespace kolt::testing {
namespace {

class ClosedRun : public AnalysisTest {
  protected:
    bool analyse(int method) {
        return endsRun([&] { analyseNetwork(net_, method, context_, results_, reporter_); });
    }
    // Every block, all classes first, as the run driver prints them.
    std::string printed(bool machine) {
        const std::size_t before = out().size();
        for (int c = -1; c < net_.numberOfClasses(); ++c) EXPECT_TRUE(results_.print(c, machine, reporter_));
        return out().substr(before);
    }

    AnalysisContext context_;
    PresentationModule results_;
};

// Two customers between a FIFO "CPU" (mean 1) and IS "Terminale" (mean 5).
// By the recursion: one customer gives Q(CPU) = 1/6; two give
// W(CPU) = 1 + 1/6 = 7/6, W(IS) = 5, X = 2 / (7/6 + 5) = 12/37,
// Q(CPU) = 14/37, Q(IS) = 60/37, U(CPU) = 12/37. The CPU's queue waits
// 1/6 and holds 14/37 - 12/37 = 2/37.
class FifoAndIs : public ClosedRun {
  protected:
    void SetUp() override {
        addClass("Klienci", 2);
        Station& cpu = station("CPU", SchedulingKind::Fifo);
        Station& terminals = station("Terminale", SchedulingKind::Is);
        cpu.setExp(0, 1.0);
        terminals.setExp(0, 5.0);
        route(cpu, 0, terminals, 1.0);
        route(terminals, 0, cpu, 1.0);
        ASSERT_FALSE(analyse(kMva)) << err();
    }
};

TEST_F(FifoAndIs, StageTextsWithTheMemoryEstimate) {
    // L = max(2 * 3, 2 * 3 * 3) = 18; 2 * (28 + 36) + 8 * (1 + 36 + 1) + 4.
    EXPECT_EQ(err(),
              "Analiza semantyczna...\nOK\nInicjacja tablic...\nIlość potrzebnej pamięci: 436 bajtów\nOK\n"
              "Analiza sieci...\nOK\n");
}

TEST_F(FifoAndIs, PlainReportCutsTheCells) {
    const std::string head = std::string(25, ' ') + "WYNIKI (prosty wydruk ASCII) :\n";
    const std::string columns = std::string(31, ' ') + "CZAS OBSŁ. LICZBA KL. WYKORZYST. PRZEPUST.\n";
    const std::string blanks24(24, ' '), empty(11, ' ');
    const std::string rows =
        " 1.Stan.            CPU       "
        " 1.1666666  0.3783783  0.3243243  0.3243243 \n" +
        blanks24 +
        "QUEUE "
        " 0.1666666  0.0540540 " +
        empty + " 0.3243243 \n" + blanks24 +
        "SERVER"
        " 1.0000000  0.3243243  0.3243243 " +
        empty + "\n" +
        " 2.Stan.      Terminale       "
        " 5.0000000  1.6216216 " +
        empty + " 0.3243243 \n";
    EXPECT_EQ(printed(false), head + "\"Bez podziału na klasy\"\n" + columns + rows + head + "Dla klasy \"Klienci\"\n" +
                                  columns + rows);
}

TEST_F(FifoAndIs, WorkbenchRecordsRoundTheCells) {
    const std::string empty = std::string(12, ' ') + "\t";
    auto block = [&](const std::string& group) {
        const std::string cpu = group + "2#1>\"CPU\"\t";
        return cpu +
               "STATION\t"
               "    1.1667\t    0.3784\t    0.3243\t    0.3243\t\n" +
               cpu +
               "QUEUE\t"
               "    0.1667\t    0.0541\t" +
               empty + "    0.3243\t\n" + cpu +
               "SERVER\t"
               "    1.0000\t    0.3243\t    0.3243\t" +
               empty + "\n" + group +
               "3#2>\"Terminale\"\tIS\t"
               "    5.0000\t    1.6216\t" +
               empty + "    0.3243\t\n";
    };
    EXPECT_EQ(printed(true), block("5#1>\"Bez podziału\"\t") + block("7#2>\"Klienci\"\t"));
}

TEST_F(ClosedRun, MemoryEstimateOfOneClassOfTwoAtThreeStations) {
    addClass("Klienci", 2);
    Station& a = station("A", SchedulingKind::Fifo);
    Station& b = station("B", SchedulingKind::Ps);
    Station& c = station("C", SchedulingKind::Is);
    for (Station* s : {&a, &b, &c}) s->setExp(0, 1.0);
    route(a, 0, b, 1.0);
    route(b, 0, c, 1.0);
    route(c, 0, a, 1.0);
    ASSERT_FALSE(analyse(kMvap)) << err();
    EXPECT_TRUE(hasLine(err(), "Ilość potrzebnej pamięci: 724 bajtów"));
    // A PS station has only its station row.
    EXPECT_EQ(occurrences(printed(true), "2#2>\"B\""), 0);
}

TEST_F(ClosedRun, ClassWhoseRoutingIsNotStronglyConnectedFailsTheMethod) {
    addClass("Klienci", 2);
    Station& a = station("A", SchedulingKind::Fifo);
    Station& b = station("B", SchedulingKind::Fifo);
    a.setExp(0, 1.0);
    b.setExp(0, 1.0);
    route(a, 0, b, 1.0);
    // The way back from B to A is below the 1.0E-4 the routing check needs.
    route(b, 0, a, 0.00005);
    route(b, 0, b, 0.99995);
    EXPECT_TRUE(analyse(kMva));
    EXPECT_NE(err().find("Analiza sieci...\nBŁĄD:         Sieć przeciążona lub niewłaściwa\n"), std::string::npos)
        << err();
    EXPECT_EQ(context_.K, (std::vector<int>{2})) << "populations restored";
}

// EPF and ITERM pass the checks, compute nothing, and every block of the
// results reports the empty module.
TEST_F(ClosedRun, EpfPassesTheChecksAndReportsTheEmptyModuleForEveryBlock) {
    addClass("Klienci", 1);
    Station& a = station("A", SchedulingKind::Fifo);
    a.setExp(0, 1.0);
    route(a, 0, a, 1.0);
    EXPECT_FALSE(analyse(kEpf));
    EXPECT_NE(err().find("Ilość potrzebnej pamięci: \nOK\n"), std::string::npos) << err();
    EXPECT_TRUE(endsRun([&] {
        for (int c = -1; c < 1; ++c) EXPECT_FALSE(results_.print(c, false, reporter_));
        reporter_.flush(Target::Out);
    }));
    EXPECT_EQ(out(),
              "\nBŁĄD:         Nie zainicjalizowano modulu prezentacyjnego\n"
              "BŁĄD:         Nie zainicjalizowano modulu prezentacyjnego\n");
}

// SIMUL solves the mixed network it admits, LIFO included.
TEST_F(ClosedRun, SimulOnAMixedNetworkWithALifoStationComputesEveryBlock) {
    addClass("Zamknieta", 2);
    addClass("Otwarta", 0);
    Station& a = station("A", SchedulingKind::Lifo);  // allowed for SIMUL only
    NetObject& leave = exit();
    Station& in = source("Z");
    a.setExp(0, 1.0);
    a.setExp(1, 1.0);
    in.setExp(1, 2.0);
    route(a, 0, a, 1.0);
    route(in, 1, a, 1.0);
    route(a, 1, leave, 1.0);
    context_.simulationControl.precision = 0.05;
    EXPECT_FALSE(analyse(kSimul)) << err();
    EXPECT_EQ(err().find("Ilość potrzebnej pamięci: \n"), std::string::npos) << "the memory line has its number";
    for (int c = -1; c < 2; ++c) EXPECT_TRUE(results_.print(c, true, reporter_));
    EXPECT_EQ(occurrences(out(), "Nie zainicjalizowano modulu prezentacyjnego"), 0);
}

}  // namespace
}  // namespace kolt::testing

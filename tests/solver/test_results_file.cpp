// The results file, byte for byte: the plain report and the tab-separated
// records the workbench reads, their cells (cut, empty, zero) and the rows a
// class block leaves out.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "test_analysis_support.h"

namespace kolt::testing {
namespace {

const std::string kBlanks24(24, ' ');
const std::string kEmptyPlain(11, ' ');
const std::string kEmptyMachine = std::string(12, ' ') + "\t";

class ResultsFile : public AnalysisTest {
  protected:
    // One closed class "Klienci" cycling between a FIFO "CPU" and an IS
    // "Terminale", with the tables filled for all classes and for the class.
    void fifoAndIs() {
        addClass("Klienci", 3);
        context_.stations = {&station("CPU", SchedulingKind::Fifo), &station("Terminale", SchedulingKind::Is)};
        context_.SR = {1, 1};
        ASSERT_TRUE(results_.init(net_, context_));
        for (int c : {-1, 0}) {
            setRow(c, 0, 0, 2.5, 1.25, 0.5, 0.5);
            setRow(c, 0, 1, 0.5, 0.75, -1.0, 0.5);
            setRow(c, 1, 0, 5.0, 1.75, -1.0, 0.35);
        }
    }
    void setRow(int c, int s, int k, double time, double number, double utilisation, double throughput) {
        results_.setTime(c, s, k, time);
        results_.setNumber(c, s, k, number);
        results_.setUtilisation(c, s, k, utilisation);
        results_.setThroughput(c, s, k, throughput);
    }
    std::string printed(int c, bool machine) {
        const std::size_t before = out().size();
        EXPECT_TRUE(results_.print(c, machine, reporter_));
        return out().substr(before);
    }

    AnalysisContext context_;
    PresentationModule results_;
};

TEST_F(ResultsFile, PlainReportOfFifoAndIsStations) {
    fifoAndIs();
    const std::string head = std::string(25, ' ') + "WYNIKI (prosty wydruk ASCII) :\n";
    const std::string columns = std::string(31, ' ') + "CZAS OBSŁ. LICZBA KL. WYKORZYST. PRZEPUST.\n";
    const std::string rows =
        " 1.Stan.            CPU       "
        " 2.5000000  1.2500000  0.5000000  0.5000000 \n" +
        kBlanks24 +
        "QUEUE "
        " 0.5000000  0.7500000 " +
        kEmptyPlain + " 0.5000000 \n" + kBlanks24 +
        "SERVER"
        " 2.0000000  0.5000000  0.5000000 " +
        kEmptyPlain + "\n" +
        " 2.Stan.      Terminale       "
        " 5.0000000  1.7500000 " +
        kEmptyPlain + " 0.3500000 \n";
    EXPECT_EQ(printed(-1, false), head + "\"Bez podziału na klasy\"\n" + columns + rows);
    EXPECT_EQ(printed(0, false), head + "Dla klasy \"Klienci\"\n" + columns + rows);
}

TEST_F(ResultsFile, MachineRecordsOfFifoAndIsStations) {
    fifoAndIs();
    auto records = [](const std::string& group) {
        const std::string cpu = group + "2#1>\"CPU\"\t";
        return cpu +
               "STATION\t"
               "    2.5000\t    1.2500\t    0.5000\t    0.5000\t\n" +
               cpu +
               "QUEUE\t"
               "    0.5000\t    0.7500\t" +
               kEmptyMachine + "    0.5000\t\n" + cpu +
               "SERVER\t"
               "    2.0000\t    0.5000\t    0.5000\t" +
               kEmptyMachine + "\n" + group +
               "3#2>\"Terminale\"\tIS\t"
               "    5.0000\t    1.7500\t" +
               kEmptyMachine + "    0.3500\t\n";
    };
    EXPECT_EQ(printed(-1, true), records("5#1>\"Bez podziału\"\t"));
    EXPECT_EQ(printed(0, true), records("7#2>\"Klienci\"\t"));
    // The fixed texts leave in Windows-1250: ł is byte 0xB3.
    EXPECT_NE(outBytes().find("5#1>\"Bez podzia\xB3u\"\t"), std::string::npos);
}

TEST_F(ResultsFile, CellsAreCutNotRoundedAndNonPositiveValuesPrintAsZero) {
    addClass("Zgloszenia", 0);
    context_.stations = {&station("PS1", SchedulingKind::Ps)};
    context_.SR = {1};
    ASSERT_TRUE(results_.init(net_, context_));
    setRow(-1, 0, 0, 1234.56789, -3.0, std::nan(""), 123456.5);
    const std::string plain = printed(-1, false);
    EXPECT_EQ(plain.substr(plain.find(" 1.Stan.")),
              " 1.Stan.            PS1        1234.5678  0.0000000  0.0000000  123456.50 \n");
    EXPECT_EQ(printed(-1, true),
              "5#1>\"Bez podziału\"\t3#1>\"PS1\"\tPS\t"
              " 1234.5679\t    0.0000\t    0.0000\t123456.500\t\n");
    // An open class is kind 6.
    EXPECT_EQ(printed(0, true).substr(0, 17), "6#2>\"Zgloszenia\"\t");
}

TEST_F(ResultsFile, IntegerDigitsThatDoNotFitTakeTheExponentFormOfTheSameWidth) {
    addClass("K", 1);
    context_.stations = {&station("PS1", SchedulingKind::Ps)};
    context_.SR = {1};
    ASSERT_TRUE(results_.init(net_, context_));
    // Nine integer digits still fit the plain cell and ten the machine cell:
    // only decimals are cut. One more and the exponent form takes over.
    // 9999999171.3 would show as " 999999917" in the plain report.
    setRow(-1, 0, 0, 123456789.5, 9999999171.3, 1234567890.25, 1e300);
    const std::string plain = printed(-1, false);
    EXPECT_EQ(plain.substr(plain.find(" 1.Stan.")),
              " 1.Stan.            PS1        123456789  1.000e+10  1.235e+09  1.00e+300 \n");
    EXPECT_EQ(printed(-1, true),
              "5#1>\"Bez podziału\"\t3#1>\"PS1\"\tPS\t"
              "123456789.\t9999999171\t1234567890\t1.000e+300\t\n");
}

TEST_F(ResultsFile, ServerRowTakesTheStationValueWhereTheQueueHasNone) {
    addClass("K", 1);
    context_.stations = {&station("F", SchedulingKind::LifoPr)};
    context_.SR = {1};
    ASSERT_TRUE(results_.init(net_, context_));
    setRow(-1, 0, 0, -2.0, 0.0, 0.8, 1.0);
    setRow(-1, 0, 1, -1.0, -1.0, -1.0, 1.0);
    const std::string text = printed(-1, true);
    const std::string server = text.substr(text.rfind("SERVER\t") + 7);
    // time: a <= 0 prints 0; number: a = 0, b = -1 prints 0; utilisation: b
    // does not apply, a is shown; throughput: equal, empty.
    EXPECT_EQ(server, "    0.0000\t    0.0000\t    0.8000\t" + kEmptyMachine + "\n");
}

TEST_F(ResultsFile, ClassBlockSkipsUnvisitedStationsAndPlainCounterHasNoGap) {
    addClass("A", 1);
    addClass("B", 1);
    context_.stations = {&station("S1", SchedulingKind::Is), &station("S2", SchedulingKind::Is),
                         &station("S3", SchedulingKind::Is)};
    context_.SR = {1, 1, 1, 0, 1, 1};  // class B does not visit S2
    ASSERT_TRUE(results_.init(net_, context_));
    const std::string plain = printed(1, false);
    EXPECT_NE(plain.find(" 1.Stan.             S1"), std::string::npos);
    EXPECT_NE(plain.find(" 2.Stan.             S3"), std::string::npos);
    EXPECT_EQ(plain.find("S2"), std::string::npos);
    const std::string machine = printed(1, true);
    EXPECT_EQ(occurrences(machine, "\n"), 2);
    EXPECT_NE(machine.find("7#3>\"B\"\t3#3>\"S3\"\tIS\t"), std::string::npos);
    EXPECT_EQ(occurrences(printed(-1, true), "\n"), 3) << "all classes show every station";
}

TEST_F(ResultsFile, UninitialisedModuleAndBadClassIndexAreErrors) {
    EXPECT_FALSE(results_.print(-1, false, reporter_));
    addClass("K", 1);
    context_.stations = {&station("S", SchedulingKind::Is)};
    context_.SR = {1};
    ASSERT_TRUE(results_.init(net_, context_));
    EXPECT_FALSE(results_.print(1, false, reporter_));
    EXPECT_FALSE(results_.print(-2, true, reporter_));
    EXPECT_TRUE(endsRun([&] { reporter_.flush(Target::Out); }));
    EXPECT_EQ(out(),
              "\nBŁĄD:         Nie zainicjalizowano modulu prezentacyjnego\n"
              "BŁĄD:         Modul prezentacyjny - podany zly numer klasy\n"
              "BŁĄD:         Modul prezentacyjny - podany zly numer klasy\n");
}

TEST_F(ResultsFile, CellAddressesOutsideTheTablesAreRefused) {
    addClass("K", 1);
    context_.stations = {&station("S", SchedulingKind::Fifo)};
    context_.SR = {1};
    ASSERT_TRUE(results_.init(net_, context_));
    EXPECT_TRUE(results_.setTime(0, 0, 1, 4.0));
    EXPECT_EQ(results_.time(0, 0, 1), 4.0);
    EXPECT_FALSE(results_.setTime(1, 0, 0, 1.0));
    EXPECT_FALSE(results_.setNumber(-2, 0, 0, 1.0));
    EXPECT_FALSE(results_.setUtilisation(0, 1, 0, 1.0));
    EXPECT_FALSE(results_.setThroughput(0, 0, 2, 1.0));
    EXPECT_EQ(results_.throughput(0, 0, 2), 0.0);
    EXPECT_EQ(results_.time(-1, 0, 1), 0.0) << "a different cell from (0, 0, 1)";
}

}  // namespace
}  // namespace kolt::testing

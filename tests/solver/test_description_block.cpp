// The description items: service values, disciplines, class lists and
// routing, with the model they build and every message they give.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "solver/model/station.h"
#include "test_language_support.h"

namespace kolt {
namespace {

using testing::errorAt;
using testing::ParseOutcome;
using testing::parseText;
using testing::warningAt;
using Lines = std::vector<std::string>;

// Classes A and B, station S1 and the exit OUT; the descriptions begin on line 9.
ParseOutcome withStation(const std::string& descriptions) {
    return parseText(
        testing::networkFile("/CLASS/ NAME=A[]\n/CLASS/ NAME=B[]\n/STATION/ NAME=S1\n/OUT/ NAME=OUT\n", descriptions));
}

// Classes A and B, source Z, station S1 and the exit OUT; the description of
// Z begins on line 10 and S1 is described after it.
ParseOutcome withSource(const std::string& sourceDescription) {
    return parseText(
        testing::networkFile("/CLASS/ NAME=A[]\n/CLASS/ NAME=B[]\n/SOURCE/ NAME=Z\n/STATION/ NAME=S1\n/OUT/ NAME=OUT\n",
                             sourceDescription + "/STATION/ NAME=S1 SERVICE=EXP[1] TRANSIT=OUT;\n"));
}

Station& station(const ParseOutcome& run, const std::string& name) {
    auto* found = dynamic_cast<Station*>(run.network->findObject(name));
    if (!found) throw std::runtime_error("no station " + name);
    return *found;
}

const ServiceDistribution* service(const ParseOutcome& run, const std::string& name, int classIndex) {
    return station(run, name).serviceTable().at(classIndex);
}

const std::vector<Transition>& routes(const ParseOutcome& run, const std::string& name, int classIndex) {
    static const std::vector<Transition> none;
    const auto* list = station(run, name).routing()->transitions(classIndex);
    return list ? *list : none;
}

TEST(DescriptionBlock, StationParametersApplyToEveryClassAndDefaultToFifo) {
    auto run = withStation("/STATION/ NAME=S1\nSERVICE=EXP[1]\nTRANSIT=OUT;\n");
    EXPECT_TRUE(run.messages.empty());
    ASSERT_TRUE(run.network);
    EXPECT_EQ(station(run, "S1").discipline()->kind(), SchedulingKind::Fifo);
    NetObject* exit = run.network->findObject("OUT");
    for (int r = 0; r < 2; ++r) {
        ASSERT_TRUE(service(run, "S1", r));
        EXPECT_EQ(service(run, "S1", r)->kind(), DistributionKind::Exp);
        ASSERT_EQ(routes(run, "S1", r).size(), 1u);
        EXPECT_EQ(routes(run, "S1", r)[0].target, exit);
        EXPECT_EQ(routes(run, "S1", r)[0].probability, 1.0);
    }
}

TEST(DescriptionBlock, ClassListsSelectClasses) {
    auto run = withStation(
        "/STATION/ NAME=S1\nSCHEDULE=PS\nSERVICE(A)=EXP[1]\nSERVICE(B)=DET[2]\n"
        "TRANSIT(A)=OUT;\nTRANSIT(B)=[0.25]S1,[0.75]OUT;\n");
    EXPECT_TRUE(run.messages.empty());
    ASSERT_TRUE(run.network);
    EXPECT_EQ(station(run, "S1").discipline()->kind(), SchedulingKind::Ps);
    EXPECT_EQ(service(run, "S1", 0)->kind(), DistributionKind::Exp);
    EXPECT_EQ(service(run, "S1", 1)->kind(), DistributionKind::Det);
    EXPECT_EQ(service(run, "S1", 1)->mean(), 2.0);
    EXPECT_EQ(routes(run, "S1", 0).size(), 1u);
    ASSERT_EQ(routes(run, "S1", 1).size(), 2u);
    EXPECT_EQ(routes(run, "S1", 1)[0].probability, 0.25);
}

TEST(DescriptionBlock, SurplusValuesAreWarnedAndIgnored) {
    auto run = withStation("/STATION/ NAME=S1\nSERVICE(A)=EXP[1,2]\nSERVICE(B)=DET[1,2,3]\nTRANSIT=OUT;\n");
    const std::string one = "Definiowany rozkład ma tylko jeden parametr, pozostałe zostaną zignorowane";
    const std::string two = "Definiowany rozkład ma tylko dwa parametry, pozostałe zostaną zignorowane";
    EXPECT_EQ(run.messages,
              (Lines{warningAt(10, 17, one), warningAt(11, 17, one), warningAt(11, 19, one), warningAt(11, 19, two)}));
    ASSERT_TRUE(run.network);
    EXPECT_EQ(service(run, "S1", 0)->mean(), 1.0);
    EXPECT_EQ(service(run, "S1", 1)->mean(), 1.0);
}

TEST(DescriptionBlock, PairListsAndTheirGroups) {
    auto cox = withStation("/STATION/ NAME=S1\nSERVICE=COX[1,1,1,1]\nTRANSIT=OUT;\n");
    EXPECT_TRUE(cox.messages.empty());
    ASSERT_TRUE(cox.network);
    EXPECT_EQ(service(cox, "S1", 1)->kind(), DistributionKind::Cox);
    EXPECT_EQ(service(cox, "S1", 1)->mean(), 2.0);

    auto incomplete = withStation("/STATION/ NAME=S1\nSERVICE=COX[0.5,1,1,2,0.3]\nTRANSIT=OUT;\n");
    EXPECT_EQ(incomplete.endStatus, 50);
    EXPECT_EQ(incomplete.messages, Lines{errorAt(10, 26, "Za mało parametrów rozkładu.")});

    auto probability = withStation("/STATION/ NAME=S1\nSERVICE=COX[1.5,1]\nTRANSIT=OUT;\n");
    EXPECT_EQ(
        probability.messages,
        Lines{errorAt(10, 16, "Podana liczba jest wartością prawdopodobieństwa i musi mieścić się w zakresie <0:1>")});
}

TEST(DescriptionBlock, KindsOfTheOtherDistributions) {
    auto run = withStation("/STATION/ NAME=S1\nSERVICE(A)=ERL[2.5,1]\nSERVICE(B)=HIST[2,1,2,1]\nTRANSIT=OUT;\n");
    EXPECT_EQ(run.messages,
              Lines{warningAt(10, 19, "Wymagana liczba naturalna. Wartość po przecinku zostanie zignorowana")});
    ASSERT_TRUE(run.network);
    const auto* erlang = dynamic_cast<const ErlDistribution*>(service(run, "S1", 0));
    ASSERT_TRUE(erlang);
    EXPECT_EQ(erlang->phases(), 2);
    // Equal bounds are a point mass, not a decreasing bound.
    const auto* histogram = dynamic_cast<const HistDistribution*>(service(run, "S1", 1));
    ASSERT_TRUE(histogram);
    EXPECT_EQ(histogram->count(), 2);

    auto more = withStation("/STATION/ NAME=S1\nSERVICE(A)=UNI[1,3]\nSERVICE(B)=G[2,0.5]\nTRANSIT=OUT;\n");
    EXPECT_TRUE(more.messages.empty());
    ASSERT_TRUE(more.network);
    EXPECT_EQ(service(more, "S1", 0)->kind(), DistributionKind::Uni);
    EXPECT_EQ(service(more, "S1", 0)->mean(), 2.0);
    EXPECT_EQ(service(more, "S1", 1)->kind(), DistributionKind::Gen);
    EXPECT_EQ(service(more, "S1", 1)->variation(), 0.5);
}

TEST(DescriptionBlock, NegativeAndInconsistentTimesAreRefused) {
    auto run = withStation(
        "/STATION/ NAME=S1\n"
        "SERVICE(A)=DET[-1]\n"        // 10
        "SERVICE(A)=EXP[-1]\n"        // 11
        "SERVICE(A)=ERL[2,-1]\n"      // 12
        "SERVICE(A)=ERL[0.5,1]\n"     // 13
        "SERVICE(A)=COX[1,-2]\n"      // 14
        "SERVICE(A)=HIP[1,-2]\n"      // 15
        "SERVICE(A)=G[-1,1]\n"        // 16
        "SERVICE(A)=G[1,-1]\n"        // 17
        "SERVICE(A)=HIST[-1,1]\n"     // 18
        "SERVICE(A)=HIST[1,-1]\n"     // 19
        "SERVICE(A)=HIST[2,1,1,1]\n"  // 20
        "SERVICE(A)=UNI[3,2]\n"       // 21
        "SERVICE(A)=UNI[-1,2]\n"      // 22
        "SERVICE(A)=UNI[0,2]\n"       // 23
        "TRANSIT=OUT;\n");
    EXPECT_EQ(run.endStatus, 50);
    const std::string negative = "Czas nie może być liczbą ujemną";
    EXPECT_EQ(run.messages,
              (Lines{
                  errorAt(10, 18, negative),
                  errorAt(11, 18, negative),
                  errorAt(12, 20, negative),
                  warningAt(13, 19, "Wymagana liczba naturalna. Wartość po przecinku zostanie zignorowana"),
                  errorAt(13, 19, "Nieprawidłowa liczba faz rozkładu Erlanga"),
                  errorAt(14, 20, negative),
                  errorAt(15, 20, negative),
                  errorAt(16, 16, negative),
                  errorAt(17, 18, "Współczynnik zmienności nie może być liczbą ujemną"),
                  errorAt(18, 19, negative),
                  errorAt(19, 21, "Waga przedziału histogramu nie może być liczbą ujemną"),
                  errorAt(20, 22, "Granice przedziałów histogramu nie mogą maleć"),
                  errorAt(21, 19, "Dolna granica rozkładu równomiernego większa od górnej"),
                  errorAt(22, 18, negative),
                  errorAt(23, 17, "Wartość liczby nie może być równa 0"),
              }));
}

TEST(DescriptionBlock, HistogramBoundsMayNotDecreaseAcrossParameters) {
    auto run = withStation("/STATION/ NAME=S1\nSERVICE(A)=HIST[2,1]\nSERVICE(A)=HIST[1,1]\nTRANSIT=OUT;\n");
    EXPECT_EQ(run.messages, Lines{errorAt(11, 18, "Granice przedziałów histogramu nie mogą maleć")});
}

TEST(DescriptionBlock, RoutingProbabilities) {
    auto half = withStation("/STATION/ NAME=S1\nSERVICE=EXP[1]\nTRANSIT=[0.5]OUT,[0.5]S1;\n");
    EXPECT_TRUE(half.messages.empty());

    auto short_ = withStation("/STATION/ NAME=S1\nSERVICE=EXP[1]\nTRANSIT=[0.5]OUT,[0.4]S1;\n");
    EXPECT_EQ(short_.messages, Lines{errorAt(11, 25, "Suma prawdopodobieństw różna od 1")});

    auto zero = withStation("/STATION/ NAME=S1\nSERVICE=EXP[1]\nTRANSIT=[0]OUT;\n");
    EXPECT_EQ(zero.messages, Lines{errorAt(11, 11, "Wartość liczby nie może być równa 0")});

    auto above = withStation("/STATION/ NAME=S1\nSERVICE=EXP[1]\nTRANSIT=[1.2]OUT;\n");
    EXPECT_EQ(
        above.messages,
        (Lines{errorAt(11, 13, "Podana liczba jest wartością prawdopodobieństwa i musi mieścić się w zakresie (0:1>"),
               errorAt(11, 17, "Suma prawdopodobieństw różna od 1")}));
}

TEST(DescriptionBlock, RoutingSumIsExactInTheOrderGiven) {
    // Two stations more to route to.
    auto run = [](const std::string& transit) {
        return parseText(testing::networkFile(
            "/CLASS/ NAME=A[]\n/STATION/ NAME=S1\n/STATION/ NAME=S2\n/STATION/ NAME=S3\n/OUT/ NAME=OUT\n",
            "/STATION/ NAME=S1 SERVICE=EXP[1] TRANSIT=" + transit +
                "\n"
                "/STATION/ NAME=S2 SERVICE=EXP[1] TRANSIT=OUT;\n/STATION/ NAME=S3 SERVICE=EXP[1] TRANSIT=OUT;\n"));
    };
    // 0.1 + 0.2 + 0.7 comes out at exactly 1 in double precision.
    EXPECT_TRUE(run("[0.1]S2,[0.2]S3,[0.7]OUT;").messages.empty());
    // 0.7 + 0.2 + 0.1 comes out at 0.9999999999999999.
    EXPECT_EQ(run("[0.7]OUT,[0.2]S3,[0.1]S2;").messages, Lines{errorAt(10, 66, "Suma prawdopodobieństw różna od 1")});
}

TEST(DescriptionBlock, RoutingToItself) {
    auto certain = withStation("/STATION/ NAME=S1\nSERVICE=EXP[1]\nTRANSIT=S1;\n");
    EXPECT_EQ(certain.messages, Lines{warningAt(11, 11, "Rekurencyjna tranzycja obiektu z prawdopodobieństem 1!")});
    EXPECT_FALSE(certain.endStatus);

    // A refused probability is not taken for a certain return.
    auto refused = withStation("/STATION/ NAME=S1\nSERVICE=EXP[1]\nTRANSIT=[0]S1;\n");
    EXPECT_EQ(refused.messages, Lines{errorAt(11, 11, "Wartość liczby nie może być równa 0")});
}

TEST(DescriptionBlock, EndOfTheTargetList) {
    auto unclosed = withStation("/STATION/ NAME=S1\nSERVICE=EXP[1]\nTRANSIT=OUT\n");
    EXPECT_EQ(unclosed.messages, Lines{warningAt(12, 0, "Oczekiwano: ',' lub ';' lub ':'")});
    ASSERT_TRUE(unclosed.network);
    EXPECT_EQ(routes(unclosed, "S1", 0).size(), 1u);

    // The comma promises a target the next block marker does not give; its
    // implied probability 1 spoils the sum.
    auto dangling = withStation("/STATION/ NAME=S1\nSERVICE=EXP[1]\nTRANSIT=OUT,\n");
    EXPECT_EQ(dangling.messages,
              (Lines{errorAt(11, 12, "Nieoczekiwany znak '*'"), errorAt(11, 12, "Suma prawdopodobieństw różna od 1")}));
}

TEST(DescriptionBlock, StationParameterErrors) {
    auto discipline = withStation("/STATION/ NAME=S1\nSCHEDULE=FCFS\nSERVICE=EXP[1]\nTRANSIT=OUT;\n");
    EXPECT_EQ(discipline.endStatus, 50);
    EXPECT_EQ(discipline.messages, Lines{errorAt(11, 0, "Nieprawidłowa nazwa regulaminu szeregowania")});

    auto unknownClass = withStation("/STATION/ NAME=S1\nSERVICE(C)=EXP[1]\nSERVICE=EXP[1]\nTRANSIT=OUT;\n");
    EXPECT_EQ(unknownClass.messages,
              Lines{errorAt(10, 10, "Klasa o podanej nazwie nie została wcześniej zadeklarowana")});

    auto targetClass = withStation("/STATION/ NAME=S1\nSERVICE=EXP[1]\nTRANSIT=OUT:A;\n");
    EXPECT_EQ(targetClass.messages,
              Lines{errorAt(
                  11, 14, "Jawne określenie klasy dla obiektu docelowego możliwe jest tylko w obiektach typu SOURCE")});

    // A refused parameter's value is not skipped: it is read as the next
    // parameter keyword.
    auto refused = withStation("/STATION/ NAME=S1\nSERVICE=EXP[1]\nTRANSIT=OUT;\nCOPY=1 SCHEDULE=IS\n");
    EXPECT_EQ(refused.messages, (Lines{
                                    errorAt(12, 5, "Niedozwolony parametr"),
                                    warningAt(12, 7, "Oczekiwano: '=' lub '('"),
                                    errorAt(12, 7, "Nieznany identyfikator obiektu"),
                                    warningAt(12, 7, "Analiza będzie kontynuowana od następnego obiektu lub bloku"),
                                }));

    auto distribution = withStation("/STATION/ NAME=S1\nSERVICE=PARETO[1] TRANSIT=OUT;\n");
    EXPECT_EQ(distribution.messages,
              (Lines{
                  errorAt(10, 15, "Nieprawidłowa nazwa rozkładu"),
                  warningAt(10, 18, "Oczekiwano: '=' lub '('"),
                  errorAt(10, 18, "Nieznany identyfikator obiektu"),
                  warningAt(10, 18, "Analiza będzie kontynuowana od następnego obiektu lub bloku"),
                  errorAt(10, 18, "Brak definicji tranzycji w STATION"),
              }));
}

TEST(DescriptionBlock, ClassListOnAParameterWithoutClasses) {
    auto run = withStation("/STATION/ NAME=S1\nSCHEDULE(A)=PS\nSERVICE=EXP[1]\nTRANSIT=OUT;\n");
    EXPECT_EQ(run.messages, (Lines{errorAt(10, 9, "Dla danego parametru nie moze byc definiowana klasa"),
                                   errorAt(11, 0, "Nieprawidłowa nazwa regulaminu szeregowania")}));
}

TEST(DescriptionBlock, MissingParametersOfAStation) {
    auto run = withStation("/STATION/ NAME=S1\nSCHEDULE=IS\n");
    EXPECT_EQ(run.messages,
              (Lines{errorAt(11, 0, "Brak rozkladu w STATION"), errorAt(11, 0, "Brak definicji tranzycji w STATION")}));
}

TEST(DescriptionBlock, SourceServesEveryClassAndNamesTargetClasses) {
    auto run = withSource("/SOURCE/ NAME=Z\nSERVICE=EXP[2]\nTRANSIT=[0.5]S1:A,[0.5]OUT:B;\n");
    EXPECT_TRUE(run.messages.empty());
    ASSERT_TRUE(run.network);
    EXPECT_EQ(station(run, "Z").type(), kSourceType);
    for (int r = 0; r < 2; ++r) EXPECT_EQ(service(run, "Z", r)->mean(), 2.0);
    ASSERT_EQ(routes(run, "Z", 0).size(), 1u);
    EXPECT_EQ(routes(run, "Z", 0)[0].target, run.network->findObject("S1"));
    ASSERT_EQ(routes(run, "Z", 1).size(), 1u);
    EXPECT_EQ(routes(run, "Z", 1)[0].target, run.network->findObject("OUT"));
}

TEST(DescriptionBlock, SourceParameterErrors) {
    auto classList = withSource("/SOURCE/ NAME=Z\nSERVICE(A)=EXP[1]\n");
    EXPECT_EQ(classList.messages,
              (Lines{errorAt(11, 11, "Nieznany identyfikator parametru"),
                     warningAt(11, 11, "Analiza będzie kontynuowana od następnego obiektu lub bloku"),
                     errorAt(11, 11, "Brak definicji tranzycji w SOURCE"), errorAt(11, 11, "Brak rozkładu w SOURCE")}));

    auto twice = withSource("/SOURCE/ NAME=Z\nSERVICE=EXP[1]\nSERVICE=EXP[2]\nTRANSIT=S1;\n");
    EXPECT_EQ(twice.messages,
              Lines{errorAt(12, 8, "W definicji obiektu SOURCE każdy użyty parametr może wystąpić tylko jeden raz")});

    auto toSource = withSource("/SOURCE/ NAME=Z\nSERVICE=EXP[1]\nTRANSIT=Z;\n");
    EXPECT_EQ(toSource.messages, (Lines{warningAt(12, 10, "Rekurencyjna tranzycja obiektu z prawdopodobieństem 1!"),
                                        errorAt(12, 10, "Niedozwolona tranzycja do obiektu typu SOURCE")}));
}

TEST(DescriptionBlock, ObjectsOfAnotherTypeOrUndeclared) {
    auto wrongType =
        withStation("/STATION/ NAME=OUT\nSERVICE=EXP[1]\nTRANSIT=S1;\n/STATION/ NAME=S1 SERVICE=EXP[1] TRANSIT=OUT;\n");
    EXPECT_EQ(wrongType.messages, Lines{errorAt(10, 0, "Podana nazwa została już użyta dla obiektu innego typu")});
}

TEST(DescriptionBlock, OtherObjectItemsAreSkippedAndTheBlockGoesOn) {
    auto run = withStation("/CLASS/ NAME=C[]\n/STATION/ NAME=S1\nSERVICE=EXP[1]\nTRANSIT=OUT;\n");
    EXPECT_EQ(run.messages, (Lines{warningAt(9, 7, "Nieznany identyfikator obiektu"),
                                   warningAt(9, 7, "Analiza będzie kontynuowana od następnego obiektu lub bloku")}));
    ASSERT_TRUE(run.network);
    EXPECT_TRUE(service(run, "S1", 0));
}

}  // namespace
}  // namespace kolt

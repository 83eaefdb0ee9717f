// The file layout, the block loop, the declaration items and the checks at
// the end of the file.
#include <gtest/gtest.h>

#include <string>

#include "solver/model/station.h"
#include "test_language_support.h"

namespace kolt {
namespace {

using testing::errorAt;
using testing::parseText;
using testing::warningAt;
using Lines = std::vector<std::string>;

TEST(DeclarationBlock, OpenNetworkExampleParsesWithoutMessages) {
    const auto run = parseText(
        "SOUR Siec przykladowa ! komentarz po nazwie !\n"
        "*DECLARATION*\n"
        "\t/CLASS/ NAME=Zgloszenia[]\n"
        "\t/SOURCE/ NAME=Wejscie\n"
        "\t/STATION/ NAME=Obsluga\n"
        "\t/OUT/ NAME=OUT\n"
        "*END*\n"
        "! opis obiektow !\n"
        "*DESCRIPTION*\n"
        "\t/SOURCE/ NAME=Wejscie\n"
        "\t\tSERVICE=EXP[2]\n"
        "\t\tTRANSIT=Obsluga;\n"
        "\t/STATION/ NAME=Obsluga\n"
        "\t\tSERVICE=EXP[1]\n"
        "\t\tSCHEDULE=FIFO\n"
        "\t\tTRANSIT=[0.9]OUT,[0.1]Obsluga;\n"
        "*END*\n");
    EXPECT_EQ(run.errText, "Analiza syntaktyczna...\nOK\n");
    ASSERT_TRUE(run.network);
    const Network& net = *run.network;
    EXPECT_EQ(net.name(), "Siec przykladowa ");
    ASSERT_EQ(net.numberOfClasses(), 1);
    EXPECT_EQ(net.className(0), "Zgloszenia");
    EXPECT_EQ(net.customers(0), 0);

    ASSERT_EQ(net.registry().size(), 3u);
    auto* source = dynamic_cast<Station*>(net.registry()[0]);
    auto* station = dynamic_cast<Station*>(net.registry()[1]);
    ASSERT_TRUE(source && station);
    EXPECT_EQ(source->type(), kSourceType);
    EXPECT_EQ(station->type(), kStationType);
    EXPECT_EQ(net.registry()[2]->type(), kExitType);
    EXPECT_EQ(net.registry()[2]->name(), "OUT");

    ASSERT_TRUE(source->serviceTable().at(0));
    EXPECT_EQ(source->serviceTable().at(0)->kind(), DistributionKind::Exp);
    EXPECT_EQ(source->serviceTable().at(0)->mean(), 2.0);
    const auto* fromSource = source->routing()->transitions(0);
    ASSERT_TRUE(fromSource);
    ASSERT_EQ(fromSource->size(), 1u);
    EXPECT_EQ((*fromSource)[0].target, station);
    EXPECT_EQ((*fromSource)[0].probability, 1.0);

    ASSERT_TRUE(station->discipline());
    EXPECT_EQ(station->discipline()->kind(), SchedulingKind::Fifo);
    EXPECT_EQ(station->serviceTable().at(0)->mean(), 1.0);
    const auto* fromStation = station->routing()->transitions(0);
    ASSERT_TRUE(fromStation);
    ASSERT_EQ(fromStation->size(), 2u);
    EXPECT_EQ((*fromStation)[0].target, net.registry()[2]);
    EXPECT_EQ((*fromStation)[0].probability, 0.9);
    EXPECT_EQ((*fromStation)[1].target, station);
    EXPECT_EQ((*fromStation)[1].probability, 0.1);
}

TEST(DeclarationBlock, FirstLine) {
    auto bare = parseText("SOUR\n*DECLARATION*\n*END*\n");
    EXPECT_EQ(bare.messages, Lines{warningAt(2, 0, "Brak nazwy sieci")});
    ASSERT_TRUE(bare.network);
    EXPECT_EQ(bare.network->name(), "");

    auto blanks = parseText("SOUR  Moja siec  \n*DECLARATION*\n*END*\n");
    EXPECT_TRUE(blanks.messages.empty());
    ASSERT_TRUE(blanks.network);
    EXPECT_EQ(blanks.network->name(), "Moja siec  ");

    auto wrongWord = parseText("SOURCE Siec\n*DECLARATION*\n*END*\n");
    EXPECT_EQ(wrongWord.messages, Lines{warningAt(1, 7, "Nieznany identyfikator pliku z definicją sieci")});
    ASSERT_TRUE(wrongWord.network);
    EXPECT_EQ(wrongWord.network->name(), "Siec");
}

TEST(DeclarationBlock, FileWithoutBlocksFails) {
    auto run = parseText("SOUR Siec\n");
    EXPECT_EQ(run.endStatus, 50);
    EXPECT_EQ(run.messages, Lines{errorAt(2, 0, "W definicji sieci nie odnaleziono żadnego bloku")});

    auto empty = parseText("");
    EXPECT_EQ(empty.endStatus, 50);
}

TEST(DeclarationBlock, ClassesAndTheirCustomers) {
    auto run = parseText(
        "SOUR T\n*DECLARATION*\n"
        "/CLASS/ NAME=A[]\n"
        "/CLASS/ NAME=B\n"
        "/CLASS/ NAME=C[2.5]\n"
        "/CLASS/ NAME=D[ 7 ]\n"
        "/CLASS/ NAME=ABCDEFGHIJKLMNOPQRSTUVWXYZ[+1]\n"
        "*END*\n");
    EXPECT_EQ(run.messages, (Lines{
                                warningAt(5, 0, "Oczekiwano: '['"),
                                warningAt(7, 40, "Za długa nazwa klasy została skrócona do 20 znaków"),
                            }));
    ASSERT_TRUE(run.network);
    const Network& net = *run.network;
    ASSERT_EQ(net.numberOfClasses(), 5);
    EXPECT_EQ(net.className(1), "B");
    EXPECT_EQ(net.customers(0), 0);
    EXPECT_EQ(net.customers(1), 0);
    EXPECT_EQ(net.customers(2), 2);
    EXPECT_EQ(net.customers(3), 7);
    EXPECT_EQ(net.className(4), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(net.customers(4), 1);
}

TEST(DeclarationBlock, RefusedCustomerCounts) {
    auto run = parseText(
        "SOUR T\n*DECLARATION*\n"
        "/CLASS/ NAME=X[x]\n"
        "/CLASS/ NAME=Y[-3]\n"
        "/CLASS/ NAME=Z[3000000000]\n"
        "*END*\n");
    EXPECT_EQ(run.endStatus, 50);
    const std::string text = "Liczba klientów musi być liczbą naturalną";
    EXPECT_EQ(run.messages, (Lines{errorAt(3, 17, text), errorAt(4, 18, text), errorAt(5, 26, text)}));
}

TEST(DeclarationBlock, ClassNameErrors) {
    auto blank = parseText("SOUR T\n*DECLARATION*\n/CLASS/ NAME=Moja klasa[3]\n*END*\n");
    EXPECT_EQ(blank.endStatus, 50);
    EXPECT_EQ(blank.messages, Lines{errorAt(3, 24, "Nazwa klasy nie może zawierać znaków białych")});

    auto twice = parseText("SOUR T\n*DECLARATION*\n/CLASS/ NAME=A[]\n/CLASS/ NAME=A[]\n*END*\n");
    EXPECT_EQ(twice.endStatus, 50);
    EXPECT_EQ(twice.messages,
              (Lines{"BŁĄD:         Klasa o podanej nazwie już istnieje", errorAt(4, 15, "Błąd semantyczny")}));

    auto noName = parseText("SOUR T\n*DECLARATION*\n/CLASS/ NAZWA=A[]\n*END*\n");
    EXPECT_EQ(noName.messages,
              (Lines{errorAt(3, 14, "Oczekiwano NAME"),
                     warningAt(3, 14, "Analiza będzie kontynuowana od następnego obiektu lub bloku")}));
}

TEST(DeclarationBlock, TheThirtyThirdClassIsRefused) {
    std::string classes;
    for (int r = 0; r < 33; ++r) classes += "/CLASS/ NAME=K" + std::to_string(r) + "[1]\n";
    auto run = parseText("SOUR T\n*DECLARATION*\n" + classes + "*END*\n");
    EXPECT_EQ(run.endStatus, 50);
    EXPECT_EQ(run.messages, (Lines{"BŁĄD:         Za duża liczba klas", errorAt(35, 17, "Błąd semantyczny")}));
}

TEST(DeclarationBlock, ObjectNameWithBlankIsNotCreated) {
    auto run = parseText(
        "SOUR T\n*DECLARATION*\n"
        "/STATION/ NAME=Stan 1\n"
        "/OUT/ NAME=OUT\n"
        "*END*\n*DESCRIPTION*\n"
        "/STATION/ NAME=Stan\n"
        "SERVICE=EXP[1]\n"
        "TRANSIT=OUT;\n"
        "*END*\n");
    EXPECT_EQ(run.endStatus, 50);
    EXPECT_EQ(run.messages, (Lines{
                                warningAt(3, 20, "Nazwa obiektu nie może zawierać znaków białych"),
                                warningAt(3, 20, "Analiza będzie kontynuowana od następnego obiektu lub bloku"),
                                errorAt(8, 0, "Obiekt o podanej nazwie nie został wcześniej zadeklarowany"),
                                warningAt(8, 0, "Analiza będzie kontynuowana od następnego obiektu lub bloku"),
                            }));
}

TEST(DeclarationBlock, Exits) {
    auto last = parseText("SOUR T\n*DECLARATION*\n/OUT/ NAME=");
    EXPECT_EQ(last.messages, Lines{warningAt(3, 11, "Brak *END* kończącego blok opisu sieci")});
    ASSERT_TRUE(last.network);
    ASSERT_EQ(last.network->registry().size(), 1u);
    EXPECT_EQ(last.network->registry()[0]->type(), kExitType);
    EXPECT_EQ(last.network->registry()[0]->name(), "OUT");

    auto twice = parseText("SOUR T\n*DECLARATION*\n/OUT/ NAME=OUT\n/OUT/ NAME=X\n*END*\n");
    EXPECT_EQ(twice.messages, Lines{warningAt(5, 0, "Zignorowano powtórną definicję OUT")});
    ASSERT_TRUE(twice.network);
    ASSERT_EQ(twice.network->registry().size(), 1u);
    EXPECT_EQ(twice.network->registry()[0]->name(), "OUT");
}

TEST(DeclarationBlock, OtherObjectKeywordsAreSkipped) {
    auto run = parseText("SOUR T\n*DECLARATION*\n/FORK/ NAME=F\n/OUT/ NAME=OUT\n*END*\n");
    EXPECT_EQ(run.messages, (Lines{
                                warningAt(3, 6, "Nieznany identyfikator obiektu"),
                                warningAt(3, 6, "Analiza będzie kontynuowana od następnego obiektu lub bloku"),
                            }));
    ASSERT_TRUE(run.network);
    ASSERT_EQ(run.network->registry().size(), 1u);
    EXPECT_EQ(run.network->registry()[0]->type(), kExitType);
}

TEST(DeclarationBlock, BlockSequence) {
    // A second declaration block adds to the first, with or without *END*.
    auto two = parseText("SOUR T\n*DECLARATION*\n/CLASS/ NAME=A[]\n*DECLARATION*\n/OUT/ NAME=OUT\n*END*\n");
    EXPECT_TRUE(two.messages.empty());
    ASSERT_TRUE(two.network);
    EXPECT_EQ(two.network->numberOfClasses(), 1);
    EXPECT_EQ(two.network->registry().size(), 1u);

    auto unclosed = parseText("SOUR T\n*DECLARATION*\n/OUT/ NAME=OUT\n*DESCRIPTION*\n*END*\n");
    EXPECT_EQ(unclosed.messages, Lines{warningAt(4, 13, "Brak *END* kończącego blok deklaracji")});

    auto stray = parseText("SOUR T\n*END*\n");
    EXPECT_EQ(stray.messages, Lines{warningAt(2, 5, "Niespodziewane *END*")});
    EXPECT_FALSE(stray.endStatus);

    auto unknown = parseText("SOUR T\n*DEKLARACJA*\n/CLASS/ NAME=A[]\n*END*\n");
    EXPECT_EQ(unknown.endStatus, 50);
    EXPECT_EQ(unknown.messages,
              Lines{errorAt(2, 12, "Nieznany identyfikator bloku. Dalsza analiza zostaje wstrzymana")});
}

TEST(DeclarationBlock, EmptyBlocksDoNotSwallowTheBlocksAfterThem) {
    // The workbench's skeleton for a new document: both blocks hold only a
    // comment. The search for the first item stops at the next block marker.
    auto skeleton = parseText(
        "SOUR !Tutaj wstaw nazwę Twojej sieci!\n*DECLARATION*\n\t!Tutaj wstaw deklaracje klas i obiektów!\n"
        "*END*\n*DESCRIPTION*\n\t!Tutaj wstaw opisy obiektów!\n*END*");
    EXPECT_EQ(skeleton.messages, Lines{warningAt(1, 5, "Brak nazwy sieci")});
    ASSERT_TRUE(skeleton.network);
    EXPECT_TRUE(skeleton.network->registry().empty());

    // An empty declaration block: the station of the description block is
    // described, not declared.
    auto empty = parseText(
        "SOUR T\n*DECLARATION*\n*END*\n*DECLARATION*\n/STATION/ NAME=S\n/OUT/ NAME=OUT\n*END*\n"
        "*DESCRIPTION*\n/STATION/ NAME=S SERVICE=EXP[1] TRANSIT=OUT;\n*END*\n");
    EXPECT_TRUE(empty.messages.empty());
    ASSERT_TRUE(empty.network);
    EXPECT_EQ(empty.network->registry().size(), 2u);

    // Text before the first item is still skipped with a warning (placed at
    // the last token, the block keyword), up to the item or the next block.
    auto junk = parseText("SOUR T\n*DECLARATION* junk\n*END*\n");
    EXPECT_EQ(junk.messages,
              Lines{warningAt(2, 13, "Ignorowanie tekstu do wystąpienia następnego identyfikatora obiektu")});
}

TEST(DeclarationBlock, DescriptionBeforeDeclarationEndsTheRunAtOnce) {
    auto run = parseText("SOUR T\n*DESCRIPTION*\n/STATION/ NAME=S\nSERVICE=X[1]\n*END*\n");
    EXPECT_EQ(run.endStatus, 50);
    EXPECT_EQ(run.messages, Lines{errorAt(2, 13, "Brak bloku deklaracji!")});
    EXPECT_EQ(run.errText.find("OK"), std::string::npos);
}

TEST(DeclarationBlock, UndescribedObjectsAreCounted) {
    auto run = parseText(
        "SOUR T\n*DECLARATION*\n"
        "/CLASS/ NAME=A[1]\n"
        "/SOURCE/ NAME=Z\n"
        "/STATION/ NAME=S1\n"
        "/STATION/ NAME=S2\n"
        "*END*\n*DESCRIPTION*\n"
        "/STATION/ NAME=S1\n"
        "SERVICE=EXP[1]\n"
        "TRANSIT=S2;\n"
        "*END*\n");
    EXPECT_EQ(run.endStatus, 50);
    EXPECT_EQ(run.messages,
              (Lines{
                  errorAt(12, 5, "Liczba zadeklarowanych źródeł większa od liczby źródeł opisanych"),
                  errorAt(12, 5, "Liczba zadeklarowanych stanowisk większa od liczby stanowisk opisanych"),
              }));
}

}  // namespace
}  // namespace kolt

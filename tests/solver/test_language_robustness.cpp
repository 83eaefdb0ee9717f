// Malformed and oversized input through the whole syntax analysis: every
// prefix of a file, NUL bytes, random bytes and mutations, a 10 MB line,
// thousands of items, tokens at the 2000-character cut, unterminated
// comments. Each must end either with a network or with the run ended by
// status 50 after messages that say where and what is wrong; never with a
// crash, an out-of-bounds read (the sanitizer build runs these too) or a hang.
#include <gtest/gtest.h>

#include <random>
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

// A file with every item and parameter form, comments and class lists.
const std::string kEveryForm =
    "SOUR Siec ! z komentarzem !\n"
    "*DECLARATION*\n"
    "/CLASS/ NAME=A[]\n"
    "/CLASS/ NAME=B[3]\n"
    "/SOURCE/ NAME=Z\n"
    "/STATION/ NAME=S1\n"
    "/STATION/ NAME=S2\n"
    "/OUT/ NAME=OUT\n"
    "*END*\n"
    "*DESCRIPTION*\n"
    "/SOURCE/ NAME=Z SERVICE=HIP[0.5,1,0.5,3] TRANSIT=[0.5]S1:A,[0.5]S2:A;\n"
    "/STATION/ NAME=S1 SCHEDULE=PS SERVICE(A)=COX[1,1,0.5,2] SERVICE(B)=HIST[1,1,2,3]\n"
    "  TRANSIT(A)=[0.1]S1,[0.2]S2,[0.7]OUT; TRANSIT(B)=S2;\n"
    "/STATION/ NAME=S2 SCHEDULE=IS SERVICE(A,B)=ERL[2,1] TRANSIT(A)=OUT; TRANSIT(B)=S1;\n"
    "*END*\n";

// The outcome as one comparable text: the status and every message.
std::string summary(const ParseOutcome& run) {
    std::string text = run.endStatus ? "status " + std::to_string(*run.endStatus) : "built";
    for (const std::string& line : run.messages) text += "\n" + line;
    return text;
}

TEST(LanguageRobustness, TheFileWithEveryFormIsClean) {
    const auto run = parseText(kEveryForm);
    EXPECT_TRUE(run.messages.empty()) << summary(run);
    ASSERT_TRUE(run.network);
    EXPECT_EQ(run.network->registry().size(), 4u);
}

TEST(LanguageRobustness, EveryPrefixOfAFileEndsCleanly) {
    for (size_t length = 0; length <= kEveryForm.size(); ++length) {
        const auto run = parseText(kEveryForm.substr(0, length));
        // Either a network or the end of the run with status 50, nothing else.
        if (run.endStatus) {
            EXPECT_EQ(*run.endStatus, 50) << "prefix of " << length;
        } else {
            EXPECT_TRUE(run.network) << "prefix of " << length;
        }
    }
}

TEST(LanguageRobustness, NulByteEndsTheAnalysisAsTheEndOfTheFileDoes) {
    for (size_t at : {size_t{0}, size_t{5}, size_t{40}, size_t{130}, size_t{200}, kEveryForm.size() - 1}) {
        std::string withNul = kEveryForm;
        withNul.insert(at, 1, '\0');
        EXPECT_EQ(summary(parseText(withNul)), summary(parseText(kEveryForm.substr(0, at)))) << "NUL at " << at;
    }
}

// Random bytes, and the complete file with random bytes replaced, inserted
// or dropped, favouring the characters the scanner treats specially.
TEST(LanguageRobustness, RandomBytesAndMutationsEndCleanly) {
    std::mt19937 random(20240607);
    // Sized by hand: the NUL is one of the characters, not the end.
    static constexpr char kSpecial[] = "*/![](),;:=\n\t \0\xFF";
    const std::string special(kSpecial, sizeof kSpecial - 1);
    auto someByte = [&] {
        return random() % 2 ? special[random() % special.size()] : static_cast<char>(random() % 256);
    };
    for (int round = 0; round < 300; ++round) {
        std::string text;
        if (round % 3 == 0) {
            text.resize(random() % 3000);
            for (char& c : text) c = someByte();
        } else {
            text = kEveryForm;
            for (int edits = 1 + random() % 8; edits > 0 && !text.empty(); --edits) {
                const size_t at = random() % text.size();
                switch (random() % 3) {
                    case 0: text[at] = someByte(); break;
                    case 1: text.insert(at, 1, someByte()); break;
                    default: text.erase(at, 1); break;
                }
            }
        }
        const auto run = parseText(text);
        if (run.endStatus) {
            EXPECT_EQ(*run.endStatus, 50) << "round " << round;
        } else {
            EXPECT_TRUE(run.network) << "round " << round;
        }
    }
}

TEST(LanguageRobustness, UnterminatedCommentsSwallowTheRestOfTheFile) {
    // Inside the declarations: the block never ends and nothing is described.
    auto declarations = parseText("SOUR T\n*DECLARATION*\n/STATION/ NAME=S ! no end\n*END*\n");
    EXPECT_EQ(declarations.messages,
              (Lines{warningAt(3, 17, "Brak *END* kończącego blok opisu sieci"),
                     errorAt(3, 17, "Liczba zadeklarowanych stanowisk większa od liczby stanowisk opisanych")}));
    EXPECT_EQ(declarations.endStatus, 50);

    // Inside a value: the number is cut off where the comment begins.
    auto value = parseText(testing::networkFile("/CLASS/ NAME=A[]\n/STATION/ NAME=S\n/OUT/ NAME=OUT\n",
                                                "/STATION/ NAME=S SERVICE=EXP[1 ! TRANSIT=OUT;\n"));
    EXPECT_EQ(value.endStatus, 50);
    EXPECT_EQ(value.messages, (Lines{errorAt(8, 31, "Brak definicji tranzycji w STATION"),
                                     warningAt(8, 31, "Brak *END* kończącego blok opisu sieci")}));

    // On the first line: no name, no block.
    auto first = parseText("SOUR !Siec\n*DECLARATION*\n");
    EXPECT_EQ(first.endStatus, 50);
    EXPECT_EQ(first.messages.back(), errorAt(1, 5, "W definicji sieci nie odnaleziono żadnego bloku"));
}

// ---------------------------------------------------------------------------
// Size: long tokens, a 10 MB line, many items.

TEST(LanguageRobustness, NamesAtTheTokenCut) {
    // A name of exactly 2000 characters is whole; it stays whole in messages.
    const std::string name(2000, 'n');
    auto whole =
        parseText(testing::networkFile("/CLASS/ NAME=A[]\n/STATION/ NAME=" + name + "\n/OUT/ NAME=OUT\n",
                                       "/STATION/ NAME=" + name + " SERVICE=EXP[1] SERVICE=EXP[2] TRANSIT=OUT;\n"));
    EXPECT_EQ(whole.messages, Lines{"OSTRZEŻENIE:  Zignorowano powtorne ustalenie rozkladu czasu obslugi w stan. " +
                                    name + " dla klasy 0"});
    ASSERT_TRUE(whole.network);
    EXPECT_EQ(whole.network->registry()[0]->name(), name);

    // One character more: the cut leaves a rest after the name, which is
    // taken for a name with blanks; the station is not created.
    auto longer = parseText("SOUR T\n*DECLARATION*\n/STATION/ NAME=" + name + "xy\n*END*\n");
    EXPECT_EQ(longer.messages,
              (Lines{warningAt(3, 2016, "Nazwa obiektu nie może zawierać znaków białych"),
                     warningAt(3, 2016, "Analiza będzie kontynuowana od następnego obiektu lub bloku"),
                     errorAt(4, 5, "Liczba zadeklarowanych stanowisk większa od liczby stanowisk opisanych")}));
}

TEST(LanguageRobustness, LongNumbersAndKeywords) {
    // 2000 digits: a count beyond 32 bits, a time beyond the double range.
    auto digits = parseText(testing::networkFile("/CLASS/ NAME=A[" + std::string(2000, '9') + "]\n", ""));
    EXPECT_EQ(digits.messages, Lines{errorAt(3, 2016, "Liczba klientów musi być liczbą naturalną")});

    auto service =
        parseText(testing::networkFile("/CLASS/ NAME=A[]\n/STATION/ NAME=S\n/OUT/ NAME=OUT\n",
                                       "/STATION/ NAME=S SERVICE=EXP[" + std::string(2000, '9') + "] TRANSIT=OUT;\n"));
    EXPECT_EQ(service.messages, Lines{errorAt(8, 2030, "Liczba spoza dopuszczalnego zakresu")});

    auto keyword = parseText(testing::networkFile("/" + std::string(2500, 'K') + "/ NAME=X\n", ""));
    EXPECT_FALSE(keyword.endStatus);
    EXPECT_EQ(keyword.messages,
              (Lines{warningAt(3, 2002, "Oczekiwano: '/'"),
                     warningAt(3, 2002, "Ignorowanie tekstu do wystąpienia następnego identyfikatora obiektu"),
                     warningAt(3, 2002, "Nieznany identyfikator obiektu"),
                     warningAt(3, 2002, "Analiza będzie kontynuowana od następnego obiektu lub bloku")}));
}

TEST(LanguageRobustness, TenMegabyteLines) {
    const size_t size = 10 * 1024 * 1024;
    // As the network name: the name is cut at 2000 characters and the rest
    // of the line is skipped up to the first block.
    auto name = parseText("SOUR " + std::string(size, 'x') + "\n*DECLARATION*\n*END*\n");
    EXPECT_EQ(name.messages,
              Lines{warningAt(1, 2006, "Ignorowanie tekstu do wystąpienia następnego identyfikatora bloku")});
    ASSERT_TRUE(name.network);
    EXPECT_EQ(name.network->name().size(), 2000u);

    // A line of declarations.
    std::string items;
    while (items.size() < size) items += "/STATION/ NAME=S" + std::to_string(items.size()) + " ";
    auto declared = parseText("SOUR T\n*DECLARATION*\n" + items + "\n*END*\n");
    EXPECT_EQ(declared.endStatus, 50);  // none of them is described
    EXPECT_EQ(declared.messages,
              Lines{errorAt(4, 5, "Liczba zadeklarowanych stanowisk większa od liczby stanowisk opisanych")});

    // A histogram of a million bins for two classes, on one line.
    std::string classes = "/CLASS/ NAME=K0[]\n/CLASS/ NAME=K1[]\n";
    std::string bins;
    for (int i = 1; bins.size() < size; ++i) bins += std::to_string(i) + ",1,";
    bins += "1e9,1";
    auto histogram = parseText(testing::networkFile(classes + "/STATION/ NAME=S\n/OUT/ NAME=OUT\n",
                                                    "/STATION/ NAME=S SERVICE=HIST[" + bins + "] TRANSIT=OUT;\n"));
    EXPECT_TRUE(histogram.messages.empty());
    ASSERT_TRUE(histogram.network);
    const auto& station = dynamic_cast<const Station&>(*histogram.network->findObject("S"));
    const auto* lastClass = dynamic_cast<const HistDistribution*>(station.serviceTable().at(1));
    ASSERT_TRUE(lastClass);
    EXPECT_GT(lastClass->count(), 1000000);
    EXPECT_GT(lastClass->mean(), 0);
}

TEST(LanguageRobustness, ThousandsOfItems) {
    // 5000 stations in a chain, each to the next, the last to the exit; one
    // long routing list at the first station besides.
    const int count = 5000;
    std::string declarations = "/CLASS/ NAME=A[]\n/CLASS/ NAME=B[]\n";
    std::string descriptions;
    std::string fanOut;
    for (int i = 0; i < count; ++i) {
        const std::string name = "S" + std::to_string(i);
        const std::string next = i + 1 < count ? "S" + std::to_string(i + 1) : "OUT";
        declarations += "/STATION/ NAME=" + name + "\n";
        if (i > 0) descriptions += "/STATION/ NAME=" + name + " SERVICE=EXP[1] TRANSIT=" + next + ";\n";
        fanOut += (i ? ",[0.5]" : "[0.5]") + name;
    }
    declarations += "/OUT/ NAME=OUT\n";
    descriptions = "/STATION/ NAME=S0 SERVICE=EXP[1] TRANSIT(A)=S1; TRANSIT(B)=" + fanOut + ";\n" + descriptions;
    auto run = parseText(testing::networkFile(declarations, descriptions));
    // Only the fan-out's sum is wrong, found at the ';' that ends its line,
    // the first of the descriptions.
    const int endOfFanOut = static_cast<int>(descriptions.find('\n'));
    EXPECT_EQ(run.messages, Lines{errorAt(count + 8, endOfFanOut, "Suma prawdopodobieństw różna od 1")});
}

TEST(LanguageRobustness, ThousandsOfItemsBuildTheirModel) {
    const int count = 3000;
    std::string declarations = "/CLASS/ NAME=A[1]\n";
    std::string descriptions;
    for (int i = 0; i < count; ++i) {
        const std::string name = "S" + std::to_string(i);
        declarations += "/STATION/ NAME=" + name + "\n";
        descriptions +=
            "/STATION/ NAME=" + name + " SERVICE=EXP[1] TRANSIT=S" + std::to_string((i + 1) % count) + ";\n";
    }
    auto run = parseText(testing::networkFile(declarations, descriptions));
    EXPECT_TRUE(run.messages.empty());
    ASSERT_TRUE(run.network);
    ASSERT_EQ(run.network->registry().size(), static_cast<size_t>(count));
    EXPECT_EQ(run.network->registry()[count - 1]->name(), "S" + std::to_string(count - 1));
    const auto* last = run.network->registry()[count - 1]->routing()->transitions(0);
    ASSERT_TRUE(last);
    EXPECT_EQ((*last)[0].target, run.network->registry()[0]);
}

}  // namespace
}  // namespace kolt

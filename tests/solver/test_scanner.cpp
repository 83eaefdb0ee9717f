// The scanner: comments, line and column counting, token requests, recovery
// and numbers.
#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

#include "solver/language/scanner.h"
#include "test_language_support.h"

namespace kolt {
namespace {

using testing::CapturedConsole;
using testing::errorAt;
using testing::warningAt;

class ScannerTest : public ::testing::Test {
  protected:
    Scanner& scan(std::string text) {
        scanner_.emplace(console_.reporter(), std::move(text));
        return *scanner_;
    }
    std::string plainWord() {
        scanner_->readToken(kNone, kNone, kBlanks);
        return scanner_->token();
    }
    // The position the scanner gives its next message, as "(line,column)".
    std::string tokenPosition() {
        scanner_->reportAt(Level::Info, "x");
        const auto lines = console_.flushedLines();
        return lines.back().substr(0, lines.back().size() - 2);
    }
    std::vector<std::string> messages() { return console_.flushedLines(); }

    CapturedConsole console_;
    std::optional<Scanner> scanner_;
};

TEST_F(ScannerTest, CommentsAreRemovedEvenInsideWords) {
    scan("AB!note!CD EF");
    EXPECT_EQ(plainWord(), "ABCD");
    EXPECT_EQ(plainWord(), "EF");

    // A comment that opens the text is removed (its characters still count
    // for the columns); the word right after it is the first token.
    scan("!opening comment!WORD");
    EXPECT_EQ(plainWord(), "WORD");
    EXPECT_EQ(tokenPosition(), "(1,21)");

    // A token request skips no leading blanks: a blank after the comment ends
    // an empty first word, and the word after it comes with the next request.
    scan("!opening comment! WORD");
    EXPECT_EQ(plainWord(), "");
    EXPECT_EQ(plainWord(), "WORD");

    scan("A !never closed B C");
    EXPECT_EQ(plainWord(), "A");
    EXPECT_TRUE(scanner_->atEnd());
    EXPECT_EQ(plainWord(), "");
}

TEST_F(ScannerTest, CharacterAfterClosingCommentMarkIsTakenAsItIs) {
    // The '!' right after "!a!" is an ordinary character; the one after b
    // opens a comment that swallows the rest.
    scan("X !a!!b! Y");
    EXPECT_EQ(plainWord(), "X");
    EXPECT_EQ(plainWord(), "!b");
    EXPECT_TRUE(scanner_->atEnd());
}

TEST_F(ScannerTest, LinesInsideCommentsAreCounted) {
    scan("A !one\ntwo\nthree\n! B");
    plainWord();
    EXPECT_EQ(plainWord(), "B");
    EXPECT_EQ(scanner_->line(), 3);
    EXPECT_EQ(tokenPosition(), "(4,3)");
}

TEST_F(ScannerTest, TokenPositionIsTheCharacterThatEndedIt) {
    scan("XYZ=1");
    scanner_->readToken(kNone, "=", kBlanks);
    EXPECT_EQ(scanner_->token(), "XYZ");
    EXPECT_EQ(tokenPosition(), "(1,4)");

    // A token ended by a line end is placed at column 0 of the next line.
    scan("ABC\nDEF");
    EXPECT_EQ(plainWord(), "ABC");
    EXPECT_EQ(tokenPosition(), "(2,0)");
    EXPECT_EQ(plainWord(), "DEF");
    EXPECT_EQ(tokenPosition(), "(2,3)");
}

TEST_F(ScannerTest, LongWordIsCutAndItsRestReadNext) {
    scan(std::string(2500, 'a') + " b");
    EXPECT_EQ(plainWord(), std::string(2000, 'a'));
    EXPECT_EQ(plainWord(), std::string(500, 'a'));
    EXPECT_EQ(plainWord(), "b");
}

TEST_F(ScannerTest, NulByteEndsTheText) {
    scan(std::string("AB\0CD EF", 8));
    EXPECT_EQ(plainWord(), "AB");
    EXPECT_TRUE(scanner_->atEnd());
}

TEST_F(ScannerTest, MissingTerminatorIsWarnedAndNotConsumed) {
    scan("SERVICE EXP");
    EXPECT_EQ(scanner_->readToken(kNone, "=(", kBlanks), 0);
    EXPECT_EQ(scanner_->token(), "SERVICE");
    EXPECT_EQ(scanner_->current(), 'E');
    EXPECT_EQ(messages(), std::vector<std::string>{warningAt(1, 8, "Oczekiwano: '=' lub '('")});

    // The end of the text stands for any terminator.
    scan("NAME");
    EXPECT_EQ(scanner_->readToken(kNone, "=", kBlanks), 0);
    EXPECT_EQ(scanner_->token(), "NAME");
}

TEST_F(ScannerTest, SkipToRequestPassesTheMarkerAndBlanks) {
    scan("junk * DECLARATION*\n/");
    EXPECT_EQ(scanner_->readToken("*", "*", kBlanks), '*');
    EXPECT_EQ(scanner_->token(), "DECLARATION");
    EXPECT_EQ(scanner_->current(), '/');
}

TEST_F(ScannerTest, RecoveryStepsStopAtMarkersAndTheEnd) {
    scan("rest of it /NEXT");
    scanner_->skipToMarker('/');
    EXPECT_EQ(scanner_->current(), '/');
    scan("/here");
    scanner_->skipToMarker('/');
    scan("no marker at all");
    scanner_->skipToMarker('*');
    EXPECT_TRUE(scanner_->atEnd());
    scanner_->skipToNextItem(false);  // at the end: must not loop
    EXPECT_TRUE(scanner_->atEnd());
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              warningAt(1, 0, "Ignorowanie tekstu do wystąpienia następnego identyfikatora obiektu"),
                              warningAt(1, 0, "Ignorowanie tekstu do wystąpienia następnego identyfikatora bloku"),
                          }));
}

TEST_F(ScannerTest, SkipToNextItemMovesAtLeastOnce) {
    scan("/A/B");
    scanner_->skipToNextItem(true);
    EXPECT_EQ(scanner_->current(), '/');
    EXPECT_EQ(plainWord(), "/B");
    EXPECT_EQ(messages(),
              std::vector<std::string>{warningAt(1, 0, "Analiza będzie kontynuowana od następnego obiektu lub bloku")});
}

TEST_F(ScannerTest, NameEndChecks) {
    scan("Stan 1 /X");
    plainWord();
    EXPECT_TRUE(scanner_->checkNameEnd(Scanner::NameKind::Object));
    EXPECT_EQ(scanner_->current(), '/');
    scan("3 junk *X");
    plainWord();
    EXPECT_TRUE(scanner_->checkNameEnd(Scanner::NameKind::Value));
    EXPECT_EQ(scanner_->current(), '*');
    scan("OUT");
    plainWord();
    EXPECT_FALSE(scanner_->checkNameEnd(Scanner::NameKind::Object));
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              warningAt(1, 5, "Nazwa obiektu nie może zawierać znaków białych"),
                              warningAt(1, 5, "Analiza będzie kontynuowana od następnego obiektu lub bloku"),
                              warningAt(1, 2, "Ignorowanie tekstu do następnego bloku lub obiektu"),
                          }));
}

TEST_F(ScannerTest, AtBoundaryReportsTheMarker) {
    scan("*");
    EXPECT_TRUE(scanner_->atBoundary(true));
    scan("/");
    EXPECT_TRUE(scanner_->atBoundary(false));
    scan("x");
    EXPECT_FALSE(scanner_->atBoundary(true));
    EXPECT_EQ(messages(), std::vector<std::string>{errorAt(1, 0, "Nieoczekiwany znak '*'")});
}

// readNumber on one token; returns the value (NaN when refused) and leaves the
// messages in `lines`.
class NumberTest : public ScannerTest {
  protected:
    std::optional<double> number(const std::string& word) {
        scan(word);
        scanner_->readToken(kNone, kNone, kBlanks);
        double value = 0;
        if (!scanner_->readNumber(value)) return std::nullopt;
        return value;
    }
};

TEST_F(NumberTest, DecimalFormsAreAccepted) {
    EXPECT_EQ(number("0.5"), 0.5);
    EXPECT_EQ(number("-3"), -3.0);
    EXPECT_EQ(number("+2"), 2.0);
    EXPECT_EQ(number(".5"), 0.5);
    EXPECT_EQ(number("5."), 5.0);
    EXPECT_EQ(number("2.5e-3"), 0.0025);
    EXPECT_EQ(number("1E2"), 100.0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(NumberTest, TrailingCharactersAreWarnedAndTheNumberStands) {
    EXPECT_EQ(number("0.5kg"), 0.5);
    EXPECT_EQ(number("1e"), 1.0);  // an exponent mark without digits is not part of the number
    const std::string text = "W podanej liczbie zostały użyte niedozwolone znaki, które zostaną zignorowane";
    EXPECT_EQ(messages(), (std::vector<std::string>{warningAt(1, 5, text), warningAt(1, 2, text)}));
}

TEST_F(NumberTest, RefusedForms) {
    EXPECT_EQ(number(""), std::nullopt);
    EXPECT_EQ(number("abc"), std::nullopt);
    EXPECT_EQ(number("0"), std::nullopt);
    EXPECT_EQ(number("0.0"), std::nullopt);
    EXPECT_EQ(number("-"), std::nullopt);
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              errorAt(1, 0, "Żadna liczba nie została podana."),
                              errorAt(1, 3, "Zły format liczby rzeczywistej"),
                              errorAt(1, 1, "Wartość liczby nie może być równa 0"),
                              errorAt(1, 3, "Wartość liczby nie może być równa 0"),
                              errorAt(1, 1, "Zły format liczby rzeczywistej"),
                          }));
}

TEST_F(NumberTest, DecimalPointWhateverTheLocale) {
    // A locale with a decimal comma, where one is installed.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    bool commaLocale = false;
    for (const char* name : {"pl_PL.UTF-8", "pl_PL.utf8", "pl_PL", "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') {
            commaLocale = true;
            break;
        }
    if (!commaLocale) {
        std::setlocale(LC_NUMERIC, saved.c_str());
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const auto pointed = number("2.5");
    const auto commaed = number("2,5");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(pointed, 2.5);
    EXPECT_EQ(commaed, 2.0);  // the comma is a trailing character, warned about
}

TEST_F(NumberTest, InfinityNanHexAndOutOfRangeNeverPass) {
    for (const char* word : {"inf", "-inf", "INF", "nan", "NaN", "infinity"})
        EXPECT_EQ(number(word), std::nullopt) << word;
    // "0x10" reads as the number 0 followed by other characters: refused as zero.
    EXPECT_EQ(number("0x10"), std::nullopt);
    EXPECT_EQ(number("1e999"), std::nullopt);
    EXPECT_EQ(number("-1e999"), std::nullopt);
    EXPECT_EQ(number(std::string(400, '9')), std::nullopt);
    // Below the normal range: underflow to 0, and the subnormal numbers.
    EXPECT_EQ(number("1e-400"), std::nullopt);
    EXPECT_EQ(number("-4.9e-324"), std::nullopt);
    EXPECT_EQ(number("1e-320"), std::nullopt);
    EXPECT_EQ(number("2.5e-308"), 2.5e-308);
    EXPECT_EQ(number("1.7e308"), 1.7e308);
    const auto lines = messages();
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[6], errorAt(1, 4, "Wartość liczby nie może być równa 0"));
    EXPECT_EQ(lines[7], errorAt(1, 5, "Liczba spoza dopuszczalnego zakresu"));
    EXPECT_EQ(lines[9], errorAt(1, 400, "Liczba spoza dopuszczalnego zakresu"));
    EXPECT_EQ(lines[12], errorAt(1, 6, "Liczba spoza dopuszczalnego zakresu"));
}

}  // namespace
}  // namespace kolt

#include "scanner.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <system_error>

#include "solver/frontend/text.h"

namespace kolt {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A set of characters as 256 bits, for a membership test without a search;
// the end of the text (0) is in no set.
class CharSet {
public:
    explicit CharSet(std::string_view characters) {
        for (char c : characters) add(c);
    }
    CharSet(std::string_view a, std::string_view b) : CharSet(a) {
        for (char c : b) add(c);
    }
    bool has(char c) const {
        const auto u = static_cast<unsigned char>(c);
        return (bits_[u >> 6] >> (u & 63)) & 1;
    }

private:
    void add(char c) {
        const auto u = static_cast<unsigned char>(c);
        if (u != 0) bits_[u >> 6] |= std::uint64_t{1} << (u & 63);
    }
    std::uint64_t bits_[4] = {0, 0, 0, 0};
};

const CharSet& blanks() {
    static const CharSet set(kBlanks);
    return set;
}

std::size_t skipDigits(std::string_view s, std::size_t at) {
    while (at < s.size() && isDigit(s[at])) ++at;
    return at;
}

// Length of the decimal number at the start of `s`:
//   number   := [sign] mantissa [exponent]
//   mantissa := digits ['.' [digits]] | '.' digits
//   exponent := ('e' | 'E') [sign] digits
// 0 when `s` does not begin with one. Only this form is accepted: no "inf",
// "nan" or hexadecimal, whatever the C library would take.
std::size_t decimalNumberLength(std::string_view s) {
    std::size_t at = 0;
    if (at < s.size() && (s[at] == '+' || s[at] == '-')) ++at;
    const std::size_t integerStart = at;
    at = skipDigits(s, at);
    std::size_t mantissaDigits = at - integerStart;
    if (at < s.size() && s[at] == '.') {
        const std::size_t fractionStart = at + 1;
        const std::size_t fractionEnd = skipDigits(s, fractionStart);
        mantissaDigits += fractionEnd - fractionStart;
        at = fractionEnd;
    }
    if (mantissaDigits == 0) return 0;
    if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < s.size() && (s[exponent] == '+' || s[exponent] == '-')) ++exponent;
        const std::size_t exponentEnd = skipDigits(s, exponent);
        // An 'e' without digits is not part of the number.
        if (exponentEnd > exponent) at = exponentEnd;
    }
    return at;
}

}  // namespace

Scanner::Scanner(Reporter& reporter, std::string text) : reporter_(reporter), text_(std::move(text)) {
    // A NUL byte ends the text as its end does.
    const std::size_t nul = text_.find('\0');
    if (nul != std::string::npos) text_.resize(nul);
    // The first character is read as every later one: counted, and a comment
    // that opens the file removed.
    step();
    removeComment();
}

// Takes the next character of the text and counts it: a line end starts a
// new line at column 0, so the first character of a line is column 1.
void Scanner::step() {
    if (next_ >= text_.size()) {
        current_ = 0;
        return;
    }
    current_ = text_[next_++];
    if (current_ == '\n') {
        ++line_;
        column_ = 0;
    } else {
        ++column_;
    }
}

void Scanner::advance() {
    if (current_ == 0) return;
    step();
    removeComment();
}

// A '!' just taken opens a comment: it runs to the next '!' or the end of the
// text, and the character after the closing '!' becomes current. The test is
// made once: that character is taken as it is, even when it is another '!'.
void Scanner::removeComment() {
    if (current_ != '!') return;
    do step();
    while (current_ != '!' && current_ != 0);
    if (current_ == '!') step();
}

char Scanner::readToken(std::string_view skipTo, std::string_view terminators, std::string_view separators) {
    const CharSet& blank = blanks();
    if (!skipTo.empty()) {
        const CharSet target(skipTo);
        while (current_ != 0 && !target.has(current_)) advance();
        advance();
        while (blank.has(current_)) advance();
    }
    // The test runs once per character of the file: sets, not searches.
    const CharSet ends(separators, terminators);
    token_.clear();
    while (current_ != 0 && !ends.has(current_) && token_.size() < kMaxTokenLength) {
        token_.push_back(current_);
        // The ordinary characters that follow (no comment, no line end, none
        // that ends the token) are taken as a run, counted as advance()
        // would count them one by one; advance() then takes the next one.
        const std::size_t limit = std::min(text_.size(), next_ + (kMaxTokenLength - token_.size()));
        std::size_t end = next_;
        while (end < limit && text_[end] != '!' && text_[end] != '\n' && !ends.has(text_[end])) ++end;
        token_.append(text_, next_, end - next_);
        column_ += static_cast<int>(end - next_);
        next_ = end;
        advance();
    }
    tokenLine_ = line_;
    tokenColumn_ = column_;
    const CharSet separator(separators);
    while (separator.has(current_)) advance();

    char result = 0;
    if (!terminators.empty()) {
        if (current_ == 0 || inSet(current_, terminators)) {
            result = current_;
            advance();
        } else {
            std::string expected;
            for (char c : terminators) {
                if (!expected.empty()) expected += "' lub '";
                expected += c;
            }
            reportAt(Level::Warning, fixedText("Oczekiwano: '") + expected + "'");
        }
    }
    while (blank.has(current_)) advance();
    return result;
}

bool Scanner::atBoundary(bool reportIt) {
    if (current_ == '*') {
        if (reportIt) reportFixedAt(Level::Error, "Nieoczekiwany znak '*'");
        return true;
    }
    if (current_ == '/') {
        if (reportIt) reportFixedAt(Level::Error, "Nieoczekiwany znak '/'");
        return true;
    }
    return false;
}

// Objects live inside blocks, so the search for the next object also stops
// at the next block marker: an empty block must not swallow the blocks after it.
void Scanner::skipToMarker(char marker) {
    const auto stopsHere = [&] { return current_ == marker || current_ == 0 || (marker == '/' && current_ == '*'); };
    if (stopsHere()) return;
    while (!stopsHere()) advance();
    reportAt(Level::Warning, formatText("Ignorowanie tekstu do wystąpienia następnego identyfikatora %s",
                                        marker == '*' ? "bloku" : "obiektu"));
}

void Scanner::skipToNextItem(bool warn) {
    if (warn) reportFixedAt(Level::Warning, "Analiza będzie kontynuowana od następnego obiektu lub bloku");
    advance();
    while (current_ != '*' && current_ != '/' && current_ != 0) advance();
}

bool Scanner::checkNameEnd(NameKind kind) {
    // The end of the text ends a name as cleanly as the next marker does: an
    // exit declared last in the file has nothing after its name.
    if (current_ == '*' || current_ == '/' || current_ == 0) return false;
    if (kind == NameKind::Object) {
        reportFixedAt(Level::Warning, "Nazwa obiektu nie może zawierać znaków białych");
        skipToNextItem(true);
    } else {
        reportFixedAt(Level::Warning, "Ignorowanie tekstu do następnego bloku lub obiektu");
        skipToNextItem(false);
    }
    return true;
}

bool Scanner::readNumber(double& out) {
    if (token_.empty()) {
        reportFixedAt(Level::Error, "Żadna liczba nie została podana.");
        return false;
    }
    std::string_view number(token_);
    const std::size_t length = decimalNumberLength(number);
    if (length == 0) {
        reportFixedAt(Level::Error, "Zły format liczby rzeczywistej");
        return false;
    }
    // from_chars is locale-independent but takes no '+'.
    std::string_view digits = number.substr(0, length);
    if (digits.front() == '+') digits.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    // Below the smallest normal double a value has lost its precision, and
    // its reciprocal (a rate) is infinite: refused as out of range as well.
    if (error == std::errc::result_out_of_range || (value != 0 && std::fabs(value) < DBL_MIN)) {
        reportFixedAt(Level::Error, "Liczba spoza dopuszczalnego zakresu");
        return false;
    }
    if (error != std::errc() || end != digits.data() + digits.size()) {
        reportFixedAt(Level::Error, "Zły format liczby rzeczywistej");
        return false;
    }
    if (value == 0) {
        reportFixedAt(Level::Error, "Wartość liczby nie może być równa 0");
        return false;
    }
    if (length < number.size())
        reportFixedAt(Level::Warning, "W podanej liczbie zostały użyte niedozwolone znaki, które zostaną zignorowane");
    out = value;
    return true;
}

void Scanner::reportAt(Level level, const std::string& text) const {
    reporter_.reportAt(level, tokenLine_ + 1, tokenColumn_, text);
}

void Scanner::reportFixedAt(Level level, const char* utf8) const { reportAt(level, fixedText(utf8)); }

}  // namespace kolt

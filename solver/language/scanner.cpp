#include "scanner.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "solver/core/text.h"

namespace kolt {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal number at the start of a token:
//   number   := [sign] mantissa [exponent]
//   mantissa := digits ['.' [digits]] | '.' digits
//   exponent := ('e' | 'E') [sign] digits
// Only this form is accepted: no "inf", "nan" or hexadecimal, whatever the C
// library would take.
struct DecimalNumber {
    std::size_t length = 0;  // 0: the token does not begin with a number
    // Without an exponent and with at most 15 digits in all, the value is
    // digits / 10^fraction-digits. Both are exact doubles (below 2^53 and at
    // most 10^15), so the one division rounds as correctly as from_chars
    // does: the same bits, without its general machinery, for the short
    // numbers network files are made of.
    bool hasValue = false;
    double value = 0;
};

DecimalNumber scanDecimalNumber(std::string_view s) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    DecimalNumber number;
    std::size_t at = 0;
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) ++at;
    std::uint64_t digits = 0;  // wraps for very long numbers, which get no value here
    const auto takeDigits = [&] {
        const std::size_t start = at;
        for (; at < s.size() && isDigit(s[at]); ++at) digits = digits * 10 + static_cast<unsigned>(s[at] - '0');
        return at - start;
    };
    std::size_t mantissaDigits = takeDigits();
    std::size_t fractionDigits = 0;
    if (at < s.size() && s[at] == '.') {
        ++at;
        fractionDigits = takeDigits();
        mantissaDigits += fractionDigits;
    }
    if (mantissaDigits == 0) return number;
    bool exponent = false;
    if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
        std::size_t exponentStart = at + 1;
        if (exponentStart < s.size() && (s[exponentStart] == '+' || s[exponentStart] == '-')) ++exponentStart;
        std::size_t exponentEnd = exponentStart;
        while (exponentEnd < s.size() && isDigit(s[exponentEnd])) ++exponentEnd;
        // An 'e' without digits is not part of the number.
        if (exponentEnd > exponentStart) {
            at = exponentEnd;
            exponent = true;
        }
    }
    number.length = at;
    if (!exponent && mantissaDigits <= 15) {
        const double magnitude = static_cast<double>(digits) / kPowersOfTen[fractionDigits];
        number.hasValue = true;
        number.value = negative ? -magnitude : magnitude;
    }
    return number;
}

}  // namespace

Scanner::Scanner(Reporter& reporter, std::string text) : reporter_(reporter), text_(std::move(text)) {
    // A NUL byte ends the text as its end does.
    const std::size_t nul = text_.find('\0');
    if (nul != std::string::npos) text_.resize(nul);
    // The first character is read as every later one: counted, and a comment
    // that opens the file removed.
    step();
    if (current_ == '!') removeComment();
}

// A '!' just taken opens a comment: it runs to the next '!' or the end of the
// text, and the character after the closing '!' becomes current. The test is
// made once: that character is taken as it is, even when it is another '!'.
// The comment's characters are taken by step() like any other, so its line
// ends are counted where every line end is.
void Scanner::removeComment() {
    do step();
    while (current_ != '!' && current_ != 0);
    if (current_ == '!') step();
}

std::string_view Scanner::advance(const CharSet& runEnds, std::size_t limit) {
    if (current_ == 0) return {};
    const std::size_t start = next_ - 1;
    const std::size_t last = start + std::min(limit, text_.size() - start);
    std::size_t end = next_;
    while (end < last && !runEnds.has(text_[end])) ++end;
    next_ = end;
    advance();
    return std::string_view(text_).substr(start, end - start);
}

char Scanner::readToken(const TokenRequest& request) {
    if (request.skipsTo) {
        while (current_ != 0 && !request.skipTarget.has(current_)) advance();
        advance();
        skipBlanks();
    }
    token_.clear();
    while (current_ != 0 && !request.ends.has(current_) && token_.size() < kMaxTokenLength)
        token_ += advance(request.runEnds, kMaxTokenLength - token_.size());
    tokenLine_ = line_;
    tokenColumn_ = column();
    while (request.separatorSet.has(current_)) advance();

    char result = 0;
    if (!request.terminators.empty()) {
        if (current_ == 0 || request.terminatorSet.has(current_)) {
            result = current_;
            advance();
        } else {
            std::string expected;
            for (char c : request.terminators) {
                if (!expected.empty()) expected += "' lub '";
                expected += c;
            }
            reportAt(Level::Warning, fixedText("Oczekiwano: '") + expected + "'");
        }
    }
    skipBlanks();
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
    const DecimalNumber number = scanDecimalNumber(token_);
    if (number.length == 0) {
        reportFixedAt(Level::Error, "Zły format liczby rzeczywistej");
        return false;
    }
    double value = number.value;
    if (!number.hasValue) {
        // from_chars is locale-independent but takes no '+'.
        std::string_view digits = std::string_view(token_).substr(0, number.length);
        if (digits.front() == '+') digits.remove_prefix(1);
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
    }
    if (value == 0) {
        reportFixedAt(Level::Error, "Wartość liczby nie może być równa 0");
        return false;
    }
    if (number.length < token_.size())
        reportFixedAt(Level::Warning, "W podanej liczbie zostały użyte niedozwolone znaki, które zostaną zignorowane");
    out = value;
    return true;
}

void Scanner::reportAt(Level level, const std::string& text) const {
    reporter_.reportAt(level, tokenLine_ + 1, tokenColumn_, text);
}

void Scanner::reportFixedAt(Level level, const char* utf8) const { reportAt(level, fixedText(utf8)); }

}  // namespace kolt

// The scanner of the network definition language.
//
// There is no token stream: the parser asks for one token at a time and says,
// for each request, which characters end the token, which are skipped around
// it and which single character it expects next. All scanner state (the
// current character, its line and the line's start, from which the column
// follows, the token and token position) lives here and only advance() moves
// it; comments between '!' characters are removed inside advance(), so they
// may stand anywhere, even inside a word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "solver/core/reporter.h"

namespace kolt {

// Character sets of the common requests.
inline constexpr std::string_view kBlanks = " \t\n";
inline constexpr std::string_view kLineEnd = "\n";
inline constexpr std::string_view kNone = "";

// A set of characters as 256 bits, tested without a search. The end of the
// text (0) is in no set.
class CharSet {
  public:
    constexpr CharSet() = default;
    constexpr explicit CharSet(std::string_view characters) { add(characters); }
    constexpr CharSet plus(std::string_view characters) const {
        CharSet both = *this;
        both.add(characters);
        return both;
    }
    constexpr bool has(char c) const {
        const auto u = static_cast<unsigned char>(c);
        return (bits_[u >> 6] >> (u & 63)) & 1;
    }

  private:
    constexpr void add(std::string_view characters) {
        for (const char c : characters) {
            const auto u = static_cast<unsigned char>(c);
            if (u != 0) bits_[u >> 6] |= std::uint64_t{1} << (u & 63);
        }
    }
    std::uint64_t bits_[4] = {0, 0, 0, 0};
};

// One token request: the characters it skips to first, the terminators it
// expects (in the order the warning lists them) and the separators that end
// the token and are skipped after it. The sets it tests are made with the
// request, once, not for every token.
struct TokenRequest {
    constexpr TokenRequest(std::string_view skipTo, std::string_view expected, std::string_view separators)
        : skipsTo(!skipTo.empty()),
          skipTarget(skipTo),
          terminators(expected),
          terminatorSet(expected),
          separatorSet(separators),
          ends(CharSet(separators).plus(expected)),
          runEnds(ends.plus("!\n")) {}

    bool skipsTo;
    CharSet skipTarget;
    std::string_view terminators;
    CharSet terminatorSet;
    CharSet separatorSet;
    // The characters that end the token.
    CharSet ends;
    // Those and the two that advance() treats apart: a comment opener and a
    // line end. Between them lies a run of ordinary characters.
    CharSet runEnds;
};

// The requests of the parser.
inline constexpr TokenRequest kPlainWord{kNone, kNone, kBlanks};         // keywords, object names, SOUR
inline constexpr TokenRequest kBlockKeyword{"*", "*", kBlanks};          // *DECLARATION* and the like
inline constexpr TokenRequest kObjectKeyword{"/", "/", kBlanks};         // /STATION/ and the like
inline constexpr TokenRequest kRestOfLine{kNone, kNone, kLineEnd};       // the network name
inline constexpr TokenRequest kParameterName{kNone, "=", kBlanks};       // NAME=, a source's parameters
inline constexpr TokenRequest kStationParameter{kNone, "=(", kBlanks};   // SERVICE( ... TRANSIT= ...
inline constexpr TokenRequest kClassName{kNone, "[", kLineEnd};          // a declared class name
inline constexpr TokenRequest kCustomerCount{kNone, "]", kBlanks};       // the n in [n]
inline constexpr TokenRequest kDistributionName{kNone, "[", kBlanks};    // EXP[ ...
inline constexpr TokenRequest kDistributionValue{kNone, ",]", kBlanks};  // the values in [...]
inline constexpr TokenRequest kProbability{kNone, "]", kBlanks};         // the [p] before a target
inline constexpr TokenRequest kTransitTarget{kNone, ",;:", kBlanks};     // a target object's name
inline constexpr TokenRequest kClassListEntry{kNone, ",);", kBlanks};    // an entry of a class list

class Scanner {
  public:
    // Longest token kept; a longer word is cut and its rest stays in the input.
    static constexpr std::size_t kMaxTokenLength = 2000;

    // `text` ends at its end or at its first NUL byte. The first character is
    // read (and counted) at once.
    Scanner(Reporter& reporter, std::string text);

    // The current character; 0 at the end of the text.
    char current() const { return current_; }
    bool atEnd() const { return current_ == 0; }
    // Line ends consumed so far (counts from 0).
    int line() const { return line_; }
    // Characters consumed since the last line end (the current one included):
    // the first character of a line is column 1, a line end column 0.
    int column() const { return static_cast<int>(next_ - lineStart_); }
    std::size_t textLength() const { return text_.size(); }

    const std::string& token() const { return token_; }
    // Puts back a token saved by the caller (the class-list reader keeps the
    // parameter keyword around the list).
    void restoreToken(std::string saved) { token_ = std::move(saved); }

    // Makes the next character current, counting it; removes a comment that
    // begins there. Does nothing at the end of the text.
    void advance() {
        if (current_ == 0) return;
        step();
        if (current_ == '!') removeComment();
    }
    // The same over a run: takes the current character and the ordinary
    // characters after it (none in `runEnds`, which must hold '!' and the
    // line end), at most `limit` characters in all, then advances once more
    // as above. Returns the characters taken. Nothing in a run moves the line,
    // so the column, counted from the line's start, follows by itself.
    std::string_view advance(const CharSet& runEnds, std::size_t limit);

    // Reads one token: skips to and past a character of `skipTo` (when not
    // empty) and over blanks, collects characters up to a separator or a
    // terminator, skips separators, then takes the expected terminator (or
    // warns that it is missing) and skips blanks. Returns the terminator
    // taken, 0 when none was.
    char readToken(const TokenRequest& request);
    char readToken(std::string_view skipTo, std::string_view terminators, std::string_view separators) {
        return readToken(TokenRequest(skipTo, terminators, separators));
    }

    // True when the current character is a block or object marker; reports it
    // as unexpected when `reportIt`.
    bool atBoundary(bool reportIt);
    // Skips text up to `marker` ('*' or '/') or the end, warning when it
    // skipped; the search for an object ('/') also stops at a block marker.
    void skipToMarker(char marker);
    // Skips the rest of an item: at least one character, then up to the next
    // marker or the end.
    void skipToNextItem(bool warn);
    // After a name: false when it ended cleanly at a marker or the end;
    // otherwise warns, skips the rest of the item and returns true.
    enum class NameKind { Object = 0, Value = 1 };
    bool checkNameEnd(NameKind kind);
    // Reads the current token as a decimal real number; reports and returns
    // false when it is empty, not a number, out of range or zero.
    bool readNumber(double& out);

    // Reports a message at the position of the last token. `text` is in
    // Windows-1250.
    void reportAt(Level level, const std::string& text) const;
    // The same for a fixed UTF-8 text.
    void reportFixedAt(Level level, const char* utf8) const;

  private:
    // Takes the next character of the text and counts it: a line end starts
    // a new line. The one place where lines are counted.
    void step() {
        if (next_ >= text_.size()) {
            current_ = 0;
            return;
        }
        current_ = text_[next_++];
        if (current_ == '\n') {
            ++line_;
            lineStart_ = next_;
        }
    }
    void removeComment();
    void skipBlanks() {
        static constexpr CharSet blanks(kBlanks);
        while (blanks.has(current_)) advance();
    }

    Reporter& reporter_;
    std::string text_;
    // Position: text_[next_ - 1] is the current character (0 past the end),
    // text_[lineStart_] the first character of the current line.
    std::size_t next_ = 0;
    std::size_t lineStart_ = 0;
    char current_ = 0;
    int line_ = 0;
    std::string token_;
    int tokenLine_ = 0;
    int tokenColumn_ = 0;
};

}  // namespace kolt

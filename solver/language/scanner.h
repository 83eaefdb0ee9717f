// The scanner of the network definition language.
//
// There is no token stream: the parser asks for one token at a time and says,
// for each request, which characters end the token, which are skipped around
// it and which single character it expects next. All scanner state (the
// current character, line, column, token and token position) lives here and
// only advance() moves it; comments between '!' characters are removed inside
// advance(), so they may stand anywhere, even inside a word.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "solver/frontend/reporter.h"

namespace kolt {

// Character sets of the common requests.
inline constexpr std::string_view kBlanks = " \t\n";
inline constexpr std::string_view kLineEnd = "\n";
inline constexpr std::string_view kNone = "";

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
    int column() const { return column_; }
    std::size_t textLength() const { return text_.size(); }

    const std::string& token() const { return token_; }
    // Puts back a token saved by the caller (the class-list reader keeps the
    // parameter keyword around the list).
    void restoreToken(std::string saved) { token_ = std::move(saved); }

    // Makes the next character current, counting it; removes a comment that
    // begins there. Does nothing at the end of the text.
    void advance();

    // Reads one token: skips to and past a character of `skipTo` (when not
    // empty) and over blanks, collects characters up to a separator or a
    // terminator, skips separators, then takes the expected terminator (or
    // warns that it is missing) and skips blanks. Returns the terminator
    // taken, 0 when none was.
    char readToken(std::string_view skipTo, std::string_view terminators, std::string_view separators);

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
    void step();
    void removeComment();

    Reporter& reporter_;
    std::string text_;
    std::size_t next_ = 0;
    char current_ = 0;
    int line_ = 0;
    int column_ = 0;
    std::string token_;
    int tokenLine_ = 0;
    int tokenColumn_ = 0;
};

// Membership as the scanner sees it: the end of the text (0) is in no set.
inline bool inSet(char c, std::string_view set) { return c != 0 && set.find(c) != std::string_view::npos; }

}  // namespace kolt

#include "report_position.h"

#include <limits>
#include <optional>

namespace {

// Only the first 120 characters of a line are looked at.
constexpr qsizetype kClickedLineLimit = 120;

// Reads "%d" at pos: blanks, an optional sign, decimal digits; no overflow.
std::optional<int> readInteger(const QString& text, qsizetype& pos) {
    while (pos < text.size() && (text[pos] == QLatin1Char(' ') || text[pos] == QLatin1Char('\t'))) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+')))
        negative = text[pos++] == QLatin1Char('-');
    const qsizetype firstDigit = pos;
    qint64 value = 0;
    while (pos < text.size() && text[pos] >= QLatin1Char('0') && text[pos] <= QLatin1Char('9')) {
        value = value * 10 + (text[pos++].unicode() - '0');
        if (value > std::numeric_limits<int>::max()) return std::nullopt;
    }
    if (pos == firstDigit) return std::nullopt;
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

// diagnostic line := ... "(" line "," column ")" ...   (the first "(" of the first 120 characters)
ReportPosition reportPositionOf(const QString& lineText) {
    const QString characters = lineText.left(kClickedLineLimit);
    ReportPosition found;
    const qsizetype paren = characters.indexOf(QLatin1Char('('));
    if (paren < 0) return found;
    found.hasParenthesis = true;
    qsizetype pos = paren + 1;
    const std::optional<int> line = readInteger(characters, pos);
    if (!line || pos >= characters.size() || characters[pos] != QLatin1Char(',')) return found;
    ++pos;
    const std::optional<int> column = readInteger(characters, pos);
    if (!column) return found;
    found.hasPosition = true;
    found.line = *line;
    found.column = *column;
    return found;
}

#include "workbench/network_highlighter.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

const QStringList blockKeywords = {QStringLiteral("DECLARATION"), QStringLiteral("DESCRIPTION"), QStringLiteral("END")};
const QStringList objectKeywords = {
    QStringLiteral("CLASS"),     QStringLiteral("SUBNETWORK"), QStringLiteral("SUBEND"),  QStringLiteral("SOURCE"),
    QStringLiteral("FORK"),      QStringLiteral("FORK-I"),     QStringLiteral("STATION"), QStringLiteral("RESOURCE"),
    QStringLiteral("SEMAPHORE"), QStringLiteral("QUEUE"),      QStringLiteral("JOIN"),    QStringLiteral("JOIN-I"),
    QStringLiteral("OUT")};
const QStringList parameterKeywords = {QStringLiteral("NAME"),    QStringLiteral("COPY"),    QStringLiteral("MAX"),
                                       QStringLiteral("SIZE"),    QStringLiteral("QUEUE"),   QStringLiteral("SCHEDULE"),
                                       QStringLiteral("SERVICE"), QStringLiteral("TRANSIT"), QStringLiteral("EXIT")};
const QStringList distributions = {QStringLiteral("DET"), QStringLiteral("UNI"), QStringLiteral("EXP"),
                                   QStringLiteral("COX"), QStringLiteral("ERL"), QStringLiteral("HIP"),
                                   QStringLiteral("G"),   QStringLiteral("HIST")};
const QStringList disciplines = {QStringLiteral("FIFO"),    QStringLiteral("LIFO"),    QStringLiteral("PS"),
                                 QStringLiteral("IS"),      QStringLiteral("LIFO-PR"), QStringLiteral("PRIOR"),
                                 QStringLiteral("PRIOR-PR")};

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Characters that end a word of the language.
bool isDelimiter(QChar c) { return isBlank(c) || QStringLiteral("*/=()[],;:").contains(c); }

// Which characters of the line are comment text. The scanner's rule: a '!'
// opens a comment that the next '!' closes; the character right after the
// closing '!' is taken as it is, so a '!' there is an ordinary character.
QList<bool> commentMask(const QString& line, bool& inComment) {
    QList<bool> mask(line.size(), false);
    bool takeAsItIs = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const bool bang = line[i] == QLatin1Char('!');
        if (inComment) {
            mask[i] = true;
            if (bang) {
                inComment = false;
                takeAsItIs = true;
            }
            continue;
        }
        if (bang && !takeAsItIs) {
            inComment = true;
            mask[i] = true;
        }
        takeAsItIs = false;
    }
    return mask;
}

// The nearest character before from (after to) that is neither a blank nor
// comment text; a null character when there is none on the line.
QChar significantBefore(const QString& line, const QList<bool>& comment, qsizetype from, qsizetype* at) {
    for (qsizetype i = from - 1; i >= 0; --i)
        if (!comment[i] && !isBlank(line[i])) {
            *at = i;
            return line[i];
        }
    return QChar();
}

QChar significantAfter(const QString& line, const QList<bool>& comment, qsizetype to, qsizetype* at) {
    for (qsizetype i = to; i < line.size(); ++i)
        if (!comment[i] && !isBlank(line[i])) {
            *at = i;
            return line[i];
        }
    return QChar();
}

}  // namespace

QList<HighlightSpan> classifyNetworkLine(const QString& line, bool firstLine, bool& inComment) {
    const QList<bool> comment = commentMask(line, inComment);
    QList<HighlightSpan> spans;
    for (qsizetype i = 0; i < line.size();) {
        if (!comment[i]) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < line.size() && comment[i]) ++i;
        spans.append({int(start), int(i - start), NetworkToken::Comment});
    }

    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+(\.\d*)?|\.\d+)([eE][+-]?\d+)?$)"));
    bool firstWord = true;
    for (qsizetype i = 0; i < line.size();) {
        if (comment[i] || isDelimiter(line[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < line.size() && !comment[i] && !isDelimiter(line[i])) ++i;
        const QString word = line.mid(start, i - start);
        if (firstLine) {
            // SOUR, then the network name: the rest of the line.
            if (firstWord && word == QLatin1String("SOUR")) spans.append({int(start), 4, NetworkToken::FileIdentifier});
            firstWord = false;
            continue;
        }
        qsizetype before = -1, after = -1;
        const QChar previous = significantBefore(line, comment, start, &before);
        const QChar next = significantAfter(line, comment, i, &after);
        auto add = [&](qsizetype from, qsizetype to, NetworkToken kind) {
            spans.append({int(from), int(to - from), kind});
        };
        if (previous == QLatin1Char('*') && next == QLatin1Char('*') && blockKeywords.contains(word))
            add(before, after + 1, NetworkToken::BlockMarker);
        else if (previous == QLatin1Char('/') && next == QLatin1Char('/') && objectKeywords.contains(word))
            add(before, after + 1, NetworkToken::ObjectKeyword);
        else if ((next == QLatin1Char('=') || next == QLatin1Char('(')) && parameterKeywords.contains(word))
            add(start, i, NetworkToken::ParameterKeyword);
        else if (next == QLatin1Char('[') && distributions.contains(word))
            add(start, i, NetworkToken::Distribution);
        else if (previous == QLatin1Char('=') && disciplines.contains(word))
            add(start, i, NetworkToken::Discipline);
        else if (number.match(word).hasMatch())
            add(start, i, NetworkToken::Number);
    }
    std::sort(spans.begin(), spans.end(),
              [](const HighlightSpan& a, const HighlightSpan& b) { return a.start < b.start; });
    return spans;
}

NetworkHighlighter::NetworkHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

QTextCharFormat NetworkHighlighter::formatOf(NetworkToken kind) {
    QTextCharFormat format;
    switch (kind) {
        case NetworkToken::FileIdentifier:
        case NetworkToken::BlockMarker:
            format.setForeground(QColor(0x00, 0x00, 0x80));
            format.setFontWeight(QFont::Bold);
            break;
        case NetworkToken::ObjectKeyword:
            format.setForeground(QColor(0x00, 0x00, 0xc0));
            format.setFontWeight(QFont::Bold);
            break;
        case NetworkToken::ParameterKeyword: format.setForeground(QColor(0x80, 0x00, 0x80)); break;
        case NetworkToken::Distribution: format.setForeground(QColor(0x00, 0x70, 0x70)); break;
        case NetworkToken::Discipline: format.setForeground(QColor(0x00, 0x70, 0x00)); break;
        case NetworkToken::Number: format.setForeground(QColor(0xa0, 0x40, 0x00)); break;
        case NetworkToken::Comment:
            format.setForeground(QColor(0x70, 0x70, 0x70));
            format.setFontItalic(true);
            break;
    }
    return format;
}

// Block state: 1 when a comment is open at the end of the block.
void NetworkHighlighter::highlightBlock(const QString& text) {
    bool inComment = previousBlockState() == 1;
    const bool firstLine = currentBlock().blockNumber() == 0;
    for (const HighlightSpan& span : classifyNetworkLine(text, firstLine, inComment))
        setFormat(span.start, span.length, formatOf(span.kind));
    setCurrentBlockState(inComment ? 1 : 0);
}

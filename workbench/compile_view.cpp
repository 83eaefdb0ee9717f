#include "compile_view.h"

#include <QFile>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>

#include <limits>
#include <optional>

#include "text_codec.h"

namespace {

constexpr qsizetype kPieceLength = 119;  // characters shown per report line
constexpr qsizetype kClickedLineLimit = 120;

// The file's text cut as it is read: at each newline, and every 119
// characters within a longer line. The text after the last newline (empty
// when the file ends with one) is one more piece. A line of exactly 119
// characters is one piece, not a piece and an empty one.
QStringList reportPieces(const QString& text) {
    QStringList pieces;
    qsizetype start = 0;
    while (true) {
        const qsizetype newline = text.indexOf(QLatin1Char('\n'), start);
        const qsizetype end = newline < 0 ? text.size() : newline;
        qsizetype at = start;
        while (end - at > kPieceLength) {
            pieces << text.mid(at, kPieceLength);
            at += kPieceLength;
        }
        if (newline < 0) {
            // At the end of the file a full last piece is followed by the
            // empty read that meets the end.
            if (end - at == kPieceLength) {
                pieces << text.mid(at, kPieceLength);
                at = end;
            }
            pieces << text.mid(at, end - at);
            return pieces;
        }
        pieces << text.mid(at, end - at);
        start = newline + 1;
    }
}

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

CCompileView::CCompileView(QWidget* parent) : QPlainTextEdit(parent) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
    setFont(font);
    // Black on white although read-only: the report is for reading.
    QPalette colours = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, Qt::white);
        colours.setColor(group, QPalette::Text, Qt::black);
    }
    setPalette(colours);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setReadOnly(true);
}

bool CCompileView::loadDiagnostics(const QString& errPath) {
    QFile file(errPath);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QByteArray bytes = file.readAll();
    bytes.replace("\r\n", "\n");  // the file is read as text
    const QStringList pieces = reportPieces(decodeCp1250(bytes));

    lineCount_ = int(pieces.size());
    setPlainText(pieces.join(QLatin1Char('\n')));
    // Scroll down by (count - 2) lines so that the end of the report is in view.
    verticalScrollBar()->setValue(std::max(0, lineCount_ - 2));
    document()->setModified(false);
    setReadOnly(true);
    return true;
}

int CCompileView::loadedLineCount() const { return lineCount_; }

// diagnostic line := ... "(" line "," column ")" ...   (the first "(" of the first 120 characters)
void CCompileView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QPlainTextEdit::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();  // no word selection: the double click chooses a line
    const QTextBlock block = cursorForPosition(event->position().toPoint()).block();
    const QString characters = block.text().left(kClickedLineLimit);
    const qsizetype paren = characters.indexOf(QLatin1Char('('));
    if (paren < 0) return;

    qsizetype pos = paren + 1;
    std::optional<int> line = readInteger(characters, pos);
    std::optional<int> column;
    if (line && pos < characters.size() && characters[pos] == QLatin1Char(',')) {
        ++pos;
        column = readInteger(characters, pos);
    }
    const bool hasPosition = line && column;

    QTextCursor selection(block);
    selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    setTextCursor(selection);
    ensureCursorVisible();

    emit diagnosticChosen(hasPosition, hasPosition ? *line : -1, hasPosition ? *column : -1);
}

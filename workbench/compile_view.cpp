#include "compile_view.h"

#include <QFile>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>

#include "fixed_font.h"
#include "report_highlighter.h"
#include "report_position.h"
#include "text_codec.h"

namespace {

constexpr qsizetype kPieceLength = 119;  // characters shown per report line

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

}  // namespace

CCompileView::CCompileView(QWidget* parent) : QPlainTextEdit(parent) {
    setFont(editorFont());
    // Black on white although read-only: the report is for reading. Only
    // warnings and errors take a colour of their own.
    QPalette colours = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, Qt::white);
        colours.setColor(group, QPalette::Text, Qt::black);
    }
    setPalette(colours);
    new ReportHighlighter(document());
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

void CCompileView::chooseBlock(const QTextBlock& block) {
    const ReportPosition position = reportPositionOf(block.text());
    if (!position.hasParenthesis) return;
    QTextCursor selection(block);
    selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    setTextCursor(selection);
    ensureCursorVisible();
    emit diagnosticChosen(position.hasPosition, position.hasPosition ? position.line : -1,
                          position.hasPosition ? position.column : -1);
}

void CCompileView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QPlainTextEdit::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();  // no word selection: the double click chooses a line
    chooseBlock(cursorForPosition(event->position().toPoint()).block());
}

bool CCompileView::chooseAdjacentMessage(bool forward) {
    // From the line chosen last (or the caret's), on to the next warning or
    // error that carries a position.
    QTextBlock block = textCursor().block();
    block = forward ? block.next() : block.previous();
    for (; block.isValid(); block = forward ? block.next() : block.previous()) {
        if (reportLineKind(block.text()) == ReportLineKind::Plain) continue;
        if (!reportPositionOf(block.text()).hasPosition) continue;
        chooseBlock(block);
        return true;
    }
    return false;
}

#include "workbench/caret_position_label.h"

CaretPositionLabel::CaretPositionLabel(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("caretPosition"));
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setMinimumWidth(fontMetrics().horizontalAdvance(textFor({9999, 999})) + 12);
}

QString CaretPositionLabel::textFor(const TextPosition& position) {
    return QStringLiteral("Wiersz %1, kolumna %2").arg(position.line).arg(position.column);
}

void CaretPositionLabel::follow(QPlainTextEdit* editor) {
    if (editor == followed && editor) return;
    disconnect(moves);
    followed = editor;
    if (editor) moves = connect(editor, &QPlainTextEdit::cursorPositionChanged, this, &CaretPositionLabel::showCaret);
    showCaret();
}

void CaretPositionLabel::showCaret() {
    setText(followed ? textFor(textPositionOf(followed->textCursor())) : QString());
}

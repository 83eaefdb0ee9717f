// The status-bar pane with the caret's place in the model editor, counted
// as the solver counts positions in its messages ("Wiersz 12, kolumna 5");
// empty while no model editor is active.
#pragma once

#include <QLabel>
#include <QPointer>

#include "workbench/line_numbered_edit.h"

class CaretPositionLabel : public QLabel {
    Q_OBJECT
  public:
    explicit CaretPositionLabel(QWidget* parent = nullptr);

    // Shows editor's caret from now on; nullptr shows nothing.
    void follow(QPlainTextEdit* editor);

    static QString textFor(const TextPosition& position);

  private:
    void showCaret();

    QPointer<QPlainTextEdit> followed;
    QMetaObject::Connection moves;
};

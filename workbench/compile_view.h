// The report view: the solver's diagnostics for one document, read-only,
// with a double click choosing a diagnostic's position.
#pragma once

#include <QPlainTextEdit>

class QTextBlock;

class CCompileView : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit CCompileView(QWidget* parent = nullptr);

    // Loads the diagnostics file (Windows-1250) in pieces of at most 119
    // characters, one per displayed line, and scrolls so its end is in view.
    // False, with the text left as it was, when the file cannot be opened.
    bool loadDiagnostics(const QString& errPath);

    // Lines counted by the last successful load.
    int loadedLineCount() const;

    // Chooses the next (or previous) warning or error with a position after
    // (before) the caret's line, as a double click on it does; false when
    // there is none in that direction.
    bool chooseAdjacentMessage(bool forward);

  signals:
    // A double click on a line containing '(' : the line is selected;
    // hasPosition tells whether "%d,%d)" followed the first '('.
    void diagnosticChosen(bool hasPosition, int line, int column);

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // Selects a line with a '(' and says what position it names.
    void chooseBlock(const QTextBlock& block);

    int lineCount_ = 0;
};

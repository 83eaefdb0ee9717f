// A plain text editor with the number of each line in a margin at its left,
// and one line that can be marked: the line of the diagnostic last jumped to.
#pragma once

#include <QPlainTextEdit>
#include <QTextCursor>

// A place in the text as the solver's messages give it: lines from 1, the
// first character of a line in column 1, a tab one column like any other
// character. Lines are the editor's blocks (it never wraps).
struct TextPosition {
    int line = 1;
    int column = 1;
    bool operator==(const TextPosition&) const = default;
};
TextPosition textPositionOf(const QTextCursor& cursor);

class LineNumberedEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit LineNumberedEdit(QWidget* parent = nullptr);
    ~LineNumberedEdit() override;

    int lineNumberAreaWidth() const;
    QWidget* lineNumberArea() const { return numberArea; }

    // Marks the line with 0-based number blockNumber: a tinted background
    // across the editor and its number in red. The mark follows the line
    // through edits above it. -1 removes it.
    void setMarkedLine(int blockNumber);
    // The marked line's 0-based number, or -1.
    int markedLine() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    friend class LineNumberArea;
    void paintLineNumbers(QPaintEvent* event);
    void updateMargin();
    void onUpdateRequest(const QRect& rect, int dy);

    QWidget* numberArea;
    QTextCursor mark;  // null when no line is marked
};

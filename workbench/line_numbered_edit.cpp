#include "workbench/line_numbered_edit.h"

#include <QPainter>
#include <QTextBlock>

TextPosition textPositionOf(const QTextCursor& cursor) {
    return {cursor.blockNumber() + 1, cursor.positionInBlock() + 1};
}

// The margin widget; the editor paints it, because the geometry of the
// visible lines is the editor's own.
class LineNumberArea : public QWidget {
  public:
    explicit LineNumberArea(LineNumberedEdit* editor) : QWidget(editor), edit(editor) {}
    QSize sizeHint() const override { return {edit->lineNumberAreaWidth(), 0}; }

  protected:
    void paintEvent(QPaintEvent* event) override { edit->paintLineNumbers(event); }

  private:
    LineNumberedEdit* edit;
};

namespace {

const QColor marginBackground(0xf0, 0xf0, 0xf0);
const QColor numberColour(0x80, 0x80, 0x80);
const QColor markedNumberColour(0xc0, 0x00, 0x00);
const QColor markedLineBackground(0xff, 0xe0, 0xe0);

}  // namespace

LineNumberedEdit::LineNumberedEdit(QWidget* parent) : QPlainTextEdit(parent), numberArea(new LineNumberArea(this)) {
    numberArea->setObjectName(QStringLiteral("lineNumberArea"));
    connect(this, &QPlainTextEdit::blockCountChanged, this, &LineNumberedEdit::updateMargin);
    connect(this, &QPlainTextEdit::updateRequest, this, &LineNumberedEdit::onUpdateRequest);
    updateMargin();
}

LineNumberedEdit::~LineNumberedEdit() {
    // The editor's own parts, taken apart after this one, still signal.
    disconnect(this, nullptr, this, nullptr);
}

int LineNumberedEdit::lineNumberAreaWidth() const {
    // Room for the largest number, at least three digits so that the text
    // does not move while a file grows to a hundred lines.
    int digits = 1;
    for (int count = qMax(1, blockCount()); count >= 10; count /= 10) ++digits;
    digits = qMax(3, digits);
    const QFontMetrics metrics(font());
    return 6 + metrics.horizontalAdvance(QLatin1Char('9')) * digits + 6;
}

void LineNumberedEdit::updateMargin() {
    setViewportMargins(lineNumberAreaWidth(), 0, 0, 0);
    const QRect contents = contentsRect();
    numberArea->setGeometry(QRect(contents.left(), contents.top(), lineNumberAreaWidth(), contents.height()));
}

void LineNumberedEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    updateMargin();
}

void LineNumberedEdit::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) updateMargin();
}

void LineNumberedEdit::onUpdateRequest(const QRect& rect, int dy) {
    if (dy != 0)
        numberArea->scroll(0, dy);
    else
        numberArea->update(0, rect.y(), numberArea->width(), rect.height());
    if (rect.contains(viewport()->rect())) updateMargin();
}

void LineNumberedEdit::paintLineNumbers(QPaintEvent* event) {
    QPainter painter(numberArea);
    painter.fillRect(event->rect(), marginBackground);
    painter.setFont(font());
    const int marked = markedLine();
    const int right = numberArea->width() - 6;
    const int lineHeight = fontMetrics().height();
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid() && top <= event->rect().bottom()) {
        const qreal bottom = top + blockBoundingRect(block).height();
        if (block.isVisible() && bottom >= event->rect().top()) {
            const bool isMarked = block.blockNumber() == marked;
            QFont numberFont = font();
            numberFont.setBold(isMarked);
            painter.setFont(numberFont);
            painter.setPen(isMarked ? markedNumberColour : numberColour);
            painter.drawText(0, int(top), right, lineHeight, Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top = bottom;
    }
}

void LineNumberedEdit::setMarkedLine(int blockNumber) {
    const QTextBlock block = document()->findBlockByNumber(blockNumber);
    mark = blockNumber >= 0 && block.isValid() ? QTextCursor(block) : QTextCursor();
    QList<QTextEdit::ExtraSelection> selections;
    if (!mark.isNull()) {
        QTextEdit::ExtraSelection line;
        line.cursor = mark;
        line.format.setBackground(markedLineBackground);
        line.format.setProperty(QTextFormat::FullWidthSelection, true);
        selections << line;
    }
    setExtraSelections(selections);
    numberArea->update();
}

int LineNumberedEdit::markedLine() const { return mark.isNull() ? -1 : mark.blockNumber(); }

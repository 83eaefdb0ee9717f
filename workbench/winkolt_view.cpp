#include "workbench/winkolt_view.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

#include "workbench/fixed_font.h"
#include "workbench/network_highlighter.h"
#include "workbench/paged_text_printer.h"
#include "workbench/winkolt_doc.h"

CWinKoltView::CWinKoltView(CWinKoltDoc* document, QWidget* parent) : LineNumberedEdit(parent), doc(document) {
    setDocument(doc->textDocument());
    setFont(editorFont());
    // One highlighter for the text, living with it: a model window opened
    // again finds the text already highlighted.
    if (!doc->textDocument()->findChild<NetworkHighlighter*>(QString(), Qt::FindDirectChildrenOnly))
        new NetworkHighlighter(doc->textDocument());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabStopDistance(8 * fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    setWindowIcon(QIcon());
    connect(doc, &CWinKoltDoc::viewsNotified, this, &CWinKoltView::onViewsNotified);
}

CWinKoltView::~CWinKoltView() = default;

QFont CWinKoltView::editorFont() { return ::editorFont(); }

void CWinKoltView::wheelEvent(QWheelEvent* event) {
    // One line first, then the editor's own handling of the wheel.
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + (event->angleDelta().y() < 0 ? 1 : -1));
    QPlainTextEdit::wheelEvent(event);
}

void CWinKoltView::dragEnterEvent(QDragEnterEvent* event) {
    // Dropped files open as documents (the main window does it), they are
    // not pasted as text.
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dragEnterEvent(event);
}

void CWinKoltView::dropEvent(QDropEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dropEvent(event);
}

void CWinKoltView::onViewsNotified(QObject* sender, QObject* hint) {
    // A hint is a filter change of the results window: not for the editor.
    if (hint || sender == this) return;
    jumpToDiagnostic();
}

void CWinKoltView::jumpToDiagnostic() {
    if (doc->errorLine() == -1) return;  // no diagnostic chosen yet
    QTextDocument* text = document();
    const int targetLine = qBound(0, doc->errorLine() - 1, text->blockCount() - 1);

    // 1. Bring the target line to the vertical middle, as far as the text allows.
    const int middleLine = cursorForPosition(QPoint(0, viewport()->height() / 2)).blockNumber();
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + (targetLine - middleLine));

    // 2. Caret at the start of the line.
    const QTextBlock block = text->findBlockByNumber(targetLine);
    QTextCursor cursor(block);
    setTextCursor(cursor);
    ensureCursorVisible();

    // 3. Keyboard focus to the editor.
    setFocus(Qt::OtherFocusReason);

    // 4. Caret before the chosen column, kept within the line.
    const int column = qBound(0, doc->errorColumn() - 1, block.length() - 1);
    cursor.setPosition(block.position() + column);
    setTextCursor(cursor);
    ensureCursorVisible();
    setMarkedLine(targetLine);
}

namespace {

// The printing font: the editor's face at ten points on the printer.
QFont printingFont() {
    QFont font = CWinKoltView::editorFont();
    font.setPointSize(10);
    return font;
}

QRect pageAreaOf(QPrinter* printer) {
    return QRect(QPoint(0, 0), printer->pageRect(QPrinter::DevicePixel).size().toSize());
}

}  // namespace

bool CWinKoltView::printTo(QPrinter* printer) const {
    PagedTextPrinter pages(printableText(doc->plainText()), doc->path().isEmpty() ? doc->title() : doc->path(),
                           printingFont());
    pages.layout(printer, pageAreaOf(printer));
    QPainter painter;
    if (!painter.begin(printer)) return false;
    const int count = pages.pageCount();
    int from = printer->fromPage() > 0 ? printer->fromPage() : 1;
    int to = printer->toPage() > 0 ? qMin(printer->toPage(), count) : count;
    for (int page = from; page <= to; ++page) {
        if (page != from) printer->newPage();
        pages.paintPage(painter, page);
    }
    return painter.end();
}

int CWinKoltView::pageOfSelectionStart(QPrinter* printer) const {
    PagedTextPrinter pages(printableText(doc->plainText()), QString(), printingFont());
    pages.layout(printer, pageAreaOf(printer));
    QTextCursor start = textCursor();
    start.setPosition(start.selectionStart());
    return pages.pageOfLineAndColumn(start.blockNumber(),
                                     printableColumn(start.block().text(), start.positionInBlock()));
}

void CWinKoltView::print(QPrinter* printer) {
    QPrintDialog dialog(printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (dialog.exec() == QDialog::Accepted) printTo(printer);
}

void CWinKoltView::printPreview(QPrinter* printer) {
    QPrintPreviewDialog dialog(printer, this);
    // Large enough to read a page.
    if (const QScreen* shownOn = screen()) dialog.resize(shownOn->availableGeometry().size() * 4 / 5);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { printTo(p); });
    // Open at the page that holds the start of the selection.
    const int startPage = pageOfSelectionStart(printer);
    if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) {
        connect(
            preview, &QPrintPreviewWidget::previewChanged, &dialog,
            [preview, startPage] {
                if (preview->currentPage() != startPage && startPage <= preview->pageCount())
                    preview->setCurrentPage(startPage);
            },
            Qt::SingleShotConnection);
    }
    dialog.exec();
}

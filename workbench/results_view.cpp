#include "workbench/results_view.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "workbench/results_printer.h"
#include "workbench/results_table.h"
#include "workbench/winkolt_view.h"

using namespace ResultsTable;

class ResultsTableModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const QList<ResultRecord>& records, int sortColumn) {
        beginResetModel();
        rows = records;
        order = displayOrder(sortColumn);
        titles = headings(sortColumn);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(rows.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kColumnCount; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        if (role == Qt::DisplayRole) return text(index.row(), index.column());
        if (role == Qt::TextAlignmentRole) return alignment(index.column());
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
        if (role == Qt::DisplayRole) return titles.value(section);
        if (role == Qt::TextAlignmentRole) return alignment(section);
        return {};
    }

    QString text(int row, int column) const { return cellText(rows[row], order[column]); }
    int alignment(int column) const {
        return int((columns()[order[column] - 1].rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }

    QList<ResultRecord> rows;
    std::array<int, kColumnCount> order = displayOrder(1);
    QStringList titles = headings(1);
};

namespace {

// Cells are drawn on one line, vertically centred, 2 pixels in from the
// cell's edges in the first column and 6 in the others; a text that does not
// fit is cut from its end and ends in "...", and is then drawn from the left.
class ResultsCellDelegate : public QStyledItemDelegate {
  public:
    explicit ResultsCellDelegate(CResultsView* owner) : QStyledItemDelegate(owner), view(owner) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool highlighted = view->hasFocus() && view->selectionModel()->isSelected(index);
        painter->save();
        const QPalette& colours = option.palette;
        painter->fillRect(option.rect,
                          colours.brush(QPalette::Active, highlighted ? QPalette::Highlight : QPalette::Base));
        painter->setPen(colours.color(QPalette::Active, highlighted ? QPalette::HighlightedText : QPalette::Text));

        const bool first = index.column() == 0;
        const int inset = first ? 2 : 6;
        const int available = option.rect.width() - (first ? 4 : 12);
        const QFontMetrics& metrics = option.fontMetrics;
        QString text = index.data().toString();
        Qt::Alignment alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask;
        if (first) alignment = Qt::AlignLeft;
        if (metrics.horizontalAdvance(text) > available) {
            const QString dots = QStringLiteral("...");
            qsizetype keep = text.size();
            while (keep > 0 && metrics.horizontalAdvance(text.left(keep) + dots) > available) --keep;
            text = text.left(keep) + dots;
            alignment = Qt::AlignLeft;
        }
        const QRect textRect = option.rect.adjusted(inset, 0, -inset, 0);
        painter->setClipRect(option.rect);
        painter->drawText(textRect, int(alignment | Qt::AlignVCenter | Qt::TextSingleLine), text);
        painter->restore();
    }

  private:
    CResultsView* view;
};

}  // namespace

CResultsView::CResultsView(QWidget* parent) : QTableView(parent), rowsModel(new ResultsTableModel(this)) {
    setObjectName(QStringLiteral("resultsView"));
    setModel(rowsModel);
    setItemDelegate(new ResultsCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 2);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSortIndicatorShown(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsMovable(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CResultsView::onHeadingClicked);
    showRecords({});
}

void CResultsView::showRecords(const QList<ResultRecord>& records) {
    QList<ResultRecord> sorted;
    sorted.reserve(records.size());
    for (int row : sortedRows(records, sortKey)) sorted.append(records[row]);
    rowsModel->setRows(sorted, sortKey);
    // The widths of the columns, but never so narrow that a heading is cut.
    const std::array<int, kColumnCount> order = displayOrder(sortKey);
    for (int i = 0; i < kColumnCount; ++i)
        setColumnWidth(i, qMax(columns()[order[i] - 1].width, horizontalHeader()->sectionSizeHint(i)));
}

const QList<ResultRecord>& CResultsView::shownRecords() const { return rowsModel->rows; }

QList<ResultRecord> CResultsView::selectedRecords() const {
    QList<ResultRecord> selected;
    for (int row = 0; row < rowsModel->rowCount(); ++row)
        if (selectionModel()->isRowSelected(row, {})) selected.append(rowsModel->rows[row]);
    return selected;
}

QStringList CResultsView::headingTexts() const { return rowsModel->titles; }

QStringList CResultsView::rowTexts(int row) const {
    QStringList cells;
    for (int column = 0; column < kColumnCount; ++column) cells << rowsModel->text(row, column);
    return cells;
}

int CResultsView::rowCount() const { return rowsModel->rowCount(); }

bool CResultsView::hasSelectedRows() const { return selectionModel()->hasSelection(); }

void CResultsView::copyTable() { QApplication::clipboard()->setText(clipboardText(selectedRecords(), sortKey)); }

void CResultsView::selectAllRows() { selectAll(); }

QFont CResultsView::printingFont() {
    QFont font = CWinKoltView::editorFont();
    font.setPointSize(10);
    return font;
}

bool CResultsView::printTo(QPrinter* printer, const QString& documentName) const {
    QList<QStringList> rows;
    for (int row = 0; row < rowCount(); ++row) rows << rowTexts(row);
    ResultsTablePrinter pages(headingTexts(), rows, documentName, printingFont());
    return pages.print(printer);
}

void CResultsView::onHeadingClicked(int displayedColumn) {
    sortKey = sortColumnAfterClick(sortKey, displayedColumn);
    emit sortRequested();
}

void CResultsView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(viewport());
    // The highlight of a selected row goes on to the right edge.
    const int right = columnViewportPosition(kColumnCount - 1) + columnWidth(kColumnCount - 1);
    const int first = qMax(0, rowAt(0));
    const int last = rowAt(viewport()->height() - 1) < 0 ? rowCount() - 1 : rowAt(viewport()->height() - 1);
    for (int row = first; row <= last && row < rowCount(); ++row)
        if (selectionModel()->isRowSelected(row, {}) && right < viewport()->width())
            painter.fillRect(QRect(right, rowViewportPosition(row), viewport()->width() - right, rowHeight(row)),
                             palette().brush(QPalette::Active, QPalette::Highlight));
    // The focused row's focus rectangle.
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect =
        QRect(0, rowViewportPosition(current.row()), qMax(right, viewport()->width()), rowHeight(current.row()));
    focus.backgroundColor = palette().color(
        QPalette::Active, selectionModel()->isRowSelected(current.row(), {}) ? QPalette::Highlight : QPalette::Base);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void CResultsView::keyPressEvent(QKeyEvent* event) {
    // Copying is the table command's alone: with it disabled (no row
    // selected) the key does nothing, rather than copy the current cell.
    if (event == QKeySequence::Copy) {
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CResultsView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void CResultsView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

#include "workbench/structure_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "workbench/structure_icons.h"

namespace {

constexpr int kImageSize = 16;
constexpr int kGap = 2;
constexpr int kLabelPadding = 3;
constexpr int kIdRole = Qt::UserRole;

struct RowParts {
    QRect box, image, label;
};

// The box, the image and the label, left to right, vertically centred in
// the row's cell. Rows without a check box keep its place, so that images
// line up.
RowParts rowParts(const QRect& cell, const QFontMetrics& metrics, const QString& label) {
    const int top = cell.top() + (cell.height() - kImageSize) / 2;
    RowParts parts;
    parts.box = QRect(cell.left() + kGap, top, kImageSize, kImageSize);
    parts.image = QRect(parts.box.right() + 1 + kGap, top, kImageSize, kImageSize);
    parts.label = QRect(parts.image.right() + 1 + kGap, cell.top(),
                        metrics.horizontalAdvance(label) + 2 * kLabelPadding, cell.height());
    return parts;
}

class StructureItemDelegate : public QStyledItemDelegate {
  public:
    explicit StructureItemDelegate(CStructureView* owner) : QStyledItemDelegate(owner), view(owner) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const StructureTree::Item& item = view->structureTree().item(index.data(kIdRole).toInt());
        const RowParts parts = rowParts(option.rect, option.fontMetrics, item.label);
        painter->save();
        if (item.check != StructureTree::NoBox) painter->drawPixmap(parts.box, structureCheckImage(item.check));
        painter->drawPixmap(parts.image, structureItemImage(item.image));
        // The selection shows also while another pane has the focus. Its
        // colours come from the application: the view's own palette hides
        // the selection everywhere but behind the label.
        const bool selected = view->selectionModel()->isSelected(index);
        const QPalette::ColorGroup group = view->hasFocus() ? QPalette::Active : QPalette::Inactive;
        const QPalette colours = QApplication::palette(view);
        if (selected) painter->fillRect(parts.label, colours.brush(group, QPalette::Highlight));
        painter->setPen(colours.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(parts.label.adjusted(kLabelPadding, 0, -kLabelPadding, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, item.label);
        if (view->hasFocus() && index == view->currentIndex()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(view);
            focus.rect = parts.label;
            focus.backgroundColor = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
            view->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, view);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const StructureTree::Item& item = view->structureTree().item(index.data(kIdRole).toInt());
        const RowParts parts = rowParts(QRect(0, 0, 0, 0), option.fontMetrics, item.label);
        return QSize(parts.label.right() + 1 + kGap, qMax(kImageSize + 2, option.fontMetrics.height() + 4));
    }

  private:
    CStructureView* view;
};

}  // namespace

CStructureView::CStructureView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("structureView"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setIndentation(19);
    setUniformRowHeights(true);
    setDragEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(false);  // double clicks are handled below
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setItemDelegate(new StructureItemDelegate(this));
    // The tree draws no selection of its own across the row: the delegate
    // highlights the label alone.
    QPalette colours = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Highlight, colours.color(group, QPalette::Base));
        colours.setColor(group, QPalette::HighlightedText, colours.color(group, QPalette::Text));
    }
    setPalette(colours);
    refill({});
}

void CStructureView::refill(const QList<ResultRecord>& records) {
    tree.reset();
    tree.fill(records);
    clear();
    rows = QList<QTreeWidgetItem*>(tree.count(), nullptr);
    addRows(nullptr, StructureTree::Network);
    expandAll();
}

void CStructureView::addRows(QTreeWidgetItem* parentRow, int parentId) {
    auto* row = parentRow ? new QTreeWidgetItem(parentRow) : new QTreeWidgetItem(this);
    row->setData(0, kIdRole, parentId);
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    rows[parentId] = row;
    for (int child : tree.item(parentId).children) addRows(row, child);
}

int CStructureView::contentWidth() const { return sizeHintForColumn(0) + 2 * frameWidth() + 4; }

QTreeWidgetItem* CStructureView::rowOf(int id) const { return rows.value(id); }

int CStructureView::idOf(const QTreeWidgetItem* row) const { return row ? row->data(0, kIdRole).toInt() : -1; }

QRect CStructureView::partRect(int id, Part part) const {
    const QTreeWidgetItem* row = rowOf(id);
    if (!row) return {};
    const RowParts parts = rowParts(visualItemRect(row), fontMetrics(), tree.item(id).label);
    return part == Part::Box     ? parts.box
           : part == Part::Image ? parts.image
           : part == Part::Label ? parts.label
                                 : QRect();
}

CStructureView::Part CStructureView::partAt(const QPoint& position, int* id) const {
    const int at = idOf(itemAt(position));
    if (id) *id = at;
    if (at < 0) return Part::None;
    for (Part part : {Part::Box, Part::Image, Part::Label})
        if (partRect(at, part).contains(position)) return part;
    return Part::None;
}

void CStructureView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        int id = -1;
        const Part part = partAt(event->position().toPoint(), &id);
        if (part == Part::Image) {
            event->accept();
            return;
        }
        if ((part == Part::Box || part == Part::Label) && tree.item(id).check != StructureTree::NoBox) {
            tree.toggle(id);
            viewport()->update();
            emit checksChanged();
        }
    }
    QTreeWidget::mousePressEvent(event);
}

void CStructureView::mouseDoubleClickEvent(QMouseEvent* event) {
    const Part part = partAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && (part == Part::Box || part == Part::Label)) {
        event->accept();
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}

void CStructureView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
    // Dotted lines joining each item to its parent and its next sibling,
    // with a box marking items that can be expanded or collapsed.
    QTreeWidgetItem* row = itemFromIndex(index);
    if (!row) return;
    const int step = indentation();
    const int midY = rect.top() + rect.height() / 2;
    auto hasNextSibling = [this](QTreeWidgetItem* item) {
        const QTreeWidgetItem* parent = item->parent();
        return parent ? parent->indexOfChild(item) < parent->childCount() - 1
                      : indexOfTopLevelItem(item) < topLevelItemCount() - 1;
    };
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));

    int midX = rect.right() - step + step / 2;
    painter->drawLine(midX, midY, rect.right(), midY);
    painter->drawLine(midX, rect.top(), midX, hasNextSibling(row) ? rect.bottom() : midY);
    int x = midX;
    for (QTreeWidgetItem* ancestor = row->parent(); ancestor; ancestor = ancestor->parent()) {
        x -= step;
        if (hasNextSibling(ancestor)) painter->drawLine(x, rect.top(), x, rect.bottom());
    }
    if (row->childCount() > 0) {
        const QRect box(midX - 4, midY - 4, 8, 8);
        painter->setPen(palette().color(QPalette::Dark));
        painter->setBrush(palette().color(QPalette::Base));
        painter->drawRect(box);
        painter->setPen(palette().color(QPalette::Text));
        painter->drawLine(box.left() + 2, midY, box.right() - 2, midY);
        if (!row->isExpanded()) painter->drawLine(midX, box.top() + 2, midX, box.bottom() - 2);
    }
    painter->restore();
}

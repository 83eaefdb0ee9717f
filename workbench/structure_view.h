// The structure tree pane of the results window: a thin widget over a
// StructureTree. Each row shows the item's check box, its image and its
// label, with connecting lines.
//
// Only the mouse changes a check box: a left press on the box or on the
// label of an item that has one toggles it (checksChanged() follows); a
// press on the image does nothing at all. A double click on the box or the
// label does nothing either (no expanding or collapsing). The keyboard moves
// the selection and expands and collapses as in any tree.
#pragma once

#include <QTreeWidget>

#include "workbench/structure_tree.h"

class CStructureView : public QTreeWidget {
    Q_OBJECT
  public:
    explicit CStructureView(QWidget* parent = nullptr);

    const StructureTree& structureTree() const { return tree; }

    // The fixed items, all checked, then the data items of records.
    void refill(const QList<ResultRecord>& records);

    // Width that shows every label without scrolling.
    int contentWidth() const;

    // The widget row of a tree item, and back.
    QTreeWidgetItem* rowOf(int id) const;
    int idOf(const QTreeWidgetItem* row) const;

    // Parts of a row for hit testing and painting, in viewport coordinates.
    enum class Part { None, Box, Image, Label };
    Part partAt(const QPoint& position, int* id = nullptr) const;
    QRect partRect(int id, Part part) const;

  signals:
    // A click changed the check boxes.
    void checksChanged();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

  private:
    void addRows(QTreeWidgetItem* parentRow, int parentId);

    StructureTree tree;
    QList<QTreeWidgetItem*> rows;  // by item id
};

#pragma once

#include <QTreeView>

#include "core/IRowCountSource.h"

namespace tagwell {

// The item list of the data control (lvListView): a flat report view with
// rows of one height, no label editing, single selection of whole rows, and
// header clicks that only choose a sort key (the rows are not reordered).
// It tells the display update how many whole rows it shows at once and which
// row is at the top.
class XOPCItemListView : public QTreeView, public IRowCountSource {
    Q_OBJECT
public:
    explicit XOPCItemListView(QWidget* parent = nullptr);

    // Whole rows that fit in the viewport; 0 when none does.
    int32_t countPerPage() const override;
    // The row at the top of the viewport, or -1 when the list shows none.
    int FirstVisibleRow() const;
    // Makes the row the current, selected one without scrolling.
    void SelectRow(int row);

protected:
    // Rows are all one height and have no children, so a changed cell needs
    // nothing but a repaint when it is on screen. (The tree view would first
    // look the row up in its list of shown rows, a search that can run
    // through every row of a large group.)
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

private:
    int rowHeight() const;
};

}  // namespace tagwell

#include "controls/xopc/XOPCItemListView.h"

#include <QHeaderView>
#include <QItemSelectionModel>

namespace tagwell {

XOPCItemListView::XOPCItemListView(QWidget* parent) : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
}

int XOPCItemListView::rowHeight() const
{
    if (model() && model()->rowCount() > 0) {
        const int h = indexRowSizeHint(model()->index(0, 0));
        if (h > 0)
            return h;
    }
    return fontMetrics().height() + 2;
}

int32_t XOPCItemListView::countPerPage() const
{
    const int h = rowHeight();
    return h > 0 ? viewport()->height() / h : 0;
}

int XOPCItemListView::FirstVisibleRow() const
{
    const QModelIndex top = indexAt(QPoint(0, 0));
    return top.isValid() ? top.row() : -1;
}

void XOPCItemListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                   const QList<int>& /*roles*/)
{
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    const int first = FirstVisibleRow();
    if (first < 0)
        return;
    const QModelIndex bottom = indexAt(QPoint(0, viewport()->height() - 1));
    const int last = bottom.isValid() ? bottom.row() : model()->rowCount() - 1;
    if (bottomRight.row() >= first && topLeft.row() <= last)
        viewport()->update();
}

void XOPCItemListView::SelectRow(int row)
{
    if (!model() || !selectionModel() || row < 0 || row >= model()->rowCount())
        return;
    const bool scrolling = hasAutoScroll();
    setAutoScroll(false);
    selectionModel()->setCurrentIndex(model()->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect |
                                          QItemSelectionModel::Rows);
    setAutoScroll(scrolling);
}

}  // namespace tagwell

#include "controls/xopc/XOPCLayout.h"

#include <cstddef>

namespace tagwell {

namespace {

constexpr double TitleRightGap = 120;
constexpr double TitleRightMargin = 75;
constexpr double ListLeftWithTree = 3030;  // right of the tree, 15 apart
constexpr double ListRightWithTree = 3060;
constexpr double ListRightWithoutTree = 45;
constexpr double LogRightMargin = 90;
constexpr double ColumnSlack = 120;  // room for the list's border and scroll bar

}  // namespace

const std::array<double, XOPCLayout::ColumnCount>& XOPCLayout::ColumnShares()
{
    static const std::array<double, ColumnCount> shares{3.0 / 8, 3.0 / 16, 3.0 / 32, 7.0 / 32,
                                                        3.0 / 32};
    return shares;
}

XOPCLayout XOPCLayout::Arrange(double W, double H, bool showToolbar, bool showTree, bool showLog)
{
    XOPCLayout l;
    l.toolbarVisible = showToolbar;
    l.treeVisible = showTree;
    l.logVisible = showLog;

    const double toolbarTop = 0;
    const double toolbarHeight = showToolbar ? ToolbarHeight : 0;
    l.toolbar = {0, toolbarTop, W, toolbarHeight};

    l.title.width = W - ButtonsRight - TitleRightGap;
    l.title.left = W - l.title.width - TitleRightMargin;

    l.tree.top = l.list.top = toolbarHeight;
    l.tree.left = Margin;
    if (showTree) {
        l.tree.width = TreeWidth;
        l.list.left = ListLeftWithTree;
        l.list.width = W - ListRightWithTree;
    } else {
        l.tree.width = 0;
        l.list.left = Margin;
        l.list.width = W - ListRightWithoutTree;
    }

    const double belowToolbar = toolbarTop + toolbarHeight;
    if (showLog) {
        l.list.height = 4 * H / 5 - belowToolbar;
        l.log.height = H - (belowToolbar + l.list.height + Gap);
    } else {
        l.list.height = H - (belowToolbar + Gap);
    }
    l.log.left = Margin;
    l.log.top = l.list.top + l.list.height + Gap;
    l.log.width = W - LogRightMargin;

    const double columnRoom = l.list.width - ColumnSlack;
    for (int c = 0; c < ColumnCount; ++c)
        l.columnWidths[std::size_t(c)] = ColumnShares()[std::size_t(c)] * columnRoom;

    l.tree.height = l.list.height;
    return l;
}

}  // namespace tagwell

#pragma once

#include <array>

namespace tagwell {

// Where the data control puts its panes, in twips, for a control of width W
// and height H. A pure calculation, so that the numbers can be checked apart
// from any widget:
//
//   toolbar (picTitles)   0, 0, W x 525 (height 0 when hidden)
//   tree (tvTreeView)     15, toolbar height, 3000 wide (0 when hidden)
//   list (lvListView)     3030 (15 without tree), W - 3060 (W - 45) wide
//   log (lstInfo)         15, below the list + 30, W - 90 wide
//
// With the log shown the list takes 4/5 of H less the toolbar and the log
// the rest less 30; without it the list reaches to 30 above the bottom. The
// title fills the toolbar right of the buttons, 75 from the right edge, and
// the list's columns share (list width - 120) as 3/8, 3/16, 3/32, 7/32, 3/32.
class XOPCLayout {
public:
    struct Rect {
        double left = 0, top = 0, width = 0, height = 0;
        bool operator==(const Rect&) const = default;
    };

    static constexpr double MinimumWidth = 3000;
    static constexpr double MinimumHeight = 1000;
    static constexpr double ToolbarHeight = 525;
    static constexpr double TreeWidth = 3000;
    static constexpr double Margin = 15;
    static constexpr double Gap = 30;
    // Right edge of the last toolbar button (cmdPause at 1560, 360 wide).
    static constexpr double ButtonsRight = 1920;
    static constexpr int ColumnCount = 5;

    // The column shares of the list, in column order.
    static const std::array<double, ColumnCount>& ColumnShares();

    static XOPCLayout Arrange(double W, double H, bool showToolbar, bool showTree, bool showLog);

    bool toolbarVisible = true;
    bool treeVisible = true;
    bool logVisible = true;
    Rect toolbar;
    Rect title;
    Rect tree;
    Rect list;
    Rect log;
    std::array<double, ColumnCount> columnWidths{};
};

}  // namespace tagwell

#pragma once

namespace tagwell {

// Where the explorer's window puts its data control and its event list when
// it is resized. Everything is in twips, the unit the window is designed in;
// the window converts to pixels when it places the widgets.
//
// The control sits 300 twips from the left and top edges. It takes the
// window's width less 600 and two thirds of its height; the list lies below
// it, as wide as the control and a third of the window's height less 1200
// high. A window too small for a rule keeps what that rule set last:
//
//   window 12795 x 10875: control 300, 300, 12195 x 7250;
//                         list    300, 7550, 12195 x 2425
//   window 12795 x 3000:  control height 2000; the list keeps its height
//                         (3000 / 3 - 1200 is not above 0)
//   window 500 x 500:     control and list keep their width and height
class ExplorerLayout {
public:
    struct Rect {
        double left = 0;
        double top = 0;
        double width = 0;
        double height = 0;
    };

    static constexpr double ControlLeft = 300;
    static constexpr double ControlTop = 300;
    // Window width taken by the margins around the control.
    static constexpr double HorizontalMargins = 600;
    // A window must be larger than this, in each direction, for the control
    // to follow it in that direction.
    static constexpr double SmallestFollowedSide = 601;
    // Window height taken by what is not the control or the list.
    static constexpr double ListHeightReserve = 1200;

    // Moves and sizes control and list for a window of that size; what a rule
    // does not set keeps its previous value.
    static void Arrange(double windowWidth, double windowHeight, Rect& control, Rect& list);
};

}  // namespace tagwell

#include "explorer_app/ExplorerLayout.h"

namespace tagwell {

void ExplorerLayout::Arrange(double windowWidth, double windowHeight, Rect& control, Rect& list)
{
    control.top = ControlTop;
    control.left = ControlLeft;
    if (windowWidth > SmallestFollowedSide)
        control.width = windowWidth - HorizontalMargins;
    if (windowHeight > SmallestFollowedSide) {
        control.height = windowHeight / 3 * 2;
        const double listHeight = windowHeight / 3 - ListHeightReserve;
        if (listHeight > 0)
            list.height = listHeight;
    }
    list.left = control.left;
    list.width = control.width;
    list.top = control.top + control.height;
}

}  // namespace tagwell

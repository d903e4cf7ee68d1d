#include "graph/OleColour.h"

#include <array>
#include <utility>

namespace tagwell::olecolour {

namespace {

struct SystemColour {
    unsigned number;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The desktop colours by their classic numbers, mapped onto palette roles.
constexpr std::array<SystemColour, 25> SystemColours{{
    {0, QPalette::Active, QPalette::Button},             // scroll bar
    {1, QPalette::Active, QPalette::Window},             // desktop
    {2, QPalette::Active, QPalette::Highlight},          // active caption
    {3, QPalette::Inactive, QPalette::Highlight},        // inactive caption
    {4, QPalette::Active, QPalette::Window},             // menu bar
    {5, QPalette::Active, QPalette::Base},               // window background
    {6, QPalette::Active, QPalette::Shadow},             // window frame
    {7, QPalette::Active, QPalette::WindowText},         // menu text
    {8, QPalette::Active, QPalette::WindowText},         // window text
    {9, QPalette::Active, QPalette::HighlightedText},    // caption text
    {10, QPalette::Active, QPalette::Mid},               // active border
    {11, QPalette::Inactive, QPalette::Mid},             // inactive border
    {12, QPalette::Active, QPalette::Dark},               // application workspace
    {13, QPalette::Active, QPalette::Highlight},         // highlight
    {14, QPalette::Active, QPalette::HighlightedText},   // highlighted text
    {15, QPalette::Active, QPalette::Button},            // button face
    {16, QPalette::Active, QPalette::Dark},              // button shadow
    {17, QPalette::Disabled, QPalette::Text},            // grey text
    {18, QPalette::Active, QPalette::ButtonText},        // button text
    {19, QPalette::Inactive, QPalette::HighlightedText}, // inactive caption text
    {20, QPalette::Active, QPalette::Light},             // button highlight
    {21, QPalette::Active, QPalette::Shadow},            // 3-D dark shadow
    {22, QPalette::Active, QPalette::Midlight},          // 3-D light
    {23, QPalette::Active, QPalette::ToolTipText},       // tooltip text
    {24, QPalette::Active, QPalette::ToolTipBase},       // tooltip background
}};

}  // namespace

QColor toQColor(OleColour colour, const QPalette& palette)
{
    if ((colour & SystemFlag) == 0)
        return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    const unsigned number = colour & 0xFFFFu;
    for (const auto& system : SystemColours) {
        if (system.number == number)
            return palette.color(system.group, system.role);
    }
    return palette.color(QPalette::Active, QPalette::WindowText);
}

}  // namespace tagwell::olecolour

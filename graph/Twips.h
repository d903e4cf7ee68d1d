#pragma once

#include <algorithm>
#include <cmath>

namespace tagwell::twips {

// Layout lengths of the graph widgets are kept in twips (1/1440 inch), the
// unit the control's layout is designed in; the plotting area itself works in
// pixels. This is the one place where the two meet: 15 twips per pixel, the
// ratio of a 96 dpi screen.
inline constexpr double PerPixel = 15.0;

// Further than any screen reaches; keeps wild positions inside int.
inline constexpr double LargestPixelCoordinate = 1 << 24;

// Twips to whole pixels, rounded to the nearest pixel and saturated.
inline int toPixels(double twips)
{
    double pixels = std::round(twips / PerPixel);
    if (std::isnan(pixels))
        return 0;
    return static_cast<int>(std::clamp(pixels, -LargestPixelCoordinate, LargestPixelCoordinate));
}

inline double fromPixels(double pixels) { return pixels * PerPixel; }

}  // namespace tagwell::twips

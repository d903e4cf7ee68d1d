#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace tagwell {

// Colours of the graph's persisted properties are kept as classic colour
// values: 0x00BBGGRR for a plain colour, or 0x800000nn for system colour nn,
// which follows the desktop's palette.
using OleColour = std::uint32_t;

namespace olecolour {
inline constexpr OleColour SystemFlag = 0x80000000u;
inline constexpr OleColour WindowText = SystemFlag | 8u;
inline constexpr OleColour InfoBackground = SystemFlag | 24u;
inline constexpr OleColour Black = 0x000000u;
inline constexpr OleColour White = 0xFFFFFFu;
inline constexpr OleColour Red = 0x0000FFu;
inline constexpr OleColour Green = 0x00FF00u;
inline constexpr OleColour Blue = 0xFF0000u;

// The colour to paint with. System colours are looked up in palette; an
// unknown system colour number gives the palette's window text colour.
QColor toQColor(OleColour colour, const QPalette& palette);
}  // namespace olecolour

}  // namespace tagwell

// Colours shared by more than one window. The brood colours band the child
// grid and fill the legend's swatches: both read them from here, so they can
// never drift apart.
#pragma once

#include <QColor>
#include <array>

namespace bocavo::ui {

// Child grid bands, brood 1 (rows 1-8) to brood 4 (rows 19-20).
inline constexpr std::array<QRgb, 4> kBroodColours{
    qRgb(0xFF, 0xC0, 0x80), // light orange
    qRgb(0xFF, 0xFF, 0x80), // light yellow
    qRgb(0xFF, 0xE0, 0xC0), // pale apricot
    qRgb(0xFF, 0xFF, 0xC0), // pale cream
};

inline constexpr QRgb kCoupleBandColour = qRgb(0xC0, 0xFF, 0xC0); // parent pairs, pale green
inline constexpr QRgb kGridEmptyArea = qRgb(0x80, 0x80, 0x80);
inline constexpr QRgb kGridLines = qRgb(0xC0, 0xC0, 0xC0);
inline constexpr QRgb kGridFixedLines = qRgb(0x00, 0x00, 0x00);
inline constexpr QRgb kTextBoxGrey = qRgb(0xC0, 0xC0, 0xC0); // protocol and About texts

} // namespace bocavo::ui

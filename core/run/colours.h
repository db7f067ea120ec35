// Colours shared by more than one window. The brood colours band the child
// grid and fill the legend's swatches: both read them from here, so they can
// never drift apart. Plain 0xRRGGBB values, free of Qt, so that the browser
// edition paints with the same ones; QColor takes them as opaque colours.
#pragma once

#include <array>
#include <cstdint>

namespace bocavo::ui {

using Rgb = std::uint32_t; // 0xRRGGBB

// Child grid bands, brood 1 (rows 1-8) to brood 4 (rows 19-20).
inline constexpr std::array<Rgb, 4> kBroodColours{
    0xFFC080, // light orange
    0xFFFF80, // light yellow
    0xFFE0C0, // pale apricot
    0xFFFFC0, // pale cream
};

inline constexpr Rgb kCoupleBandColour = 0xC0FFC0; // parent pairs, pale green
inline constexpr Rgb kGridEmptyArea = 0x808080;
inline constexpr Rgb kGridLines = 0xC0C0C0;
inline constexpr Rgb kGridFixedLines = 0x000000;
inline constexpr Rgb kTextBoxGrey = 0xC0C0C0; // protocol and About texts

} // namespace bocavo::ui

// Every window's layout is given in twips (1/1440 inch). Kept free of Qt so
// that the browser edition lays its page out from the very same numbers.
#pragma once

namespace bocavo::ui {

inline constexpr int kTwipsPerPixel = 15; // twips per pixel at 96 dpi

// A window's scale, in quarters: at kUnitScale every window is drawn at its
// own size; a projector may want it 1.25, 1.5 or 2 times as large.
inline constexpr int kUnitScale = 4; // quarters

// Twips to whole pixels at `scale` quarters, to the nearest. At kUnitScale
// this is exactly (twips + 7) / 15: no twip count lies halfway.
constexpr int px(int twips, int scale = kUnitScale) {
    constexpr int kDivisor = kTwipsPerPixel * kUnitScale;
    return (twips * scale + kDivisor / 2) / kDivisor;
}

inline constexpr double kPointsPerPixel = 0.75; // points per pixel at 96 dpi

// A font's size at `scale` quarters: its pixels times the scale, rounded down
// to a whole pixel, so that a text never grows faster than its box (13.75
// pixels would be drawn at 14 and wrap). Every font of the layouts is a whole
// number of pixels, so at kUnitScale the size is the layout's own.
constexpr double scaledPoints(double points, int scale) {
    const int pixels = static_cast<int>(points / kPointsPerPixel * scale / kUnitScale + 1e-9);
    return pixels * kPointsPerPixel;
}

// A control's place in its container, in twips.
struct TwipBox {
    int left;
    int top;
    int width;
    int height;
};

} // namespace bocavo::ui

// Every window's layout is given in twips (1/1440 inch). Kept free of Qt so
// that the browser edition lays its page out from the very same numbers.
#pragma once

namespace bocavo::ui {

inline constexpr int kTwipsPerPixel = 15; // twips per pixel at 96 dpi

// Twips to whole pixels, to the nearest.
constexpr int px(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// A control's place in its container, in twips.
struct TwipBox {
    int left;
    int top;
    int width;
    int height;
};

} // namespace bocavo::ui

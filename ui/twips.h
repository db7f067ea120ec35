// Every window's layout is given in twips; this is the one place that turns
// them into Qt's logical pixels (15 twips to the pixel at 96 dpi).
#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

namespace bocavo::ui {

inline constexpr int kTwipsPerPixel = 15;

constexpr int px(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr QRect twipRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

constexpr QSize twipSize(int width, int height) {
    return QSize(px(width), px(height));
}

// A control's place in its container, in twips.
struct TwipBox {
    int left;
    int top;
    int width;
    int height;
};

// Places a control in its container, all four values in twips.
inline void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipRect(left, top, width, height));
}

inline void place(QWidget* widget, const TwipBox& box) {
    place(widget, box.left, box.top, box.width, box.height);
}

} // namespace bocavo::ui

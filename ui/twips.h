// Every window's layout is given in twips; this is the one place that turns
// them into Qt's geometry (15 twips to the pixel at 96 dpi, see px()).
#pragma once

#include "ui/twip_box.h"

#include <QRect>
#include <QSize>
#include <QWidget>

namespace bocavo::ui {

constexpr QRect twipRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

constexpr QSize twipSize(int width, int height) {
    return QSize(px(width), px(height));
}

// Places a control in its container, all four values in twips.
inline void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipRect(left, top, width, height));
}

inline void place(QWidget* widget, const TwipBox& box) {
    place(widget, box.left, box.top, box.width, box.height);
}

} // namespace bocavo::ui

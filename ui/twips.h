// Every window's layout is given in twips; this is the one place that turns
// them into Qt's geometry (15 twips to the pixel at 96 dpi, see px()).
#pragma once

#include "core/run/twip_box.h"

#include <QRect>
#include <QSize>
#include <QWidget>

namespace bocavo::ui {

// Every size below is in twips, drawn at `scale` quarters.
constexpr QRect twipRect(int left, int top, int width, int height, int scale = kUnitScale) {
    return QRect(px(left, scale), px(top, scale), px(width, scale), px(height, scale));
}

constexpr QSize twipSize(int width, int height, int scale = kUnitScale) {
    return QSize(px(width, scale), px(height, scale));
}

// Places a control in its container.
inline void place(QWidget* widget, int left, int top, int width, int height,
                  int scale = kUnitScale) {
    widget->setGeometry(twipRect(left, top, width, height, scale));
}

inline void place(QWidget* widget, const TwipBox& box, int scale = kUnitScale) {
    place(widget, box.left, box.top, box.width, box.height, scale);
}

} // namespace bocavo::ui

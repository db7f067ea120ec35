// Ctrl++, Ctrl+− and Ctrl+0: the classroom program's windows grow for a
// projector, a step at a time, and come back to their own size. Each scale is
// a fixed size of its own, so the windows stay unresizable.
#pragma once

#include "core/run/twip_box.h"

#include <array>
#include <functional>

class QWidget;

namespace bocavo::ui {

inline constexpr std::array<int, 4> kScales{4, 5, 6, 8}; // quarters: 1, 1.25, 1.5, 2

enum class ZoomKey { In, Out, Reset };

// The scale a key leads to from `scale`; the ends of kScales stay where they are.
int zoomedScale(int scale, ZoomKey key);

// Gives `window` the three keys, each calling `onKey` while the window is active.
void addZoomKeys(QWidget& window, const std::function<void(ZoomKey)>& onKey);

} // namespace bocavo::ui

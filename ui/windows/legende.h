// The legend of the child grid's four brood colours. It reads no simulation
// state, so it looks the same whenever it is shown.
#pragma once

#include "ui/windows/tool_window.h"

namespace bocavo::ui {

class legende : public ToolWindow {
    Q_OBJECT
public:
    legende();
};

} // namespace bocavo::ui

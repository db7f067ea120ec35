// The legend of the child grid's four brood colours. It reads no simulation
// state, so it looks the same whenever it is shown.
#pragma once

#include "ui/windows/tool_window.h"

#include <array>

class QFrame;
class QLabel;

namespace bocavo::ui {

class legende : public ToolWindow {
    Q_OBJECT
public:
    legende();

protected:
    void placeControls() override;

private:
    std::array<QFrame*, 4> swatches_{};
    std::array<QLabel*, 4> labels_{};
};

} // namespace bocavo::ui

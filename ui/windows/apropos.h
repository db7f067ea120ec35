// The About box: an authorship credit, the version history and a hint at the
// hidden gift.
#pragma once

#include "ui/windows/tool_window.h"

namespace bocavo::ui {

class apropos : public ToolWindow {
    Q_OBJECT
public:
    apropos();
};

} // namespace bocavo::ui

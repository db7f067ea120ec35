// The hidden gift: a picture with a congratulating caption, reached only
// through the protocol window's invisible corner.
#pragma once

#include "ui/windows/tool_window.h"

namespace bocavo::ui {

class Cadeau : public ToolWindow {
    Q_OBJECT
public:
    Cadeau();
};

} // namespace bocavo::ui

// The About box: an authorship credit, the version history and a hint at the
// hidden gift.
#pragma once

#include "ui/windows/tool_window.h"

class QPushButton;

namespace bocavo::ui {

class apropos : public ToolWindow {
    Q_OBJECT
public:
    apropos();

protected:
    void placeControls() override;

private:
    QPlainTextEdit* text_;
    QPushButton* ok_;
};

} // namespace bocavo::ui

// The hidden gift: a picture with a congratulating caption, reached only
// through the protocol window's invisible corner.
#pragma once

#include "ui/windows/tool_window.h"

#include <QPixmap>

class QLabel;
class QPushButton;

namespace bocavo::ui {

class Cadeau : public ToolWindow {
    Q_OBJECT
public:
    Cadeau();

protected:
    void placeControls() override;

private:
    QPixmap photo_;
    QLabel* picture_;
    QPushButton* ok_;
};

} // namespace bocavo::ui

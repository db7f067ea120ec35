// The classroom protocol that the simulation reproduces, with the program's
// note on how it departs from it. Its bottom-right corner hides a click area
// that asks for the gift window; whoever keeps the windows answers that.
#pragma once

#include "ui/windows/tool_window.h"

class QLabel;

namespace bocavo::ui {

class aprotocole : public ToolWindow {
    Q_OBJECT
public:
    aprotocole();

signals:
    // A click on the invisible corner area, Label2.
    void giftRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* clickArea_;
    bool pressedInArea_ = false;
};

} // namespace bocavo::ui

// The classroom protocol that the simulation reproduces, with the program's
// note on how it departs from it. Its bottom-right corner hides a click area
// that asks for the gift window; whoever keeps the windows answers that.
#pragma once

#include "ui/windows/tool_window.h"

class QLabel;
class QPushButton;

namespace bocavo::ui {

class aprotocole : public ToolWindow {
    Q_OBJECT
public:
    aprotocole();

signals:
    // A click on the invisible corner area, Label2.
    void giftRequested();

protected:
    void placeControls() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* title_;
    QPlainTextEdit* text1_;
    QPlainTextEdit* text2_;
    QPushButton* ok_;
    QLabel* clickArea_;
    bool pressedInArea_ = false;
};

} // namespace bocavo::ui

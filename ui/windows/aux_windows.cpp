#include "ui/windows/aux_windows.h"

#include "ui/windows/apropos.h"
#include "ui/windows/aprotocole.h"
#include "ui/windows/cadeau.h"
#include "ui/windows/legende.h"

namespace bocavo::ui {

AuxWindows::~AuxWindows() {
    closeAll();
}

template <typename Window> Window* AuxWindows::present(QPointer<Window>& slot) {
    if (slot.isNull()) {
        auto* window = new Window;
        slot = window;
        // A discarded window is only waiting for its deletion: forget it at
        // once, so that a request arriving before then gets a fresh one.
        connect(window, &ToolWindow::closed, this, [&slot, window] {
            if (slot == window) {
                slot.clear();
            }
        });
        window->setScale(scale_);
        addZoomKeys(*window, [this](ZoomKey key) { emit zoomRequested(key); });
    }
    Window* window = slot.data();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

legende* AuxWindows::showLegende() {
    return present(legende_);
}

aprotocole* AuxWindows::showProtocole() {
    const bool fresh = protocole_.isNull();
    aprotocole* window = present(protocole_);
    if (fresh) {
        connect(window, &aprotocole::giftRequested, this, &AuxWindows::showCadeau);
    }
    return window;
}

apropos* AuxWindows::showPropos() {
    return present(propos_);
}

Cadeau* AuxWindows::showCadeau() {
    return present(cadeau_);
}

void AuxWindows::setScale(int scale) {
    scale_ = scale;
    const QList<ToolWindow*> windows{legende_, protocole_, propos_, cadeau_};
    for (ToolWindow* window : windows) {
        if (window != nullptr)
            window->setScale(scale);
    }
}

void AuxWindows::closeAll() {
    // Parentless windows have no owner to take them down: delete them here.
    delete legende_.data();
    delete protocole_.data();
    delete propos_.data();
    delete cadeau_.data();
}

} // namespace bocavo::ui

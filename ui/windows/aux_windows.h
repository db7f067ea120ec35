// Keeps the auxiliary windows: at most one of each, made on the first request
// and shown modeless, without an owner. OK hides a window and the next request
// shows that same one; the caption bar's close button discards it and the next
// request makes a fresh one. The gift window belongs here too, not to the
// protocol window, so that it outlives it.
#pragma once

#include "ui/zoom.h"

#include <QObject>
#include <QPointer>

namespace bocavo::ui {

class legende;
class aprotocole;
class apropos;
class Cadeau;

class AuxWindows : public QObject {
    Q_OBJECT
public:
    AuxWindows() = default;
    // Removes every window, shown or hidden: they end with their keeper.
    ~AuxWindows() override;
    AuxWindows(const AuxWindows&) = delete;
    AuxWindows& operator=(const AuxWindows&) = delete;

    // Each shows its window (made first if need be), raises it and returns it.
    legende* showLegende();
    aprotocole* showProtocole();
    apropos* showPropos();
    Cadeau* showCadeau(); // what the protocol window's hidden corner asks for

    // Deletes every window at once, shown or hidden, e.g. when the program ends.
    void closeAll();

    // Every window, present and to come, at `scale` quarters: the main
    // window's scale.
    void setScale(int scale);

signals:
    // A zoom key pressed in one of the windows: the main window decides.
    void zoomRequested(ZoomKey key);

private:
    template <typename Window> Window* present(QPointer<Window>& slot);

    QPointer<legende> legende_;
    QPointer<aprotocole> protocole_;
    QPointer<apropos> propos_;
    QPointer<Cadeau> cadeau_;
    int scale_ = kUnitScale;
};

} // namespace bocavo::ui

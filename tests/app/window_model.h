// What a user may expect of the four auxiliary windows, kept beside the real
// ones and compared with them: at most one of each; a request shows it, the
// same one unless its close button discarded it; OK and hiding keep it.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <array>
#include <utility>

namespace probe {

enum AuxWindow { Legende, Protocole, Propos, Cadeau, kAuxWindows };

inline const char* const kAuxWindowNames[kAuxWindows] = {"legende", "aprotocole", "apropos",
                                                         "Cadeau"};

// Top-level windows of that name not yet deleted, shown or hidden.
inline QWidgetList windowsNamed(const char* name) {
    QWidgetList found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name))
            found << w;
    return found;
}

class WindowModel {
public:
    // The window was asked for; the next check learns which instance answered.
    void requested(AuxWindow i) {
        pendingRequest_ = i;
        slots_[i].visible = true;
    }
    void hidden(AuxWindow i) { slots_[i].visible = false; }
    void discarded(AuxWindow i) { slots_[i] = {}; }

    QWidget* instance(AuxWindow i) const { return slots_[i].instance; }
    bool isShown(AuxWindow i) const { return slots_[i].exists && slots_[i].visible; }

    // Compares with the real windows once discarded ones have been deleted;
    // returns what differs, or an empty string.
    QString check() {
        const int request = std::exchange(pendingRequest_, -1);
        for (int i = 0; i < kAuxWindows; ++i) {
            const char* name = kAuxWindowNames[i];
            const QWidgetList found = windowsNamed(name);
            Slot& e = slots_[i];
            if (found.size() > 1)
                return QStringLiteral("%1 instances of %2").arg(found.size()).arg(name);
            if (i == request) {
                if (found.isEmpty())
                    return QStringLiteral("%1 was asked for but none exists").arg(name);
                if (e.exists && found.first() != e.instance)
                    return QStringLiteral("%1 was made anew while one existed").arg(name);
                e.instance = found.first();
                e.exists = true;
            }
            if (!e.exists) {
                if (!found.isEmpty())
                    return QStringLiteral("%1 outlived its close button").arg(name);
                continue;
            }
            if (e.instance.isNull() || found.isEmpty() || found.first() != e.instance)
                return QStringLiteral("%1 disappeared").arg(name);
            if (e.instance->isVisible() != e.visible)
                return QStringLiteral("%1 is %2").arg(name, e.visible ? "hidden" : "shown");
        }
        return {};
    }

private:
    struct Slot {
        bool exists = false;        // until its close button discards it
        QPointer<QWidget> instance; // null too once deleted, whoever deleted it
        bool visible = false;
    };
    std::array<Slot, kAuxWindows> slots_{};
    int pendingRequest_ = -1;
};

} // namespace probe

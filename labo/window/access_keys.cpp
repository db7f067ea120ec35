#include "labo/window/access_keys.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace bocavo::labo {

void AccessKeyGuard::install(QWidget* window) {
    auto* guard = new AccessKeyGuard(window);
    // A spin box hands its keys straight to its own line edit: both are guarded.
    for (QLineEdit* field : window->findChildren<QLineEdit*>())
        field->installEventFilter(guard);
    for (QAbstractSpinBox* box : window->findChildren<QAbstractSpinBox*>())
        box->installEventFilter(guard);
}

bool AccessKeyGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers();
        // Only what no shortcut took reaches a field.
        if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) &&
            !key->text().isEmpty())
            return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace bocavo::labo

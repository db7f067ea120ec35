#include "ui/zoom.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>
#include <algorithm>

namespace bocavo::ui {

int zoomedScale(int scale, ZoomKey key) {
    if (key == ZoomKey::Reset)
        return kUnitScale;
    const auto at = std::find(kScales.begin(), kScales.end(), scale);
    if (at == kScales.end())
        return kUnitScale;
    if (key == ZoomKey::In)
        return at + 1 == kScales.end() ? scale : *(at + 1);
    return at == kScales.begin() ? scale : *(at - 1);
}

void addZoomKeys(QWidget& window, const std::function<void(ZoomKey)>& onKey) {
    // Ctrl+= too: where "+" needs Shift, browsers take it for Ctrl++ as well.
    const std::pair<QKeySequence, ZoomKey> keys[] = {
        {QKeySequence(QKeySequence::ZoomIn), ZoomKey::In},
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), ZoomKey::In},
        {QKeySequence(QKeySequence::ZoomOut), ZoomKey::Out},
        {QKeySequence(Qt::CTRL | Qt::Key_0), ZoomKey::Reset},
    };
    for (const auto& [sequence, key] : keys) {
        auto* shortcut = new QShortcut(sequence, &window);
        QObject::connect(shortcut, &QShortcut::activated, &window,
                         [onKey, key = key] { onKey(key); });
    }
}

} // namespace bocavo::ui

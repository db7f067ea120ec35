// The programs' icon, one image per size; the main window, the legend window
// and the lab's window all carry it.
#pragma once

#include <QIcon>

namespace bocavo::ui {

// One icon, loaded once and shared by every window. Under X11 each window
// draws its icon through Qt's pixmap cache, keyed by the icon's own pixmaps:
// a fresh icon per window would leave its images in that cache, some 6 KB for
// every legend window ever opened. Never destroyed: a static destroyed at exit
// would free its pixmaps after the application object has gone.
inline QIcon bocavoIcon() {
    static const QIcon* const icon = [] {
        auto* shared = new QIcon;
        shared->addFile(QStringLiteral(":/icon16.png"), QSize(16, 16));
        shared->addFile(QStringLiteral(":/icon32.png"), QSize(32, 32));
        return shared;
    }();
    return *icon;
}

} // namespace bocavo::ui

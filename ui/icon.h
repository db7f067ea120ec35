// The program's icon, one image per size; the main window and the legend
// window both carry it.
#pragma once

#include <QIcon>

namespace bocavo::ui {

inline QIcon bocavoIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/icon16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icon32.png"), QSize(32, 32));
    return icon;
}

} // namespace bocavo::ui

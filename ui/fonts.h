// The layouts were drawn for Verdana; where it is not installed DejaVu Sans,
// drawn from the same design, stands in. Shared by the main window and the
// protocol window.
#pragma once

#include <QFont>
#include <QString>

namespace bocavo::ui {

inline QFont verdanaFont(qreal points, QFont::Weight weight = QFont::Normal) {
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

} // namespace bocavo::ui

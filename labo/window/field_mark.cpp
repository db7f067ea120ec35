#include "labo/window/field_mark.h"

#include <QLineEdit>
#include <QPalette>

namespace bocavo::labo {

void mark(QLineEdit* field, const QString& reason) {
    QPalette colours; // empty: the field takes its parent's colours again
    if (!reason.isEmpty()) {
        colours = field->palette();
        colours.setColor(QPalette::Base, QColor(0xFF, 0xD8, 0xD8));
        colours.setColor(QPalette::Text, QColor(0xC0, 0x00, 0x00));
    }
    field->setPalette(colours);
    field->setToolTip(reason.isEmpty() ? field->whatsThis() : reason);
}

} // namespace bocavo::labo

#include "ui/windows/cadeau.h"

#include "ui/windows/aux_layouts.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace bocavo::ui {

using namespace cadeau_layout;

Cadeau::Cadeau()
    : ToolWindow(QStringLiteral("Cadeau"), QString::fromUtf8(kTitle), kClientWidth, kClientHeight,
                 Sizing::Fixed) {
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    place(picture, kPicture1);
    picture->setFrameStyle(QFrame::Box | QFrame::Plain);
    picture->setLineWidth(1);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setPixmap(QPixmap(QStringLiteral(":/cadeau.png")));
    // First in the tab order, so the window opens on the picture and a stray
    // Space cannot hide the gift at once.
    picture->setFocusPolicy(Qt::StrongFocus);

    auto* ok = new QPushButton(QString::fromUtf8(kCommand1Caption), this);
    ok->setObjectName(QStringLiteral("Command1"));
    place(ok, kCommand1);
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);
}

} // namespace bocavo::ui

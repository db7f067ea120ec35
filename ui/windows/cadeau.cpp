#include "ui/windows/cadeau.h"

#include "core/run/aux_layouts.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace bocavo::ui {

using namespace cadeau_layout;

Cadeau::Cadeau()
    : ToolWindow(QStringLiteral("Cadeau"), QString::fromUtf8(kTitle), kClientWidth, kClientHeight,
                 Sizing::Fixed),
      photo_(QStringLiteral(":/cadeau.png")) {
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("Picture1"));
    picture_->setFrameStyle(QFrame::Box | QFrame::Plain);
    picture_->setLineWidth(1);
    picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // First in the tab order, so the window opens on the picture and a stray
    // Space cannot hide the gift at once.
    picture_->setFocusPolicy(Qt::StrongFocus);

    ok_ = new QPushButton(QString::fromUtf8(kCommand1Caption), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    connect(ok_, &QPushButton::clicked, this, &QWidget::hide);
    placeControls();
}

void Cadeau::placeControls() {
    place(picture_, kPicture1, scale());
    // The photo grows with its frame; at the unit scale it is shown as it is.
    picture_->setPixmap(scale() == kUnitScale
                            ? photo_
                            : photo_.scaled(photo_.size() * scale() / kUnitScale,
                                            Qt::KeepAspectRatio, Qt::SmoothTransformation));
    place(ok_, kCommand1, scale());
}

} // namespace bocavo::ui

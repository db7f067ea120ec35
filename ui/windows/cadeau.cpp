#include "ui/windows/cadeau.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace bocavo::ui {

namespace {

inline constexpr int kClientWidth = 5055;  // twips
inline constexpr int kClientHeight = 4080; // twips

// The picture (178 x 154 pixels) inside a one-pixel border.
inline constexpr TwipBox kPicture1{1095, 375, 2700, 2340};
inline constexpr TwipBox kCommand1{1290, 3135, 2190, 675};

} // namespace

Cadeau::Cadeau()
    : ToolWindow(QStringLiteral("Cadeau"),
                 QStringLiteral("Bravo ta gagné une photo de Mr. Brastel !!!"), kClientWidth,
                 kClientHeight, Sizing::Fixed) {
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

    auto* ok = new QPushButton(QStringLiteral("&OK !!!"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    place(ok, kCommand1);
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);
}

} // namespace bocavo::ui

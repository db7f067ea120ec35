#include "labo/window/picture_size_dialog.h"

#include "labo/window/chart_export.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace bocavo::labo {

inline constexpr int kMinPictureSide = 100; // pixels

PictureSizeDialog::PictureSizeDialog(QSize onScreen, QWidget* parent)
    : QDialog(parent), onScreen_(onScreen.expandedTo(QSize(1, 1))), width_(new QSpinBox),
      height_(new QLabel) {
    setObjectName("tailleImage");
    setWindowTitle("Taille de l'image");
    width_->setObjectName("largeur");
    // The height follows, and must stay within the same bound as the width.
    const double ratio = static_cast<double>(onScreen_.height()) / onScreen_.width();
    width_->setRange(
        kMinPictureSide,
        std::max(kMinPictureSide,
                 std::min(kMaxPictureSide, static_cast<int>(kMaxPictureSide / ratio))));
    width_->setValue(onScreen_.width());
    width_->setSuffix(" pixels");
    height_->setObjectName("hauteur");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(width_, &QSpinBox::valueChanged, this, &PictureSizeDialog::showHeight);

    auto* label = new QLabel("&Largeur :");
    label->setBuddy(width_);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(width_);
    row->addWidget(height_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString("Le graphique mesure %1 × %2 pixels à l'écran.")
                                     .arg(onScreen_.width())
                                     .arg(onScreen_.height())));
    layout->addLayout(row);
    layout->addWidget(buttons);
    showHeight();
}

void PictureSizeDialog::showHeight() {
    height_->setText(QString("sur %1 pixels de haut").arg(chosenSize().height()));
}

QSize PictureSizeDialog::chosenSize() const {
    const int w = width_->value();
    const int h = static_cast<int>(static_cast<qint64>(w) * onScreen_.height() / onScreen_.width());
    return {w, std::max(1, h)};
}

} // namespace bocavo::labo

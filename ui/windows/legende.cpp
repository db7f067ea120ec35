#include "ui/windows/legende.h"

#include "core/run/aux_layouts.h"
#include "core/run/colours.h"
#include "ui/icon.h"

#include <QFrame>
#include <QLabel>
#include <array>

namespace bocavo::ui {

using namespace legende_layout;

namespace {

static_assert(kRows.size() == kBroodColours.size(), "one legend row per brood colour");

// A rectangle shape: solid fill in the brood colour, one-pixel outline in the
// window-text colour.
QFrame* createSwatch(QWidget* parent, const Row& row, Rgb colour) {
    auto* swatch = new QFrame(parent);
    swatch->setObjectName(QLatin1String(row.swatchName));
    swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    swatch->setLineWidth(1);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(colour));
    swatch->setPalette(palette);
    swatch->setAutoFillBackground(true);
    return swatch;
}

QLabel* createLabel(QWidget* parent, const Row& row) {
    auto* label = new QLabel(QString::fromUtf8(row.text), parent);
    label->setObjectName(QLatin1String(row.labelName));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    return label;
}

} // namespace

legende::legende()
    : ToolWindow(QStringLiteral("legende"), QString::fromUtf8(kTitle), kClientWidth, kClientHeight,
                 Sizing::Fixed) {
    setWindowIcon(bocavoIcon());
    for (std::size_t brood = 0; brood < kRows.size(); ++brood) {
        swatches_[brood] = createSwatch(this, kRows[brood], kBroodColours[brood]);
        labels_[brood] = createLabel(this, kRows[brood]);
    }
    placeControls();
}

void legende::placeControls() {
    for (std::size_t brood = 0; brood < kRows.size(); ++brood) {
        place(swatches_[brood], kRows[brood].swatch, scale());
        place(labels_[brood], kRows[brood].label, scale());
    }
}

} // namespace bocavo::ui

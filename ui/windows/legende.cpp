#include "ui/windows/legende.h"

#include "ui/colours.h"
#include "ui/icon.h"

#include <QFrame>
#include <QLabel>
#include <array>

namespace bocavo::ui {

namespace {

inline constexpr int kClientWidth = 4320;  // twips
inline constexpr int kClientHeight = 2130; // twips

// One row per brood, top to bottom. The lower two swatches sit one pixel above
// their labels, as they always have.
struct Row {
    const char* swatchName;
    TwipBox swatch;
    const char* labelName;
    TwipBox label;
    const char* text; // UTF-8
};

inline constexpr std::array<Row, 4> kRows{{
    {"Shape1",
     {360, 240, 495, 255},
     "Label1",
     {1080, 240, 2985, 255},
     "Premier enfant des 8 premiers couples"},
    {"Shape4",
     {360, 720, 495, 255},
     "Label5",
     {1080, 720, 2985, 255},
     "Deuxième enfant des 6 premiers couples"},
    {"Shape3",
     {360, 1185, 495, 255},
     "Label4",
     {1080, 1200, 2985, 255},
     "Troisième enfant des 4 premiers couples"},
    {"Shape2",
     {360, 1665, 495, 255},
     "Label3",
     {1080, 1680, 2985, 255},
     "Quatrième enfant des 2 premiers couples"},
}};
static_assert(kRows.size() == kBroodColours.size(), "one legend row per brood colour");

// A rectangle shape: solid fill in the brood colour, one-pixel outline in the
// window-text colour.
QFrame* createSwatch(QWidget* parent, const Row& row, QRgb colour) {
    auto* swatch = new QFrame(parent);
    swatch->setObjectName(QLatin1String(row.swatchName));
    place(swatch, row.swatch);
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
    place(label, row.label);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    return label;
}

} // namespace

legende::legende()
    : ToolWindow(QStringLiteral("legende"), QStringLiteral("Légende"), kClientWidth, kClientHeight,
                 Sizing::Fixed) {
    setWindowIcon(bocavoIcon());
    for (std::size_t brood = 0; brood < kRows.size(); ++brood) {
        createSwatch(this, kRows[brood], kBroodColours[brood]);
        createLabel(this, kRows[brood]);
    }
}

} // namespace bocavo::ui

#include "ui/main/frequency_panel.h"

#include "ui/twips.h"

#include <QLabel>

namespace bocavo::ui {

namespace {

// Rows inside the frame, measured from the frame's own top-left corner.
inline constexpr std::array<int, 4> kRowTops{360, 720, 1080, 1440}; // twips
inline constexpr int kCaptionLeft = 240;                            // twips
inline constexpr int kValueLeft = 1200;                             // twips
inline constexpr int kLabelWidth = 795;                             // twips
inline constexpr int kLabelHeight = 270;                            // twips

QLabel* createLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    // Not filled: the style shades the inside of a frame, and a label's own
    // face would show there as a patch. Nothing lies beneath a label anyway.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

FrequencyPanel::FrequencyPanel(const Names& names, QWidget* parent)
    : QGroupBox(QStringLiteral("Fréquence Allèliques :"), parent) {
    setObjectName(QLatin1String(names.frame));
    for (int k = 0; k < 4; ++k) {
        captions_[k] =
            createLabel(names.captions[k], QStringLiteral("Allèle %1 :").arg(k + 1), this);
        values_[k] = createLabel(names.values[k], QStringLiteral("%"), this);
        place(captions_[k], kCaptionLeft, kRowTops[k], kLabelWidth, kLabelHeight);
        place(values_[k], kValueLeft, kRowTops[k], kLabelWidth, kLabelHeight);
    }
}

QLabel* FrequencyPanel::valueLabel(int allele) const {
    return values_.at(allele - 1);
}

QString FrequencyPanel::valueText(int allele) const {
    return valueLabel(allele)->text();
}

void FrequencyPanel::setValueText(int allele, const QString& text) {
    valueLabel(allele)->setText(text);
}

void FrequencyPanel::showTexts(const std::array<std::string, 4>& texts) {
    for (int k = 1; k <= 4; ++k)
        setValueText(k, QString::fromStdString(texts[static_cast<std::size_t>(k - 1)]));
}

} // namespace bocavo::ui

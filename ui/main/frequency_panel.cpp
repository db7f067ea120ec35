#include "ui/main/frequency_panel.h"

#include "ui/twips.h"

#include <QLabel>

namespace bocavo::ui {

using namespace tableau_layout;

namespace {

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
    : QGroupBox(QString::fromUtf8(kFrameCaption), parent) {
    setObjectName(QLatin1String(names.frame));
    for (int k = 0; k < 4; ++k) {
        captions_[k] =
            createLabel(names.captions[k], QString::fromUtf8(kAlleleCaption).arg(k + 1), this);
        values_[k] = createLabel(names.values[k], QString::fromUtf8(kValueAtStart), this);
    }
    setScale(kUnitScale);
}

void FrequencyPanel::setScale(int scale) {
    for (std::size_t k = 0; k < 4; ++k) {
        place(captions_[k], kPanelCaptionLeft, kPanelRowTops[k], kPanelLabelWidth,
              kPanelLabelHeight, scale);
        place(values_[k], kPanelValueLeft, kPanelRowTops[k], kPanelLabelWidth, kPanelLabelHeight,
              scale);
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

// A frequency panel: a frame with four rows, one per allele, each a caption
// label and a value label. The window holds two of them, parents and children.
#pragma once

#include "core/run/tableau_layout.h"

#include <QGroupBox>
#include <array>
#include <string>

class QLabel;

namespace bocavo::ui {

class FrequencyPanel : public QGroupBox {
    Q_OBJECT

public:
    // Object names of the frame and of its labels, allele 1 first.
    using Names = tableau_layout::PanelNames;

    explicit FrequencyPanel(const Names& names, QWidget* parent = nullptr);

    // allele is 1..4
    QLabel* valueLabel(int allele) const;
    QString valueText(int allele) const;
    void setValueText(int allele, const QString& text);

    // The four value texts, allele 1 first, UTF-8.
    void showTexts(const std::array<std::string, 4>& texts);

    // Places the labels at `scale` quarters.
    void setScale(int scale);

private:
    std::array<QLabel*, 4> captions_{};
    std::array<QLabel*, 4> values_{};
};

} // namespace bocavo::ui

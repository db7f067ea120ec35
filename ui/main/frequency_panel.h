// A frequency panel: a frame with four rows, one per allele, each a caption
// label and a value label. The window holds two of them, parents and children.
#pragma once

#include <QGroupBox>
#include <QLocale>
#include <array>

class QLabel;

namespace bocavo::ui {

// A percentage as the panels show it: the user's decimal separator, no group
// separator, no trailing zeros, "%" right after the number (22.5 -> "22,5%").
QString frequencyText(float percent, const QLocale& locale);

class FrequencyPanel : public QGroupBox {
    Q_OBJECT

public:
    // Object names of the frame and of its labels, allele 1 first.
    struct Names {
        const char* frame;
        std::array<const char*, 4> captions;
        std::array<const char*, 4> values;
    };

    explicit FrequencyPanel(const Names& names, QWidget* parent = nullptr);

    // allele is 1..4
    QLabel* valueLabel(int allele) const;
    QString valueText(int allele) const;
    void setValueText(int allele, const QString& text);

    // Caption naming the generation whose frequencies the panel shows.
    void showGeneration(int generation);

private:
    std::array<QLabel*, 4> captions_{};
    std::array<QLabel*, 4> values_{};
};

} // namespace bocavo::ui

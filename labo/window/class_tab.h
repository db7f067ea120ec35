// "Une classe": the four allele frequencies of one class across the generations.
#pragma once

#include "labo/window/chart_tab.h"

#include <array>

class QLineSeries;
class QSpinBox;
class QValueAxis;

namespace bocavo::labo {

class ClassTab : public ChartTab {
    Q_OBJECT
public:
    explicit ClassTab(QWidget* parent = nullptr);

    QSpinBox* classBox() const { return classBox_; }
    const std::array<QLineSeries*, 4>& series() const { return series_; }

protected:
    void redraw() override;

private:
    QSpinBox* classBox_;
    QValueAxis* x_;
    std::array<QLineSeries*, 4> series_{};
};

} // namespace bocavo::labo

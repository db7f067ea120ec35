// "Fixation": per generation, the share of classes in which each allele is
// fixed and the share in which it is lost, with the mean generations of the
// first loss and of fixation.
#pragma once

#include "chart_tab.h"

#include <array>

class QLabel;
class QLineSeries;
class QValueAxis;

namespace bocavo::labo {

class FixationTab : public ChartTab {
    Q_OBJECT
public:
    explicit FixationTab(QWidget* parent = nullptr);

    QLabel* means() const { return means_; }
    const std::array<QLineSeries*, 4>& fixedSeries() const { return fixed_; }
    const std::array<QLineSeries*, 4>& lostSeries() const { return lost_; }

protected:
    void redraw() override;

private:
    QLabel* means_;
    QValueAxis* x_;
    std::array<QLineSeries*, 4> fixed_{};
    std::array<QLineSeries*, 4> lost_{};
};

} // namespace bocavo::labo

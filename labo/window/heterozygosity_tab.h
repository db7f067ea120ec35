// "Hétérozygotie": the mean heterozygosity over the classes against the curve
// that the effective size of the breeding scheme predicts.
#pragma once

#include "chart_tab.h"

class QLabel;
class QLineSeries;
class QValueAxis;

namespace bocavo::labo {

class HeterozygosityTab : public ChartTab {
    Q_OBJECT
public:
    explicit HeterozygosityTab(QWidget* parent = nullptr);

    QLabel* explanation() const { return explanation_; }
    QLineSeries* observed() const { return observed_; }
    QLineSeries* expected() const { return expected_; }

protected:
    void redraw() override;

private:
    QLabel* explanation_;
    QValueAxis* x_;
    QLineSeries* observed_;
    QLineSeries* expected_;
};

} // namespace bocavo::labo

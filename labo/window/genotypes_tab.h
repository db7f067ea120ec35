// "Génotypes": the mean share of each genotype over the classes of each set,
// beside the share Hardy–Weinberg gives within each class, with what the last
// generation on show says of the heterozygotes in a line of words.
#pragma once

#include "labo/window/chart_tab.h"

#include <vector>

class QLabel;
class QLineSeries;
class QValueAxis;

namespace bocavo::labo {

class ExplanationBox;

class GenotypesTab : public ChartTab {
    Q_OBJECT
public:
    explicit GenotypesTab(QWidget* parent = nullptr);

    ExplanationBox* explanation() const { return explanation_; }
    QLabel* heterozygotes() const { return heterozygotes_; }
    // One per line of the view last drawn, in its order; hidden past them.
    const std::vector<QLineSeries*>& series() const { return series_; }

protected:
    View viewOf(const std::vector<ViewSet>& sets, const ChartChoice& choice) override;
    void draw(const View& view) override;

private:
    ExplanationBox* explanation_;
    QLabel* heterozygotes_;
    QValueAxis* x_;
    QValueAxis* y_;
    // Made as lines come: two alleles draw six per set, four draw ten.
    std::vector<QLineSeries*> series_;
};

} // namespace bocavo::labo

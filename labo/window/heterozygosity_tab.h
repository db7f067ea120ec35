// "Hétérozygotie": the mean heterozygosity over the classes of each set
// against the curve that theory expects for it, with the expected figures
// (Ne, the mutation–drift equilibrium, the islands' differentiation) told in
// short French sentences.
#pragma once

#include "core/lab/view/expected_cache.h"
#include "labo/window/chart_tab.h"

#include <array>

class QLineSeries;

namespace bocavo::labo {

class ExplanationBox;

class HeterozygosityTab : public ChartTab {
    Q_OBJECT
public:
    explicit HeterozygosityTab(QWidget* parent = nullptr);

    ExplanationBox* explanation() const { return explanation_; }
    // Set 0 is A, set 1 is B.
    QLineSeries* observed(int set = 0) const { return observed_[static_cast<std::size_t>(set)]; }
    QLineSeries* expected(int set = 0) const { return expected_[static_cast<std::size_t>(set)]; }

protected:
    View viewOf(const std::vector<ViewSet>& sets, const ChartChoice& choice) override;
    void draw(const View& view) override;

private:
    ExpectedCache theory_;
    ExplanationBox* explanation_;
    std::array<QLineSeries*, kSets> observed_{};
    std::array<QLineSeries*, kSets> expected_{};
};

} // namespace bocavo::labo

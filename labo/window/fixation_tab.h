// "Fixation": for the allele followed, the share of classes in which it is
// fixed and the share in which it is lost, generation by generation, for each
// set; beside them the fixation that theory expects, and the mean generations
// of the first loss and of fixation.
#pragma once

#include "core/lab/view/expected_cache.h"
#include "labo/window/chart_tab.h"

#include <array>

class QComboBox;
class QLabel;
class QLineSeries;
class QValueAxis;

namespace bocavo::labo {

class ExplanationBox;

class FixationTab : public ChartTab {
    Q_OBJECT
public:
    explicit FixationTab(QWidget* parent = nullptr);

    QComboBox* alleleBox() const { return alleleBox_; }
    QLabel* means() const { return means_; }
    // What theory expects of the allele followed, set by set.
    ExplanationBox* lesson() const { return lesson_; }
    // Set 0 is A, set 1 is B.
    QLineSeries* fixedSeries(int set = 0) const { return fixed_[static_cast<std::size_t>(set)]; }
    QLineSeries* lostSeries(int set = 0) const { return lost_[static_cast<std::size_t>(set)]; }
    QLineSeries* expectedSeries(int set = 0) const {
        return theory_[static_cast<std::size_t>(set)];
    }

protected:
    View viewOf(const std::vector<ViewSet>& sets, const ChartChoice& choice) override;
    void draw(const View& view) override;

private:
    ExpectedCache expected_;
    QComboBox* alleleBox_;
    QLabel* means_;
    ExplanationBox* lesson_;
    std::array<QLineSeries*, kSets> fixed_{};
    std::array<QLineSeries*, kSets> lost_{};
    std::array<QLineSeries*, kSets> theory_{};
};

} // namespace bocavo::labo

// "Fixation": for the allele followed, the share of classes in which it is
// fixed and the share in which it is lost, generation by generation, for each
// set; beside them the fixation that theory expects, and the mean generations
// of the first loss and of fixation.
#pragma once

#include "core/lab/science/settings.h"
#include "core/lab/words/explanation.h"
#include "labo/window/chart_support.h"
#include "labo/window/chart_tab.h"

#include <QString>
#include <array>
#include <optional>

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
        return expected_[static_cast<std::size_t>(set)];
    }

protected:
    void redraw() override;

private:
    // What theory expects of one set. Working it out averages many founding
    // draws (some milliseconds), so it is kept while the set stays the same.
    struct Expected {
        Settings settings;
        int classes;
        std::array<std::optional<double>, 4> fixation;
        Explanation words;
    };
    const Expected& expectedOf(int set);

    std::array<std::optional<Expected>, kSets> expectedOf_;
    QComboBox* alleleBox_;
    QLabel* means_;
    ExplanationBox* lesson_;
    QValueAxis* x_;
    std::array<QLineSeries*, kSets> fixed_{};
    std::array<QLineSeries*, kSets> lost_{};
    std::array<QLineSeries*, kSets> expected_{};
};

} // namespace bocavo::labo

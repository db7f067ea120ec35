#include "labo/window/heterozygosity_tab.h"

#include "labo/window/chart_support.h"
#include "labo/window/explanation_box.h"

#include <QChart>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QValueAxis>

namespace bocavo::labo {

HeterozygosityTab::HeterozygosityTab(QWidget* parent)
    : ChartTab(parent), explanation_(new ExplanationBox("explicationNe")) {
    controls()->addWidget(explanation_, 1);

    QValueAxis* x = addAxis(chart(), Qt::AlignBottom);
    QValueAxis* y = addAxis(chart(), Qt::AlignLeft);
    setAxes(x, y);
    for (std::size_t set = 0; set < kSets; ++set) {
        observed_[set] = new QLineSeries;
        expected_[set] = new QLineSeries;
        for (QLineSeries* series : {observed_[set], expected_[set]}) {
            chart()->addSeries(series);
            attach(series, x, y);
        }
    }
    redraw();
}

View HeterozygosityTab::viewOf(const std::vector<ViewSet>& sets, const ChartChoice& choice) {
    return heterozygosityView(sets, choice, theory_);
}

void HeterozygosityTab::draw(const View& view) {
    for (std::size_t set = 0; set < kSets; ++set) {
        const int s = static_cast<int>(set);
        showLine(observed_[set], findLine(view.chart, Role::Heterozygosity, s));
        showLine(expected_[set], findLine(view.chart, Role::Expected, s));
    }
    explanation_->showWords(wordsOf(view.notes));
}

} // namespace bocavo::labo

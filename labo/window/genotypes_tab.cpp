#include "labo/window/genotypes_tab.h"

#include "labo/window/chart_support.h"
#include "labo/window/explanation_box.h"

#include <QChart>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QStringList>
#include <QVBoxLayout>
#include <QValueAxis>

namespace bocavo::labo {

GenotypesTab::GenotypesTab(QWidget* parent)
    : ChartTab(parent), explanation_(new ExplanationBox("explicationGenotypes")),
      heterozygotes_(new QLabel), x_(addAxis(chart(), Qt::AlignBottom)),
      y_(addAxis(chart(), Qt::AlignLeft)) {
    setObjectName("ongletGenotypes");
    heterozygotes_->setObjectName("heterozygotesObserves");
    heterozygotes_->setWordWrap(true); // a long line must never widen the window
    heterozygotes_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* texts = new QVBoxLayout;
    texts->addWidget(explanation_);
    texts->addWidget(heterozygotes_);
    controls()->addLayout(texts, 1);
    setAxes(x_, y_);
    redraw();
}

View GenotypesTab::viewOf(const std::vector<ViewSet>& sets, const ChartChoice& choice) {
    return genotypesView(sets, choice);
}

void GenotypesTab::draw(const View& view) {
    const std::vector<Line>& lines = view.chart.lines;
    while (series_.size() < lines.size()) {
        auto* series = new QLineSeries;
        chart()->addSeries(series);
        attach(series, x_, y_);
        series_.push_back(series);
    }
    for (std::size_t i = 0; i < series_.size(); ++i)
        showLine(series_[i], i < lines.size() ? &lines[i] : nullptr);
    QStringList status;
    for (const std::string& line : view.status)
        status << textOf(line);
    heterozygotes_->setText(status.join('\n'));
    explanation_->showWords(wordsOf(view.notes));
}

} // namespace bocavo::labo

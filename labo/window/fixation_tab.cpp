#include "labo/window/fixation_tab.h"

#include "labo/window/chart_support.h"
#include "labo/window/explanation_box.h"

#include <QChart>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QStringList>
#include <QVBoxLayout>
#include <QValueAxis>

namespace bocavo::labo {

FixationTab::FixationTab(QWidget* parent)
    : ChartTab(parent), alleleBox_(new QComboBox), means_(new QLabel),
      lesson_(new ExplanationBox("fixationAttendue")) {
    alleleBox_->setObjectName("alleleSuivi");
    showAlleles(alleleBox_, kMaxAlleles, 1);
    means_->setObjectName("moyennes");
    means_->setWordWrap(true); // a long line must never widen the window
    means_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* label = new QLabel("Allèle sui&vi :");
    label->setBuddy(alleleBox_);

    connect(alleleBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
        choose().allele = index + 1;
        redraw();
    });

    auto* texts = new QVBoxLayout;
    texts->addWidget(lesson_);
    texts->addWidget(means_);
    controls()->addWidget(label, 0, Qt::AlignTop);
    controls()->addWidget(alleleBox_, 0, Qt::AlignTop);
    controls()->addSpacing(12);
    controls()->addLayout(texts, 1);
    // Up to six entries (three per set): stacked on the right, each whole,
    // rather than elided side by side under a narrow chart.
    chart()->legend()->setAlignment(Qt::AlignRight);
    QValueAxis* x = addAxis(chart(), Qt::AlignBottom);
    QValueAxis* y = addAxis(chart(), Qt::AlignLeft);
    setAxes(x, y);
    for (std::size_t set = 0; set < kSets; ++set) {
        fixed_[set] = new QLineSeries;
        lost_[set] = new QLineSeries;
        theory_[set] = new QLineSeries;
        for (QLineSeries* series : {fixed_[set], lost_[set], theory_[set]}) {
            chart()->addSeries(series);
            attach(series, x, y);
        }
    }
    redraw();
}

View FixationTab::viewOf(const std::vector<ViewSet>& sets, const ChartChoice& choice) {
    return fixationView(sets, choice, expected_);
}

void FixationTab::draw(const View& view) {
    showAlleles(alleleBox_, view.commands.alleles, view.shown.allele);
    for (std::size_t set = 0; set < kSets; ++set) {
        const int s = static_cast<int>(set);
        showLine(fixed_[set], findLine(view.chart, Role::Fixed, s));
        showLine(lost_[set], findLine(view.chart, Role::Lost, s));
        showLine(theory_[set], findLine(view.chart, Role::Expected, s));
    }
    QStringList means;
    for (const std::string& line : view.status)
        means << textOf(line);
    means_->setText(means.join('\n'));
    lesson_->showWords(wordsOf(view.notes));
}

} // namespace bocavo::labo

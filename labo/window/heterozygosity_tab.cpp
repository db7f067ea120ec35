#include "labo/window/heterozygosity_tab.h"

#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"
#include "labo/window/explanation_box.h"
#include "labo/window/numbers.h"

#include <QChart>
#include <QHBoxLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

namespace bocavo::labo {
namespace {

constexpr int kMaxPoints = 2000;

} // namespace

HeterozygosityTab::HeterozygosityTab(QWidget* parent)
    : ChartTab(parent), explanation_(new ExplanationBox("explicationNe")) {
    controls()->addWidget(explanation_, 1);

    x_ = addAxis(chart(), Qt::AlignBottom, "Génération t", 0, 1, "%.0f");
    setGenerationAxis(x_);
    QValueAxis* y = addAxis(chart(), Qt::AlignLeft, "Hétérozygotie H = 1 − Σ p²", 0, 0.8, "%.1f");
    y->setTickCount(9);
    for (std::size_t set = 0; set < kSets; ++set) {
        observed_[set] = new QLineSeries;
        observed_[set]->setPen(observedPen(static_cast<int>(set)));
        expected_[set] = new QLineSeries;
        expected_[set]->setPen(expectedPen(static_cast<int>(set)));
        for (QLineSeries* series : {observed_[set], expected_[set]}) {
            chart()->addSeries(series);
            attach(series, x_, y);
        }
    }
}

void HeterozygosityTab::redraw() {
    const int from = firstShown();
    const int to = lastShown();
    const int step = sampleStep(to - from, kMaxPoints);
    const bool both = sets() > 1;
    std::vector<std::pair<QString, Explanation>> explained;
    for (int set = 0; set < kSets; ++set) {
        QLineSeries* observed = observed_[static_cast<std::size_t>(set)];
        QLineSeries* expected = expected_[static_cast<std::size_t>(set)];
        // Without a run, what the classroom's protocol expects.
        const Settings settings = set < sets() ? experiment(set)->settings() : Settings{};
        const int classes = set < sets() ? experiment(set)->classes() : 1;
        const bool shown = set < sets() || (set == 0 && sets() == 0);
        const QString prefix = both ? QString("%1 : ").arg(setName(set)) : QString();
        if (shown)
            explained.emplace_back(both ? setName(set) : QString(),
                                   heterozygosityExplanation(settings, classes));
        if (set < sets()) {
            const auto& meanH = stats(set)->meanHeterozygosity();
            observed->replace(sampled(from, lastShownOf(set), step,
                                      [&](int g) { return meanH[static_cast<std::size_t>(g)]; }));
        } else {
            observed->clear();
        }
        // Short names: a comparison's four fit on one legend line.
        observed->setName(both ? prefix + QString("moyenne, N = %1").arg(settings.individuals)
                               : QString("Moyenne des classes (N = %1)").arg(settings.individuals));
        // Theory's curve over what is on show, even past a set stopped early.
        const std::vector<double> curve = set < sets() && to >= 0
                                              ? expectedHeterozygosity(settings, to, classes)
                                              : std::vector<double>{};
        if (!curve.empty())
            expected->replace(
                sampled(from, to, step, [&](int g) { return curve[static_cast<std::size_t>(g)]; }));
        else
            expected->clear();
        const QString ne = decimal(effectiveSize(settings), 1);
        expected->setName(both ? prefix + QString("attendue, Ne = %1").arg(ne)
                               : QString("Attendue (Ne = %1)").arg(ne));
        // A set that is not in the run, or has no formula, leaves the legend.
        observed->setVisible(set < sets() || set == 0);
        expected->setVisible(!curve.empty() || (set == 0 && sets() == 0));
    }
    explanation_->showWords(explained);
    showGenerations();
    if (last() < 0) {
        chart()->setTitle("Hétérozygotie : aucune simulation");
        return;
    }
    chart()->setTitle(QString("Hétérozygotie moyenne de %1 classe%2%3 et courbe%4 attendue%4, "
                              "générations %5 à %6")
                          .arg(grouped(static_cast<std::uint64_t>(stats()->classes())))
                          .arg(stats()->classes() > 1 ? "s" : "")
                          .arg(both ? " par jeu" : "")
                          .arg(both ? "s" : "")
                          .arg(grouped(static_cast<std::uint64_t>(from)),
                               grouped(static_cast<std::uint64_t>(to))));
}

} // namespace bocavo::labo

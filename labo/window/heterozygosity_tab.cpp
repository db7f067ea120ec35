#include "heterozygosity_tab.h"

#include "chart_support.h"
#include "model/statistics.h"
#include "model/theory.h"

#include <QChart>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QValueAxis>

namespace bocavo::labo {
namespace {
constexpr int kMaxPoints = 2000;
}

HeterozygosityTab::HeterozygosityTab(QWidget* parent)
    : ChartTab(parent), explanation_(new QLabel), observed_(new QLineSeries),
      expected_(new QLineSeries) {
    const QString ne = frenchNumber(effectiveSize(Settings{}), 1);
    explanation_->setObjectName("explicationNe");
    explanation_->setWordWrap(true);
    explanation_->setText(
        QString("<b>Ne = %1</b> : les 20 parents ont 4, 4, 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, "
                "1, 0, 0, 0 et 0 enfants, soit 2 en moyenne avec une variance Vk = %2, et cette "
                "inégalité fait dériver la population comme une population idéale de "
                "Ne = (4N − 2)/(Vk + 2) = %1 individus seulement pour N = 20.")
            .arg(ne, frenchNumber(offspringVariance(Settings{}), 0)));
    controls()->addWidget(explanation_, 1);

    x_ = addAxis(chart(), Qt::AlignBottom, "Génération t", 0, 1, "%.0f");
    setGenerationAxis(x_);
    QValueAxis* y = addAxis(chart(), Qt::AlignLeft, "Hétérozygotie H = 1 − Σ p²", 0, 0.8, "%.1f");
    y->setTickCount(9);
    observed_->setName("Moyenne des classes");
    observed_->setPen(QPen(QColor(0x20, 0x20, 0x20), 2.5));
    expected_->setName(QString("Attendue : 0,75 × (1 − 1/(2 × %1))^t").arg(ne));
    expected_->setPen(QPen(QColor(0xC0, 0x00, 0x00), 2, Qt::DashLine));
    for (QLineSeries* series : {observed_, expected_}) {
        chart()->addSeries(series);
        attach(series, x_, y);
    }
}

void HeterozygosityTab::redraw() {
    const int end = last();
    const int from = firstShown();
    const int to = lastShown();
    const QString ne = frenchNumber(effectiveSize(Settings{}), 1);
    if (end < 0) {
        observed_->clear();
        expected_->clear();
        showGenerations();
        chart()->setTitle(QString("Hétérozygotie (Ne = %1) : aucune simulation").arg(ne));
        return;
    }
    const int step = sampleStep(to - from, kMaxPoints);
    const auto& meanH = stats()->meanHeterozygosity();
    observed_->replace(
        sampled(from, to, step, [&](int g) { return meanH[static_cast<std::size_t>(g)]; }));
    const std::vector<double> curve = expectedHeterozygosity(Settings{}, to);
    expected_->replace(
        sampled(from, to, step, [&](int g) { return curve[static_cast<std::size_t>(g)]; }));
    showGenerations();
    chart()->setTitle(QString("Hétérozygotie moyenne de %1 classe%2 et courbe attendue pour "
                              "Ne = %3, générations %4 à %5")
                          .arg(stats()->classes())
                          .arg(stats()->classes() > 1 ? "s" : "")
                          .arg(ne)
                          .arg(from)
                          .arg(to));
}

} // namespace bocavo::labo

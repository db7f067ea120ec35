#include "fixation_tab.h"

#include "chart_support.h"
#include "model/statistics.h"

#include <QChart>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QValueAxis>

namespace bocavo::labo {
namespace {

constexpr int kMaxPoints = 2000;

QString meanText(const char* event, const Statistics::Mean& mean, int classes) {
    if (mean.classes == 0)
        return QString("%1 : dans aucune classe pour l'instant").arg(event);
    return QString("%1 : génération %2 en moyenne (%3 classe%4 sur %5)")
        .arg(event, frenchNumber(mean.generation, 1))
        .arg(frenchNumber(mean.classes, 0), mean.classes > 1 ? "s" : "", frenchNumber(classes, 0));
}

} // namespace

FixationTab::FixationTab(QWidget* parent) : ChartTab(parent), means_(new QLabel) {
    means_->setObjectName("moyennes");
    means_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    controls()->addWidget(means_, 1);

    x_ = addAxis(chart(), Qt::AlignBottom, "Génération", 0, 1, "%.0f");
    setGenerationAxis(x_);
    QValueAxis* y = addAxis(chart(), Qt::AlignLeft, "Part des classes (%)", 0, 100, "%.0f");
    for (int k = 1; k <= 4; ++k) {
        auto* fixed = new QLineSeries;
        fixed->setName(QString("Allèle %1 fixé").arg(k));
        fixed->setPen(QPen(alleleColour(k), 2.5));
        auto* lost = new QLineSeries;
        lost->setName(QString("Allèle %1 perdu").arg(k));
        lost->setPen(QPen(alleleColour(k), 1.5, Qt::DashLine));
        for (QLineSeries* series : {fixed, lost}) {
            chart()->addSeries(series);
            attach(series, x_, y);
        }
        fixed_[static_cast<std::size_t>(k - 1)] = fixed;
        lost_[static_cast<std::size_t>(k - 1)] = lost;
    }
}

void FixationTab::redraw() {
    const int end = last();
    const int from = firstShown();
    const int to = lastShown();
    if (end < 0) {
        for (std::size_t k = 0; k < 4; ++k) {
            fixed_[k]->clear();
            lost_[k]->clear();
        }
        showGenerations();
        means_->setText("Aucune simulation.");
        chart()->setTitle("Fixation et perte : aucune simulation");
        return;
    }
    const Statistics& s = *stats();
    const double classes = s.classes();
    const int step = sampleStep(to - from, kMaxPoints);
    for (std::size_t k = 0; k < 4; ++k) {
        fixed_[k]->replace(sampled(from, to, step, [&](int g) {
            return 100.0 * s.fixedClasses()[static_cast<std::size_t>(g)][k] / classes;
        }));
        lost_[k]->replace(sampled(from, to, step, [&](int g) {
            return 100.0 * s.lostClasses()[static_cast<std::size_t>(g)][k] / classes;
        }));
    }
    showGenerations();
    const QString means = meanText("Première perte d'un allèle", s.meanFirstLoss(), s.classes()) +
                          " ; " + meanText("fixation", s.meanFixation(), s.classes());
    means_->setText(means + ".");
    chart()->setTitle(QString("Part des classes où chaque allèle est fixé (trait plein) ou perdu "
                              "(tirets), générations %1 à %2<br><small>%3</small>")
                          .arg(from)
                          .arg(to)
                          .arg(means));
}

} // namespace bocavo::labo

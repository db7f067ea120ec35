#include "class_tab.h"

#include "chart_support.h"
#include "model/experiment.h"

#include <QChart>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QSpinBox>
#include <QValueAxis>

namespace bocavo::labo {
namespace {
constexpr int kMaxPoints = 2000; // per allele; more would not show on a screen
}

ClassTab::ClassTab(QWidget* parent) : ChartTab(parent), classBox_(new QSpinBox) {
    classBox_->setObjectName("classe");
    classBox_->setRange(1, 1);
    auto* label = new QLabel("Classe &montrée :");
    label->setBuddy(classBox_);
    controls()->addWidget(label);
    controls()->addWidget(classBox_);
    controls()->addStretch(1);

    x_ = addAxis(chart(), Qt::AlignBottom, "Génération", 0, 1, "%.0f");
    setGenerationAxis(x_);
    QValueAxis* y = addAxis(chart(), Qt::AlignLeft, "Fréquence de l'allèle (%)", 0, 100, "%.0f");
    for (int k = 1; k <= 4; ++k) {
        auto* series = new QLineSeries;
        series->setName(QString("Allèle %1").arg(k));
        series->setPen(QPen(alleleColour(k), 2));
        chart()->addSeries(series);
        attach(series, x_, y);
        series_[static_cast<std::size_t>(k - 1)] = series;
    }
    connect(classBox_, &QSpinBox::valueChanged, this, [this] { redraw(); });
}

void ClassTab::redraw() {
    const int end = last();
    const int from = firstShown();
    const int to = lastShown();
    if (end < 0) {
        for (QLineSeries* series : series_)
            series->clear();
        classBox_->setMaximum(1);
        chart()->setTitle("Une classe : aucune simulation");
        showGenerations();
        return;
    }
    classBox_->setMaximum(experiment()->classes());
    const int c = classBox_->value();
    const int step = sampleStep(to - from, kMaxPoints);
    for (std::size_t k = 0; k < series_.size(); ++k)
        series_[k]->replace(sampled(
            from, to, step, [&](int g) { return percentOf(experiment()->counts(c, g)[k], experiment()->settings().copies()); }));
    showGenerations();
    chart()->setTitle(QString("Classe %1 : fréquence des quatre allèles, générations %2 à %3")
                          .arg(c)
                          .arg(from)
                          .arg(to));
}

} // namespace bocavo::labo

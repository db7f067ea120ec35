#include "labo/window/class_tab.h"

#include "core/lab/science/experiment.h"
#include "labo/window/chart_support.h"
#include "labo/window/numbers.h"

#include <QChart>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QValueAxis>

namespace bocavo::labo {
namespace {
constexpr int kMaxPoints = 2000; // per allele; more would not show on a screen
}

ClassTab::ClassTab(QWidget* parent)
    : ChartTab(parent), classBox_(new QSpinBox),
      open_(new QPushButton("Ouvrir cette classe dans Bocavo")) {
    addSetChooser();
    classBox_->setObjectName("classe");
    classBox_->setRange(1, 1);
    auto* label = new QLabel("Classe &montrée :");
    label->setBuddy(classBox_);
    controls()->addWidget(label);
    controls()->addWidget(classBox_);
    open_->setObjectName("ouvrirDansBocavo");
    open_->setEnabled(false);
    controls()->addWidget(open_);
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
    connect(open_, &QPushButton::clicked, this, [this] {
        if (!start_)
            return;
        if (const QString refused = startBocavo(*start_); !refused.isEmpty())
            emit problem(refused);
    });
}

void ClassTab::showOpenable(std::optional<BocavoStart> start) {
    start_ = std::move(start);
    open_->setEnabled(start_.has_value());
}

void ClassTab::redraw() {
    const int end = last();
    const int from = firstShown();
    const int to = lastShown();
    if (end < 0) {
        for (QLineSeries* series : series_)
            series->clear();
        classBox_->setMaximum(1);
        showOpenable(std::nullopt);
        chart()->setTitle("Une classe : aucune simulation");
        showGenerations();
        return;
    }
    const int set = shownSet();
    const Experiment& run = *experiment(set);
    const Settings& settings = run.settings();
    classBox_->setMaximum(run.classes());
    const int c = classBox_->value();
    showOpenable(bocavoStart(run, c, QCoreApplication::applicationDirPath()));
    const int until = lastShownOf(set);
    const int step = sampleStep(to - from, kMaxPoints);
    for (std::size_t k = 0; k < series_.size(); ++k) {
        const bool used = static_cast<int>(k) < settings.alleles;
        if (used)
            series_[k]->replace(sampled(from, until, step, [&](int g) {
                return percentOf(run.counts(c, g)[k], settings.copiesAt(g));
            }));
        else
            series_[k]->clear();
        series_[k]->setVisible(used);
    }
    showGenerations();
    chart()->setTitle(QString("Classe %1%2 : fréquence des %3 allèles, générations %4 à %5")
                          .arg(grouped(static_cast<std::uint64_t>(c)))
                          .arg(sets() > 1 ? QString(" du jeu %1").arg(setName(set)) : QString())
                          .arg(settings.alleles)
                          .arg(grouped(static_cast<std::uint64_t>(from)),
                               grouped(static_cast<std::uint64_t>(to))));
}

} // namespace bocavo::labo

#include "labo/window/chart_tab.h"

#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "labo/window/chart_support.h"

#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace bocavo::labo {

ChartTab::ChartTab(QWidget* parent)
    : QWidget(parent), chart_(newChart()), view_(new QChartView(chart_)),
      controls_(new QHBoxLayout), wholeRun_(new QPushButton("&Toute la simulation")) {
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setRubberBand(QChartView::HorizontalRubberBand);
    wholeRun_->setObjectName("touteLaSimulation");
    wholeRun_->setEnabled(false);
    auto* hint = new QLabel("Glissez sur le graphique pour agrandir une période, clic droit pour "
                            "reculer.");
    hint->setEnabled(false); // a discreet grey
    hint->setWordWrap(true); // on two lines rather than widen a small window
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(hint, 1);
    bottom->addWidget(wholeRun_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls_);
    layout->addWidget(view_, 1);
    layout->addLayout(bottom);
    connect(wholeRun_, &QPushButton::clicked, this, [this] {
        forgetZoom();
        redraw();
    });
}

void ChartTab::forgetZoom() {
    zoomed_ = false;
    wholeRun_->setEnabled(false);
}

void ChartTab::display(std::vector<SetRun> sets) {
    if (sets.empty() || sets_.empty() || sets.front().experiment != sets_.front().experiment)
        forgetZoom(); // another run: its whole length
    sets_ = std::move(sets);
    if (setBox_)
        setBox_->setEnabled(sets_.size() > 1);
    redraw();
}

void ChartTab::addSetChooser() {
    setBox_ = new QComboBox;
    setBox_->setObjectName("jeuMontre");
    setBox_->addItems({"Jeu A", "Jeu B"});
    setBox_->setEnabled(false);
    auto* label = new QLabel("&Jeu montré :");
    label->setBuddy(setBox_);
    controls_->addWidget(label);
    controls_->addWidget(setBox_);
    controls_->addSpacing(12);
    connect(setBox_, &QComboBox::currentIndexChanged, this, [this] { redraw(); });
}

int ChartTab::shownSet() const {
    return setBox_ ? std::min(setBox_->currentIndex(), std::max(0, sets() - 1)) : 0;
}

void ChartTab::showAlleles(QComboBox* box, int count) {
    if (box->count() == count)
        return;
    const QSignalBlocker quiet(box);
    const int chosen = std::min(box->currentIndex(), count - 1);
    box->clear();
    for (int k = 1; k <= count; ++k)
        box->addItem(QString("Allèle %1").arg(k));
    box->setCurrentIndex(std::max(0, chosen));
}

void ChartTab::zoomTo(int first, int last) {
    const int end = this->last();
    first = std::clamp(first, 0, std::max(0, end));
    last = std::clamp(last, first, std::max(0, end));
    zoomed_ = end > 0 && (first > 0 || last < end) && last > first;
    zoomFirst_ = first;
    zoomLast_ = last;
    wholeRun_->setEnabled(zoomed_);
    redraw();
}

int ChartTab::last() const {
    int end = -1;
    for (const SetRun& set : sets_)
        end = std::max(end, set.stats->generation());
    return end;
}

int ChartTab::lastShownOf(int set) const {
    return std::min(lastShown(), stats(set)->generation());
}

int ChartTab::firstShown() const {
    return zoomed_ ? zoomFirst_ : 0;
}

int ChartTab::lastShown() const {
    return zoomed_ ? std::min(zoomLast_, last()) : last();
}

void ChartTab::setGenerationAxis(QValueAxis* axis) {
    axis_ = axis;
    connect(axis, &QValueAxis::rangeChanged, this, &ChartTab::onAxisMoved);
    showGenerations();
}

void ChartTab::showGenerations() {
    moving_ = true;
    setGenerationRange(axis_, firstShown(), std::max(0, lastShown()));
    moving_ = false;
    markSizeChanges();
}

void ChartTab::markSizeChanges() {
    for (QLineSeries* mark : sizeMarks_) {
        chart_->removeSeries(mark);
        delete mark;
    }
    sizeMarks_.clear();
    const auto vertical = chart_->axes(Qt::Vertical);
    if (vertical.isEmpty())
        return;
    auto* y = qobject_cast<QValueAxis*>(vertical.front());
    if (!y)
        return;
    for (int set = 0; set < sets(); ++set) {
        for (const int g : changeGenerations(experiment(set)->settings())) {
            if (g < firstShown() || g > lastShown())
                continue;
            auto* mark = new QLineSeries;
            mark->setName(QString("N change (génération %1)").arg(g));
            mark->setPen(QPen(Qt::darkGray, 1.5, Qt::DashLine));
            mark->append(g, y->min());
            mark->append(g, y->max());
            chart_->addSeries(mark);
            attach(mark, axis_, y);
            for (QLegendMarker* marker : chart_->legend()->markers(mark))
                marker->setVisible(false);
            sizeMarks_.push_back(mark);
        }
    }
}

// A drag or a right click moved the axis: redraw that stretch in full detail,
// once the chart has finished its own handling of the mouse.
void ChartTab::onAxisMoved(qreal min, qreal max) {
    if (moving_ || last() <= 0)
        return;
    const int first = static_cast<int>(std::floor(min));
    const int end = static_cast<int>(std::ceil(max));
    QTimer::singleShot(0, this, [this, first, end] { zoomTo(first, end); });
}

} // namespace bocavo::labo

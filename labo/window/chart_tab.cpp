#include "chart_tab.h"

#include "chart_support.h"
#include "model/statistics.h"

#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
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

void ChartTab::display(const Experiment* experiment, const Statistics* stats) {
    if (experiment != experiment_ || !experiment) // another run: its whole length
        forgetZoom();
    experiment_ = experiment;
    stats_ = stats;
    redraw();
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
    return experiment_ && stats_ ? stats_->generation() : -1;
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

#include "labo/window/side_by_side_charts.h"

#include "labo/window/chart_support.h"
#include "labo/window/curve_bundle.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QScatterSeries>
#include <QValueAxis>

namespace bocavo::labo {
namespace {

inline constexpr qreal kMarkSize = 11; // pixels across a mark, before the look's scale

} // namespace

SetChart::SetChart(QWidget* parent)
    : QWidget(parent), chart_(newChart()), view_(new QChartView(chart_)),
      x_(addAxis(chart_, Qt::AlignBottom)), y_(addAxis(chart_, Qt::AlignLeft)),
      frame_(new ChartFrame(chart_, x_, y_, this)), curves_(new CurveBundle(chart_, x_, y_)),
      filled_(new QScatterSeries), hollow_(new QScatterSeries) {
    view_->setRubberBand(QChartView::HorizontalRubberBand);
    for (QScatterSeries* mark : {filled_, hollow_}) {
        chart_->addSeries(mark);
        attach(mark, x_, y_);
    }
    connect(x_, &QValueAxis::rangeChanged, this, [this](qreal min, qreal max) {
        if (!frame_->settingAxes())
            emit axisMoved(min, max);
    });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
}

void SetChart::draw(View view, const Look& look) {
    scaleLines(view, look);
    view_->setRenderHint(QPainter::Antialiasing, view.chart.lines.size() <= kSmoothCurves);
    curves_->setLines(view.chart.lines);
    for (QScatterSeries* mark : {filled_, hollow_}) {
        mark->clear();
        mark->setVisible(false);
        mark->setMarkerSize(kMarkSize * look.lines);
    }
    for (const Marker& marker : view.chart.markers) {
        QScatterSeries* mark = marker.filled ? filled_ : hollow_;
        const QColor colour = colourOf(marker.colour);
        mark->setColor(marker.filled ? colour : QColor(Qt::white));
        mark->setBorderColor(colour);
        mark->append(marker.at.x, marker.at.y);
        mark->setVisible(true);
    }
    frame_->show(view, look);
}

SideBySideCharts::SideBySideCharts(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int set = 0; set < kSets; ++set) {
        auto* chart = new SetChart;
        chart->view()->setObjectName(set == 0 ? "graphiqueJeuA" : "graphiqueJeuB");
        connect(chart, &SetChart::axisMoved, this, &SideBySideCharts::axisMoved);
        connect(chart->chart(), &QChart::plotAreaChanged, this, &SideBySideCharts::plotResized);
        layout->addWidget(chart, 1);
        charts_.push_back(chart);
    }
}

void SideBySideCharts::draw(const std::vector<View>& views, const Look& look) {
    for (std::size_t set = 0; set < charts_.size() && set < views.size(); ++set)
        charts_[set]->draw(views[set], look);
}

int SideBySideCharts::columns() const {
    return static_cast<int>(charts_.front()->chart()->plotArea().width());
}

} // namespace bocavo::labo

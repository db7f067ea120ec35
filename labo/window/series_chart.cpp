#include "labo/window/series_chart.h"

#include "labo/window/chart_support.h"

#include <QCategoryAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

namespace bocavo::labo {
namespace {

inline constexpr double kDiscSize = 9.0;    // pixels across
inline constexpr double kDiscOutline = 2.0; // pixels

} // namespace

SeriesChart::SeriesChart(QWidget* parent)
    : QChartView(newChart(), parent), sizes_(new QCategoryAxis),
      values_(addAxis(chart(), Qt::AlignLeft)) {
    setObjectName("graphiqueSerie");
    setRenderHint(QPainter::Antialiasing);
    // Each label stands at its own size, not in the middle of a range.
    sizes_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    chart()->addAxis(sizes_, Qt::AlignBottom);
}

void SeriesChart::draw(const Chart& shown) {
    chart()->removeAllSeries();
    for (const QString& label : sizes_->categoriesLabels())
        sizes_->remove(label);
    sizes_->setTitleText(textOf(shown.x.title));
    sizes_->setStartValue(shown.x.min);
    for (const AxisLabel& label : shown.x.labels)
        sizes_->append(textOf(label.text), label.at);
    sizes_->setRange(shown.x.min, shown.x.max);
    // Without sizes there is nothing to place: no bare title at a corner.
    sizes_->setVisible(!shown.x.labels.empty());
    showAxis(values_, shown.y);
    chart()->setTitle(textOf(shown.title));

    for (const Line& line : shown.lines) {
        auto* series = new QLineSeries;
        chart()->addSeries(series);
        attach(series, sizes_, values_);
        showLine(series, &line);
    }
    // The discs name nothing of their own: the legend is the lines'.
    for (const Marker& marker : shown.markers) {
        auto* disc = new QScatterSeries;
        disc->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        disc->setMarkerSize(kDiscSize);
        const QColor colour = colourOf(marker.colour);
        disc->setPen(QPen(colour, kDiscOutline));
        disc->setBrush(marker.filled ? QBrush(colour) : QBrush(Qt::white));
        disc->append(marker.at.x, marker.at.y);
        chart()->addSeries(disc);
        attach(disc, sizes_, values_);
        for (QLegendMarker* entry : chart()->legend()->markers(disc))
            entry->setVisible(false);
    }
}

} // namespace bocavo::labo

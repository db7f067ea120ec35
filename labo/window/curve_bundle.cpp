#include "labo/window/curve_bundle.h"

#include "labo/window/chart_support.h"

#include <QChart>
#include <QPainter>
#include <QValueAxis>

namespace bocavo::labo {
namespace {

// Above the grid and the axes, under the series (QtCharts draws its series
// at 5 and its axes at 4).
inline constexpr qreal kCurvesZ = 4.5;

} // namespace

CurveBundle::CurveBundle(QChart* chart, QValueAxis* x, QValueAxis* y)
    : QGraphicsItem(chart), chart_(chart), x_(x), y_(y) {
    setZValue(kCurvesZ);
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [this] {
        prepareGeometryChange();
        update();
    });
    for (QValueAxis* axis : {x, y})
        QObject::connect(axis, &QValueAxis::rangeChanged, chart, [this] { update(); });
}

void CurveBundle::setLines(const std::vector<Line>& lines) {
    curves_.clear();
    curves_.reserve(lines.size());
    for (const Line& line : lines) {
        Curve& curve = curves_.emplace_back();
        curve.pen = penOf(line);
        curve.points.reserve(static_cast<qsizetype>(line.points.size()));
        for (const Point& point : line.points)
            curve.points.append(QPointF(point.x, point.y));
    }
    update();
}

QRectF CurveBundle::boundingRect() const {
    return chart_->plotArea();
}

void CurveBundle::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const QRectF plot = chart_->plotArea();
    const double xSpan = x_->max() - x_->min();
    const double ySpan = y_->max() - y_->min();
    if (plot.isEmpty() || xSpan <= 0 || ySpan <= 0)
        return;
    painter->save();
    painter->setClipRect(plot);
    const double sx = plot.width() / xSpan;
    const double sy = plot.height() / ySpan;
    QPolygonF placed;
    for (const Curve& curve : curves_) {
        placed.resize(curve.points.size());
        for (qsizetype i = 0; i < curve.points.size(); ++i)
            placed[i] = QPointF(plot.left() + (curve.points[i].x() - x_->min()) * sx,
                                plot.bottom() - (curve.points[i].y() - y_->min()) * sy);
        painter->setPen(curve.pen);
        painter->drawPolyline(placed);
    }
    painter->restore();
}

} // namespace bocavo::labo

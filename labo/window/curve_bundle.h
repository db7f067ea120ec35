// Many curves of one chart drawn as one item of its scene. QtCharts lays a
// line series out again (a stroked outline of it, for the mouse) each time
// its points or the axes change: at a hundred classes, redrawn while a run
// grows, that alone held the window's event loop for most of a second. The
// class curves need no mouse; painting them is cheap.
#pragma once

#include "core/lab/view/chart.h"

#include <QGraphicsItem>
#include <QPen>
#include <QPolygonF>
#include <cstddef>
#include <vector>

class QChart;
class QValueAxis;

namespace bocavo::labo {

// Curves drawn smooth at most: hundreds of thin crossing curves read the same
// without, which would take most of the time of each redraw.
inline constexpr std::size_t kSmoothCurves = 100;

class CurveBundle : public QGraphicsItem {
public:
    // Drawn in `chart`'s plot area, on its axes `x` and `y`, under its series.
    CurveBundle(QChart* chart, QValueAxis* x, QValueAxis* y);

    // The core's lines as they are: points, colour, opacity, width, stroke.
    void setLines(const std::vector<Line>& lines);
    int count() const { return static_cast<int>(curves_.size()); }
    // Curve i as drawn: its pen, and its points in the axes' values.
    const QPen& pen(int i) const { return curves_[static_cast<std::size_t>(i)].pen; }
    const QPolygonF& points(int i) const { return curves_[static_cast<std::size_t>(i)].points; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    struct Curve {
        QPen pen;
        QPolygonF points; // in the axes' values
    };
    QChart* chart_;
    QValueAxis* x_;
    QValueAxis* y_;
    std::vector<Curve> curves_;
    QRectF plot_; // where they were last drawn
};

} // namespace bocavo::labo

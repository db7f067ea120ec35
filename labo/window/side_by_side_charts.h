// « A et B côte à côte »: the two charts the lab core deals a view out into,
// one per set on the same axes, each drawn as the core gives it (its lines,
// marks, title, axes and legend) and nothing computed here.
#pragma once

#include "core/lab/view/chart.h"
#include "labo/window/chart_frame.h"

#include <QWidget>
#include <vector>

class QChart;
class QChartView;
class QScatterSeries;
class QValueAxis;

namespace bocavo::labo {

class CurveBundle;

// One set's chart: its lines painted as one item (a comparison of every
// class draws a hundred), its marks, its frame.
class SetChart : public QWidget {
    Q_OBJECT
public:
    explicit SetChart(QWidget* parent = nullptr);

    QChartView* view() const { return view_; }
    QChart* chart() const { return chart_; }
    ChartFrame* frame() const { return frame_; }
    const CurveBundle* curves() const { return curves_; }
    void draw(View view, const Look& look);

signals:
    // The reader dragged across the chart, or zoomed out with a right click.
    void axisMoved(qreal min, qreal max);

private:
    QChart* chart_;
    QChartView* view_;
    QValueAxis* x_;
    QValueAxis* y_;
    ChartFrame* frame_;
    CurveBundle* curves_;
    QScatterSeries* filled_;
    QScatterSeries* hollow_;
};

class SideBySideCharts : public QWidget {
    Q_OBJECT
public:
    explicit SideBySideCharts(QWidget* parent = nullptr);

    // A's chart (0), then B's.
    SetChart* chart(int set) const { return charts_[static_cast<std::size_t>(set)]; }
    // The views as the core dealt them out, A then B.
    void draw(const std::vector<View>& views, const Look& look);
    // Pixels across each plot, for the core's drawing.
    int columns() const;

signals:
    void axisMoved(qreal min, qreal max);
    void plotResized();

private:
    std::vector<SetChart*> charts_;
};

} // namespace bocavo::labo

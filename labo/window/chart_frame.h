// What every chart of the lab's views wears, whoever draws its lines: the
// core's title and axes, fitted to the room the chart has (a title or an axis
// title too long for it goes onto more lines, never elided), the legend that
// wraps, the dashed marks where N changes, and the look of a desk's screen or
// of a projector.
#pragma once

#include "core/lab/view/chart.h"

#include <QFont>
#include <QObject>
#include <QString>
#include <vector>

class QChart;
class QLineSeries;
class QValueAxis;

namespace bocavo::labo {

class ChartLegend;

// How the charts are drawn: the core's line widths and the type as they are,
// or larger for a room that reads them from afar.
struct Look {
    double lines = 1.0; // times the core's Line.width
    double type = 1.0;  // times the usual type size, in the charts and the words
    bool operator==(const Look&) const = default;
};
// The projector's look: lines twice the core's width, type half as large again.
inline constexpr Look kProjectorLook{2.0, 1.5};

// The core's line widths as this look draws them.
void scaleLines(View& view, const Look& look);
// `text` broken at spaces into lines at most `width` wide in `font`, for a
// QtCharts title (which reads HTML); a word longer than the width keeps its line.
QString fittedTitle(const QString& text, const QFont& font, qreal width);

class ChartFrame : public QObject {
    Q_OBJECT
public:
    // The chart and its axes outlive the frame (they are the tab's).
    ChartFrame(QChart* chart, QValueAxis* x, QValueAxis* y, QObject* parent = nullptr);

    // The view's title, axes, legend and changes of N, in `look` (the view's
    // lines already scaled to it).
    void show(const View& view, const Look& look);
    ChartLegend* legend() const { return legend_; }
    // While show() sets the axes: their moves are not the reader's.
    bool settingAxes() const { return settingAxes_; }

private:
    // Titles and legend laid out again for the chart's size.
    void fit();
    void markSizeChanges(const View& view, const Look& look);

    QChart* chart_;
    QValueAxis* x_;
    QValueAxis* y_;
    ChartLegend* legend_;
    QFont titleFont_, labelFont_, axisTitleFont_, legendFont_; // the screen's
    int baseBottom_;                                           // the chart's own margin
    QString title_, xTitle_, yTitle_;                          // as the core wrote them
    Axis xAxis_, yAxis_;
    std::vector<QLineSeries*> sizeMarks_;
    bool settingAxes_ = false;
};

} // namespace bocavo::labo

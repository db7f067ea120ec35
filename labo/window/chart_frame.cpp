#include "labo/window/chart_frame.h"

#include "labo/window/chart_legend.h"
#include "labo/window/chart_support.h"

#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QStringList>
#include <QValueAxis>
#include <cmath>

namespace bocavo::labo {
namespace {

inline constexpr qreal kTextSlack = 12;       // pixels QtCharts keeps around a title's words
inline constexpr qreal kLegendEdge = 6;       // pixels between the legend and the chart's sides
inline constexpr qreal kLegendGap = 8;        // pixels between the axis' title and the legend
inline constexpr double kSizeMarkWidth = 1.5; // pixels, before the look's scale

// Labels of a value axis on steps of the core's: as many as fit, each whole.
// A step grows 1, 2, 5, 10… times the core's, so that the labels stay round.
void fitTicks(QValueAxis* axis, const Axis& shown, qreal room, bool across) {
    if (shown.tick <= 0 || shown.max <= shown.min)
        return;
    const QFontMetricsF metrics(axis->labelsFont());
    const QLocale french(QLocale::French, QLocale::France);
    const qreal label =
        across
            ? std::max(metrics.horizontalAdvance(french.toString(shown.min, 'f', shown.decimals)),
                       metrics.horizontalAdvance(french.toString(shown.max, 'f', shown.decimals))) +
                  0.5 * metrics.height()
            : 1.5 * metrics.height();
    double step = shown.tick;
    for (int k = 0;
         ((shown.max - shown.min) / step + 1) * label > room && step < shown.max - shown.min; ++k)
        step *= k % 3 == 1 ? 2.5 : 2.0;
    if (step != axis->tickInterval())
        axis->setTickInterval(step);
}

QFont scaled(QFont font, double scale) {
    font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

ChartLegend::Entry entryOf(const Line& line) {
    QPen pen(colourOf(line.colour, line.opacity), line.width, // a pale band pale here too
             line.stroke == Stroke::Dashed ? Qt::DashLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    return {textOf(line.name), pen};
}

} // namespace

void scaleLines(View& view, const Look& look) {
    for (Line& line : view.chart.lines)
        line.width *= look.lines;
}

QString fittedTitle(const QString& text, const QFont& font, qreal width) {
    const QFontMetricsF metrics(font);
    QStringList lines;
    QString line;
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + ' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line.toHtmlEscaped();
            line = word;
        } else {
            line = longer;
        }
    }
    lines << line.toHtmlEscaped();
    return lines.join("<br>");
}

ChartFrame::ChartFrame(QChart* chart, QValueAxis* x, QValueAxis* y, QObject* parent)
    : QObject(parent), chart_(chart), x_(x), y_(y), legend_(new ChartLegend(chart)),
      titleFont_(chart->titleFont()), labelFont_(x->labelsFont()), axisTitleFont_(x->titleFont()),
      legendFont_(chart->legend()->font()),
      baseBottom_(static_cast<int>(chart->margins().bottom())) {
    // QtCharts' own legend would elide; this one wraps.
    chart_->legend()->hide();
    legend_->setFont(legendFont_);
    connect(chart_, &QChart::plotAreaChanged, this, &ChartFrame::fit);
}

void ChartFrame::show(const View& view, const Look& look) {
    chart_->setTitleFont(scaled(titleFont_, look.type));
    for (QValueAxis* axis : {x_, y_}) {
        axis->setLabelsFont(scaled(labelFont_, look.type));
        axis->setTitleFont(scaled(axisTitleFont_, look.type));
    }
    legend_->setFont(scaled(legendFont_, look.type));
    settingAxes_ = true;
    showAxis(x_, view.chart.x);
    settingAxes_ = false;
    showAxis(y_, view.chart.y);
    xAxis_ = view.chart.x;
    yAxis_ = view.chart.y;
    title_ = textOf(view.chart.title);
    xTitle_ = textOf(view.chart.x.title);
    yTitle_ = textOf(view.chart.y.title);
    std::vector<ChartLegend::Entry> entries;
    for (const Line& line : view.chart.lines)
        if (!line.name.empty())
            entries.push_back(entryOf(line));
    for (const Marker& marker : view.chart.markers)
        entries.push_back({textOf(marker.name), QPen(colourOf(marker.colour), 1.5 * look.lines),
                           true, marker.filled});
    legend_->setEntries(std::move(entries));
    markSizeChanges(view, look);
    fit();
}

// Called as the chart lays itself out: the legend is placed at once (a print
// lays the chart out at the paper's size and draws it straight away); the
// texts and the room kept for the legend take effect at the next layout.
void ChartFrame::fit() {
    const QSizeF size = chart_->size();
    const QRectF plot = chart_->plotArea();
    const QMarginsF margins = chart_->margins();
    const qreal height = legend_->layOut(size.width() - 2 * kLegendEdge);
    legend_->setPos(kLegendEdge, size.height() - kLegendEdge - baseBottom_ - height);
    QMargins room = chart_->margins();
    room.setBottom(baseBottom_ +
                   static_cast<int>(std::ceil(height + (height > 0 ? kLegendGap : 0))));
    if (room != chart_->margins())
        chart_->setMargins(room);

    // The title spans the chart inside its layout's margins and its own.
    qreal left = 0, top = 0, right = 0, bottom = 0;
    chart_->layout()->getContentsMargins(&left, &top, &right, &bottom);
    const qreal across = size.width() - left - right - margins.left() - margins.right();
    const QString title = fittedTitle(title_, chart_->titleFont(), across - kTextSlack);
    if (title != chart_->title())
        chart_->setTitle(title);
    const QString along = fittedTitle(xTitle_, x_->titleFont(), plot.width() - kTextSlack);
    if (along != x_->titleText())
        x_->setTitleText(along);
    const QString up = fittedTitle(yTitle_, y_->titleFont(), plot.height() - kTextSlack);
    if (up != y_->titleText())
        y_->setTitleText(up);
    fitTicks(x_, xAxis_, plot.width(), true);
    fitTicks(y_, yAxis_, plot.height(), false);
}

void ChartFrame::markSizeChanges(const View& view, const Look& look) {
    for (QLineSeries* mark : sizeMarks_) {
        chart_->removeSeries(mark);
        delete mark;
    }
    sizeMarks_.clear();
    for (const int g : view.chart.sizeChanges) {
        auto* mark = new QLineSeries;
        mark->setPen(QPen(Qt::darkGray, kSizeMarkWidth * look.lines, Qt::DashLine));
        mark->append(g, view.chart.y.min);
        mark->append(g, view.chart.y.max);
        chart_->addSeries(mark);
        attach(mark, x_, y_);
        sizeMarks_.push_back(mark);
    }
}

} // namespace bocavo::labo

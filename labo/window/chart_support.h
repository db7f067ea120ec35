// What the four views share: allele colours, axes with French titles, and the
// thinning of long runs to what a chart can draw quickly.
#pragma once

#include <QChart>
#include <QColor>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QString>

class QValueAxis;
class QAbstractSeries;

namespace bocavo::labo {

// Alleles 1 to 4; strong and told apart by colour-blind readers too.
QColor alleleColour(int allele);

// Sets A and B of a comparison: told apart by colour (blue and vermilion,
// distinct for colour-blind readers too) and, for what theory expects, by
// dash (A dashed, B dotted), so that a grey print still tells them apart.
inline constexpr int kSets = 2;
QString setName(int set); // "A" or "B"
QPen observedPen(int set, qreal width = 2.5);
QPen expectedPen(int set);

// A chart with the program's look: French number format, legend at the bottom.
QChart* newChart();

// Adds an axis to the chart and returns it.
QValueAxis* addAxis(QChart* chart, Qt::Alignment side, const QString& title, double min, double max,
                    const QString& labelFormat);
// Generations first to last (at least one apart) with ticks on round numbers.
void setGenerationRange(QValueAxis* axis, int first, int last);
void attach(QAbstractSeries* series, QValueAxis* x, QValueAxis* y);

// Generations first..last, one in `step`, the last always included.
int sampleStep(int span, int maxPoints);
template <typename F> QList<QPointF> sampled(int first, int last, int step, F value) {
    QList<QPointF> points;
    if (first < 0 || last < first)
        return points;
    points.reserve((last - first) / step + 2);
    for (int g = first; g <= last; g += step)
        points.append(QPointF(g, value(g)));
    if ((last - first) % step != 0)
        points.append(QPointF(last, value(last)));
    return points;
}

} // namespace bocavo::labo

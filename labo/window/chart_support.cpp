#include "labo/window/chart_support.h"

#include <QAbstractSeries>
#include <QLocale>
#include <QValueAxis>
#include <algorithm>

namespace bocavo::labo {

QColor alleleColour(int allele) {
    static const QColor colours[4] = {
        QColor(0xD5, 0x5E, 0x00), // vermilion
        QColor(0x00, 0x72, 0xB2), // blue
        QColor(0x00, 0x9E, 0x73), // bluish green
        QColor(0xCC, 0x79, 0xA7), // reddish purple
    };
    return colours[(allele - 1) & 3];
}

namespace {
QColor setColour(int set) {
    return set == 0 ? QColor(0x00, 0x5A, 0x9C) : QColor(0xD5, 0x5E, 0x00);
}
} // namespace

QString setName(int set) {
    return set == 0 ? QStringLiteral("A") : QStringLiteral("B");
}

QPen observedPen(int set, qreal width) {
    return QPen(setColour(set), width);
}

QPen expectedPen(int set) {
    QPen pen(setColour(set).darker(130), 2, set == 0 ? Qt::DashLine : Qt::DotLine);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

QChart* newChart() {
    auto* chart = new QChart;
    chart->setLocale(QLocale(QLocale::French, QLocale::France));
    chart->setLocalizeNumbers(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(6, 6, 6, 6));
    chart->setAnimationOptions(QChart::NoAnimation);
    return chart;
}

QValueAxis* addAxis(QChart* chart, Qt::Alignment side, const QString& title, double min, double max,
                    const QString& labelFormat) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(min, max);
    axis->setLabelFormat(labelFormat);
    chart->addAxis(axis, side);
    return axis;
}

void attach(QAbstractSeries* series, QValueAxis* x, QValueAxis* y) {
    series->attachAxis(x);
    series->attachAxis(y);
}

void setGenerationRange(QValueAxis* axis, int first, int last) {
    const int end = std::max(first + 1, last);
    const int span = end - first;
    // The smallest step of 1, 2 or 5 times a power of ten giving at most ten intervals.
    int step = 1;
    for (int scale = 1; span / step > 10; scale *= 10) {
        for (const int m : {1, 2, 5}) {
            step = m * scale;
            if (span / step <= 10)
                break;
        }
    }
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    // Never a moment with a long range and a short step: that would lay out
    // thousands of tick labels.
    if (step >= axis->tickInterval()) {
        axis->setTickInterval(step);
        axis->setRange(first, end);
    } else {
        axis->setRange(first, end);
        axis->setTickInterval(step);
    }
}

int sampleStep(int span, int maxPoints) {
    return span < maxPoints ? 1 : (span + maxPoints - 1) / maxPoints;
}

} // namespace bocavo::labo

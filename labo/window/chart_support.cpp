#include "labo/window/chart_support.h"

#include <QAbstractSeries>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QStringList>
#include <QValueAxis>

namespace bocavo::labo {

QColor alleleColour(int allele) {
    const std::string_view code = alleleColourCode(allele);
    return colourOf(std::string(code));
}

QColor colourOf(const std::string& code, double opacity) {
    QColor colour(QString::fromStdString(code));
    colour.setAlphaF(static_cast<float>(opacity));
    return colour;
}

QString textOf(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QChart* newChart() {
    auto* chart = new QChart;
    chart->setLocale(QLocale(QLocale::French, QLocale::France));
    chart->setLocalizeNumbers(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
    // A short stretch of each line, so the legend shows B's dashes too.
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    chart->setMargins(QMargins(6, 6, 6, 6));
    chart->setAnimationOptions(QChart::NoAnimation);
    return chart;
}

QValueAxis* addAxis(QChart* chart, Qt::Alignment side) {
    auto* axis = new QValueAxis;
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    chart->addAxis(axis, side);
    return axis;
}

void showAxis(QValueAxis* axis, const Axis& shown) {
    axis->setTitleText(textOf(shown.title));
    axis->setLabelFormat(QString("%.%1f").arg(shown.decimals));
    // Never a moment with a long range and a short step: that would lay out
    // thousands of tick labels.
    if (shown.tick >= axis->tickInterval()) {
        axis->setTickInterval(shown.tick);
        axis->setRange(shown.min, shown.max);
    } else {
        axis->setRange(shown.min, shown.max);
        axis->setTickInterval(shown.tick);
    }
}

void attach(QAbstractSeries* series, QValueAxis* x, QValueAxis* y) {
    series->attachAxis(x);
    series->attachAxis(y);
}

const Line* findLine(const Chart& chart, Role role, int set, int allele) {
    for (const Line& line : chart.lines)
        if (line.role == role && line.set == set && (allele < 0 || line.allele == allele))
            return &line;
    return nullptr;
}

QPen penOf(const Line& line) {
    QPen pen(colourOf(line.colour, line.opacity), line.width,
             line.stroke == Stroke::Dashed ? Qt::DashLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void showLine(QLineSeries* series, const Line* line) {
    series->setVisible(line != nullptr);
    if (!line) {
        series->clear();
        return;
    }
    series->setPen(penOf(*line));
    series->setName(textOf(line->name));
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(line->points.size()));
    for (const Point& point : line->points)
        points.append(QPointF(point.x, point.y));
    series->replace(points);
}

std::vector<std::pair<QString, Explanation>> wordsOf(const std::vector<Note>& notes) {
    std::vector<std::pair<QString, Explanation>> words;
    for (const Note& note : notes)
        words.emplace_back(textOf(note.lead), note.words);
    return words;
}

} // namespace bocavo::labo

// What the four views share: the lab core's charts put into QtCharts — its
// colours, strokes, axes and points as they are, nothing computed here.
#pragma once

#include "core/lab/view/chart.h"

#include <QChart>
#include <QColor>
#include <QPen>
#include <QString>
#include <utility>
#include <vector>

class QLineSeries;
class QValueAxis;
class QAbstractSeries;

namespace bocavo::labo {

// Alleles 1 to 4, as the core colours them.
QColor alleleColour(int allele);
// A core colour (#RRGGBB) at an opacity of 0..1.
QColor colourOf(const std::string& code, double opacity = 1.0);
QString textOf(const std::string& text);

// A chart with the program's look: French number format, legend at the bottom.
QChart* newChart();

// Adds an axis to the chart and returns it; showAxis gives it the core's.
QValueAxis* addAxis(QChart* chart, Qt::Alignment side);
void showAxis(QValueAxis* axis, const Axis& shown);
void attach(QAbstractSeries* series, QValueAxis* x, QValueAxis* y);

// The line of `chart` with this role and set (and allele, unless −1), if any.
const Line* findLine(const Chart& chart, Role role, int set, int allele = -1);
// The pen of a core line: its colour at its opacity, width and stroke.
QPen penOf(const Line& line);
// The series becomes the line, or empty and hidden without one.
void showLine(QLineSeries* series, const Line* line);

// The notes as an explanation box shows them: each set's name and words.
std::vector<std::pair<QString, Explanation>> wordsOf(const std::vector<Note>& notes);

} // namespace bocavo::labo

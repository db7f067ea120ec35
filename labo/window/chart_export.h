// The current chart as a picture file or on paper. Each returns an empty
// string on success, else a French reason fit to show as it stands.
#pragma once

#include <QString>

class QChartView;
class QPrinter;

namespace bocavo::labo {

QString savePng(QChartView* view, const QString& path);
QString saveSvg(QChartView* view, const QString& path, const QString& title);
void printChart(QChartView* view, QPrinter* printer);

} // namespace bocavo::labo

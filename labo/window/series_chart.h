// A size series' chart: the lab core's view drawn as it is — its lines, its
// discs (filled for what the classes showed, hollow for theory), and the
// sizes N as the labels of the x axis at the places the core gives them.
#pragma once

#include "core/lab/view/chart.h"

#include <QChartView>

class QCategoryAxis;
class QValueAxis;

namespace bocavo::labo {

class SeriesChart : public QChartView {
    Q_OBJECT
public:
    explicit SeriesChart(QWidget* parent = nullptr);

    // Replaces what is drawn with `chart`.
    void draw(const Chart& chart);

private:
    QCategoryAxis* sizes_;
    QValueAxis* values_;
};

} // namespace bocavo::labo

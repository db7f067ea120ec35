// One view of the run: a chart, and above it the few controls that choose
// what it shows. The tab only reflects the run; it never changes it.
//
// Dragging across the chart zooms into a stretch of generations, which is then
// drawn in full detail; a right click zooms out, "Toute la simulation" returns
// to the whole run.
#pragma once

#include <QWidget>

class QChart;
class QChartView;
class QHBoxLayout;
class QPushButton;
class QValueAxis;

namespace bocavo::labo {

class Experiment;
class Statistics;

class ChartTab : public QWidget {
    Q_OBJECT
public:
    explicit ChartTab(QWidget* parent = nullptr);

    QChartView* view() const { return view_; }
    QChart* chart() const { return chart_; }
    QPushButton* wholeRunButton() const { return wholeRun_; }

    // Draws the run as it stands (no run when experiment is null). Both must
    // outlive the tab or be replaced by the next call.
    void display(const Experiment* experiment, const Statistics* stats);
    // Shows generations first to last only (as a drag across the chart does).
    void zoomTo(int first, int last);
    // Back to the whole run at the next drawing (a new run has begun).
    void forgetZoom();

protected:
    // Redraws from experiment() and stats(); called by display(), by a zoom
    // and by the tab's own controls.
    virtual void redraw() = 0;

    const Experiment* experiment() const { return experiment_; }
    const Statistics* stats() const { return stats_; }
    // The last generation of the run, −1 when there is nothing.
    int last() const;
    // The generations on show: the whole run unless zoomed in.
    int firstShown() const;
    int lastShown() const;
    // The horizontal axis, set to the generations on show.
    void setGenerationAxis(QValueAxis* axis);
    void showGenerations();
    QHBoxLayout* controls() const { return controls_; }

private:
    void onAxisMoved(qreal min, qreal max);

    QChart* chart_;
    QChartView* view_;
    QHBoxLayout* controls_;
    QPushButton* wholeRun_;
    QValueAxis* axis_ = nullptr;
    const Experiment* experiment_ = nullptr;
    const Statistics* stats_ = nullptr;
    bool zoomed_ = false;
    bool moving_ = false; // the axis is being set by the tab itself
    int zoomFirst_ = 0;
    int zoomLast_ = 0;
};

} // namespace bocavo::labo

// One view of the run: a chart, and above it the few controls that choose
// what it shows. The tab holds the reader's choice, asks the lab core for the
// view of the run on display, and draws what it gives; it never changes the run.
//
// Dragging across the chart zooms into a stretch of generations, which is then
// drawn in full detail; a right click zooms out, "Toute la simulation" returns
// to the whole run. The generations where a set's size changes are marked.
//
// With set B, « A et B côte à côte » shows the two sets in two charts on the
// same axes, as the lab core deals the view out; the look (the projector's
// thick lines and large type) applies to every chart of the tab.
#pragma once

#include "core/lab/files/view_table.h"
#include "core/lab/view/chart.h"
#include "labo/window/chart_frame.h"

#include <QWidget>
#include <vector>

class QChart;
class QChartView;
class QComboBox;
class QHBoxLayout;
class QLineSeries;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QValueAxis;

namespace bocavo::labo {

class SideBySideCharts;

// One parameter set of the run as the views draw it.
using SetRun = ViewSet;

class ChartTab : public QWidget {
    Q_OBJECT
public:
    explicit ChartTab(QWidget* parent = nullptr);

    QChartView* view() const { return view_; }
    QChart* chart() const { return chart_; }
    QPushButton* wholeRunButton() const { return wholeRun_; }
    // The "Jeu montré" chooser of views that show one set at a time, else null.
    QComboBox* setBox() const { return setBox_; }
    // What the reader chose, and the view last drawn from it.
    const ChartChoice& choice() const { return choice_; }
    const View& drawn() const { return drawn_; }

    // Draws the run as it stands: set A, then B when comparing; none without a
    // run. They must outlive the tab or be replaced by the next call.
    void display(std::vector<SetRun> sets);
    // Shows generations first to last only (as a drag across the chart does).
    void zoomTo(int first, int last);
    // Back to the whole run at the next drawing.
    void forgetZoom();
    // The run it showed is gone (replaced or erased): the tab holds nothing of
    // it, so that a resize of a hidden tab never reads freed sets.
    void forgetRun();
    // The set and the generations on show, for the table the window copies.
    ViewChoice shown() const;

    // « A et B côte à côte » chosen: two charts whenever the run has set B.
    // This and the look take effect at the next drawing (display): a tab not
    // on show may hold a run since replaced.
    void showSideBySide(bool chosen);
    // The two charts are on display (chosen, and set B is there).
    bool sideBySideShown() const;
    SideBySideCharts* sideBySide() const { return pair_; }
    // The words above the chart: they scroll rather than squeeze the chart.
    QScrollArea* wordsArea() const { return words_; }
    // The tab's own chart's title, axes and legend.
    ChartFrame* frame() const { return frame_; }
    void setLook(const Look& look);
    const Look& look() const { return look_; }

protected:
    // The core's view of these sets for this choice.
    virtual View viewOf(const std::vector<ViewSet>& sets, const ChartChoice& choice) = 0;
    // Draws what viewOf gave, past the axis, the title and the shared commands.
    virtual void draw(const View& view) = 0;
    // Asks the core again and draws: after a choice or a new generation.
    void redraw();
    ChartChoice& choose() { return choice_; }
    const std::vector<ViewSet>& sets() const { return sets_; }

    // The generations across, the values up: both follow the core's axes.
    void setAxes(QValueAxis* x, QValueAxis* y);
    QHBoxLayout* controls() const { return controls_; }
    // For views that show one set at a time: a "Jeu montré" chooser in the
    // controls, usable when the run compares two sets.
    void addSetChooser();
    // Fills a chooser with alleles 1..count and shows `chosen`.
    static void showAlleles(QComboBox* box, int count, int chosen);

private:
    void onAxisMoved(qreal min, qreal max);
    void onPlotResized();
    // The plot the core's points are reduced for: the tab's chart or a set's.
    int plotColumns() const;

    QChart* chart_;
    QChartView* view_;
    QHBoxLayout* controls_;
    QScrollArea* words_;
    QStackedWidget* charts_; // the tab's own chart, or the two sets' side by side
    SideBySideCharts* pair_;
    QPushButton* wholeRun_;
    QComboBox* setBox_ = nullptr;
    QValueAxis* axis_ = nullptr;
    QValueAxis* values_ = nullptr;
    ChartFrame* frame_ = nullptr;
    std::vector<ViewSet> sets_;
    ChartChoice choice_;
    View drawn_;
    Look look_;
    bool sideBySideChosen_ = false;
};

} // namespace bocavo::labo

// One view of the run: a chart, and above it the few controls that choose
// what it shows. The tab only reflects the run; it never changes it.
//
// Dragging across the chart zooms into a stretch of generations, which is then
// drawn in full detail; a right click zooms out, "Toute la simulation" returns
// to the whole run. The generations where a set's size changes are marked.
#pragma once

#include "core/lab/files/view_table.h"

#include <QWidget>
#include <vector>

class QChart;
class QChartView;
class QComboBox;
class QHBoxLayout;
class QLineSeries;
class QPushButton;
class QValueAxis;

namespace bocavo::labo {

class Experiment;
class Statistics;

// One parameter set of the run as the views draw it.
struct SetRun {
    const Experiment* experiment = nullptr;
    const Statistics* stats = nullptr;
};

class ChartTab : public QWidget {
    Q_OBJECT
public:
    explicit ChartTab(QWidget* parent = nullptr);

    QChartView* view() const { return view_; }
    QChart* chart() const { return chart_; }
    QPushButton* wholeRunButton() const { return wholeRun_; }
    // The "Jeu montré" chooser of views that show one set at a time, else null.
    QComboBox* setBox() const { return setBox_; }

    // Draws the run as it stands: set A, then B when comparing; none without a
    // run. They must outlive the tab or be replaced by the next call.
    void display(std::vector<SetRun> sets);
    // Shows generations first to last only (as a drag across the chart does).
    void zoomTo(int first, int last);
    // Back to the whole run at the next drawing (a new run has begun).
    void forgetZoom();
    // The set and the generations on show, for the table the window copies.
    ViewChoice shown() const {
        return {ViewKind::OneClass, shownSet(), 1, 1, firstShown(), lastShown()};
    }

protected:
    // Redraws from experiment() and stats(); called by display(), by a zoom
    // and by the tab's own controls.
    virtual void redraw() = 0;

    int sets() const { return static_cast<int>(sets_.size()); }
    // Set 0 is A, set 1 is B.
    const Experiment* experiment(int set = 0) const {
        return sets_[static_cast<std::size_t>(set)].experiment;
    }
    const Statistics* stats(int set = 0) const {
        return sets_[static_cast<std::size_t>(set)].stats;
    }
    // The last generation of the run (of its furthest set), −1 when there is nothing.
    int last() const;
    // The last generation on show that this set has reached, below
    // firstShown() when it has none there.
    int lastShownOf(int set) const;
    // The generations on show: the whole run unless zoomed in.
    int firstShown() const;
    int lastShown() const;
    // The horizontal axis, set to the generations on show.
    void setGenerationAxis(QValueAxis* axis);
    void showGenerations();
    QHBoxLayout* controls() const { return controls_; }
    // For views that show one set at a time: a "Jeu montré" chooser in the
    // controls, usable when the run compares two sets.
    void addSetChooser();
    int shownSet() const; // 0 (A) without a chooser or a comparison
    // Fills a chooser with alleles 1..count, keeping the choice where it can.
    static void showAlleles(QComboBox* box, int count);

private:
    void onAxisMoved(qreal min, qreal max);
    // A dashed vertical line at each generation on show where a set's N changes.
    void markSizeChanges();

    QChart* chart_;
    QChartView* view_;
    QHBoxLayout* controls_;
    QPushButton* wholeRun_;
    QComboBox* setBox_ = nullptr;
    QValueAxis* axis_ = nullptr;
    std::vector<QLineSeries*> sizeMarks_; // one dashed vertical line per change of N
    std::vector<SetRun> sets_;
    bool zoomed_ = false;
    bool moving_ = false; // the axis is being set by the tab itself
    int zoomFirst_ = 0;
    int zoomLast_ = 0;
};

} // namespace bocavo::labo

#include "labo/window/chart_tab.h"

#include "labo/window/chart_support.h"

#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace bocavo::labo {
namespace {

// Below this the plot is not laid out yet: the core's default width serves.
inline constexpr int kLeastColumns = 100; // pixels

} // namespace

ChartTab::ChartTab(QWidget* parent)
    : QWidget(parent), chart_(newChart()), view_(new QChartView(chart_)),
      controls_(new QHBoxLayout), wholeRun_(new QPushButton("&Toute la simulation")) {
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setRubberBand(QChartView::HorizontalRubberBand);
    wholeRun_->setObjectName("touteLaSimulation");
    wholeRun_->setEnabled(false);
    auto* hint = new QLabel("Glissez sur le graphique pour agrandir une période, clic droit pour "
                            "reculer.");
    hint->setEnabled(false); // a discreet grey
    hint->setWordWrap(true); // on two lines rather than widen a small window

    connect(wholeRun_, &QPushButton::clicked, this, [this] {
        forgetZoom();
        redraw();
    });
    connect(chart_, &QChart::plotAreaChanged, this, &ChartTab::onPlotResized);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(hint, 1);
    bottom->addWidget(wholeRun_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls_);
    layout->addWidget(view_, 1);
    layout->addLayout(bottom);
}

void ChartTab::forgetZoom() {
    choice_.zoom.reset();
    wholeRun_->setEnabled(false);
}

void ChartTab::display(std::vector<SetRun> sets) {
    if (sets.empty() || sets_.empty() || sets.front().experiment != sets_.front().experiment)
        forgetZoom(); // another run: its whole length
    sets_ = std::move(sets);
    redraw();
}

void ChartTab::redraw() {
    const int plot = static_cast<int>(chart_->plotArea().width());
    choice_.columns = plot >= kLeastColumns ? plot : kDefaultColumns;
    drawn_ = viewOf(sets_, choice_);
    const int columns = choice_.columns;
    choice_ = drawn_.shown; // what the run allows of the choice
    choice_.columns = columns;
    wholeRun_->setEnabled(drawn_.commands.wholeRun);
    if (setBox_) {
        const QSignalBlocker quiet(setBox_);
        setBox_->setEnabled(drawn_.commands.setChoice);
        setBox_->setCurrentIndex(choice_.set);
    }
    moving_ = true;
    showAxis(axis_, drawn_.chart.x);
    moving_ = false;
    showAxis(values_, drawn_.chart.y);
    chart_->setTitle(textOf(drawn_.chart.title));
    markSizeChanges();
    draw(drawn_);
}

ViewChoice ChartTab::shown() const {
    const Span span = drawn_.generations.value_or(Span{0, -1});
    return {ViewKind::OneClass, drawn_.shown.set, 1, 1, span.first, span.last};
}

void ChartTab::addSetChooser() {
    setBox_ = new QComboBox;
    setBox_->setObjectName("jeuMontre");
    setBox_->addItems({"Jeu A", "Jeu B"});
    setBox_->setEnabled(false);
    auto* label = new QLabel("&Jeu montré :");
    label->setBuddy(setBox_);
    connect(setBox_, &QComboBox::currentIndexChanged, this, [this](int set) {
        choice_.set = set;
        redraw();
    });
    controls_->addWidget(label);
    controls_->addWidget(setBox_);
    controls_->addSpacing(12);
}

void ChartTab::showAlleles(QComboBox* box, int count, int chosen) {
    const QSignalBlocker quiet(box);
    if (box->count() != count) {
        box->clear();
        for (int k = 1; k <= count; ++k)
            box->addItem(QString("Allèle %1").arg(k));
    }
    box->setCurrentIndex(std::clamp(chosen, 1, std::max(1, count)) - 1);
}

void ChartTab::zoomTo(int first, int last) {
    choice_.zoom = clampedZoom(sets_, Span{first, last});
    redraw();
}

void ChartTab::setAxes(QValueAxis* x, QValueAxis* y) {
    axis_ = x;
    values_ = y;
    connect(x, &QValueAxis::rangeChanged, this, &ChartTab::onAxisMoved);
}

void ChartTab::markSizeChanges() {
    for (QLineSeries* mark : sizeMarks_) {
        chart_->removeSeries(mark);
        delete mark;
    }
    sizeMarks_.clear();
    if (!axis_ || !values_)
        return;
    for (const int g : drawn_.chart.sizeChanges) {
        auto* mark = new QLineSeries;
        mark->setPen(QPen(Qt::darkGray, 1.5, Qt::DashLine));
        mark->append(g, drawn_.chart.y.min);
        mark->append(g, drawn_.chart.y.max);
        chart_->addSeries(mark);
        attach(mark, axis_, values_);
        for (QLegendMarker* marker : chart_->legend()->markers(mark))
            marker->setVisible(false);
        sizeMarks_.push_back(mark);
    }
}

// A drag or a right click moved the axis: redraw that stretch in full detail,
// once the chart has finished its own handling of the mouse.
void ChartTab::onAxisMoved(qreal min, qreal max) {
    if (moving_ || lastGeneration(sets_) <= 0)
        return;
    const int first = static_cast<int>(std::floor(min));
    const int end = static_cast<int>(std::ceil(max));
    QTimer::singleShot(0, this, [this, first, end] { zoomTo(first, end); });
}

// A wider or narrower plot holds more or fewer columns of points.
void ChartTab::onPlotResized() {
    const int plot = static_cast<int>(chart_->plotArea().width());
    if (plot < kLeastColumns || plot == choice_.columns || lastGeneration(sets_) < 0)
        return;
    QTimer::singleShot(0, this, [this] { redraw(); });
}

} // namespace bocavo::labo

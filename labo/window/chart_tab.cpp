#include "labo/window/chart_tab.h"

#include "core/lab/view/side_by_side.h"
#include "labo/window/chart_support.h"
#include "labo/window/side_by_side_charts.h"

#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace bocavo::labo {
namespace {

// Below this the plot is not laid out yet: the core's default width serves.
inline constexpr int kLeastColumns = 100; // pixels
// A chart never lower than this: its axis titles and legend need the room, and
// the words above it scroll instead (a projector's 1024 × 768).
inline constexpr int kLeastChartHeight = 340; // pixels
// The projector's large type takes more of it.
inline constexpr int kLeastProjectedChartHeight = 420; // pixels

// The words above a chart: as tall as they need for their width when the tab
// has room, down to nothing but a scroll bar when it has not.
class WordsArea : public QScrollArea {
public:
    WordsArea() {
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override {
        const QSize hint = widget()->sizeHint();
        const int tall = widget()->hasHeightForWidth()
                             ? widget()->heightForWidth(viewport()->width())
                             : hint.height();
        return {hint.width(), std::max(tall, 0)};
    }
    QSize minimumSizeHint() const override { return {widget()->minimumSizeHint().width(), 0}; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        updateGeometry(); // narrower, the words need more lines
    }
    bool event(QEvent* event) override {
        if (event->type() == QEvent::LayoutRequest)
            updateGeometry(); // a teacher's details opened or closed
        return QScrollArea::event(event);
    }
};

} // namespace

ChartTab::ChartTab(QWidget* parent)
    : QWidget(parent), chart_(newChart()), view_(new QChartView(chart_)),
      controls_(new QHBoxLayout), words_(new WordsArea), charts_(new QStackedWidget),
      pair_(new SideBySideCharts), wholeRun_(new QPushButton("&Toute la simulation")) {
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setRubberBand(QChartView::HorizontalRubberBand);
    charts_->setMinimumHeight(kLeastChartHeight);
    charts_->addWidget(view_);
    charts_->addWidget(pair_);
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
    connect(pair_, &SideBySideCharts::plotResized, this, &ChartTab::onPlotResized);
    connect(pair_, &SideBySideCharts::axisMoved, this, &ChartTab::onAxisMoved);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(hint, 1);
    bottom->addWidget(wholeRun_);
    auto* top = new QWidget;
    top->setLayout(controls_);
    controls_->setContentsMargins(0, 0, 0, 0);
    words_->setWidget(top);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(words_);
    layout->addWidget(charts_, 1);
    layout->addLayout(bottom);
}

void ChartTab::forgetZoom() {
    choice_.zoom.reset();
    wholeRun_->setEnabled(false);
}

void ChartTab::forgetRun() {
    sets_.clear();
    forgetZoom();
}

void ChartTab::display(std::vector<SetRun> sets) {
    if (sets.empty() || sets_.empty() || sets.front().experiment != sets_.front().experiment)
        forgetZoom(); // another run: its whole length
    sets_ = std::move(sets);
    redraw();
}

int ChartTab::plotColumns() const {
    const int plot =
        sideBySideShown() ? pair_->columns() : static_cast<int>(chart_->plotArea().width());
    return plot >= kLeastColumns ? plot : kDefaultColumns;
}

void ChartTab::redraw() {
    const bool pair = sideBySideShown();
    choice_.columns = plotColumns();
    drawn_ = viewOf(sets_, choice_);
    const int columns = choice_.columns;
    const int set = choice_.set;
    choice_ = drawn_.shown; // what the run allows of the choice
    choice_.columns = columns;
    if (pair)
        choice_.set = set; // the chooser waits, unused, for the single chart
    wholeRun_->setEnabled(drawn_.commands.wholeRun);
    if (setBox_) {
        const QSignalBlocker quiet(setBox_);
        setBox_->setEnabled(drawn_.commands.setChoice && !pair);
        setBox_->setCurrentIndex(choice_.set);
    }
    scaleLines(drawn_, look_);
    if (frame_)
        frame_->show(drawn_, look_);
    draw(drawn_);
    charts_->setCurrentWidget(pair ? static_cast<QWidget*>(pair_) : view_);
    if (pair)
        pair_->draw(
            labo::sideBySide(sets_, choice_,
                             [this](const std::vector<ViewSet>& sets, const ChartChoice& choice) {
                                 return viewOf(sets, choice);
                             }),
            look_);
}

void ChartTab::showSideBySide(bool chosen) {
    sideBySideChosen_ = chosen;
}

bool ChartTab::sideBySideShown() const {
    return sideBySideChosen_ && sets_.size() > 1 && lastGeneration(sets_) >= 0;
}

void ChartTab::setLook(const Look& look) {
    look_ = look;
    charts_->setMinimumHeight(look == Look{} ? kLeastChartHeight : kLeastProjectedChartHeight);
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
    frame_ = new ChartFrame(chart_, x, y, this);
    connect(x, &QValueAxis::rangeChanged, this, [this](qreal min, qreal max) {
        if (!frame_->settingAxes())
            onAxisMoved(min, max);
    });
}

// A drag or a right click moved the axis: redraw that stretch in full detail,
// once the chart has finished its own handling of the mouse.
void ChartTab::onAxisMoved(qreal min, qreal max) {
    if (lastGeneration(sets_) <= 0)
        return;
    const int first = static_cast<int>(std::floor(min));
    const int end = static_cast<int>(std::ceil(max));
    QTimer::singleShot(0, this, [this, first, end] { zoomTo(first, end); });
}

// A wider or narrower plot holds more or fewer columns of points.
void ChartTab::onPlotResized() {
    const int plot = plotColumns();
    if (plot == choice_.columns || lastGeneration(sets_) < 0)
        return;
    QTimer::singleShot(0, this, [this] { redraw(); });
}

} // namespace bocavo::labo

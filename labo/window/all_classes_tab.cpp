#include "labo/window/all_classes_tab.h"

#include "labo/window/chart_support.h"
#include "labo/window/curve_bundle.h"
#include "labo/window/explanation_box.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QLabel>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>

namespace bocavo::labo {
namespace {

inline constexpr int kEdgeRoom = 80;     // pixels right of the plot for the edge counts
inline constexpr qreal kMarkerSize = 11; // pixels across the edge marks

} // namespace

AllClassesTab::AllClassesTab(QWidget* parent)
    : ChartTab(parent), alleleBox_(new QComboBox),
      differentiation_(new ExplanationBox("differenciation")), fixedMark_(new QScatterSeries),
      lostMark_(new QScatterSeries), fixedText_(new QGraphicsSimpleTextItem(chart())),
      lostText_(new QGraphicsSimpleTextItem(chart())) {
    addSetChooser();
    alleleBox_->setObjectName("allele");
    showAlleles(alleleBox_, kMaxAlleles, 1);
    auto* label = new QLabel("Allèle sui&vi :");
    label->setBuddy(alleleBox_);

    connect(chart(), &QChart::plotAreaChanged, this, [this] { placeEdgeTexts(); });
    connect(alleleBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
        choose().allele = index + 1;
        redraw();
    });

    // The words under the chooser rather than beside it: the teacher's button
    // beside the choosers would widen a small window.
    auto* chooser = new QHBoxLayout;
    chooser->addWidget(label);
    chooser->addWidget(alleleBox_);
    chooser->addStretch(1);
    auto* column = new QVBoxLayout;
    column->addLayout(chooser);
    column->addWidget(differentiation_);
    controls()->addLayout(column, 1);
    x_ = addAxis(chart(), Qt::AlignBottom);
    y_ = addAxis(chart(), Qt::AlignLeft);
    setAxes(x_, y_);
    curves_ = new CurveBundle(chart(), x_, y_);
    for (QScatterSeries* mark : {fixedMark_, lostMark_}) {
        mark->setMarkerSize(kMarkerSize);
        chart()->addSeries(mark);
        attach(mark, x_, y_);
    }
    redraw();
}

int AllClassesTab::classCurves() const {
    return curves_->count();
}

View AllClassesTab::viewOf(const std::vector<ViewSet>& sets, const ChartChoice& choice) {
    return allClassesView(sets, choice);
}

void AllClassesTab::draw(const View& view) {
    showAlleles(alleleBox_, view.commands.alleles, view.shown.allele);
    this->view()->setRenderHint(QPainter::Antialiasing, view.chart.lines.size() <= kSmoothCurves);
    curves_->setLines(view.chart.lines);
    for (QScatterSeries* mark : {fixedMark_, lostMark_}) {
        mark->clear();
        mark->setVisible(false);
    }
    for (const Marker& marker : view.chart.markers) {
        QScatterSeries* mark = marker.filled ? fixedMark_ : lostMark_;
        const QColor colour = colourOf(marker.colour);
        mark->setColor(marker.filled ? colour : QColor(Qt::white));
        mark->setBorderColor(colour);
        mark->setName(textOf(marker.name));
        mark->append(marker.at.x, marker.at.y);
        mark->setVisible(true);
    }
    differentiation_->showWords(wordsOf(view.notes));
    // The counts in the type of the axes' numbers, as large as the look makes
    // them, with room enough right of the plot.
    const QFont type = x_->labelsFont();
    QMargins margins = chart()->margins();
    margins.setRight(static_cast<int>(kEdgeRoom * look().type));
    chart()->setMargins(margins);
    for (QGraphicsSimpleTextItem* text : {fixedText_, lostText_})
        text->setFont(type);
    fixedText_->setText(view.edge ? textOf(view.edge->fixedText) : QString());
    lostText_->setText(view.edge ? textOf(view.edge->lostText) : QString());
    placeEdgeTexts();
}

// The counts sit just right of the plot, level with 100 % and 0 %.
void AllClassesTab::placeEdgeTexts() {
    const QRectF plot = chart()->plotArea();
    fixedText_->setPos(plot.right() + 8, plot.top() - 4);
    lostText_->setPos(plot.right() + 8, plot.bottom() - lostText_->boundingRect().height() + 4);
}

} // namespace bocavo::labo

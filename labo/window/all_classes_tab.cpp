#include "labo/window/all_classes_tab.h"

#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"
#include "labo/window/chart_support.h"
#include "labo/window/numbers.h"

#include <QChart>
#include <QComboBox>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

namespace bocavo::labo {
namespace {

// Points over all curves together: 1 000 classes get 150 points each, which
// keeps a redraw well under a tenth of a second.
constexpr int kPointBudget = 150'000;
constexpr int kMaxPointsPerCurve = 1500;
constexpr int kEdgeRoom = 80; // pixels right of the plot for the edge counts

QString classesText(int n) {
    if (n <= 1)
        return n == 1 ? QStringLiteral("1 classe") : QStringLiteral("aucune classe");
    return grouped(static_cast<std::uint64_t>(n)) + " classes";
}

// Fst as the classes show it at the right edge, then what the island model
// expects; neither once every class has fixed the same allele.
QString differentiationText(const Experiment& run, const Statistics& stats, int g) {
    const std::optional<double> fst = stats.differentiation()[static_cast<std::size_t>(g)];
    if (!fst)
        return QString("Différenciation entre les classes à la génération %1 : toutes ont fixé le "
                       "même allèle, Fst n'a plus de sens.")
            .arg(grouped(static_cast<std::uint64_t>(g)));
    QString text = QString("Différenciation entre les classes à la génération %1 : Fst = %2 (0 : "
                           "toutes pareilles, 1 : chacune son allèle).")
                       .arg(grouped(static_cast<std::uint64_t>(g)))
                       .arg(decimal(*fst, 2));
    const std::string expected = differentiationSentence(run.settings(), run.classes());
    if (!expected.empty())
        text += ' ' + QString::fromStdString(expected);
    return text;
}

} // namespace

AllClassesTab::AllClassesTab(QWidget* parent)
    : ChartTab(parent), alleleBox_(new QComboBox), differentiation_(new QLabel),
      fixedMark_(new QScatterSeries), lostMark_(new QScatterSeries),
      fixedText_(new QGraphicsSimpleTextItem(chart())),
      lostText_(new QGraphicsSimpleTextItem(chart())) {
    addSetChooser();
    alleleBox_->setObjectName("allele");
    for (int k = 1; k <= 4; ++k)
        alleleBox_->addItem(QString("Allèle %1").arg(k));
    auto* label = new QLabel("Allèle sui&vi :");
    label->setBuddy(alleleBox_);
    controls()->addWidget(label);
    controls()->addWidget(alleleBox_);
    controls()->addSpacing(12);
    differentiation_->setObjectName("differenciation");
    differentiation_->setWordWrap(true);
    differentiation_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    controls()->addWidget(differentiation_, 1);

    x_ = addAxis(chart(), Qt::AlignBottom, "Génération", 0, 1, "%.0f");
    setGenerationAxis(x_);
    y_ = addAxis(chart(), Qt::AlignLeft, "Fréquence de l'allèle (%)", 0, 100, "%.0f");
    for (QScatterSeries* mark : {fixedMark_, lostMark_}) {
        mark->setMarkerSize(11);
        chart()->addSeries(mark);
        attach(mark, x_, y_);
    }
    lostMark_->setColor(Qt::white);
    QMargins margins = chart()->margins();
    margins.setRight(kEdgeRoom);
    chart()->setMargins(margins);
    connect(chart(), &QChart::plotAreaChanged, this, [this] { placeEdgeTexts(); });
    connect(alleleBox_, &QComboBox::currentIndexChanged, this, [this] { redraw(); });
}

void AllClassesTab::setCurveCount(int classes) {
    if (static_cast<int>(curves_.size()) == classes)
        return;
    for (QLineSeries* curve : curves_) {
        chart()->removeSeries(curve);
        delete curve;
    }
    curves_.clear();
    for (int c = 1; c <= classes; ++c) {
        auto* curve = new QLineSeries;
        curve->setName(c == 1 ? QStringLiteral("Une courbe par classe")
                              : QString("Classe %1").arg(c));
        chart()->addSeries(curve);
        attach(curve, x_, y_);
        // One legend entry stands for all the curves.
        if (c > 1)
            chart()->legend()->markers(curve).constFirst()->setVisible(false);
        curves_.push_back(curve);
    }
}

void AllClassesTab::redraw() {
    const int end = last();
    const int from = firstShown();
    const int to = lastShown();
    const int set = shownSet();
    // A set that a cancel stopped early may have nothing on show.
    const Experiment* run = end >= 0 && lastShownOf(set) >= from ? experiment(set) : nullptr;
    if (run)
        showAlleles(alleleBox_, run->settings().alleles);
    const int allele = alleleBox_->currentIndex() + 1;
    const QColor colour = alleleColour(allele);
    setCurveCount(run ? run->classes() : 0);
    fixed_ = lost_ = 0;
    if (run) {
        const int classes = run->classes();
        const Settings& settings = run->settings();
        const int until = lastShownOf(set);
        const int copies = settings.copiesAt(until);
        const int step = sampleStep(
            to - from, std::min(kMaxPointsPerCurve, std::max(50, kPointBudget / classes)));
        // Many curves overlap: a translucent pen lets the crowded paths show darker.
        QColor pen = colour;
        pen.setAlpha(classes > 50 ? 70 : 160);
        for (int c = 1; c <= classes; ++c) {
            QLineSeries* curve = curves_[static_cast<std::size_t>(c - 1)];
            curve->setPen(QPen(pen, 1.5));
            curve->replace(sampled(from, until, step, [&](int g) {
                return percentOf(run->counts(c, g)[static_cast<std::size_t>(allele - 1)],
                                 settings.copiesAt(g));
            }));
            // The counts at the right edge of what is on show.
            const int n = run->counts(c, until)[static_cast<std::size_t>(allele - 1)];
            fixed_ += n == copies;
            lost_ += n == 0;
        }
        if (!curves_.empty()) // the legend's sample line, opaque
            curves_.front()->setPen(QPen(colour, 1.5));
    }
    showGenerations();
    fixedMark_->setColor(colour);
    lostMark_->setBorderColor(colour);
    fixedMark_->clear();
    lostMark_->clear();
    if (run) {
        fixedMark_->append(std::max(1, to), 100);
        lostMark_->append(std::max(1, to), 0);
    }
    fixedMark_->setName(QString("Fixé (100 %) dans %1").arg(classesText(fixed_)));
    lostMark_->setName(QString("Perdu (0 %) dans %1").arg(classesText(lost_)));
    chart()->setTitle(
        !run ? QStringLiteral("Toutes les classes : aucune simulation")
             : QString("Allèle %1 dans chacune des %2%3, générations %4 à %5")
                   .arg(allele)
                   .arg(classesText(run->classes()))
                   .arg(sets() > 1 ? QString(" du jeu %1").arg(setName(set)) : QString())
                   .arg(grouped(static_cast<std::uint64_t>(from)),
                        grouped(static_cast<std::uint64_t>(to))));
    differentiation_->setText(run ? differentiationText(*run, *stats(set), lastShownOf(set))
                                  : QString());
    fixedText_->setText(!run ? QString() : QString("fixé :\n%1").arg(classesText(fixed_)));
    lostText_->setText(!run ? QString() : QString("perdu :\n%1").arg(classesText(lost_)));
    placeEdgeTexts();
}

// The counts sit just right of the plot, level with 100 % and 0 %.
void AllClassesTab::placeEdgeTexts() {
    const QRectF plot = chart()->plotArea();
    fixedText_->setPos(plot.right() + 8, plot.top() - 4);
    lostText_->setPos(plot.right() + 8, plot.bottom() - lostText_->boundingRect().height() + 4);
}

} // namespace bocavo::labo

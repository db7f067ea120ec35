#include "labo/window/fixation_tab.h"

#include "core/lab/science/experiment.h"
#include "core/lab/science/limits.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"
#include "labo/window/explanation_box.h"
#include "labo/window/numbers.h"

#include <QChart>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>

namespace bocavo::labo {
namespace {

constexpr int kMaxPoints = 2000;

QString meanText(const char* event, const Statistics::Mean& mean, int classes) {
    if (mean.classes == 0)
        return QString("%1 : dans aucune classe pour l'instant").arg(event);
    return QString("%1 : génération %2 en moyenne (%3 classe%4 sur %5)")
        .arg(event, decimal(mean.generation, 1))
        .arg(grouped(static_cast<std::uint64_t>(mean.classes)), mean.classes > 1 ? "s" : "",
             grouped(static_cast<std::uint64_t>(classes)));
}

} // namespace

FixationTab::FixationTab(QWidget* parent)
    : ChartTab(parent), alleleBox_(new QComboBox), means_(new QLabel),
      lesson_(new ExplanationBox("fixationAttendue")) {
    alleleBox_->setObjectName("alleleSuivi");
    showAlleles(alleleBox_, 4);
    means_->setObjectName("moyennes");
    means_->setWordWrap(true); // a long line must never widen the window
    means_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* label = new QLabel("Allèle sui&vi :");
    label->setBuddy(alleleBox_);
    auto* texts = new QVBoxLayout;
    texts->addWidget(lesson_);
    texts->addWidget(means_);
    controls()->addWidget(label, 0, Qt::AlignTop);
    controls()->addWidget(alleleBox_, 0, Qt::AlignTop);
    controls()->addSpacing(12);
    controls()->addLayout(texts, 1);
    connect(alleleBox_, &QComboBox::currentIndexChanged, this, [this] { redraw(); });

    // Up to six entries (three per set): stacked on the right, each whole,
    // rather than elided side by side under a narrow chart.
    chart()->legend()->setAlignment(Qt::AlignRight);
    x_ = addAxis(chart(), Qt::AlignBottom, "Génération", 0, 1, "%.0f");
    setGenerationAxis(x_);
    QValueAxis* y = addAxis(chart(), Qt::AlignLeft, "Part des classes (%)", 0, 100, "%.0f");
    for (std::size_t set = 0; set < kSets; ++set) {
        const int s = static_cast<int>(set);
        fixed_[set] = new QLineSeries;
        fixed_[set]->setPen(observedPen(s));
        lost_[set] = new QLineSeries;
        QPen thin = observedPen(s, 1.5);
        thin.setColor(thin.color().lighter(150));
        lost_[set]->setPen(thin);
        expected_[set] = new QLineSeries;
        expected_[set]->setPen(expectedPen(s));
        for (QLineSeries* series : {fixed_[set], lost_[set], expected_[set]}) {
            chart()->addSeries(series);
            attach(series, x_, y);
        }
    }
}

const FixationTab::Expected& FixationTab::expectedOf(int set) {
    auto& kept = expectedOf_[static_cast<std::size_t>(set)];
    const Settings& settings = experiment(set)->settings();
    const int classes = experiment(set)->classes();
    if (kept && kept->settings == settings && kept->classes == classes)
        return *kept;
    kept = Expected{settings, classes, fixationProbabilities(settings),
                    fixationExplanation(settings, classes)};
    return *kept;
}

void FixationTab::redraw() {
    const int from = firstShown();
    const int to = lastShown();
    const int step = sampleStep(to - from, kMaxPoints);
    const bool both = sets() > 1;
    if (sets() > 0)
        showAlleles(alleleBox_, experiment()->settings().alleles);
    const int allele = alleleBox_->currentIndex() + 1;
    const auto k = static_cast<std::size_t>(allele - 1);
    QStringList means;
    std::vector<std::pair<QString, Explanation>> lessons;
    for (int set = 0; set < kSets; ++set) {
        const auto i = static_cast<std::size_t>(set);
        const bool shown = set < sets() && allele <= experiment(set)->settings().alleles;
        for (QLineSeries* series : {fixed_[i], lost_[i], expected_[i]}) {
            series->setVisible(shown);
            if (!shown)
                series->clear();
        }
        if (!shown)
            continue;
        const Statistics& s = *stats(set);
        const double classes = s.classes();
        const int until = lastShownOf(set);
        fixed_[i]->replace(sampled(from, until, step, [&](int g) {
            return 100.0 * s.fixedClasses()[static_cast<std::size_t>(g)][k] / classes;
        }));
        lost_[i]->replace(sampled(from, until, step, [&](int g) {
            return 100.0 * s.lostClasses()[static_cast<std::size_t>(g)][k] / classes;
        }));
        // Where the share of classes that fixed it should end, when theory says.
        const Expected& theory = expectedOf(set);
        const std::optional<double> chance = theory.fixation[k];
        const double expected = chance ? 100.0 * *chance : 0.0;
        if (chance)
            expected_[i]->replace(
                {QPointF(from, expected), QPointF(std::max(from + 1, to), expected)});
        else
            expected_[i]->clear();
        expected_[i]->setVisible(chance.has_value());
        const QString prefix = both ? setName(set) + " : " : QString();
        fixed_[i]->setName(prefix + QString("allèle %1 fixé").arg(allele));
        lost_[i]->setName(prefix + QString("allèle %1 perdu").arg(allele));
        expected_[i]->setName(prefix + QString("attendu %1").arg(percent(chance.value_or(0.0))));
        means << prefix + meanText("Première perte d'un allèle", s.meanFirstLoss(), s.classes()) +
                     " ; " + meanText("fixation", s.meanFixation(), s.classes()) + ".";
        lessons.emplace_back(both ? setName(set) : QString(), theory.words);
    }
    showGenerations();
    if (sets() == 0) {
        means_->setText("Aucune simulation.");
        lesson_->showWords({});
        chart()->setTitle("Fixation et perte : aucune simulation");
        return;
    }
    means_->setText(means.join('\n'));
    lesson_->showWords(lessons);
    chart()->setTitle(QString("Part des classes où l'allèle %1 est fixé (trait épais) ou perdu "
                              "(trait fin), générations %2 à %3")
                          .arg(allele)
                          .arg(grouped(static_cast<std::uint64_t>(from)),
                               grouped(static_cast<std::uint64_t>(to))));
}

} // namespace bocavo::labo

// The views of one set's classes: one class's alleles, and one allele in
// every class.
#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"
#include "core/lab/view/chart.h"
#include "core/lab/view/view_text.h"

#include <algorithm>
#include <limits>

namespace bocavo::labo {
namespace {

// Points over all the class curves together: QtCharts and a canvas alike draw
// 200 000 in well under a tenth of a second; 1 000 classes then get 50
// columns each, each still with its lowest and highest point.
inline constexpr int kClassPointBudget = 200'000; // points
inline constexpr int kLeastClassColumns = 50;     // pixels
// Many curves overlap: a translucent pen lets the crowded paths show darker.
inline constexpr int kCrowdedClasses = 50;
inline constexpr double kCrowdedOpacity = 0.27;
inline constexpr double kFewOpacity = 0.63;

const Axis kFrequencyAxis{"Fréquence de l'allèle (%)", 0.0, 100.0, 25.0, 0};

// The set a one-set view shows, and the run's views' common part.
struct Frame {
    View view;
    int set = 0;
    int until = -1; // the set's last generation on show, below the span when it has none there
};

Frame frameOf(const std::vector<ViewSet>& sets, const ChartChoice& choice) {
    Frame frame;
    View& view = frame.view;
    view.shown = choice;
    view.generations = shownSpan(sets, choice.zoom);
    view.commands.wholeRun = choice.zoom.has_value();
    view.commands.setChoice = sets.size() > 1;
    view.chart.y = kFrequencyAxis;
    const Span span = view.generations.value_or(Span{0, 0});
    view.chart.x = generationAxis("Génération", span.first, span.last);
    if (!view.generations)
        return frame;
    view.chart.sizeChanges = sizeChangesWithin(sets, span);
    frame.set = std::clamp(choice.set, 0, static_cast<int>(sets.size()) - 1);
    view.shown.set = frame.set;
    const ViewSet& record = sets[static_cast<std::size_t>(frame.set)];
    frame.until = std::min(span.last, record.stats->generation());
    view.shown.classNumber = std::clamp(choice.classNumber, 1, record.experiment->classes());
    view.shown.allele = std::clamp(choice.allele, 1, record.experiment->settings().alleles);
    view.commands.classes = record.experiment->classes();
    view.commands.alleles = record.experiment->settings().alleles;
    return frame;
}

std::string ofSet(const std::vector<ViewSet>& sets, int set) {
    return sets.size() > 1 ? " du jeu " + setName(set) : std::string();
}

} // namespace

View classView(const std::vector<ViewSet>& sets, const ChartChoice& choice) {
    Frame frame = frameOf(sets, choice);
    View& view = frame.view;
    view.commands.alleles = 0; // every allele is drawn
    if (!view.generations) {
        view.chart.title = "Une classe : aucune simulation";
        return view;
    }
    const Experiment& run = *sets[static_cast<std::size_t>(frame.set)].experiment;
    const Settings& settings = run.settings();
    const int c = view.shown.classNumber;
    for (int k = 1; k <= settings.alleles; ++k) {
        Line line = lineOf(Role::Frequency, frame.set, k, alleleColourCode(k));
        line.classNumber = c;
        line.name = setLabel(frame.set, sets.size() > 1) + "Allèle " + std::to_string(k);
        line.points = reducedLine(view.generations->first, frame.until, choice.columns, [&](int g) {
            return percentOf(run.counts(c, g)[static_cast<std::size_t>(k - 1)],
                             settings.copiesAt(g));
        });
        view.chart.lines.push_back(std::move(line));
    }
    view.chart.title = "Classe " + groupDigits(static_cast<std::uint64_t>(c)) +
                       ofSet(sets, frame.set) + " : fréquence des " +
                       std::to_string(settings.alleles) + " allèles, " +
                       generationsText(*view.generations);
    return view;
}

View allClassesView(const std::vector<ViewSet>& sets, const ChartChoice& choice) {
    Frame frame = frameOf(sets, choice);
    View& view = frame.view;
    // A set that a cancel stopped early may have nothing on show.
    if (!view.generations || frame.until < view.generations->first) {
        view.commands.alleles = std::max(view.commands.alleles, kMaxAlleles);
        view.chart.title = "Toutes les classes : aucune simulation";
        return view;
    }
    const Span span = *view.generations;
    const Experiment& run = *sets[static_cast<std::size_t>(frame.set)].experiment;
    const Statistics& stats = *sets[static_cast<std::size_t>(frame.set)].stats;
    const int classes = run.classes();
    const Settings& settings = run.settings();
    const int allele = view.shown.allele;
    const int columns =
        std::clamp(kClassPointBudget / (kPointsPerColumn * classes), kLeastClassColumns,
                   std::max(kLeastClassColumns, choice.columns));
    View::Edge edge;
    for (int c = 1; c <= classes; ++c) {
        Line line = lineOf(Role::ClassFrequency, frame.set, allele, alleleColourCode(allele));
        line.classNumber = c;
        // One legend entry, drawn opaque, stands for all the curves.
        line.name = c == 1 ? setLabel(frame.set, sets.size() > 1) + "Une courbe par classe" : "";
        line.opacity = c == 1 ? 1.0 : classes > kCrowdedClasses ? kCrowdedOpacity : kFewOpacity;
        line.width = classes > kCrowdedClasses ? kHairLine : kThinLine;
        // A class fixed for good repeats its last counts: they are not read again.
        const History& history = run.history(c);
        const int steady = run.fixationIsFinal() && stats.fixationOf(c) >= 0
                               ? stats.fixationOf(c)
                               : std::numeric_limits<int>::max();
        line.points = reducedLine(
            span.first, frame.until, columns,
            [&](int g) { return percentOf(history.count(g, allele), settings.copiesAt(g)); },
            steady);
        view.chart.lines.push_back(std::move(line));
        const int n = history.count(frame.until, allele);
        edge.fixed += n == settings.copiesAt(frame.until);
        edge.lost += n == 0;
    }
    // Under selection, where a population too large to drift would take the allele.
    if (const auto expected = expectedFrequencies(settings, span.last); !expected.empty()) {
        Line line = lineOf(Role::Expected, frame.set, allele, kTheoryColour);
        line.name = setLabel(frame.set, sets.size() > 1) + "Attendu pour une grande population";
        line.width = kExpectedLine;
        const int last = std::min(span.last, static_cast<int>(expected.size()) - 1);
        line.points = reducedLine(span.first, last, choice.columns, [&](int g) {
            return 100.0 *
                   expected[static_cast<std::size_t>(g)][static_cast<std::size_t>(allele - 1)];
        });
        view.chart.lines.push_back(std::move(line));
    }
    const double edgeX = std::max(1, span.last);
    const std::string colour(alleleColourCode(allele));
    view.chart.markers = {
        {"Fixé (100 %) dans " + classesText(edge.fixed), colour, true, {edgeX, 100}},
        {"Perdu (0 %) dans " + classesText(edge.lost), colour, false, {edgeX, 0}}};
    edge.fixedText = "fixé :\n" + classesText(edge.fixed);
    edge.lostText = "perdu :\n" + classesText(edge.lost);
    view.edge = edge;
    view.chart.title = "Allèle " + std::to_string(allele) + " dans chacune des " +
                       classesText(classes) + ofSet(sets, frame.set) + ", " + generationsText(span);
    view.notes.push_back({"", differentiationExplanation(
                                  settings, classes, frame.until,
                                  stats.differentiation()[static_cast<std::size_t>(frame.until)])});
    return view;
}

} // namespace bocavo::labo

// The views summed over each set's classes, both sets on one chart: the share
// of classes that fixed or lost an allele, the mean heterozygosity and the
// genotypes, each beside what theory expects.
#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"
#include "core/lab/view/chart.h"
#include "core/lab/view/expected_cache.h"
#include "core/lab/view/view_text.h"
#include "core/lab/words/genotype_words.h"

#include <algorithm>

namespace bocavo::labo {
namespace {

std::string meanText(const std::string& event, const Statistics::Mean& mean, int classes) {
    if (mean.classes == 0)
        return event + " : dans aucune classe pour l'instant";
    return event + " : génération " + frenchDecimal(mean.generation, 1) + " en moyenne (" +
           groupDigits(static_cast<std::uint64_t>(mean.classes)) + " classe" +
           (mean.classes > 1 ? "s" : "") + " sur " +
           groupDigits(static_cast<std::uint64_t>(classes)) + ")";
}

View summaryFrame(const std::vector<ViewSet>& sets, const ChartChoice& choice, Axis x, Axis y) {
    View view;
    view.shown = choice;
    view.generations = shownSpan(sets, choice.zoom);
    view.commands.wholeRun = choice.zoom.has_value();
    const Span span = view.generations.value_or(Span{0, 0});
    view.chart.x = generationAxis(x.title, span.first, span.last);
    view.chart.y = std::move(y);
    if (view.generations)
        view.chart.sizeChanges = sizeChangesWithin(sets, span);
    return view;
}

std::string_view genotypeColour(int genotype) {
    return genotype == 0 ? kEveryAlleleColour : alleleColourCode(genotype);
}

// What the set's last generation on show says: the heterozygotes seen, those
// Hardy–Weinberg gives within the classes, and those it would give pooled.
std::string genotypesStatus(const std::string& label, const GenotypeShares& shares, int g,
                            int classes) {
    std::string text = label + "Génération " + groupDigits(static_cast<std::uint64_t>(g)) + " : " +
                       percentText(shares.observed(0)) + " d'hétérozygotes, " +
                       percentText(shares.expected(0)) + " selon Hardy-Weinberg dans chaque classe";
    if (classes > 1)
        text += ", " + percentText(shares.pooledHeterozygotes) + " en mélangeant les classes";
    return text + ".";
}

} // namespace

View fixationView(const std::vector<ViewSet>& sets, const ChartChoice& choice,
                  ExpectedCache& expected) {
    View view = summaryFrame(sets, choice, Axis{"Génération"},
                             Axis{"Part des classes (%)", 0.0, 100.0, 25.0, 0});
    if (!view.generations) {
        view.commands.alleles = kMaxAlleles;
        view.status.push_back("Aucune simulation.");
        view.chart.title = "Fixation et perte : aucune simulation";
        return view;
    }
    const Span span = *view.generations;
    const int alleles = sets.front().experiment->settings().alleles;
    const int allele = std::clamp(choice.allele, 1, alleles);
    const auto k = static_cast<std::size_t>(allele - 1);
    view.commands.alleles = alleles;
    view.shown.allele = allele;
    const bool both = sets.size() > 1;
    for (int set = 0; set < static_cast<int>(sets.size()); ++set) {
        const ViewSet& record = sets[static_cast<std::size_t>(set)];
        if (allele > record.experiment->settings().alleles)
            continue;
        const Statistics& s = *record.stats;
        const double classes = s.classes();
        const int until = std::min(span.last, s.generation());
        const std::string label = setLabel(set, both);
        const std::string number = std::to_string(allele);
        Line fixed = lineOf(Role::Fixed, set, allele, alleleColourCode(allele));
        fixed.name = label + "allèle " + number + " fixé";
        fixed.points = reducedLine(span.first, until, choice.columns, [&](int g) {
            return 100.0 * s.fixedClasses()[static_cast<std::size_t>(g)][k] / classes;
        });
        Line lost = lineOf(Role::Lost, set, allele, alleleColourCode(allele));
        lost.name = label + "allèle " + number + " perdu";
        lost.width = kThinLine;
        lost.points = reducedLine(span.first, until, choice.columns, [&](int g) {
            return 100.0 * s.lostClasses()[static_cast<std::size_t>(g)][k] / classes;
        });
        view.chart.lines.push_back(std::move(fixed));
        view.chart.lines.push_back(std::move(lost));
        // Where the share of classes that fixed it should end, when theory says.
        const FixationLesson& lesson =
            expected.fixation(set, record.experiment->settings(), record.experiment->classes());
        if (const std::optional<double> chance = lesson.chance[k]) {
            Line line = lineOf(Role::Expected, set, allele, kTheoryColour);
            line.name = label + "attendu " + percentText(*chance);
            line.width = kExpectedLine;
            line.points = {
                {static_cast<double>(span.first), 100.0 * *chance},
                {static_cast<double>(std::max(span.first + 1, span.last)), 100.0 * *chance}};
            view.chart.lines.push_back(std::move(line));
        }
        view.status.push_back(
            label + meanText("Première perte d'un allèle", s.meanFirstLoss(), s.classes()) + " ; " +
            meanText("fixation", s.meanFixation(), s.classes()) + ".");
        view.notes.push_back({setLead(set, both), lesson.words});
    }
    view.chart.title = "Part des classes où l'allèle " + std::to_string(allele) +
                       " est fixé (trait épais) ou perdu (trait fin), " + generationsText(span);
    return view;
}

View heterozygosityView(const std::vector<ViewSet>& sets, const ChartChoice& choice,
                        ExpectedCache& expected) {
    View view = summaryFrame(sets, choice, Axis{"Génération t"},
                             Axis{"Hétérozygotie H = 1 − Σ p²", 0.0, 0.8, 0.1, 1});
    if (!view.generations) {
        view.chart.title = "Hétérozygotie : aucune simulation";
        return view;
    }
    const Span span = *view.generations;
    const bool both = sets.size() > 1;
    for (int set = 0; set < static_cast<int>(sets.size()); ++set) {
        const ViewSet& record = sets[static_cast<std::size_t>(set)];
        const Settings& settings = record.experiment->settings();
        const int classes = record.experiment->classes();
        const std::string label = setLabel(set, both);
        view.notes.push_back({setLead(set, both), heterozygosityExplanation(settings, classes)});

        const std::vector<double>& meanH = record.stats->meanHeterozygosity();
        Line observed = lineOf(Role::Heterozygosity, set, 0, kEveryAlleleColour);
        // Short names: a comparison's four fit on one legend line.
        const std::string n = groupDigits(static_cast<std::uint64_t>(settings.individuals));
        observed.name = both ? label + "moyenne, N = " + n : "Moyenne des classes (N = " + n + ")";
        observed.points =
            reducedLine(span.first, std::min(span.last, record.stats->generation()), choice.columns,
                        [&](int g) { return meanH[static_cast<std::size_t>(g)]; });
        view.chart.lines.push_back(std::move(observed));
        // Theory's curve over what is on show, even past a set stopped early.
        const std::vector<double>& curve =
            expected.heterozygosity(set, settings, classes, span.last);
        if (curve.empty())
            continue;
        Line line = lineOf(Role::Expected, set, 0, kTheoryColour);
        // Under a size history Ne changes with N: no one figure names the curve.
        const std::string ne = settings.sizes.empty()
                                   ? "Ne = " + frenchDecimal(effectiveSize(settings), 1)
                                   : std::string("Ne selon l'histoire de N");
        line.name = both ? label + "attendue, " + ne : "Attendue (" + ne + ")";
        line.width = kExpectedLine;
        line.points = reducedLine(span.first, span.last, choice.columns,
                                  [&](int g) { return curve[static_cast<std::size_t>(g)]; });
        view.chart.lines.push_back(std::move(line));
    }
    const int classes = sets.front().stats->classes();
    view.chart.title = "Hétérozygotie moyenne de " + classesText(classes) +
                       (both ? " par jeu" : "") + " et courbe" + (both ? "s" : "") + " attendue" +
                       (both ? "s" : "") + ", " + generationsText(span);
    return view;
}

View genotypesView(const std::vector<ViewSet>& sets, const ChartChoice& choice) {
    View view = summaryFrame(sets, choice, Axis{"Génération"},
                             Axis{"Part des individus", 0.0, 1.0, 0.2, 1});
    if (!view.generations) {
        view.chart.title = "Génotypes : aucune simulation";
        return view;
    }
    const Span span = *view.generations;
    const bool both = sets.size() > 1;
    for (int set = 0; set < static_cast<int>(sets.size()); ++set) {
        const ViewSet& record = sets[static_cast<std::size_t>(set)];
        const Statistics& s = *record.stats;
        const int alleles = s.alleles();
        const std::string label = setLabel(set, both);
        const int until = std::min(span.last, s.lastWithGenotypes());
        for (const int genotype : genotypeOrder(alleles)) {
            for (const Role role : {Role::Genotype, Role::HardyWeinberg}) {
                Line line = lineOf(role, set, genotype, genotypeColour(genotype));
                // One set: each genotype and its term, one entry each. Two: an
                // entry per genotype, « 11 (p²) », so that four alleles' still fit
                // beside the chart.
                const std::string name = genotypeName(genotype, alleles);
                const std::string term = hardyWeinbergName(genotype, alleles);
                if (!both)
                    line.name = role == Role::Genotype ? name : term;
                else if (role == Role::Genotype)
                    line.name = label + name + " (" + term + ")";
                if (role == Role::Genotype) {
                    line.width = kGenotypeBand;
                    line.opacity = kGenotypeBandOpacity;
                } else {
                    line.width = kThinLine;
                }
                line.points = reducedLine(span.first, until, choice.columns, [&](int g) {
                    const GenotypeShares& at = s.genotypes()[static_cast<std::size_t>(g)];
                    return role == Role::Genotype ? at.observed(genotype) : at.expected(genotype);
                });
                view.chart.lines.push_back(std::move(line));
            }
        }
        if (until >= span.first)
            view.status.push_back(genotypesStatus(
                label, s.genotypes()[static_cast<std::size_t>(until)], until, s.classes()));
        Explanation words = genotypesExplanation(record.experiment->settings(), s.classes());
        // Said once for both sets when it is the same: it says nothing of N.
        if (set == 1 && words.pupil == view.notes[0].words.pupil &&
            words.teacher == view.notes[0].words.teacher)
            view.notes[0].lead.clear();
        else
            view.notes.push_back({setLead(set, both), std::move(words)});
    }
    // Short enough for a projector's 1024 pixels: the status and the words say the rest.
    view.chart.title = "Génotypes (bandes) et Hardy-Weinberg (traits), " +
                       classesText(sets.front().stats->classes()) + (both ? " par jeu" : "") +
                       ", " + generationsText(span);
    return view;
}

} // namespace bocavo::labo

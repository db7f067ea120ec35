#include "web/bindings/lab_views.h"

#include "core/lab/science/theory.h"
#include "core/lab/view/palette.h"
#include "core/lab/words/explanation.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <string_view>

namespace bocavo::web {

namespace {

using emscripten::val;
using namespace bocavo::labo;

// Generations drawn at most per curve: more than a projector's width shows;
// and points in a whole view, so that a thousand classes draw without a stall.
inline constexpr int kMostPoints = 600;        // points per curve
inline constexpr int kMostViewPoints = 60'000; // points per view
inline constexpr int kFewestPoints = 50;       // points per curve, however many

std::vector<int> drawnGenerations(int last, int curves) {
    const int most = std::clamp(kMostViewPoints / std::max(1, curves), kFewestPoints, kMostPoints);
    std::vector<int> x;
    const int every = std::max(1, (last + most) / most);
    for (int g = 0; g <= last; g += every)
        x.push_back(g);
    if (last >= 0 && x.back() != last)
        x.push_back(last);
    return x;
}

std::string setName(const LabSession& session, int set) {
    return session.sets() > 1 ? std::string(set ? " — jeu B" : " — jeu A") : std::string();
}

struct View {
    val out = val::object();
    val series = val::array();
    std::vector<int> x;
    int count = 0;

    View(const std::string& title, const std::string& yLabel, double yMax, int last,
         int curves = 1) {
        out.set("title", title);
        out.set("yLabel", yLabel);
        out.set("yMax", yMax);
        x = drawnGenerations(last, curves);
        out.set("x", copied(x));
    }
    // A copy the page keeps: a typed array, made in one call rather than one per value.
    template <typename T> static val copied(const std::vector<T>& values) {
        return val(emscripten::typed_memory_view(values.size(), values.data())).call<val>("slice");
    }
    void add(const std::string& label, std::string_view colour, bool expected,
             const std::function<std::optional<double>(int g)>& value) {
        val s = val::object();
        s.set("label", label);
        s.set("colour", std::string(colour));
        s.set("expected", expected);
        std::vector<double> values;
        for (const int g : x)
            values.push_back(value(g).value_or(std::numeric_limits<double>::quiet_NaN()));
        s.set("values", copied(values));
        series.set(count++, s);
    }
    // The core's words for the set on show, led by its name when comparing;
    // none for a view the core says nothing of.
    val done(const LabSession& session, int set, const std::optional<Explanation>& words) {
        // The set's stroke, as the window draws it: B dashed when compared.
        const bool dashed = session.sets() > 1 && setStroke(set) == Stroke::Dashed;
        for (int i = 0; i < count; ++i)
            series[i].set("dashed", dashed);
        out.set("series", series);
        val list = val::array();
        if (words) {
            val entry = val::object();
            entry.set("set", setLead(set, session.sets() > 1));
            entry.set("pupil", words->pupil);
            entry.set("teacher", words->teacher);
            list.set(0, entry);
        }
        out.set("words", list);
        return out;
    }
};

std::string alleleName(int k) {
    return "Allèle " + std::to_string(k + 1);
}

val oneClass(const LabSession& session, int set, int number) {
    const Experiment& run = session.experiment(set);
    number = std::clamp(number, 1, run.classes());
    View view("Classe " + std::to_string(number) + setName(session, set) +
                  " : fréquence de chaque allèle",
              "Fréquence (%)", 100.0, session.statistics(set).generation());
    for (int k = 0; k < run.settings().alleles; ++k)
        view.add(alleleName(k), alleleColourCode(k + 1), false,
                 [&](int g) -> std::optional<double> {
                     return 100.0 * run.counts(number, g)[static_cast<std::size_t>(k)] /
                            run.settings().copiesAt(g);
                 });
    view.out.set("classNumber", number);
    return view.done(session, set, std::nullopt);
}

val everyClass(const LabSession& session, int set, int allele) {
    const Experiment& run = session.experiment(set);
    allele = std::clamp(allele, 1, run.settings().alleles);
    View view("Fréquence de l'allèle " + std::to_string(allele) + " dans chaque classe" +
                  setName(session, set),
              "Fréquence (%)", 100.0, session.statistics(set).generation(), run.classes());
    for (int c = 1; c <= run.classes(); ++c)
        view.add("Classe " + std::to_string(c), alleleColourCode(allele), false,
                 [&](int g) -> std::optional<double> {
                     return 100.0 * run.counts(c, g)[static_cast<std::size_t>(allele - 1)] /
                            run.settings().copiesAt(g);
                 });
    view.out.set("allele", allele);
    const int last = session.statistics(set).generation();
    return view.done(
        session, set,
        differentiationExplanation(
            run.settings(), run.classes(), last,
            session.statistics(set).differentiation()[static_cast<std::size_t>(last)]));
}

val fixation(const LabSession& session, int set) {
    const Experiment& run = session.experiment(set);
    const Statistics& stats = session.statistics(set);
    const Settings& settings = run.settings();
    const double classes = run.classes();
    View view("Classes où chaque allèle est fixé" + setName(session, set), "Classes (%)", 100.0,
              stats.generation());
    const auto expected = fixationProbabilities(settings);
    for (int k = 0; k < settings.alleles; ++k) {
        const auto a = static_cast<std::size_t>(k);
        view.add(alleleName(k) + " fixé", alleleColourCode(k + 1), false,
                 [&](int g) -> std::optional<double> {
                     return 100.0 * stats.fixedClasses()[static_cast<std::size_t>(g)][a] / classes;
                 });
        if (expected[a])
            view.add(alleleName(k) + " : attendu", kTheoryColour, true,
                     [&](int) -> std::optional<double> { return 100.0 * *expected[a]; });
    }
    return view.done(session, set, fixationExplanation(settings, run.classes()));
}

val heterozygosity(const LabSession& session, int set) {
    const Experiment& run = session.experiment(set);
    const Statistics& stats = session.statistics(set);
    const Settings& settings = run.settings();
    const int last = stats.generation();
    View view("Hétérozygotie moyenne" + setName(session, set), "Hétérozygotie", 1.0, last);
    view.add("Hétérozygotie observée", kEveryAlleleColour, false,
             [&](int g) -> std::optional<double> {
                 return stats.meanHeterozygosity()[static_cast<std::size_t>(g)];
             });
    const auto expected = expectedHeterozygosity(settings, last, run.classes());
    if (!expected.empty())
        view.add(
            "Hétérozygotie attendue", kTheoryColour, true,
            [&](int g) -> std::optional<double> { return expected[static_cast<std::size_t>(g)]; });
    if (settings.migration > 0.0 && run.classes() > 1) {
        view.add("Fst observé", kDifferentiationColour, false,
                 [&](int g) { return stats.differentiation()[static_cast<std::size_t>(g)]; });
        const auto fst = expectedDifferentiation(settings, run.classes(), last);
        if (!fst.empty())
            view.add("Fst attendu", kTheoryColour, true, [&](int g) -> std::optional<double> {
                return fst[static_cast<std::size_t>(g)];
            });
    }
    return view.done(session, set, heterozygosityExplanation(settings, run.classes()));
}

} // namespace

val viewData(const LabSession& session, const std::string& name, const val& options) {
    if (!session.hasRun())
        return val::null();
    const int set = std::clamp(options["set"].isUndefined() ? 0 : options["set"].as<int>(), 0,
                               session.sets() - 1);
    if (name == "classe")
        return oneClass(session, set,
                        options["classNumber"].isUndefined() ? 1
                                                             : options["classNumber"].as<int>());
    if (name == "classes")
        return everyClass(session, set,
                          options["allele"].isUndefined() ? 1 : options["allele"].as<int>());
    if (name == "fixation")
        return fixation(session, set);
    return heterozygosity(session, set);
}

} // namespace bocavo::web

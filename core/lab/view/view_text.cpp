#include "core/lab/view/view_text.h"

#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"

#include <algorithm>

namespace bocavo::labo {
namespace {

std::string grouped(int value) {
    return groupDigits(static_cast<std::uint64_t>(value));
}

} // namespace

std::string classesText(int classes) {
    if (classes <= 1)
        return classes == 1 ? "1 classe" : "aucune classe";
    return grouped(classes) + " classes";
}

std::string generationsText(Span span) {
    return "générations " + grouped(span.first) + " à " + grouped(span.last);
}

std::string differentiationText(const Experiment& run, const Statistics& stats, int g) {
    const std::string where =
        "Différenciation entre les classes à la génération " + grouped(g) + " : ";
    const std::optional<double> fst = stats.differentiation()[static_cast<std::size_t>(g)];
    if (!fst)
        return where + "toutes ont fixé le même allèle, Fst n'a plus de sens.";
    std::string text = where + "Fst = " + frenchDecimal(*fst, 2) +
                       " (0 : toutes pareilles, 1 : chacune son allèle).";
    if (const std::string expected = differentiationSentence(run.settings(), run.classes());
        !expected.empty())
        text += ' ' + expected;
    return text;
}

} // namespace bocavo::labo

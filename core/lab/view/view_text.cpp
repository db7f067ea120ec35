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

std::string runStanding(const std::vector<int>& generations) {
    const int a = generations.at(0);
    if (std::all_of(generations.begin(), generations.end(), [a](int b) { return b == a; }))
        return "génération " + grouped(a);
    const int b = generations.at(1);
    if (b < 0)
        return "génération " + grouped(a) + " pour le jeu A, le jeu B n'a pas encore commencé";
    return "génération " + grouped(a) + " pour le jeu A et " + grouped(b) + " pour le jeu B";
}

} // namespace bocavo::labo

#include "core/lab/words/explanation.h"

#include "core/lab/science/fixation.h"
#include "core/lab/science/theory.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace bocavo::labo {
namespace {

// Wright's scale for Fst: little below 0.05, moderate to 0.15, great to 0.25,
// very great above.
inline constexpr double kLittleDifferentiation = 0.05;
inline constexpr double kModerateDifferentiation = 0.15;
inline constexpr double kGreatDifferentiation = 0.25;

std::string joined(const std::vector<std::string>& sentences) {
    std::string text;
    for (const std::string& s : sentences)
        if (!s.empty())
            text += (text.empty() ? "" : " ") + s;
    return text;
}

std::string individualsText(int n) {
    return groupDigits(static_cast<std::uint64_t>(n)) + " individus";
}

// A count of generations as a pupil reads an estimate: two significant digits.
std::string roughly(double generations) {
    const double magnitude = std::pow(10.0, std::max(0.0, std::floor(std::log10(generations)) - 1));
    return groupDigits(
        static_cast<std::uint64_t>(std::llround(generations / magnitude) * magnitude));
}

std::string sizeSentence(const Settings& s) {
    const std::string n = individualsText(s.individuals);
    if (s.individuals <= kSmallPopulation)
        return "Avec seulement " + n +
               ", la population est petite, et le hasard des naissances fait vite varier les "
               "fréquences des allèles : dans une petite population, un allèle disparaît plus "
               "vite.";
    if (s.individuals >= kLargePopulation)
        return "Avec " + n +
               ", la population est grande : les fréquences des allèles ne varient que "
               "lentement, et un allèle peut s'y maintenir très longtemps par le hasard seul.";
    return "Avec " + n +
           ", les fréquences des allèles varient par hasard d'une génération à l'autre ; plus "
           "la population est petite, plus un allèle disparaît vite.";
}

// Drift alone takes about 1/(2Ne) of the heterozygosity away each generation:
// the generations it takes to halve it.
double halvingGenerations(const Settings& s) {
    return std::log(2.0) / -std::log1p(-1.0 / (2.0 * effectiveSize(s)));
}

// A share as a pupil reads it: whole percents, and never a misleading 0 %.
std::string roundPercent(double share) {
    const long percent = std::lround(100.0 * share);
    if (percent == 0 && share > 0.0)
        return "moins de 1 %";
    return std::to_string(percent) + " %";
}

std::string forcesSentences(const Settings& s) {
    std::vector<std::string> said;
    if (s.mutation > 0.0) {
        std::string text = "La mutation crée de temps en temps de nouveaux allèles : "
                           "l'hétérozygotie ne tombe pas à zéro";
        if (const auto h = equilibriumHeterozygosity(s))
            text += ", elle se stabilise vers " + roundPercent(*h);
        said.push_back(text + ".");
    }
    if (s.migration > 0.0)
        said.push_back("Des migrants venus des autres classes apportent leurs allèles : une classe "
                       "peut retrouver un allèle qu'elle avait perdu, et les classes restent "
                       "proches les unes des autres.");
    if (hasSelection(s) && s.genotypes)
        said.push_back("La sélection favorise certains génotypes : un allèle peut se répandre, ou "
                       "les deux se maintenir quand l'hétérozygote est avantagé ; un génotype de "
                       "valeur sélective 0 % ne survit jamais.");
    else if (hasSelection(s))
        said.push_back("La sélection avantage certains allèles, qui ont plus de chances de se "
                       "répandre ; mais le hasard peut encore les faire disparaître.");
    return joined(said);
}

std::string alleleShares(const Fixation& figures, const Settings& s, int classes) {
    std::string list;
    for (int k = 0; k < s.alleles; ++k) {
        const double share = *figures.chance[static_cast<std::size_t>(k)];
        list += (k == 0 ? "l'allèle " : ", l'allèle ") + std::to_string(k + 1) + " dans " +
                roundPercent(share) + (k == 0 ? (classes > 1 ? " des classes" : " des cas") : "");
        if (classes > 1)
            list += " (" + std::to_string(std::lround(share * classes)) + " sur " +
                    groupDigits(static_cast<std::uint64_t>(classes)) + ")";
    }
    return "À la longue, un seul allèle reste dans chaque classe. On s'attend à peu près à ce "
           "que ce soit " +
           list + ".";
}

// What the ideal model would give for the protocol's urn, where the founding
// draw makes the two differ.
std::string idealComparison(const Settings& s, const Fixation& figures) {
    if (s.model != Model::Protocole || !figures.chance[0])
        return {};
    Settings ideal = s;
    ideal.model = Model::WrightFisher;
    const Fixation other = fixation(ideal);
    std::string differences;
    for (int k = 0; k < s.alleles; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (other.chance[i] && std::abs(*figures.chance[i] - *other.chance[i]) >= 0.005)
            differences += (differences.empty() ? "" : ", ") + std::string("allèle ") +
                           std::to_string(k + 1) + " : " + percentText(*other.chance[i]);
    }
    if (differences.empty())
        return {};
    return std::string("Dans le modèle idéal (Wright-Fisher), la même urne donnerait") +
           (hasSelection(s) ? "" : " sa fréquence de départ") + " : " + differences + ".";
}

} // namespace

Explanation heterozygosityExplanation(const Settings& s, int classes) {
    std::string drift;
    if (s.mutation == 0.0 && s.migration == 0.0 && !hasSelection(s))
        drift = "Ici, l'hétérozygotie (la chance que deux copies du gène prises au hasard dans "
                "une classe soient différentes) devrait diminuer de moitié en environ " +
                roughly(halvingGenerations(s)) + " générations.";
    return {joined({sizeSentence(s), drift, forcesSentences(s)}),
            joined({effectiveSizeSentence(s), heterozygositySentence(s), equilibriumSentence(s),
                    differentiationSentence(s, classes)})};
}

Explanation fixationExplanation(const Settings& s, int classes) {
    const Fixation figures = fixation(s);
    if (figures.method == FixationMethod::None) {
        if (s.mutation > 0.0 || s.migration > 0.0)
            return {std::string(s.mutation > 0.0 ? "La mutation peut faire réapparaître un allèle "
                                                   "perdu"
                                                 : "Un migrant peut ramener un allèle perdu") +
                        " : une classe ne garde jamais un seul allèle pour toujours.",
                    "Avec mutation ou migration, une fixation n'est pas définitive : aucune "
                    "probabilité de fixation n'est attendue."};
        if (s.genotypes)
            return {"La sélection favorise certains génotypes, mais le hasard compte aussi : on "
                    "ne peut pas dire simplement dans quelle part des classes chaque allèle "
                    "l'emportera.",
                    "Aucune probabilité de fixation n'est attendue ici : avec les valeurs "
                    "sélectives des génotypes, le calcul est exact dans le modèle idéal à 1 000 "
                    "copies au plus, et ailleurs ne vaut que si elles diffèrent de moins de 10 % "
                    "(modèle idéal) ou 2 % (protocole), sans histoire de la taille ni urne "
                    "source."};
        return {"La sélection avantage certains allèles, mais le hasard compte aussi : on ne "
                "peut pas dire simplement dans quelle part des classes chacun l'emportera.",
                "Aucune probabilité de fixation n'est attendue ici : le calcul ne vaut que pour "
                "un allèle face à d'autres de même valeur sélective, et, hors du modèle idéal à "
                "1 000 copies au plus, pour une sélection faible ou une issue presque certaine."};
    }
    const std::string why =
        figures.method == FixationMethod::Neutral
            ? "Sans sélection, le hasard seul décide quel allèle reste : plus un allèle a de "
              "boules dans l'urne au départ, plus il a de chances de l'emporter."
        : figures.method == FixationMethod::Lethal
            ? "Un génotype de valeur sélective 0 % ne survit jamais : l'allèle de l'homozygote "
              "létal ne peut pas l'emporter, il ne se maintient que chez les hétérozygotes."
        : s.genotypes
            ? "La sélection favorise certains génotypes, mais le hasard compte aussi : un allèle "
              "avantagé peut encore disparaître, surtout dans une petite population."
            : "La sélection avantage les allèles de plus grande valeur sélective, mais le hasard "
              "compte aussi : un allèle avantagé peut encore disparaître, surtout dans une petite "
              "population.";
    return {joined({why, alleleShares(figures, s, classes)}),
            joined({fixationSentence(s), idealComparison(s, figures)})};
}

Explanation differentiationExplanation(const Settings& s, int classes, int generation,
                                       std::optional<double> observedFst) {
    if (classes < 2)
        return {"Avec une seule classe, il n'y a pas d'autre classe à qui la comparer.",
                "Fst mesure la différenciation entre des classes : il en faut au moins deux."};
    const std::string g = groupDigits(static_cast<std::uint64_t>(generation));
    const std::string teacherHead =
        "Différenciation entre les classes à la génération " + g + " : ";
    if (!observedFst)
        return {"À la génération " + g +
                    ", toutes les classes ont gardé le même allèle : elles ne diffèrent plus.",
                teacherHead + "toutes ont fixé le même allèle, Fst n'a plus de sens."};
    const double fst = *observedFst;
    const char* how = fst < kLittleDifferentiation     ? "peu"
                      : fst < kModerateDifferentiation ? "assez"
                      : fst < kGreatDifferentiation    ? "très"
                                                       : "extrêmement";
    return {
        "À la génération " + g + ", les classes sont " + how + " différentes les unes des autres" +
            (s.migration > 0.0 ? " : les migrants les empêchent de s'éloigner tout à fait."
                               : " : chacune dérive de son côté, sans échange avec les autres."),
        joined({teacherHead + "Fst = " + frenchDecimal(fst, 2) +
                    " (0 : toutes pareilles, 1 : chacune son allèle).",
                differentiationSentence(s, classes)})};
}

} // namespace bocavo::labo

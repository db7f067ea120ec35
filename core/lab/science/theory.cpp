#include "core/lab/science/theory.h"

#include "core/lab/science/deme.h"
#include "core/lab/science/fixation.h"
#include "core/lab/science/identity.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bocavo::labo {

std::vector<int> offspringPerParent(int parents, int children) {
    std::vector<int> perParent(static_cast<std::size_t>(parents), 0);
    const int couples = parents / 2;
    for (const int brood : broodsFor(children)) {
        for (int c = 0; c < brood; ++c) {
            ++perParent[static_cast<std::size_t>(2 * (c % couples))];
            ++perParent[static_cast<std::size_t>(2 * (c % couples) + 1)];
        }
    }
    return perParent;
}

namespace {

// Vk of `parents` parents breeding `children` children.
double varianceOf(Model model, int parents, int children) {
    const double mean = 2.0 * children / parents;
    if (model == Model::WrightFisher)
        return mean * (1.0 - 1.0 / parents); // binomial(2N', 1/N)
    double squares = 0.0;
    for (const int k : offspringPerParent(parents, children))
        squares += (k - mean) * (k - mean);
    return squares / parents;
}

} // namespace

double offspringVariance(const Settings& s) {
    return varianceOf(s.model, s.individuals, s.individuals);
}

double effectiveSize(const Settings& s) {
    if (s.model == Model::WrightFisher)
        return s.individuals;
    return (4.0 * s.individuals - 2.0) / (offspringVariance(s) + 2.0);
}

double effectiveSizeAt(const Settings& s, int g) {
    const int parents = s.individualsAt(g - 1);
    const int children = s.individualsAt(g);
    if (s.model == Model::WrightFisher)
        return parents;
    const double mean = 2.0 * children / parents;
    return (parents * mean - 1.0) / (mean - 1.0 + varianceOf(s.model, parents, children) / mean);
}

double meanEffectiveSize(const Settings& s, int last) {
    if (s.sizes.empty() || last < 1)
        return effectiveSize(s);
    // Constant stretches at once: a history has a few steps, a run up to 32 767 generations.
    double inverses = 0.0;
    for (int g = 1; g <= last;) {
        // The generations bred like g: g alone where the size changes.
        const int end =
            s.individualsAt(g - 1) != s.individualsAt(g) ? g : std::min(last, s.stretchEnd(g));
        inverses += (end - g + 1) / effectiveSizeAt(s, g);
        g = end + 1;
    }
    return last / inverses;
}

double founderHeterozygosity(const Settings& s) {
    const Identity identity(s, 1);
    return identity.heterozygosity(identity.founding(), 0);
}

std::vector<double> expectedHeterozygosity(const Settings& s, int last, int classes) {
    std::vector<double> curve;
    if (hasSelection(s) || last < 0)
        return curve;
    const Identity identity(s, classes);
    curve.reserve(static_cast<std::size_t>(last) + 1);
    curve.push_back(identity.heterozygosity(identity.founding(), 0));
    Differences d = identity.first();
    for (int t = 1; t <= last; ++t) {
        curve.push_back(identity.heterozygosity(d, t));
        d = identity.next(d, t);
    }
    return curve;
}

std::optional<double> equilibriumHeterozygosity(const Settings& s) {
    if (s.mutation == 0.0 || hasSelection(s) || s.migration > 0.0)
        return std::nullopt;
    const Identity identity(s, 1);
    return identity.heterozygosity(identity.balance(), kMaxGeneration);
}

double startingFrequency(const Settings& s, int allele) {
    return static_cast<double>(s.urn[static_cast<std::size_t>(allele - 1)]) / s.balls();
}

namespace {

using Frequencies = std::array<double, kMaxAlleles>;

// One breeding under selection, then mutation, in a population too large to
// drift. A child is first drawn from `first` (its own couple's alleles) and
// kept with chance w/w_max; a child not kept is drawn again from `again` (a
// random couple) until one is kept: allele a's share is A_a + (1 − K)·B_a/L,
// A_a = Σ_b first_a·first_b·keep_ab and K = Σ_a A_a, B and L the same from
// `again`. With first = again it is p_a·Σ_b p_b·w_ab / w̄.
std::optional<Frequencies> bred(const Settings& s, const Frequencies& first,
                                const Frequencies& again) {
    const int k = s.alleles;
    double highest = 0.0;
    for (int a = 0; a < k; ++a)
        for (int b = 0; b < k; ++b)
            highest = std::max(highest, genotypeFitness(s, a, b));
    auto kept = [&](const Frequencies& p, Frequencies& share) {
        double total = 0.0;
        for (int a = 0; a < k; ++a) {
            const auto i = static_cast<std::size_t>(a);
            share[i] = 0.0;
            for (int b = 0; b < k; ++b)
                share[i] +=
                    p[i] * p[static_cast<std::size_t>(b)] * genotypeFitness(s, a, b) / highest;
            total += share[i];
        }
        return total;
    };
    Frequencies firstKept{}, againKept{};
    const double keptFirst = kept(first, firstKept);
    const double keptAgain = kept(again, againKept);
    if (keptAgain <= 0.0)
        return std::nullopt;
    Frequencies p{};
    for (std::size_t i = 0; i < static_cast<std::size_t>(k); ++i) {
        const double selected = firstKept[i] + (1.0 - keptFirst) * againKept[i] / keptAgain;
        p[i] = selected * (1.0 - s.mutation) + (1.0 - selected) * s.mutation / (k - 1);
    }
    return p;
}

} // namespace

std::vector<std::array<double, kMaxAlleles>> expectedFrequencies(const Settings& s, int last) {
    std::vector<Frequencies> curve;
    if (!hasSelection(s) || last < 0)
        return curve;
    Frequencies p{};
    for (int a = 0; a < s.alleles; ++a)
        p[static_cast<std::size_t>(a)] = startingFrequency(s, a + 1);
    curve.reserve(static_cast<std::size_t>(last) + 1);
    curve.push_back(p);
    // The protocol's founding draw gathers an uneven urn's rare allele in the
    // first couples, whose broods are largest (identity.h): the first children
    // are drawn from those shares, their redraws from the founders' own.
    Frequencies first = last >= 1 ? firstBredFrequencies(s) : p;
    for (int t = 1; t <= last; ++t) {
        const auto next = bred(s, first, p);
        if (!next)
            break; // nothing can survive
        p = first = *next;
        curve.push_back(p);
    }
    return curve;
}

std::array<std::optional<double>, kMaxAlleles> fixationProbabilities(const Settings& s) {
    return fixation(s).chance;
}

std::vector<double> expectedDifferentiation(const Settings& s, int classes, int last) {
    std::vector<double> curve;
    if (s.migration == 0.0 || classes < 2 || hasSelection(s) || last < 0)
        return curve;
    const Identity identity(s, classes);
    curve.reserve(static_cast<std::size_t>(last) + 1);
    curve.push_back(identity.differentiation(identity.founding(), 0));
    Differences d = identity.first();
    for (int t = 1; t <= last; ++t) {
        curve.push_back(identity.differentiation(d, t));
        d = identity.next(d, t);
    }
    return curve;
}

std::optional<double> differentiationBalance(const Settings& s, int classes) {
    if (s.migration == 0.0 || classes < 2 || hasSelection(s))
        return std::nullopt;
    const Identity identity(s, classes);
    return identity.differentiation(identity.balance(), kMaxGeneration);
}

std::string plainNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string expectedLines(const Settings& s, int classes, int last) {
    std::string lines = "attendu Ne : " + plainNumber(meanEffectiveSize(s, last)) + "\n";
    const auto h = expectedHeterozygosity(s, last, classes);
    if (!h.empty())
        lines += "attendu hétérozygotie : " + plainNumber(h.back()) + "\n";
    const auto fixed = fixationProbabilities(s);
    for (int k = 0; k < s.alleles; ++k)
        if (const auto share = fixed[static_cast<std::size_t>(k)])
            lines += "attendu allèle " + std::to_string(k + 1) + " : " + plainNumber(*share) + "\n";
    const auto fst = expectedDifferentiation(s, classes, last);
    if (!fst.empty())
        lines += "attendu Fst : " + plainNumber(fst.back()) + "\n";
    return lines;
}

std::string effectiveSizeSentence(const Settings& s) {
    const std::string ne = frenchDecimal(effectiveSize(s), 1);
    const std::string n = groupDigits(static_cast<std::uint64_t>(s.individuals));
    if (s.model == Model::WrightFisher)
        return "Ne = N = " + n +
               " : dans le modèle idéal, chaque copie vient d'un parent tiré "
               "au hasard, et la population dérive exactement comme une population idéale.";
    return "Ne = " + ne + " : les " + n +
           " parents ont de 0 à 4 enfants, 2 en moyenne avec une "
           "variance Vk = " +
           frenchDecimal(offspringVariance(s), 1) +
           ", et cette inégalité fait dériver la population comme une population idéale de "
           "Ne = (4N − 2)/(Vk + 2) = " +
           ne + " individus seulement pour N = " + n + ".";
}

std::string heterozygositySentence(const Settings& s) {
    if (hasSelection(s))
        return {};
    const std::string h1 = frenchDecimal(expectedHeterozygosity(s, 1)[1], 3);
    std::string forces;
    if (s.mutation > 0.0)
        forces += ", la mutation en rend";
    if (s.migration > 0.0)
        forces += ", la migration en rend à chaque classe";
    return "Hétérozygotie attendue, calculée génération par génération depuis la première "
           "reproduction (H1 = " +
           h1 + ") : la dérive en retire environ 1/(2Ne) = " +
           percentText(1.0 / (2.0 * effectiveSize(s))) + " à chaque génération" + forces + ".";
}

std::string equilibriumSentence(const Settings& s) {
    const auto h = equilibriumHeterozygosity(s);
    if (!h)
        return {};
    return "Équilibre mutation–dérive, où la même récurrence se stabilise : H = " +
           frenchDecimal(*h, 3) +
           " ; la mutation entretient la variation que la dérive fait perdre.";
}

std::string fixationSentence(const Settings& s) {
    const Fixation figures = fixation(s);
    if (figures.method == FixationMethod::None)
        return {};
    std::string list;
    for (int k = 0; k < s.alleles; ++k) {
        list += (k == 0 ? "" : ", ") + std::string("allèle ") + std::to_string(k + 1) + " : " +
                percentText(*figures.chance[static_cast<std::size_t>(k)]) + " (" +
                percentText(startingFrequency(s, k + 1)) + " au départ)";
    }
    const std::string lost = ". Un allèle avantageux peut encore être perdu par hasard.";
    if (figures.method == FixationMethod::Lethal)
        return "Probabilité de fixation exacte : un homozygote de valeur sélective 0 % ne "
               "survit jamais, son allèle ne peut donc pas être fixé ; " +
               list + ".";
    if (figures.method == FixationMethod::Chain)
        return "Probabilité de fixation avec sélection, calculée exactement (chaîne de Markov du "
               "modèle idéal) ; " +
               list + lost;
    if (figures.method == FixationMethod::Diffusion)
        return "Probabilité de fixation avec sélection (approximation de diffusion) : u(p) = "
               "(1 − (1 + s·p)^(1 − 2Ne))/(1 − (1 + s)^(1 − 2Ne)) ; " +
               list + lost;
    if (s.model == Model::WrightFisher)
        return "Probabilité de fixation d'un allèle neutre : sa fréquence de départ ; " + list +
               ".";
    return "Probabilité de fixation d'un allèle neutre : sa fréquence attendue après la première "
           "reproduction ; " +
           list +
           ". Le tirage des fondateurs choisit un allèle au hasard "
           "parmi ceux qui restent dans l'urne : un allèle rare tombe chez les premiers "
           "individus, dont les couples ont le plus d'enfants.";
}

std::string differentiationSentence(const Settings& s, int classes) {
    const auto fst = differentiationBalance(s, classes);
    if (!fst)
        return {};
    return "Différenciation attendue entre les " + std::to_string(classes) +
           " classes (modèle en îles, calculée génération par génération) : Fst se stabilise "
           "vers " +
           frenchDecimal(*fst, 3) + " ; la migration empêche les classes de diverger tout à fait.";
}

} // namespace bocavo::labo

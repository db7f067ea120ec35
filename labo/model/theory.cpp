#include "labo/model/theory.h"

#include "labo/model/deme.h"

#include <algorithm>
#include <cmath>

namespace bocavo::labo {
namespace {

// Founding draws averaged for the first breeding's frequencies: enough copies
// that the average's standard error stays under 0.001, few enough to take
// about 10 ms.
inline constexpr int kFoundingCopies = 1 << 20;            // copies drawn in all
inline constexpr std::uint32_t kFoundingSeed = 19'931'993; // the average's own source

bool onlyDriftAndMutation(const Settings& s) {
    return !hasSelection(s) && s.migration == 0.0;
}

// Kimura's u(p) = (1 − e^(−2Ne·s·p))/(1 − e^(−2Ne·s)), p itself as s → 0.
double kimura(double p, double s, double ne) {
    const double x = -2.0 * ne * s;
    if (std::abs(x) < 1e-9)
        return p;
    return std::expm1(x * p) / std::expm1(x);
}

// Which allele's fitness stands alone against the others' shared one: 0..K − 1,
// or −1 when fitnesses are not of that pattern.
int loneAllele(const Settings& s) {
    const int k = s.alleles;
    for (int a = 0; a < k; ++a) {
        int other = -1;
        bool shared = true;
        for (int b = 0; b < k; ++b) {
            if (b == a)
                continue;
            const int w = s.fitness[static_cast<std::size_t>(b)];
            if (other < 0)
                other = w;
            shared = shared && w == other;
        }
        if (shared && other != s.fitness[static_cast<std::size_t>(a)])
            return a;
    }
    return -1;
}

// a = 1 − uK/(K − 1): how much of a difference in frequency one generation of
// mutation keeps (the K-allele mutation matrix's second eigenvalue).
double mutationKeep(const Settings& s) {
    return 1.0 - s.mutation * s.alleles / (s.alleles - 1.0);
}

// One generation of the expected homozygosity F = Σ p²: each new copy is a
// parent's copy, mutated, so the copies are drawn from the mutated
// frequencies, whose Σ p² is 1/K + a²(F − 1/K); drawing 2Ne of them adds the
// chance 1/(2Ne) that two copies come from the same one. Exact in the ideal model.
double nextHomozygosity(double f, double ne, double a, int k) {
    const double x = 1.0 / (2.0 * ne);
    return x + (1.0 - x) * (1.0 / k + a * a * (f - 1.0 / k));
}

} // namespace

std::vector<int> offspringPerParent(int individuals) {
    const Plan plan(Settings{.individuals = individuals});
    std::vector<int> children(static_cast<std::size_t>(individuals), 0);
    for (const int brood : plan.broods) {
        for (int c = 0; c < brood; ++c) {
            ++children[static_cast<std::size_t>(2 * c)];
            ++children[static_cast<std::size_t>(2 * c + 1)];
        }
    }
    return children;
}

double offspringVariance(const Settings& s) {
    if (s.model == Model::WrightFisher)
        return 2.0 * (1.0 - 1.0 / s.individuals); // binomial(2N, 1/N)
    const auto children = offspringPerParent(s.individuals);
    double squares = 0.0;
    for (const int k : children)
        squares += (k - 2.0) * (k - 2.0); // the mean is 2: N children of two parents
    return squares / s.individuals;
}

double effectiveSize(const Settings& s) {
    if (s.model == Model::WrightFisher)
        return s.individuals;
    return (4.0 * s.individuals - 2.0) / (offspringVariance(s) + 2.0);
}

double founderHeterozygosity(const Settings& s) {
    double sum = 0.0;
    for (int k = 0; k < s.alleles; ++k) {
        const double p = startingFrequency(s, k + 1);
        sum += p * p;
    }
    return 1.0 - sum;
}

std::vector<double> expectedHeterozygosity(const Settings& s, int last) {
    std::vector<double> curve;
    if (!onlyDriftAndMutation(s) || last < 0)
        return curve;
    const double ne = effectiveSize(s);
    const double h0 = founderHeterozygosity(s);
    curve.reserve(static_cast<std::size_t>(last) + 1);
    if (s.mutation == 0.0) {
        // H0 (1 − 1/(2Ne))^t.
        for (int t = 0; t <= last; ++t)
            curve.push_back(h0 * std::pow(1.0 - 1.0 / (2.0 * ne), t));
        return curve;
    }
    const double a = mutationKeep(s);
    double f = 1.0 - h0;
    for (int t = 0; t <= last; ++t) {
        curve.push_back(1.0 - f);
        f = nextHomozygosity(f, ne, a, s.alleles);
    }
    return curve;
}

std::optional<double> equilibriumHeterozygosity(const Settings& s) {
    if (s.mutation == 0.0 || !onlyDriftAndMutation(s))
        return std::nullopt;
    const double ne = effectiveSize(s);
    const double k = s.alleles;
    if (s.mutation <= 0.01) {
        const double theta = 4.0 * ne * s.mutation;
        return theta * (k - 1.0) / (k - 1.0 + theta * k);
    }
    // F = nextHomozygosity(F) solved for F.
    const double a2 = mutationKeep(s) * mutationKeep(s);
    const double x = 1.0 / (2.0 * ne);
    const double f = (x + (1.0 - x) * (1.0 - a2) / k) / (1.0 - (1.0 - x) * a2);
    return 1.0 - f;
}

double startingFrequency(const Settings& s, int allele) {
    return static_cast<double>(s.urn[static_cast<std::size_t>(allele - 1)]) / s.copies();
}

std::array<double, kMaxAlleles> firstBreedingFrequencies(const Settings& s) {
    std::array<double, kMaxAlleles> shares{};
    if (s.model == Model::WrightFisher) {
        for (int k = 0; k < s.alleles; ++k)
            shares[static_cast<std::size_t>(k)] = startingFrequency(s, k + 1);
        return shares;
    }
    // Parent i passes one of its two copies to each of its n_i children, so a
    // founding draw leaves allele k an expected Σ n_i (x_i1 + x_i2)/2 copies
    // among the 2N children, averaged here over many founding draws.
    const auto children = offspringPerParent(s.individuals);
    const int draws = std::max(64, kFoundingCopies / s.copies());
    Source_Aleatoire source(kFoundingSeed);
    std::vector<Allele> founders;
    std::array<double, kMaxAlleles> weight{};
    for (int r = 0; r < draws; ++r) {
        drawFounders(s, source, founders);
        for (std::size_t c = 0; c < founders.size(); ++c)
            weight[founders[c]] += children[c / 2];
    }
    for (std::size_t k = 0; k < shares.size(); ++k)
        shares[k] = weight[k] / (2.0 * draws * s.copies());
    return shares;
}

std::array<std::optional<double>, kMaxAlleles> fixationProbabilities(const Settings& s) {
    std::array<std::optional<double>, kMaxAlleles> chance{};
    if (s.mutation > 0.0 || s.migration > 0.0)
        return chance;
    const auto p = firstBreedingFrequencies(s);
    if (!hasSelection(s)) {
        for (int k = 0; k < s.alleles; ++k)
            chance[static_cast<std::size_t>(k)] = p[static_cast<std::size_t>(k)];
        return chance;
    }
    const int lone = loneAllele(s);
    if (lone < 0)
        return chance;
    const auto a = static_cast<std::size_t>(lone);
    const double wA = s.fitness[a];
    const double wa = s.fitness[lone == 0 ? 1 : 0];
    const double u = kimura(p[a], wA / wa - 1.0, effectiveSize(s));
    for (int k = 0; k < s.alleles; ++k) {
        const auto i = static_cast<std::size_t>(k);
        // The others are neutral among themselves: they share what A leaves.
        chance[i] = i == a ? u : (1.0 - u) * p[i] / (1.0 - p[a]);
    }
    return chance;
}

std::optional<double> expectedDifferentiation(const Settings& s, int classes) {
    if (s.migration == 0.0 || classes < 2 || s.mutation > 0.0 || hasSelection(s))
        return std::nullopt;
    const double d = classes;
    const double finite = (d / (d - 1.0)) * (d / (d - 1.0));
    return 1.0 / (1.0 + 4.0 * effectiveSize(s) * s.migration * finite);
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
    if (!onlyDriftAndMutation(s))
        return {};
    const std::string h0 = frenchDecimal(founderHeterozygosity(s), 3);
    const std::string ne = frenchDecimal(effectiveSize(s), 1);
    if (s.mutation == 0.0)
        return "Hétérozygotie attendue : H(t) = " + h0 + " × (1 − 1/(2 × " + ne +
               "))^t ; la dérive en retire 1/(2Ne) = " +
               percentText(1.0 / (2.0 * effectiveSize(s))) + " à chaque génération.";
    return "Hétérozygotie attendue, génération par génération : la dérive en retire 1/(2Ne), la "
           "mutation en rend, à partir de H0 = " +
           h0 + ".";
}

std::string equilibriumSentence(const Settings& s) {
    const auto h = equilibriumHeterozygosity(s);
    if (!h)
        return {};
    const std::string value = frenchDecimal(*h, 3);
    if (s.mutation <= 0.01)
        return "Équilibre mutation–dérive : H = 4Ne·u·(K − 1)/(K − 1 + 4Ne·u·K) = " + value +
               " : la mutation entretient la variation que la dérive fait perdre.";
    return "Équilibre mutation–dérive (calculé génération par génération, u dépassant 0,01) : "
           "H = " +
           value + " : la mutation entretient la variation que la dérive fait perdre.";
}

std::string fixationSentence(const Settings& s) {
    const auto chance = fixationProbabilities(s);
    if (!chance[0])
        return {};
    std::string list;
    for (int k = 0; k < s.alleles; ++k) {
        list += (k == 0 ? "" : ", ") + std::string("allèle ") + std::to_string(k + 1) + " : " +
                percentText(*chance[static_cast<std::size_t>(k)]) + " (" +
                percentText(startingFrequency(s, k + 1)) + " au départ)";
    }
    if (hasSelection(s))
        return "Probabilité de fixation avec sélection faible (Kimura) : u(p) = (1 − e^(−2Ne·s·p))/"
               "(1 − e^(−2Ne·s)) ; " +
               list +
               ". Un allèle avantageux peut encore être perdu "
               "par hasard.";
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
    const auto fst = expectedDifferentiation(s, classes);
    if (!fst)
        return {};
    return "Différenciation attendue entre les " + std::to_string(classes) +
           " classes (modèle en îles) : Fst ≈ 1/(1 + 4Ne·m·(d/(d − 1))²) = " +
           frenchDecimal(*fst, 3) + " ; la migration empêche les classes de diverger tout à fait.";
}

} // namespace bocavo::labo

#include "core/lab/science/settings.h"

#include <algorithm>
#include <cctype>

namespace bocavo::labo {
namespace {

// A whole number within [low, high], as an int.
std::optional<int> wholeIn(std::string_view text, int low, int high) {
    const auto value = wholeNumber(text);
    if (!value || *value < static_cast<std::uint64_t>(low) ||
        *value > static_cast<std::uint64_t>(high))
        return std::nullopt;
    return static_cast<int>(*value);
}

std::string fitnessText(int percent) {
    return groupDigits(static_cast<std::uint64_t>(percent)) + " %";
}

// The size history against the model.
Result<void> checkSizes(const Settings& s) {
    if (s.sizes.size() > static_cast<std::size_t>(kMaxSizeChanges))
        return Refusal{"L'histoire de la taille compte au plus " + std::to_string(kMaxSizeChanges) +
                       " changements."};
    const bool ideal = s.model == Model::WrightFisher;
    int previous = 0;
    for (const SizeChange& change : s.sizes) {
        const std::string where = "À la génération " + std::to_string(change.generation);
        if (change.generation < 1 || change.generation > kMaxGeneration)
            return Refusal{
                "Les générations de l'histoire de la taille vont de 1 à 32 767 (et non " +
                std::to_string(change.generation) + ")."};
        if (change.generation <= previous)
            return Refusal{
                "Les générations de l'histoire de la taille doivent aller en croissant (" +
                std::to_string(change.generation) + " après " + std::to_string(previous) + ")."};
        previous = change.generation;
        if (ideal &&
            (change.individuals < kMinIdealIndividuals || change.individuals > kMaxIndividuals))
            return Refusal{where + ", N doit aller de 1 à 10 000 (et non " +
                           std::to_string(change.individuals) + ")."};
        if (!ideal &&
            (change.individuals < kMinIndividuals || change.individuals > kMaxIndividuals ||
             change.individuals % kIndividualsStep != 0))
            return Refusal{
                where +
                ", N doit être un multiple de 10 de 10 à 10 000 dans le protocole de la classe, "
                "qui forme des couples (et non " +
                std::to_string(change.individuals) +
                ") ; le modèle idéal accepte toute taille de 1 à 10 000."};
    }
    return {};
}

// Genotype fitness: two alleles only, in range, some genotype alive, and not
// beside allele fitness, so that a set never carries two rules at once.
Result<void> checkGenotypes(const Settings& s) {
    if (!s.genotypes)
        return {};
    if (s.alleles != 2)
        return Refusal{"Les valeurs sélectives des génotypes 11, 12 et 22 ne valent que pour 2 "
                       "allèles (et non " +
                       std::to_string(s.alleles) +
                       ") ; avec plus d'allèles, donnez celles des allèles."};
    for (const int w : *s.genotypes)
        if (w < kMinGenotypeFitness || w > kMaxGenotypeFitness)
            return Refusal{"La valeur sélective d'un génotype doit aller de " +
                           fitnessText(kMinGenotypeFitness) + " à " +
                           fitnessText(kMaxGenotypeFitness) + " (et non " + fitnessText(w) + ")."};
    if (std::all_of(s.genotypes->begin(), s.genotypes->end(), [](int w) { return w == 0; }))
        return Refusal{"Au moins un génotype doit avoir une valeur sélective au-dessus de 0 % : "
                       "sinon aucun enfant ne survit."};
    if (s.fitness[0] != 100 || s.fitness[1] != 100)
        return Refusal{"Donnez les valeurs sélectives des allèles ou celles des génotypes, pas "
                       "les deux : avec celles des génotypes, celles des allèles restent à 100 %."};
    return {};
}

} // namespace

Result<void> checkSettings(const Settings& s) {
    if (s.individuals < kMinIndividuals || s.individuals > kMaxIndividuals ||
        s.individuals % kIndividualsStep != 0)
        return Refusal{"Le nombre d'individus doit être un multiple de 10 de 10 à 10 000 (et non " +
                       std::to_string(s.individuals) + ")."};
    if (s.alleles < kMinAlleles || s.alleles > kMaxAlleles)
        return Refusal{"Le nombre d'allèles doit être 2, 3 ou 4 (et non " +
                       std::to_string(s.alleles) + ")."};
    int balls = 0;
    for (int k = 0; k < kMaxAlleles; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (k >= s.alleles) {
            if (s.urn[i] != 0 || s.fitness[i] != 100)
                return Refusal{"L'allèle " + std::to_string(k + 1) +
                               " n'est pas utilisé : l'urne n'en "
                               "contient aucune boule et sa valeur sélective reste 100 %."};
            continue;
        }
        if (s.urn[i] < 0 || s.urn[i] > kMaxBallsPerAllele)
            return Refusal{"L'urne contient de 0 à " +
                           groupDigits(static_cast<std::uint64_t>(kMaxBallsPerAllele)) +
                           " boules de chaque allèle."};
        if (s.fitness[i] < kMinFitness || s.fitness[i] > kMaxFitness)
            return Refusal{"La valeur sélective de l'allèle " + std::to_string(k + 1) +
                           " doit aller de " + fitnessText(kMinFitness) + " à " +
                           fitnessText(kMaxFitness) + " (et non " + fitnessText(s.fitness[i]) +
                           ")."};
        balls += s.urn[i];
    }
    if (balls < s.copies())
        return Refusal{"L'urne doit contenir au moins 2N = " + std::to_string(s.copies()) +
                       " boules pour " + std::to_string(s.individuals) + " individus, et non " +
                       std::to_string(balls) + "."};
    if (const auto genotypes = checkGenotypes(s); !genotypes)
        return genotypes;
    if (!(s.mutation >= 0.0 && s.mutation <= kMaxMutation))
        return Refusal{"Le taux de mutation doit aller de 0 à 0.1 par copie et par génération."};
    if (!(s.migration >= 0.0 && s.migration <= kMaxMigration))
        return Refusal{"Le taux de migration doit aller de 0 à 0.5 par génération."};
    return checkSizes(s);
}

int Settings::balls() const {
    int total = 0;
    for (int k = 0; k < alleles && k < kMaxAlleles; ++k)
        total += urn[static_cast<std::size_t>(k)];
    return total;
}

int Settings::individualsAt(int g) const {
    int n = individuals;
    for (const SizeChange& change : sizes) {
        if (change.generation > g)
            break;
        n = change.individuals;
    }
    return n;
}

int Settings::stretchEnd(int g) const {
    for (const SizeChange& change : sizes)
        if (change.generation > g)
            return change.generation - 1;
    return kMaxGeneration;
}

int Settings::mostIndividuals() const {
    int most = individuals;
    for (const SizeChange& change : sizes)
        most = std::max(most, change.individuals);
    return most;
}

std::vector<int> distinctSizes(const Settings& settings) {
    std::vector<int> sizes{settings.individuals};
    for (const SizeChange& change : settings.sizes)
        if (std::find(sizes.begin(), sizes.end(), change.individuals) == sizes.end())
            sizes.push_back(change.individuals);
    return sizes;
}

std::vector<int> changeGenerations(const Settings& settings) {
    std::vector<int> generations;
    for (const SizeChange& change : settings.sizes)
        generations.push_back(change.generation);
    return generations;
}

std::array<int, kMaxAlleles> evenUrn(int individuals, int alleles) {
    std::array<int, kMaxAlleles> urn{};
    if (alleles < 1 || alleles > kMaxAlleles)
        return urn;
    const int copies = 2 * individuals;
    for (int k = 0; k < alleles; ++k)
        urn[static_cast<std::size_t>(k)] = copies / alleles + (k < copies % alleles ? 1 : 0);
    return urn;
}

bool hasSelection(const Settings& s) {
    if (s.genotypes) {
        const auto& w = *s.genotypes;
        return w[0] != w[1] || w[1] != w[2];
    }
    for (int k = 1; k < s.alleles; ++k)
        if (s.fitness[static_cast<std::size_t>(k)] != s.fitness[0])
            return true;
    return false;
}

double genotypeFitness(const Settings& s, int a, int b) {
    if (s.genotypes)
        return (*s.genotypes)[static_cast<std::size_t>(a + b)]; // 11, 12 or 22
    return (s.fitness[static_cast<std::size_t>(a)] + s.fitness[static_cast<std::size_t>(b)]) / 2.0;
}

bool isClassroomProtocol(const Settings& settings) {
    return settings == Settings{};
}

std::string modelTitle(Model model) {
    return model == Model::Protocole ? "Protocole de la classe" : "Modèle idéal (Wright-Fisher)";
}

Result<std::vector<int>> parseList(std::string_view text, int low, int high,
                                   const std::string& what) {
    const std::string refusal =
        shortQuote(trimmed(text)) + " ne convient pas pour " + what +
        " : il faut de 2 à 4 nombres entiers de " + groupDigits(static_cast<std::uint64_t>(low)) +
        " à " + groupDigits(static_cast<std::uint64_t>(high)) + ", séparés par des virgules.";
    std::vector<int> values;
    std::string_view rest = text;
    for (;;) {
        const auto comma = rest.find(',');
        const auto value = wholeIn(rest.substr(0, comma), low, high);
        if (!value || values.size() == kMaxAlleles)
            return Refusal{refusal};
        values.push_back(*value);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    if (values.size() < kMinAlleles)
        return Refusal{refusal};
    return values;
}

Result<double> parseRate(std::string_view text, double high, const std::string& what,
                         DecimalMark mark) {
    const bool comma = mark == DecimalMark::PointOrComma;
    std::string word(trimmed(text));
    const std::string refusal =
        shortQuote(word) + " ne convient pas pour " + what +
        " : il faut un nombre décimal de 0 à " +
        (comma ? frenchDecimal(high, 6) + ", avec une virgule ou un point (0,01)."
               : rateText(high) + ", avec un point (0.01).");
    if (comma)
        std::replace(word.begin(), word.end(), ',', '.');
    // Digits with at most one point, nothing else: no sign, no exponent, no comma.
    const auto value = word.size() > 20 ? std::nullopt : decimalValue(word);
    if (!value || *value > high)
        return Refusal{refusal};
    return *value;
}

Result<std::vector<SizeChange>> parseSizeHistory(std::string_view text) {
    const std::string refusal =
        shortQuote(trimmed(text)) +
        " ne convient pas pour l'histoire de la taille : il faut des paires « génération:N » "
        "séparées par des virgules, par exemple 20:10, 25:200.";
    std::vector<SizeChange> sizes;
    std::string_view rest = trimmed(text);
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string_view pair = rest.substr(0, comma);
        const auto colon = pair.find(':');
        if (colon == std::string_view::npos || sizes.size() == kMaxSizeChanges)
            return Refusal{refusal};
        const auto g = wholeIn(pair.substr(0, colon), 1, kMaxGeneration);
        const auto n = wholeIn(pair.substr(colon + 1), kMinIdealIndividuals, kMaxIndividuals);
        if (!g || !n)
            return Refusal{refusal};
        sizes.push_back({*g, *n});
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
        if (trimmed(rest).empty())
            return Refusal{refusal};
    }
    return sizes;
}

std::string sizesText(const std::vector<SizeChange>& sizes) {
    std::string text;
    for (const SizeChange& change : sizes)
        text += (text.empty() ? "" : ", ") + std::to_string(change.generation) + ":" +
                std::to_string(change.individuals);
    return text;
}

Result<std::optional<std::array<int, kGenotypes>>> parseGenotypes(std::string_view text) {
    const std::string_view word = trimmed(text);
    if (word.empty())
        return std::optional<std::array<int, kGenotypes>>(); // none given: sound
    const std::string refusal =
        shortQuote(word) +
        " ne convient pas pour les valeurs sélectives des génotypes : il faut trois nombres "
        "entiers de 0 à 1 000, pour 11, 12 et 22, séparés par des virgules (100, 50, 0).";
    std::array<int, kGenotypes> values{};
    std::string_view rest = word;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto comma = rest.find(',');
        const bool last = i + 1 == values.size();
        if ((comma == std::string_view::npos) != last)
            return Refusal{refusal};
        const auto value = wholeIn(rest.substr(0, comma), kMinGenotypeFitness, kMaxGenotypeFitness);
        if (!value)
            return Refusal{refusal};
        values[i] = *value;
        if (!last)
            rest.remove_prefix(comma + 1);
    }
    return std::optional(values);
}

std::string genotypesText(const std::optional<std::array<int, kGenotypes>>& genotypes) {
    if (!genotypes)
        return {};
    const auto& w = *genotypes;
    return std::to_string(w[0]) + ", " + std::to_string(w[1]) + ", " + std::to_string(w[2]);
}

std::string rateText(double rate) {
    return shortestDecimal(rate);
}

} // namespace bocavo::labo

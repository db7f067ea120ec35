#include "core/run/run_core.h"

#include "engine/census.h"
#include "engine/generation.h"

#include <cmath>
#include <limits>
#include <utility>

namespace bocavo {

namespace {

// Up to this many decimals a float of 0..100 times 10^decimals is exact in a
// double (24 + 28 significant bits), so the test below is exact too.
inline constexpr int kMaxDecimals = 12;

GenotypeCells cells(const Genotypes& table) {
    GenotypeCells result{};
    for (int i = 1; i <= kIndividus; ++i) {
        for (int j = 1; j <= kCopies; ++j)
            result[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)] = table(i, j);
    }
    return result;
}

std::string caption(std::int16_t generation) {
    return std::string(kGenerationCaption) + std::to_string(generation);
}

// `digits` (a whole number of 10^-decimals) written with `decimals` digits
// after the separator.
std::string decimalText(long long digits, int decimals, std::string_view separator) {
    std::string text = std::to_string(digits);
    if (decimals == 0)
        return text;
    if (text.size() <= static_cast<std::size_t>(decimals))
        text.insert(0, static_cast<std::size_t>(decimals) + 1 - text.size(), '0');
    text.insert(text.size() - static_cast<std::size_t>(decimals), separator);
    return text;
}

} // namespace

std::string frequencyText(float percent, std::string_view separator) {
    if (!(percent >= 0.0f && percent <= 100.0f))
        throw EngineError("Fréquence hors limites : " + std::to_string(percent));
    // Every decimal strictly between the midpoints to the neighbouring floats
    // reads back as `percent`; the first such one with the fewest decimals is
    // the shortest text. Digits come from integers only: no C locale can
    // slip its own separator or grouping in.
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const double value = percent;
    const double below = (value + std::nextafter(percent, -kInfinity)) / 2;
    const double above = (value + std::nextafter(percent, kInfinity)) / 2;
    double scale = 1;
    for (int decimals = 0; decimals <= kMaxDecimals; ++decimals, scale *= 10) {
        // Ties to even, as a correctly rounding printf would.
        const double digits = std::nearbyint(value * scale);
        if (digits > below * scale && digits < above * scale)
            return decimalText(static_cast<long long>(digits), decimals, separator) + "%";
    }
    throw EngineError("Fréquence trop petite pour être écrite : " + std::to_string(percent));
}

RunCore::RunCore(std::string decimalSeparator, Group group)
    : separator_(std::move(decimalSeparator)), source_(classSeed(group.seed, group.number)) {}

bool RunCore::hasFoundingMarker() const {
    return screen_.childFrequencies[0] == kFoundingMarker;
}

// Each command works on copies and keeps them only once the whole sequence has
// succeeded: a throw leaves the model, the source and the screen as they were.
void RunCore::simulation() {
    Screen next = screen_;
    next.generation = 1;
    next.childFrequencies[0] = kFoundingMarker;
    Population pop = pop_;
    Source_Aleatoire source = source_;
    foundGeneration(pop, source);
    writeResult(pop, next);
    next.genSuivEnabled = true;
    pop_ = pop;
    source_ = source;
    screen_ = std::move(next);
}

void RunCore::nextGeneration() {
    // The counter's limit is reported as what it is, an overflow, before the
    // refusal of a disabled command.
    const std::int16_t generation = add16(screen_.generation, 1);
    if (!screen_.genSuivEnabled)
        throw EngineError("Génération suivante impossible : lancez d'abord une simulation");
    Screen next = screen_;
    next.generation = generation;
    Population pop = pop_;
    Source_Aleatoire source = source_;
    bocavo::nextGeneration(pop, source);
    writeResult(pop, next);
    // At the last generation the command stays off: a further one could not
    // be numbered. Simulation starts a new run and turns it back on.
    next.genSuivEnabled = generation < kLastGeneration;
    pop_ = pop;
    source_ = source;
    screen_ = std::move(next);
}

void RunCore::writeResult(Population& pop, Screen& screen) const {
    screen.parents = cells(pop.Geno_Parent);
    screen.children = cells(pop.Geno_Enfant);
    Count_Allele(pop);
    // Under the marker the parents are founders and show the urn's
    // frequencies; otherwise they are the former children and take over their
    // texts as they stand, before the child panel is overwritten.
    if (screen.childFrequencies[0] == kFoundingMarker)
        screen.parentFrequencies.fill(std::string(kFoundingText));
    else
        screen.parentFrequencies = screen.childFrequencies;
    for (int k = 1; k <= kAlleles; ++k)
        screen.childFrequencies[static_cast<std::size_t>(k - 1)] =
            frequencyText(Frequence(pop, k), separator_);
    screen.parentCaption = caption(sub16(screen.generation, 1));
    screen.childCaption = caption(screen.generation);
}

} // namespace bocavo

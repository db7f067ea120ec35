#include "core/lab/science/run_cost.h"

#include "core/lab/science/experiment.h"
#include "core/lab/science/theory.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace bocavo::labo {
namespace {

inline constexpr double kCalibrationSeconds = 0.005; // of processor time, per set

double processorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Generations a record keeps storage for: whole blocks.
std::uint64_t storedGenerations(int last) {
    const int blocks = (last + History::kBlockSize) / History::kBlockSize;
    return static_cast<std::uint64_t>(blocks) * History::kBlockSize;
}

std::string durationText(double seconds) {
    const auto whole = static_cast<std::uint64_t>(std::ceil(seconds));
    if (whole < 60)
        return groupDigits(std::max<std::uint64_t>(1, whole)) + " s";
    const std::uint64_t minutes = (whole + 30) / 60;
    if (minutes < 60)
        return groupDigits(minutes) + " min";
    return groupDigits(minutes / 60) + " h " + std::to_string(minutes % 60) + " min";
}

// A heterozygote fitter than both homozygotes holds both alleles, for ever
// when both homozygotes are lethal: the neutral time to fixation would
// promise far too little.
bool holdsBothAlleles(const Settings& s) {
    return s.genotypes && (*s.genotypes)[1] > std::max((*s.genotypes)[0], (*s.genotypes)[2]);
}

} // namespace

double secondsPerClassGeneration(const Settings& settings) {
    // One class bred every generation (a fixed class would only be copied),
    // twice as long each time until the clock has seen enough; with a size
    // history, at its largest size all along, so as never to promise too little.
    Settings largest = settings;
    if (!settings.sizes.empty()) {
        largest.individuals = (settings.mostIndividuals() + kIndividualsStep - 1) /
                              kIndividualsStep * kIndividualsStep;
        largest.urn = evenUrn(largest.individuals, settings.alleles);
        largest.sizes.clear();
    }
    Experiment probe(largest, 1, kDefaultSeed);
    probe.setBreedFixedClasses(true);
    const double start = processorSeconds();
    probe.advanceTo(1, {nullptr, {}, 1});
    int generations = 1;
    double spent = processorSeconds() - start;
    while (spent < kCalibrationSeconds && generations < kMaxGeneration) {
        generations = std::min(kMaxGeneration, generations * 2);
        probe.advanceTo(generations, {nullptr, {}, 1});
        spent = processorSeconds() - start;
    }
    return spent / generations;
}

double expectedFixationTime(const Settings& settings) {
    double sum = 0.0;
    for (int k = 1; k <= settings.alleles; ++k) {
        const double q = 1.0 - startingFrequency(settings, k);
        if (q > 0.0)
            sum += q * std::log(q);
    }
    return -4.0 * effectiveSize(settings) * sum;
}

RunCost estimateSet(const Settings& set, int classes, int generations, bool untilFixation) {
    RunCost cost;
    cost.untilFixation = untilFixation;
    const bool absorbing = set.mutation == 0.0 && set.migration == 0.0 && !holdsBothAlleles(set);
    int last = generations;
    double bred = generations; // generations bred per class
    if (untilFixation && !absorbing) {
        last = kMaxGeneration;
        bred = last;
        cost.capped = true;
    } else if (untilFixation || absorbing) {
        const double mean = expectedFixationTime(set);
        if (untilFixation) {
            // The last of the classes fixes later than the mean one: the tail
            // of the fixation time falls as e^(−t/2Ne).
            const double lastClass =
                mean + 2.0 * effectiveSize(set) * std::log(static_cast<double>(classes));
            last = static_cast<int>(std::min<double>(kMaxGeneration, std::ceil(lastClass)));
            cost.capped = last == kMaxGeneration;
        }
        bred = std::min<double>(last, mean);
    }
    cost.generations = last;
    cost.seconds = classes * bred * secondsPerClassGeneration(set);
    const int copies = 2 * set.mostIndividuals();
    const auto stride = static_cast<std::uint64_t>(History(copies, set.alleles).stride());
    // The records, and the breeding tables: parents, children twice, the order.
    const std::uint64_t perClass =
        storedGenerations(last) * stride + 4u * static_cast<std::uint64_t>(copies);
    cost.bytes = static_cast<std::uint64_t>(classes) * perClass;
    return cost;
}

RunCost estimateRun(const Scenario& plan, bool untilFixation) {
    RunCost cost = estimateSet(plan.a, plan.classes, plan.generations, untilFixation);
    if (plan.b) {
        const RunCost b = estimateSet(*plan.b, plan.classes, plan.generations, untilFixation);
        cost.seconds += b.seconds;
        cost.bytes += b.bytes;
        cost.generations = std::max(cost.generations, b.generations);
        cost.capped = cost.capped || b.capped;
    }
    return cost;
}

std::string costText(const RunCost& cost) {
    std::string text = "environ " + durationText(cost.seconds) +
                       " de calcul (temps processeur) et " + bytesText(cost.bytes) + " de mémoire";
    if (!cost.untilFixation)
        return text + " pour " + groupDigits(static_cast<std::uint64_t>(cost.generations)) +
               " générations";
    if (cost.capped)
        return text + " jusqu'à la génération " + groupDigits(kMaxGeneration) +
               ", la dernière que le compteur atteint (la fixation peut ne pas venir avant)";
    return text + " pour environ " + groupDigits(static_cast<std::uint64_t>(cost.generations)) +
           " générations, d'après le temps de fixation attendu";
}

std::string bytesText(std::uint64_t bytes) {
    const double b = static_cast<double>(bytes);
    if (b >= 1e9)
        return frenchDecimal(b / 1e9, 1) + " Go";
    if (b >= 1e6)
        return frenchDecimal(b / 1e6, 0) + " Mo";
    if (b >= 1e3)
        return frenchDecimal(b / 1e3, 0) + " ko";
    return groupDigits(bytes) + " octets";
}

} // namespace bocavo::labo

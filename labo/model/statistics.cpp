#include "statistics.h"

#include "engine/breeding.h"

#include <cmath>

namespace bocavo::labo {

std::array<int, kIndividus> offspringPerParent() {
    // Couple k (parents 2k − 1 and 2k) has one child in every brood of more than
    // k − 1 couples, and each child takes one copy from each partner.
    std::array<int, kIndividus> children{};
    for (const Brood& brood : kBroods) {
        for (int k = 1; k <= brood.nbr_couple; ++k) {
            ++children[static_cast<std::size_t>(2 * k - 2)];
            ++children[static_cast<std::size_t>(2 * k - 1)];
        }
    }
    return children;
}

double offspringVariance() {
    const auto children = offspringPerParent();
    double sum = 0.0;
    for (const int k : children)
        sum += k;
    const double mean = sum / kIndividus;
    double squares = 0.0;
    for (const int k : children)
        squares += (k - mean) * (k - mean);
    return squares / kIndividus;
}

double effectiveSize() {
    return (4.0 * kIndividus - 2.0) / (offspringVariance() + 2.0);
}

double heterozygosity(const Counts& counts) {
    double sum = 0.0;
    for (const auto n : counts) {
        const double p = static_cast<double>(n) / kAlleleCopies;
        sum += p * p;
    }
    return 1.0 - sum;
}

double expectedHeterozygosity(int t) {
    return kFounderHeterozygosity * std::pow(1.0 - 1.0 / (2.0 * effectiveSize()), t);
}

void Statistics::reset(int classes) {
    fixed_.clear();
    lost_.clear();
    meanH_.clear();
    firstLoss_.assign(static_cast<std::size_t>(classes), -1);
    fixation_.assign(static_cast<std::size_t>(classes), -1);
}

void Statistics::update(const Experiment& experiment) {
    if (experiment.classes() != classes())
        reset(experiment.classes());
    const int last = experiment.generation();
    for (int g = generation() + 1; g <= last; ++g) {
        std::array<int, 4> fixed{};
        std::array<int, 4> lost{};
        double sumH = 0.0;
        for (int c = 1; c <= experiment.classes(); ++c) {
            const Counts& counts = experiment.counts(c, g);
            for (std::size_t k = 0; k < counts.size(); ++k) {
                fixed[k] += counts[k] == kAlleleCopies;
                lost[k] += counts[k] == 0;
            }
            sumH += heterozygosity(counts);
            const auto slot = static_cast<std::size_t>(c - 1);
            if (firstLoss_[slot] < 0 && hasLoss(counts))
                firstLoss_[slot] = g;
            if (fixation_[slot] < 0 && isFixed(counts))
                fixation_[slot] = g;
        }
        fixed_.push_back(fixed);
        lost_.push_back(lost);
        meanH_.push_back(sumH / experiment.classes());
    }
}

Statistics::Mean Statistics::meanOf(const std::vector<int>& generations) {
    Mean mean;
    double sum = 0.0;
    for (const int g : generations) {
        if (g >= 0) {
            sum += g;
            ++mean.classes;
        }
    }
    if (mean.classes > 0)
        mean.generation = sum / mean.classes;
    return mean;
}

} // namespace bocavo::labo

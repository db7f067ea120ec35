#include "labo/model/statistics.h"

#include "labo/model/csv_writer.h"

namespace bocavo::labo {
namespace {

// Fst = (H_T − H_S)/H_T, each heterozygosity the chance that two distinct
// copies differ (Nei's unbiased 2n/(2n − 1)·(1 − Σ p²)), as the identities of
// the island model are defined: H_S from the classes' mean 1 − Σ p², H_T from
// the pooled copies of every class.
double fstOf(const std::array<double, 4>& pooled, double total, double meanH, int copies) {
    double sum = 0.0;
    for (const double n : pooled)
        sum += (n / total) * (n / total);
    const double hT = (1.0 - sum) * total / (total - 1.0);
    const double hS = meanH * copies / (copies - 1.0);
    return hT > 1e-12 ? (hT - hS) / hT : 0.0;
}

} // namespace

double heterozygosity(const Counts& counts, int copies) {
    double sum = 0.0;
    for (const auto n : counts) {
        const double p = static_cast<double>(n) / copies;
        sum += p * p;
    }
    return 1.0 - sum;
}

void Statistics::reset(int classes) {
    fixed_.clear();
    lost_.clear();
    meanH_.clear();
    fst_.clear();
    csvBytes_.clear();
    firstLoss_.assign(static_cast<std::size_t>(classes), -1);
    fixation_.assign(static_cast<std::size_t>(classes), -1);
}

void Statistics::update(const Experiment& experiment) {
    if (experiment.classes() != classes() || experiment.settings() != settings_) {
        settings_ = experiment.settings();
        reset(experiment.classes());
    }
    const int copies = settings_.copies();
    if (fieldLength_.size() != static_cast<std::size_t>(copies) + 1)
        fieldLength_ = fieldLengths(copies);
    const int last = experiment.generation();
    for (int g = generation() + 1; g <= last; ++g) {
        std::array<int, 4> fixed{};
        std::array<int, 4> lost{};
        std::array<double, 4> pooled{};
        double sumH = 0.0;
        std::uint64_t bytes = 0;
        const auto alleles = static_cast<std::size_t>(settings_.alleles);
        for (int c = 1; c <= experiment.classes(); ++c) {
            const Counts counts = experiment.counts(c, g);
            for (std::size_t k = 0; k < counts.size(); ++k) {
                fixed[k] += counts[k] == copies;
                lost[k] += counts[k] == 0;
                pooled[k] += counts[k];
                if (k < alleles)
                    bytes += fieldLength_[counts[k]];
            }
            sumH += heterozygosity(counts, copies);
            const auto slot = static_cast<std::size_t>(c - 1);
            if (firstLoss_[slot] < 0 && hasLoss(counts, settings_.alleles))
                firstLoss_[slot] = g;
            if (fixation_[slot] < 0 && isFixed(counts))
                fixation_[slot] = g;
        }
        const double hS = sumH / experiment.classes();
        fixed_.push_back(fixed);
        lost_.push_back(lost);
        meanH_.push_back(hS);
        csvBytes_.push_back(bytes);
        fst_.push_back(
            fstOf(pooled, static_cast<double>(copies) * experiment.classes(), hS, copies));
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

#include "core/lab/science/statistics.h"

#include "core/lab/files/csv_format.h"

namespace bocavo::labo {
namespace {

// Fst = 1 − H_S/H_T (Nei 1973), H_S the classes' mean 1 − Σ p², H_T the
// 1 − Σ p² of their pooled copies. With C classes of 2N copies, T = 2N·C
// copies in all, S_k the pooled count of allele k and Q the sum of every
// count squared: Fst = (C·Q − Σ S_k²)/(T² − Σ S_k²), in whole numbers, so it is
// exactly 0 when every class holds the same counts and never below (Cauchy–
// Schwarz). Undefined once every copy of every class is one allele. Every
// class of a set has the same size at each generation.
std::optional<double> fstOf(const std::array<std::int64_t, 4>& pooled, std::int64_t squares,
                            std::int64_t classes, std::int64_t total) {
    std::int64_t pooledSquares = 0;
    for (const std::int64_t s : pooled)
        pooledSquares += s * s;
    const std::int64_t spread = total * total - pooledSquares;
    if (spread == 0)
        return std::nullopt;
    return static_cast<double>(classes * squares - pooledSquares) / static_cast<double>(spread);
}

// Whole-number sums over the classes, divided once: the means come out the
// same whatever order the classes were counted in. A class that died out has
// no genotypes to average: the means are over the `classes` left, none when
// none is.
GenotypeShares sharesOf(const GenotypeCensus::Sums& census,
                        const std::array<std::int64_t, 4>& fixedHomozygotes,
                        const std::array<std::int64_t, 4>& alleleSquares,
                        const std::array<std::int64_t, 4>& pooled, std::int64_t classes,
                        int copies) {
    GenotypeShares shares;
    shares.classes = static_cast<int>(classes);
    if (classes == 0)
        return shares;
    const auto individuals = static_cast<double>(classes * (copies / 2));
    const auto squaredCopies = static_cast<double>(classes) * copies * copies;
    const auto allCopies = static_cast<double>(classes * copies);
    double pooledSquares = 0.0;
    for (std::size_t k = 0; k < shares.homozygotes.size(); ++k) {
        shares.homozygotes[k] = static_cast<double>(census[k] + fixedHomozygotes[k]) / individuals;
        shares.hardyWeinberg[k] = static_cast<double>(alleleSquares[k]) / squaredCopies;
        const double p = static_cast<double>(pooled[k]) / allCopies;
        pooledSquares += p * p;
    }
    shares.pooledHeterozygotes = 1.0 - pooledSquares;
    return shares;
}

} // namespace

double heterozygosity(const Counts& counts, int copies) {
    if (counts == Counts{}) // a class that died out keeps no variation
        return 0.0;
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
    genotypes_.clear();
    lastLiving_ = -1;
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
    const int last = experiment.generation();
    for (int g = generation() + 1; g <= last; ++g) {
        const int copies = settings_.copiesAt(g);
        if (fieldLength_.size() != static_cast<std::size_t>(copies) + 1)
            fieldLength_ = fieldLengths(copies);
        std::array<int, 4> fixed{};
        std::array<int, 4> lost{};
        std::array<std::int64_t, 4> pooled{};
        std::array<std::int64_t, 4> alleleSquares{};
        std::array<std::int64_t, 4> homozygotes{};
        double sumH = 0.0;
        std::int64_t living = 0; // classes that have not died out
        std::uint64_t bytes = 0;
        const auto alleles = static_cast<std::size_t>(settings_.alleles);
        for (int c = 1; c <= experiment.classes(); ++c) {
            const Counts counts = experiment.counts(c, g);
            for (std::size_t k = 0; k < counts.size(); ++k) {
                fixed[k] += counts[k] == copies;
                lost[k] += counts[k] == 0;
                pooled[k] += counts[k];
                alleleSquares[k] += std::int64_t{counts[k]} * counts[k];
                // A class of one allele is all its homozygotes; the census left it out.
                if (counts[k] == copies)
                    homozygotes[k] += copies / 2;
                if (k < alleles)
                    bytes += fieldLength_[counts[k]];
            }
            sumH += heterozygosity(counts, copies);
            living += counts != Counts{};
            const auto slot = static_cast<std::size_t>(c - 1);
            if (firstLoss_[slot] < 0 && hasLoss(counts, settings_.alleles))
                firstLoss_[slot] = g;
            if (fixation_[slot] < 0 && isFixed(counts))
                fixation_[slot] = g;
        }
        const double hS = living > 0 ? sumH / static_cast<double>(living) : 0.0;
        fixed_.push_back(fixed);
        lost_.push_back(lost);
        meanH_.push_back(hS);
        csvBytes_.push_back(bytes);
        const std::int64_t squares =
            alleleSquares[0] + alleleSquares[1] + alleleSquares[2] + alleleSquares[3];
        fst_.push_back(fstOf(pooled, squares, living, living * copies));
        genotypes_.push_back(sharesOf(experiment.genotypes().at(g), homozygotes, alleleSquares,
                                      pooled, living, copies));
        if (living > 0)
            lastLiving_ = g;
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

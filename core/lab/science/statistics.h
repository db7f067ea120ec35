// What the views plot for one parameter set, summed over its classes
// generation by generation: how many classes fixed or lost each allele, the
// mean heterozygosity, the genotypes beside Hardy–Weinberg's shares and the
// differentiation between classes; per class, the
// first generation of a loss and of fixation. A comparison run keeps one
// Statistics per set.
#pragma once

#include "core/lab/science/experiment.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace bocavo::labo {

// H_t = 1 − Σ p_k², p_k the allele frequencies of generation t among its copies.
double heterozygosity(const Counts& counts, int copies);

// One generation's genotypes, each share the mean over the classes of its
// share among a class's N individuals. Hardy–Weinberg's shares are worked out
// within each class, from its own allele frequencies, and then averaged:
// worked out from the classes' pooled copies they would show a heterozygote
// deficit that no class has, once drift has set the classes apart (Wahlund).
struct GenotypeShares {
    std::array<double, 4> homozygotes{};   // [allele − 1]: individuals ii
    std::array<double, 4> hardyWeinberg{}; // [allele − 1]: p_i² in each class
    double pooledHeterozygotes = 0.0;      // 1 − Σ p̄_i², p̄ over every class's copies
    int classes = 0;                       // averaged over: those with individuals; 0, no share

    // Genotype i ii, or 0 for every heterozygote: the individuals that are no
    // homozygote, and for Hardy–Weinberg 2pq (1 − Σ p_i² with more alleles,
    // the mean heterozygosity of the classes with individuals).
    double observed(int genotype) const { return shareOf(homozygotes, genotype); }
    double expected(int genotype) const { return shareOf(hardyWeinberg, genotype); }

private:
    static double shareOf(const std::array<double, 4>& homozygous, int genotype) {
        if (genotype > 0)
            return homozygous[static_cast<std::size_t>(genotype - 1)];
        return 1.0 - (homozygous[0] + homozygous[1] + homozygous[2] + homozygous[3]);
    }
};

class Statistics {
public:
    // Forgets everything: the next update starts from generation 0.
    void reset(int classes);
    // Takes in the generations the experiment has published since the last
    // update (all of them again if the experiment's classes or settings changed).
    void update(const Experiment& experiment);

    int generation() const { return static_cast<int>(meanH_.size()) - 1; }
    int classes() const { return static_cast<int>(firstLoss_.size()); }
    int alleles() const { return settings_.alleles; }

    // Indexed [generation][allele − 1]: classes where the allele has all 2N
    // copies, or none (alleles past K: every class).
    const std::vector<std::array<int, 4>>& fixedClasses() const { return fixed_; }
    const std::vector<std::array<int, 4>>& lostClasses() const { return lost_; }
    // Over the classes that have individuals: a class that died out has no
    // heterozygosity to average, as it has no part in Fst or the genotypes;
    // 0 once every class has died out.
    const std::vector<double>& meanHeterozygosity() const { return meanH_; }
    const std::vector<GenotypeShares>& genotypes() const { return genotypes_; }
    // The last generation with genotypes to show: some class has individuals
    // (once every class has died out, none ever has again); −1 if none.
    int lastWithGenotypes() const { return lastLiving_; }
    // Fst = 1 − H_S/H_T between the classes (Nei 1973), generation by
    // generation: H_S their mean 1 − Σ p², H_T that of all their copies
    // pooled. From 0 (every class alike, as at generation 0) to 1 (each its
    // own allele); none once every class has fixed the same allele.
    const std::vector<std::optional<double>>& differentiation() const { return fst_; }

    // Per generation, the bytes its counts take in the CSV file ("effectif,
    // fréquence\n" of every class and allele): with them the file's size is
    // known for any K without reading a count again (csvBytes).
    const std::vector<std::uint64_t>& csvFieldBytes() const { return csvBytes_; }

    // Means over the classes where the event happened; count 0 when none did.
    struct Mean {
        double generation = 0.0;
        int classes = 0;
    };
    Mean meanFirstLoss() const { return meanOf(firstLoss_); }
    Mean meanFixation() const { return meanOf(fixation_); }
    // The first generation class `classNumber` had one allele left, −1 before.
    int fixationOf(int classNumber) const {
        return fixation_[static_cast<std::size_t>(classNumber - 1)];
    }
    // Per class, the first generation with an allele lost, −1 if none yet.
    const std::vector<int>& firstLosses() const { return firstLoss_; }

private:
    static Mean meanOf(const std::vector<int>& generations);

    Settings settings_;
    std::vector<std::array<int, 4>> fixed_;
    std::vector<std::array<int, 4>> lost_;
    std::vector<double> meanH_;
    std::vector<GenotypeShares> genotypes_;
    int lastLiving_ = -1;
    std::vector<std::optional<double>> fst_;
    std::vector<std::uint64_t> csvBytes_;
    std::vector<std::uint8_t> fieldLength_; // bytes of the CSV fields of each count 0..2N, at
                                            // the last generation's size
    std::vector<int> firstLoss_;            // per class, −1 until it happens
    std::vector<int> fixation_; // per class, −1 until it happens (the first time, with mutation)
};

} // namespace bocavo::labo

// What the views plot, summed over the classes generation by generation:
// how many classes fixed or lost each allele, and the mean heterozygosity;
// per class, the first generation of a loss and of fixation.
#pragma once

#include "experiment.h"

#include <array>
#include <vector>

namespace bocavo::labo {

// Children per parent in one generation of the breeding scheme, parent 1 to 20.
std::array<int, kIndividus> offspringPerParent();

// The effective size from the offspring numbers: Ne = (4N − 2) / (Vk + 2),
// with Vk the variance of the children per parent (19.5 for this scheme).
double offspringVariance();
double effectiveSize();

inline constexpr double kFounderHeterozygosity = 0.75; // four alleles at 25 %

// H_t = 1 − Σ p_k², p_k the allele frequencies of generation t.
double heterozygosity(const Counts& counts);
// H0 · (1 − 1 / (2·Ne))^t.
double expectedHeterozygosity(int t);

class Statistics {
public:
    // Forgets everything: the next update starts from generation 0.
    void reset(int classes);
    // Takes in the generations the experiment has published since the last update.
    void update(const Experiment& experiment);

    int generation() const { return static_cast<int>(meanH_.size()) - 1; }
    int classes() const { return static_cast<int>(firstLoss_.size()); }

    // Indexed [generation][allele − 1]: classes where the allele has all 40
    // copies, or none.
    const std::vector<std::array<int, 4>>& fixedClasses() const { return fixed_; }
    const std::vector<std::array<int, 4>>& lostClasses() const { return lost_; }
    const std::vector<double>& meanHeterozygosity() const { return meanH_; }

    // Means over the classes where the event happened; count 0 when none did.
    struct Mean {
        double generation = 0.0;
        int classes = 0;
    };
    Mean meanFirstLoss() const { return meanOf(firstLoss_); }
    Mean meanFixation() const { return meanOf(fixation_); }

private:
    static Mean meanOf(const std::vector<int>& generations);

    std::vector<std::array<int, 4>> fixed_;
    std::vector<std::array<int, 4>> lost_;
    std::vector<double> meanH_;
    std::vector<int> firstLoss_; // per class, −1 until it happens
    std::vector<int> fixation_;  // per class, −1 until it happens
};

} // namespace bocavo::labo

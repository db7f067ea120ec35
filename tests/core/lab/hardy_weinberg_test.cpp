// Random unions keep each class near Hardy–Weinberg's genotype shares, worked
// out from its own allele frequencies; worked out from the pooled classes
// instead, they would show a heterozygote deficit that grows as drift sets the
// classes apart. Fixed seeds; each tolerance is stated beside its check.
#include "core/lab/science/statistics.h"
#include "tests/core/lab/sampling.h"

#include <array>
#include <gtest/gtest.h>

namespace bocavo::labo {
namespace {

// N = 100: a class's observed share of a genotype strays from its
// Hardy–Weinberg share by about √(h(1 − h)/N) ≤ 0.05, so the mean over 500
// classes by a standard error of 0.0022. Both models breed slightly more
// heterozygotes than the children's own frequencies give: the ideal model
// 1/(2N − 1) of 2pq more, the protocol, whose children never take both copies
// from one parent, about 1/N more: under 0.005 here. Tolerance: that excess
// plus three standard errors. (Measured: within 0.007 in both models.)
inline constexpr int kIndividuals = 100;
inline constexpr int kClasses = 500;
inline constexpr double kTolerance = 0.005 + 3 * 0.0022; // share of the individuals

TEST(HardyWeinberg, HoldsWithinTheClassesNotAcrossThem) {
    const std::array models{Model::WrightFisher, Model::Protocole};
    for (const Model model : casesToRun(models)) {
        Settings s;
        s.individuals = kIndividuals;
        s.model = model;
        s.alleles = 2;
        s.urn = evenUrn(kIndividuals, 2);
        Experiment experiment(s, kClasses, 2024);
        experiment.advanceTo(120);
        Statistics stats;
        stats.update(experiment);
        double gapAt30 = 0.0;
        for (const int g : {30, 60, 120}) {
            SCOPED_TRACE(testing::Message() << modelWord(model) << ", generation " << g);
            const GenotypeShares& at = stats.genotypes()[static_cast<std::size_t>(g)];
            for (const int genotype : {1, 0, 2})
                EXPECT_NEAR(at.observed(genotype), at.expected(genotype), kTolerance)
                    << "genotype " << genotype;
            // Pooled, 2p̄q̄ stays near ½ while each class loses 1/(2N) of its
            // heterozygosity each generation, from ½ to about 0.43 by
            // generation 30 and 0.27 by 120: the false deficit passes 0.05,
            // then 0.15, far beyond the tolerance.
            const double deficit = at.pooledHeterozygotes - at.observed(0);
            if (g == 30) {
                EXPECT_GT(deficit, 0.05);
                gapAt30 = deficit;
            } else if (g == 120) {
                EXPECT_GT(deficit, std::max(0.15, gapAt30 + 0.08));
            }
        }
    }
}

} // namespace
} // namespace bocavo::labo

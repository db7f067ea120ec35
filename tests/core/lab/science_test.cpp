// Drift as population genetics predicts it, on fixed seeds so that the
// outcome never changes from one run of the tests to the next.
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

namespace bocavo::labo {
namespace {

TEST(ScienceTest, EffectiveSizeComesFromTheOffspringNumbers) {
    const std::vector<int> expected{4, 4, 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1, 0, 0, 0, 0};
    const Settings classroom;
    EXPECT_EQ(offspringPerParent(20, 20), expected);
    EXPECT_DOUBLE_EQ(offspringVariance(classroom), 2.0);
    EXPECT_DOUBLE_EQ(effectiveSize(classroom), 19.5); // (4·20 − 2) / (2 + 2)
    EXPECT_DOUBLE_EQ(expectedHeterozygosity(classroom, 0).at(0), 0.75);
}

TEST(ScienceTest, HeterozygosityOfKnownCounts) {
    EXPECT_DOUBLE_EQ(heterozygosity({10, 10, 10, 10}, 40), 0.75);
    EXPECT_DOUBLE_EQ(heterozygosity({40, 0, 0, 0}, 40), 0.0);
    EXPECT_DOUBLE_EQ(heterozygosity({20, 20, 0, 0}, 40), 0.5);
    EXPECT_DOUBLE_EQ(heterozygosity({30, 10, 0, 0}, 40), 1.0 - 0.5625 - 0.0625);
}

// Each allele starts at 1/4, so each class fixes it with probability 1/4.
// With n classes the observed share has standard error sqrt(p(1 − p)/n).
TEST(ScienceTest, AnAlleleIsFixedAsOftenAsItsStartingFrequency) {
    constexpr int kClasses = 1000;
    Experiment experiment(kClasses, 20240607);
    experiment.advanceUntilFixation();
    ASSERT_TRUE(experiment.allFixed());
    Statistics stats;
    stats.update(experiment);
    const auto& fixedAtEnd = stats.fixedClasses().back();
    const double se = std::sqrt(0.25 * 0.75 / kClasses);
    int total = 0;
    for (int k = 0; k < 4; ++k) {
        const double share =
            static_cast<double>(fixedAtEnd[static_cast<std::size_t>(k)]) / kClasses;
        EXPECT_NEAR(share, 0.25, 3.5 * se) << "allele " << k + 1;
        total += fixedAtEnd[static_cast<std::size_t>(k)];
        EXPECT_EQ(stats.lostClasses().back()[static_cast<std::size_t>(k)],
                  kClasses - fixedAtEnd[static_cast<std::size_t>(k)]);
    }
    EXPECT_EQ(total, kClasses); // every class fixed exactly one allele
    EXPECT_EQ(stats.meanFixation().classes, kClasses);
    EXPECT_EQ(stats.meanFirstLoss().classes, kClasses);
    EXPECT_LT(stats.meanFirstLoss().generation, stats.meanFixation().generation);
}

// Standard error of the mean of H_t over the classes, from their spread.
double standardError(const Experiment& experiment, int t, double mean) {
    double squares = 0.0;
    for (int c = 1; c <= experiment.classes(); ++c) {
        const double d = heterozygosity(experiment.counts(c, t), 40) - mean;
        squares += d * d;
    }
    const double n = experiment.classes();
    return std::sqrt(squares / (n - 1) / n);
}

// The mean of H_t over the classes against the exact recursion, generation
// by generation, within four standard errors plus the founding average's own
// error (0.002): the first breeding included, where the founders' draw (an
// allele number first, then its ball) puts H1 about 2 % under
// H0·(1 − 1/(2·Ne)).
TEST(ScienceTest, MeanHeterozygosityFollowsTheExpectedCurve) {
    constexpr int kClasses = 1000;
    constexpr int kGenerations = 30;
    Experiment experiment(kClasses, 777);
    experiment.advanceTo(kGenerations);
    Statistics stats;
    stats.update(experiment);
    ASSERT_EQ(stats.generation(), kGenerations);
    const auto& meanH = stats.meanHeterozygosity();
    EXPECT_DOUBLE_EQ(meanH[0], 0.75);
    const auto expected = expectedHeterozygosity(Settings{}, kGenerations);
    EXPECT_LT(expected[1], 0.75 * (1.0 - 1.0 / 39.0) - 0.01);
    for (int t = 1; t <= kGenerations; ++t) {
        const double mean = meanH[static_cast<std::size_t>(t)];
        EXPECT_NEAR(mean, expected[static_cast<std::size_t>(t)],
                    4.0 * standardError(experiment, t, mean) + 0.002)
            << "generation " << t;
    }
    // And the curve does fall: drift erodes diversity.
    EXPECT_LT(meanH[kGenerations], 0.75 * 0.5);
}

// Fst measures structure: none at generation 0, where every class holds the
// whole urn (Nei's corrected estimator read −0.023 there), never below 0, and
// no value at all once every class has fixed the same allele (it read 0).
TEST(ScienceTest, DifferentiationIsZeroWithoutStructureAndNoneOnceOneAlleleIsLeft) {
    Experiment classroom(30, 1993);
    classroom.advanceTo(5);
    Statistics stats;
    stats.update(classroom);
    EXPECT_EQ(stats.differentiation()[0], 0.0);
    Settings s;
    s.individuals = 10;
    s.alleles = 2;
    s.urn = {10, 10, 0, 0};
    s.migration = 0.5;
    Experiment linked(s, 3, 8);
    linked.advanceTo(3000);
    ASSERT_TRUE(linked.allFixed());
    Statistics fixed;
    fixed.update(linked);
    const auto& fst = fixed.differentiation();
    int defined = 0;
    for (std::size_t g = 0; g < fst.size(); ++g) {
        const Counts c1 = linked.counts(1, static_cast<int>(g));
        const bool oneLeft = isFixed(c1) && c1 == linked.counts(2, static_cast<int>(g)) &&
                             c1 == linked.counts(3, static_cast<int>(g));
        EXPECT_EQ(fst[g].has_value(), !oneLeft) << "generation " << g;
        if (fst[g]) {
            EXPECT_GE(*fst[g], 0.0);
            ++defined;
        }
    }
    EXPECT_GT(defined, 1);
    EXPECT_FALSE(fst.back());
}

// Statistics taken in pieces while a run grows equal those taken at the end.
TEST(ScienceTest, StatisticsTakenAsTheRunGrowsMatchOneFinalPass) {
    Experiment experiment(50, 3);
    Statistics growing;
    for (int g = 5; g <= 200; g += 65) {
        experiment.advanceTo(g);
        growing.update(experiment);
    }
    Statistics once;
    once.update(experiment);
    EXPECT_EQ(growing.fixedClasses(), once.fixedClasses());
    EXPECT_EQ(growing.lostClasses(), once.lostClasses());
    EXPECT_EQ(growing.meanHeterozygosity(), once.meanHeterozygosity());
    EXPECT_DOUBLE_EQ(growing.meanFixation().generation, once.meanFixation().generation);
    // Hand count at the last generation.
    int fixedOne = 0;
    for (int c = 1; c <= 50; ++c)
        fixedOne += experiment.counts(c, 200)[0] == kAlleleCopies;
    EXPECT_EQ(once.fixedClasses()[200][0], fixedOne);
}

} // namespace
} // namespace bocavo::labo

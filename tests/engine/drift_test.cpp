// Whole generations: what drift can and cannot do.
#include "engine/census.h"
#include "engine/generation.h"

#include <gtest/gtest.h>

namespace bocavo {
namespace {

std::array<int, 5> census(Population& pop) {
    Count_Allele(pop);
    return {0, pop.Nb_Allele(1), pop.Nb_Allele(2), pop.Nb_Allele(3), pop.Nb_Allele(4)};
}

// Run after run until fixation: an allele missing from the children never
// comes back, and once one allele holds all 40 copies it keeps them.
TEST(DriftTest, LostAllelesStayLostAndFixedOnesStayFixed) {
    Population pop;
    Source_Aleatoire source;
    int runsFixed = 0;
    for (int run = 0; run < 20 && runsFixed < 5; ++run) {
        foundGeneration(pop, source);
        std::array<bool, 5> lost{};
        int fixedAllele = 0;
        for (int gen = 1; gen <= 3000; ++gen) {
            const auto counts = census(pop);
            ASSERT_EQ(counts[1] + counts[2] + counts[3] + counts[4], 40);
            for (std::size_t k = 1; k <= 4; ++k) {
                if (lost[k]) {
                    ASSERT_EQ(counts[k], 0) << "allele " << k << " came back at " << gen;
                }
                lost[k] = counts[k] == 0;
                if (fixedAllele == static_cast<int>(k)) {
                    ASSERT_EQ(counts[k], 40) << "allele " << k << " lost its fixation";
                }
                if (counts[k] == 40)
                    fixedAllele = static_cast<int>(k);
            }
            nextGeneration(pop, source);
        }
        runsFixed += fixedAllele != 0;
    }
    // Twenty parents fix an allele within a few hundred generations.
    EXPECT_EQ(runsFixed, 5);
}

// A new run brings all four alleles back, ten copies each among the parents.
TEST(DriftTest, ANewFoundingRestoresEveryAllele) {
    Population pop;
    Source_Aleatoire source;
    foundGeneration(pop, source);
    for (int gen = 0; gen < 500; ++gen)
        nextGeneration(pop, source);
    foundGeneration(pop, source);
    std::array<int, 5> parents{};
    for (int i = 1; i <= kIndividus; ++i)
        for (int j = 1; j <= kCopies; ++j)
            ++parents.at(static_cast<std::size_t>(pop.Geno_Parent(i, j)));
    EXPECT_EQ(parents, (std::array<int, 5>{0, 10, 10, 10, 10}));
}

} // namespace
} // namespace bocavo

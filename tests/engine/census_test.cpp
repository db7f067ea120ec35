// The census of the children's alleles and their frequencies.
#include "engine/census.h"
#include "engine/founding.h"

#include <gtest/gtest.h>

namespace bocavo {
namespace {

// Children carrying `copies[k-1]` copies of allele k, in row order.
Population childrenWith(std::array<int, 4> copies) {
    Population pop;
    int allele = 1;
    for (int i = 1; i <= kIndividus; ++i) {
        for (int j = 1; j <= kCopies; ++j) {
            while (copies.at(static_cast<std::size_t>(allele - 1)) == 0)
                ++allele;
            --copies.at(static_cast<std::size_t>(allele - 1));
            pop.Geno_Enfant(i, j) = static_cast<Cell>(allele);
        }
    }
    return pop;
}

TEST(CensusTest, OneAlleleEverywhere) {
    Population pop = childrenWith({40, 0, 0, 0});
    Count_Allele(pop);
    EXPECT_EQ(pop.Nb_Allele(1), 40);
    EXPECT_EQ(pop.Nb_Allele(2), 0);
    EXPECT_EQ(Frequence(pop, 1), 100.0f);
    EXPECT_EQ(Frequence(pop, 4), 0.0f);
}

// 9 × 100 / 40 = 22.5 exactly in single precision; 10 copies give 25.
TEST(CensusTest, FrequenciesAreExactQuartersOfTen) {
    Population pop = childrenWith({9, 10, 11, 10});
    Count_Allele(pop);
    EXPECT_EQ(Frequence(pop, 1), 22.5f);
    EXPECT_EQ(Frequence(pop, 2), 25.0f);
    EXPECT_EQ(Frequence(pop, 3), 27.5f);
    EXPECT_EQ(Frequence(pop, 1) + Frequence(pop, 2) + Frequence(pop, 3) + Frequence(pop, 4),
              100.0f);
}

// The census only adds: the reset belongs to the caller's Init_Var.
TEST(CensusTest, ASecondCensusWithoutResetAddsUp) {
    Population pop = childrenWith({10, 10, 10, 10});
    Count_Allele(pop);
    Count_Allele(pop);
    int total = 0;
    for (int k = 1; k <= kAlleles; ++k)
        total += pop.Nb_Allele(k);
    EXPECT_EQ(total, 80);
    Init_Var(pop);
    Count_Allele(pop);
    EXPECT_EQ(pop.Nb_Allele(3), 10);
}

TEST(CensusTest, AClearedChildCellRaisesTheEngineError) {
    Population pop = childrenWith({10, 10, 10, 10});
    pop.Geno_Enfant(7, 2) = 0;
    EXPECT_THROW(Count_Allele(pop), EngineError);
}

TEST(CensusTest, ACountBeyondSixteenBitsIsRefused) {
    Population pop;
    pop.Nb_Allele(2) = 328; // × 100 = 32 800
    EXPECT_THROW(Frequence(pop, 2), EngineError);
    pop.Nb_Allele(3) = 32767;
    pop.Geno_Enfant = childrenWith({0, 0, 40, 0}).Geno_Enfant;
    EXPECT_THROW(Count_Allele(pop), EngineError);
}

} // namespace
} // namespace bocavo

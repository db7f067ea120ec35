// The tables' bounds and the checked 16-bit arithmetic.
#include "engine/population.h"

#include <gtest/gtest.h>

namespace bocavo {
namespace {

TEST(PopulationTest, StartsAllZero) {
    const Population pop;
    for (int i = 1; i <= kIndividus; ++i) {
        for (int j = 1; j <= kCopies; ++j) {
            EXPECT_EQ(pop.Geno_Parent(i, j), 0);
            EXPECT_EQ(pop.Geno_Enfant(i, j), 0);
        }
        EXPECT_EQ(pop.Perm(i), 0);
        EXPECT_EQ(pop.Identite(i), 0);
    }
    for (int k = 1; k <= kAlleles; ++k) {
        EXPECT_EQ(pop.Urne(k), 0);
        EXPECT_EQ(pop.Nb_Allele(k), 0);
    }
}

// 0 and N + 1 are the off-by-one slips a 1-based table invites.
TEST(PopulationTest, EveryIndexOutsideItsBoundsThrows) {
    Population pop;
    EXPECT_THROW(pop.Urne(0), EngineError);
    EXPECT_THROW(pop.Urne(5), EngineError);
    EXPECT_THROW(pop.Nb_Allele(0), EngineError);
    EXPECT_THROW(pop.Nb_Allele(5), EngineError);
    EXPECT_THROW(pop.Perm(21), EngineError);
    EXPECT_THROW(pop.Identite(0), EngineError);
    EXPECT_THROW(pop.Geno_Parent(0, 1), EngineError);
    EXPECT_THROW(pop.Geno_Parent(21, 1), EngineError);
    EXPECT_THROW(pop.Geno_Enfant(1, 0), EngineError);
    EXPECT_THROW(pop.Geno_Enfant(1, 3), EngineError);
    EXPECT_NO_THROW(pop.Geno_Enfant(20, 2));
}

TEST(PopulationTest, IndexErrorNamesTheTableAndTheIndex) {
    Population pop;
    try {
        pop.Geno_Parent(21, 1) = 1;
        FAIL() << "no error raised";
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "Indice hors limites : 21 dans Geno_Parent (1 à 20)");
    }
}

TEST(CheckedArithmeticTest, RefusesToWrap) {
    EXPECT_EQ(add16(32766, 1), 32767);
    EXPECT_THROW(add16(32767, 1), EngineError);
    EXPECT_EQ(sub16(-32767, 1), -32768);
    EXPECT_THROW(sub16(-32768, 1), EngineError);
    EXPECT_EQ(mul16(40, 100), 4000);
    EXPECT_THROW(mul16(328, 100), EngineError); // 32800 > 32767
    EXPECT_THROW(mul16(-32768, -1), EngineError);
}

} // namespace
} // namespace bocavo

// The four broods of a generation.
#include "engine/breeding.h"
#include "scripted_source.h"

#include <gtest/gtest.h>
#include <map>
#include <utility>

namespace bocavo {
namespace {

using test::pick;
using test::ScriptedSource;

// Parent cells tagged 10 × individual + copy, so that every child copy tells
// exactly where it came from.
Population taggedParents() {
    Population pop;
    for (int i = 1; i <= kIndividus; ++i)
        for (int j = 1; j <= kCopies; ++j)
            pop.Geno_Parent(i, j) = static_cast<Cell>(10 * i + j);
    return pop;
}

int coupleOfRow(int row) {
    for (const Brood& brood : kBroods)
        if (row > brood.Deb && row <= brood.Deb + brood.nbr_couple)
            return row - brood.Deb;
    return 0;
}

TEST(BroodTableTest, FillsEveryChildRowExactlyOnce) {
    std::array<int, kIndividus + 1> writes{};
    for (const Brood& brood : kBroods)
        for (int k = 1; k <= brood.nbr_couple; ++k)
            ++writes.at(static_cast<std::size_t>(brood.Deb + k));
    for (int row = 1; row <= kIndividus; ++row)
        EXPECT_EQ(writes.at(static_cast<std::size_t>(row)), 1) << "row " << row;
}

// Copy 1 comes from the odd partner, copy 2 from the even one, and couples 9
// and 10 (parents 17 to 20) never breed.
TEST(EnfantTest, ChildCopiesComeFromTheirCouple) {
    Source_Aleatoire source;
    for (int run = 0; run < 200; ++run) {
        Population pop = taggedParents();
        breedGeneration(pop, source);
        for (int row = 1; row <= kIndividus; ++row) {
            const int k = coupleOfRow(row);
            const int first = pop.Geno_Enfant(row, 1);
            const int second = pop.Geno_Enfant(row, 2);
            ASSERT_EQ(first / 10, 2 * k - 1) << "row " << row;
            ASSERT_EQ(second / 10, 2 * k) << "row " << row;
            ASSERT_LE(k, 8);
        }
    }
}

TEST(EnfantTest, DrawsOddPartnerFirstThenWritesTheRow) {
    Population pop = taggedParents();
    // Couple 1: odd partner copy 2, even partner copy 1; couple 2: 1 and 2.
    ScriptedSource source({pick(2, 2), pick(1, 2), pick(1, 2), pick(2, 2)});
    Enfant(pop, source, 2, 18);
    EXPECT_EQ(pop.Geno_Enfant(19, 1), 12);
    EXPECT_EQ(pop.Geno_Enfant(19, 2), 21);
    EXPECT_EQ(pop.Geno_Enfant(20, 1), 31);
    EXPECT_EQ(pop.Geno_Enfant(20, 2), 42);
    EXPECT_EQ(pop.Geno_Enfant(18, 1), 0); // outside the brood
}

TEST(EnfantTest, AGenerationTakesFortyValues) {
    Population pop = taggedParents();
    ScriptedSource source(std::vector<float>(40, 0.3f));
    breedGeneration(pop, source);
    EXPECT_EQ(source.used(), 40u);
}

TEST(EnfantTest, HomozygousPartnersGiveOneGenotypeInTheirOrder) {
    Population pop;
    pop.Geno_Parent(1, 1) = 1;
    pop.Geno_Parent(1, 2) = 1;
    pop.Geno_Parent(2, 1) = 3;
    pop.Geno_Parent(2, 2) = 3;
    pop.Geno_Parent(3, 1) = 3;
    pop.Geno_Parent(3, 2) = 3;
    pop.Geno_Parent(4, 1) = 1;
    pop.Geno_Parent(4, 2) = 1;
    Source_Aleatoire source;
    for (int run = 0; run < 50; ++run) {
        Enfant(pop, source, 2, 0);
        ASSERT_EQ(pop.Geno_Enfant(1, 1), 1);
        ASSERT_EQ(pop.Geno_Enfant(1, 2), 3);
        ASSERT_EQ(pop.Geno_Enfant(2, 1), 3);
        ASSERT_EQ(pop.Geno_Enfant(2, 2), 1);
    }
}

// (1, 2) × (3, 4): each of the four children with probability 1/4. Over 40 000
// children each count is 10 000 with a standard deviation of about 87.
TEST(EnfantTest, FourCombinationsAreEquallyLikely) {
    Population pop;
    pop.Geno_Parent(1, 1) = 1;
    pop.Geno_Parent(1, 2) = 2;
    pop.Geno_Parent(2, 1) = 3;
    pop.Geno_Parent(2, 2) = 4;
    Source_Aleatoire source;
    std::map<std::pair<int, int>, int> seen;
    for (int run = 0; run < 40000; ++run) {
        Enfant(pop, source, 1, 0);
        ++seen[{pop.Geno_Enfant(1, 1), pop.Geno_Enfant(1, 2)}];
    }
    ASSERT_EQ(seen.size(), 4u);
    for (const auto& [child, count] : seen)
        EXPECT_NEAR(count, 10000, 400) << child.first << child.second;
}

TEST(EnfantTest, ParentsSeventeenToTwentyPassNothingOn) {
    Population pop;
    for (int i = 1; i <= kIndividus; ++i)
        for (int j = 1; j <= kCopies; ++j)
            pop.Geno_Parent(i, j) = static_cast<Cell>(i > 16 ? 4 : 1 + (i + j) % 3);
    Source_Aleatoire source;
    for (int run = 0; run < 100; ++run) {
        breedGeneration(pop, source);
        for (int row = 1; row <= kIndividus; ++row)
            for (int j = 1; j <= kCopies; ++j)
                ASSERT_NE(pop.Geno_Enfant(row, j), 4);
    }
}

TEST(EnfantTest, NoCouplesMeansNoDrawAndNoChange) {
    Population pop = taggedParents();
    const Population before = pop;
    ScriptedSource source;
    Enfant(pop, source, 0, 5);
    Enfant(pop, source, -3, 5);
    EXPECT_EQ(source.used(), 0u);
    EXPECT_EQ(pop.Geno_Enfant, before.Geno_Enfant);
}

TEST(EnfantTest, ASecondCallOverwritesTheSameRows) {
    Population pop = taggedParents();
    ScriptedSource source({pick(1, 2), pick(1, 2), pick(2, 2), pick(2, 2)});
    Enfant(pop, source, 1, 14);
    EXPECT_EQ(pop.Geno_Enfant(15, 1), 11);
    EXPECT_EQ(pop.Geno_Enfant(15, 2), 21);
    Enfant(pop, source, 1, 14);
    EXPECT_EQ(pop.Geno_Enfant(15, 1), 12);
    EXPECT_EQ(pop.Geno_Enfant(15, 2), 22);
    EXPECT_EQ(pop.Geno_Enfant(16, 1), 0);
}

TEST(EnfantTest, ABroodPastTheTablesRaisesTheEngineError) {
    Population pop = taggedParents();
    Source_Aleatoire source;
    EXPECT_THROW(Enfant(pop, source, 3, 18), EngineError); // child row 21
    EXPECT_THROW(Enfant(pop, source, 11, 0), EngineError); // parent 21
    EXPECT_THROW(Enfant(pop, source, 1, -1), EngineError); // child row 0
}

} // namespace
} // namespace bocavo

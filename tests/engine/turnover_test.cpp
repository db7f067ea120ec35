// Shuffle and the promotion of the children.
#include "engine/generation.h"
#include "scripted_source.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace bocavo {
namespace {

using test::pick;
using test::ScriptedSource;

bool isPermutation(const Vector<kIndividus>& perm) {
    std::array<int, kIndividus + 1> seen{};
    for (int i = 1; i <= kIndividus; ++i) {
        const int v = perm(i);
        if (v < 1 || v > kIndividus || seen.at(static_cast<std::size_t>(v))++)
            return false;
    }
    return true;
}

TEST(ShuffleTest, BuildsAPermutationAndTheIdentity) {
    Population pop;
    Source_Aleatoire source;
    for (int run = 0; run < 1000; ++run) {
        Shuffle(pop, source);
        ASSERT_TRUE(isPermutation(pop.Perm)) << "run " << run;
        for (int i = 1; i <= kIndividus; ++i)
            ASSERT_EQ(pop.Identite(i), i);
    }
}

// Slots are cleared first: a stale Perm cannot block a slot. Value 2 first
// lands on slot 1, taken by value 1, and is drawn again.
TEST(ShuffleTest, IgnoresThePreviousPermutationAndRedrawsTakenSlots) {
    Population pop;
    for (int i = 1; i <= kIndividus; ++i)
        pop.Perm(i) = 7;
    std::vector<float> script{pick(1, 20), pick(1, 20)};
    for (int slot = 2; slot <= kIndividus; ++slot)
        script.push_back(pick(slot, 20));
    ScriptedSource source(script);
    Shuffle(pop, source);
    for (int i = 1; i <= kIndividus; ++i)
        EXPECT_EQ(pop.Perm(i), i);
    EXPECT_EQ(source.used(), 21u);
}

// Every value is as likely in every slot: 20 000 shuffles put value 1 in each
// slot about 1 000 times (standard deviation about 31).
TEST(ShuffleTest, EverySlotIsEquallyLikely) {
    Population pop;
    Source_Aleatoire source;
    std::array<int, kIndividus + 1> slotOfOne{};
    for (int run = 0; run < 20000; ++run) {
        Shuffle(pop, source);
        for (int i = 1; i <= kIndividus; ++i)
            if (pop.Perm(i) == 1)
                ++slotOfOne.at(static_cast<std::size_t>(i));
    }
    for (int i = 1; i <= kIndividus; ++i)
        EXPECT_NEAR(slotOfOne.at(static_cast<std::size_t>(i)), 1000, 160) << "slot " << i;
}

TEST(PromotionTest, MovesEachChildOnceThroughThePermutation) {
    Population pop;
    for (int i = 1; i <= kIndividus; ++i) {
        pop.Geno_Enfant(i, 1) = static_cast<Cell>(1 + i % 4);
        pop.Geno_Enfant(i, 2) = static_cast<Cell>(1 + (i / 4) % 4);
        pop.Perm(i) = static_cast<Cell>(kIndividus + 1 - i); // reversed order
    }
    const Genotypes children = pop.Geno_Enfant;
    Promotion(pop);
    for (int i = 1; i <= kIndividus; ++i) {
        EXPECT_EQ(pop.Geno_Parent(i, 1), children(kIndividus + 1 - i, 1));
        EXPECT_EQ(pop.Geno_Parent(i, 2), children(kIndividus + 1 - i, 2));
        EXPECT_EQ(pop.Geno_Enfant(i, 1), 0);
        EXPECT_EQ(pop.Geno_Enfant(i, 2), 0);
    }
}

// The new parents are the former children as ordered pairs, each exactly once.
TEST(PromotionTest, ConservesTheGenotypesAfterARealShuffle) {
    Population pop;
    Source_Aleatoire source;
    foundGeneration(pop, source);
    std::multiset<std::pair<int, int>> before;
    for (int i = 1; i <= kIndividus; ++i)
        before.insert({pop.Geno_Enfant(i, 1), pop.Geno_Enfant(i, 2)});
    Shuffle(pop, source);
    Promotion(pop);
    std::multiset<std::pair<int, int>> after;
    for (int i = 1; i <= kIndividus; ++i)
        after.insert({pop.Geno_Parent(i, 1), pop.Geno_Parent(i, 2)});
    EXPECT_EQ(after, before);
}

TEST(PromotionTest, WithoutAShuffleRaisesTheEngineError) {
    Population pop; // Perm still all 0
    EXPECT_THROW(Promotion(pop), EngineError);
}

} // namespace
} // namespace bocavo

// Whole runs from many seeds, checking after every step what must always hold
// whatever the draws: 40 copies, a permutation for the turnover, parents that
// are the former children, and no allele coming back or losing its fixation.
#include "engine/census.h"
#include "engine/generation.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace bocavo {
namespace {

using Pairs = std::multiset<std::pair<int, int>>;

Pairs genotypes(const Genotypes& table) {
    Pairs out;
    for (int i = 1; i <= kIndividus; ++i)
        out.insert({table(i, 1), table(i, 2)});
    return out;
}

bool isPermutation(const Vector<kIndividus>& perm) {
    std::array<bool, kIndividus + 1> seen{};
    for (int i = 1; i <= kIndividus; ++i) {
        const int v = perm(i);
        if (v < 1 || v > kIndividus || seen.at(static_cast<std::size_t>(v)))
            return false;
        seen.at(static_cast<std::size_t>(v)) = true;
    }
    return true;
}

// Fails with the seed and generation, so that a run can be replayed.
void checkRun(std::uint32_t seed, int generations) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Population pop;
    Source_Aleatoire source(seed);
    foundGeneration(pop, source);
    std::array<int, kAlleles + 1> before{};
    for (int gen = 1; gen <= generations; ++gen) {
        SCOPED_TRACE("generation " + std::to_string(gen));
        Count_Allele(pop);
        int total = 0;
        for (int k = 1; k <= kAlleles; ++k) {
            const int n = pop.Nb_Allele(k);
            total += n;
            const int previous = before.at(static_cast<std::size_t>(k));
            if (gen > 1 && previous == 0) {
                ASSERT_EQ(n, 0) << "allele " << k << " came back";
            }
            if (gen > 1 && previous == kAlleleCopies) {
                ASSERT_EQ(n, kAlleleCopies) << "allele " << k << " lost its fixation";
            }
            before.at(static_cast<std::size_t>(k)) = n;
        }
        ASSERT_EQ(total, kAlleleCopies);

        const Pairs children = genotypes(pop.Geno_Enfant);
        nextGeneration(pop, source);
        ASSERT_TRUE(isPermutation(pop.Perm));
        ASSERT_EQ(genotypes(pop.Geno_Parent), children);
    }
}

TEST(PropertyTest, ManySeededRunsKeepTheInvariants) {
    for (std::uint32_t seed = 1; seed <= 200; ++seed)
        checkRun(seed, 300);
}

} // namespace
} // namespace bocavo

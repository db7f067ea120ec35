// The first founding draw, broods and next generation of a fresh source,
// pinned: any change to the generator, to the order of the draws or to the
// rejection loops changes what every class sees, and must show here.
#include "engine/census.h"
#include "engine/generation.h"
#include "scripted_source.h"

#include <gtest/gtest.h>
#include <string>

namespace bocavo {
namespace {

using test::CountingSource;

// "ab" per row: copy 1 then copy 2, rows 1 to 20.
std::string rows(const Genotypes& table) {
    std::string out;
    for (int i = 1; i <= kIndividus; ++i) {
        if (i > 1)
            out += ' ';
        out += std::to_string(table(i, 1)) + std::to_string(table(i, 2));
    }
    return out;
}

std::string counts(const Population& pop) {
    return std::to_string(pop.Nb_Allele(1)) + ' ' + std::to_string(pop.Nb_Allele(2)) + ' ' +
           std::to_string(pop.Nb_Allele(3)) + ' ' + std::to_string(pop.Nb_Allele(4));
}

TEST(GoldenTest, FirstRunOfAFreshSource) {
    Population pop;
    CountingSource source;

    Init_Var(pop);
    Init_Individu(pop, source);
    EXPECT_EQ(source.used(), 43u); // 40 cells and 3 rejected draws
    EXPECT_EQ(rows(pop.Geno_Parent), "24 21 34 32 34 44 14 14 21 34 12 33 41 32 33 13 21 11 24 22");

    breedGeneration(pop, source);
    EXPECT_EQ(source.used(), 83u);
    EXPECT_EQ(rows(pop.Geno_Enfant), "22 33 44 11 23 23 43 31 42 32 44 11 24 13 22 42 34 11 42 42");
    Count_Allele(pop);
    EXPECT_EQ(counts(pop), "8 12 9 11");

    Shuffle(pop, source);
    EXPECT_EQ(source.used(), 173u);
    std::string perm;
    for (int i = 1; i <= kIndividus; ++i)
        perm += std::to_string(pop.Perm(i)) + (i < kIndividus ? "," : "");
    EXPECT_EQ(perm, "14,12,19,7,6,2,5,8,15,20,4,10,18,13,1,11,9,17,3,16");

    Promotion(pop);
    Init_Var(pop);
    breedGeneration(pop, source);
    EXPECT_EQ(source.used(), 213u);
    EXPECT_EQ(rows(pop.Geno_Parent), "13 11 42 43 23 33 23 31 22 42 11 32 11 24 22 44 42 34 44 42");
    EXPECT_EQ(rows(pop.Geno_Enfant), "31 23 33 21 22 12 14 24 31 23 33 31 22 12 31 44 23 33 11 24");
    Count_Allele(pop);
    EXPECT_EQ(counts(pop), "10 12 13 5");
}

// The two command sequences run exactly those steps in that order.
TEST(GoldenTest, CommandSequencesMatchTheSteps) {
    Population bySteps;
    Population bySequence;
    Source_Aleatoire a;
    Source_Aleatoire b;
    Init_Var(bySteps);
    Init_Individu(bySteps, a);
    breedGeneration(bySteps, a);
    foundGeneration(bySequence, b);
    EXPECT_EQ(bySequence.Geno_Enfant, bySteps.Geno_Enfant);
    for (int gen = 0; gen < 10; ++gen) {
        Shuffle(bySteps, a);
        Promotion(bySteps);
        Init_Var(bySteps);
        breedGeneration(bySteps, a);
        nextGeneration(bySequence, b);
    }
    EXPECT_EQ(bySequence.Geno_Parent, bySteps.Geno_Parent);
    EXPECT_EQ(bySequence.Geno_Enfant, bySteps.Geno_Enfant);
    EXPECT_EQ(a.next(), b.next());
}

} // namespace
} // namespace bocavo

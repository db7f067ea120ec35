// The urn reset and the founding draw.
#include "engine/founding.h"
#include "scripted_source.h"

#include <array>
#include <gtest/gtest.h>

namespace bocavo {
namespace {

using test::CountingSource;
using test::pick;
using test::ScriptedSource;

std::array<int, 5> alleleCells(const Genotypes& table) {
    std::array<int, 5> seen{};
    for (int i = 1; i <= kIndividus; ++i)
        for (int j = 1; j <= kCopies; ++j)
            ++seen.at(static_cast<std::size_t>(table(i, j)));
    return seen;
}

TEST(InitVarTest, RefillsTheUrnAndClearsTheCountsOnly) {
    Population pop;
    pop.Nb_Allele(2) = 7;
    pop.Urne(3) = 0;
    pop.Geno_Parent(4, 1) = 3;
    pop.Geno_Enfant(5, 2) = 2;
    Init_Var(pop);
    for (int k = 1; k <= kAlleles; ++k) {
        EXPECT_EQ(pop.Urne(k), 10);
        EXPECT_EQ(pop.Nb_Allele(k), 0);
    }
    EXPECT_EQ(pop.Geno_Parent(4, 1), 3);
    EXPECT_EQ(pop.Geno_Enfant(5, 2), 2);
}

// Many founding draws: every ball is placed once, ten of each allele, urn empty.
TEST(InitIndividuTest, EmptiesTheUrnIntoTenCellsOfEachAllele) {
    Population pop;
    Source_Aleatoire source;
    for (int run = 0; run < 500; ++run) {
        Init_Var(pop);
        Init_Individu(pop, source);
        for (int k = 1; k <= kAlleles; ++k)
            ASSERT_EQ(pop.Urne(k), 0);
        const auto seen = alleleCells(pop.Geno_Parent);
        ASSERT_EQ(seen[0], 0) << "an empty parent cell";
        for (std::size_t a = 1; a <= 4; ++a)
            ASSERT_EQ(seen[a], 10) << "allele " << a << ", run " << run;
    }
}

TEST(InitIndividuTest, FillsCellsRowByRowFromTheDrawnAlleles) {
    Population pop;
    Init_Var(pop);
    std::vector<float> script;
    for (int cell = 0; cell < 40; ++cell)
        script.push_back(pick(cell / 10 + 1, 4)); // ten 1s, ten 2s, ten 3s, ten 4s
    ScriptedSource source(script);
    Init_Individu(pop, source);
    EXPECT_EQ(pop.Geno_Parent(1, 1), 1);
    EXPECT_EQ(pop.Geno_Parent(5, 2), 1);  // cell 10
    EXPECT_EQ(pop.Geno_Parent(6, 1), 2);  // cell 11
    EXPECT_EQ(pop.Geno_Parent(20, 2), 4); // cell 40
    EXPECT_EQ(source.used(), 40u);
}

// An allele number whose balls are gone is drawn again, and every rejected draw
// uses up a value; an allele with one ball left is as likely as one with nine.
TEST(InitIndividuTest, RedrawsEmptyAllelesWithoutWeighting) {
    Population pop;
    pop.Urne(1) = 0;
    pop.Urne(2) = 39;
    pop.Urne(3) = 0;
    pop.Urne(4) = 1;
    std::vector<float> script{pick(1, 4), pick(3, 4), pick(4, 4), pick(4, 4)};
    for (int cell = 1; cell < 40; ++cell)
        script.push_back(pick(2, 4));
    ScriptedSource source(script);
    Init_Individu(pop, source);
    EXPECT_EQ(pop.Geno_Parent(1, 1), 4); // the single ball, after two rejections
    EXPECT_EQ(pop.Geno_Parent(1, 2), 2); // allele 4 is now empty: redrawn
    EXPECT_EQ(pop.Geno_Parent(20, 2), 2);
    EXPECT_EQ(source.used(), 43u);
}

// With one allele left each draw is accepted with probability 1/4: 4 000 cells
// take about 16 000 draws (standard deviation about 110).
TEST(InitIndividuTest, AcceptsOneDrawInFourWithOneAlleleLeft) {
    Population pop;
    CountingSource source;
    for (int run = 0; run < 100; ++run) {
        pop.Urne(1) = 0;
        pop.Urne(2) = 0;
        pop.Urne(3) = 40;
        pop.Urne(4) = 0;
        Init_Individu(pop, source);
        ASSERT_EQ(alleleCells(pop.Geno_Parent)[3], 40);
    }
    EXPECT_NEAR(static_cast<double>(source.used()), 16000.0, 600.0);
}

// A short urn would never end the rejection loop; it is refused instead.
TEST(InitIndividuTest, RefusesAnUrnWithTooFewBalls) {
    Population pop;
    Init_Var(pop);
    pop.Urne(4) = 9; // 39 balls for 40 cells
    Source_Aleatoire source;
    EXPECT_THROW(Init_Individu(pop, source), EngineError);
}

} // namespace
} // namespace bocavo

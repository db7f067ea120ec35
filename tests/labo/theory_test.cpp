// The expected figures on known cases, where each formula applies and where
// it must stay silent, and the sentences that explain them.
#include "labo/model/theory.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

namespace bocavo::labo {
namespace {

Settings sized(int n, Model model = Model::Protocole) {
    Settings s;
    s.individuals = n;
    s.model = model;
    s.urn = evenUrn(n, 4);
    return s;
}

TEST(TheoryTest, EveryProtocolSizeKeepsTwoChildrenAndAVarianceOfTwo) {
    for (const int n : {10, 30, 200, 10'000}) {
        const auto children = offspringPerParent(n);
        ASSERT_EQ(children.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(std::accumulate(children.begin(), children.end(), 0), 2 * n);
        EXPECT_DOUBLE_EQ(offspringVariance(sized(n)), 2.0) << n;
        EXPECT_DOUBLE_EQ(effectiveSize(sized(n)), (4.0 * n - 2.0) / 4.0) << n;
        EXPECT_DOUBLE_EQ(effectiveSize(sized(n, Model::WrightFisher)), n);
    }
    EXPECT_EQ(offspringPerParent(10), (std::vector<int>{4, 4, 3, 3, 2, 2, 1, 1, 0, 0}));
}

TEST(TheoryTest, HeterozygosityCurvesStartFromTheUrn) {
    Settings s = sized(20);
    s.alleles = 2;
    s.urn = {4, 36, 0, 0};
    EXPECT_DOUBLE_EQ(founderHeterozygosity(s), 1.0 - 0.01 - 0.81);
    const auto drift = expectedHeterozygosity(s, 10);
    ASSERT_EQ(drift.size(), 11u);
    EXPECT_DOUBLE_EQ(drift[10], 0.18 * std::pow(1.0 - 1.0 / 39.0, 10));
    // With mutation the curve climbs from H0 towards the equilibrium.
    s.mutation = 0.02;
    const auto held = expectedHeterozygosity(s, 2000);
    EXPECT_DOUBLE_EQ(held[0], 0.18);
    EXPECT_NEAR(held[2000], *equilibriumHeterozygosity(s), 1e-9);
    // No curve under selection or migration.
    s.fitness = {110, 100, 100, 100};
    EXPECT_TRUE(expectedHeterozygosity(s, 10).empty());
    EXPECT_FALSE(equilibriumHeterozygosity(s));
    s.fitness = {100, 100, 100, 100};
    s.migration = 0.1;
    EXPECT_TRUE(expectedHeterozygosity(s, 10).empty());
}

// Kimura and Crow's formula up to u = 0.01, the recursion's own balance above:
// the two agree where they meet, within the 2 % the formula's approximations cost.
TEST(TheoryTest, MutationBalanceFormulaMeetsTheRecursion) {
    Settings s = sized(20, Model::WrightFisher);
    s.mutation = 0.01;
    const double formula = *equilibriumHeterozygosity(s);
    EXPECT_DOUBLE_EQ(formula, 0.8 * 3.0 / (3.0 + 0.8 * 4.0));
    s.mutation = 0.0100001;
    EXPECT_NEAR(*equilibriumHeterozygosity(s), formula, 0.02 * formula);
    s.mutation = 0.1;
    EXPECT_LT(*equilibriumHeterozygosity(s), 0.75); // never above K − 1 alleles' maximum
    EXPECT_FALSE(equilibriumHeterozygosity(sized(20)));
}

TEST(TheoryTest, FixationProbabilitiesShareOneAmongTheAlleles) {
    // Ideal model, neutral: the starting frequencies.
    Settings s = sized(20, Model::WrightFisher);
    s.alleles = 3;
    s.urn = {4, 16, 20, 0};
    s.fitness = {100, 100, 100, 100};
    auto p = fixationProbabilities(s);
    EXPECT_DOUBLE_EQ(*p[0], 0.1);
    EXPECT_FALSE(p[3]);
    // Protocol: the founding draw favours the rare allele, and all still add up to 1.
    s.model = Model::Protocole;
    p = fixationProbabilities(s);
    EXPECT_GT(*p[0], 0.15);
    EXPECT_NEAR(*p[0] + *p[1] + *p[2], 1.0, 1e-9);
    // One allele against two that share a fitness: Kimura for it, the rest shared.
    s.model = Model::WrightFisher;
    s.fitness = {110, 100, 100, 100};
    p = fixationProbabilities(s);
    const double x = -2.0 * 20 * 0.1;
    EXPECT_NEAR(*p[0], std::expm1(x * 0.1) / std::expm1(x), 1e-12);
    EXPECT_NEAR(*p[1], (1.0 - *p[0]) * 0.4 / 0.9, 1e-12);
    EXPECT_NEAR(*p[0] + *p[1] + *p[2], 1.0, 1e-12);
    // Three different fitnesses, or mutation: no figure.
    s.fitness = {110, 100, 90, 100};
    EXPECT_FALSE(fixationProbabilities(s)[0]);
    s.fitness = {100, 100, 100, 100};
    s.mutation = 0.001;
    EXPECT_FALSE(fixationProbabilities(s)[0]);
}

TEST(TheoryTest, IslandModelDifferentiation) {
    Settings s = sized(20, Model::WrightFisher);
    s.migration = 0.05;
    EXPECT_DOUBLE_EQ(*expectedDifferentiation(s, 2), 1.0 / (1.0 + 4.0 * 20 * 0.05 * 4.0));
    EXPECT_FALSE(expectedDifferentiation(s, 1));
    s.migration = 0.0;
    EXPECT_FALSE(expectedDifferentiation(s, 10));
}

TEST(TheoryTest, SentencesSayTheFiguresInFrench) {
    const Settings classroom;
    EXPECT_NE(effectiveSizeSentence(classroom).find("Ne = 19,5"), std::string::npos);
    EXPECT_NE(effectiveSizeSentence(classroom).find("Ne = (4N − 2)/(Vk + 2)"), std::string::npos);
    EXPECT_NE(effectiveSizeSentence(sized(200, Model::WrightFisher)).find("Ne = N = 200"),
              std::string::npos);
    EXPECT_NE(heterozygositySentence(classroom).find("H(t) = 0,75 × (1 − 1/(2 × 19,5))^t"),
              std::string::npos);
    EXPECT_EQ(equilibriumSentence(classroom), "");
    EXPECT_EQ(differentiationSentence(classroom, 30), "");
    Settings s = classroom;
    s.alleles = 2;
    s.urn = {4, 36, 0, 0};
    EXPECT_NE(fixationSentence(s).find("allèle 1 : 19,3 % (10 % au départ)"), std::string::npos)
        << fixationSentence(s);
    s.mutation = 0.005;
    EXPECT_NE(equilibriumSentence(s).find("4Ne·u·(K − 1)/(K − 1 + 4Ne·u·K) = "), std::string::npos);
    EXPECT_EQ(fixationSentence(s), "");
    s.mutation = 0.0;
    s.migration = 0.1;
    EXPECT_NE(differentiationSentence(s, 30).find("Fst ≈ 1/(1 + 4Ne·m·(d/(d − 1))²) = "),
              std::string::npos);
}

// Small figures keep their significant digits (a large population loses
// 0,025 % a generation, not "0 %"), large ones their thousands grouped.
TEST(TheoryTest, SmallAndLargeFiguresReadAsAFrenchReaderWritesThem) {
    const std::string large = heterozygositySentence(sized(2000, Model::Protocole));
    EXPECT_NE(large.find("× (1 − 1/(2 × 1 999,5))^t"), std::string::npos) << large;
    EXPECT_NE(large.find("1/(2Ne) = 0,025 % à chaque génération"), std::string::npos) << large;
    EXPECT_NE(effectiveSizeSentence(sized(10'000, Model::WrightFisher)).find("Ne = N = 10 000"),
              std::string::npos);
    EXPECT_EQ(percentText(0.025641), "2,6 %");
    EXPECT_EQ(percentText(0.5), "50 %");
    EXPECT_EQ(percentText(0.0), "0 %");
    EXPECT_EQ(percentText(1.0), "100 %");
    EXPECT_EQ(percentText(0.0000123), "0,0012 %");
    EXPECT_EQ(frenchDecimal(-0.0001, 2), "0");
    EXPECT_EQ(frenchDecimal(-1234.5, 1), "-1 234,5");
}

} // namespace
} // namespace bocavo::labo

// The expected figures on known cases, where each formula applies and where
// it must stay silent, and the sentences that explain them.
#include "core/lab/science/fixation.h"
#include "core/lab/science/theory.h"

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
        const auto children = offspringPerParent(n, n);
        ASSERT_EQ(children.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(std::accumulate(children.begin(), children.end(), 0), 2 * n);
        EXPECT_DOUBLE_EQ(offspringVariance(sized(n)), 2.0) << n;
        EXPECT_DOUBLE_EQ(effectiveSize(sized(n)), (4.0 * n - 2.0) / 4.0) << n;
        EXPECT_DOUBLE_EQ(effectiveSize(sized(n, Model::WrightFisher)), n);
    }
    EXPECT_EQ(offspringPerParent(10, 10), (std::vector<int>{4, 4, 3, 3, 2, 2, 1, 1, 0, 0}));
}

// The protocol with 4 balls in 40: the founding draw puts the rare allele in
// the largest broods, so the first breeding leaves H near 0.31, not the 0.175
// of H0 (1 − 1/(2Ne)); 1 000 classes hold 0.307, 0.192 and 0.067 at
// generations 1, 20 and 60. Then the curve falls by about 1/(2Ne) a generation.
TEST(TheoryTest, HeterozygosityStartsFromTheFirstBreeding) {
    Settings s;
    s.alleles = 2;
    s.urn = {4, 36, 0, 0};
    EXPECT_DOUBLE_EQ(founderHeterozygosity(s), 1.0 - 0.01 - 0.81);
    const auto drift = expectedHeterozygosity(s, 60);
    ASSERT_EQ(drift.size(), 61u);
    EXPECT_DOUBLE_EQ(drift[0], 0.18);
    EXPECT_NEAR(drift[1], 0.307, 0.005);
    EXPECT_NEAR(drift[20], 0.192, 0.005);
    EXPECT_NEAR(drift[60], 0.067, 0.003);
    EXPECT_NEAR(drift[60] / drift[59], 1.0 - 1.0 / 39.0, 1e-4);
    // In the ideal model the founders are the urn and each child copy a fair
    // draw: H1 = (1 − 1/(2N))·H0 exactly.
    s.model = Model::WrightFisher;
    EXPECT_NEAR(expectedHeterozygosity(s, 1)[1], 0.18 * (1.0 - 1.0 / 40.0), 1e-12);
    // With mutation the curve climbs towards its equilibrium; with migration
    // between classes it falls more slowly than in one class alone.
    s.mutation = 0.005;
    EXPECT_NEAR(expectedHeterozygosity(s, 3000).back(), *equilibriumHeterozygosity(s), 1e-9);
    s.mutation = 0.0;
    s.migration = 0.1;
    EXPECT_GT(expectedHeterozygosity(s, 100, 10)[100],
              expectedHeterozygosity(s, 100, 1)[100] + 0.02);
    // No curve under selection.
    s.fitness = {110, 100, 100, 100};
    EXPECT_TRUE(expectedHeterozygosity(s, 10).empty());
    s.mutation = 0.01;
    s.migration = 0.0;
    EXPECT_FALSE(equilibriumHeterozygosity(s));
}

// One balance for every u: no jump where a formula once gave way to the
// recursion (0.387 at u = 0.01, 0.383 just above); for small u it is Kimura
// and Crow's 4Ne·u·(K − 1)/(K − 1 + 4Ne·u·K).
TEST(TheoryTest, MutationBalanceIsContinuousAndMeetsKimuraAndCrow) {
    Settings s;
    s.model = Model::WrightFisher;
    s.mutation = 0.01;
    const double at = *equilibriumHeterozygosity(s);
    EXPECT_NEAR(at, 0.381, 0.001);
    s.mutation = 0.0100001;
    EXPECT_NEAR(*equilibriumHeterozygosity(s), at, 1e-5);
    s.individuals = 1000;
    s.urn = evenUrn(1000, 4);
    s.mutation = 0.00002;
    const double theta = 4.0 * 1000 * 0.00002;
    EXPECT_NEAR(*equilibriumHeterozygosity(s), theta * 3.0 / (3.0 + theta * 4.0), 0.002);
    s.mutation = 0.1;
    EXPECT_LT(*equilibriumHeterozygosity(s), 0.75); // never above K − 1 alleles' maximum
    EXPECT_FALSE(equilibriumHeterozygosity(Settings{}));
}

TEST(TheoryTest, FixationByTheChainTheDiffusionOrNothing) {
    // The chain on cases done by hand: one individual, two copies, one child
    // kept as AA or aa with chances ∝ p²·w_AA and q²·w_aa; neutral, p itself.
    EXPECT_NEAR(chainFixation(1, 2, 4.0, 2.5, 1.0), 1.0 / 1.25, 1e-12);
    EXPECT_NEAR(chainFixation(7, 40, 1.0, 1.0, 1.0), 7.0 / 40.0, 1e-9);
    EXPECT_NEAR(chainFixation(300, 1000, 1.0, 1.0, 1.0), 0.3, 1e-9);
    // A harmful allele at 95 % (ideal model, N = 20, fitness 10 against 100):
    // the weak-selection formula gave 16.5 %, the chain 0.01 %.
    Settings s;
    s.model = Model::WrightFisher;
    s.alleles = 2;
    s.urn = {38, 2, 0, 0};
    s.fitness = {10, 100, 100, 100};
    auto p = fixationProbabilities(s);
    EXPECT_LT(*p[0], 0.0002);
    EXPECT_NEAR(*p[0] + *p[1], 1.0, 1e-12);
    // Weak selection: the diffusion, with this scheme's drift, meets Kimura's
    // formula, and the chain in a class large enough.
    const double x = -2.0 * 200 * 0.01;
    EXPECT_NEAR(diffusionFixation(0.1, 0.01, 200), std::expm1(x * 0.1) / std::expm1(x), 0.002);
    EXPECT_NEAR(chainFixation(80, 800, 1.01, 1.005, 1.0), diffusionFixation(0.1, 0.01, 400), 0.003);
    // Strongly harmful, at 99 % of 1 000 copies: with the mean-fitness divisor
    // the diffusion stays within 0.001 of the chain (0.00017); Kimura's
    // weak-selection formula says 0.0067.
    EXPECT_NEAR(diffusionFixation(0.99, -0.5, 500), chainFixation(990, 1000, 0.5, 0.75, 1.0),
                0.001);
    EXPECT_NEAR(diffusionFixation(0.3, 0.0, 50), 0.3, 1e-12);
    EXPECT_NEAR(diffusionFixation(0.5, -0.9, 5000), 0.0, 1e-300);
    // One allele against two that share a fitness: they share what it leaves.
    s.alleles = 3;
    s.urn = {4, 16, 20, 0};
    s.fitness = {110, 100, 100, 100};
    p = fixationProbabilities(s);
    EXPECT_NEAR(*p[1], (1.0 - *p[0]) * 0.4 / 0.9, 1e-12);
    EXPECT_NEAR(*p[0] + *p[1] + *p[2], 1.0, 1e-12);
    // Three different fitnesses, mutation, or outside the diffusion's domain: nothing.
    s.fitness = {110, 100, 90, 100};
    EXPECT_FALSE(fixationProbabilities(s)[0]);
    s.fitness = {100, 100, 100, 100};
    s.mutation = 0.001;
    EXPECT_FALSE(fixationProbabilities(s)[0]);
    // Protocol, 2 balls of an allele 50 % fitter: the formula said 85.6 %,
    // 80.9 ± 0.6 % of the classes fix it.
    Settings protocol;
    protocol.alleles = 2;
    protocol.urn = {2, 38, 0, 0};
    protocol.fitness = {150, 100, 100, 100};
    EXPECT_FALSE(fixationProbabilities(protocol)[0]);
}

TEST(TheoryTest, IslandModelDifferentiation) {
    Settings s = sized(50, Model::WrightFisher);
    s.migration = 0.1;
    // 10 classes of 50: the old formula's 0.039 where the classes hold 0.049.
    EXPECT_NEAR(*differentiationBalance(s, 10), 0.0499, 0.0005);
    const auto curve = expectedDifferentiation(s, 10, 400);
    ASSERT_EQ(curve.size(), 401u);
    EXPECT_EQ(curve[0], 0.0); // every class holds the urn
    EXPECT_NEAR(curve[400], *differentiationBalance(s, 10), 1e-4);
    // Mutation too: a true equilibrium, and the curve reaches it.
    s.mutation = 0.01;
    EXPECT_NEAR(expectedDifferentiation(s, 10, 3000).back(), *differentiationBalance(s, 10), 1e-9);
    EXPECT_FALSE(differentiationBalance(s, 1));
    EXPECT_TRUE(expectedDifferentiation(s, 1, 10).empty());
    s.migration = 0.0;
    EXPECT_FALSE(differentiationBalance(s, 10));
}

TEST(TheoryTest, SentencesSayTheFiguresInFrench) {
    const Settings classroom;
    EXPECT_NE(effectiveSizeSentence(classroom).find("Ne = 19,5"), std::string::npos);
    EXPECT_NE(effectiveSizeSentence(classroom).find("Ne = (4N − 2)/(Vk + 2)"), std::string::npos);
    EXPECT_NE(effectiveSizeSentence(sized(200, Model::WrightFisher)).find("Ne = N = 200"),
              std::string::npos);
    EXPECT_NE(heterozygositySentence(classroom).find("1/(2Ne) = 2,6 % à chaque génération"),
              std::string::npos)
        << heterozygositySentence(classroom);
    EXPECT_EQ(equilibriumSentence(classroom), "");
    EXPECT_EQ(differentiationSentence(classroom, 30), "");
    Settings s = classroom;
    s.alleles = 2;
    s.urn = {4, 36, 0, 0};
    EXPECT_NE(fixationSentence(s).find("allèle 1 : 19,3 % (10 % au départ)"), std::string::npos)
        << fixationSentence(s);
    s.mutation = 0.005;
    EXPECT_NE(equilibriumSentence(s).find("Équilibre mutation–dérive"), std::string::npos);
    EXPECT_EQ(fixationSentence(s), "");
    s.mutation = 0.0;
    s.migration = 0.1;
    EXPECT_NE(differentiationSentence(s, 30).find("Fst se stabilise vers 0,"), std::string::npos);
    s.migration = 0.0;
    s.urn = {20, 20, 0, 0};
    s.fitness = {150, 100, 100, 100};
    EXPECT_NE(fixationSentence(s).find("diffusion"), std::string::npos) << fixationSentence(s);
    s.model = Model::WrightFisher;
    EXPECT_NE(fixationSentence(s).find("exactement"), std::string::npos);
}

// Small figures keep their significant digits (a large population loses
// 0,025 % a generation, not "0 %"), large ones their thousands grouped.
TEST(TheoryTest, SmallAndLargeFiguresReadAsAFrenchReaderWritesThem) {
    const std::string large = heterozygositySentence(sized(2000, Model::Protocole));
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

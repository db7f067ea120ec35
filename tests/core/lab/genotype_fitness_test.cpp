// Fitness of the genotypes 11, 12 and 22: which sets are sound, how a lethal
// genotype breeds, what a class with no viable couple does, and the figures
// theory gives for it.
#include "core/lab/science/deme.h"
#include "core/lab/science/experiment.h"
#include "core/lab/science/fixation.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"
#include "core/lab/view/chart.h"

#include <cmath>
#include <gtest/gtest.h>

namespace bocavo::labo {
namespace {

Settings twoAlleles(int n, Model model, int ones, int twos, std::array<int, 3> genotypes) {
    Settings s;
    s.individuals = n;
    s.model = model;
    s.alleles = 2;
    s.urn = {ones, twos, 0, 0};
    s.genotypes = genotypes;
    return s;
}

struct NoDonors {
    int count() const { return 0; }
    const Allele* copiesOf(int) const { return nullptr; }
};

TEST(GenotypeFitnessTest, SetsAreRefusedInFrenchWhenTheRuleCannotHold) {
    struct Case {
        int alleles;
        std::array<int, 4> fitness;
        std::array<int, 3> genotypes;
        const char* refusal; // empty: sound
    };
    const Case cases[] = {
        {2, {100, 100, 100, 100}, {100, 50, 0}, ""},
        {2, {100, 100, 100, 100}, {0, 1000, 0}, ""},
        {3, {100, 100, 100, 100}, {100, 50, 0}, "ne valent que pour 2 allèles (et non 3)"},
        {2, {120, 100, 100, 100}, {100, 50, 0}, "pas les deux"},
        {2, {100, 100, 100, 100}, {0, 0, 0}, "au-dessus de 0 %"},
        {2, {100, 100, 100, 100}, {100, 1001, 0}, "de 0 % à 1 000 % (et non 1 001 %)"},
    };
    for (const Case& c : cases) {
        Settings s = twoAlleles(20, Model::WrightFisher, 20, 20, c.genotypes);
        s.alleles = c.alleles;
        s.urn = evenUrn(20, c.alleles);
        s.fitness = c.fitness;
        const auto sound = checkSettings(s);
        SCOPED_TRACE(c.refusal);
        EXPECT_EQ(static_cast<bool>(sound), *c.refusal == '\0');
        if (!sound) {
            EXPECT_NE(sound.reason().find(c.refusal), std::string::npos) << sound.reason();
        }
    }
    for (const GenotypePreset& preset : kGenotypePresets)
        EXPECT_TRUE(checkSettings(twoAlleles(20, Model::Protocole, 20, 20, preset.fitness)))
            << preset.name;
}

// Equal genotype fitness is no selection: not one more draw, whatever the
// model and the forces.
TEST(GenotypeFitnessTest, EqualGenotypesBreedExactlyAsWithout) {
    for (const Model model : {Model::Protocole, Model::WrightFisher}) {
        Settings plain = twoAlleles(30, model, 24, 36, {0, 0, 0});
        plain.genotypes.reset();
        plain.mutation = 0.01;
        plain.migration = 0.1;
        Settings equal = plain;
        equal.genotypes = std::array<int, 3>{70, 70, 70};
        Experiment a(plain, 4, 5), b(equal, 4, 5);
        a.advanceTo(60);
        b.advanceTo(60);
        for (int c = 1; c <= 4; ++c)
            for (int g = 0; g <= 60; ++g)
                ASSERT_EQ(a.counts(c, g), b.counts(c, g)) << "class " << c << ", generation " << g;
    }
}

// A recessive lethal: allele 2 lives on in heterozygotes only, every child
// still bred (a couple 12 × 12 gives 22 a quarter of the time and is redrawn).
TEST(GenotypeFitnessTest, ARecessiveLethalLeavesNoHomozygoteAmongTheChildren) {
    for (const Model model : {Model::Protocole, Model::WrightFisher}) {
        const Plan plan(twoAlleles(40, model, 40, 40, {100, 100, 0}));
        Deme deme;
        Source_Aleatoire source(11);
        deme.found(plan, source);
        int heterozygotes = 0;
        for (int g = 1; g <= 40; ++g) {
            if (g > 1)
                deme.next(plan, source, g, NoDonors{});
            const auto& copies = deme.children(g);
            ASSERT_EQ(copies.size(), 80u);
            for (std::size_t i = 0; i < copies.size(); i += 2) {
                ASSERT_FALSE(copies[i] == 1 && copies[i + 1] == 1) << "generation " << g;
                heterozygotes += copies[i] != copies[i + 1];
            }
        }
        EXPECT_GT(heterozygotes, 0); // allele 2 was there to be selected against
    }
}

// Underdominance with a lethal heterozygote: the couples 11 × 22 can give no
// child that survives; their children are bred by the other couples, so the
// class keeps its size and has no heterozygote.
TEST(GenotypeFitnessTest, ACoupleThatCannotBreedLeavesItsChildrenToTheOthers) {
    const Plan plan(twoAlleles(100, Model::Protocole, 100, 100, {100, 0, 100}));
    Deme deme;
    Source_Aleatoire source(3);
    deme.found(plan, source);
    for (int g = 1; g <= 20; ++g) {
        if (g > 1)
            deme.next(plan, source, g, NoDonors{});
        const auto& copies = deme.children(g);
        ASSERT_EQ(copies.size(), 200u);
        for (std::size_t i = 0; i < copies.size(); i += 2)
            ASSERT_EQ(copies[i], copies[i + 1]) << "generation " << g;
    }
}

// Only 22 founders and 22 lethal: no child can survive. The class dies out
// at the first breeding and the run goes on, with that class counted; a
// source urn lets some classes die out and the others live on.
TEST(GenotypeFitnessTest, AClassWhereNoChildCanSurviveDiesOutAndTheRunGoesOn) {
    for (const Model model : {Model::Protocole, Model::WrightFisher}) {
        Experiment all(twoAlleles(20, model, 0, 40, {100, 100, 0}), 3, 1);
        all.advanceTo(25);
        for (int c = 1; c <= 3; ++c) {
            EXPECT_EQ(all.extinctAt(c), 1);
            EXPECT_EQ(all.counts(c, 0)[1], 40);
            EXPECT_EQ(all.counts(c, 25), Counts{});
        }
        EXPECT_EQ(all.extinctClasses(), 3);
        EXPECT_TRUE(all.allFixed()); // nothing is left to wait for
        EXPECT_EQ(all.advanceUntilFixation(), 25);

        // 150 allele-1 balls among 2 000: a fifth of the classes of 10 draw none.
        Settings source = twoAlleles(10, model, 150, 1850, {100, 100, 0});
        source.migration = 0.2; // and a class that died out sends no migrant
        Experiment some(source, 40, 9);
        some.advanceTo(30);
        int extinct = 0;
        for (int c = 1; c <= 40; ++c) {
            const Counts last = some.counts(c, 30);
            if (some.extinctAt(c) >= 0) {
                ++extinct;
                EXPECT_EQ(last, Counts{});
            } else {
                EXPECT_EQ(last[0] + last[1], 20);
                EXPECT_GT(last[0], 0);
            }
        }
        EXPECT_EQ(some.extinctClasses(), extinct);
        EXPECT_GT(extinct, 0);
        EXPECT_LT(extinct, 40);
        // A class that died out has no variation left and no part in Fst.
        Statistics stats;
        stats.update(some);
        for (int g = 0; g <= 30; ++g) {
            EXPECT_GE(stats.meanHeterozygosity()[static_cast<std::size_t>(g)], 0.0);
            EXPECT_LE(stats.meanHeterozygosity()[static_cast<std::size_t>(g)], 0.5);
            if (const auto fst = stats.differentiation()[static_cast<std::size_t>(g)]) {
                EXPECT_TRUE(*fst >= 0.0 && *fst <= 1.0) << "generation " << g;
            }
        }
    }
}

TEST(GenotypeFitnessTest, TheLargePopulationTrajectoryFollowsTheRecursion) {
    // A recessive lethal: q_t = q0/(1 + t·q0).
    const auto lethal =
        expectedFrequencies(twoAlleles(500, Model::WrightFisher, 500, 500, {100, 100, 0}), 40);
    ASSERT_EQ(lethal.size(), 41u);
    for (const int t : {0, 1, 10, 40})
        EXPECT_NEAR(lethal[static_cast<std::size_t>(t)][1], 0.5 / (1 + 0.5 * t), 1e-12);
    // Heterozygote advantage: p settles at (w12 − w22)/(2w12 − w11 − w22) = 2/3.
    const auto balanced =
        expectedFrequencies(twoAlleles(500, Model::Protocole, 100, 900, {90, 100, 80}), 400);
    EXPECT_NEAR(balanced.back()[0], 2.0 / 3.0, 1e-6);
    // Additive genotypes are the alleles' own fitness (each genotype the mean of its two).
    Settings alleles = twoAlleles(500, Model::Protocole, 100, 900, {0, 0, 0});
    alleles.genotypes.reset();
    alleles.fitness = {130, 70, 100, 100};
    const auto fromAlleles = expectedFrequencies(alleles, 30);
    const auto fromGenotypes =
        expectedFrequencies(twoAlleles(500, Model::Protocole, 100, 900, {130, 100, 70}), 30);
    for (std::size_t t = 0; t <= 30; ++t)
        EXPECT_NEAR(fromAlleles[t][0], fromGenotypes[t][0], 1e-12);
    // Only 22 left, 22 lethal: nothing survives, the curve stops at the start.
    EXPECT_EQ(
        expectedFrequencies(twoAlleles(20, Model::WrightFisher, 0, 40, {100, 100, 0}), 9).size(),
        1u);
    EXPECT_TRUE(
        expectedFrequencies(twoAlleles(20, Model::WrightFisher, 20, 20, {80, 80, 80}), 9).empty());
}

// The view of every class draws, under selection only, where a large
// population would take the allele followed.
TEST(GenotypeFitnessTest, TheAllClassesViewDrawsTheLargePopulationsLine) {
    for (const bool selection : {true, false}) {
        const Settings s = twoAlleles(20, Model::WrightFisher, 10, 30,
                                      selection ? std::array<int, 3>{100, 100, 0}
                                                : std::array<int, 3>{90, 90, 90});
        Experiment run(s, 5, 2);
        run.advanceTo(30);
        Statistics stats;
        stats.update(run);
        ChartChoice choice;
        choice.allele = 2;
        const View view = allClassesView({ViewSet{&run, &stats}}, choice);
        const auto expected = std::find_if(view.chart.lines.begin(), view.chart.lines.end(),
                                           [](const Line& l) { return l.role == Role::Expected; });
        ASSERT_EQ(expected != view.chart.lines.end(), selection);
        if (!selection)
            continue;
        EXPECT_EQ(expected->points.front().y, 75.0);
        // A recessive lethal: q_t = q0/(1 + t·q0), 0.75/23.5 at generation 30.
        EXPECT_NEAR(expected->points.back().y, 100.0 * 0.75 / (1 + 30 * 0.75), 1e-9);
    }
}

TEST(GenotypeFitnessTest, FixationFiguresAreExactSureOrAbsent) {
    struct Case {
        Settings settings;
        FixationMethod method;
        double allele1; // −1: no figure
    };
    Settings history = twoAlleles(20, Model::WrightFisher, 20, 20, {100, 90, 80});
    history.sizes = {{5, 10}};
    const Case cases[] = {
        // A lethal homozygote is never fixed, whatever the model and size.
        {twoAlleles(20, Model::Protocole, 2, 38, {100, 100, 0}), FixationMethod::Lethal, 1.0},
        {twoAlleles(5000, Model::WrightFisher, 9990, 10, {0, 100, 100}), FixationMethod::Lethal,
         0.0},
        {twoAlleles(20, Model::WrightFisher, 0, 40, {100, 100, 0}), FixationMethod::Lethal, 0.0},
        // The chain: neutral-like genotypes give the start share; a lethal
        // heterozygote between equal homozygotes is symmetric.
        {twoAlleles(20, Model::WrightFisher, 10, 30, {100, 100, 100}), FixationMethod::Neutral,
         0.25},
        {twoAlleles(20, Model::WrightFisher, 20, 20, {100, 0, 100}), FixationMethod::Chain, 0.5},
        // Strong selection in the protocol, a size history: no figure.
        {twoAlleles(20, Model::Protocole, 20, 20, {100, 150, 50}), FixationMethod::None, -1},
        {history, FixationMethod::None, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(modelWord(c.settings.model)) + " " +
                     genotypesText(c.settings.genotypes));
        const Fixation f = fixation(c.settings);
        EXPECT_EQ(f.method, c.method);
        EXPECT_EQ(f.chance[0].has_value(), c.allele1 >= 0);
        if (c.allele1 >= 0) {
            EXPECT_NEAR(*f.chance[0], c.allele1, 1e-9);
        }
    }
    // The lethal homozygote's figure in the command line's summary.
    EXPECT_NE(expectedLines(cases[0].settings, 100, 50).find("attendu allèle 2 : 0\n"),
              std::string::npos);
}

// The chance that allele 1 is fixed from each count of 2n copies, by every
// (n11, n12, n22) of n children and the chain iterated until it settles: slow,
// but with nothing in common with the program's convolution.
std::vector<double> bruteForceChain(int n, std::array<double, 3> w) {
    const int copies = 2 * n;
    std::vector<double> u(static_cast<std::size_t>(copies) + 1, 0.0);
    u.back() = 1.0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<double> next = u;
        for (int i = 1; i < copies; ++i) {
            const double p = static_cast<double>(i) / copies, q = 1.0 - p;
            const double r[3] = {p * p * w[0], 2 * p * q * w[1], q * q * w[2]};
            const double total = r[0] + r[1] + r[2];
            double sum = 0.0;
            for (int a = 0; a <= n; ++a)
                for (int b = 0; a + b <= n; ++b) {
                    const int c = n - a - b;
                    const double ways = std::exp(std::lgamma(n + 1.0) - std::lgamma(a + 1.0) -
                                                 std::lgamma(b + 1.0) - std::lgamma(c + 1.0));
                    sum += ways * std::pow(r[0] / total, a) * std::pow(r[1] / total, b) *
                           std::pow(r[2] / total, c) * u[static_cast<std::size_t>(2 * a + b)];
                }
            next[static_cast<std::size_t>(i)] = sum;
        }
        u = next;
    }
    return u;
}

TEST(GenotypeFitnessTest, TheChainIsExactAndMeetsTheDiffusion) {
    // A lethal heterozygote (the binomial of homozygotes), dominance, overdominance.
    for (const std::array<double, 3> w :
         {std::array<double, 3>{100, 0, 60}, std::array<double, 3>{30, 100, 60},
          std::array<double, 3>{100, 100, 40}}) {
        const auto expected = bruteForceChain(4, w);
        for (int i = 1; i < 8; ++i)
            EXPECT_NEAR(chainFixation(i, 8, w[0], w[1], w[2]),
                        expected[static_cast<std::size_t>(i)], 1e-9)
                << w[0] << " " << w[1] << " " << w[2] << ", from " << i;
    }
    // Additive genotypes: the diffusion's integral form is the closed form.
    for (const double s : {-0.05, 0.02, 0.1})
        EXPECT_NEAR(genotypeDiffusion(0.3, 100 * (1 + s), 100 * (1 + s / 2), 100, 200),
                    diffusionFixation(0.3, s, 200), 1e-5);
    // Large and weak: the chain and the diffusion within the diffusion's own error.
    for (const std::array<double, 3> w :
         {std::array<double, 3>{100, 104, 97}, std::array<double, 3>{100, 100, 96}})
        EXPECT_NEAR(chainFixation(200, 1000, w[0], w[1], w[2]),
                    genotypeDiffusion(0.2, w[0], w[1], w[2], 500), 0.01)
            << w[0] << " " << w[1] << " " << w[2];
}

} // namespace
} // namespace bocavo::labo

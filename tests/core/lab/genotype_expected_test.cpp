// Selection on genotypes against what theory expects of it: the share of
// classes that fix allele 1 against the exact chain (a tolerance of four
// standard errors of the simulated share, the chain having no error of its
// own), and the mean frequency of a large population against the
// deterministic recursion (four standard errors plus 0.01 for what a finite
// population's drift and the averaged founding draw leave out). Under the
// sanitizers the first case of each table runs.
#include "core/lab/science/experiment.h"
#include "core/lab/science/fixation.h"
#include "core/lab/science/theory.h"
#include "tests/core/lab/sampling.h"

#include <gtest/gtest.h>

namespace bocavo::labo {
namespace {

constexpr double kLargePopulation = 0.01; // the recursion's error at N = 1 000 and more

Settings genotypeSet(int n, Model model, int ones, std::array<int, 3> w) {
    Settings s;
    s.individuals = n;
    s.model = model;
    s.alleles = 2;
    s.urn = {ones, 2 * n - ones, 0, 0};
    s.genotypes = w;
    return s;
}

std::string describe(const Settings& s) {
    return std::string(modelWord(s.model)) + ", N = " + std::to_string(s.individuals) + ", urne " +
           std::to_string(s.urn[0]) + ", génotypes " + genotypesText(s.genotypes);
}

struct FixationCase {
    Settings settings;
    int runs; // of 1 000 classes each
};

TEST(GenotypeExpectedTest, TheShareFixedFollowsTheFigure) {
    const std::array<FixationCase, 4> cases{{
        // Allele 1 dominant and favoured, from 6 copies in 20: the chain says
        // about 0.6 where drift alone would give 0.3.
        {genotypeSet(10, Model::WrightFisher, 6, {100, 100, 50}), 4},
        // A heterozygote advantage and a lethal heterozygote, from 8 in 40.
        {genotypeSet(20, Model::WrightFisher, 8, {60, 100, 80}), 3},
        {genotypeSet(20, Model::WrightFisher, 20, {100, 0, 90}), 3},
        // A recessive lethal in the protocol: allele 2 is never fixed.
        {genotypeSet(20, Model::Protocole, 4, {100, 100, 0}), 1},
    }};
    for (const FixationCase& c : casesToRun(cases)) {
        SCOPED_TRACE(describe(c.settings));
        const Fixation figure = fixation(c.settings);
        ASSERT_TRUE(figure.chance[0].has_value());
        Sample fixedOne;
        for (int r = 0; r < c.runs; ++r) {
            Experiment run(c.settings, kMaxClasses, 17 + static_cast<std::uint32_t>(r));
            run.advanceUntilFixation();
            ASSERT_TRUE(run.allFixed());
            for (int cl = 1; cl <= kMaxClasses; ++cl)
                fixedOne.add(run.counts(cl, run.generation())[0] == c.settings.copies());
        }
        const double u = *figure.chance[0];
        const double se = std::sqrt(u * (1.0 - u) / fixedOne.count);
        EXPECT_NEAR(fixedOne.mean(), u, 4.0 * se + 1e-12) << "chaîne " << u;
    }
}

TEST(GenotypeExpectedTest, ALargePopulationFollowsTheRecursion) {
    const std::array<Settings, 3> cases{{
        genotypeSet(2000, Model::WrightFisher, 1200, {100, 100, 0}),
        genotypeSet(1000, Model::Protocole, 200, {90, 100, 80}),
        genotypeSet(2000, Model::WrightFisher, 400, {130, 115, 100}),
    }};
    constexpr int kClasses = 20;
    constexpr int kLast = 40;
    for (const Settings& s : casesToRun(cases)) {
        SCOPED_TRACE(describe(s));
        const auto expected = expectedFrequencies(s, kLast);
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(kLast) + 1);
        Experiment run(s, kClasses, 23);
        run.advanceTo(kLast);
        for (const int t : {1, 5, 10, 20, 40}) {
            Sample p;
            for (int c = 1; c <= kClasses; ++c)
                p.add(static_cast<double>(run.counts(c, t)[0]) / s.copiesAt(t));
            EXPECT_NEAR(p.mean(), expected[static_cast<std::size_t>(t)][0],
                        4.0 * p.se() + kLargePopulation)
                << "generation " << t;
        }
    }
}

} // namespace
} // namespace bocavo::labo

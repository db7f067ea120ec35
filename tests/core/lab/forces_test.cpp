// Drift, selection, mutation and migration against what population genetics
// expects, each on fixed seeds and sized to be decisive yet quick. Every
// tolerance is stated beside its test: a few standard errors of the sampled
// quantity, plus the known limits of the formula where it is approximate.
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"

#include <cmath>
#include <gtest/gtest.h>

namespace bocavo::labo {
namespace {

Settings twoAlleles(int individuals, Model model, int rareBalls) {
    Settings s;
    s.individuals = individuals;
    s.model = model;
    s.alleles = 2;
    s.urn = {rareBalls, 2 * individuals - rareBalls, 0, 0};
    return s;
}

const char* name(Model model) {
    return model == Model::Protocole ? "protocole" : "wright-fisher";
}

// Share of classes where allele 1 was fixed, over `runs` runs of 1 000 classes.
double fixedShare(const Settings& s, int runs) {
    int fixed = 0;
    for (int r = 0; r < runs; ++r) {
        Experiment experiment(s, kMaxClasses, 1000u + static_cast<std::uint32_t>(r));
        experiment.advanceUntilFixation();
        EXPECT_TRUE(experiment.allFixed());
        for (int c = 1; c <= kMaxClasses; ++c)
            fixed += experiment.counts(c, experiment.generation())[0] == s.copies();
    }
    return static_cast<double>(fixed) / (runs * kMaxClasses);
}

// Mean heterozygosity at t over the classes and its standard error.
struct Sample {
    double mean = 0.0;
    double se = 0.0;
};

Sample heterozygosityAt(const Experiment& experiment, int t) {
    const int copies = experiment.settings().copies();
    double sum = 0.0, squares = 0.0;
    for (int c = 1; c <= experiment.classes(); ++c) {
        const double h = heterozygosity(experiment.counts(c, t), copies);
        sum += h;
        squares += h * h;
    }
    const double n = experiment.classes();
    const double mean = sum / n;
    return {mean, std::sqrt((squares / n - mean * mean) / (n - 1))};
}

// The mean of H_t over 1 000 classes against the exact recursion, at a
// third, two thirds and all of t = 1.4·Ne (where H has fallen by half).
// Tolerance: four standard errors, plus the protocol's founding average (0.002).
TEST(ForcesTest, HeterozygosityDecaysAsDriftPredicts) {
    for (const int n : {10, 20, 200}) {
        for (const Model model : {Model::Protocole, Model::WrightFisher}) {
            Settings s;
            s.individuals = n;
            s.model = model;
            s.urn = evenUrn(n, 4);
            const int last = static_cast<int>(std::lround(1.4 * effectiveSize(s)));
            Experiment experiment(s, kMaxClasses, 4242);
            experiment.advanceTo(last);
            const auto expected = expectedHeterozygosity(s, last);
            for (const int t : {last / 3, 2 * last / 3, last}) {
                const Sample h = heterozygosityAt(experiment, t);
                const double e = expected[static_cast<std::size_t>(t)];
                EXPECT_NEAR(h.mean, e, 4.0 * h.se + (model == Model::Protocole ? 0.002 : 0.0))
                    << "N = " << n << ", " << name(model) << ", t = " << t;
            }
        }
    }
}

// An allele that starts at 10 % (4 balls in 40): in the ideal model it is
// fixed in 10 % of the classes; in the protocol as often as its expected
// frequency after the first breeding, near 20 %, because the founding draw
// puts it in the first individuals. The frequency is a martingale from the
// first breeding on, so the only tolerance is four standard errors of a share
// over 4 000 classes (0.019 at most) and the founding average's own (0.002).
TEST(ForcesTest, NeutralFixationFollowsTheFrequencyAfterTheFirstBreeding) {
    for (const Model model : {Model::Protocole, Model::WrightFisher}) {
        const Settings s = twoAlleles(20, model, 4);
        const double p = *fixationProbabilities(s)[0];
        const double share = fixedShare(s, 4);
        EXPECT_NEAR(share, p, 4.0 * std::sqrt(p * (1 - p) / 4000) + 0.002) << name(model);
    }
    EXPECT_NEAR(*fixationProbabilities(twoAlleles(20, Model::WrightFisher, 4))[0], 0.1, 1e-12);
    EXPECT_GT(*fixationProbabilities(twoAlleles(20, Model::Protocole, 4))[0], 0.17);
}

// An allele at 10 % with a 2 % advantage in a class of 50 (2Ne·s ≈ 2): fixed
// about twice as often as a neutral one. Tolerance: four standard errors over
// 4 000 classes, plus, in the protocol, 0.01 for the diffusion approximation
// (the ideal model's figure is its exact chain).
TEST(ForcesTest, AnAdvantageousAlleleIsFixedAsTheoryPredicts) {
    for (const Model model : {Model::Protocole, Model::WrightFisher}) {
        Settings s = twoAlleles(50, model, 10);
        s.fitness = {102, 100, 100, 100};
        const double u = *fixationProbabilities(s)[0];
        const double share = fixedShare(s, 4);
        EXPECT_NEAR(share, u,
                    4.0 * std::sqrt(u * (1 - u) / 4000) + (model == Model::Protocole ? 0.01 : 0.0))
            << name(model);
        EXPECT_LT(share, 0.5) << "an advantageous allele is still often lost";
    }
}

// Mean heterozygosity at the mutation–drift balance, averaged over
// generations 150 to 650 of 1 000 classes, against the recursion's fixed
// point. Tolerance: four standard errors of the class averages, plus the
// protocol's founding average (0.002); Kimura and Crow's formula, 0.387 for
// the first case where the classes hold 0.381, would fail.
TEST(ForcesTest, MutationHoldsHeterozygosityAtItsEquilibrium) {
    struct Case {
        int n;
        double u;
        int alleles;
    };
    for (const Case& c :
         {Case{20, 0.01, 4}, Case{10, 0.05, 3}, Case{50, 0.002, 2}, Case{10, 0.1, 2}}) {
        for (const Model model : {Model::Protocole, Model::WrightFisher}) {
            Settings s;
            s.individuals = c.n;
            s.model = model;
            s.alleles = c.alleles;
            s.urn = evenUrn(c.n, c.alleles);
            s.mutation = c.u;
            constexpr int kFirst = 150, kLast = 650;
            Experiment experiment(s, kMaxClasses, 99);
            experiment.advanceTo(kLast);
            double sum = 0.0, squares = 0.0;
            for (int k = 1; k <= kMaxClasses; ++k) {
                double classMean = 0.0;
                for (int t = kFirst; t <= kLast; ++t)
                    classMean += heterozygosity(experiment.counts(k, t), s.copies());
                classMean /= kLast - kFirst + 1;
                sum += classMean;
                squares += classMean * classMean;
            }
            const double mean = sum / kMaxClasses;
            const double se = std::sqrt((squares / kMaxClasses - mean * mean) / (kMaxClasses - 1));
            const double h = *equilibriumHeterozygosity(s);
            EXPECT_NEAR(mean, h, 4.0 * se + (model == Model::Protocole ? 0.002 : 0.0))
                << "N = " << c.n << ", u = " << c.u << ", " << name(model);
        }
    }
}

// Fst between 5 classes of 100 linked by migration m = 0.01 over forty runs,
// against the exact recursion, generation by generation from 100 to 800
// (towards the balance and at it), wherever the classes have not all fixed
// one allele. Each run gives its mean gap to the curve. Tolerance: four
// standard errors of the forty gaps, plus 5 % of the value because the mean
// of the ratio Fst is not the ratio of the means that the recursion gives,
// and 0.002 for the protocol's founding average.
TEST(ForcesTest, MigrationHoldsClassesAtTheIslandModelsDifferentiation) {
    constexpr int kClasses = 5, kRuns = 40, kFirst = 100, kLast = 800;
    for (const Model model : {Model::Protocole, Model::WrightFisher}) {
        Settings s;
        s.individuals = 100;
        s.urn = evenUrn(100, 4);
        s.model = model;
        s.migration = 0.01;
        const auto curve = expectedDifferentiation(s, kClasses, kLast);
        EXPECT_NEAR(curve[kLast], *differentiationBalance(s, kClasses), 0.01 * curve[kLast]);
        double sum = 0.0, squares = 0.0, level = 0.0;
        for (int r = 0; r < kRuns; ++r) {
            Experiment experiment(s, kClasses, 500u + static_cast<std::uint32_t>(r));
            experiment.advanceTo(kLast, {nullptr, {}, 1});
            Statistics stats;
            stats.update(experiment);
            double gap = 0.0;
            int shown = 0;
            for (int t = kFirst; t <= kLast; ++t) {
                if (const auto fst = stats.differentiation()[static_cast<std::size_t>(t)]) {
                    gap += *fst - curve[static_cast<std::size_t>(t)];
                    level += curve[static_cast<std::size_t>(t)];
                    ++shown;
                }
            }
            ASSERT_GT(shown, 0);
            gap /= shown;
            sum += gap;
            squares += gap * gap;
        }
        const double gap = sum / kRuns;
        const double se = std::sqrt((squares / kRuns - gap * gap) / (kRuns - 1));
        const double expected = level / (kRuns * (kLast - kFirst + 1.0));
        EXPECT_NEAR(gap, 0.0, 4.0 * se + 0.05 * expected + 0.002)
            << name(model) << ": Fst " << expected + gap << " against " << expected;
    }
}

} // namespace
} // namespace bocavo::labo

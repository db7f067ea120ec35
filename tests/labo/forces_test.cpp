// Drift, selection, mutation and migration against what population genetics
// expects, each on fixed seeds and sized to be decisive yet quick. Every
// tolerance is stated beside its test: a few standard errors of the sampled
// quantity, plus the known limits of the formula where it is approximate.
#include "labo/model/statistics.h"
#include "labo/model/theory.h"

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

// The mean of H_t over 1 000 classes against H0 (1 − 1/(2Ne))^t, at a third,
// two thirds and all of t = 1.4·Ne (where H has fallen by half). Tolerance:
// four standard errors, plus 1/(2N) of the expected value for what the Ne
// formula leaves out (the protocol's couples cannot self, and its founding
// draw is not a fair sample of the urn).
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
                EXPECT_NEAR(h.mean, e, 4.0 * h.se + e / (2.0 * n))
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
// 4 000 classes, plus 0.01 for the diffusion approximation (its error is of
// the order of s times the probability, 0.004 here).
TEST(ForcesTest, AnAdvantageousAlleleIsFixedAsKimuraPredicts) {
    for (const Model model : {Model::Protocole, Model::WrightFisher}) {
        Settings s = twoAlleles(50, model, 10);
        s.fitness = {102, 100, 100, 100};
        const double u = *fixationProbabilities(s)[0];
        const double share = fixedShare(s, 4);
        EXPECT_NEAR(share, u, 4.0 * std::sqrt(u * (1 - u) / 4000) + 0.01) << name(model);
        EXPECT_LT(share, 0.5) << "an advantageous allele is still often lost";
    }
}

// Mean heterozygosity at the mutation–drift balance, averaged over
// generations 150 to 650 of 1 000 classes, against the K-allele model's
// equilibrium. Tolerance: four standard errors of the class averages plus
// 1/(2N) of the value, for the approximations the formula rests on (Ne, and
// mutations landing after breeding rather than before).
TEST(ForcesTest, MutationHoldsHeterozygosityAtItsEquilibrium) {
    struct Case {
        int n;
        double u;
        int alleles;
    };
    for (const Case& c : {Case{20, 0.01, 4}, Case{10, 0.05, 3}, Case{50, 0.002, 2}}) {
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
            EXPECT_NEAR(mean, h, 4.0 * se + h / (2.0 * c.n))
                << "N = " << c.n << ", u = " << c.u << ", " << name(model);
        }
    }
}

// Fst between 5 classes of 100 linked by migration m = 0.01, averaged over
// generations 300 to 800 (the classes start alike and reach the balance within
// about 1/(2m) + 2Ne generations, and the 500 individuals together are still
// far from fixing) over forty runs, against the island model's equilibrium.
// So few classes make its correction for finite d count: (5/4)² moves Fst from
// 0.20 to 0.14. Tolerance: four standard errors of the forty runs' averages,
// plus 6 % of the value because the formula is for small m: the exact
// one-generation recursion of the identities puts the balance 4 % above it.
TEST(ForcesTest, MigrationHoldsClassesAtTheIslandModelsDifferentiation) {
    constexpr int kClasses = 5, kRuns = 40, kFirst = 300, kLast = 800;
    for (const Model model : {Model::Protocole, Model::WrightFisher}) {
        Settings s;
        s.individuals = 100;
        s.urn = evenUrn(100, 4);
        s.model = model;
        s.migration = 0.01;
        double sum = 0.0, squares = 0.0;
        for (int r = 0; r < kRuns; ++r) {
            Experiment experiment(s, kClasses, 500u + static_cast<std::uint32_t>(r));
            experiment.advanceTo(kLast, {nullptr, {}, 1});
            Statistics stats;
            stats.update(experiment);
            double run = 0.0;
            for (int t = kFirst; t <= kLast; ++t)
                run += stats.differentiation()[static_cast<std::size_t>(t)];
            run /= kLast - kFirst + 1;
            sum += run;
            squares += run * run;
        }
        const double fst = sum / kRuns;
        const double se = std::sqrt((squares / kRuns - fst * fst) / (kRuns - 1));
        const double expected = *expectedDifferentiation(s, kClasses);
        EXPECT_NEAR(fst, expected, 4.0 * se + 0.06 * expected) << name(model);
    }
}

} // namespace
} // namespace bocavo::labo

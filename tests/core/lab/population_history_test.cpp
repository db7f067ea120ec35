// A population's history against the simulation: a bottleneck, a growth and
// founders drawn from a larger source population, in both models. Each
// expected figure here comes from an exact recursion, so the tolerance is four
// standard errors of the simulated mean, plus 0.002 where the protocol's
// founding draws are averaged (none here: a source urn's founders are a fair
// sample). Under the sanitizers the first case of each table runs.
#include "core/lab/science/fixation.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"
#include "tests/core/lab/sampling.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace bocavo::labo {
namespace {

Settings withHistory(int n, Model model, std::array<int, 4> urn, std::vector<SizeChange> sizes) {
    Settings s;
    s.individuals = n;
    s.model = model;
    s.alleles = 2;
    s.urn = urn;
    s.fitness = {100, 100, 100, 100};
    s.sizes = std::move(sizes);
    return s;
}

std::string describe(const Settings& s) {
    return std::string(modelWord(s.model)) + ", N = " + std::to_string(s.individuals) + ", urne " +
           std::to_string(s.urn[0]) + " + " + std::to_string(s.urn[1]) + ", histoire « " +
           sizesText(s.sizes) + " »";
}

struct Bottleneck {
    Settings settings;
    int last;
    std::vector<int> times; // generations compared
};

// The classes are independent, so each class's H is one sample. The history
// must matter: at the last generation the curve stands well apart from that
// of a constant size, so that a simulation or a recursion that ignored the
// history would fail; a source's founders are checked by their own test.
TEST(PopulationHistoryTest, HeterozygosityFollowsTheSizeAndTheFounders) {
    const std::array<Bottleneck, 6> cases{{
        // Ideal model: 50 individuals, two for three generations, then 50 again.
        {withHistory(50, Model::WrightFisher, {50, 50, 0, 0}, {{10, 2}, {13, 50}}),
         40,
         {1, 10, 11, 12, 13, 20, 40}},
        // Protocol: 100 individuals, 10 for three generations.
        {withHistory(100, Model::Protocole, {100, 100, 0, 0}, {{5, 10}, {8, 100}}),
         30,
         {1, 5, 6, 8, 9, 30}},
        // Protocol growth: five couples breed 200 children, 40 each.
        {withHistory(10, Model::Protocole, {6, 14, 0, 0}, {{3, 200}}), 12, {1, 2, 3, 4, 12}},
        // Founder effect: 10 founders from a source of 200, one in four rare.
        {withHistory(10, Model::WrightFisher, {50, 150, 0, 0}, {}), 20, {0, 1, 5, 20}},
        {withHistory(20, Model::Protocole, {100, 300, 0, 0}, {}), 20, {0, 1, 5, 20}},
        // Both: a source of 2 000 balls, then a single individual for one generation.
        {withHistory(50, Model::WrightFisher, {400, 1600, 0, 0}, {{4, 1}, {5, 50}}),
         15,
         {0, 4, 5, 15}},
    }};
    constexpr int kClasses = 1000;
    for (const Bottleneck& c : casesToRun(cases)) {
        const Settings& s = c.settings;
        const auto expected = expectedHeterozygosity(s, c.last);
        Settings constant = s;
        constant.sizes.clear();
        const auto unchanged = expectedHeterozygosity(constant, c.last);
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(c.last) + 1);
        Experiment experiment(s, kClasses, 5u);
        experiment.advanceTo(c.last, {nullptr, {}, 1});
        for (const int t : c.times) {
            Sample h;
            for (int k = 1; k <= kClasses; ++k) {
                const Counts counts = experiment.counts(k, t);
                ASSERT_EQ(counts[0] + counts[1], s.copiesAt(t)) << describe(s) << ", g " << t;
                h.add(heterozygosity(counts, s.copiesAt(t)));
            }
            const auto at = static_cast<std::size_t>(t);
            const double tolerance = 4.0 * h.se();
            EXPECT_NEAR(h.mean(), expected[at], tolerance)
                << describe(s) << ", H à la génération " << t;
            if (t == c.last && !s.sizes.empty()) {
                EXPECT_GT(std::abs(unchanged[at] - expected[at]), 2.0 * tolerance)
                    << describe(s) << ": la génération " << t << " ne distingue rien";
            }
        }
    }
}

// Founders drawn ball by ball without replacement: the rare allele's count
// among 40 founders from 20 rare balls in 200 is hypergeometric, mean 4 and
// variance 40·0.1·0.9·160/199 = 2.894, where draws with replacement would vary
// by 3.6 and the classroom's draw of an allele number would give about 20.
// Tolerance: four standard errors of the mean and of the variance (about
// 0.012 and 0.029 over 20 000 classes).
TEST(PopulationHistoryTest, FoundersAreASampleOfTheSource) {
    const Settings s = withHistory(20, Model::WrightFisher, {20, 180, 0, 0}, {});
    Sample rare;
    for (std::uint32_t r = 0; r < (kSanitized ? 2u : 20u); ++r) {
        Experiment experiment(s, kMaxClasses, 60u + r);
        experiment.advanceTo(1, {nullptr, {}, 1});
        for (int c = 1; c <= kMaxClasses; ++c)
            rare.add(experiment.counts(c, 0)[0]);
    }
    const double variance = 40.0 * 0.1 * 0.9 * 160.0 / 199.0;
    EXPECT_NEAR(rare.mean(), 4.0, 4.0 * rare.se());
    // The variance of a sample variance: (μ4 − σ⁴)/n, μ4 ≈ 3σ⁴ here.
    EXPECT_NEAR(rare.variance(), variance, 4.0 * variance * std::sqrt(2.0 / rare.count));
}

// Neutral fixation is the frequency after the first breeding, whatever the
// sizes that follow and however the founders were drawn. Tolerance: four
// standard errors of a share of 2 000 classes.
TEST(PopulationHistoryTest, NeutralFixationIgnoresTheHistory) {
    const std::array<Settings, 2> cases{{
        withHistory(10, Model::Protocole, {100, 300, 0, 0}, {{3, 50}}),
        withHistory(20, Model::WrightFisher, {10, 30, 0, 0}, {{2, 3}, {6, 20}}),
    }};
    for (const Settings& s : casesToRun(cases)) {
        const Fixation expected = fixation(s);
        ASSERT_EQ(expected.method, FixationMethod::Neutral);
        const double u = *expected.chance[0];
        EXPECT_DOUBLE_EQ(u, 0.25);
        Sample fixed;
        for (std::uint32_t r = 0; r < 2; ++r) {
            Experiment experiment(s, kMaxClasses, 90u + r);
            experiment.advanceUntilFixation({nullptr, {}, 1});
            for (int c = 1; c <= kMaxClasses; ++c)
                fixed.add(experiment.counts(c, experiment.generation())[1] == 0 ? 1.0 : 0.0);
        }
        EXPECT_NEAR(fixed.mean(), u, 4.0 * std::sqrt(u * (1.0 - u) / fixed.count)) << describe(s);
    }
}

} // namespace
} // namespace bocavo::labo

// The cost announced before a run: its processor time and memory follow what
// the run really takes, and the largest runs are announced.
#include "core/lab/science/experiment.h"
#include "core/lab/science/run_cost.h"

#include <cmath>
#include <ctime>
#include <gtest/gtest.h>

namespace bocavo::labo {
namespace {

Settings everyForce() {
    Settings s;
    s.individuals = 10'000;
    s.urn = {2000, 6000, 6000, 6000};
    s.fitness = {105, 100, 100, 100};
    s.mutation = 0.001;
    s.migration = 0.01;
    return s;
}

// The calibration runs one class on this machine, so a loaded machine moves
// the estimate and the run alike; a factor of 3 either way still tells a
// minute from an hour.
TEST(RunCostTest, TheEstimateFollowsTheRun) {
    Settings s = everyForce();
    s.individuals = 1000;
    s.urn = {200, 600, 600, 600};
    s.migration = 0.0;
    const RunCost cost = estimateSet(s, 20, 150, false);
    const std::clock_t start = std::clock();
    Experiment run(s, 20, 3);
    run.advanceTo(150, {nullptr, {}, 1});
    const double spent = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_GT(cost.seconds, spent / 3);
    EXPECT_LT(cost.seconds, spent * 3);
    // The records and tables, to within what a class's bookkeeping adds.
    EXPECT_GT(static_cast<double>(cost.bytes), 0.8 * static_cast<double>(run.bytes()));
    EXPECT_LT(static_cast<double>(cost.bytes), 1.25 * static_cast<double>(run.bytes()));
    EXPECT_EQ(cost.generations, 150);
}

TEST(RunCostTest, TheLargestRunIsAnnouncedAndTheClassroomsIsNot) {
    Scenario largest;
    largest.a = everyForce();
    largest.classes = kMaxClasses;
    largest.generations = kMaxGeneration;
    const RunCost cost = estimateRun(largest, false);
    EXPECT_TRUE(cost.costly());
    EXPECT_GT(cost.seconds, 3600.0); // hours, on any machine of today
    // 32 768 generations of two bytes for four alleles, per class.
    EXPECT_GE(cost.bytes, 1000ull * 32768 * 8);
    EXPECT_EQ(costText(cost).find("environ "), 0u);

    Scenario classroom; // the defaults
    EXPECT_FALSE(estimateRun(classroom, false).costly());
    classroom.b = classroom.a;
    EXPECT_FALSE(estimateRun(classroom, true).costly());
}

// « Jusqu'à fixation » counts the expected time to fixation when nothing can
// undo it, else the counter's cap, and says which.
TEST(RunCostTest, UntilFixationSaysHowTheGenerationsWereCounted) {
    Settings ideal;
    ideal.individuals = 50;
    ideal.model = Model::WrightFisher;
    ideal.alleles = 2;
    ideal.urn = {50, 50, 0, 0};
    const RunCost expected = estimateSet(ideal, 400, 100, true);
    EXPECT_FALSE(expected.capped);
    EXPECT_NE(costText(expected).find("d'après le temps de fixation attendu"), std::string::npos);

    Settings mutating = ideal;
    mutating.mutation = 0.01;
    const RunCost capped = estimateSet(mutating, 400, 100, true);
    EXPECT_TRUE(capped.capped);
    EXPECT_EQ(capped.generations, kMaxGeneration);
    EXPECT_NE(costText(capped).find("32 767"), std::string::npos);
    // A heterozygote advantage keeps both alleles far longer than drift alone.
    Settings balanced = ideal;
    balanced.genotypes = std::array<int, 3>{90, 100, 80};
    EXPECT_EQ(estimateSet(balanced, 400, 100, true).generations, kMaxGeneration);

    // The mean time itself against 4 000 classes (Ne = N in the ideal model,
    // 4N·ln 2 ≈ 139 generations for p = 1/2): within four standard errors of
    // the sample (about 1 %), plus 3 % for the diffusion approximation at N = 50.
    double sum = 0.0;
    double squares = 0.0;
    double n = 0.0;
    for (const std::uint32_t seed : {11u, 12u, 13u, 14u}) {
        Experiment run(ideal, kMaxClasses, seed);
        run.advanceUntilFixation();
        for (int c = 1; c <= run.classes(); ++c) {
            int g = 0;
            while (!isFixed(run.counts(c, g)))
                ++g;
            sum += g;
            squares += static_cast<double>(g) * g;
            ++n;
        }
    }
    const double mean = sum / n;
    const double error = std::sqrt((squares / n - mean * mean) / n);
    const double formula = expectedFixationTime(ideal);
    EXPECT_NEAR(formula, 4.0 * 50 * std::log(2.0), 1e-9);
    EXPECT_NEAR(mean, formula, 4 * error + 0.03 * formula);
    EXPECT_GE(expected.generations, static_cast<int>(mean));
}

} // namespace
} // namespace bocavo::labo

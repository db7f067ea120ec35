// The generalised procedure: for the classroom's settings it is the engine's
// own, draw for draw; for any other set it keeps the population whole, and a
// run never depends on the threads, even when migration links the classes.
#include "core/lab/science/deme.h"
#include "core/lab/science/experiment.h"
#include "engine/census.h"
#include "engine/generation.h"

#include <gtest/gtest.h>
#include <numeric>

namespace bocavo::labo {
namespace {

Counts engineCounts(Population& pop) {
    Count_Allele(pop);
    Counts counts{};
    for (int k = 1; k <= kAlleles; ++k)
        counts[static_cast<std::size_t>(k - 1)] = static_cast<std::uint16_t>(pop.Nb_Allele(k));
    return counts;
}

struct NoDonors {
    int count() const { return 0; }
    const Allele* copiesOf(int) const { return nullptr; }
};

// Both procedures from the same seed: the same counts every generation, and
// the same number of values taken from the source (the next one is equal).
void expectEngineEquality(const Settings& settings, std::uint32_t seed) {
    Population pop;
    Source_Aleatoire engineSource(seed);
    Deme deme;
    const Plan plan(settings);
    Source_Aleatoire demeSource(seed);
    foundGeneration(pop, engineSource);
    deme.found(plan, demeSource);
    for (int i = 1; i <= kIndividus; ++i)
        for (int j = 1; j <= kCopies; ++j)
            ASSERT_EQ(pop.Geno_Parent(i, j) - 1,
                      deme.parents()[static_cast<std::size_t>(2 * (i - 1) + j - 1)]);
    ASSERT_EQ(engineCounts(pop), tally(deme.children(1)));
    for (int g = 2; g <= 300; ++g) {
        nextGeneration(pop, engineSource);
        deme.next(plan, demeSource, g, NoDonors{});
        ASSERT_EQ(engineCounts(pop), tally(deme.children(g))) << "generation " << g;
    }
    EXPECT_EQ(engineSource.raw(), demeSource.raw());
}

TEST(DemeTest, TheClassroomsSettingsBreedExactlyAsTheEngine) {
    for (const std::uint32_t seed : {1993u, 1u, 424242u})
        expectEngineEquality(Settings{}, seed);
    // Equal fitnesses other than 100 %: no selection, so no value is drawn for it.
    Settings equal;
    equal.fitness = {250, 250, 250, 250};
    expectEngineEquality(equal, 77);
}

TEST(DemeTest, BroodsScaleWithTheCouples) {
    EXPECT_EQ(broodsFor(20), (std::array<int, 4>{8, 6, 4, 2}));
    const auto big = broodsFor(10'000);
    EXPECT_EQ(big, (std::array<int, 4>{4000, 3000, 2000, 1000}));
    EXPECT_EQ(std::accumulate(big.begin(), big.end(), 0), 10'000);
    Settings fitness;
    fitness.alleles = 2;
    fitness.urn = {20, 20, 0, 0};
    fitness.fitness = {150, 100, 100, 100};
    const Plan selected(fitness);
    EXPECT_TRUE(selected.selection);
    EXPECT_FLOAT_EQ(selected.keep[0], 1.0f);            // 1-1: 150/150
    EXPECT_FLOAT_EQ(selected.keep[1], 125.0f / 150.0f); // 1-2: the mean of 150 and 100
    EXPECT_FLOAT_EQ(selected.keep[3], 100.0f / 150.0f); // 2-2
}

Settings everything() {
    Settings s;
    s.individuals = 30;
    s.model = Model::Protocole;
    s.alleles = 3;
    s.urn = {6, 24, 30, 0};
    s.fitness = {120, 100, 90, 100};
    s.mutation = 0.01;
    s.migration = 0.1;
    return s;
}

void expectSameRecords(const Experiment& a, const Experiment& b) {
    ASSERT_EQ(a.generation(), b.generation());
    for (int c = 1; c <= a.classes(); ++c)
        for (int g = 0; g <= a.generation(); ++g)
            ASSERT_EQ(a.counts(c, g), b.counts(c, g)) << "class " << c << " generation " << g;
}

// Migration reads the other classes' previous generation, so the threads and
// the steps of the advance must not change a single count. (Classes large
// enough that the linked run does use two threads.)
TEST(DemeTest, LinkedClassesDoNotDependOnThreadsOrSteps) {
    for (const Model model : {Model::Protocole, Model::WrightFisher}) {
        Settings s = everything();
        s.individuals = 200;
        s.urn = {40, 160, 200, 0};
        s.model = model;
        Experiment one(s, 24, 5);
        one.advanceTo(80, {nullptr, {}, 1});
        Experiment two(s, 24, 5);
        two.advanceTo(37, {nullptr, {}, 2});
        two.advanceTo(38, {nullptr, {}, 2});
        two.advanceTo(80, {nullptr, {}, 2});
        expectSameRecords(one, two);
    }
}

TEST(DemeTest, EveryGenerationHoldsTwoNCopiesOfTheKAlleles) {
    for (const Model model : {Model::Protocole, Model::WrightFisher}) {
        Settings s = everything();
        s.model = model;
        Experiment experiment(s, 6, 11);
        experiment.advanceTo(200);
        bool changed = false;
        for (int c = 1; c <= 6; ++c) {
            EXPECT_EQ(experiment.counts(c, 0), (Counts{6, 24, 30, 0})); // the urn itself
            for (int g = 0; g <= 200; ++g) {
                const Counts n = experiment.counts(c, g);
                ASSERT_EQ(n[0] + n[1] + n[2], 60) << "class " << c << " generation " << g;
                ASSERT_EQ(n[3], 0);
                changed = changed || (g > 0 && n != experiment.counts(c, g - 1));
            }
        }
        EXPECT_TRUE(changed);
    }
}

// Mutation brings lost alleles back, so a fixed class does not stay fixed and
// is bred on rather than copied.
TEST(DemeTest, MutationBringsBackLostAlleles) {
    Settings s;
    s.individuals = 10;
    s.alleles = 2;
    s.urn = {20, 0, 0, 0}; // allele 2 absent from the start
    s.mutation = 0.1;
    Experiment experiment(s, 4, 3);
    experiment.advanceTo(50);
    int back = 0;
    for (int c = 1; c <= 4; ++c)
        for (int g = 1; g <= 50; ++g)
            back += experiment.counts(c, g)[1] > 0 && experiment.counts(c, g - 1)[1] == 0;
    EXPECT_GT(back, 0);
    // Without mutation the same start stays fixed for ever.
    s.mutation = 0.0;
    Experiment fixed(s, 4, 3);
    fixed.advanceTo(50);
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(fixed.counts(c, 50), (Counts{20, 0, 0, 0}));
}

// A run that stops where every class has fixed once, then goes on, is the
// same run as one made in one go, even when fixation does not last.
TEST(DemeTest, ARunStoppedAtFixationGoesOnAsAStraightOne) {
    Settings s;
    s.individuals = 10;
    s.alleles = 2;
    s.urn = {10, 10, 0, 0};
    s.mutation = 0.002;
    s.migration = 0.01;
    Experiment stopped(s, 8, 21);
    const int end = stopped.advanceUntilFixation();
    ASSERT_TRUE(stopped.allFixed());
    stopped.advanceTo(end + 40);
    Experiment straight(s, 8, 21);
    straight.advanceTo(end + 40);
    expectSameRecords(stopped, straight);
}

TEST(DemeTest, LargeCountsTakeTwoBytesAndUnsoundSetsAreRefused) {
    Settings s;
    s.individuals = 200;
    s.alleles = 2;
    s.urn = {300, 100, 0, 0};
    Experiment experiment(s, 2, 9);
    experiment.advanceTo(5);
    EXPECT_EQ(experiment.counts(1, 0), (Counts{300, 100, 0, 0}));
    EXPECT_EQ(History(400, 2).stride(), 4);
    EXPECT_EQ(History(40, 4).stride(), 4);
    s.urn = {300, 99, 0, 0};
    try {
        Experiment bad(s, 2, 9);
        FAIL() << "an urn of 399 balls for 200 individuals was accepted";
    } catch (const std::invalid_argument& e) {
        EXPECT_EQ(std::string(e.what()),
                  "L'urne doit contenir au moins 2N = 400 boules pour 200 individus, et non 399.");
    }
}

} // namespace
} // namespace bocavo::labo

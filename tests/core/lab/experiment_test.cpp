// The classes run the main program's procedure faithfully, whatever the
// threads, the shortcut for fixed classes or a cancel do to the schedule.
#include "core/lab/science/experiment.h"
#include "engine/breeding.h"
#include "engine/census.h"
#include "engine/founding.h"
#include "engine/turnover.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <vector>

namespace bocavo::labo {
namespace {

Counts census(Population& pop) {
    Count_Allele(pop);
    return {
        static_cast<std::uint8_t>(pop.Nb_Allele(1)), static_cast<std::uint8_t>(pop.Nb_Allele(2)),
        static_cast<std::uint8_t>(pop.Nb_Allele(3)), static_cast<std::uint8_t>(pop.Nb_Allele(4))};
}

// The main program's commands, procedure by procedure, on its own start state:
// Simulation, then Next generation again and again.
std::vector<Counts> mainProgramCounts(int generations) {
    Population pop;
    Source_Aleatoire source;
    std::vector<Counts> counts;
    Init_Var(pop);
    Init_Individu(pop, source);
    Enfant(pop, source, 8, 0);
    Enfant(pop, source, 6, 8);
    Enfant(pop, source, 4, 14);
    Enfant(pop, source, 2, 18);
    counts.push_back(census(pop));
    for (int g = 2; g <= generations; ++g) {
        Shuffle(pop, source);
        Promotion(pop);
        Init_Var(pop);
        Enfant(pop, source, 8, 0);
        Enfant(pop, source, 6, 8);
        Enfant(pop, source, 4, 14);
        Enfant(pop, source, 2, 18);
        counts.push_back(census(pop));
    }
    return counts;
}

TEST(ExperimentTest, ClassOneOfTheDefaultSeedIsTheMainProgram) {
    constexpr int kGenerations = 400; // long enough for class 1 to fix and be copied on
    const std::vector<Counts> expected = mainProgramCounts(kGenerations);
    Experiment experiment(3, kDefaultSeed);
    experiment.advanceTo(1);
    for (int g = 2; g <= kGenerations; g += 37) // Simulation, then runs of Next generation
        experiment.advanceTo(g);
    experiment.advanceTo(kGenerations);
    ASSERT_EQ(experiment.generation(), kGenerations);
    EXPECT_EQ(experiment.counts(1, 0), (Counts{10, 10, 10, 10})); // the founders
    for (int g = 1; g <= kGenerations; ++g)
        ASSERT_EQ(experiment.counts(1, g), expected[static_cast<std::size_t>(g - 1)])
            << "generation " << g;
    // The other classes are other runs, not copies of class 1.
    bool differs = false;
    for (int g = 1; g <= kGenerations; ++g)
        differs = differs || experiment.counts(2, g) != experiment.counts(1, g);
    EXPECT_TRUE(differs);
}

TEST(ExperimentTest, ClassSeedsAreDistinctAndStable) {
    EXPECT_EQ(classSeed(kDefaultSeed, 1), kDefaultSeed);
    EXPECT_EQ(classSeed(77, 1), 77u);
    std::vector<std::uint32_t> seeds;
    for (int n = 1; n <= 1000; ++n)
        seeds.push_back(classSeed(12345, n));
    std::sort(seeds.begin(), seeds.end());
    EXPECT_EQ(std::adjacent_find(seeds.begin(), seeds.end()), seeds.end());
    EXPECT_NE(classSeed(1, 2), classSeed(2, 2));
}

void expectSameRecords(const Experiment& a, const Experiment& b) {
    ASSERT_EQ(a.generation(), b.generation());
    for (int c = 1; c <= a.classes(); ++c)
        for (int g = 0; g <= a.generation(); ++g)
            ASSERT_EQ(a.counts(c, g), b.counts(c, g)) << "class " << c << " generation " << g;
}

// Threads, steps and the copying of fixed classes change the schedule of the
// work, never a single count.
TEST(ExperimentTest, RecordsDoNotDependOnThreadsOrOnTheFixedClassShortcut) {
    Experiment oneThread(40, 2024);
    oneThread.setBreedFixedClasses(true);
    oneThread.advanceTo(300, {nullptr, {}, 1});
    Experiment twoThreads(40, 2024);
    twoThreads.advanceTo(120, {nullptr, {}, 2});
    twoThreads.advanceTo(121, {nullptr, {}, 2});
    twoThreads.advanceTo(300, {nullptr, {}, 2});
    expectSameRecords(oneThread, twoThreads);
}

// Long enough to cross several storage blocks, where the copies of fixed
// classes are written a block at a time.
TEST(ExperimentTest, CopiedFixedClassesMatchBredOnesAcrossStorageBlocks) {
    Experiment copied(10, 6);
    copied.advanceTo(2500);
    Experiment bred(10, 6);
    bred.setBreedFixedClasses(true);
    bred.advanceTo(700);
    bred.advanceTo(2500);
    expectSameRecords(copied, bred);
}

TEST(ExperimentTest, HistoryFillStopsExactlyAtItsBounds) {
    History history(40, 4);
    history.set(999, {1, 2, 3, 34});
    history.fill(1000, 3000, {40, 0, 0, 0});
    history.set(3001, {0, 40, 0, 0});
    EXPECT_EQ(history.at(999), (Counts{1, 2, 3, 34}));
    for (const int g : {1000, 1023, 1024, 2047, 2048, 3000})
        EXPECT_EQ(history.at(g), (Counts{40, 0, 0, 0})) << g;
    EXPECT_EQ(history.at(3001), (Counts{0, 40, 0, 0}));
    EXPECT_EQ(history.bytes(),
              3u * History::kBlockSize * 4u); // blocks 0 to 2 only, a byte per allele
}

TEST(ExperimentTest, LostAllelesNeverReturnAndFixedStaysFixed) {
    Experiment experiment(60, 99);
    experiment.setBreedFixedClasses(true); // really breed the fixed classes too
    experiment.advanceTo(600);
    int losses = 0;
    for (int c = 1; c <= experiment.classes(); ++c) {
        int sum = 0;
        for (const auto n : experiment.counts(c, 0))
            sum += n;
        EXPECT_EQ(sum, kAlleleCopies);
        for (int g = 1; g <= experiment.generation(); ++g) {
            const Counts& before = experiment.counts(c, g - 1);
            const Counts& now = experiment.counts(c, g);
            for (std::size_t k = 0; k < 4; ++k) {
                if (before[k] == 0) {
                    ++losses;
                    ASSERT_EQ(now[k], 0) << "class " << c << " allele " << k + 1 << " at " << g;
                }
                if (before[k] == kAlleleCopies) {
                    ASSERT_EQ(now[k], kAlleleCopies);
                }
            }
        }
    }
    EXPECT_GT(losses, 0); // otherwise the check above checked nothing
}

TEST(ExperimentTest, CancelKeepsTheStepsAlreadyDone) {
    Experiment experiment(1000, 5);
    std::atomic<bool> cancel{false};
    std::vector<int> seen;
    Control control{&cancel, [&](int g, double) {
                        seen.push_back(g);
                        cancel = true; // as if the user clicked right away
                    }};
    const int reached = experiment.advanceTo(5000, control);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(reached, seen.front());
    EXPECT_EQ(experiment.generation(), reached);
    EXPECT_GE(reached, 1);
    EXPECT_LT(reached, 5000);
    // The kept run goes on exactly as an uninterrupted one.
    experiment.advanceTo(reached + 10);
    Experiment straight(1000, 5);
    straight.advanceTo(reached + 10);
    expectSameRecords(experiment, straight);
}

TEST(ExperimentTest, FixationRunEndsWhereTheLastClassFixes) {
    Experiment experiment(25, 31);
    const int end = experiment.advanceUntilFixation();
    ASSERT_TRUE(experiment.allFixed());
    int last = 0;
    for (int c = 1; c <= experiment.classes(); ++c) {
        int first = -1;
        for (int g = 0; g <= end && first < 0; ++g)
            if (isFixed(experiment.counts(c, g)))
                first = g;
        ASSERT_GE(first, 1) << "class " << c << " not fixed by generation " << end;
        last = std::max(last, first);
    }
    EXPECT_EQ(end, last);
    // Once every class is fixed there is nothing left to do, and a further
    // generation simply repeats the fixed counts.
    EXPECT_EQ(experiment.advanceUntilFixation(), end);
    experiment.advanceTo(end + 1);
    for (int c = 1; c <= experiment.classes(); ++c)
        EXPECT_EQ(experiment.counts(c, end + 1), experiment.counts(c, end));
}

TEST(ExperimentTest, RefusesGenerationsOutsideTheCounterAndBadClassCounts) {
    EXPECT_THROW(Experiment(0, 1), std::out_of_range);
    EXPECT_THROW(Experiment(1001, 1), std::out_of_range);
    Experiment experiment(2, 1);
    EXPECT_THROW(experiment.advanceTo(0), std::out_of_range);
    EXPECT_THROW(experiment.advanceTo(kMaxGeneration + 1), std::out_of_range);
    experiment.advanceTo(10);
    EXPECT_THROW(experiment.advanceTo(9), std::out_of_range); // no going back
    EXPECT_EQ(experiment.advanceTo(10), 10);
}

TEST(ExperimentTest, TheLastGenerationOfTheCounterIsReachedAndStoredCompactly) {
    Experiment experiment(2, 8);
    EXPECT_EQ(experiment.advanceTo(kMaxGeneration), kMaxGeneration);
    // Four bytes per class and generation, and the genotype census's sixteen
    // per generation whatever the classes, in whole blocks.
    EXPECT_LT(experiment.bytes(), (2u * 4u + 16u) * (kMaxGeneration + 1) + 64u * 1024u);
    EXPECT_EQ(experiment.counts(2, kMaxGeneration), experiment.counts(2, kMaxGeneration - 1));
}

} // namespace
} // namespace bocavo::labo

// The run both lab front ends hold: what each command does to the run, what
// it says when it ends, which commands it offers, and that work done in
// slices (the page's worker) gives the numbers of work done at once (the
// window's thread).
#include "core/lab/run/lab_run.h"
#include "core/lab/view/run_status.h"

#include <array>
#include <gtest/gtest.h>

namespace bocavo::labo {
namespace {

Scenario small(int generations, bool compare = false) {
    Scenario plan;
    plan.classes = 6;
    plan.generations = generations;
    plan.seed = 77;
    if (compare) {
        plan.b = plan.a;
        plan.b->individuals = 40;
        plan.b->urn = {20, 20, 20, 20};
    }
    return plan;
}

// Large enough that the core publishes its generations in several steps (of 32).
Scenario large(int generations) {
    Scenario plan = small(generations, true);
    plan.classes = 20;
    for (Settings* s : {&plan.a, &*plan.b}) {
        s->individuals = 1000;
        s->urn = {500, 500, 500, 500};
    }
    return plan;
}

// Works the command under way to its end at once.
void workAll(LabRun& run) {
    const std::atomic<bool> never{false};
    ASSERT_TRUE(run.work(never, nullptr, 1));
    run.end(false);
}

void command(LabRun& run, LabCommand which, const Scenario& plan) {
    const auto begun = run.begin(which, plan);
    ASSERT_TRUE(begun) << begun.reason();
    if (begun->work)
        workAll(run);
}

TEST(LabRunTest, EachCommandContinuesOrReplacesTheRunAndSaysWhereItStands) {
    LabRun run;
    EXPECT_EQ(run.status(), kNoRunYet);
    EXPECT_EQ(run.runLabel(), kNoRunYet);
    const auto early = run.begin(LabCommand::NextGeneration, {});
    ASSERT_FALSE(early);
    EXPECT_EQ(early.reason(), kNoGenerationYet);

    const auto first = run.begin(LabCommand::Launch, small(10, true));
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->replaced);
    EXPECT_TRUE(first->work);
    // While it runs every other command waits, and says so.
    EXPECT_EQ(run.begin(LabCommand::NextGeneration, {}).reason(), kWaitRefusal);
    EXPECT_EQ(run.reset().reason(), kWaitRefusal);
    workAll(run);
    EXPECT_EQ(run.status(), reachedText(10, 6, 2));
    EXPECT_EQ(run.generations(), (std::vector<int>{10, 10}));
    EXPECT_TRUE(run.runLabel().starts_with("6 classes par jeu, graine 77 : génération 10 ("))
        << run.runLabel();

    // The same scenario further on continues the run; fewer generations than
    // reached, or other parameters, start a new one.
    const auto further = run.begin(LabCommand::Launch, small(15, true));
    ASSERT_TRUE(further);
    EXPECT_FALSE(further->replaced);
    workAll(run);
    EXPECT_EQ(run.statistics(1).generation(), 15);
    command(run, LabCommand::NextGeneration, {});
    EXPECT_EQ(run.status(), steppedText({16, 16}));
    const auto shorter = run.begin(LabCommand::Launch, small(12, true));
    ASSERT_TRUE(shorter);
    EXPECT_TRUE(shorter->replaced);
    workAll(run);
    EXPECT_EQ(run.generations(), (std::vector<int>{12, 12}));
    const auto alone = run.begin(LabCommand::Launch, small(12));
    ASSERT_TRUE(alone);
    EXPECT_TRUE(alone->replaced);
    workAll(run);
    EXPECT_EQ(run.sets(), 1);

    // Until fixation, then again: nothing left to do, said at once.
    command(run, LabCommand::UntilFixation, small(12));
    const int fixedAt = run.generations().front();
    EXPECT_GT(fixedAt, 12);
    EXPECT_EQ(run.status(), fixationText({fixedAt}, true));
    const auto again = run.begin(LabCommand::UntilFixation, small(12));
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->work);
    EXPECT_FALSE(run.busy());
    EXPECT_EQ(run.status(), alreadyFixedText({fixedAt}));

    ASSERT_TRUE(run.reset());
    EXPECT_EQ(run.sets(), 0);
    EXPECT_EQ(run.status(), kRunErased);
    EXPECT_EQ(run.runLabel(), kNoRunYet);
}

TEST(LabRunTest, WorkInSlicesGivesTheNumbersOfWorkAtOnceAndItsBarNeverFallsBack) {
    const Scenario plan = large(96);
    LabRun whole;
    command(whole, LabCommand::Launch, plan);

    LabRun sliced;
    ASSERT_TRUE(sliced.begin(LabCommand::Launch, plan));
    double last = 0.0;
    int slices = 0;
    for (bool done = false; !done; ++slices) {
        // Stops after every step, as a worker's slice ends at its deadline.
        std::atomic<bool> pause{false};
        done = sliced.work(
            pause,
            [&](double share) {
                EXPECT_GE(share, last);
                last = share;
                pause = true;
            },
            1);
        sliced.publish();
    }
    sliced.end(false);
    EXPECT_GE(slices, 6); // three steps per set
    EXPECT_DOUBLE_EQ(last, 1.0);
    EXPECT_EQ(sliced.status(), whole.status());
    for (int set = 0; set < 2; ++set)
        for (int c = 1; c <= plan.classes; ++c)
            EXPECT_EQ(sliced.experiment(set)->counts(c, 96), whole.experiment(set)->counts(c, 96))
                << "set " << set << ", class " << c;
}

TEST(LabRunTest, ACancelKeepsWholeGenerationsAndTheNextCommandGoesOn) {
    LabRun run;
    ASSERT_TRUE(run.begin(LabCommand::Launch, large(60)));
    std::atomic<bool> stop{false};
    // Set A done, set B stopped at its first step.
    EXPECT_FALSE(run.work(
        stop, [&](double share) { stop = share > 0.5; }, 1));
    run.end(true);
    const auto kept = run.generations();
    EXPECT_EQ(kept.front(), 60);
    EXPECT_LT(kept.back(), 60);
    EXPECT_EQ(run.status(), cancelledText(kept));
    EXPECT_EQ(run.statistics(1).generation(), kept.back()); // published when it ended
    // « Génération suivante » brings set B level with A, one further.
    command(run, LabCommand::NextGeneration, {});
    EXPECT_EQ(run.generations(), (std::vector<int>{61, 61}));
}

TEST(LabRunTest, CommandsFollowTheRunTheFieldsAndAnyOtherTask) {
    struct Case {
        const char* name;
        bool started, working, otherTask, fieldsRead;
        LabCommands expected; // launch, next, reset, cancel, edit, exports
    };
    const Case cases[] = {
        {"no run", false, false, false, true, {true, false, false, false, true, false}},
        {"no run, a field refused",
         false,
         false,
         false,
         false,
         {false, false, false, false, true, false}},
        {"a run", true, false, false, true, {true, true, true, false, true, true}},
        {"a run, a file being written",
         true,
         false,
         true,
         true,
         {false, false, false, true, false, false}},
        {"a command under way", true, true, false, true, {false, false, false, true, false, false}},
    };
    for (const Case& c : cases) {
        LabRun run;
        if (c.started)
            command(run, LabCommand::Launch, small(3));
        if (c.working) {
            ASSERT_TRUE(run.begin(LabCommand::NextGeneration, {}));
        }
        const LabCommands can = run.commands(c.otherTask, c.fieldsRead);
        const LabCommands& e = c.expected;
        EXPECT_EQ((std::array{can.launch, can.nextGeneration, can.reset, can.cancel, can.edit,
                              can.exports}),
                  (std::array{e.launch, e.nextGeneration, e.reset, e.cancel, e.edit, e.exports}))
            << c.name;
    }
}

} // namespace
} // namespace bocavo::labo

// A cancel takes effect within one class's generation, and whenever it comes
// it changes no number: the run keeps whole generations of every class, and
// going on gives what a run never stopped gives.
#include "core/lab/science/experiment.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace bocavo::labo {
namespace {

using Clock = std::chrono::steady_clock;

Settings idealWithMutation() {
    Settings s;
    s.individuals = 1000;
    s.model = Model::WrightFisher;
    s.urn = {500, 500, 500, 500};
    s.mutation = 0.001;
    return s;
}

Settings linkedWithSelection() {
    Settings s;
    s.individuals = 500;
    s.alleles = 2;
    s.urn = {200, 800, 0, 0};
    s.fitness = {110, 100, 100, 100};
    s.migration = 0.05;
    return s;
}

// Cancels arrive at random moments (seeded delays of 0 to 2 ms) while the
// run is resumed again and again; the moments differ from one test run to
// the next, the numbers may not.
TEST(CancelTest, ACancelAtAnyMomentChangesNoNumber) {
    struct Case {
        const char* name;
        Settings settings;
        int classes;
        int generations;
    };
    const Case cases[] = {
        {"classroom protocol", Settings{}, 400, 1000},
        {"ideal model with mutation", idealWithMutation(), 30, 80},
        {"linked by migration", linkedWithSelection(), 24, 80},
    };
    std::mt19937 delays(20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Experiment straight(c.settings, c.classes, 77);
        straight.advanceTo(c.generations);
        // Fixed classes bred rather than copied: work enough for many cancels.
        Experiment stopped(c.settings, c.classes, 77);
        stopped.setBreedFixedClasses(true);
        int cancels = 0;
        while (stopped.generation() < c.generations) {
            std::atomic<bool> cancel{false};
            std::jthread canceller([&cancel, delay = delays() % 2000] {
                std::this_thread::sleep_for(std::chrono::microseconds(delay));
                cancel = true;
            });
            stopped.advanceTo(c.generations, {&cancel, {}, 2});
            canceller.join();
            cancels += stopped.generation() < c.generations;
            ASSERT_LE(stopped.generation(), c.generations);
            // Every class has every generation shown, and it is the straight run's.
            for (int n = 1; n <= c.classes; ++n)
                for (int g = 0; g <= stopped.generation(); ++g)
                    ASSERT_EQ(stopped.counts(n, g), straight.counts(n, g))
                        << "class " << n << ", generation " << g;
        }
        EXPECT_GT(cancels, 2) << "the cancels all came too late to test anything";
    }
}

// The old rule looked at a cancel between whole steps, that is after every
// class had finished its generation. The limit is relative to the time of one
// generation measured on the spot, so that a slow machine or a sanitizer build
// moves both together: looked at class by class, the cancel takes about
// 1/200 of it.
TEST(CancelTest, ACancelIsLookedAtWithinAGenerationAtTenThousandIndividuals) {
    Settings s;
    s.individuals = 10'000;
    s.urn = {5000, 5000, 5000, 5000};
    s.fitness = {105, 100, 100, 100};
    s.mutation = 0.0001;
    Settings linked = s;
    linked.migration = 0.01;
    for (const Settings& settings : {s, linked}) {
        SCOPED_TRACE(settings.migration > 0 ? "linked" : "independent");
        Experiment experiment(settings, 200, 5);
        experiment.advanceTo(1, {nullptr, {}, 1});
        const auto before = Clock::now();
        experiment.advanceTo(2, {nullptr, {}, 1});
        const auto generation = Clock::now() - before;
        std::atomic<bool> cancel{false};
        Clock::time_point pressed;
        std::jthread canceller([&] {
            std::this_thread::sleep_for(generation / 10);
            pressed = Clock::now();
            cancel = true;
        });
        experiment.advanceTo(kMaxGeneration, {&cancel, {}, 1});
        const auto stopped = Clock::now();
        canceller.join();
        EXPECT_EQ(experiment.generation(), 2); // the third generation was not finished
        EXPECT_LT(stopped - pressed, generation / 2)
            << "one generation took "
            << std::chrono::duration_cast<std::chrono::milliseconds>(generation).count() << " ms";
    }
}

} // namespace
} // namespace bocavo::labo

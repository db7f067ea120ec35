// Many classes side by side: each class is one run of one parameter set on its
// own population and its own random source, and every generation of every
// class is recorded from generation 0 (the founders). With the classroom
// protocol's settings each class runs the main program's own procedure; other
// settings run the generalised one (deme.h). Classes are independent unless
// migration links them, and even then nothing depends on the threads.
#pragma once

#include "core/lab/science/deme.h"
#include "core/lab/science/genotype_census.h"
#include "core/lab/science/history.h"
#include "core/lab/science/settings.h"
#include "engine/population.h"
#include "engine/random_source.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace bocavo::labo {

// With this seed class 1 starts from the main program's own fixed state, so it
// shows what a freshly started main program shows.
inline constexpr std::uint32_t kDefaultSeed = Source_Aleatoire::kFixedSeed;

bool isFixed(const Counts& counts);              // one allele holds every copy
bool hasLoss(const Counts& counts, int alleles); // one of alleles 1..K is gone

// How a long advance is watched and stopped; both are read on the calling thread.
struct Control {
    // Looked at before each class's generation, so that a stop takes effect
    // within one class's breeding (well under 100 ms even at N = 10 000).
    const std::atomic<bool>* cancel = nullptr;
    // After each published step: the generation reached and the share done (0..1).
    std::function<void(int generation, double done)> progress;
    int threads = 0; // 0: one per core
};

class Experiment {
public:
    // Throws std::invalid_argument with checkSettings's reason for an unsound set.
    Experiment(const Settings& settings, int classes, std::uint32_t seed);
    // The classroom protocol.
    Experiment(int classes, std::uint32_t seed) : Experiment(Settings{}, classes, seed) {}

    const Settings& settings() const { return settings_; }
    int classes() const { return static_cast<int>(runs_.size()); }
    std::uint32_t seed() const { return seed_; }

    // The last generation every class has recorded, -1 before the founding.
    // Safe to call from any thread while an advance runs, and so are counts()
    // and fixedAt() for generations up to this one.
    int generation() const { return published_.load(std::memory_order_acquire); }
    Counts counts(int classNumber, int g) const;
    // The record of one class, for readers of many generations at once (same rules).
    const History& history(int classNumber) const {
        return runs_[static_cast<std::size_t>(classNumber - 1)].history;
    }
    // The homozygotes of each generation published, summed over the classes.
    const GenotypeCensus& genotypes() const { return census_; }
    // No mutation or migration: a class that fixed an allele keeps it for ever.
    bool fixationIsFinal() const { return absorbing_; }

    // Advances every class to `target` (1..kMaxGeneration, not below the
    // current generation). Stops early when cancelled: generation() is then
    // the last one every class has finished, and the classes that went further
    // keep what they bred, so that going on gives the same numbers as a run
    // never stopped. Returns the generation reached.
    int advanceTo(int target, const Control& control = {});
    // Advances until every class has had one allele left, or to kMaxGeneration;
    // ends at the first generation where the last class fixes.
    int advanceUntilFixation(const Control& control = {});

    // Every class has one allele left or has died out, by generation(); not
    // while an advance runs.
    bool allFixed() const;
    // A class dies out when none of its couples can give a child that
    // survives (a lethal genotype): its later generations have no copies.
    // The first generation without children, −1 while it lives; not while
    // an advance runs.
    int extinctAt(int classNumber) const {
        return runs_[static_cast<std::size_t>(classNumber - 1)].extinctAt;
    }
    int extinctClasses() const; // by generation(); not while an advance runs
    std::size_t bytes() const;

    // Without mutation or migration a fixed class keeps its counts for ever (no
    // draw can bring a lost allele back), so by default its later generations
    // are copied instead of bred. Tests turn the shortcut off to prove that it
    // changes nothing.
    void setBreedFixedClasses(bool breed) { breedFixed_ = breed; }

private:
    // A cache line of its own at each end, so two threads never share one.
    struct alignas(64) ClassRun {
        Population pop; // the classroom protocol's, run by the engine
        Deme deme;      // any other set's
        Source_Aleatoire source;
        History history;
        int fixedAt = -1;   // first generation with one allele left
        int extinctAt = -1; // first generation without children
        int reached = -1;   // last generation recorded, ahead of the published one after a cancel
    };

    int advance(int target, bool untilFixation, const Control& control);
    int lowestReached() const;
    void runStep(int to, int threads, const std::atomic<bool>* cancel);
    void runLinkedStep(int to, int threads, const std::atomic<bool>* cancel);
    void advanceClass(ClassRun& run, int to, const std::atomic<bool>* cancel);
    static void record(ClassRun& run, int g, const Counts& counts);

    Settings settings_;
    Plan plan_;      // the generalised procedure's tables, unused by the engine's
    bool engine_;    // the classroom protocol: the main program's own procedure
    bool absorbing_; // a fixed class stays fixed (no mutation, no migration)
    std::uint32_t seed_;
    std::vector<ClassRun> runs_;
    std::atomic<int> published_{-1};
    GenotypeCensus census_;
    bool breedFixed_ = false;
};

} // namespace bocavo::labo

// What a run will cost before it starts: processor time from a quick
// calibration of the set on this machine, and the memory its records take.
// The window asks before a costly run; the command line says it.
#pragma once

#include "core/lab/files/scenario.h"

#include <cstdint>
#include <string>

namespace bocavo::labo {

// Above either, the window asks to confirm and the command line warns.
inline constexpr double kCostlySeconds = 60.0;               // seconds of processor time
inline constexpr std::uint64_t kCostlyBytes = 1'000'000'000; // bytes of memory

struct RunCost {
    double seconds = 0.0;    // processor time, all threads together
    std::uint64_t bytes = 0; // records and breeding tables of every class
    int generations = 0;     // the furthest generation counted
    // « Jusqu'à fixation »: from the expected time to fixation, or, where
    // mutation or migration may keep it from coming, the counter's cap.
    bool untilFixation = false;
    bool capped = false;

    bool costly() const { return seconds > kCostlySeconds || bytes > kCostlyBytes; }
};

// Processor seconds of one class's generation of this set, measured now on a
// class of its own (about 5 ms of work).
double secondsPerClassGeneration(const Settings& settings);

// Mean generations until one allele is left in a class, neutral and without
// mutation or migration: −4Ne Σ (1 − p) ln(1 − p) over the starting
// frequencies p (Littler 1975; Kimura and Ohta 1969 for two alleles).
double expectedFixationTime(const Settings& settings);

// The cost of running one set's classes from the start: to `generations`, or
// until fixation. Fixed classes are copied, not bred, when nothing can undo
// fixation, so only the generations until fixation are counted for them.
RunCost estimateSet(const Settings& set, int classes, int generations, bool untilFixation);
// Every set of `plan` (A, and B when comparing).
RunCost estimateRun(const Scenario& plan, bool untilFixation);

// "environ 3 h 20 min de calcul (temps processeur) et 262 Mo de mémoire pour
// 32 767 générations", saying how the generations were counted.
std::string costText(const RunCost& cost);

// 131 Mo, 3,3 Go: the one way the laboratory writes a size.
std::string bytesText(std::uint64_t bytes);

} // namespace bocavo::labo

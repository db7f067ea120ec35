// The laboratory's largest everyday run: 1 000 classes for 1 000 generations,
// every generation recorded, on all the machine's cores.
#include "model/experiment.h"

#include <benchmark/benchmark.h>

namespace {

using bocavo::labo::Control;
using bocavo::labo::Experiment;

// range(0): worker threads (0 = one per core); range(1): 1 to breed the fixed
// classes too, that is to run the engine for every one of the 10^6
// class-generations instead of copying the counts of the classes already fixed.
void BM_ThousandClassesThousandGenerations(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        Experiment experiment(1000, bocavo::labo::kDefaultSeed);
        experiment.setBreedFixedClasses(state.range(1) != 0);
        experiment.advanceTo(1000, Control{nullptr, {}, threads});
        bytes = experiment.bytes();
        benchmark::DoNotOptimize(experiment.counts(1000, 1000));
    }
    state.counters["memoire_Mo"] = static_cast<double>(bytes) / 1e6;
    state.counters["classe_generations_par_s"] =
        benchmark::Counter(1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ThousandClassesThousandGenerations)
    ->ArgNames({"threads", "breedFixed"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

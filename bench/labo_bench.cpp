// The laboratory's largest everyday runs, every generation recorded, on all
// the machine's cores: the classroom's 1 000 classes for 1 000 generations,
// and 100 classes of 1 000 individuals under selection, mutation and migration;
// and sizing the CSV file of the largest run the window can hold.
#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "labo/files/csv_writer.h"

#include <benchmark/benchmark.h>

namespace {

using bocavo::labo::Control;
using bocavo::labo::Experiment;
using bocavo::labo::Model;
using bocavo::labo::Settings;

void report(benchmark::State& state, const Experiment& experiment, double classGenerations) {
    state.counters["memoire_Mo"] = static_cast<double>(experiment.bytes()) / 1e6;
    // What one class's generation takes in the record (the counts only).
    state.counters["octets_par_generation"] = static_cast<double>(experiment.settings().alleles) *
                                              (experiment.settings().copies() > 255 ? 2 : 1);
    state.counters["classe_generations_par_s"] =
        benchmark::Counter(classGenerations, benchmark::Counter::kIsIterationInvariantRate);
}

// range(0): worker threads (0 = one per core); range(1): 1 to breed the fixed
// classes too, that is to run the engine for every one of the 10^6
// class-generations instead of copying the counts of the classes already fixed.
void BM_ThousandClassesThousandGenerations(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Experiment experiment(1000, bocavo::labo::kDefaultSeed);
        experiment.setBreedFixedClasses(state.range(1) != 0);
        experiment.advanceTo(1000, Control{nullptr, {}, threads});
        benchmark::DoNotOptimize(experiment.counts(1000, 1000));
        state.PauseTiming();
        report(state, experiment, 1e6);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ThousandClassesThousandGenerations)
    ->ArgNames({"threads", "breedFixed"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// 100 classes of N = 1 000 for 1 000 generations in the protocol or the ideal
// model (range(0)), an allele at 10 % with a 5 % advantage, mutation 10^-3 and
// migration 0.01 linking the classes generation by generation; range(1):
// worker threads (0 = one per core).
void BM_LargeClassesWithEveryForce(benchmark::State& state) {
    Settings s;
    s.individuals = 1000;
    s.model = state.range(0) == 0 ? Model::Protocole : Model::WrightFisher;
    s.alleles = 4;
    s.urn = {200, 600, 600, 600};
    s.fitness = {105, 100, 100, 100};
    s.mutation = 0.001;
    s.migration = 0.01;
    for (auto _ : state) {
        Experiment experiment(s, 100, bocavo::labo::kDefaultSeed);
        experiment.advanceTo(1000, Control{nullptr, {}, static_cast<int>(state.range(1))});
        benchmark::DoNotOptimize(experiment.counts(100, 1000));
        state.PauseTiming();
        report(state, experiment, 1e5);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LargeClassesWithEveryForce)
    ->ArgNames({"wrightFisher", "threads"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The size of the CSV file of sets A and B, 1 000 classes each to generation
// 32 767, for every K the window's dialog may ask (range(0)); the window
// computes it on its own thread, so it must take no noticeable time.
void BM_CsvSizeOfTheLargestRun(benchmark::State& state) {
    Experiment a(1000, bocavo::labo::kDefaultSeed), b(1000, 7);
    a.advanceTo(bocavo::labo::kMaxGeneration);
    b.advanceTo(bocavo::labo::kMaxGeneration);
    bocavo::labo::Statistics sa, sb;
    sa.update(a);
    sb.update(b);
    const int every = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(bocavo::labo::csvBytes({&sa, &sb}, every));
}
BENCHMARK(BM_CsvSizeOfTheLargestRun)
    ->ArgName("every")
    ->Arg(1)
    ->Arg(50)
    ->Unit(benchmark::kMicrosecond);

} // namespace

// How long the model takes for the two commands' engine work, census included.
#include "engine/census.h"
#include "engine/generation.h"

#include <benchmark/benchmark.h>

namespace {

using namespace bocavo;

void BM_FoundingRun(benchmark::State& state) {
    Population pop;
    Source_Aleatoire source;
    for (auto _ : state) {
        foundGeneration(pop, source);
        Count_Allele(pop);
        benchmark::DoNotOptimize(pop);
    }
}
BENCHMARK(BM_FoundingRun);

void BM_NextGeneration(benchmark::State& state) {
    Population pop;
    Source_Aleatoire source;
    foundGeneration(pop, source);
    for (auto _ : state) {
        nextGeneration(pop, source);
        Count_Allele(pop);
        benchmark::DoNotOptimize(pop);
    }
}
BENCHMARK(BM_NextGeneration);

} // namespace

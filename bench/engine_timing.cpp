// How long one Next generation takes, timed by hand with the steady clock:
// Google Benchmark cannot be built for WebAssembly, so this one program runs
// both natively and under node and prints the same figures for each.
//   engine: the engine's work of the command, census included (as
//           engine_bench's BM_NextGeneration measures it);
//   core:   the whole run-control command, texts of the screen included.
// Each figure is the median of 15 batches of 2000 commands, in nanoseconds.
#include "app/core/run_core.h"
#include "engine/census.h"
#include "engine/generation.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

namespace {

using namespace bocavo;
using Clock = std::chrono::steady_clock;

inline constexpr int kBatches = 15;
inline constexpr int kPerBatch = 2000; // well below the 32767 generation limit

// The compiler must not drop work whose result nobody reads.
volatile int sink = 0;

template <typename Prepare, typename Command>
double medianNanoseconds(Prepare prepare, Command command) {
    std::array<double, kBatches> perCommand{};
    for (double& figure : perCommand) {
        prepare();
        const auto start = Clock::now();
        for (int i = 0; i < kPerBatch; ++i)
            command();
        const std::chrono::duration<double, std::nano> spent = Clock::now() - start;
        figure = spent.count() / kPerBatch;
    }
    std::nth_element(perCommand.begin(), perCommand.begin() + kBatches / 2, perCommand.end());
    return perCommand[kBatches / 2];
}

} // namespace

int main() {
    Population pop;
    Source_Aleatoire source;
    const double engine = medianNanoseconds([&] { foundGeneration(pop, source); },
                                            [&] {
                                                nextGeneration(pop, source);
                                                Count_Allele(pop);
                                                sink = sink + pop.Nb_Allele(1);
                                            });

    RunCore core(",");
    const double command = medianNanoseconds([&] { core.simulation(); },
                                             [&] {
                                                 core.nextGeneration();
                                                 sink = sink + core.screen().generation;
                                             });

    std::printf("Next generation, engine: %.0f ns\n", engine);
    std::printf("Next generation, core command: %.0f ns\n", command);
    return 0;
}

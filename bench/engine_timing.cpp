// How long one Next generation takes, timed by hand with the steady clock:
// Google Benchmark cannot be built for WebAssembly, so this one program runs
// both natively and under node and prints the same figures for each.
//   engine: the engine's work of the command, census included (as
//           engine_bench's BM_NextGeneration measures it);
//   core:   the whole run-control command, texts of the screen included.
// Each figure is per command, in nanoseconds, over 31 batches of 2000
// commands: the median batch, and the fastest one, which is what a busy
// machine disturbs least.
#include "core/run/run_core.h"
#include "engine/census.h"
#include "engine/generation.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

namespace {

using namespace bocavo;
using Clock = std::chrono::steady_clock;

inline constexpr int kBatches = 31;
inline constexpr int kPerBatch = 2000; // well below the 32767 generation limit

// The compiler must not drop work whose result nobody reads.
volatile int sink = 0;

struct Figures {
    double median;  // ns per command
    double fastest; // ns per command
};

template <typename Prepare, typename Command> Figures time(Prepare prepare, Command command) {
    std::array<double, kBatches> perCommand{};
    for (double& figure : perCommand) {
        prepare();
        const auto start = Clock::now();
        for (int i = 0; i < kPerBatch; ++i)
            command();
        const std::chrono::duration<double, std::nano> spent = Clock::now() - start;
        figure = spent.count() / kPerBatch;
    }
    std::sort(perCommand.begin(), perCommand.end());
    return {perCommand[kBatches / 2], perCommand.front()};
}

void print(const char* what, const Figures& figures) {
    std::printf("Next generation, %s: median %.0f ns, fastest %.0f ns\n", what, figures.median,
                figures.fastest);
}

// One command each, kept out of line: a browser's engine compiles a
// WebAssembly function fully only once it has been called often, so the
// command must be a function of its own, called once per command, as the
// page calls the core once per click.
[[gnu::noinline]] void engineCommand(Population& pop, Source_Aleatoire& source) {
    nextGeneration(pop, source);
    Count_Allele(pop);
    sink = sink + pop.Nb_Allele(1);
}

[[gnu::noinline]] void coreCommand(RunCore& core) {
    core.nextGeneration();
    sink = sink + core.screen().generation;
}

} // namespace

int main() {
    Population pop;
    Source_Aleatoire source;
    const Figures engine =
        time([&] { foundGeneration(pop, source); }, [&] { engineCommand(pop, source); });

    RunCore core(",");
    const Figures command = time([&] { core.simulation(); }, [&] { coreCommand(core); });

    print("engine", engine);
    print("core command", command);
    return 0;
}

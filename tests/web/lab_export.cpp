// The lab window's CSV export of a scenario, as its runner makes it (set A
// from the scenario's seed, set B from secondSeed, each to the scenario's
// generations or until fixation), for the lab page's tests to compare bytes:
//   lab_export SCENARIO CSV [launch|fixation] [EVERY]
// The command line runs set A only; this is what the window writes for both.
#include "labo/files/csv_writer.h"
#include "labo/files/scenario_file.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace bocavo::labo;
    if (argc < 3) {
        std::cerr << "usage: lab_export SCENARIO CSV [launch|fixation] [EVERY]\n";
        return 2;
    }
    const auto read = loadScenario(argv[1]);
    if (!read) {
        std::cerr << read.reason() << "\n";
        return 2;
    }
    const Scenario& plan = *read;
    const bool untilFixation = argc > 3 && std::string(argv[3]) == "fixation";
    const int every = argc > 4 ? std::stoi(argv[4]) : 1;
    std::vector<std::unique_ptr<Experiment>> runs;
    Sets sets;
    for (const Settings* settings : {&plan.a, plan.b ? &*plan.b : nullptr}) {
        if (!settings)
            continue;
        runs.push_back(std::make_unique<Experiment>(
            *settings, plan.classes, runs.empty() ? plan.seed : secondSeed(plan.seed)));
        if (untilFixation)
            runs.back()->advanceUntilFixation();
        else
            runs.back()->advanceTo(plan.generations);
        sets.push_back(runs.back().get());
    }
    // The scenario beside the file, as the window writes it: the run as far as it went.
    Scenario written = plan;
    written.generations = std::max(1, sets.front()->generation());
    const CsvOutcome outcome = exportCsv(sets, written, argv[2], every);
    if (!outcome.written) {
        std::cerr << outcome.error << "\n";
        return 1;
    }
    return 0;
}

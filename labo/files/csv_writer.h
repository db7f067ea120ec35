// The recorded counts written to a CSV file (csv_format.h), safely, with the
// scenario that reproduces them beside it.
#pragma once

#include "core/lab/files/csv_format.h"
#include "core/lab/files/scenario.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace bocavo::labo {

struct CsvOutcome {
    bool written = false;
    bool cancelled = false;
    std::string error; // French, for the user, when neither written nor cancelled
    std::uint64_t rows = 0;
    bool standardOutput = false;    // the rows went to the standard output
    bool outputClosed = false;      // and its reader went away (`| head`)
    bool inPlace = false;           // written in place: a descriptor, a device, a pipe
    std::filesystem::path scenario; // the scenario beside the file, if exportCsv wrote or kept one
    bool scenarioKept = false;      // it was there already and reproduces the file
    // A file at the scenario's own name that says something else, kept as it
    // is: the scenario went under another name.
    std::filesystem::path scenarioLeft;
    // French, when the file is written but its scenario is not: why, and
    // what became of an earlier scenario beside it.
    std::string warning;
};

// Writes through FileOutput, so that a failed or cancelled export never
// leaves a truncated file nor spoils an older one. `path` is as the user typed
// it ("-" for the standard output). `control.progress` gets the share of
// classes written.
CsvOutcome writeCsv(const Sets& sets, const std::string& path, int every,
                    const Control& control = {});

// writeCsv, then the scenario that reproduces the file beside it, unless the
// file is written in place (FileOutput::isStream): "derive.csv" gets
// "derive.scenario". A scenario already there that reproduces it is kept as
// it is; one this program wrote beside an earlier file is replaced; any other
// file of that name (a teacher's scenario) is kept, and the scenario goes
// under the first free name "derive-2.scenario"... (scenarioLeft). Another
// export to the same folder waits while the pair is put in place, so the two
// files always come from one run. A scenario that cannot be written leaves
// the CSV written, with a warning.
CsvOutcome exportCsv(const Sets& sets, const Scenario& scenario, const std::filesystem::path& path,
                     int every, const Control& control = {});

} // namespace bocavo::labo

// The recorded counts as a CSV file in long format: one row per class,
// generation and allele (1..K), UTF-8, comma-separated, '.' as decimal point.
// A comparison run writes set A's classes then set B's, numbered on.
#pragma once

#include "labo/model/experiment.h"
#include "labo/model/scenario.h"
#include "labo/model/statistics.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace bocavo::labo {

inline constexpr char kCsvHeader[] = "classe,génération,allèle,effectif,fréquence\n";

// Files above this size are announced before they are written.
inline constexpr std::uint64_t kLargeCsvBytes = 100'000'000;

// An allele's share of the 2N copies in percent, no trailing zeros. For 40
// copies it is the main program's value (a multiple of 2.5): "0", "2.5", ...,
// "100"; otherwise rounded to four decimals: "33.3333".
std::string frequencyText(int count, int copies);

// The experiments written to one file, in order (set A, then set B if any).
using Sets = std::vector<const Experiment*>;

// Bytes of "effectif,fréquence\n" for each count 0..copies of a generation.
std::vector<std::uint8_t> fieldLengths(int copies);

// The generation a file keeps after g of 0..last, keeping one in `every`:
// 0, every, 2·every, ..., and the last one itself, whatever the step.
inline int nextKept(int g, int every, int last) {
    return g < last && g + every > last ? last : g + every;
}

// The exact size of the file of these sets (their statistics, in the file's
// order, taken in to the last generation) keeping one generation in `every`
// (nextKept). Arithmetic on the bytes the statistics counted:
// no count is read, so it is instant even for the largest runs.
std::uint64_t csvBytes(const std::vector<const Statistics*>& sets, int every);

// The smallest K that brings the file to at most `limit` bytes (kMaxEvery at worst).
int everyWithin(const std::vector<const Statistics*>& sets, std::uint64_t limit);

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

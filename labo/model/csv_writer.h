// The recorded counts as a CSV file in long format: one row per class,
// generation and allele, UTF-8, comma-separated, '.' as decimal point.
#pragma once

#include "experiment.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace bocavo::labo {

inline constexpr char kCsvHeader[] = "classe,génération,allèle,effectif,fréquence\n";

// Files above this size are announced before they are written.
inline constexpr std::uint64_t kLargeCsvBytes = 100'000'000;

// An allele's share of the 40 copies in percent, written as the main program
// computes it (a multiple of 2.5, no trailing zeros): "0", "2.5", ..., "100".
std::string frequencyText(int count);

// Which rows a file of the published generations holds when only every
// `every`-th generation is kept (0, every, 2·every, ...), and its exact size.
struct CsvPlan {
    int every = 1;
    std::uint64_t rows = 0;
    std::uint64_t bytes = 0;
};
CsvPlan planCsv(const Experiment& experiment, int every);

// The smallest K that brings the file to at most `limit` bytes (kMaxEvery at
// worst), given the size of the whole file.
int everyWithin(const Experiment& experiment, std::uint64_t wholeBytes, std::uint64_t limit);

struct CsvOutcome {
    bool written = false;
    bool cancelled = false;
    std::string error; // French, for the user, when neither written nor cancelled
    std::uint64_t rows = 0;
};

// Writes through a temporary file beside the target, so that a failed or
// cancelled export never leaves a truncated file nor spoils an older one.
// `control.progress` gets the share of classes written.
CsvOutcome writeCsv(const Experiment& experiment, const std::filesystem::path& path, int every,
                    const Control& control = {});

} // namespace bocavo::labo

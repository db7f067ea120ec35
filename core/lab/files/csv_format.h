// The lab's CSV file in long format: one row per class, generation and allele
// (1..K), UTF-8, comma-separated, '.' as decimal point. A comparison run writes
// set A's classes then set B's, numbered on. What its bytes are and how many
// there will be; writing them to a file is the files' job.
#pragma once

#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

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

// "effectif,fréquence\n" for each count 0..copies of a generation: the end of its rows.
std::vector<std::string> fieldTexts(int copies);

// Bytes of "effectif,fréquence\n" for each count 0..copies of a generation.
std::vector<std::uint8_t> fieldLengths(int copies);

// The generation a file keeps after g of 0..last, keeping one in `every`:
// 0, every, 2·every, ..., and the last one itself, whatever the step.
inline int nextKept(int g, int every, int last) {
    return g < last && g + every > last ? last : g + every;
}

// The file's bytes class by class, so that a writer hands them on in parts
// of any size: a file on a disk, or a download built in the page.
class CsvRows {
public:
    CsvRows(const Sets& sets, int every);

    // Every set's classes, numbered on in the file's order.
    int classes() const { return classes_; }
    // Appends the rows of class `number` (1..classes()), after the header for
    // the first; returns how many rows.
    std::uint64_t append(int number, std::string& out) const;

private:
    Sets sets_;
    int every_;
    int classes_ = 0;
    // fieldTexts of each set, by a generation's copies: a size history has several.
    std::vector<std::map<int, std::vector<std::string>>> texts_;
};

// What the scenario alone does not say about the CSV file it reproduces, as
// its note: that it was written with it, the generations kept, and a set
// that ended elsewhere (after "Jusqu'à fixation" or a cancel) than
// `generations`.
inline constexpr char kBesideMark[] = "Écrit avec le fichier CSV qu'il reproduit.";
std::string everyNote(std::uint64_t every);
std::string endNote(std::size_t set, std::uint64_t generation);
std::vector<std::string> reproductionNote(const Sets& sets, int generations, int every);

// The exact size of the file of these sets (their statistics, in the file's
// order, taken in to the last generation) keeping one generation in `every`
// (nextKept). Arithmetic on the bytes the statistics counted:
// no count is read, so it is instant even for the largest runs.
std::uint64_t csvBytes(const std::vector<const Statistics*>& sets, int every);

// The smallest K that brings the file to at most `limit` bytes (kMaxEvery at worst).
int everyWithin(const std::vector<const Statistics*>& sets, std::uint64_t limit);

} // namespace bocavo::labo

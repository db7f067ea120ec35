// A size series as a CSV file, like the lab's own (UTF-8, comma-separated,
// '.' as decimal point): one row per size, and its expected figures as the
// command line's « attendu » lines.
#pragma once

#include "core/lab/science/size_series.h"

#include <string>
#include <vector>

namespace bocavo::labo {

inline constexpr char kSeriesCsvHeader[] =
    "individus,classes,classes avec perte,part avec perte,génération médiane de perte,"
    "hétérozygotie,hétérozygotie attendue,part attendue avec perte\n";

// The header and one row per size; a median past the last generation `last`
// is « au-delà de G », a figure theory does not give is left empty.
std::string seriesCsv(const std::vector<SeriesRow>& rows, int last);

// "attendu hétérozygotie à N = 10 : 0.1234\n" and "attendu part avec perte à
// N = 10 : …" for each size whose figure theory gives.
std::string seriesExpectedLines(const std::vector<SeriesRow>& rows);

} // namespace bocavo::labo

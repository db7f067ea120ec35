// A run's parameters in words, one row per parameter and one value per set.
// The workbook's parameters sheet and the printed chart both say them from
// here, so that paper and spreadsheet never disagree about a run.
#pragma once

#include "core/lab/files/csv_format.h"

#include <string>
#include <string_view>
#include <vector>

namespace bocavo::labo {

struct ParameterValue {
    bool number = false; // a decimal text with a '.', else words
    std::string text;    // empty: the set has no such parameter (an allele past its K)
};

struct ParameterRow {
    std::string label;
    std::vector<ParameterValue> values; // one per set, A first
};

// Each set's settings, its classes, its last generation and its seed.
std::vector<ParameterRow> parameterRows(const Sets& sets);

// The same for a page: one line per set ("Jeu A — Individus par classe (N) :
// 20 ; Modèle : … ; Graine : 1993"), numbers with `separator` as their
// decimal sign; the set's letter only when there are two.
std::vector<std::string> parameterLines(const Sets& sets, std::string_view separator);

// A number's text with '.' as the decimal sign given `separator` instead.
std::string withSeparator(std::string number, std::string_view separator);

} // namespace bocavo::labo

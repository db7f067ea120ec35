// The numbers a view of the laboratory draws, as a table a spreadsheet takes:
// a row of headings, then one row per generation on show. The window copies
// it to the clipboard; it only chooses the decimal sign.
#pragma once

#include "core/lab/files/workbook.h"
#include "core/lab/science/statistics.h"

#include <string>
#include <string_view>
#include <vector>

namespace bocavo::labo {

enum class ViewKind { OneClass, AllClasses, Fixation, Heterozygosity, Genotypes };

// One set of the run as a view sees it.
struct ViewSet {
    const Experiment* experiment = nullptr;
    const Statistics* stats = nullptr;
};

// What the view on display shows.
struct ViewChoice {
    ViewKind kind = ViewKind::OneClass;
    int set = 0;         // OneClass, AllClasses: the set shown (0 is A)
    int classNumber = 1; // OneClass
    int allele = 1;      // AllClasses, Fixation
    int first = 0;       // the generations on show
    int last = 0;
};

struct ViewTable {
    std::vector<std::vector<SheetCell>> rows;
    int every = 1; // one generation in `every` kept (nextKept), the last one always
};

// Every generation from first to last, not a sample as the chart draws,
// unless that would make more than kMaxWorkbookCells cells, more than a
// spreadsheet takes in a few seconds: then one in `every`. Frequencies and
// shares of classes in percent, heterozygosity and genotype shares from 0 to
// 1, numbers with a '.' (SheetCell). A set that stopped early leaves its cells
// empty past its last generation. Fixation, heterozygosity and genotypes show
// each set, the others the chosen one.
ViewTable viewTable(const std::vector<ViewSet>& sets, const ViewChoice& choice);

// The table as a paste into a spreadsheet takes it: tabs between cells, a
// line a row, numbers with the reader's decimal sign, so that it lands in
// columns and reads as numbers. The window and the page copy this text.
std::string tableText(const ViewTable& table, std::string_view decimalSign);
// What the program says once it is copied: the rows, and K when one
// generation in K was kept.
std::string tableCopiedText(const ViewTable& table);

} // namespace bocavo::labo

// What a workbook export holds, cell by cell, whatever writes its bytes: the
// parameters, each set's allele frequencies, the summary and its chart. The
// window, the command line and the page all build their workbook here, so
// that one run gives the same cells everywhere; xlsx_format.h only turns these
// cells into a file.
#pragma once

#include "core/lab/files/csv_format.h"
#include "core/lab/files/scenario.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bocavo::labo {

struct SheetCell {
    enum class Kind { Empty, Number, Text, Heading };
    Kind kind = Kind::Empty;
    // A number as its decimal text with a '.' ("22.5", the CSV's own text for
    // a frequency), so that every writer stores the same value; or the text.
    std::string value;
};

// Cells of one column of a sheet, rows first..last (0-based, inclusive).
struct SheetRange {
    std::size_t sheet = 0;
    int column = 0;
    int first = 0;
    int last = 0;
};

struct ChartSeries {
    SheetRange name; // one cell: the column's heading
    SheetRange categories;
    SheetRange values;
    bool dashed = false; // set B's lines
};

struct LineChart {
    std::string title, categoryTitle, valueTitle;
    std::vector<ChartSeries> series;
    int column = 0; // where its top left corner sits, on row 1
};

struct Sheet {
    std::string name;
    std::vector<std::vector<SheetCell>> rows;
    std::optional<LineChart> chart;
    int labelWidth = 12; // of the first column, in characters
};

struct Workbook {
    std::vector<Sheet> sheets;
};

// What the shape of a set alone decides: enough to know a workbook's size
// before the run, on the command line, or before the export, in the window.
struct WorkbookSet {
    int classes = 0;
    int alleles = 0;
    int last = 0; // the last generation recorded
};

// A school computer should open the workbook in a few seconds. Spreadsheets
// read a few hundred thousand number cells a second on a modest PC (an
// estimate: not timed on a school PC), and at this many cells the file is
// 12 to 15 MB (1 000 classes of four alleles, 113 generations kept: 0.6 s to
// write). Above it the export offers one generation in K instead.
inline constexpr std::uint64_t kMaxWorkbookCells = 500'000; // cells

// The frequency and summary cells of these sets, headings included, keeping
// one generation in `every` (nextKept); the parameters sheet's few dozen cells
// are left out.
std::uint64_t workbookCells(const std::vector<WorkbookSet>& sets, int every);
// The smallest K that brings the workbook to at most `limit` cells.
int workbookEvery(const std::vector<WorkbookSet>& sets, std::uint64_t limit);
// The French refusal of a workbook of `cells` cells, offering « une génération
// sur K » (workbookEvery).
std::string workbookTooLarge(const std::vector<WorkbookSet>& sets, int every);

// What the parameters sheet says beside the sets' own settings.
struct WorkbookNote {
    int every = 1;
    std::string date;    // of the export, as the front end writes it
    std::string version; // of the program
};

// The cells of the workbook of these sets (set A, then set B if any), each
// to its last generation; a set that has not reached its founders (cancelled
// before it began) is left out.
Workbook workbookOf(const Sets& sets, const WorkbookNote& note);

} // namespace bocavo::labo

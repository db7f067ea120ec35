// A workbook's cells (workbook.h) as the bytes of an .xlsx file: a zip of
// stored (uncompressed) entries holding the sheets' XML, one style for the
// headings, and the summary's line chart.
//
// Why our own writer rather than Debian's libxlsxwriter: the lab page in the
// browser must give the same cells as the desktop, and libxlsxwriter cannot be
// built there (the page's emscripten has no zlib). The page would then need a
// JavaScript library of its own: the well-kept ones write no native chart
// (SheetJS's free edition, ExcelJS), and they weigh hundreds of kilobytes of
// a site kept under 700 KB. Two writers would also have to be kept giving
// the same cells, by tests, for ever. This one is a few
// hundred lines of standard C++ with no dependency, compiles to WebAssembly as
// it stands, and gives the page the very same bytes. Storing without
// compression costs size, not correctness: every spreadsheet reads stored
// entries, and kMaxWorkbookCells keeps the file near 15 MB at most. A real
// reader (openpyxl) checks every file it writes in the tests.
#pragma once

#include "core/lab/files/workbook.h"

#include <string>

namespace bocavo::labo {

// The whole file. The same workbook always gives the same bytes (the zip's
// dates are fixed), so that two front ends can be compared byte for byte.
std::string xlsxBytes(const Workbook& book);

// "A1", "AB12": a cell's reference (0-based row and column).
std::string cellName(int row, int column);

} // namespace bocavo::labo

// A workbook written to a file the way every export is (FileOutput): an
// older file stays whole until the new one is complete, a device or a pipe is
// written in place, "-" is the standard output.
#pragma once

#include "core/lab/files/workbook.h"
#include "labo/files/csv_writer.h"

#include <atomic>
#include <string>

namespace bocavo::labo {

struct WorkbookOutcome {
    std::string error;           // French, for the user; empty when written
    bool cancelled = false;      // a pipe's reader was still awaited when `cancel` came
    bool standardOutput = false; // the bytes went to the standard output
};

// The workbook of these sets (workbookOf) as the .xlsx file `path`, as the user typed it.
WorkbookOutcome exportWorkbook(const Sets& sets, const std::string& path, const WorkbookNote& note,
                               const std::atomic<bool>* cancel = nullptr);

// Now, in local time, as the parameters sheet gives the export's date: "2026-12-07 16:35".
std::string exportDate();

} // namespace bocavo::labo

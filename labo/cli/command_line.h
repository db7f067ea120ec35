// bocavo-labo without a window: run the classes and write the CSV file, for
// batch use and for tests. Nothing here needs a display or Qt.
#pragma once

#include "core/lab/files/scenario.h"
#include "core/text/result.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace bocavo::labo {

// As a shell reports a process ended by SIGPIPE: 128 + 13.
inline constexpr int kExitOutputClosed = 141;

// The run to make: set A of the scenario (set B is for the window only).
// --scenario supplies every parameter; options given after it override the file.
struct CommandLine {
    bool help = false;
    bool version = false;
    Scenario scenario; // classes, generations, seed and set A
    std::string csv;
    std::string xlsx; // the workbook, if asked for
    int every = 1;
    std::vector<int> series; // --serie: the sizes, smallest first; empty: one run of set A
};

// The arguments after the program's name, or why they are refused.
Result<CommandLine> parseCommandLine(const std::vector<std::string>& args);

// True when the arguments ask for the command-line mode rather than the window:
// any argument at all, so that a stray one is refused instead of ignored.
bool wantsCommandLine(const std::vector<std::string>& args);

std::string usageText();

// The whole command-line mode; returns the process's exit status:
// 0 done (a scenario that could not be written beside the file is a warning),
// 1 the file could not be written or the run did not fit in memory, 2 bad
// arguments, kExitOutputClosed the standard output's reader went away. With
// `progress`, a line that rewrites itself ("\r") follows a long run there.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   std::ostream* progress = nullptr);

} // namespace bocavo::labo

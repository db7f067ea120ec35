// bocavo-labo without a window: run the classes and write the CSV file, for
// batch use and for tests. Nothing here needs a display or Qt.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace bocavo::labo {

struct CommandLine {
    bool help = false;
    int classes = 0;
    int generations = 0;
    std::uint32_t seed = 0;
    std::string csv;
    int every = 1;
};

struct ParsedCommandLine {
    CommandLine options;
    std::string error; // French; empty when the arguments are sound
};

// The arguments after the program's name.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);

// True when the arguments ask for the command-line mode rather than the window.
bool wantsCommandLine(const std::vector<std::string>& args);

std::string usageText();

// The whole command-line mode; returns the process's exit status:
// 0 done, 1 the file could not be written, 2 bad arguments.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace bocavo::labo

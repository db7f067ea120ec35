// The command-line mode as a whole process: an interruption removes the file
// being written, progress shows on a terminal, and output that could not be
// written makes the run fail.
#pragma once

#include <string>
#include <vector>

namespace bocavo::labo {

// The arguments after the program's name; returns the exit status (see
// runCommandLine, and 128 + the signal's number when interrupted).
int runCommandLineProcess(const std::vector<std::string>& args);

} // namespace bocavo::labo

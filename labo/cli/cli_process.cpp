#include "labo/cli/cli_process.h"

#include "labo/cli/command_line.h"
#include "labo/files/file_output.h"
#include "labo/files/pending_files.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace bocavo::labo {
namespace {

inline constexpr int kExitOutputFailed = 1; // as a file that could not be written

// Flushes the standard output and says whether everything reached it.
bool outputWritten(int& error) {
    errno = 0;
    std::cout.flush();
    const bool written = std::cout && std::fflush(stdout) == 0 && !std::ferror(stdout);
    error = errno;
    return written;
}

} // namespace

int runCommandLineProcess(const std::vector<std::string>& args) {
    // Interrupted, the run never leaves a temporary file behind. A reader that
    // goes away is a write error, told apart below: the standard output's
    // (`| head`) ends the run silently, as it does any command-line tool; a
    // named pipe's is said in French.
    removePendingFilesOnSignals();
    std::ostream* progress = isatty(STDERR_FILENO) ? &std::cerr : nullptr;
    int status = runCommandLine(args, std::cout, std::cerr, progress);
    if (int error = 0; status != kExitOutputClosed && !outputWritten(error)) {
        if (error == EPIPE)
            return kExitOutputClosed;
        std::cerr << "bocavo-labo : impossible d'écrire sur la sortie standard : "
                  << writeReason(error) << ".\n";
        if (status == 0)
            status = kExitOutputFailed;
    }
    std::cerr.flush();
    if (!std::cerr && status == 0)
        status = kExitOutputFailed;
    return status;
}

} // namespace bocavo::labo

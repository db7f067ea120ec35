#include "labo/files/scenario_file.h"

#include "labo/files/file_output.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bocavo::labo {

Result<Scenario> loadScenario(const std::filesystem::path& path, std::string* text) {
    const std::string cannot =
        "Impossible de lire le scénario " + quotedPath(path.string()) + " : ";
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return Refusal{cannot + readReason(errno, false) + "."};
    if (!S_ISREG(st.st_mode))
        return Refusal{cannot + "ce n'est pas un fichier ordinaire."};
    // Never waiting: a named pipe put there since the look above opens at once.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Refusal{cannot + readReason(errno, true) + "."};
    std::string bytes(kMaxScenarioBytes + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            close(fd);
            return Refusal{cannot + readReason(error, true) + "."};
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    close(fd);
    bytes.resize(got);
    if (text)
        *text = bytes;
    return parseScenario(bytes);
}

Result<void> saveScenario(const Scenario& scenario, const std::filesystem::path& path,
                          const std::vector<std::string>& note) {
    return writeWholeFile(path.string(), scenarioText(scenario, note));
}

std::optional<std::filesystem::path> scenarioBeside(const std::filesystem::path& csv) {
    if (csv == "-")
        return std::nullopt;
    std::filesystem::path beside = csv;
    beside.replace_extension(kScenarioExtension);
    if (beside == csv)
        return std::nullopt; // a CSV file named like a scenario: never overwrite it
    return beside;
}

} // namespace bocavo::labo

#include "labo/files/csv_writer.h"

#include "core/lab/science/limits.h"
#include "labo/files/file_output.h"
#include "labo/files/scenario_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace bocavo::labo {
namespace {

inline constexpr std::size_t kCsvChunkBytes = 1u << 20; // bytes gathered before each write

// Other names tried, "lecon-2.scenario" to "lecon-99.scenario", beside a teacher's own file.
inline constexpr int kOtherNames = 99;
// How long an export waits for another one to the same folder to put its files in place.
inline constexpr std::chrono::seconds kLockPatience{60};
inline constexpr std::chrono::milliseconds kLockPoll{10};

// A scenario written beside an earlier CSV file and untouched since: exactly
// scenarioText with a note reproductionNote() could have made. Replacing it loses
// nothing anyone wrote.
bool writtenBeside(const std::string& text, const Scenario& file) {
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line); // the title
    if (!std::getline(lines, line) || line != std::string("# ") + kBesideMark)
        return false;
    std::vector<std::string> note{kBesideMark};
    while (std::getline(lines, line) && line.size() < 200) {
        std::string digits;
        for (const char c : line)
            if (c >= '0' && c <= '9')
                digits += c;
        const auto number = wholeNumber(digits);
        if (!number)
            break;
        if (line == "# " + everyNote(*number) || line == "# " + endNote(0, *number) ||
            line == "# " + endNote(1, *number))
            note.push_back(line.substr(2));
        else
            break;
    }
    return text == scenarioText(file, note);
}

// Held while a CSV file and its scenario are put in place, so that two exports
// to one name leave the pair of one of them: a lock on their folder, best
// effort (a folder that cannot be opened or locked, or a holder that never
// lets go, leaves the export as it would be without it).
class FolderLock {
public:
    FolderLock(const std::filesystem::path& folder, const std::atomic<bool>* cancel)
        : fd_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        const auto deadline = std::chrono::steady_clock::now() + kLockPatience;
        while (fd_ >= 0 && flock(fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK &&
               std::chrono::steady_clock::now() < deadline && !(cancel && cancel->load()))
            std::this_thread::sleep_for(kLockPoll);
    }
    ~FolderLock() {
        if (fd_ >= 0)
            close(fd_); // and the lock with it
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

enum class Found {
    Nothing,  // no file of that name (or none that can be looked at)
    Same,     // a scenario that reproduces the CSV file
    Replaced, // one written beside an earlier CSV file, that a new one replaces
    Other     // anything else: a teacher's scenario, another file
};

Found lookAt(const std::filesystem::path& name, const Scenario& scenario) {
    struct stat st {};
    if (lstat(name.c_str(), &st) != 0)
        return Found::Nothing;
    std::string text;
    const Result<Scenario> file = loadScenario(name, &text);
    if (!file)
        return Found::Other;
    if (reproduces(*file, scenario))
        return Found::Same;
    return writtenBeside(text, *file) ? Found::Replaced : Found::Other;
}

// Puts the scenario that reproduces the CSV file just written beside it:
// one already there that gives it is kept; an earlier one of this program's
// is replaced; any other file is kept and the scenario goes under the first
// free name "lecon-2.scenario"... (`csv`: the CSV file's extension). A scenario that cannot be
// written leaves the CSV file written, with a warning, and takes away (or names) the earlier one
// that would otherwise seem to go with it.
void placeScenario(const Scenario& scenario, const std::vector<std::string>& note,
                   const std::filesystem::path& beside, const std::filesystem::path& csv,
                   CsvOutcome& outcome) {
    const Found there = lookAt(beside, scenario);
    std::filesystem::path name = beside;
    Found found = there;
    for (int n = 2; found == Found::Other && n <= kOtherNames; ++n) {
        name = beside.parent_path() /
               (beside.stem().string() + "-" + std::to_string(n) + kScenarioExtension);
        found = lookAt(name, scenario);
        // An earlier export's: this one's to replace, unless it is "lecon-2.csv"'s own.
        std::filesystem::path itsCsv = name;
        std::error_code unseen;
        if (found == Found::Replaced &&
            std::filesystem::exists(itsCsv.replace_extension(csv), unseen))
            found = Found::Other;
    }
    std::string error;
    if (found == Found::Other)
        error = "Aucun nom n'est libre à côté, de " +
                quotedPath(beside.stem().string() + "-2" + kScenarioExtension) + " à " +
                quotedPath(name.filename().string()) + ".";
    else if (found == Found::Nothing || found == Found::Replaced)
        error = saveScenario(scenario, name, note).reason();
    if (error.empty()) {
        outcome.scenario = name;
        outcome.scenarioKept = found == Found::Same;
        if (name != beside)
            outcome.scenarioLeft = beside;
        return;
    }
    outcome.warning =
        "Attention : le fichier CSV est écrit, mais pas le scénario qui le reproduit. " + error;
    std::error_code ignored;
    if (there == Found::Replaced && std::filesystem::remove(beside, ignored))
        outcome.warning += " L'ancien scénario " + quotedPath(beside.string()) +
                           ", qui décrivait une autre simulation, est supprimé.";
    else if (there != Found::Nothing)
        outcome.warning += " " + quotedPath(beside.string()) +
                           ", à côté, décrit une autre simulation que ce fichier.";
}

} // namespace

namespace {

// What went wrong, from `out`; false, for the caller to return.
bool failed(const FileOutput& out, CsvOutcome& outcome) {
    outcome.error = out.error();
    outcome.outputClosed = out.isStandardOutput() && out.errorCode() == EPIPE;
    return false;
}

// Opens `out` and writes every row, not yet committed; false, with `outcome`
// told why, on failure or cancel.
bool writeRows(const Sets& sets, FileOutput& out, int every, const Control& control,
               CsvOutcome& outcome) {
    if (!out.open()) {
        outcome.cancelled = out.cancelled();
        return failed(out, outcome);
    }
    outcome.standardOutput = out.isStandardOutput();
    outcome.inPlace = out.isStream();
    const CsvRows rows(sets, every);
    std::string buffer;
    for (int number = 1; number <= rows.classes(); ++number) {
        outcome.rows += rows.append(number, buffer);
        if (buffer.size() > kCsvChunkBytes || number == rows.classes()) {
            if (!out.write(buffer)) {
                outcome.cancelled = out.cancelled(); // a full pipe's wait, cancelled
                return failed(out, outcome);
            }
            buffer.clear();
        }
        if (control.progress)
            control.progress(sets.back()->generation(),
                             static_cast<double>(number) / rows.classes());
        if (control.cancel && control.cancel->load()) {
            out.abandon();
            outcome.cancelled = true;
            return false;
        }
    }
    return true;
}

} // namespace

CsvOutcome writeCsv(const Sets& sets, const std::string& path, int every, const Control& control) {
    CsvOutcome outcome;
    FileOutput out(path, control.cancel);
    if (writeRows(sets, out, every, control, outcome))
        outcome.written = out.commit() || failed(out, outcome);
    return outcome;
}

CsvOutcome exportCsv(const Sets& sets, const Scenario& scenario, const std::filesystem::path& path,
                     int every, const Control& control) {
    CsvOutcome outcome;
    FileOutput out(path.string(), control.cancel);
    if (!writeRows(sets, out, every, control, outcome))
        return outcome;
    // Rows written in place (the standard output, a descriptor, a device, a
    // pipe) have no file to sit beside.
    const auto beside =
        outcome.inPlace ? std::optional<std::filesystem::path>() : scenarioBeside(path);
    if (!beside) {
        outcome.written = out.commit() || failed(out, outcome);
        return outcome;
    }
    // One result: another export to this name waits until both files are in place.
    const FolderLock lock(beside->parent_path(), control.cancel);
    if (control.cancel && control.cancel->load()) {
        out.abandon();
        outcome.cancelled = true;
        return outcome;
    }
    outcome.written = out.commit() || failed(out, outcome);
    if (outcome.written)
        placeScenario(scenario, reproductionNote(sets, scenario.generations, every), *beside,
                      path.extension(), outcome);
    return outcome;
}

} // namespace bocavo::labo

#include "labo/files/csv_writer.h"

#include "core/lab/science/limits.h"
#include "labo/files/file_output.h"
#include "labo/files/scenario_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <map>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace bocavo::labo {
namespace {

inline constexpr std::size_t kCsvChunkBytes = 1u << 20; // bytes gathered before each write

// The first line of the note of every scenario written beside a CSV file: it
// tells them from a scenario saved on purpose, which is never replaced.
inline constexpr char kBesideMark[] = "Écrit avec le fichier CSV qu'il reproduit.";
// Other names tried, "lecon-2.scenario" to "lecon-99.scenario", beside a teacher's own file.
inline constexpr int kOtherNames = 99;
// How long an export waits for another one to the same folder to put its files in place.
inline constexpr std::chrono::seconds kLockPatience{60};
inline constexpr std::chrono::milliseconds kLockPoll{10};

std::string everyNote(std::uint64_t every) {
    return "Le fichier CSV à côté ne garde qu'une génération sur " + groupDigits(every) +
           " : l'exporter de même pour le refaire.";
}

std::string endNote(std::size_t set, std::uint64_t generation) {
    return std::string("Le jeu ") + (set ? "B" : "A") + " y va jusqu'à la génération " +
           groupDigits(generation) + ".";
}

// What the scenario alone does not say about the CSV beside it: the
// generations kept, and a set that ended elsewhere (after "Jusqu'à fixation"
// or a cancel).
std::vector<std::string> reproduction(const Sets& sets, const Scenario& scenario, int every) {
    std::vector<std::string> note{kBesideMark};
    if (every > 1)
        note.push_back(everyNote(static_cast<std::uint64_t>(every)));
    for (std::size_t i = 0; i < sets.size(); ++i)
        if (sets[i]->generation() != scenario.generations)
            note.push_back(endNote(i, static_cast<std::uint64_t>(sets[i]->generation())));
    return note;
}

// A scenario written beside an earlier CSV file and untouched since: exactly
// scenarioText with a note reproduction() could have made. Replacing it loses
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
        error = saveScenario(scenario, name, note);
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
    std::string buffer = kCsvHeader;
    int number = 0; // the class's number in the file
    int allClasses = 0;
    for (const Experiment* experiment : sets)
        allClasses += experiment->classes();
    for (const Experiment* experiment : sets) {
        const Settings& settings = experiment->settings();
        std::map<int, std::vector<std::string>> texts; // by the generation's copies
        for (const int n : distinctSizes(settings))
            texts[2 * n] = fieldTexts(2 * n);
        const auto alleles = static_cast<std::size_t>(settings.alleles);
        const int last = experiment->generation();
        for (int c = 1; c <= experiment->classes(); ++c) {
            const std::string classField = std::to_string(++number) + ",";
            for (int g = 0; g <= last; g = nextKept(g, every, last)) {
                const std::string lead = classField + std::to_string(g) + ",";
                const Counts counts = experiment->counts(c, g);
                const auto& fields = texts[settings.copiesAt(g)];
                for (std::size_t k = 0; k < alleles; ++k) {
                    buffer += lead;
                    buffer += static_cast<char>('1' + k);
                    buffer += ',';
                    buffer += fields[counts[k]];
                }
                outcome.rows += alleles;
            }
            if (buffer.size() > kCsvChunkBytes || number == allClasses) {
                if (!out.write(buffer)) {
                    outcome.cancelled = out.cancelled(); // a full pipe's wait, cancelled
                    return failed(out, outcome);
                }
                buffer.clear();
            }
            if (control.progress)
                control.progress(last, static_cast<double>(number) / allClasses);
            if (control.cancel && control.cancel->load()) {
                out.abandon();
                outcome.cancelled = true;
                return false;
            }
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
        placeScenario(scenario, reproduction(sets, scenario, every), *beside, path.extension(),
                      outcome);
    return outcome;
}

} // namespace bocavo::labo

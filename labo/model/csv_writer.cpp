#include "labo/model/csv_writer.h"

#include "labo/model/file_output.h"

#include <algorithm>

namespace bocavo::labo {
namespace {

inline constexpr std::size_t kCsvChunkBytes = 1u << 20; // bytes gathered before each write

// "effectif,fréquence\n" for every count a set's generation can hold.
std::vector<std::string> fieldTexts(int copies) {
    std::vector<std::string> tail(static_cast<std::size_t>(copies) + 1);
    for (int n = 0; n <= copies; ++n)
        tail[static_cast<std::size_t>(n)] =
            std::to_string(n) + "," + frequencyText(n, copies) + "\n";
    return tail;
}

std::uint64_t digits(std::uint64_t n) {
    std::uint64_t d = 1;
    while (n >= 10) {
        n /= 10;
        ++d;
    }
    return d;
}

// What the scenario alone does not say about the CSV beside it: the
// generations kept, and a set that ended elsewhere (after "Jusqu'à fixation"
// or a cancel).
std::vector<std::string> reproduction(const Sets& sets, const Scenario& scenario, int every) {
    std::vector<std::string> note;
    if (every > 1)
        note.push_back("Le fichier CSV à côté ne garde qu'une génération sur " +
                       groupDigits(static_cast<std::uint64_t>(every)) +
                       " : l'exporter de même pour le refaire.");
    for (std::size_t i = 0; i < sets.size(); ++i)
        if (sets[i]->generation() != scenario.generations)
            note.push_back(std::string("Le jeu ") + (i ? "B" : "A") +
                           " y va jusqu'à la génération " +
                           groupDigits(static_cast<std::uint64_t>(sets[i]->generation())) + ".");
    return note;
}

} // namespace

std::string frequencyText(int count, int copies) {
    // In ten-thousandths of a percent, rounded half up: exact for 40 copies
    // (count × 2.5), so the classroom's file keeps the main program's values.
    const std::int64_t units =
        (std::int64_t{count} * 2'000'000 + copies) / (2 * std::int64_t{copies});
    std::string text = std::to_string(units / 10'000);
    std::string fraction = std::to_string(10'000 + units % 10'000).substr(1);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (!fraction.empty())
        text += "." + fraction;
    return text;
}

std::vector<std::uint8_t> fieldLengths(int copies) {
    std::vector<std::uint8_t> lengths;
    for (const std::string& text : fieldTexts(copies))
        lengths.push_back(static_cast<std::uint8_t>(text.size()));
    return lengths;
}

std::uint64_t csvBytes(const std::vector<const Statistics*>& sets, int every) {
    std::uint64_t bytes = sizeof(kCsvHeader) - 1;
    std::uint64_t number = 0; // the last class number of the sets before
    for (const Statistics* stats : sets) {
        const auto classes = static_cast<std::uint64_t>(stats->classes());
        const auto alleles = static_cast<std::uint64_t>(stats->alleles());
        std::uint64_t numberDigits = 0; // of this set's class numbers, once each
        for (std::uint64_t c = 1; c <= classes; ++c)
            numberDigits += digits(number + c);
        number += classes;
        const auto& fields = stats->csvFieldBytes();
        const int last = static_cast<int>(fields.size()) - 1;
        for (int g = 0; g <= last; g = nextKept(g, every, last))
            // "c,g,a," on each row (allele a a single digit), then the counted fields.
            bytes +=
                alleles * (numberDigits + classes * (digits(static_cast<std::uint64_t>(g)) + 4)) +
                fields[static_cast<std::size_t>(g)];
    }
    return bytes;
}

int everyWithin(const std::vector<const Statistics*>& sets, std::uint64_t limit) {
    // Rows shrink almost in proportion to K: start from the ratio, then step up.
    const std::uint64_t whole = csvBytes(sets, 1);
    if (whole <= limit)
        return 1;
    int every = static_cast<int>(
        std::clamp<std::uint64_t>(whole / std::max<std::uint64_t>(limit, 1), 1, kMaxEvery));
    while (every < kMaxEvery && csvBytes(sets, every) > limit)
        ++every;
    return every;
}

CsvOutcome writeCsv(const Sets& sets, const std::string& path, int every, const Control& control) {
    CsvOutcome outcome;
    FileOutput out(path, control.cancel);
    if (!out.open()) {
        outcome.cancelled = out.cancelled();
        outcome.error = out.error();
        return outcome;
    }
    outcome.standardOutput = out.isStandardOutput();
    std::string buffer = kCsvHeader;
    int number = 0; // the class's number in the file
    int allClasses = 0;
    for (const Experiment* experiment : sets)
        allClasses += experiment->classes();
    for (const Experiment* experiment : sets) {
        const auto texts = fieldTexts(experiment->settings().copies());
        const auto alleles = static_cast<std::size_t>(experiment->settings().alleles);
        const int last = experiment->generation();
        for (int c = 1; c <= experiment->classes(); ++c) {
            const std::string classField = std::to_string(++number) + ",";
            for (int g = 0; g <= last; g = nextKept(g, every, last)) {
                const std::string lead = classField + std::to_string(g) + ",";
                const Counts counts = experiment->counts(c, g);
                for (std::size_t k = 0; k < alleles; ++k) {
                    buffer += lead;
                    buffer += static_cast<char>('1' + k);
                    buffer += ',';
                    buffer += texts[counts[k]];
                }
                outcome.rows += alleles;
            }
            if (buffer.size() > kCsvChunkBytes || number == allClasses) {
                if (!out.write(buffer)) {
                    outcome.error = out.error();
                    return outcome;
                }
                buffer.clear();
            }
            if (control.progress)
                control.progress(last, static_cast<double>(number) / allClasses);
            if (control.cancel && control.cancel->load()) {
                out.abandon();
                outcome.cancelled = true;
                return outcome;
            }
        }
    }
    if (!out.commit()) {
        outcome.error = out.error();
        return outcome;
    }
    outcome.written = true;
    return outcome;
}

CsvOutcome exportCsv(const Sets& sets, const Scenario& scenario, const std::filesystem::path& path,
                     int every, const Control& control) {
    CsvOutcome outcome = writeCsv(sets, path, every, control);
    if (!outcome.written)
        return outcome;
    // Rows on the standard output (even as /dev/stdout to a file) have no file to sit beside.
    if (outcome.standardOutput)
        return outcome;
    if (const auto beside = scenarioBeside(path)) {
        outcome.scenario = *beside;
        // A teacher's own scenario that already gives this file keeps its
        // comments and its other set: it is not rewritten.
        const ScenarioResult there = loadScenario(*beside);
        if (there.scenario && reproduces(*there.scenario, scenario)) {
            outcome.scenarioKept = true;
            return outcome;
        }
        outcome.error = saveScenario(scenario, *beside, reproduction(sets, scenario, every));
        if (!outcome.error.empty()) {
            outcome.written = false;
            outcome.scenario.clear();
            return outcome;
        }
    }
    return outcome;
}

} // namespace bocavo::labo

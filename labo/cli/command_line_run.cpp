// The command-line mode's run: the classes advanced, the files written, and
// the summary that says what was done and what theory expects.
#include "core/lab/files/series_csv.h"
#include "core/lab/science/experiment.h"
#include "core/lab/science/limits.h"
#include "core/lab/science/run_cost.h"
#include "core/lab/science/size_series.h"
#include "core/lab/science/theory.h"
#include "labo/cli/command_line.h"
#include "labo/cli/progress_line.h"
#include "labo/files/csv_writer.h"
#include "labo/files/file_output.h"
#include "labo/files/workbook_export.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <new>
#include <ostream>

namespace bocavo::labo {
namespace {

constexpr int kExitWriteFailed = 1;
constexpr int kExitBadArguments = 2;

std::string memoryShortage(int classes, int individuals, int generations) {
    return "La mémoire ne suffit pas pour cette simulation (" +
           groupDigits(static_cast<std::uint64_t>(classes)) +
           (classes > 1 ? " classes de " : " classe de ") +
           groupDigits(static_cast<std::uint64_t>(individuals)) + " individus sur " +
           groupDigits(static_cast<std::uint64_t>(generations)) +
           " générations) : essayez moins de classes, d'individus ou de générations.";
}

// --serie: each size run in turn, then one row per size in the CSV file,
// written through FileOutput like the lab's rows (no scenario beside it: a
// scenario cannot say "a series").
int runSeries(const CommandLine& options, std::ostream& out, std::ostream& err,
              std::ostream* progress) {
    const Scenario& scenario = options.scenario;
    const std::string path = options.csv.empty() ? "-" : options.csv;
    std::vector<SeriesRow> rows;
    std::string error;
    try {
        // Nobody to ask here: a series of more than a minute or a gigabyte is
        // announced. One size runs at a time, so memory is the largest size's.
        const RunCost cost =
            estimateSeries(scenario.a, options.series, scenario.classes, scenario.generations);
        if (cost.costly())
            err << "bocavo-labo : ce calcul demandera " << costText(cost) << ".\n";
        SizeSeries series(scenario.a, options.series, scenario.classes, scenario.generations,
                          scenario.seed);
        {
            ProgressLine line(progress, "Série de tailles");
            series.run(line.control());
        }
        rows = series.rows();
    } catch (const std::bad_alloc&) {
        error = memoryShortage(scenario.classes, options.series.back(), scenario.generations);
    } catch (const std::exception& e) {
        error = e.what();
    }
    bool onOutput = false;
    if (error.empty()) {
        FileOutput file(path);
        if (file.open() && file.write(seriesCsv(rows, scenario.generations)) && file.commit()) {
            onOutput = file.isStandardOutput();
        } else {
            // The reader of the rows went away (`| head`): silence, as any command-line tool.
            if (file.isStandardOutput() && file.errorCode() == EPIPE)
                return kExitOutputClosed;
            error = file.error();
        }
    }
    if (!error.empty()) {
        err << "bocavo-labo : " << error << "\n";
        return kExitWriteFailed;
    }
    std::ostream& summary = onOutput ? err : out;
    summary << rows.size() << " tailles de "
            << groupDigits(static_cast<std::uint64_t>(scenario.classes))
            << (scenario.classes > 1 ? " classes" : " classe") << ", générations 0 à "
            << groupDigits(static_cast<std::uint64_t>(scenario.generations)) << " : " << rows.size()
            << " lignes écrites dans " << visibleText(path) << "\n"
            << seriesExpectedLines(rows);
    return 0;
}

} // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   std::ostream* progress) {
    const Result<CommandLine> parsed = parseCommandLine(args);
    if (!parsed) {
        err << "bocavo-labo : " << parsed.reason() << "\n\n" << usageText();
        return kExitBadArguments;
    }
    const CommandLine& options = *parsed;
    if (options.help) {
        out << usageText();
        return 0;
    }
    if (options.version) {
        out << "bocavo-labo " BOCAVO_VERSION "\n";
        return 0;
    }
    if (!options.series.empty())
        return runSeries(options, out, err, progress);
    const Scenario& scenario = options.scenario;
    // Refused before the run, which may be long: the workbook would be too big to open.
    const std::vector<WorkbookSet> shape{
        {scenario.classes, scenario.a.alleles, scenario.generations}};
    if (!options.xlsx.empty() && workbookCells(shape, options.every) > kMaxWorkbookCells) {
        err << "bocavo-labo : --xlsx : " << workbookTooLarge(shape, options.every)
            << " Ajoutez --every " << workbookEvery(shape, kMaxWorkbookCells) << ".\n";
        return kExitBadArguments;
    }
    CsvOutcome outcome;
    bool bookOnOutput = false;
    int extinct = 0; // classes that died out
    try {
        // Nobody to ask here: a run of more than a minute or a gigabyte is announced.
        if (const RunCost cost =
                estimateSet(scenario.a, scenario.classes, scenario.generations, false);
            cost.costly())
            err << "bocavo-labo : ce calcul demandera " << costText(cost) << ".\n";
        Experiment experiment(scenario.a, scenario.classes, scenario.seed);
        {
            ProgressLine line(progress, {});
            experiment.advanceTo(scenario.generations, line.control());
        }
        extinct = experiment.extinctClasses();
        ProgressLine line(progress, "Écriture du fichier");
        if (!options.csv.empty())
            outcome =
                exportCsv({&experiment}, scenario, options.csv, options.every, line.control());
        if ((options.csv.empty() || outcome.written) && !options.xlsx.empty()) {
            const WorkbookOutcome book = exportWorkbook(
                {&experiment}, options.xlsx, {options.every, exportDate(), BOCAVO_VERSION});
            outcome.written = book.error.empty();
            outcome.error = book.error;
            bookOnOutput = book.standardOutput;
        }
    } catch (const std::bad_alloc&) {
        outcome.error =
            memoryShortage(scenario.classes, scenario.a.individuals, scenario.generations);
    } catch (const std::exception& e) {
        outcome.error = e.what();
    }
    // The reader of the rows went away (`| head`): silence, as any command-line tool.
    if (outcome.outputClosed)
        return kExitOutputClosed;
    if (!outcome.written) {
        err << "bocavo-labo : " << outcome.error << "\n";
        return kExitWriteFailed;
    }
    // With the rows on the standard output, the summary must not follow them there.
    std::ostream& summary = outcome.standardOutput || bookOnOutput ? err : out;
    summary << groupDigits(static_cast<std::uint64_t>(scenario.classes))
            << (scenario.classes > 1 ? " classes" : " classe") << ", générations 0 à "
            << groupDigits(static_cast<std::uint64_t>(scenario.generations)) << " : ";
    if (!options.csv.empty())
        summary << groupDigits(outcome.rows) << " lignes écrites dans " << visibleText(options.csv)
                << (options.xlsx.empty() ? "" : ", ");
    if (!options.xlsx.empty())
        summary << "classeur écrit dans " << visibleText(options.xlsx);
    summary << "\n";
    if (extinct > 0)
        summary << "classes éteintes : " << extinct << "\n";
    summary << expectedLines(scenario.a, scenario.classes, scenario.generations);
    if (outcome.scenarioKept)
        summary << "Scénario déjà à côté, laissé tel quel : "
                << visibleText(outcome.scenario.string()) << "\n";
    else if (!outcome.scenario.empty())
        summary << "Scénario écrit dans " << visibleText(outcome.scenario.string()) << "\n";
    if (!outcome.scenarioLeft.empty())
        summary << visibleText(outcome.scenarioLeft.string())
                << ", qui décrit une autre simulation, reste tel quel.\n";
    if (!outcome.warning.empty())
        err << "bocavo-labo : " << outcome.warning << "\n";
    return 0;
}

} // namespace bocavo::labo

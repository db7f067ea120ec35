// The command-line mode's run: the classes advanced, the files written, and
// the summary that says what was done and what theory expects.
#include "core/lab/science/experiment.h"
#include "core/lab/science/limits.h"
#include "core/lab/science/run_cost.h"
#include "core/lab/science/theory.h"
#include "labo/cli/command_line.h"
#include "labo/cli/progress_line.h"
#include "labo/files/csv_writer.h"
#include "labo/files/workbook_export.h"

#include <exception>
#include <new>
#include <ostream>

namespace bocavo::labo {
namespace {

constexpr int kExitWriteFailed = 1;
constexpr int kExitBadArguments = 2;

} // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   std::ostream* progress) {
    const ParsedCommandLine parsed = parseCommandLine(args);
    if (!parsed.error.empty()) {
        err << "bocavo-labo : " << parsed.error << "\n\n" << usageText();
        return kExitBadArguments;
    }
    const CommandLine& options = parsed.options;
    if (options.help) {
        out << usageText();
        return 0;
    }
    if (options.version) {
        out << "bocavo-labo " BOCAVO_VERSION "\n";
        return 0;
    }
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
        outcome.error = "La mémoire ne suffit pas pour cette simulation (" +
                        groupDigits(static_cast<std::uint64_t>(scenario.classes)) +
                        (scenario.classes > 1 ? " classes de " : " classe de ") +
                        groupDigits(static_cast<std::uint64_t>(scenario.a.individuals)) +
                        " individus sur " +
                        groupDigits(static_cast<std::uint64_t>(scenario.generations)) +
                        " générations) : essayez moins de classes, d'individus ou de générations.";
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

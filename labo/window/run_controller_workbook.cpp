// The workbook export on the window's one runner: the same cells as the
// command line's --xlsx for the same run (workbookOf), written off the
// window's thread.
#include "labo/files/workbook_export.h"
#include "labo/window/run_controller.h"

namespace bocavo::labo {

Result<void> RunController::exportWorkbook(const QString& path, int every) {
    if (auto refused = exportRefusal(); !refused)
        return refused;
    const auto runs = run_.heldSets();
    // A set B cancelled before its founders is left out of the workbook: said so.
    const QString leftOut = sets() > 1 && experiment(1)->generation() < 0
                                ? QString(" Le jeu B n'y est pas : il n'avait pas encore commencé.")
                                : QString();
    // Dated when asked, not when written: a pipe may wait for its reader.
    const WorkbookNote note{every, exportDate(), BOCAVO_VERSION};
    auto outcome = std::make_shared<WorkbookOutcome>();
    return start(
        [runs, note, outcome, target = path.toStdString()](const Control& c) {
            const Sets sets = setsOf(runs);
            *outcome = bocavo::labo::exportWorkbook(sets, target, note, c.cancel);
        },
        [this, outcome, path, leftOut](bool) {
            if (outcome->cancelled)
                emit finished(kExportCancelled, false);
            else if (!outcome->error.empty())
                emit finished(QString::fromStdString(outcome->error) +
                                  "\nLa simulation est conservée.",
                              true);
            else
                emit finished(QString("Classeur « %1 » écrit.").arg(path) + leftOut, false);
        });
}

} // namespace bocavo::labo

#include "labo/window/open_in_bocavo.h"

#include "core/lab/science/experiment.h"
#include "core/lab/science/settings.h"
#include "core/run/run_core.h"

#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

namespace bocavo::labo {
namespace {
const QString kProgram = QStringLiteral("bocavo");
}

std::optional<BocavoStart> bocavoStart(const Experiment& run, int classNumber,
                                       const QString& folder) {
    // The lab's 1 000 classes are the groups' 1 000 today; the bound keeps
    // that true if either grows.
    if (!isClassroomProtocol(run.settings()) || classNumber < kFirstGroup ||
        classNumber > std::min(kLastGroup, run.classes()))
        return std::nullopt;
    // The copy installed beside the lab first: the same version, whatever PATH says.
    QString program = QStandardPaths::findExecutable(kProgram, {folder});
    if (program.isEmpty())
        program = kProgram;
    return BocavoStart{
        program,
        {"--groupe", QString::number(classNumber), "--graine", QString::number(run.seed())}};
}

QString startBocavo(const BocavoStart& start) {
    QProcess process;
    process.setProgram(start.program);
    process.setArguments(start.arguments);
    if (process.startDetached())
        return {};
    return QString("Bocavo n'a pas pu être lancé (« %1 »). Vérifiez qu'il est installé à côté du "
                   "laboratoire ou accessible par le chemin des programmes (PATH).")
        .arg(start.program);
}

} // namespace bocavo::labo

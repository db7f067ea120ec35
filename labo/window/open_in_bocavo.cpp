#include "labo/window/open_in_bocavo.h"

#include "core/lab/files/classroom_link.h"

#include <QProcess>
#include <QStandardPaths>

namespace bocavo::labo {
namespace {
const QString kProgram = QStringLiteral("bocavo");
}

std::optional<BocavoStart> bocavoStart(const Experiment& run, int classNumber,
                                       const QString& folder) {
    const std::optional<ClassroomGroup> group = classroomGroup(run, classNumber);
    if (!group)
        return std::nullopt;
    // The copy installed beside the lab first: the same version, whatever PATH says.
    QString program = QStandardPaths::findExecutable(kProgram, {folder});
    if (program.isEmpty())
        program = kProgram;
    return BocavoStart{
        program,
        {"--groupe", QString::number(group->group), "--graine", QString::number(group->seed)}};
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

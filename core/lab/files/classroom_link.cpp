#include "core/lab/files/classroom_link.h"

#include "core/lab/science/experiment.h"
#include "core/lab/science/settings.h"
#include "core/run/run_core.h" // the groups the classroom program takes

#include <algorithm>

namespace bocavo::labo {

std::optional<ClassroomGroup> classroomGroup(const Experiment& run, int classNumber) {
    // The lab's 1 000 classes are the groups' 1 000 today; the bound keeps
    // that true if either grows.
    if (!isClassroomProtocol(run.settings()) || classNumber < kFirstGroup ||
        classNumber > std::min(kLastGroup, run.classes()))
        return std::nullopt;
    return ClassroomGroup{classNumber, run.seed()};
}

std::string classroomLink(const ClassroomGroup& group) {
    return "index.html#groupe=" + std::to_string(group.group) +
           "&graine=" + std::to_string(group.seed);
}

} // namespace bocavo::labo

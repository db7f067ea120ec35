// « Ouvrir cette classe dans Bocavo »: the classroom program started on one
// class of the lab's run. Group K of seed S draws what class K of seed S
// draws, but only for a set with the classroom's settings; the window starts
// `bocavo --groupe K --graine S`, the page opens this link.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bocavo::labo {

class Experiment;

struct ClassroomGroup {
    int group = 1;
    std::uint32_t seed = 0;
};

// The group that class `classNumber` of `run` is; none when the set's settings
// are not the classroom's or the class is no group number.
std::optional<ClassroomGroup> classroomGroup(const Experiment& run, int classNumber);

// The page's address of the classroom program on that group, beside the lab's:
// "index.html#groupe=7&graine=1993".
std::string classroomLink(const ClassroomGroup& group);

} // namespace bocavo::labo

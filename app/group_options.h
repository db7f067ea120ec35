// The two options of the classroom program's command line: `--groupe K` and
// `--graine S` (also `--groupe=K`), which give each group of a class its own
// draw. Every other argument is left alone, as it always was. Read before Qt
// starts, so free of Qt.
#pragma once

#include "core/run/run_core.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bocavo {

inline constexpr int kBadArgumentsExit = 2; // exit status

struct GroupChoice {
    std::optional<Group> group; // set when either option was given
    std::string error;          // the French reason the arguments are refused, or empty
};

// `arguments` without the program's name.
GroupChoice readGroupOptions(const std::vector<std::string_view>& arguments);

} // namespace bocavo

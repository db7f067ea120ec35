// The group a program start shows: on the desktop's command line `--groupe K`
// and `--graine S` (also `--groupe=K`), in the page's address
// `#groupe=K&graine=S`. Both are read here, so that both refuse a bad value in
// the same French words. Every other argument or key is left alone.
#pragma once

#include "core/run/run_core.h"
#include "core/text/result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bocavo {

inline constexpr int kBadArgumentsExit = 2; // exit status

// The group asked for (none when neither option was given), or the French
// reason the arguments are refused.
using GroupChoice = Result<std::optional<Group>>;

// `arguments` without the program's name.
GroupChoice readGroupOptions(const std::vector<std::string_view>& arguments);
// The page's address fragment, with or without its '#': `key=value` pairs
// joined by '&', %XX escapes decoded, read as the options of the same names
// ("groupe=7" as "--groupe=7"); a key without '=' is an option without its
// value.
GroupChoice readGroupFragment(std::string_view fragment);

} // namespace bocavo

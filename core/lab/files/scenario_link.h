// A scenario in a link: « labo.html#scenario=… » opens the lab page on it, so
// that a teacher hands out a lesson with one click and nothing leaves the
// pupil's browser (a fragment is never sent to the server).
//
// The fragment is "scenario=<bytes>.<text>": the scenario's text without its
// comments, in base64url, after its length in bytes. Base64url rather than
// percent-encoding: its 64 characters pass unchanged through every platform,
// mail and chat that carries links, none of them ends a link when a linkifier
// meets it, and an accented consigne costs 4/3 of its bytes instead of 3 per
// byte. The length tells a link cut short from a shorter consigne.
#pragma once

#include "core/lab/files/scenario.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace bocavo::labo {

inline constexpr char kScenarioLinkKey[] = "scenario"; // the fragment's "scenario="
// Characters of a fragment: a few pages of consigne, well within what every
// browser, school platform and mail program keeps whole.
inline constexpr std::size_t kMaxLinkChars = 8000;

// "scenario=…", the fragment without its '#', or the French reason when the
// scenario is too long for a link.
Result<std::string> scenarioLink(const Scenario& scenario);

// The scenario of a fragment (with or without its '#'), or the French reason a
// fragment that is not one, damaged, cut or too long is refused.
Result<Scenario> scenarioFromLink(std::string_view fragment);

} // namespace bocavo::labo

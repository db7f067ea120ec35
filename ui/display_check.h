// Before a window opens: without a display, Qt would abort with an English
// message. Each program says instead, in French, what is missing (and what
// can be done without a window), and ends with status 1.
#pragma once

#include <string>
#include <string_view>

namespace bocavo::ui {

inline constexpr int kNoDisplayExit = 1; // exit status

// Empty when the environment names a display (or a platform that needs none),
// else `message`, the program's own words, ending with a newline.
std::string displayProblem(std::string_view message);

// Around QApplication's construction: a fatal error while the platform starts
// (a display that cannot be reached) prints `message` instead and ends the
// process with `status`. Qt's other messages of that moment are held and
// printed once the platform is up.
void guardPlatformStart(std::string_view message, int status = kNoDisplayExit);
void platformStarted();

} // namespace bocavo::ui

// Before the window opens: without a display, Qt would abort with an English
// message; the laboratory says in French what is missing and how to run it
// without a window, and ends with status 1.
#pragma once

#include <string>

namespace bocavo::labo {

// Empty when the environment names a display (or a platform that needs none),
// else the French message, ending with a newline.
std::string displayProblem();

// Around QApplication's construction: a fatal error while the platform starts
// (a display that cannot be reached) prints displayProblem's message instead
// and ends the process with status 1. Qt's other messages of that moment are
// held and printed once the platform is up.
void guardPlatformStart();
void platformStarted();

} // namespace bocavo::labo

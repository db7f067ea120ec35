// The ranges a laboratory run accepts, shared by the window and the command
// line so that both refuse the same values with the same words.
#pragma once

#include "core/text/user_text.h"

namespace bocavo::labo {

inline constexpr int kMinClasses = 1;
inline constexpr int kMaxClasses = 1000;
inline constexpr int kDefaultClasses = 30;

// Generations are numbered like the main program's counter, a 16-bit signed
// integer: generation 0 is the founders, 32 767 the last one it can show.
inline constexpr int kMinGenerations = 1;
inline constexpr int kMaxGeneration = 32767;
inline constexpr int kDefaultGenerations = 100;

// "Keep one generation in K" for the CSV file.
inline constexpr int kMinEvery = 1;
inline constexpr int kMaxEvery = kMaxGeneration;

// The lab's own ranges, read like every whole number (parseWhole).
Result<int> parseClasses(std::string_view text);
Result<int> parseGenerations(std::string_view text);
Result<int> parseEvery(std::string_view text);

} // namespace bocavo::labo

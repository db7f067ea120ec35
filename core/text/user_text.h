// Values typed by a user (a field, an argument, a file's line) and values
// shown back to one: both programs and the page read numbers and quote what
// they refuse the same way, in French.
#pragma once

#include "core/text/result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bocavo {

// Each value read from a text field or an argument comes with the French
// reason it was refused, if it was (Result).

// A whole number from low to high, a multiple of `step`; `what` names it in
// the refusal ("le nombre de classes"), which spells out a range of a few
// values ("2, 3 ou 4").
inline constexpr int kSpelledValues = 4; // values
Result<int> parseWhole(std::string_view text, int low, int high, const std::string& what,
                       int step = 1);
Result<std::uint32_t> parseSeed(std::string_view text); // 0..4 294 967 295

// The text without the spaces around it.
std::string_view trimmed(std::string_view text);
// Plain decimal digits, surrounding spaces allowed, nothing else: "1e3", "+5",
// "12abc" and "3.0" are refused rather than half-read; leading zeros change
// nothing. Up to 18 digits, so that any range check after it is exact.
std::optional<std::uint64_t> wholeNumber(std::string_view text);

// A decimal written with digits and at most one point ("0.001", "12", ".5"),
// read to the nearest double whatever the C locale says the point is;
// anything else, or no digit, gives nothing. (The page's C++ library has no
// floating-point std::from_chars; the C library's strtod rounds correctly in
// both, so the desktop and the page read every value alike.)
std::optional<double> decimalValue(std::string_view text);
// The shortest fixed-point text (a point, no exponent) that decimalValue reads
// back to exactly this value, which is finite and not negative: 0.01, 0, 12.5.
std::string shortestDecimal(double value);
// The value rounded to `decimals` places, with a point whatever the C locale
// says (printf's correct rounding, as std::to_chars would give it): 0.250000.
std::string fixedDecimal(double value, int decimals);

// Bytes of the UTF-8 character at `at` (1 to 4), or 0 where the text stops
// being UTF-8 (a stray byte, a cut, an overlong form, a surrogate).
std::size_t utf8CharBytes(std::string_view text, std::size_t at);

// The text as a message may show it: a control character (a newline, NUL,
// ESC...) as its visible picture (␊, ␀, ␛), a byte that is not UTF-8 as �, so
// that no value can split a message, colour the terminal or hide what follows.
std::string visibleText(std::string_view text);

// A value as messages quote it: « text », shown as visibleText, cut to its
// first kQuotedChars characters and an ellipsis, so that a pasted page never
// floods a message.
inline constexpr std::size_t kQuotedChars = 40; // characters
std::string shortQuote(std::string_view text);

// A file's name as messages quote it: « name », shown as visibleText, whole
// unless a pasted page: then its last kQuotedPathBytes, where the file's own
// name is.
inline constexpr std::size_t kQuotedPathBytes = 320; // bytes
std::string quotedPath(std::string_view path);

// The one way the laboratory writes its numbers for a French reader, in the
// window and on the command line alike.
// Thousands grouped with a space: 32 767.
std::string groupDigits(std::uint64_t value);
// A decimal with a comma and its thousands grouped: 1 999,5 (`decimals` places
// at most, trailing zeros dropped, so 20,0 reads 20).
std::string frenchDecimal(double value, int decimals);
// A share (0..1) in percent: one decimal from 1 % up, two significant digits
// below, so that a small figure never reads 0 %: 2,6 %, 0,025 %.
std::string percentText(double share);

} // namespace bocavo

#include "core/text/user_text.h"

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <locale>
#include <sstream>

namespace bocavo {
namespace {

inline constexpr int kMostDecimals = 6; // of a percent: below 0,000001 % a share reads 0 %

bool isBlank(std::string_view text) {
    for (const char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            return false;
    return true;
}

} // namespace

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::optional<double> decimalValue(std::string_view text) {
    int points = 0;
    int digits = 0;
    for (const char c : text) {
        if (c == '.')
            ++points;
        else if (c >= '0' && c <= '9')
            ++digits;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    // strtod reads the locale's decimal point (a comma under a French desktop's).
    std::string local;
    for (const char c : text)
        local += c == '.' ? std::string(std::localeconv()->decimal_point) : std::string(1, c);
    char* end = nullptr;
    const double value = std::strtod(local.c_str(), &end);
    if (end != local.c_str() + local.size())
        return std::nullopt;
    return value;
}

std::string fixedDecimal(double value, int decimals) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    const std::string point = std::localeconv()->decimal_point;
    if (const auto at = text.find(point); point != "." && at != std::string::npos)
        text.replace(at, point.size(), ".");
    return text;
}

std::string shortestDecimal(double value) {
    // Significant digits one more at a time, each correctly rounded by
    // printf, until one reads back exactly (17 always does).
    std::string text;
    for (int precision = 0; precision < 17; ++precision) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*e", precision, value);
        std::string digits;
        const char* at = buffer;
        for (; *at != 'e'; ++at)
            if (*at >= '0' && *at <= '9')
                digits += *at;
        const int exponent = std::atoi(at + 1);
        // d.ddd × 10^exponent in fixed point.
        std::string whole = "0";
        std::string fraction;
        if (exponent >= 0) {
            digits.resize(std::max(digits.size(), static_cast<std::size_t>(exponent) + 1), '0');
            whole = digits.substr(0, static_cast<std::size_t>(exponent) + 1);
            fraction = digits.substr(static_cast<std::size_t>(exponent) + 1);
        } else {
            fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        }
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
        text = fraction.empty() ? whole : whole + "." + fraction;
        if (decimalValue(text) == value)
            break;
    }
    return text;
}

std::optional<std::uint64_t> wholeNumber(std::string_view text) {
    text = trimmed(text);
    // Leading zeros change nothing: "0000000000000000001" is 1.
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    if (text.empty() || text.size() > 18)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

std::size_t utf8CharBytes(std::string_view text, std::size_t at) {
    const auto c = static_cast<unsigned char>(text[at]);
    std::size_t extra = 0;
    std::uint32_t code = 0;
    if (c < 0x80)
        return 1;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        code = c & 0x1Fu;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        code = c & 0x0Fu;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        code = c & 0x07u;
    } else {
        return 0;
    }
    if (at + extra >= text.size())
        return 0; // cut in the middle of a character
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto d = static_cast<unsigned char>(text[at + k]);
        if ((d & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (d & 0x3Fu);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    static constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (code < kLeast[extra] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return extra + 1;
}

namespace {

// One character of `text` at `at`, as visibleText shows it; `at` moves past it.
std::string visibleChar(std::string_view text, std::size_t& at) {
    const std::size_t bytes = utf8CharBytes(text, at);
    const auto c = static_cast<unsigned char>(text[at]);
    at += std::max<std::size_t>(bytes, 1);
    if (bytes == 0)
        return "\xEF\xBF\xBD"; // U+FFFD, the replacement character
    if (c < 0x20)              // U+2400 + c, the control picture: E2 90 80+c
        return {'\xE2', '\x90', static_cast<char>(0x80 + c)};
    if (c == 0x7F)
        return "\xE2\x90\xA1"; // ␡
    if (c == 0xC2 && static_cast<unsigned char>(text[at - 1]) < 0xA0)
        return "\xEF\xBF\xBD"; // a C1 control character, U+0080 to U+009F
    return std::string(text.substr(at - bytes, bytes));
}

} // namespace

std::string visibleText(std::string_view text) {
    std::string shown;
    for (std::size_t at = 0; at < text.size();)
        shown += visibleChar(text, at);
    return shown;
}

std::string shortQuote(std::string_view text) {
    std::string shown;
    std::size_t at = 0;
    for (std::size_t chars = 0; at < text.size() && chars < kQuotedChars; ++chars)
        shown += visibleChar(text, at);
    return "« " + shown + (at < text.size() ? "…" : "") + " »";
}

std::string quotedPath(std::string_view path) {
    if (path.size() <= kQuotedPathBytes)
        return "« " + visibleText(path) + " »";
    std::size_t start = path.size() - kQuotedPathBytes;
    while (start < path.size() && (static_cast<unsigned char>(path[start]) & 0xC0) == 0x80)
        ++start; // never cut a UTF-8 character in two
    return "« …" + visibleText(path.substr(start)) + " »";
}

std::string groupDigits(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), " ");
    return digits;
}

std::string frenchDecimal(double value, int decimals) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed << std::setprecision(decimals) << std::abs(value);
    std::string text = out.str();
    std::string fraction;
    if (const auto point = text.find('.'); point != std::string::npos) {
        fraction = text.substr(point + 1);
        text.resize(point);
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
    }
    const bool zero = text == "0" && fraction.empty(); // -0.0001 at 2 places is 0, not -0
    text = groupDigits(std::stoull(text)) + (fraction.empty() ? "" : "," + fraction);
    return value < 0 && !zero ? "-" + text : text;
}

std::string percentText(double share) {
    const double percent = 100.0 * share;
    int decimals = 1;
    if (percent > 0.0 && percent < 1.0)
        decimals = std::min(kMostDecimals, 1 - static_cast<int>(std::floor(std::log10(percent))));
    return frenchDecimal(percent, decimals) + " %";
}

Result<int> parseWhole(std::string_view text, int low, int high, const std::string& what,
                       int step) {
    const std::string from = groupDigits(static_cast<std::uint64_t>(low)) + " à " +
                             groupDigits(static_cast<std::uint64_t>(high));
    std::string range = "un nombre entier de " + from;
    if (step > 1) {
        range = "un multiple de " + std::to_string(step) + " de " + from;
    } else if (high - low < kSpelledValues) { // "2, 3 ou 4" says it best
        range = std::to_string(low);
        for (int value = low + 1; value <= high; ++value)
            range += (value == high ? " ou " : ", ") + std::to_string(value);
    }
    if (isBlank(text))
        return Refusal{"Indiquez " + what + " : " + range + "."};
    const auto value = wholeNumber(text);
    if (!value || *value < static_cast<std::uint64_t>(low) ||
        *value > static_cast<std::uint64_t>(high) || *value % static_cast<unsigned>(step) != 0)
        return Refusal{shortQuote(text) + " ne convient pas pour " + what + " : il faut " + range +
                       "."};
    return static_cast<int>(*value);
}

Result<std::uint32_t> parseSeed(std::string_view text) {
    const std::string range = "un nombre entier de 0 à " + groupDigits(UINT32_MAX);
    if (isBlank(text))
        return Refusal{"Indiquez la graine : " + range + "."};
    const auto value = wholeNumber(text);
    if (!value || *value > UINT32_MAX)
        return Refusal{shortQuote(text) + " ne convient pas pour la graine : il faut " + range +
                       "."};
    return static_cast<std::uint32_t>(*value);
}

} // namespace bocavo

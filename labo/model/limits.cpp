#include "labo/model/limits.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>

namespace bocavo::labo {
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

std::string shortQuote(std::string_view text) {
    std::size_t end = 0;
    for (std::size_t chars = 0; end < text.size() && chars < kQuotedChars; ++chars) {
        ++end; // past a character's first byte, then past its continuation bytes
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
    }
    return "« " + std::string(text.substr(0, end)) + (end < text.size() ? "…" : "") + " »";
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

Parsed<int> parseWhole(std::string_view text, int low, int high, const std::string& what) {
    const std::string range = "un nombre entier de " +
                              groupDigits(static_cast<std::uint64_t>(low)) + " à " +
                              groupDigits(static_cast<std::uint64_t>(high));
    if (isBlank(text))
        return {std::nullopt, "Indiquez " + what + " : " + range + "."};
    const auto value = wholeNumber(text);
    if (!value || *value < static_cast<std::uint64_t>(low) ||
        *value > static_cast<std::uint64_t>(high))
        return {std::nullopt,
                shortQuote(text) + " ne convient pas pour " + what + " : il faut " + range + "."};
    return {static_cast<int>(*value), {}};
}

Parsed<int> parseClasses(std::string_view text) {
    return parseWhole(text, kMinClasses, kMaxClasses, "le nombre de classes");
}

Parsed<int> parseGenerations(std::string_view text) {
    return parseWhole(text, kMinGenerations, kMaxGeneration, "le nombre de générations");
}

Parsed<int> parseEvery(std::string_view text) {
    return parseWhole(text, kMinEvery, kMaxEvery, "l'intervalle entre générations gardées");
}

Parsed<std::uint32_t> parseSeed(std::string_view text) {
    const std::string range = "un nombre entier de 0 à " + groupDigits(UINT32_MAX);
    if (isBlank(text))
        return {std::nullopt, "Indiquez la graine : " + range + "."};
    const auto value = wholeNumber(text);
    if (!value || *value > UINT32_MAX)
        return {std::nullopt,
                shortQuote(text) + " ne convient pas pour la graine : il faut " + range + "."};
    return {static_cast<std::uint32_t>(*value), {}};
}

} // namespace bocavo::labo

#include "core/run/group_options.h"

#include "core/text/user_text.h"

#include <array>
#include <string>

namespace bocavo {
namespace {

inline constexpr std::string_view kGroupOption = "--groupe";
inline constexpr std::string_view kSeedOption = "--graine";
inline constexpr std::string_view kOptionPrefix = "--";

// An address's %XX escapes as the bytes they stand for; a '%' without two hex
// digits after it stays as it is, for the refusal to quote.
std::string percentDecoded(std::string_view text) {
    const auto hex = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 &&
            hex(text[i + 2]) >= 0) {
            out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

GroupChoice readGroupOptions(const std::vector<std::string_view>& arguments) {
    Group group;
    std::array<bool, 2> seen{}; // --groupe, --graine
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view name = arguments[i];
        std::optional<std::string_view> value;
        if (const auto equals = name.find('='); equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const bool isGroup = name == kGroupOption;
        if (!isGroup && name != kSeedOption)
            continue; // not ours: ignored, as every argument used to be
        if (seen[isGroup ? 0 : 1])
            return Refusal{"L'option " + std::string(name) + " est donnée deux fois."};
        seen[isGroup ? 0 : 1] = true;
        if (!value) {
            if (i + 1 >= arguments.size() || arguments[i + 1].starts_with("--"))
                return Refusal{"L'option " + std::string(name) + " attend une valeur."};
            value = arguments[++i];
        }
        if (isGroup) {
            const auto parsed = parseWhole(*value, kFirstGroup, kLastGroup, "le groupe");
            if (!parsed)
                return Refusal{parsed.reason()};
            group.number = *parsed;
        } else {
            const auto parsed = parseSeed(*value);
            if (!parsed)
                return Refusal{parsed.reason()};
            group.seed = *parsed;
        }
    }
    if (seen[0] || seen[1])
        return std::optional(group);
    return std::optional<Group>();
}

GroupChoice readGroupFragment(std::string_view fragment) {
    if (fragment.starts_with('#'))
        fragment.remove_prefix(1);
    std::vector<std::string> options;
    while (!fragment.empty()) {
        const auto end = fragment.find('&');
        const std::string_view pair = fragment.substr(0, end);
        if (!pair.empty())
            options.push_back(std::string(kOptionPrefix) + percentDecoded(pair));
        fragment = end == std::string_view::npos ? std::string_view{} : fragment.substr(end + 1);
    }
    return readGroupOptions(std::vector<std::string_view>(options.begin(), options.end()));
}

} // namespace bocavo

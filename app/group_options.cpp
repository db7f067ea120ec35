#include "app/group_options.h"

#include "core/text/user_text.h"

#include <array>

namespace bocavo {
namespace {

inline constexpr std::string_view kGroupOption = "--groupe";
inline constexpr std::string_view kSeedOption = "--graine";

} // namespace

GroupChoice readGroupOptions(const std::vector<std::string_view>& arguments) {
    GroupChoice choice;
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
        if (seen[isGroup ? 0 : 1]) {
            choice.error = "L'option " + std::string(name) + " est donnée deux fois.";
            return choice;
        }
        seen[isGroup ? 0 : 1] = true;
        if (!value) {
            if (i + 1 >= arguments.size() || arguments[i + 1].starts_with("--")) {
                choice.error = "L'option " + std::string(name) + " attend une valeur.";
                return choice;
            }
            value = arguments[++i];
        }
        if (isGroup) {
            const auto parsed = parseWhole(*value, kFirstGroup, kLastGroup, "le groupe");
            choice.error = parsed.error;
            group.number = parsed.value.value_or(group.number);
        } else {
            const auto parsed = parseSeed(*value);
            choice.error = parsed.error;
            group.seed = parsed.value.value_or(group.seed);
        }
        if (!choice.error.empty())
            return choice;
    }
    if (seen[0] || seen[1])
        choice.group = group;
    return choice;
}

} // namespace bocavo

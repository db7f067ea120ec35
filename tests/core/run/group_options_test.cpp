// The group a start shows, from the desktop's options and from the page's
// address: the same values give the same group, or the same French refusal.
#include "core/run/group_options.h"

#include <gtest/gtest.h>

namespace bocavo {
namespace {

struct Case {
    std::string_view fragment;
    std::vector<std::string_view> arguments; // the same choice on the command line
    std::optional<Group> group;
    std::string error;
};

TEST(GroupOptions, TheAddressAndTheCommandLineChooseAndRefuseAlike) {
    constexpr auto fixed = Source_Aleatoire::kFixedSeed;
    const std::string groupRange =
        " ne convient pas pour le groupe : il faut un nombre entier de 1 à 1 000.";
    const std::string seedRange =
        " ne convient pas pour la graine : il faut un nombre entier de 0 à 4 294 967 295.";
    const std::vector<Case> cases{
        {"", {}, std::nullopt, ""},
        {"#", {}, std::nullopt, ""},
        {"#groupe=7&graine=1993", {"--groupe=7", "--graine=1993"}, Group{7, 1993}, ""},
        {"groupe=1000", {"--groupe", "1000"}, Group{1000, fixed}, ""},
        {"graine=0", {"--graine=0"}, Group{1, 0}, ""},
        {"#groupe=%37&graine=4294967295",
         {"--groupe=7", "--graine=4294967295"},
         Group{7, 4294967295u},
         ""},
        {"vue=2&&groupe=3", {"--vue=2", "--groupe=3"}, Group{3, fixed}, ""},
        {"groupe=0", {"--groupe", "0"}, std::nullopt, "« 0 »" + groupRange},
        {"groupe=1001", {"--groupe=1001"}, std::nullopt, "« 1001 »" + groupRange},
        {"groupe=sept", {"--groupe=sept"}, std::nullopt, "« sept »" + groupRange},
        {"groupe=%E9", {"--groupe=\xE9"}, std::nullopt, "« � »" + groupRange},
        {"groupe=50%", {"--groupe=50%"}, std::nullopt, "« 50% »" + groupRange},
        {"groupe", {"--groupe"}, std::nullopt, "L'option --groupe attend une valeur."},
        {"groupe=3&groupe=4",
         {"--groupe=3", "--groupe", "4"},
         std::nullopt,
         "L'option --groupe est donnée deux fois."},
        {"groupe=2&graine=-1", {"--groupe=2", "--graine=-1"}, std::nullopt, "« -1 »" + seedRange},
        {"graine=4294967296",
         {"--graine", "4294967296"},
         std::nullopt,
         "« 4294967296 »" + seedRange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fragment));
        const GroupChoice fromAddress = readGroupFragment(c.fragment);
        const GroupChoice fromOptions = readGroupOptions(c.arguments);
        EXPECT_EQ(fromAddress.reason(), c.error);
        EXPECT_EQ(fromOptions.reason(), c.error);
        if (c.error.empty()) {
            ASSERT_TRUE(fromAddress && fromOptions);
            EXPECT_EQ(*fromAddress, c.group);
            EXPECT_EQ(*fromOptions, c.group);
        }
    }
}

} // namespace
} // namespace bocavo

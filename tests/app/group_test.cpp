// Group K of seed S in the classroom program shows, generation by generation,
// what the laboratory records for class K of seed S with the classroom's
// settings: one Simulation, then Next generation again and again.
#include "core/lab/science/experiment.h"
#include "core/run/run_core.h"

#include <gtest/gtest.h>
#include <string>

namespace bocavo {
namespace {

inline constexpr int kGenerations = 50;

// Copies of alleles 1..4 in a grid.
labo::Counts countsOf(const GenotypeCells& cells) {
    labo::Counts counts{};
    for (const auto& row : cells)
        for (const std::int16_t allele : row) {
            EXPECT_TRUE(allele >= 1 && allele <= kAlleles);
            ++counts[static_cast<std::size_t>(allele - 1)];
        }
    return counts;
}

// `count` copies of 40 as the panels write it, worked out in tenths of a percent.
std::string frequencyOf(int count) {
    const int tenths = count * 25;
    return std::to_string(tenths / 10) + (tenths % 10 ? ",5" : "") + "%";
}

void expectPanel(const std::array<std::string, kAlleles>& texts, const labo::Counts& counts,
                 const std::string& where) {
    for (std::size_t k = 0; k < texts.size(); ++k)
        EXPECT_EQ(texts[k], frequencyOf(counts[k])) << where << ", allele " << k + 1;
}

TEST(Groups, EachGroupShowsItsClassOfTheLaboratory) {
    // Seeds: the default, zero, the largest, and an ordinary one; groups at
    // both ends of the range and between.
    for (const std::uint32_t seed : {labo::kDefaultSeed, 0u, 4294967295u, 271828u}) {
        labo::Experiment lab(kLastGroup, seed);
        lab.advanceTo(kGenerations);
        for (const int number : {kFirstGroup, 2, 7, 30, 613, kLastGroup}) {
            const std::string group =
                "groupe " + std::to_string(number) + " de graine " + std::to_string(seed);
            RunCore core(",", Group{number, seed});
            core.simulation();
            for (int g = 1; g <= kGenerations; ++g) {
                if (g > 1)
                    core.nextGeneration();
                const Screen& s = core.screen();
                const std::string where = group + ", génération " + std::to_string(g);
                ASSERT_EQ(s.generation, g);
                ASSERT_EQ(countsOf(s.parents), lab.counts(number, g - 1)) << where;
                ASSERT_EQ(countsOf(s.children), lab.counts(number, g)) << where;
                expectPanel(s.childFrequencies, lab.counts(number, g), where);
                if (g > 1)
                    expectPanel(s.parentFrequencies, lab.counts(number, g - 1), where);
            }
        }
    }
}

// Without a group the program is group 1 of the fixed seed, as it always was;
// another group or another seed is another draw.
TEST(Groups, TheDefaultIsGroupOneOfTheFixedSeed) {
    auto firstScreen = [](auto... group) {
        RunCore core(",", group...);
        core.simulation();
        core.nextGeneration();
        return core.screen();
    };
    const Screen today = firstScreen();
    EXPECT_EQ(firstScreen(Group{1, Source_Aleatoire::kFixedSeed}), today);
    EXPECT_NE(firstScreen(Group{2, Source_Aleatoire::kFixedSeed}), today);
    EXPECT_NE(firstScreen(Group{1, 1994}), today);
}

} // namespace
} // namespace bocavo

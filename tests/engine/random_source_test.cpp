// The random source and Tirage.
#include "engine/random_source.h"
#include "scripted_source.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace bocavo {
namespace {

using test::ScriptedSource;

constexpr float kLargestU = 1.0f - 0x1p-24f;

// The default state is the fixed seed, and another seed gives another run
// (the companion lab relies on both).
TEST(SourceTest, TheSeedChoosesTheSequence) {
    Source_Aleatoire fixed;
    Source_Aleatoire same(Source_Aleatoire::kFixedSeed);
    Source_Aleatoire other(Source_Aleatoire::kFixedSeed + 1);
    int differ = 0;
    for (int n = 0; n < 100; ++n) {
        const float u = fixed.next();
        ASSERT_EQ(u, same.next());
        differ += u != other.next();
    }
    EXPECT_GT(differ, 95);
}

// Each of the four sub-intervals of Tirage(4) gets a quarter of 400 000 draws
// (standard deviation about 274).
TEST(SourceTest, DrawsAreUniform) {
    Source_Aleatoire source;
    std::array<int, 5> seen{};
    for (int n = 0; n < 400000; ++n)
        ++seen.at(static_cast<std::size_t>(Tirage(source, 4)));
    EXPECT_EQ(seen[0], 0);
    for (std::size_t k = 1; k <= 4; ++k)
        EXPECT_NEAR(seen[k], 100000, 1400) << "value " << k;
}

TEST(SourceTest, ValuesLieInTheUnitIntervalWith24Bits) {
    Source_Aleatoire source;
    for (int n = 0; n < 100000; ++n) {
        const float u = source.next();
        ASSERT_GE(u, 0.0f);
        ASSERT_LT(u, 1.0f);
        const double scaled = static_cast<double>(u) * 0x1p24;
        ASSERT_EQ(scaled, std::floor(scaled)) << "u = " << u;
    }
}

TEST(SourceTest, TwoFreshSourcesAgree) {
    Source_Aleatoire a;
    Source_Aleatoire b;
    for (int n = 0; n < 1000; ++n)
        ASSERT_EQ(a.next(), b.next());
}

// The ends of [0, 1): u = 0 gives 1, and the largest u gives N, never N + 1.
TEST(TirageTest, EndsOfTheIntervalGiveOneAndN) {
    for (const std::int16_t n : {2, 4, 20}) {
        ScriptedSource source({0.0f, kLargestU});
        EXPECT_EQ(Tirage(source, n), 1) << "N = " << n;
        EXPECT_EQ(Tirage(source, n), n) << "N = " << n;
    }
}

// Why the widening matters: in single precision 2u + 1 and 4u + 1 round up to
// the next integer for the largest u.
TEST(TirageTest, SinglePrecisionWouldOverflowTheRange) {
    for (const int n : {2, 4}) {
        const float t = static_cast<float>(n) * kLargestU + 1.0f;
        EXPECT_EQ(static_cast<int>(std::floor(t)), n + 1);
    }
}

TEST(TirageTest, SplitsTheIntervalEvenly) {
    ScriptedSource source({0.2499999f, 0.25f, 0.5f, 0.7499999f, 0.75f});
    EXPECT_EQ(Tirage(source, 4), 1);
    EXPECT_EQ(Tirage(source, 4), 2);
    EXPECT_EQ(Tirage(source, 4), 3);
    EXPECT_EQ(Tirage(source, 4), 3);
    EXPECT_EQ(Tirage(source, 4), 4);
}

TEST(TirageTest, RefusesAnEmptyRange) {
    ScriptedSource source({0.5f});
    EXPECT_THROW(Tirage(source, 0), EngineError);
}

} // namespace
} // namespace bocavo

// What must come out the same on the desktop and in the page, whose C
// libraries differ: the geometric gaps of mutation and migration, and the
// decimal rates of scenarios. Built natively and for WebAssembly (run under
// node), so that both check the same table.
#include "core/lab/science/deme.h"
#include "core/lab/science/settings.h"
#include "core/text/user_text.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>

namespace bocavo::labo {
namespace {

// Hands out one chosen value, as the program's source would.
struct OneValue {
    float value;
    float next() const { return value; }
};

// The gap is floor(ln(1 − v) / ln(1 − p)) for every value v the source can
// give (a stride through its 2^24 values, the ends included). The library's
// logarithm is close enough for a reference except within 1e-9 of a whole
// number, where the last bits decide and the gap may fall either side.
TEST(ExactTest, GeometricGapsFollowTheLogarithmsLaw) {
    for (const double p : {0.5, 0.1, 0.01, 0.001, 1e-6}) {
        const GeometricGaps gaps(p);
        ASSERT_TRUE(gaps.on());
        int checked = 0;
        for (std::uint32_t k = 0; k < (1u << 24); k += k < 100 || k > (1u << 24) - 100 ? 1 : 997) {
            const float v = static_cast<float>(k) * 0x1p-24f;
            const double exact = std::log1p(-static_cast<double>(v)) / std::log1p(-p);
            OneValue source{v};
            const int gap = gaps.next(source);
            if (std::abs(exact - std::round(exact)) < 1e-9 * std::max(1.0, exact))
                EXPECT_NEAR(gap, exact, 1.0) << "p = " << p << ", v = " << v;
            else
                EXPECT_EQ(gap, static_cast<int>(std::floor(exact))) << "p = " << p << ", v = " << v;
            ++checked;
        }
        EXPECT_GT(checked, 16000);
    }
    EXPECT_FALSE(GeometricGaps(0.0).on());
}

// Rates as scenarios and fields give them, read to the nearest double and
// written back shortest, whatever the C locale's decimal point.
TEST(ExactTest, RatesReadAndWriteExactlyInAnyLocale) {
    struct Case {
        const char* text;
        double value;
        const char* shortest;
    };
    const Case cases[] = {
        {"0", 0.0, "0"},
        {"0.001", 0.001, "0.001"},
        {".5", 0.5, "0.5"},
        {"0.1000", 0.1, "0.1"},
        {"12", 12.0, "12"},
        {"1000000", 1e6, "1000000"},
        {"0.000001", 1e-6, "0.000001"},
        {"0.30000000000000004", 0.30000000000000004, "0.30000000000000004"},
        {"0.0123456789012345678", 0.0123456789012345678, "0.012345678901234568"},
    };
    for (const char* locale : {"C", "fr_FR.UTF-8", "de_DE.UTF-8"}) {
        std::setlocale(LC_NUMERIC, locale); // where it exists: the others change nothing
        for (const Case& c : cases) {
            EXPECT_EQ(decimalValue(c.text), c.value) << c.text << " in " << locale;
            EXPECT_EQ(shortestDecimal(c.value), c.shortest) << c.text << " in " << locale;
        }
        for (const char* refused : {"", ".", "1.2.3", "1e-3", "-1", "0,5", " 1", "0x1"})
            EXPECT_EQ(decimalValue(refused), std::nullopt) << refused << " in " << locale;
        EXPECT_EQ(fixedDecimal(0.0078125, 6), "0.007812") << locale; // a tie: to even, exactly
        EXPECT_EQ(fixedDecimal(2.0 / 3.0, 6), "0.666667") << locale;
        EXPECT_EQ(fixedDecimal(1234.5, 0), "1234") << locale;
    }
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(rateText(kMaxMutation), "0.1");
    EXPECT_EQ(*parseRate("0.05", kMaxMigration, "le taux de migration"), 0.05);
    EXPECT_FALSE(parseRate("0.6", kMaxMigration, "le taux de migration"));
}

} // namespace
} // namespace bocavo::labo

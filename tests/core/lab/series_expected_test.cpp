// A series of sizes against what drift predicts: the smaller the population,
// the more classes lose an allele and the less heterozygosity is left. Each
// tolerance is four standard errors of the simulated figure (a false failure
// about once in 15 000 comparisons): for a share of n classes √(p(1 − p)/n),
// for a mean heterozygosity at most 0.5/√n, since each class's lies in [0, 1].
#include "core/lab/science/size_series.h"

#include <cmath>
#include <gtest/gtest.h>

namespace bocavo::labo {
namespace {

constexpr double kStandardErrors = 4.0;

double shareError(double p, int classes) {
    return std::sqrt(p * (1.0 - p) / classes);
}

std::vector<SeriesRow> runSeries(const Settings& set, std::vector<int> sizes, int classes,
                                 int last) {
    SizeSeries series(set, std::move(sizes), classes, last, 2024);
    EXPECT_TRUE(series.run());
    return series.rows();
}

// The classroom protocol, where no exact chance of a loss exists: each larger
// size loses an allele in fewer classes, by more than the noise allows, and
// keeps the heterozygosity the exact recursion expects.
TEST(SeriesExpectedTest, SmallerPopulationsLoseMoreUnderTheProtocol) {
    constexpr int kClasses = 300;
    const auto rows = runSeries(Settings{}, {10, 20, 40}, kClasses, 15);
    ASSERT_EQ(rows.size(), 3u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].individuals);
        ASSERT_TRUE(rows[i].expectedHeterozygosity);
        EXPECT_NEAR(rows[i].meanHeterozygosity, *rows[i].expectedHeterozygosity,
                    kStandardErrors * 0.5 / std::sqrt(kClasses));
        EXPECT_FALSE(rows[i].expectedLostShare);
        if (i + 1 == rows.size())
            continue;
        const double a = rows[i].lostShare;
        const double b = rows[i + 1].lostShare;
        EXPECT_GT(a - b,
                  kStandardErrors * std::hypot(shareError(a, kClasses), shareError(b, kClasses)))
            << a << " then " << b;
    }
}

// The ideal model, where the chance of a loss is exact: the simulated share
// of every size lies within its tolerance of it, for two and four alleles.
TEST(SeriesExpectedTest, TheIdealModelLosesAsItsChainSays) {
    constexpr int kClasses = 1000;
    Settings two;
    two.model = Model::WrightFisher;
    two.alleles = 2;
    two.urn = {8, 32, 0, 0};
    Settings four;
    four.model = Model::WrightFisher;
    for (const Settings& set : {two, four}) {
        const auto rows = runSeries(set, {10, 20, 50}, kClasses, 40);
        double before = 1.0;
        for (const SeriesRow& row : rows) {
            SCOPED_TRACE(row.individuals);
            ASSERT_TRUE(row.expectedLostShare);
            const double p = *row.expectedLostShare;
            EXPECT_NEAR(row.lostShare, p, kStandardErrors * shareError(p, kClasses) + 1e-3);
            EXPECT_LT(p, before); // in expectation, strictly fewer losses as N grows
            before = p;
            ASSERT_TRUE(row.expectedHeterozygosity);
            EXPECT_NEAR(row.meanHeterozygosity, *row.expectedHeterozygosity,
                        kStandardErrors * 0.5 / std::sqrt(kClasses));
        }
    }
}

} // namespace
} // namespace bocavo::labo

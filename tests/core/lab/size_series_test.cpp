// A series of sizes: its reading of the sizes, its sets at each size, its
// median of first losses, its exact chance of a loss, and its runs (seeded
// as the lab seeds classes, and unchanged by a cancel).
#include "core/lab/science/size_series.h"
#include "core/lab/science/statistics.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

namespace bocavo::labo {
namespace {

TEST(SizeSeriesTest, SizesAreReadSortedOrRefusedInFrench) {
    struct Case {
        const char* text;
        std::vector<int> sizes; // empty: refused
        const char* words;      // in the refusal
    };
    const Case cases[] = {
        {"10,20,50,100,200", {10, 20, 50, 100, 200}, ""},
        {"200, 10 ,50", {10, 50, 200}, ""},
        {"20", {}, "au moins 2 tailles"},
        {"10,20,20", {}, "La taille 20 est donnée deux fois"},
        {"5,10", {}, "« 5 » ne convient pas pour une taille de la série"},
        {"10,20000", {}, "de 10 à 10 000"},
        {"10,20,30,40,50,60,70,80,90", {}, "9 tailles : 8 au plus"},
        {"10,,20", {}, "Indiquez une taille de la série"},
        {"10;20", {}, "ne convient pas"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto sizes = parseSizes(c.text);
        if (c.sizes.empty()) {
            ASSERT_FALSE(sizes);
            EXPECT_NE(sizes.reason().find(c.words), std::string::npos) << sizes.reason();
        } else {
            ASSERT_TRUE(sizes) << sizes.reason();
            EXPECT_EQ(*sizes, c.sizes);
        }
    }
}

TEST(SizeSeriesTest, EachSizeKeepsTheUrnsProportionsOrIsRefused) {
    Settings uneven;
    uneven.alleles = 2;
    uneven.urn = {4, 36, 0, 0};
    uneven.fitness = {120, 100, 100, 100};
    uneven.mutation = 0.001;
    Settings odd = uneven;
    odd.urn = {1, 39, 0, 0};
    Settings three;
    three.alleles = 3;
    three.urn = evenUrn(20, 3);
    struct Case {
        const char* name;
        Settings set;
        int size;
        std::array<int, 4> urn; // all 0: refused
        const char* words;
    };
    const Case cases[] = {
        {"even urn stays even", Settings{}, 10, {5, 5, 5, 5}, ""},
        {"even urn of three alleles", three, 50, {34, 33, 33, 0}, ""},
        {"uneven urn keeps its shares", uneven, 50, {10, 90, 0, 0}, ""},
        {"uneven urn halves", uneven, 10, {2, 18, 0, 0}, ""},
        {"shares that do not divide", odd, 10, {}, "ne peut pas garder les proportions"},
        {"a size the model refuses",
         Settings{},
         15,
         {},
         "multiple de 10 de 10 à 10 000 (et non 15)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto at = settingsAtSize(c.set, c.size);
        if (c.urn == std::array<int, 4>{}) {
            ASSERT_FALSE(at);
            EXPECT_NE(at.reason().find(c.words), std::string::npos) << at.reason();
            EXPECT_FALSE(checkSeries(c.set, {20, c.size}));
            continue;
        }
        ASSERT_TRUE(at) << at.reason();
        EXPECT_EQ(at->individuals, c.size);
        EXPECT_EQ(at->urn, c.urn);
        Settings rest = *at; // all but N and the urn is the set's own
        rest.individuals = c.set.individuals;
        rest.urn = c.set.urn;
        EXPECT_EQ(rest, c.set);
    }
}

// Classes that never lose an allele count as past the end: they pull the
// median up to « au-delà » rather than vanish from it.
TEST(SizeSeriesTest, TheMedianCountsClassesThatNeverLose) {
    struct Case {
        std::vector<int> firstLosses; // −1: none by the end
        std::optional<int> median;
    };
    const Case cases[] = {
        {{}, std::nullopt},
        {{5}, 5},
        {{-1}, std::nullopt},
        {{3, 7, -1}, 7},             // dropping the −1 would give 5
        {{3, -1, -1}, std::nullopt}, // dropping them would give 3
        {{4, 2, -1, -1}, 4},         // half had lost one by 4
        {{1, -1, -1, -1}, std::nullopt},
        {{0, 0, 10}, 0},
        {{9, 8, 7, 6, 5}, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.firstLosses));
        EXPECT_EQ(medianFirstLoss(c.firstLosses), c.median);
    }
}

// The chance of a loss from every state of the ideal model's chain of
// multinomial draws, K = 3 alleles on 2N = 20 copies: an independent
// computation of what the per-group binomial chains give by inclusion–exclusion.
TEST(SizeSeriesTest, TheChanceOfALossIsTheMultinomialChains) {
    constexpr int kCopies = 20;
    using State = std::array<int, 3>;
    std::vector<State> states;
    for (int a = 0; a <= kCopies; ++a)
        for (int b = 0; a + b <= kCopies; ++b)
            states.push_back({a, b, kCopies - a - b});
    const auto draw = [](const State& from, const State& to) {
        double log = std::lgamma(kCopies + 1.0);
        for (std::size_t k = 0; k < 3; ++k) {
            if (to[k] > 0 && from[k] == 0)
                return 0.0;
            log -= std::lgamma(to[k] + 1.0);
            if (to[k] > 0)
                log += to[k] * std::log(from[k] / double(kCopies));
        }
        return std::exp(log);
    };
    std::map<State, double> now{{{2, 7, 11}, 1.0}};
    Settings s;
    s.individuals = kCopies / 2;
    s.model = Model::WrightFisher;
    s.alleles = 3;
    s.urn = {2, 7, 11, 0};
    for (int t = 1; t <= 12; ++t) {
        std::map<State, double> next;
        for (const auto& [from, chance] : now)
            for (const State& to : states)
                next[to] += chance * draw(from, to);
        now = next;
        double lost = 0.0;
        for (const auto& [state, chance] : now)
            if (state[0] == 0 || state[1] == 0 || state[2] == 0)
                lost += chance;
        SCOPED_TRACE(t);
        ASSERT_TRUE(expectedLossShare(s, t));
        EXPECT_NEAR(*expectedLossShare(s, t), lost, 1e-12);
    }
}

TEST(SizeSeriesTest, AChanceOfALossIsGivenOnlyWhereItIsExact) {
    Settings ideal;
    ideal.model = Model::WrightFisher;
    Settings large = ideal;
    large.individuals = 1000;
    large.urn = evenUrn(1000, 4);
    Settings selected = ideal;
    selected.fitness = {110, 100, 100, 100};
    Settings mutating = ideal;
    mutating.mutation = 0.01;
    Settings linked = ideal;
    linked.migration = 0.1;
    EXPECT_TRUE(expectedLossShare(ideal, 100));
    EXPECT_TRUE(expectedLossShare(ideal, kMaxGeneration)); // the chain settles long before
    Settings bottleneck = ideal;
    bottleneck.sizes = {{20, 10}, {25, 20}};
    Settings sampled = ideal;
    sampled.urn = {20, 20, 20, 20};
    for (const Settings& s : {Settings{}, large, selected, mutating, linked, bottleneck, sampled})
        EXPECT_FALSE(expectedLossShare(s, 100));
    // A series cannot vary N under a history that sets it.
    const auto refused = settingsAtSize(bottleneck, 40);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.reason().find("histoire de N"), std::string::npos);
}

struct Rows {
    std::vector<SeriesRow> rows;
    bool operator==(const Rows& other) const {
        if (rows.size() != other.rows.size())
            return false;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const SeriesRow& a = rows[i];
            const SeriesRow& b = other.rows[i];
            if (a.individuals != b.individuals || a.lostClasses != b.lostClasses ||
                a.medianFirstLoss != b.medianFirstLoss ||
                a.meanHeterozygosity != b.meanHeterozygosity)
                return false;
        }
        return true;
    }
};

Rows straightRun(const Settings& set, std::uint32_t seed) {
    SizeSeries series(set, {10, 20, 40}, 30, 60, seed);
    EXPECT_TRUE(series.run());
    return {series.rows()};
}

// Each size's classes are the lab's own for that size and seed, so a series
// is reproducible from its seed and a class can be looked at in the lab.
TEST(SizeSeriesTest, EachSizeIsTheLabsRunOfItsSeed) {
    Settings ideal;
    ideal.model = Model::WrightFisher;
    for (const Settings& set : {Settings{}, ideal}) {
        const Rows rows = straightRun(set, 5);
        ASSERT_EQ(rows.rows.size(), 3u);
        EXPECT_EQ(rows, straightRun(set, 5));
        EXPECT_FALSE(rows == straightRun(set, 6));
        for (const SeriesRow& row : rows.rows) {
            Experiment lab(*settingsAtSize(set, row.individuals), 30, 5);
            lab.advanceTo(60);
            Statistics statistics;
            statistics.reset(30);
            statistics.update(lab);
            EXPECT_EQ(row.meanHeterozygosity, statistics.meanHeterozygosity().back());
            int lost = 0;
            for (int c = 1; c <= 30; ++c)
                for (int g = 0; g <= 60; ++g)
                    if (hasLoss(lab.counts(c, g), set.alleles)) {
                        ++lost;
                        break;
                    }
            EXPECT_EQ(row.lostClasses, lost);
        }
    }
}

// A cancel stops within the size under way; going on gives the rows of a run
// never stopped, and progress only moves forward, ending at 1.
TEST(SizeSeriesTest, ACancelChangesNoRow) {
    const Rows straight = straightRun(Settings{}, 9);
    SizeSeries series(Settings{}, {10, 20, 40}, 30, 60, 9);
    std::atomic<bool> cancel{false};
    double lastDone = 0.0;
    int stops = 0;
    Control control;
    control.cancel = &cancel;
    control.progress = [&](int, double done) {
        EXPECT_GE(done, lastDone);
        lastDone = done;
        cancel = series.rowsDone() >= 1; // stop as soon as the second size is under way
    };
    control.threads = 1;
    while (!series.run(control)) {
        ++stops;
        cancel = false;
        control.progress = [&](int, double done) {
            EXPECT_GE(done, lastDone);
            lastDone = done;
        };
    }
    EXPECT_EQ(stops, 1);
    EXPECT_DOUBLE_EQ(lastDone, 1.0);
    EXPECT_EQ(Rows{series.rows()}, straight);
}

// The page runs a series in slices, stopping it at every step: its progress
// is still the share of the whole series done, not of the slice.
TEST(SizeSeriesTest, ProgressGrowsAcrossPauses) {
    // Sizes large enough that each takes several steps of the lab's breeding.
    const std::vector<int> sizes{500, 1000};
    SizeSeries straight(Settings{}, sizes, 30, 60, 9);
    ASSERT_TRUE(straight.run());
    SizeSeries series(Settings{}, sizes, 30, 60, 9);
    std::atomic<bool> pause{false};
    std::vector<double> shares;
    Control control;
    control.cancel = &pause;
    control.progress = [&](int generation, double done) {
        // The share of the whole series' work: sizes done, and this one's generations.
        const double before = series.rowsDone() == 0 ? 0.0 : 500.0;
        const double size = sizes[static_cast<std::size_t>(series.rowsDone())];
        EXPECT_NEAR(done, (before + size * std::max(0, generation) / 60.0) / 1500.0, 1e-12);
        shares.push_back(done);
        pause = true;
    };
    control.threads = 1;
    int slices = 1;
    for (; !series.run(control); ++slices)
        pause = false;
    EXPECT_GT(slices, 3);
    ASSERT_FALSE(shares.empty());
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_DOUBLE_EQ(shares.back(), 1.0);
    EXPECT_EQ(Rows{series.rows()}, Rows{straight.rows()});
}

} // namespace
} // namespace bocavo::labo

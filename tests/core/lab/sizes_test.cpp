// A set's size history and its source urn: how they are read and refused,
// what the protocol's broods become when the size changes, and the figures
// and records that must follow the number of copies generation by generation.
#include "core/lab/files/csv_format.h"
#include "core/lab/science/deme.h"
#include "core/lab/science/fixation.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"

#include <gtest/gtest.h>
#include <numeric>
#include <sstream>

namespace bocavo::labo {
namespace {

TEST(SizesTest, HistoriesAreReadAndRefusedInFrench) {
    const struct {
        const char* text;
        std::vector<SizeChange> sizes;
    } good[] = {
        {"20:10, 25:200", {{20, 10}, {25, 200}}},
        {"  3 : 1 ", {{3, 1}}},
        {"", {}},
        {"32767:10000", {{32767, 10'000}}},
    };
    for (const auto& c : good) {
        const auto parsed = parseSizeHistory(c.text);
        ASSERT_TRUE(parsed) << c.text << " : " << parsed.reason();
        EXPECT_EQ(*parsed, c.sizes) << c.text;
    }
    for (const char* bad : {"20", "20:", ":10", "0:10", "20:0", "20:10,", "20:10;25:200",
                            "32768:10", "20:10001", "20:-5", "20:1.5"}) {
        const auto parsed = parseSizeHistory(bad);
        EXPECT_FALSE(parsed) << bad;
        EXPECT_NE(parsed.reason().find("l'histoire de la taille"), std::string::npos) << bad;
    }
    EXPECT_EQ(sizesText({{20, 10}, {25, 200}}), "20:10, 25:200");
}

TEST(SizesTest, SetsAreCheckedAgainstTheirModel) {
    Settings s;
    const struct {
        Model model;
        std::vector<SizeChange> sizes;
        const char* fault; // "" when accepted
    } cases[] = {
        {Model::WrightFisher, {{20, 1}, {25, 10'000}}, ""},
        {Model::WrightFisher, {{20, 15}}, ""},
        {Model::Protocole, {{20, 10}, {25, 200}}, ""},
        {Model::Protocole, {{20, 15}}, "À la génération 20, N doit être un multiple de 10"},
        {Model::WrightFisher, {{20, 0}}, "À la génération 20, N doit aller de 1 à 10 000"},
        {Model::WrightFisher, {{20, 5}, {20, 6}}, "doivent aller en croissant (20 après 20)"},
        {Model::WrightFisher, {{0, 5}}, "vont de 1 à 32 767 (et non 0)"},
    };
    for (const auto& c : cases) {
        s.model = c.model;
        s.sizes = c.sizes;
        const std::string fault = checkSettings(s).reason();
        if (*c.fault == '\0')
            EXPECT_EQ(fault, "") << sizesText(c.sizes);
        else
            EXPECT_NE(fault.find(c.fault), std::string::npos) << fault;
    }
    s.sizes = {{20, 10}, {25, 200}, {30, 15}};
    EXPECT_EQ(s.individualsAt(0), 20);
    EXPECT_EQ(s.individualsAt(19), 20);
    EXPECT_EQ(s.individualsAt(24), 10);
    EXPECT_EQ(s.copiesAt(29), 400);
    EXPECT_EQ(s.individualsAt(kMaxGeneration), 15);
    EXPECT_EQ(s.mostIndividuals(), 200);
    EXPECT_EQ(distinctSizes(s), (std::vector<int>{20, 10, 200, 15}));
    // An urn larger than 2N is a source; a smaller one or an overfull
    // compartment is refused.
    s.sizes.clear();
    s.urn = {1000, 10, 10, 10};
    EXPECT_TRUE(s.sourceUrn());
    EXPECT_TRUE(checkSettings(s));
    s.urn = {9, 10, 10, 10};
    EXPECT_EQ(checkSettings(s).reason(),
              "L'urne doit contenir au moins 2N = 40 boules pour 20 individus, "
              "et non 39.");
    s.urn = {20'001, 10, 10, 10};
    EXPECT_EQ(checkSettings(s).reason(), "L'urne contient de 0 à 20 000 boules de chaque allèle.");
}

TEST(SizesTest, ProtocolCouplesBreedAnyMultipleOfTen) {
    const struct {
        int parents, children;
        std::vector<int> perParent;
    } cases[] = {
        // Five couples, 30 children: broods of 12, 9, 6 and 3 taken in turn.
        {10, 30, {8, 8, 7, 7, 6, 6, 5, 5, 4, 4}},
        // Ten couples, 10 children: the last six couples have none.
        {20, 10, {4, 4, 3, 3, 2, 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {10, 10, {4, 4, 3, 3, 2, 2, 1, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(offspringPerParent(c.parents, c.children), c.perParent) << c.children;
        Settings s;
        s.individuals = c.parents;
        s.urn = evenUrn(c.parents, 4);
        s.sizes = {{1, c.children}};
        // (N·k̄ − 1)/(k̄ − 1 + Vk/k̄), which is Hill's (4N − 2)/(Vk + 2) at k̄ = 2.
        const double mean = 2.0 * c.children / c.parents;
        double vk = 0.0;
        for (const int k : c.perParent)
            vk += (k - mean) * (k - mean) / c.parents;
        EXPECT_DOUBLE_EQ(effectiveSizeAt(s, 1),
                         (c.parents * mean - 1.0) / (mean - 1.0 + vk / mean));
        Settings after = s;
        after.individuals = c.children;
        after.sizes.clear();
        EXPECT_DOUBLE_EQ(effectiveSizeAt(s, 2), effectiveSize(after));
    }
}

// Ne over a history: the harmonic mean of each breeding's, the parents' N in
// the ideal model. 37 generations bred from 50 and three from 2 make 17.86.
TEST(SizesTest, TheExpectedLinesFollowTheHistory) {
    Settings s;
    s.individuals = 50;
    s.model = Model::WrightFisher;
    s.alleles = 2;
    s.urn = {50, 50, 0, 0};
    s.sizes = {{10, 2}, {13, 50}};
    EXPECT_NEAR(meanEffectiveSize(s, 40), 40.0 / (37.0 / 50.0 + 3.0 / 2.0), 1e-12);
    EXPECT_NE(expectedLines(s, 10, 40).find("attendu Ne : 17.8571\n"), std::string::npos);
    // The chain and the diffusion assume one size and a known start: no
    // figure under selection with a history or a source urn; neutral, still one.
    s.fitness = {120, 100, 100, 100};
    EXPECT_EQ(fixation(s).method, FixationMethod::None);
    s.sizes.clear();
    EXPECT_EQ(fixation(s).method, FixationMethod::Chain);
    s.urn = {500, 500, 0, 0};
    EXPECT_EQ(fixation(s).method, FixationMethod::None);
    s.fitness = {100, 100, 100, 100};
    EXPECT_EQ(fixation(s).method, FixationMethod::Neutral);
}

// The records hold any number of copies: a class whose size drops to one
// individual is fixed when both of its two copies are one allele, and the
// statistics count it so.
TEST(SizesTest, StatisticsCountEachGenerationsOwnCopies) {
    Settings s;
    s.individuals = 200;
    s.model = Model::WrightFisher;
    s.alleles = 2;
    s.urn = {200, 200, 0, 0};
    s.sizes = {{2, 1}, {4, 300}};
    Experiment experiment(s, 100, 3);
    experiment.advanceTo(6);
    Statistics stats;
    stats.update(experiment);
    for (int g = 0; g <= 6; ++g) {
        int fixed = 0;
        double h = 0.0;
        for (int c = 1; c <= 100; ++c) {
            const Counts counts = experiment.counts(c, g);
            ASSERT_EQ(counts[0] + counts[1], s.copiesAt(g)) << g;
            fixed += isFixed(counts);
            h += heterozygosity(counts, s.copiesAt(g)) / 100;
        }
        const auto& shares = stats.fixedClasses()[static_cast<std::size_t>(g)];
        EXPECT_EQ(shares[0] + shares[1], fixed) << g;
        EXPECT_NEAR(stats.meanHeterozygosity()[static_cast<std::size_t>(g)], h, 1e-12) << g;
    }
    // One individual: about half the classes are fixed at generation 2.
    EXPECT_GT(stats.fixedClasses()[2][0] + stats.fixedClasses()[2][1], 25);
}

// Scripted values of the source, in turn.
struct Script {
    std::vector<float> values;
    std::size_t at = 0;
    float next() { return values[at++ % values.size()]; }
};

// A source urn's ball is floor(left · v) among those left, in allele order:
// the lowest v takes the first ball left, the highest the last, and every
// ball is taken once at most.
TEST(SizesTest, FoundersTakeTheBallTheSourceNames) {
    Settings s;
    s.individuals = 3;
    s.alleles = 2;
    s.urn = {3, 5, 0, 0};
    std::vector<Allele> copies;
    Script lowest{{0.0f}};
    drawFounders(s, lowest, copies);
    EXPECT_EQ(copies, (std::vector<Allele>{0, 0, 0, 1, 1, 1}));
    Script highest{{1.0f - 0x1p-24f}};
    drawFounders(s, highest, copies);
    EXPECT_EQ(copies, (std::vector<Allele>{1, 1, 1, 1, 1, 0}));
    // v = 3/8: ball 3 of 8 (the first of allele 2), then ball 2 of 7, 2 of
    // 6, 1 of 5, 1 of 4 and 1 of 3, counted from 0 in the balls left.
    Script middle{{0.375f}};
    drawFounders(s, middle, copies);
    EXPECT_EQ(copies, (std::vector<Allele>{1, 0, 1, 0, 1, 1}));
}

// The file writes each generation's share of that generation's own copies.
TEST(SizesTest, TheFileWritesEachGenerationsOwnShare) {
    Settings s;
    s.individuals = 20;
    s.model = Model::WrightFisher;
    s.alleles = 2;
    s.urn = {20, 20, 0, 0};
    s.sizes = {{3, 5}, {5, 30}};
    Experiment experiment(s, 2, 11);
    experiment.advanceTo(7);
    const CsvRows rows({&experiment}, 1);
    std::string text;
    for (int number = 1; number <= rows.classes(); ++number)
        rows.append(number, text);
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line); // the header
    int read = 0;
    while (std::getline(lines, line)) {
        int c = 0, g = 0, k = 0, count = 0;
        char comma = 0;
        std::istringstream fields(line);
        fields >> c >> comma >> g >> comma >> k >> comma >> count >> comma;
        std::string share;
        std::getline(fields, share);
        ASSERT_EQ(count, experiment.counts(c, g)[static_cast<std::size_t>(k - 1)]) << line;
        EXPECT_EQ(share, frequencyText(count, s.copiesAt(g))) << line;
        ++read;
    }
    EXPECT_EQ(read, 2 * 8 * 2);
}

} // namespace
} // namespace bocavo::labo

// The run core on its own: the two command sequences, the generation limit,
// failures that must change nothing, and the frequency texts.
#include "core/run/run_core.h"
#include "engine/census.h"
#include "engine/generation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace bocavo {
namespace {

const std::string kCaption(kGenerationCaption);

// The text for `count` copies of 40, worked out in tenths: count × 2.5 %.
std::string countText(int count, const std::string& separator) {
    const int tenths = count * 25;
    return std::to_string(tenths / 10) + (tenths % 10 ? separator + "5" : "") + "%";
}

// How many copies of allele 1..4 (index 0 for anything else) the cells hold.
std::array<int, 5> alleleCounts(const GenotypeCells& cells) {
    std::array<int, 5> counts{};
    for (const auto& row : cells)
        for (const std::int16_t allele : row)
            ++counts[allele >= 1 && allele <= 4 ? std::size_t(allele) : 0];
    return counts;
}

// What must hold after every successful command.
void expectConsistent(const Screen& s, const std::string& separator = ",") {
    const auto counts = alleleCounts(s.children);
    EXPECT_EQ(counts[0], 0);
    for (std::size_t k = 1; k <= 4; ++k)
        EXPECT_EQ(s.childFrequencies[k - 1], countText(counts[k], separator)) << "allele " << k;
    EXPECT_EQ(s.parentCaption, kCaption + std::to_string(s.generation - 1));
    EXPECT_EQ(s.childCaption, kCaption + std::to_string(s.generation));
    EXPECT_TRUE(s.simulerEnabled);
    EXPECT_EQ(s.genSuivEnabled, s.generation < kLastGeneration);
    // Child Deb + k of every brood: copy 1 from parent 2k-1, copy 2 from parent 2k.
    const int starts[] = {0, 8, 14, 18};
    const int couples[] = {8, 6, 4, 2};
    for (int b = 0; b < 4; ++b) {
        for (int k = 1; k <= couples[b]; ++k) {
            const auto& child = s.children[std::size_t(starts[b] + k - 1)];
            const auto& mother = s.parents[std::size_t(2 * k - 2)];
            const auto& father = s.parents[std::size_t(2 * k - 1)];
            EXPECT_TRUE(child[0] == mother[0] || child[0] == mother[1]) << "brood " << b;
            EXPECT_TRUE(child[1] == father[0] || child[1] == father[1]) << "brood " << b;
        }
    }
}

GenotypeCells sorted(GenotypeCells cells) {
    std::sort(cells.begin(), cells.end());
    return cells;
}

TEST(RunCoreSequence, StartsAsTheWindowLoads) {
    const RunCore core(",");
    EXPECT_EQ(core.screen(), Screen{});
    const Screen& s = core.screen();
    EXPECT_EQ(s.generation, 0);
    EXPECT_EQ(s.parentFrequencies, (std::array<std::string, 4>{"%", "%", "%", "%"}));
    EXPECT_EQ(s.childFrequencies, s.parentFrequencies);
    EXPECT_EQ(s.parentCaption, "Fréquence Allèliques :");
    EXPECT_EQ(s.childCaption, "Fréquence Allèliques :");
    EXPECT_EQ(alleleCounts(s.parents)[0], 40); // every cell empty
    EXPECT_TRUE(s.simulerEnabled);
    EXPECT_FALSE(s.genSuivEnabled);
    EXPECT_TRUE(core.hasFoundingMarker());
}

TEST(RunCoreSequence, SimulationShowsFoundersAndChildren) {
    RunCore core(",");
    core.simulation();
    const Screen& s = core.screen();
    EXPECT_EQ(s.generation, 1);
    EXPECT_EQ(s.parentCaption, "Fréquence Allèliques à la génération n°0");
    EXPECT_EQ(s.childCaption, "Fréquence Allèliques à la génération n°1");
    // Founders show the urn's frequencies, with the space, not a count.
    EXPECT_EQ(s.parentFrequencies, (std::array<std::string, 4>{"25 %", "25 %", "25 %", "25 %"}));
    EXPECT_EQ(alleleCounts(s.parents), (std::array<int, 5>{0, 10, 10, 10, 10}));
    EXPECT_FALSE(core.hasFoundingMarker()); // Label1 now holds a frequency
    EXPECT_TRUE(s.genSuivEnabled);
    expectConsistent(s);
}

TEST(RunCoreSequence, NextGenerationPromotesTheChildrenAndTheirTexts) {
    RunCore core(",");
    core.simulation();
    for (int n = 2; n <= 6; ++n) {
        const Screen before = core.screen();
        core.nextGeneration();
        const Screen& s = core.screen();
        EXPECT_EQ(s.generation, n);
        // The texts as they stood, never "25 %" again within a run.
        EXPECT_EQ(s.parentFrequencies, before.childFrequencies);
        // The former children, each once, in the turnover's order.
        EXPECT_EQ(sorted(s.parents), sorted(before.children));
        const auto was = alleleCounts(before.children);
        const auto now = alleleCounts(s.children);
        for (std::size_t k = 1; k <= 4; ++k)
            EXPECT_TRUE(was[k] != 0 || now[k] == 0) << "allele " << k << " came back";
        expectConsistent(s);
    }
}

TEST(RunCoreSequence, SimulationStartsAnewAfterGenerations) {
    RunCore core(",");
    core.simulation();
    const GenotypeCells firstFounders = core.screen().parents;
    for (int i = 0; i < 3; ++i)
        core.nextGeneration();
    EXPECT_EQ(core.screen().generation, 4);
    core.simulation();
    const Screen& s = core.screen();
    EXPECT_EQ(s.generation, 1);
    EXPECT_EQ(s.parentFrequencies, (std::array<std::string, 4>{"25 %", "25 %", "25 %", "25 %"}));
    EXPECT_EQ(alleleCounts(s.parents), (std::array<int, 5>{0, 10, 10, 10, 10}));
    EXPECT_NE(s.parents, firstFounders); // a new draw: the source goes on
    expectConsistent(s);
}

// The engine procedures driven by hand with a fresh source give the same run:
// the core adds no draw, skips none and never reseeds.
TEST(RunCoreSequence, ShowsTheEngineRunCellForCell) {
    RunCore core(".");
    Population pop;
    Source_Aleatoire source;
    const auto expectSame = [&](const char* step) {
        for (int i = 1; i <= kIndividus; ++i) {
            for (int j = 1; j <= kCopies; ++j) {
                ASSERT_EQ(core.screen().parents[std::size_t(i - 1)][std::size_t(j - 1)],
                          pop.Geno_Parent(i, j))
                    << step << " parent " << i;
                ASSERT_EQ(core.screen().children[std::size_t(i - 1)][std::size_t(j - 1)],
                          pop.Geno_Enfant(i, j))
                    << step << " child " << i;
            }
        }
        Count_Allele(pop);
        for (int k = 1; k <= kAlleles; ++k)
            EXPECT_EQ(core.screen().childFrequencies[std::size_t(k - 1)],
                      countText(pop.Nb_Allele(k), "."));
    };
    core.simulation();
    foundGeneration(pop, source);
    expectSame("simulation");
    for (int n = 0; n < 50; ++n) {
        core.nextGeneration();
        nextGeneration(pop, source);
        expectSame("next generation");
    }
    core.simulation();
    foundGeneration(pop, source);
    expectSame("second simulation");
}

TEST(RunCoreLimit, StopsAtTheLastGenerationAndRefusesOneMore) {
    RunCore core(",");
    core.simulation();
    core.setGenerationForTest(32765);
    core.nextGeneration();
    EXPECT_EQ(core.screen().generation, 32766);
    EXPECT_TRUE(core.screen().genSuivEnabled); // one more to go
    core.nextGeneration();
    const Screen last = core.screen();
    EXPECT_EQ(last.generation, 32767);
    EXPECT_EQ(last.parentCaption, kCaption + "32766");
    EXPECT_EQ(last.childCaption, kCaption + "32767");
    EXPECT_FALSE(last.genSuivEnabled);
    const Genotypes parents = core.populationForTest().Geno_Parent;
    try {
        core.nextGeneration();
        FAIL() << "a generation past 32767 was numbered";
    } catch (const EngineError& error) {
        EXPECT_NE(std::string(error.what()).find("Dépassement de capacité"), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(core.screen(), last);
    EXPECT_EQ(core.populationForTest().Geno_Parent, parents);
    // A new run brings the command back.
    core.simulation();
    EXPECT_EQ(core.screen().generation, 1);
    EXPECT_TRUE(core.screen().genSuivEnabled);
}

TEST(RunCoreFailure, NextGenerationBeforeAnySimulationIsRefused) {
    RunCore core(",");
    EXPECT_THROW(core.nextGeneration(), EngineError);
    EXPECT_EQ(core.screen(), Screen{});
    // Nothing was drawn either: the first run is a fresh program's.
    core.simulation();
    RunCore fresh(",");
    fresh.simulation();
    EXPECT_EQ(core.screen(), fresh.screen());
}

TEST(RunCoreFailure, AnInternalErrorChangesNothing) {
    RunCore core(",");
    core.simulation();
    core.nextGeneration();
    // Children of allele 0 breed children of allele 0, which no census can count.
    for (int i = 1; i <= kIndividus; ++i)
        core.populationForTest().Geno_Enfant(i, 1) = core.populationForTest().Geno_Enfant(i, 2) = 0;
    const Screen before = core.screen();
    const Population model = core.populationForTest();
    try {
        core.nextGeneration();
        FAIL() << "a census of allele 0 went through";
    } catch (const EngineError& error) {
        EXPECT_NE(std::string(error.what()).find("Indice hors limites : 0 dans Nb_Allele"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_EQ(core.screen(), before);
    EXPECT_EQ(core.populationForTest().Geno_Parent, model.Geno_Parent);
    EXPECT_EQ(core.populationForTest().Geno_Enfant, model.Geno_Enfant);
    EXPECT_FALSE(core.hasFoundingMarker());
}

TEST(RunCoreSeparator, IsTheOnlyPartTakenFromTheUser) {
    for (const std::string separator : {",", ".", "\u066B"}) { // Arabic: a two-byte separator
        RunCore core(separator);
        core.simulation();
        bool sawHalf = false;
        for (int n = 0; n < 40 && !sawHalf; ++n) {
            expectConsistent(core.screen(), separator);
            for (const std::string& text : core.screen().childFrequencies)
                sawHalf = sawHalf || text.find(separator) != std::string::npos;
            core.nextGeneration();
        }
        EXPECT_TRUE(sawHalf) << separator;
    }
}

TEST(FrequencyTextTest, WritesEveryCensusValue) {
    for (int count = 0; count <= kAlleleCopies; ++count) {
        EXPECT_EQ(frequencyText(float(count) * 2.5f, ","), countText(count, ","));
        EXPECT_EQ(frequencyText(float(count) * 2.5f, "."), countText(count, "."));
    }
    EXPECT_EQ(frequencyText(22.5f, ","), "22,5%");
    EXPECT_EQ(frequencyText(100.0f, "."), "100%");
}

// Against printf in the C locale, which rounds correctly: the fewest decimals
// that read back as the same float. Beyond 12 decimals the text is refused.
TEST(FrequencyTextTest, TakesTheFewestDecimalsThatReadBack) {
    EXPECT_EQ(frequencyText(0.1f, "."), "0.1%");
    EXPECT_EQ(frequencyText(100.0f / 3, ","), "33,333332%");
    std::mt19937 random(20261207);
    std::uniform_real_distribution<float> mantissa(0.5f, 1.0f);
    std::uniform_int_distribution<int> exponent(-30, 7);
    for (int n = 0; n < 20000; ++n) {
        const float x = std::min(100.0f, std::ldexp(mantissa(random), exponent(random)));
        std::string expected;
        char text[64];
        for (int decimals = 0; decimals <= 12 && expected.empty(); ++decimals) {
            std::snprintf(text, sizeof text, "%.*f", decimals, double(x));
            if (std::strtof(text, nullptr) == x)
                expected = std::string(text) + "%";
        }
        if (expected.empty())
            EXPECT_THROW(frequencyText(x, "."), EngineError) << x;
        else
            EXPECT_EQ(frequencyText(x, "."), expected);
    }
}

TEST(FrequencyTextTest, RefusesWhatNoCensusGives) {
    EXPECT_THROW(frequencyText(-2.5f, ","), EngineError);
    EXPECT_THROW(frequencyText(102.5f, ","), EngineError);
    EXPECT_THROW(frequencyText(std::nanf(""), ","), EngineError);
}

} // namespace
} // namespace bocavo

// The CSV file: it parses back to exactly the recorded counts, its size is
// known before it is written, and a failed write loses nothing.
#include "core/lab/files/scenario.h"
#include "engine/census.h"
#include "labo/files/csv_writer.h"
#include "tests/scratch_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace bocavo::labo {
namespace {

// What the window keeps of a run, from which it sizes the file.
Statistics statisticsOf(const Experiment& experiment) {
    Statistics stats;
    stats.update(experiment);
    return stats;
}

TEST(CsvTest, FrequencyIsTheMainProgramsPercentWithAPoint) {
    Population pop;
    for (int n = 0; n <= kAlleleCopies; ++n) {
        pop.Nb_Allele(1) = static_cast<Cell>(n);
        std::ostringstream expected;
        expected << Frequence(pop, 1); // the engine's value, printed in the C locale
        EXPECT_EQ(frequencyText(n, 40), expected.str()) << n << " copies";
    }
    EXPECT_EQ(frequencyText(9, 40), "22.5");
    EXPECT_EQ(frequencyText(40, 40), "100");
}

struct Row {
    int classe, generation, allele, count;
    double frequency;
};

std::vector<Row> parse(const std::string& text, std::string& header) {
    std::istringstream in(text);
    std::getline(in, header);
    std::vector<Row> rows;
    std::string line;
    while (std::getline(in, line)) {
        Row row{};
        char c1, c2, c3, c4;
        std::istringstream fields(line);
        fields >> row.classe >> c1 >> row.generation >> c2 >> row.allele >> c3 >> row.count >> c4 >>
            row.frequency;
        EXPECT_TRUE(fields && c1 == ',' && c2 == ',' && c3 == ',' && c4 == ',') << line;
        EXPECT_TRUE(fields.eof()) << "trailing text in " << line;
        rows.push_back(row);
    }
    return rows;
}

TEST(CsvTest, ParsesBackToTheRecordedCounts) {
    const ScratchDir dir;
    Experiment experiment(7, 11);
    experiment.advanceTo(45);
    const auto path = dir / "whole.csv";
    const CsvOutcome outcome = writeCsv({&experiment}, path, 1);
    ASSERT_TRUE(outcome.written) << outcome.error;
    const std::string text = readAll(path);
    const Statistics stats = statisticsOf(experiment);
    EXPECT_EQ(text.size(), csvBytes({&stats}, 1)); // the announced size is exact
    std::string header;
    const auto rows = parse(text, header);
    EXPECT_EQ(header, "classe,génération,allèle,effectif,fréquence");
    ASSERT_EQ(rows.size(), 7u * 46u * 4u);
    EXPECT_EQ(outcome.rows, rows.size());
    std::size_t i = 0;
    for (int c = 1; c <= 7; ++c) {
        for (int g = 0; g <= 45; ++g) {
            for (int k = 1; k <= 4; ++k, ++i) {
                const Row& row = rows[i];
                ASSERT_EQ(row.classe, c);
                ASSERT_EQ(row.generation, g);
                ASSERT_EQ(row.allele, k);
                ASSERT_EQ(row.count, experiment.counts(c, g)[static_cast<std::size_t>(k - 1)]);
                ASSERT_DOUBLE_EQ(row.frequency, row.count * 2.5);
            }
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
              1); // no temporary
}

TEST(CsvTest, KeepingOneGenerationInKWritesTheMultiplesOfKAndTheLast) {
    const ScratchDir dir;
    Experiment experiment(3, 4);
    experiment.advanceTo(100);
    const auto path = dir / "every.csv";
    ASSERT_TRUE(writeCsv({&experiment}, path, 30).written);
    std::string header;
    const auto rows = parse(readAll(path), header);
    ASSERT_EQ(rows.size(), 3u * 5u * 4u); // generations 0, 30, 60, 90 and 100
    EXPECT_EQ(rows[4].generation, 30);
    EXPECT_EQ(rows[15].generation, 90);
    EXPECT_EQ(rows[16].generation, 100);
    EXPECT_EQ(rows.back().generation, 100);
    const Statistics stats = statisticsOf(experiment);
    EXPECT_EQ(readAll(path).size(), csvBytes({&stats}, 30));
}

TEST(CsvTest, SuggestedIntervalBringsTheFileUnderTheLimit) {
    const ScratchDir dir;
    Experiment experiment(12, 4); // class numbers of two digits too
    experiment.advanceTo(1000);
    const Statistics stats = statisticsOf(experiment);
    const auto whole = csvBytes({&stats}, 1);
    const int every = everyWithin({&stats}, whole / 10);
    EXPECT_LE(csvBytes({&stats}, every), whole / 10);
    EXPECT_GT(csvBytes({&stats}, every - 1), whole / 10); // and it is the smallest
    EXPECT_EQ(everyWithin({&stats}, whole), 1);
    EXPECT_EQ(everyWithin({&stats}, 0), kMaxEvery);
    const auto path = dir / "within.csv";
    ASSERT_TRUE(writeCsv({&experiment}, path, every).written);
    EXPECT_EQ(readAll(path).size(), csvBytes({&stats}, every));
}

TEST(CsvTest, AnUnwritableFileGivesAFrenchReasonAndSparesTheOldFile) {
    const ScratchDir dir;
    Experiment experiment(2, 4);
    experiment.advanceTo(10);
    const auto missing = dir / "no/such/folder/out.csv";
    const CsvOutcome outcome = writeCsv({&experiment}, missing, 1);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.error, "Impossible d'écrire le fichier « " + missing.string() +
                                 " » : le dossier n'existe pas.");
    // A folder in the file's place: nothing replaced, nothing left behind.
    const auto folder = dir / "a_folder.csv";
    std::filesystem::create_directories(folder);
    EXPECT_FALSE(writeCsv({&experiment}, folder, 1).written);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // the folder
    EXPECT_EQ(experiment.generation(), 10); // the run itself is untouched
}

TEST(CsvTest, ACancelledExportLeavesTheOldFileAsItWas) {
    const ScratchDir dir;
    Experiment experiment(20, 4);
    experiment.advanceTo(50);
    const auto path = dir / "kept.csv";
    { std::ofstream(path) << "ancien"; }
    std::atomic<bool> cancel{true};
    const CsvOutcome outcome = writeCsv({&experiment}, path, 1, {&cancel, {}});
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(readAll(path), "ancien");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
              1); // no temporary
}

TEST(CsvTest, OtherSizesWriteTheirShareToFourDecimals) {
    EXPECT_EQ(frequencyText(1, 60), "1.6667");
    EXPECT_EQ(frequencyText(20, 60), "33.3333");
    EXPECT_EQ(frequencyText(3, 20'000), "0.015");
    EXPECT_EQ(frequencyText(0, 60), "0");
    EXPECT_EQ(frequencyText(20'000, 20'000), "100");
}

// A comparison run writes set A's classes, then set B's numbered on, each
// with its own alleles; the announced size stays exact.
TEST(CsvTest, TwoSetsShareOneFileWithClassesNumberedOn) {
    const ScratchDir dir;
    Experiment a(2, 4);
    a.advanceTo(6);
    Settings small;
    small.individuals = 150;
    small.alleles = 2;
    small.urn = {30, 270, 0, 0};
    Experiment b(small, 3, secondSeed(4));
    b.advanceTo(6);
    const auto path = dir / "sets.csv";
    const CsvOutcome outcome = writeCsv({&a, &b}, path, 3);
    ASSERT_TRUE(outcome.written) << outcome.error;
    const std::string text = readAll(path);
    const Statistics sa = statisticsOf(a), sb = statisticsOf(b);
    EXPECT_EQ(text.size(), csvBytes({&sa, &sb}, 3));
    std::string header;
    const auto rows = parse(text, header);
    ASSERT_EQ(rows.size(), 2u * 3u * 4u + 3u * 3u * 2u); // generations 0, 3, 6
    EXPECT_EQ(outcome.rows, rows.size());
    const Row& firstOfB = rows[24];
    EXPECT_EQ(firstOfB.classe, 3);
    EXPECT_EQ(firstOfB.generation, 0);
    EXPECT_EQ(firstOfB.count, 30);
    EXPECT_DOUBLE_EQ(firstOfB.frequency, 10.0);
    EXPECT_EQ(rows.back().classe, 5);
    EXPECT_EQ(rows.back().allele, 2);
    EXPECT_EQ(rows.back().count, b.counts(3, 6)[1]);
}

// The scenario beside a comparison says where a set that went further ends,
// since "Lancer" alone would stop both sets at the scenario's generation.
TEST(CsvTest, TheScenarioBesideSaysWhereEachSetEnds) {
    const ScratchDir dir;
    Scenario plan;
    plan.classes = 2;
    plan.generations = 4;
    plan.b = Settings{};
    Experiment a(plan.a, 2, plan.seed), b(*plan.b, 2, secondSeed(plan.seed));
    a.advanceTo(4);
    b.advanceTo(9);
    const CsvOutcome outcome = exportCsv({&a, &b}, plan, dir / "deux.csv", 1);
    ASSERT_TRUE(outcome.written) << outcome.error;
    const std::string text = readAll(dir / "deux.scenario");
    EXPECT_NE(text.find("\n# Le jeu B y va jusqu'à la génération 9.\n"), std::string::npos);
    EXPECT_EQ(text.find("Le jeu A"), std::string::npos);
    const Result<Scenario> back = parseScenario(text);
    ASSERT_TRUE(back) << back.reason();
    EXPECT_EQ(*back, plan);
}

} // namespace
} // namespace bocavo::labo

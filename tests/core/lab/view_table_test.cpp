// A view's table: every generation on show while it fits a spreadsheet, one in
// K beyond, the last always kept; a set that stopped early leaves its cells
// empty.
#include "core/lab/files/view_table.h"

#include <gtest/gtest.h>

namespace bocavo::labo {
namespace {

struct SetOfRun {
    Experiment experiment;
    Statistics stats;
    SetOfRun(int classes, int generations) : experiment(classes, 7) {
        experiment.advanceTo(generations);
        stats.reset(classes);
        stats.update(experiment);
    }
    ViewSet set() const { return {&experiment, &stats}; }
};

int generationOf(const std::vector<SheetCell>& row) {
    return std::stoi(row.at(0).value);
}

TEST(ViewTables, AWideTableKeepsOneGenerationInKAndTheLast) {
    struct Case {
        int classes, generations, every;
    };
    // 3 × 20: all of it; 1 000 classes over 600 generations: 601 001 cells,
    // more than kMaxWorkbookCells.
    for (const Case c : {Case{3, 20, 1}, Case{1000, 600, 2}}) {
        SCOPED_TRACE(c.classes);
        const SetOfRun run(c.classes, c.generations);
        const ViewTable table =
            viewTable({run.set()}, {ViewKind::AllClasses, 0, 1, 1, 0, c.generations});
        EXPECT_EQ(table.every, c.every);
        const auto columns = table.rows[0].size();
        EXPECT_EQ(columns, static_cast<std::size_t>(1 + c.classes));
        EXPECT_LE(table.rows.size() * columns, kMaxWorkbookCells);
        EXPECT_EQ(generationOf(table.rows[1]), 0);
        EXPECT_EQ(generationOf(table.rows.back()), c.generations);
        for (std::size_t r = 2; r < table.rows.size(); ++r)
            EXPECT_EQ(generationOf(table.rows[r]) - generationOf(table.rows[r - 1]), c.every);
    }
}

TEST(ViewTables, ASetThatStoppedEarlyLeavesItsCellsEmpty) {
    const SetOfRun a(4, 20), b(4, 10);
    for (const ViewKind kind : {ViewKind::Fixation, ViewKind::Heterozygosity}) {
        const ViewTable table = viewTable({a.set(), b.set()}, {kind, 0, 1, 1, 0, 20});
        const auto& top = table.rows[0];
        ASSERT_EQ(top.size(), 5u); // A's two columns, then B's
        EXPECT_TRUE(top[1].value.starts_with("A : "));
        EXPECT_TRUE(top[3].value.starts_with("B : "));
        for (int g = 0; g <= 20; ++g) {
            const auto& row = table.rows[static_cast<std::size_t>(g + 1)];
            EXPECT_EQ(row[1].kind, SheetCell::Kind::Number);
            const bool past = g > 10 && kind == ViewKind::Fixation; // theory's curve goes on
            EXPECT_EQ(row[3].kind, g > 10 ? SheetCell::Kind::Empty : SheetCell::Kind::Number) << g;
            EXPECT_EQ(row[4].kind, past ? SheetCell::Kind::Empty : SheetCell::Kind::Number) << g;
        }
    }
}

// Each set's genotypes beside Hardy–Weinberg's shares, the shares the chart
// draws, then the pooled classes' heterozygotes.
TEST(ViewTables, GenotypesOfEachSetBesideHardyWeinberg) {
    const SetOfRun a(4, 20), b(4, 10);
    const ViewTable table = viewTable({a.set(), b.set()}, {ViewKind::Genotypes, 0, 1, 1, 0, 20});
    const auto& top = table.rows[0];
    ASSERT_EQ(top.size(), 23u); // four homozygotes and the heterozygotes, twice, and pooled
    EXPECT_EQ(top[1].value, "A : 11 observés");
    EXPECT_EQ(top[2].value, "A : 11 Hardy-Weinberg (p₁²)");
    EXPECT_EQ(top[9].value, "A : hétérozygotes observés");
    EXPECT_EQ(top[10].value, "A : hétérozygotes Hardy-Weinberg (1 − Σ p²)");
    EXPECT_EQ(top[11].value, "A : hétérozygotes Hardy-Weinberg, classes mélangées");
    EXPECT_EQ(top[12].value, "B : 11 observés");
    for (int g = 0; g <= 20; ++g) {
        const auto& row = table.rows[static_cast<std::size_t>(g + 1)];
        const GenotypeShares& at = a.stats.genotypes()[static_cast<std::size_t>(g)];
        EXPECT_NEAR(std::stod(row[3].value), at.observed(2), 1e-6) << g;
        EXPECT_NEAR(std::stod(row[10].value), at.expected(0), 1e-6) << g;
        EXPECT_NEAR(std::stod(row[11].value), at.pooledHeterozygotes, 1e-6) << g;
        EXPECT_EQ(row[22].kind, g > 10 ? SheetCell::Kind::Empty : SheetCell::Kind::Number) << g;
    }
}

// The text a spreadsheet takes: the decimal sign only in numbers, empty cells
// kept as empty columns, and what the program says of it.
TEST(ViewTables, CopiedTextKeepsColumnsAndSaysWhatWasKept) {
    ViewTable table;
    table.rows = {{{SheetCell::Kind::Heading, "génération"}, {SheetCell::Kind::Heading, "A : 1.5"}},
                  {{SheetCell::Kind::Number, "0"}, {SheetCell::Kind::Number, "22.5"}},
                  {{SheetCell::Kind::Number, "1"}, {}},
                  {{SheetCell::Kind::Text, "v1.2"}, {SheetCell::Kind::Number, "-0.25"}}};
    EXPECT_EQ(tableText(table, ","), "génération\tA : 1.5\n0\t22,5\n1\t\nv1.2\t-0,25\n");
    EXPECT_EQ(tableCopiedText(table), "Tableau copié : 3 lignes.");
    table.every = 4;
    EXPECT_EQ(tableCopiedText(table), "Tableau copié : 3 lignes, une génération sur 4.");
}

} // namespace
} // namespace bocavo::labo

// The workbook's cells: their count known before the run (the size refusal
// depends on it), set B beside set A, and the cell names the file uses. The
// file itself is read back by a real reader in workbook_check.py.
#include "core/lab/files/workbook.h"
#include "core/lab/files/xlsx_format.h"
#include "labo/cli/command_line.h"

#include <deque>
#include <gtest/gtest.h>

namespace bocavo::labo {
namespace {

std::uint64_t filledCells(const Workbook& book) {
    std::uint64_t cells = 0;
    for (std::size_t s = 1; s < book.sheets.size(); ++s) // the parameters are not counted
        for (const auto& row : book.sheets[s].rows)
            for (const SheetCell& cell : row)
                cells += cell.kind != SheetCell::Kind::Empty;
    return cells;
}

struct Shape {
    std::vector<Settings> sets;
    std::vector<int> last;
    int classes, every;
};

TEST(WorkbookTest, ItsCellsAreCountedBeforeTheRun) {
    Settings two;
    two.alleles = 2;
    two.individuals = 30;
    two.urn = evenUrn(30, 2);
    const Settings four;
    const Shape runs[] = {
        {{four}, {12}, 3, 1},
        {{four}, {12}, 3, 5},         // 0, 5, 10 and the last, 12
        {{two}, {9}, 1, 3},           // the last a multiple of K
        {{four, two}, {7, 20}, 4, 2}, // set B further on, with fewer alleles
        {{two, four}, {20, 7}, 2, 20},
    };
    for (const Shape& run : runs) {
        std::deque<Experiment> experiments; // they cannot move
        std::vector<WorkbookSet> shapes;
        for (std::size_t i = 0; i < run.sets.size(); ++i) {
            experiments.emplace_back(run.sets[i], run.classes, 5 + static_cast<std::uint32_t>(i));
            experiments.back().advanceTo(run.last[i]);
            shapes.push_back({run.classes, run.sets[i].alleles, run.last[i]});
        }
        Sets sets;
        for (const Experiment& experiment : experiments)
            sets.push_back(&experiment);
        const Workbook book = workbookOf(sets, {run.every, "", ""});
        EXPECT_EQ(filledCells(book), workbookCells(shapes, run.every))
            << run.sets.size() << " sets, K = " << run.every;
    }
}

TEST(WorkbookTest, SetBHasItsSheetItsColumnsAndDashedLines) {
    Settings two;
    two.alleles = 2;
    two.urn = evenUrn(20, 2);
    Experiment a(Settings{}, 3, 1993);
    Experiment b(two, 3, secondSeed(1993));
    a.advanceTo(10);
    b.advanceTo(6);
    const Workbook book = workbookOf({&a, &b}, {1, "2026-12-07 16:35", "3.3.0"});
    ASSERT_EQ(book.sheets.size(), 4u);
    EXPECT_EQ(book.sheets[2].name, "Fréquences B");
    // Set B's classes are numbered on, as in the CSV of both sets.
    EXPECT_EQ(book.sheets[2].rows[0][1].value, "classe 4, allèle 1 (%)");
    EXPECT_EQ(book.sheets[1].rows.size(), 12u);
    EXPECT_EQ(book.sheets[2].rows.size(), 8u);
    const Sheet& summary = book.sheets[3];
    // A's block: generation, 3 × 4 figures, heterozygosity; an empty column; then B's.
    const auto& top = summary.rows[0];
    EXPECT_EQ(top[15].value, "B : génération");
    EXPECT_EQ(top[16].value, "B : allèle 1, fréquence moyenne (%)");
    EXPECT_EQ(top.size(), 15u + 8u);
    ASSERT_TRUE(summary.chart);
    const LineChart& chart = *summary.chart;
    ASSERT_EQ(chart.series.size(), 6u);
    for (std::size_t s = 0; s < 6; ++s) {
        const ChartSeries& series = chart.series[s];
        EXPECT_EQ(series.dashed, s >= 4);
        EXPECT_EQ(series.values.column, s < 4 ? 1 + static_cast<int>(s) : 12 + static_cast<int>(s));
        EXPECT_EQ(series.values.last, s < 4 ? 11 : 7);
        EXPECT_EQ(summary.rows[0][static_cast<std::size_t>(series.name.column)].value,
                  top[static_cast<std::size_t>(series.values.column)].value);
    }
    // Each set's own seed and last generation on the parameters sheet.
    const auto& parameters = book.sheets[0].rows;
    const auto row = [&](const std::string& label) {
        for (const auto& r : parameters)
            if (!r.empty() && r[0].value == label)
                return r[1].value + "|" + r[2].value;
        return std::string("absent");
    };
    EXPECT_EQ(row("Graine"), "1993|" + std::to_string(secondSeed(1993)));
    EXPECT_EQ(row("Dernière génération"), "10|6");
    EXPECT_EQ(row("Boules de l'allèle 3 dans l'urne"), "10|");

    // A set B cancelled before its founders is left out: the workbook of A alone.
    const Experiment unstarted(two, 3, secondSeed(1993));
    const auto cells = [](const Workbook& w) {
        std::vector<std::string> all;
        for (const Sheet& sheet : w.sheets) {
            all.push_back(sheet.name);
            for (const auto& r : sheet.rows)
                for (const SheetCell& cell : r)
                    all.push_back(cell.value);
        }
        return all;
    };
    const WorkbookNote note{1, "2026-12-07 16:35", "3.3.0"};
    EXPECT_EQ(cells(workbookOf({&a, &unstarted}, note)), cells(workbookOf({&a}, note)));
}

// --xlsx with --csv or instead of it, never onto the CSV's own file.
TEST(WorkbookTest, TheCommandLineAsksForAWorkbook) {
    const std::vector<std::string> run{"--classes", "2", "--generations", "3"};
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--xlsx", "r.xlsx"}, ""},
        {{"--csv", "r.csv", "--xlsx", "r.xlsx"}, ""},
        {{"--xlsx", ""}, "--xlsx : Le nom du classeur est vide."},
        {{"--csv", "r", "--xlsx", "r"},
         "--xlsx : le classeur et le fichier CSV ne peuvent pas avoir le même nom."},
        {{"--xlsx", "a", "--xlsx", "b"}, "L'option --xlsx est donnée deux fois."},
        {{}, "L'option --csv manque."},
    };
    for (const auto& [extra, error] : cases) {
        std::vector<std::string> args = run;
        args.insert(args.end(), extra.begin(), extra.end());
        const Result<CommandLine> parsed = parseCommandLine(args);
        EXPECT_EQ(parsed.reason(), error) << extra.size();
        if (error.empty()) {
            EXPECT_EQ(parsed->xlsx, "r.xlsx");
        }
    }
}

TEST(WorkbookTest, CellNames) {
    const std::pair<std::pair<int, int>, const char*> names[] = {
        {{0, 0}, "A1"},      {{0, 25}, "Z1"},
        {{1, 26}, "AA2"},    {{0, 51}, "AZ1"},
        {{0, 52}, "BA1"},    {{0, 701}, "ZZ1"},
        {{9, 702}, "AAA10"}, {{1'048'575, 16'383}, "XFD1048576"},
    };
    for (const auto& [at, name] : names)
        EXPECT_EQ(cellName(at.first, at.second), name);
}

} // namespace
} // namespace bocavo::labo

// A size series as a view, from rows made by hand: sizes placed by their
// logarithm and labelled with N, each figure at its size, an expected figure
// theory does not give left without a point, words that follow what the rows
// show, and a table equal to the CSV file.
#include "core/lab/files/series_csv.h"
#include "core/lab/view/series_view.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace bocavo::labo {
namespace {

constexpr int kLast = 100;
constexpr int kClasses = 40;

SeriesRow row(int n, int lost, std::optional<int> median, double h, std::optional<double> eh,
              std::optional<double> eLost) {
    SeriesRow r;
    r.individuals = n;
    r.classes = kClasses;
    r.lostClasses = lost;
    r.lostShare = static_cast<double>(lost) / kClasses;
    r.medianFirstLoss = median;
    r.meanHeterozygosity = h;
    r.expectedHeterozygosity = eh;
    r.expectedLostShare = eLost;
    return r;
}

// 10 and 100 with every figure; 1 000 without the expected share (past the chain's reach).
std::vector<SeriesRow> worksheet() {
    return {row(10, 38, 21, 0.03, 0.04, 0.93), row(100, 9, std::nullopt, 0.45, 0.44, 0.2),
            row(1000, 0, std::nullopt, 0.74, 0.74, std::nullopt)};
}

const Line* lineNamed(const View& view, const std::string& name) {
    for (const Line& line : view.chart.lines)
        if (line.name == name)
            return &line;
    return nullptr;
}

bool has(const std::string& text, const std::string& words) {
    return text.find(words) != std::string::npos;
}

TEST(SeriesViewTest, SizesArePlacedByTheirLogarithmAndLabelledWithN) {
    const View view = seriesView(worksheet(), kClasses, kLast);
    const Axis& x = view.chart.x;
    ASSERT_EQ(x.labels.size(), 3u);
    const std::vector<std::string> texts{"10", "100", "1 000"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(x.labels[i].text, texts[i]);
        EXPECT_DOUBLE_EQ(x.labels[i].at, static_cast<double>(i + 1)); // log10 of 10, 100, 1 000
    }
    // Both ends have room for their discs, and no more than a fraction of the span.
    EXPECT_LT(x.min, 1.0);
    EXPECT_GT(x.min, 0.5);
    EXPECT_GT(x.max, 3.0);
    EXPECT_LT(x.max, 3.5);
    EXPECT_EQ(view.chart.y.min, 0.0);
    EXPECT_EQ(view.chart.y.max, 1.0);
    EXPECT_TRUE(has(view.chart.title, "génération 100"));
    EXPECT_TRUE(has(view.chart.title, "40 classes par taille"));
}

TEST(SeriesViewTest, EachFigureIsAPointAtItsSizeAndAMissingExpectedOneIsNone) {
    const View view = seriesView(worksheet(), kClasses, kLast);
    struct Case {
        std::string name;
        std::vector<Point> points;
        bool filled; // observed: filled discs; expected: hollow
    };
    const Case cases[] = {
        {"Classes avec perte", {{1, 0.95}, {2, 0.225}, {3, 0.0}}, true},
        {"Part attendue", {{1, 0.93}, {2, 0.2}}, false},
        {"Hétérozygotie moyenne", {{1, 0.03}, {2, 0.45}, {3, 0.74}}, true},
        {"Hétérozygotie attendue", {{1, 0.04}, {2, 0.44}, {3, 0.74}}, false},
    };
    std::size_t discs = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Line* line = lineNamed(view, c.name);
        ASSERT_NE(line, nullptr);
        ASSERT_EQ(line->points.size(), c.points.size());
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            EXPECT_NEAR(line->points[i].x, c.points[i].x, 1e-12);
            EXPECT_NEAR(line->points[i].y, c.points[i].y, 1e-12);
        }
        for (const Marker& m : view.chart.markers)
            if (m.colour == line->colour && m.filled == c.filled)
                ++discs;
        EXPECT_EQ(line->colour == std::string(kTheoryColour), !c.filled);
    }
    // One disc per point: the two expected lines share theory's colour.
    EXPECT_EQ(view.chart.markers.size(), 11u);
    EXPECT_EQ(discs, 3u + 3u + 5u + 5u);

    // No expected share anywhere: no line for it at all, not an empty one.
    std::vector<SeriesRow> rows = worksheet();
    for (SeriesRow& r : rows)
        r.expectedLostShare.reset();
    EXPECT_EQ(lineNamed(seriesView(rows, kClasses, kLast), "Part attendue"), nullptr);
}

TEST(SeriesViewTest, StatusAndWordsFollowWhatTheRowsShow) {
    const View view = seriesView(worksheet(), kClasses, kLast);
    ASSERT_EQ(view.status.size(), 3u);
    EXPECT_EQ(view.status[0],
              "N = 10 : 38 classes sur 40 avec un allèle perdu (95 %, attendu 93 %) ; la moitié "
              "des classes avait perdu un allèle à la génération 21 ; hétérozygotie 0,03 "
              "(attendue 0,04).");
    EXPECT_TRUE(has(view.status[1], "médiane au-delà de la génération 100"));
    EXPECT_TRUE(has(view.status[2], "0 classe sur 40"));
    EXPECT_FALSE(has(view.status[2], "attendu "));

    struct Case {
        const char* what;
        std::vector<SeriesRow> rows;
        const char* words;
    };
    const Case cases[] = {
        {"smaller loses more", worksheet(),
         "Dans une petite population, un allèle disparaît plus vite : à N = 10, 95 % des classes "
         "ont perdu un allèle en 100 générations ; à N = 1 000, 0 %."},
        {"chance the other way",
         {row(10, 5, std::nullopt, 0.5, {}, {}), row(20, 7, std::nullopt, 0.6, {}, {})},
         "aussi souvent à N = 20 qu'à N = 10"},
        {"none lost", {row(10, 0, {}, 0.5, {}, {}), row(20, 0, {}, 0.6, {}, {})}, "aucune classe"},
        {"all lost", {row(10, 40, 3, 0.0, {}, {}), row(20, 40, 9, 0.0, {}, {})}, "Toutes les"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const View v = seriesView(c.rows, kClasses, kLast);
        ASSERT_EQ(v.notes.size(), 1u);
        EXPECT_TRUE(has(v.notes[0].words.pupil, c.words)) << v.notes[0].words.pupil;
        EXPECT_FALSE(v.notes[0].words.teacher.empty());
    }
    // Diversity is said to stay higher in the large population only when it does.
    EXPECT_TRUE(has(view.notes[0].words.pupil, "0,03 à N = 10, 0,74 à N = 1 000"));
    const View flat =
        seriesView({row(10, 5, {}, 0.6, {}, {}), row(20, 3, {}, 0.5, {}, {})}, kClasses, kLast);
    EXPECT_FALSE(has(flat.notes[0].words.pupil, "plus élevée"));
}

TEST(SeriesViewTest, NoRowsIsAnEmptyChartThatSaysSo) {
    const View view = seriesView({}, kClasses, kLast);
    EXPECT_TRUE(view.chart.lines.empty());
    EXPECT_TRUE(view.chart.x.labels.empty());
    EXPECT_LT(view.chart.x.min, view.chart.x.max);
    ASSERT_EQ(view.status.size(), 1u);
    EXPECT_TRUE(has(view.status[0], "Aucune série"));
}

TEST(SeriesViewTest, TheTableIsTheCsvFileCellByCell) {
    const auto rows = worksheet();
    const auto table = seriesTable(rows, kLast);
    const std::string csv = seriesCsv(rows, kLast);
    ASSERT_EQ(table.size(), rows.size() + 1);
    std::string rebuilt;
    for (const auto& cells : table) {
        ASSERT_EQ(cells.size(), 8u);
        for (std::size_t i = 0; i < cells.size(); ++i)
            rebuilt += (i ? "," : "") + cells[i].value;
        rebuilt += "\n";
    }
    EXPECT_EQ(rebuilt, csv);
    EXPECT_EQ(table[0][0].kind, SheetCell::Kind::Heading);
    EXPECT_EQ(table[1][4].kind, SheetCell::Kind::Number); // median 21
    EXPECT_EQ(table[2][4].kind, SheetCell::Kind::Text);   // au-delà de 100
    EXPECT_EQ(table[3][7].kind, SheetCell::Kind::Empty);  // no expected share
    EXPECT_EQ(table[1][3].kind, SheetCell::Kind::Number);
}

TEST(SeriesViewTest, WhereASeriesStandsAndWhatItTakes) {
    const struct {
        int done;
        const char* text;
    } cases[] = {
        {3, "Série de tailles terminée : 3 tailles de 40 classes jusqu'à la génération 100."},
        {2, "Série de tailles annulée : 2 tailles sur 3 calculées, gardées dans le tableau."},
        {1, "Série de tailles annulée : 1 taille sur 3 calculée, gardée dans le tableau."},
        {0, "Série de tailles annulée avant la fin de la première taille : aucune ligne."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(seriesStanding(c.done, 3, kClasses, kLast), c.text);

    Scenario plan;
    plan.classes = 1;
    plan.generations = 1500;
    plan.seed = 42;
    EXPECT_TRUE(has(seriesSettingsNote(plan), "1 classe par taille, les générations 0 à 1 500 et "
                                              "la graine 42 ; seule la taille N change."));
    EXPECT_FALSE(has(seriesSettingsNote(plan), "jeu B"));
    plan.b = plan.a;
    EXPECT_TRUE(has(seriesSettingsNote(plan), "Le jeu B n'y entre pas."));
}

} // namespace
} // namespace bocavo::labo

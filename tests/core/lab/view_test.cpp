// The lab's views as data: each allele keeps one colour in every view and no
// colour means two things; the sets differ by stroke and label; legends and
// titles describe the run on display; long runs keep their extremes.
#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"
#include "core/lab/view/chart.h"
#include "core/lab/view/expected_cache.h"
#include "core/lab/view/side_by_side.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace bocavo::labo {
namespace {

// A run of one or two sets, with the statistics the views read.
struct LabRun {
    std::vector<std::unique_ptr<Experiment>> experiments;
    std::vector<std::unique_ptr<Statistics>> stats;

    LabRun(const std::vector<Settings>& sets, int classes, int generations) {
        std::uint32_t seed = 7;
        for (const Settings& settings : sets) {
            experiments.push_back(std::make_unique<Experiment>(settings, classes, seed++));
            experiments.back()->advanceTo(generations);
            stats.push_back(std::make_unique<Statistics>());
            stats.back()->reset(classes);
            stats.back()->update(*experiments.back());
        }
    }
    std::vector<ViewSet> records() const {
        std::vector<ViewSet> all;
        for (std::size_t i = 0; i < experiments.size(); ++i)
            all.push_back({experiments[i].get(), stats[i].get()});
        return all;
    }
};

Settings withN(int individuals, Model model = Model::Protocole) {
    Settings s;
    s.individuals = individuals;
    s.model = model;
    s.urn = evenUrn(individuals, s.alleles);
    return s;
}

Settings threeAllelesWithMutation() {
    Settings s = withN(30, Model::WrightFisher);
    s.alleles = 3;
    s.urn = evenUrn(30, 3);
    s.mutation = 0.01;
    return s;
}

// Every view of a run, for each set and each allele a view can follow.
std::vector<View> everyView(const LabRun& run) {
    ExpectedCache expected;
    std::vector<View> views;
    const auto records = run.records();
    for (int set = 0; set < static_cast<int>(records.size()); ++set)
        for (int allele = 1; allele <= kMaxAlleles; ++allele) {
            ChartChoice choice;
            choice.set = set;
            choice.allele = allele;
            choice.classNumber = 2;
            views.push_back(classView(records, choice));
            views.push_back(allClassesView(records, choice));
            views.push_back(fixationView(records, choice, expected));
            views.push_back(heterozygosityView(records, choice, expected));
            views.push_back(genotypesView(records, choice));
        }
    return views;
}

// What a line's colour stands for: an allele, every allele, or theory.
std::string meaningOf(const Line& line) {
    if (line.role == Role::Expected)
        return "théorie";
    if (line.allele == 0) // the heterozygosity, and the heterozygotes
        return "tous les allèles";
    return "allèle " + std::to_string(line.allele);
}

struct Scenario {
    std::string name;
    std::vector<Settings> sets;
};

const std::vector<Scenario> kScenarios = {
    {"classroom", {Settings{}}},
    {"comparison", {Settings{}, withN(200)}},
    {"idealAgainstMutation", {withN(20, Model::WrightFisher), threeAllelesWithMutation()}},
};

class EveryView : public testing::TestWithParam<Scenario> {};

TEST_P(EveryView, ColoursNeverMeanTwoThings) {
    const LabRun run(GetParam().sets, 6, 60);
    std::map<std::string, std::string> meaning; // colour → what it stands for
    for (const View& view : everyView(run)) {
        for (const Line& line : view.chart.lines) {
            const auto [kept, fresh] = meaning.emplace(line.colour, meaningOf(line));
            EXPECT_EQ(kept->second, meaningOf(line)) << line.colour << " in " << view.chart.title;
            if (line.role != Role::Expected && line.allele > 0) {
                EXPECT_EQ(line.colour, kAlleleColours[static_cast<std::size_t>(line.allele - 1)]);
            }
        }
        for (const Marker& marker : view.chart.markers)
            EXPECT_EQ(marker.colour,
                      kAlleleColours[static_cast<std::size_t>(view.shown.allele - 1)]);
    }
    EXPECT_FALSE(meaning.empty());
}

TEST_P(EveryView, SetsDifferByStrokeAndLabelOnly) {
    const LabRun run(GetParam().sets, 6, 60);
    const bool comparing = GetParam().sets.size() > 1;
    for (const View& view : everyView(run))
        for (const Line& line : view.chart.lines) {
            EXPECT_EQ(line.stroke, line.set == 0 ? Stroke::Solid : Stroke::Dashed);
            if (!line.name.empty()) {
                EXPECT_EQ(line.name.rfind(comparing ? setName(line.set) + " : " : "", 0), 0u)
                    << line.name;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(Runs, EveryView, testing::ValuesIn(kScenarios),
                         [](const auto& info) { return info.param.name; });

// The legends and titles name the run's own figures, whatever comes next.
struct Legend {
    Settings settings;
    int classes;
    std::string observed; // the heterozygosity's legend
    std::string expected;
    std::string title; // of the all-classes view
};

TEST(Legends, DescribeTheRunOnDisplay) {
    const std::vector<Legend> cases = {
        {Settings{}, 12, "Moyenne des classes (N = 20)", "Attendue (Ne = 19,5)",
         "Allèle 1 dans chacune des 12 classes, générations 0 à 30"},
        {withN(40, Model::WrightFisher), 1, "Moyenne des classes (N = 40)", "Attendue (Ne = 40)",
         "Allèle 1 dans chacune des 1 classe, générations 0 à 30"},
        {withN(1000), 3, "Moyenne des classes (N = 1 000)", "Attendue (Ne = 999,5)",
         "Allèle 1 dans chacune des 3 classes, générations 0 à 30"},
    };
    for (const Legend& c : cases) {
        const LabRun run({c.settings}, c.classes, 30);
        ExpectedCache expected;
        const View h = heterozygosityView(run.records(), {}, expected);
        ASSERT_EQ(h.chart.lines.size(), 2u);
        EXPECT_EQ(h.chart.lines[0].name, c.observed);
        EXPECT_EQ(h.chart.lines[1].name, c.expected);
        EXPECT_EQ(allClassesView(run.records(), {}).chart.title, c.title);
        const View f = fixationView(run.records(), {}, expected);
        const Line* theory = nullptr;
        for (const Line& line : f.chart.lines)
            if (line.role == Role::Expected)
                theory = &line;
        ASSERT_NE(theory, nullptr);
        EXPECT_EQ(theory->name, "attendu " + percentText(*fixationProbabilities(c.settings)[0]));
    }
}

TEST(Legends, NoRunNoLine) {
    ExpectedCache expected;
    for (const View& view :
         {classView({}, {}), allClassesView({}, {}), fixationView({}, {}, expected),
          heterozygosityView({}, {}, expected), genotypesView({}, {})}) {
        EXPECT_TRUE(view.chart.lines.empty()) << view.chart.title;
        EXPECT_TRUE(view.notes.empty()) << view.chart.title;
        EXPECT_NE(view.chart.title.find("aucune simulation"), std::string::npos);
    }
}

// Two alleles face p², 2pq, q²; more, each pᵢ² and 1 − Σ p²: each genotype's
// observed band and its Hardy–Weinberg line in one colour, told apart by
// width, both drawn from the statistics; the status names the false deficit
// of pooled classes.
TEST(Legends, GenotypesBesideHardyWeinberg) {
    struct Case {
        Settings settings;
        std::vector<std::string> names;
    };
    Settings two = withN(30, Model::WrightFisher);
    two.alleles = 2;
    two.urn = evenUrn(30, 2);
    const std::vector<Case> cases = {
        {two, {"11", "p²", "12", "2pq", "22", "q²"}},
        {Settings{},
         {"11", "p₁²", "22", "p₂²", "33", "p₃²", "44", "p₄²", "hétérozygotes", "1 − Σ p²"}}};
    for (const Case& c : cases) {
        const LabRun run({c.settings}, 8, 40);
        const Statistics& stats = *run.stats[0];
        ChartChoice choice;
        choice.zoom = Span{5, 25};
        const View view = genotypesView(run.records(), choice);
        ASSERT_EQ(view.chart.lines.size(), c.names.size());
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            const Line& line = view.chart.lines[i];
            EXPECT_EQ(line.name, c.names[i]);
            const bool observed = i % 2 == 0;
            EXPECT_EQ(line.role, observed ? Role::Genotype : Role::HardyWeinberg);
            EXPECT_EQ(line.colour, view.chart.lines[i - i % 2].colour);
            EXPECT_GT(observed ? line.width : view.chart.lines[i - 1].width,
                      observed ? view.chart.lines[i + 1].width : line.width);
            ASSERT_EQ(line.points.size(), 21u);
            for (const Point& p : line.points) {
                const GenotypeShares& at = stats.genotypes()[static_cast<std::size_t>(p.x)];
                EXPECT_EQ(p.y, observed ? at.observed(line.allele) : at.expected(line.allele));
            }
        }
        ASSERT_EQ(view.status.size(), 1u);
        const GenotypeShares& at = stats.genotypes()[25];
        EXPECT_EQ(view.status[0],
                  "Génération 25 : " + percentText(at.observed(0)) + " d'hétérozygotes, " +
                      percentText(at.expected(0)) + " selon Hardy-Weinberg dans chaque classe, " +
                      percentText(at.pooledHeterozygotes) + " en mélangeant les classes.");
        ASSERT_EQ(view.notes.size(), 1u);
        EXPECT_NE(view.notes[0].words.pupil.find("Hardy-Weinberg"), std::string::npos);
    }
    // Words that say nothing of N are said once for two sets; the protocol's differ.
    Settings larger = two;
    larger.individuals = 50;
    larger.urn = evenUrn(50, 2);
    for (const auto& [b, leads] : {std::pair{larger, std::vector<std::string>{""}},
                                   std::pair{Settings{}, std::vector<std::string>{"A", "B"}}}) {
        const LabRun run({two, b}, 3, 10);
        const View view = genotypesView(run.records(), {});
        std::vector<std::string> said;
        for (const Note& note : view.notes)
            said.push_back(note.lead);
        EXPECT_EQ(said, leads);
        // One legend entry per genotype and set, so that four alleles' fit.
        EXPECT_EQ(view.chart.lines[0].name, "A : 11 (p²)");
        EXPECT_EQ(view.chart.lines[1].name, "");
    }
}

// The views draw the run's own numbers: every generation when they fit, the
// extremes of every class when they are reduced, and the edge counts.
TEST(Views, DrawTheRecordedCounts) {
    const LabRun run({Settings{}}, 40, 3000);
    const Experiment& e = *run.experiments[0];
    ChartChoice choice;
    choice.classNumber = 3;
    choice.zoom = Span{100, 199};
    const View zoomed = classView(run.records(), choice);
    ASSERT_EQ(zoomed.chart.lines.size(), 4u);
    ASSERT_EQ(zoomed.chart.lines[1].points.size(), 100u);
    for (const Point& p : zoomed.chart.lines[1].points)
        EXPECT_EQ(p.y, percentOf(e.counts(3, static_cast<int>(p.x))[1], 40));
    EXPECT_TRUE(zoomed.commands.wholeRun);

    choice.zoom.reset();
    choice.columns = 120;
    choice.allele = 2;
    const View all = allClassesView(run.records(), choice);
    ASSERT_EQ(all.chart.lines.size(), 40u);
    int fixed = 0;
    int lost = 0;
    for (int c = 1; c <= 40; ++c) {
        const auto& points = all.chart.lines[static_cast<std::size_t>(c - 1)].points;
        EXPECT_LE(points.size(), static_cast<std::size_t>(kPointsPerColumn * 120));
        double high = 0.0;
        for (int g = 0; g <= 3000; ++g)
            high = std::max(high, percentOf(e.counts(c, g)[1], 40));
        const auto drawn = std::max_element(points.begin(), points.end(),
                                            [](auto a, auto b) { return a.y < b.y; });
        EXPECT_EQ(drawn->y, high) << "class " << c;
        fixed += e.counts(c, 3000)[1] == 40;
        lost += e.counts(c, 3000)[1] == 0;
    }
    ASSERT_TRUE(all.edge.has_value());
    EXPECT_EQ(all.edge->fixed, fixed);
    EXPECT_EQ(all.edge->lost, lost);
}

TEST(Views, ZoomStaysWithinTheRun) {
    const LabRun run({Settings{}}, 2, 50);
    const auto records = run.records();
    EXPECT_EQ(clampedZoom(records, {10, 20}), (Span{10, 20}));
    EXPECT_EQ(clampedZoom(records, {-5, 999}), std::nullopt); // the whole run: no zoom
    EXPECT_EQ(clampedZoom(records, {40, 999}), (Span{40, 50}));
    EXPECT_EQ(clampedZoom(records, {30, 30}), std::nullopt); // not a stretch
    EXPECT_EQ(shownSpan(records, Span{40, 50}), (Span{40, 50}));
    EXPECT_EQ(shownSpan({}, std::nullopt), std::nullopt);
}

// Under a size history the curves read each generation's share of its own
// copies, and every view marks the generations on show where N changes.
TEST(Views, FollowTheSizeHistory) {
    Settings s = withN(20, Model::WrightFisher);
    s.sizes = {{5, 10}, {8, 30}};
    Settings other = withN(20, Model::WrightFisher);
    other.sizes = {{8, 40}, {10, 20}};
    const LabRun run({s, other}, 6, 12);
    const Experiment& e = *run.experiments[0];
    ChartChoice choice;
    choice.classNumber = 2;
    const View one = classView(run.records(), choice);
    ASSERT_EQ(one.chart.lines.size(), 4u);
    for (const Line& line : one.chart.lines)
        for (const Point& p : line.points) {
            const int g = static_cast<int>(p.x);
            EXPECT_EQ(p.y, percentOf(e.counts(2, g)[static_cast<std::size_t>(line.allele - 1)],
                                     s.copiesAt(g)))
                << g;
        }
    for (const View& view : everyView(run))
        EXPECT_EQ(view.chart.sizeChanges, (std::vector<int>{5, 8, 10}));
    choice.zoom = Span{6, 9};
    EXPECT_EQ(allClassesView(run.records(), choice).chart.sizeChanges, std::vector<int>{8});
    const View all = allClassesView(run.records(), ChartChoice{});
    ASSERT_TRUE(all.edge.has_value());
    int fixed = 0;
    for (int c = 1; c <= 6; ++c)
        fixed += e.counts(c, 12)[0] == s.copiesAt(12);
    EXPECT_EQ(all.edge->fixed, fixed);
    EXPECT_TRUE(classView({}, ChartChoice{}).chart.sizeChanges.empty());
    // No one Ne names a curve whose Ne changes with N.
    ExpectedCache expected;
    const View h = heterozygosityView(run.records(), ChartChoice{}, expected);
    std::vector<std::string> names;
    for (const Line& line : h.chart.lines)
        if (line.role == Role::Expected)
            names.push_back(line.name);
    EXPECT_EQ(names, (std::vector<std::string>{"A : attendue, Ne selon l'histoire de N",
                                               "B : attendue, Ne selon l'histoire de N"}));
}

// « A et B côte à côte »: every view, dealt out per set, gives each chart its
// own set's lines, words and changes of N, on axes that are the same for both
// even when B was stopped short of A.
TEST(SideBySide, EachChartItsSetOnCommonAxes) {
    Settings b = withN(40, Model::WrightFisher);
    b.sizes = {{6, 20}};
    LabRun run({withN(20), b}, 5, 30);
    run.experiments[0]->advanceTo(60); // A went further than B
    run.stats[0]->update(*run.experiments[0]);
    ExpectedCache expected;
    const std::vector<std::pair<const char*, ViewOf>> kinds{
        {"une classe", classView},
        {"toutes les classes", allClassesView},
        {"fixation",
         [&](const auto& sets, const auto& c) { return fixationView(sets, c, expected); }},
        {"hétérozygotie",
         [&](const auto& sets, const auto& c) { return heterozygosityView(sets, c, expected); }},
    };
    ChartChoice choice;
    choice.set = 1; // the chooser's set does not pick the charts
    for (const auto& [kind, viewOf] : kinds) {
        SCOPED_TRACE(kind);
        const std::vector<View> views = sideBySide(run.records(), choice, viewOf);
        ASSERT_EQ(views.size(), 2u);
        for (int set = 0; set < kSets; ++set) {
            const View& view = views[static_cast<std::size_t>(set)];
            EXPECT_EQ(view.shown.set, set);
            EXPECT_FALSE(view.commands.setChoice);
            ASSERT_FALSE(view.chart.lines.empty());
            for (const Line& line : view.chart.lines)
                EXPECT_EQ(line.set, set) << line.name;
            EXPECT_NE(view.chart.title.find(setName(set)), std::string::npos) << view.chart.title;
            for (const Note& note : view.notes)
                EXPECT_TRUE(note.lead.empty() || note.lead == setName(set));
            for (const std::string& line : view.status)
                EXPECT_EQ(line.rfind(setLabel(set, true), 0), 0u) << line;
            EXPECT_EQ(view.chart.sizeChanges, set == 1 ? std::vector<int>{6} : std::vector<int>{});
            EXPECT_EQ(view.chart.x.min, 0.0);
            EXPECT_EQ(view.chart.x.max, 60.0);
            EXPECT_EQ(view.chart.x.tick, views[0].chart.x.tick);
            EXPECT_EQ(view.chart.y.min, views[0].chart.y.min);
            EXPECT_EQ(view.chart.y.max, views[0].chart.y.max);
        }
        // What both sets say together is all said, each set's part in its own chart.
        const View whole = viewOf(run.records(), choice);
        if (!whole.commands.setChoice) {
            EXPECT_EQ(views[0].chart.lines.size() + views[1].chart.lines.size(),
                      whole.chart.lines.size());
            EXPECT_EQ(views[0].notes.size() + views[1].notes.size(), whole.notes.size());
            EXPECT_EQ(views[0].status.size() + views[1].status.size(), whole.status.size());
        }
    }
}

// One set alone, or no run: the one view, as it is.
TEST(SideBySide, OneSetIsOneView) {
    const LabRun run({withN(20)}, 3, 10);
    for (const std::vector<ViewSet>& sets : {run.records(), std::vector<ViewSet>{}}) {
        const std::vector<View> views = sideBySide(sets, ChartChoice{}, classView);
        ASSERT_EQ(views.size(), 1u);
        EXPECT_EQ(views[0].chart.title, classView(sets, ChartChoice{}).chart.title);
    }
}

} // namespace
} // namespace bocavo::labo

// Every expected figure the laboratory shows, against the simulation, across
// the whole allowed range: both models, K = 2 to 4, fitness 10 to 1 000 %, u
// up to 0.1, m up to 0.5. Each case's tolerance is four standard errors of
// the simulated quantity plus what the figure's method admits: nothing for
// the exact recursions and the Markov chain, 0.002 for the protocol's
// founding average, 0.01 for the diffusion. Under the sanitizers the first
// case of each table runs.
#include "core/lab/science/fixation.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"
#include "labo/cli/command_line.h"
#include "tests/core/lab/sampling.h"
#include "tests/scratch_dir.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>

namespace bocavo::labo {
namespace {

constexpr double kFoundingAverage = 0.002; // the protocol's averaged founding draws
constexpr double kDiffusion = 0.01;        // the diffusion's own error inside its domain

Settings set(int n, Model model, std::array<int, 4> urn, int alleles,
             std::array<int, 4> fitness = {100, 100, 100, 100}, double u = 0.0, double m = 0.0) {
    Settings s;
    s.individuals = n;
    s.model = model;
    s.alleles = alleles;
    s.urn = urn;
    s.fitness = fitness;
    s.mutation = u;
    s.migration = m;
    return s;
}

std::string describe(const Settings& s, int classes) {
    std::string text = (s.model == Model::Protocole ? "protocole" : "wright-fisher") +
                       std::string(", N = ") + std::to_string(s.individuals) +
                       ", K = " + std::to_string(s.alleles) + ", urne";
    for (int k = 0; k < s.alleles; ++k)
        text += " " + std::to_string(s.urn[static_cast<std::size_t>(k)]);
    text += ", valeurs";
    for (int k = 0; k < s.alleles; ++k)
        text += " " + std::to_string(s.fitness[static_cast<std::size_t>(k)]);
    return text + ", u = " + std::to_string(s.mutation) + ", m = " + std::to_string(s.migration) +
           ", " + std::to_string(classes) + " classes";
}

// Heterozygosity and, between linked classes, Fst. Unlinked classes are
// independent samples; linked ones are not, so each run's mean is one sample.
struct Trajectory {
    Settings settings;
    int classes;
    int runs;
    int last;
};

TEST(ExpectedTest, HeterozygosityAndDifferentiationFollowTheSimulation) {
    const std::array<Trajectory, 7> cases{{
        // The founding draw's effect on an uneven urn (4 balls in 40).
        {set(20, Model::Protocole, {4, 36, 0, 0}, 2), 1000, 1, 60},
        {set(10, Model::WrightFisher, {7, 7, 6, 0}, 3, {100, 100, 100, 100}, 0.1), 1000, 1, 100},
        {set(100, Model::Protocole, {20, 100, 40, 40}, 4), 1000, 1, 100},
        // Island model: the exact recursion where the old formula was 20 % low.
        {set(50, Model::WrightFisher, {25, 25, 25, 25}, 4, {100, 100, 100, 100}, 0, 0.1), 10, 40,
         60},
        {set(30, Model::Protocole, {15, 15, 15, 15}, 4, {100, 100, 100, 100}, 0.05, 0.5), 10, 40,
         60},
        {set(50, Model::WrightFisher, {10, 90, 0, 0}, 2, {100, 100, 100, 100}, 0, 0.2), 10, 40, 60},
        {set(10, Model::Protocole, {7, 7, 6, 0}, 3, {100, 100, 100, 100}, 0.02, 0.1), 5, 100, 60},
    }};
    for (const Trajectory& c : casesToRun(cases)) {
        const Settings& s = c.settings;
        const auto h = expectedHeterozygosity(s, c.last, c.classes);
        const auto fst = expectedDifferentiation(s, c.classes, c.last);
        ASSERT_EQ(h.size(), static_cast<std::size_t>(c.last) + 1);
        const bool linked = s.migration > 0.0;
        ASSERT_EQ(fst.empty(), !linked);
        const std::array<int, 4> times{1, 2, c.last / 4, c.last};
        std::array<Sample, 4> hs, fs;
        for (int r = 0; r < c.runs; ++r) {
            Experiment experiment(s, c.classes, 31u + static_cast<std::uint32_t>(r));
            experiment.advanceTo(c.last, {nullptr, {}, 1});
            Statistics stats;
            stats.update(experiment);
            EXPECT_EQ(stats.differentiation()[0], 0.0) << "every class holds the urn";
            for (std::size_t i = 0; i < times.size(); ++i) {
                const int t = times[i];
                if (linked) {
                    hs[i].add(stats.meanHeterozygosity()[static_cast<std::size_t>(t)]);
                    if (const auto f = stats.differentiation()[static_cast<std::size_t>(t)])
                        fs[i].add(*f);
                } else {
                    for (int k = 1; k <= c.classes; ++k)
                        hs[i].add(heterozygosity(experiment.counts(k, t), s.copies()));
                }
            }
        }
        const double founding = s.model == Model::Protocole ? kFoundingAverage : 0.0;
        for (std::size_t i = 0; i < times.size(); ++i) {
            const auto t = static_cast<std::size_t>(times[i]);
            EXPECT_NEAR(hs[i].mean(), h[t], 4.0 * hs[i].se() + founding)
                << describe(s, c.classes) << ", H à la génération " << t;
            // The mean of a ratio is not the ratio of the means: with 5 to 10
            // classes they differ by a few percent, hence 5 % of the value.
            if (linked) {
                EXPECT_NEAR(fs[i].mean(), fst[t], 4.0 * fs[i].se() + 0.05 * fst[t] + founding)
                    << describe(s, c.classes) << ", Fst à la génération " << t;
            }
        }
    }
}

// Share of `classes` × `runs` classes where each allele was fixed.
std::array<Sample, 4> fixedShares(const Settings& s, int classes, int runs) {
    std::array<Sample, 4> shares;
    for (int r = 0; r < runs; ++r) {
        Experiment experiment(s, classes, 700u + static_cast<std::uint32_t>(r));
        experiment.advanceUntilFixation();
        EXPECT_TRUE(experiment.allFixed());
        for (int c = 1; c <= classes; ++c) {
            const Counts counts = experiment.counts(c, experiment.generation());
            for (std::size_t k = 0; k < shares.size(); ++k)
                shares[k].add(counts[k] == s.copies() ? 1.0 : 0.0);
        }
    }
    return shares;
}

struct Ending {
    Settings settings;
    FixationMethod method;
    int classes;
    int runs;
};

TEST(ExpectedTest, FixationFiguresFollowTheSimulation) {
    const std::array<Ending, 7> cases{{
        // A harmful allele at 95 %: the weak-selection formula gave it 16.5 %.
        {set(20, Model::WrightFisher, {38, 2, 0, 0}, 2, {10, 100, 100, 100}), FixationMethod::Chain,
         1000, 3},
        {set(20, Model::WrightFisher, {2, 38, 0, 0}, 2, {1000, 100, 100, 100}),
         FixationMethod::Chain, 1000, 3},
        {set(50, Model::WrightFisher, {10, 45, 45, 0}, 3, {100, 110, 110, 100}),
         FixationMethod::Chain, 1000, 3},
        {set(40, Model::WrightFisher, {20, 20, 20, 20}, 4, {100, 100, 100, 130}),
         FixationMethod::Chain, 1000, 3},
        {set(50, Model::Protocole, {25, 25, 25, 25}, 4, {10, 100, 100, 100}),
         FixationMethod::Diffusion, 1000, 1},
        {set(20, Model::Protocole, {20, 20, 0, 0}, 2, {1000, 100, 100, 100}),
         FixationMethod::Diffusion, 1000, 1},
        {set(600, Model::WrightFisher, {120, 1080, 0, 0}, 2, {105, 100, 100, 100}),
         FixationMethod::Diffusion, 300, 1},
    }};
    for (const Ending& c : casesToRun(cases)) {
        const Settings& s = c.settings;
        const Fixation expected = fixation(s);
        ASSERT_EQ(expected.method, c.method) << describe(s, c.classes);
        const auto shares = fixedShares(s, c.classes, c.runs);
        const double n = c.classes * c.runs;
        const double method = c.method == FixationMethod::Diffusion ? kDiffusion
                              : s.model == Model::Protocole         ? kFoundingAverage
                                                                    : 0.0;
        for (std::size_t k = 0; k < static_cast<std::size_t>(s.alleles); ++k) {
            const double u = *expected.chance[k];
            // A share near 0 or 1 still has a standard error of about 1/n.
            EXPECT_NEAR(shares[k].mean(), u,
                        4.0 * std::sqrt((u * (1.0 - u) + 1.0 / n) / n) + method)
                << describe(s, c.classes) << ", allèle " << k + 1;
        }
    }
}

// Outside every method's domain no figure is shown, rather than a wrong one:
// the protocol with 2 copies of an allele 50 % fitter (the weak-selection
// formula said 85.6 %, 80.9 ± 0.6 % of the classes fix it), three fitnesses
// apart, and a single favoured copy among 2 000 under strong selection.
TEST(ExpectedTest, NoFigureOutsideTheDomains) {
    EXPECT_FALSE(
        fixation(set(20, Model::Protocole, {2, 38, 0, 0}, 2, {150, 100, 100, 100})).chance[0]);
    EXPECT_FALSE(
        fixation(set(20, Model::WrightFisher, {10, 10, 20, 0}, 3, {90, 100, 110, 100})).chance[0]);
    EXPECT_FALSE(fixation(set(1000, Model::WrightFisher, {1, 1999, 0, 0}, 2, {200, 100, 100, 100}))
                     .chance[0]);
    EXPECT_TRUE(expectedHeterozygosity(
                    set(20, Model::Protocole, {10, 30, 0, 0}, 2, {110, 100, 100, 100}), 10)
                    .empty());
}

// The figures of the `attendu <quoi> : <valeur>` lines, by <quoi>; each value
// a plain number with a point.
std::map<std::string, double> expectedFigures(const std::string& summary) {
    std::map<std::string, double> figures;
    std::istringstream lines(summary);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("attendu "))
            continue;
        const auto colon = line.find(" : ");
        const std::string value = line.substr(colon + 3);
        EXPECT_EQ(value.find_first_not_of("0123456789."), std::string::npos) << line;
        figures[line.substr(8, colon - 8)] = std::stod(value);
    }
    return figures;
}

// The command line's `attendu <quoi> : <valeur>` lines, read as a script
// reads them: each figure is theory's to the four decimals printed, and the
// expected heterozygosity at the last generation is what the file's 1 000
// classes hold (four standard errors plus the founding average).
TEST(ExpectedTest, TheCommandLineSaysWhatTheoryExpects) {
    const ScratchDir dir;
    const auto csv = dir / "attendu.csv";
    std::ostringstream out, err;
    ASSERT_EQ(runCommandLine({"--classes", "1000", "--generations", "40", "--seed", "5",
                              "--alleles", "2", "--urn", "4,36", "--csv", csv.string()},
                             out, err),
              0)
        << err.str();
    auto figures = expectedFigures(out.str());
    Settings s;
    s.alleles = 2;
    s.urn = {4, 36, 0, 0};
    const auto fixed = fixationProbabilities(s);
    const double h40 = expectedHeterozygosity(s, 40).back();
    EXPECT_EQ(figures, (std::map<std::string, double>{
                           {"Ne", 19.5},
                           {"hétérozygotie", std::round(h40 * 1e4) / 1e4},
                           {"allèle 1", std::round(*fixed[0] * 1e4) / 1e4},
                           {"allèle 2", std::round(*fixed[1] * 1e4) / 1e4},
                       }));
    Sample observed;
    std::istringstream rows(readAll(csv));
    std::string row;
    std::getline(rows, row); // the header
    std::array<int, 2> counts{};
    while (std::getline(rows, row)) {
        int c = 0, g = 0, allele = 0, count = 0;
        ASSERT_EQ(std::sscanf(row.c_str(), "%d,%d,%d,%d", &c, &g, &allele, &count), 4) << row;
        if (g != 40)
            continue;
        counts[static_cast<std::size_t>(allele - 1)] = count;
        if (allele == 2)
            observed.add(heterozygosity({static_cast<std::uint16_t>(counts[0]),
                                         static_cast<std::uint16_t>(counts[1]), 0, 0},
                                        40));
    }
    ASSERT_EQ(observed.count, 1000);
    EXPECT_NEAR(observed.mean(), figures["hétérozygotie"], 4.0 * observed.se() + 0.002);
    // Between classes linked by migration, Fst too; no fixation figure then.
    std::ostringstream linkedOut, linkedErr;
    ASSERT_EQ(runCommandLine({"--classes", "10", "--generations", "50", "--migration", "0.1",
                              "--csv", (dir / "fst.csv").string()},
                             linkedOut, linkedErr),
              0);
    Settings linked;
    linked.migration = 0.1;
    const double fst = expectedDifferentiation(linked, 10, 50).back();
    const double h = expectedHeterozygosity(linked, 50, 10).back();
    EXPECT_EQ(expectedFigures(linkedOut.str()),
              (std::map<std::string, double>{{"Ne", 19.5},
                                             {"hétérozygotie", std::round(h * 1e4) / 1e4},
                                             {"Fst", std::round(fst * 1e4) / 1e4}}));
}

} // namespace
} // namespace bocavo::labo

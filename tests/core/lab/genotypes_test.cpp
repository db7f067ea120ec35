// The genotypes the statistics average over the classes: counted from the
// children of each generation, with every fixed class wholly homozygous, the
// same whichever path bred the class, and never counted twice when a run to
// fixation is continued.
#include "core/lab/science/genotype_census.h"
#include "core/lab/science/statistics.h"
#include "core/lab/view/chart.h"
#include "engine/generation.h"
#include "tests/engine/scripted_source.h"

#include <gtest/gtest.h>

namespace bocavo::labo {
namespace {

using test::pick;
using test::ScriptedSource;

TEST(GenotypeCount, HandCountedPopulations) {
    // Two founders 11 and 22 from an urn of 2 + 2 balls; two children of the
    // ideal model drawing parent copies 1, 3 (a 12) then 2, 2 (a 11).
    Settings s;
    s.individuals = 2;
    s.model = Model::WrightFisher;
    s.alleles = 2;
    s.urn = {2, 2, 0, 0};
    ScriptedSource source({pick(1, 2), pick(1, 2), pick(2, 2), pick(2, 2), pick(1, 4), pick(3, 4),
                           pick(2, 4), pick(2, 4)});
    Deme deme;
    deme.found(Plan(s), source);
    EXPECT_EQ(homozygotesOf(deme.parents()), (Counts{1, 1, 0, 0}));
    EXPECT_EQ(homozygotesOf(deme.children(1)), (Counts{1, 0, 0, 0}));
    EXPECT_EQ(source.used(), 8u);

    // The census leaves a class of one allele out, across a block's edge.
    GenotypeCensus census;
    census.prepare(1030);
    census.add(1029, {3, 1, 0, 0}, {1, 0, 0, 0});
    census.add(1029, {4, 0, 0, 0}, {2, 0, 0, 0});
    census.add(1029, {2, 2, 0, 0}, {0, 1, 0, 0});
    EXPECT_EQ(census.at(1029), (GenotypeCensus::Sums{1, 1, 0, 0}));
    EXPECT_EQ(census.at(1023), (GenotypeCensus::Sums{}));
}

// Genotype shares of one class, worked out from its individuals.
struct ClassShares {
    std::array<double, 4> homozygotes{};
    std::array<double, 4> frequencies{};
};

ClassShares sharesOf(const std::vector<Allele>& copies) {
    ClassShares shares;
    const double individuals = static_cast<double>(copies.size()) / 2;
    for (std::size_t i = 0; i < copies.size(); i += 2) {
        shares.frequencies[copies[i]] += 0.5 / individuals;
        shares.frequencies[copies[i + 1]] += 0.5 / individuals;
        if (copies[i] == copies[i + 1])
            shares.homozygotes[copies[i]] += 1.0 / individuals;
    }
    return shares;
}

std::vector<Allele> copiesOf(const Genotypes& table) {
    std::vector<Allele> copies;
    for (int i = 1; i <= kIndividus; ++i)
        for (int j = 1; j <= kCopies; ++j)
            copies.push_back(static_cast<Allele>(table(i, j) - 1));
    return copies;
}

// Every class bred again on its own, its genotypes looked at one by one, and
// the shares averaged class by class: [generation][class].
using Recount = std::vector<std::vector<ClassShares>>;

struct Linked {
    const std::vector<Deme>* demes = nullptr;
    std::size_t self = 0;
    int g = 0;
    int count() const { return demes ? static_cast<int>(demes->size()) - 1 : 0; }
    const Allele* copiesOf(int d) const {
        const auto n = static_cast<std::size_t>(d) + (static_cast<std::size_t>(d) >= self);
        return (*demes)[n].children(g - 1).data();
    }
};

Recount recount(const Settings& s, int classes, std::uint32_t seed, int last) {
    Recount all(static_cast<std::size_t>(last) + 1);
    std::vector<Source_Aleatoire> sources;
    for (int n = 1; n <= classes; ++n)
        sources.emplace_back(classSeed(seed, n));
    if (isClassroomProtocol(s)) {
        for (Source_Aleatoire& source : sources) {
            Population pop;
            foundGeneration(pop, source);
            all[0].push_back(sharesOf(copiesOf(pop.Geno_Parent)));
            all[1].push_back(sharesOf(copiesOf(pop.Geno_Enfant)));
            for (int g = 2; g <= last; ++g) {
                nextGeneration(pop, source);
                all[static_cast<std::size_t>(g)].push_back(sharesOf(copiesOf(pop.Geno_Enfant)));
            }
        }
        return all;
    }
    const Plan plan(s);
    std::vector<Deme> demes(static_cast<std::size_t>(classes));
    for (std::size_t n = 0; n < demes.size(); ++n) {
        demes[n].found(plan, sources[n]);
        all[0].push_back(sharesOf(demes[n].parents()));
        all[1].push_back(sharesOf(demes[n].children(1)));
    }
    for (int g = 2; g <= last; ++g)
        for (std::size_t n = 0; n < demes.size(); ++n) {
            demes[n].next(plan, sources[n], g, Linked{s.migration > 0.0 ? &demes : nullptr, n, g});
            all[static_cast<std::size_t>(g)].push_back(sharesOf(demes[n].children(g)));
        }
    return all;
}

// The averages are over the classes with individuals: one that died out has
// no genotype left.
void expectSameShares(const Statistics& stats, const Recount& all) {
    ASSERT_EQ(stats.genotypes().size(), all.size());
    for (std::size_t g = 0; g < all.size(); ++g) {
        const GenotypeShares& seen = stats.genotypes()[g];
        std::vector<ClassShares> living;
        for (const ClassShares& c : all[g])
            if (c.frequencies != std::array<double, 4>{})
                living.push_back(c);
        ASSERT_EQ(seen.classes, static_cast<int>(living.size())) << "generation " << g;
        if (living.empty())
            continue;
        const double classes = static_cast<double>(living.size());
        std::array<double, 4> pooled{};
        double pooledSquares = 0.0;
        for (std::size_t k = 0; k < 4; ++k) {
            double homozygotes = 0.0, squares = 0.0;
            for (const ClassShares& c : living) {
                homozygotes += c.homozygotes[k] / classes;
                squares += c.frequencies[k] * c.frequencies[k] / classes;
                pooled[k] += c.frequencies[k] / classes;
            }
            EXPECT_NEAR(seen.homozygotes[k], homozygotes, 1e-12) << "generation " << g;
            EXPECT_NEAR(seen.hardyWeinberg[k], squares, 1e-12) << "generation " << g;
            pooledSquares += pooled[k] * pooled[k];
        }
        EXPECT_NEAR(seen.pooledHeterozygotes, 1.0 - pooledSquares, 1e-12) << "generation " << g;
        // The mean heterozygosity is the living classes' too, dead ones or not.
        EXPECT_NEAR(seen.expected(0), stats.meanHeterozygosity()[g], 1e-12) << "generation " << g;
    }
}

Settings ideal(int individuals, int alleles) {
    Settings s;
    s.individuals = individuals;
    s.model = Model::WrightFisher;
    s.alleles = alleles;
    s.urn = evenUrn(individuals, alleles);
    return s;
}

struct Case {
    const char* name;
    Settings settings;
    int classes;
    int generations;
};

// The classroom's own procedure (whose fixed classes are copied, not bred),
// the generalised one with mutation, a size history, and migration's linked
// classes: each average is that of the classes' own genotypes, generation by
// generation; and a run to fixation continued further counts nothing twice.
TEST(GenotypeStatistics, AverageEachClassesOwnGenotypes) {
    Settings mutation = ideal(30, 3);
    mutation.mutation = 0.01;
    Settings history = ideal(20, 2);
    history.model = Model::Protocole;
    history.sizes = {{10, 40}, {15, 10}};
    Settings migration = ideal(20, 2);
    migration.migration = 0.1;
    // 22 lethal and 150 allele-1 balls among 2 000: some classes of 10 found
    // none and die out at the first breeding, the others live on.
    Settings dying = ideal(10, 2);
    dying.urn = {150, 1850, 0, 0};
    dying.genotypes = {{100, 100, 0}};
    const std::vector<Case> cases = {{"classroom", Settings{}, 6, 0},
                                     {"mutation", mutation, 5, 60},
                                     {"size history", history, 4, 40},
                                     {"migration", migration, 5, 40},
                                     {"dying", dying, 40, 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Experiment experiment(c.settings, c.classes, 31);
        if (c.generations == 0) {
            experiment.advanceUntilFixation();
            experiment.advanceTo(experiment.generation() + 40);
        } else {
            experiment.advanceTo(c.generations);
        }
        Statistics stats;
        stats.update(experiment);
        expectSameShares(stats, recount(c.settings, c.classes, 31, experiment.generation()));
    }
}

// Every class dead from the first breeding: genotypes at generation 0 only,
// in the statistics, the view and its table alike.
TEST(GenotypeStatistics, ClassesThatDiedOutHaveNone) {
    Settings s = ideal(20, 2);
    s.urn = {0, 40, 0, 0};
    s.genotypes = {{100, 100, 0}};
    Experiment experiment(s, 3, 1);
    experiment.advanceTo(25);
    Statistics stats;
    stats.update(experiment);
    EXPECT_EQ(stats.lastWithGenotypes(), 0);
    EXPECT_EQ(stats.genotypes()[0].observed(2), 1.0);
    EXPECT_EQ(stats.genotypes()[25].classes, 0);
    const std::vector<ViewSet> sets{{&experiment, &stats}};
    const View view = genotypesView(sets, {});
    for (const Line& line : view.chart.lines)
        EXPECT_EQ(line.points.size(), 1u) << line.name;
    ASSERT_EQ(view.status.size(), 1u);
    EXPECT_EQ(view.status[0].rfind("Génération 0 : 0 % d'hétérozygotes", 0), 0u) << view.status[0];
    const ViewTable table = viewTable(sets, {ViewKind::Genotypes, 0, 1, 1, 0, 25});
    EXPECT_EQ(table.rows[1][1].kind, SheetCell::Kind::Number);
    EXPECT_EQ(table.rows[2][1].kind, SheetCell::Kind::Empty);
}

} // namespace
} // namespace bocavo::labo

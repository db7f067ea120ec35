// What the views say: the pupil's words change with the population's size and
// the forces at work and never show a formula; the teacher's details keep the
// figures. And the notice of parameters edited after a run.
#include "core/lab/words/explanation.h"
#include "core/lab/words/pending_notice.h"

#include <gtest/gtest.h>
#include <vector>

namespace bocavo::labo {
namespace {

Settings sized(int n, Model model = Model::Protocole, int alleles = 4) {
    Settings s;
    s.individuals = n;
    s.model = model;
    s.alleles = alleles;
    s.urn = evenUrn(n, alleles);
    return s;
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// What would make a sentence a formula for a pupil of fifteen.
void expectNoFormula(const std::string& pupil) {
    EXPECT_FALSE(pupil.empty());
    for (const char* sign : {"=", "/", "^", "Σ", "·", "×", "−", "√", "Ne", "Vk", "Fst", "H(", "u(",
                             "Markov", "diffusion", "approximation", "Wright", "Kimura"})
        EXPECT_FALSE(has(pupil, sign)) << "« " << sign << " » in: " << pupil;
}

struct Case {
    const char* name;
    Settings settings;
    int classes;
    std::vector<std::string> pupilSays;
    std::vector<std::string> pupilOmits;
    std::vector<std::string> teacherSays;
};

Settings with(Settings s, double mutation, double migration, std::array<int, 4> fitness) {
    s.mutation = mutation;
    s.migration = migration;
    s.fitness = fitness;
    return s;
}

constexpr std::array<int, 4> kNeutral{100, 100, 100, 100};

TEST(ExplanationTest, HeterozygosityInPlainWordsBySizeAndForce) {
    const std::vector<Case> cases{
        {"classe",
         Settings{},
         30,
         {"Avec seulement 20 individus",
          "dans une petite population, un allèle disparaît plus vite",
          "diminuer de moitié en environ 27 générations"},
         {"grande", "mutation", "migrants"},
         {"Ne = 19,5", "Ne = (4N − 2)/(Vk + 2)", "1/(2Ne) = 2,6 %"}},
        {"moyenne",
         sized(200, Model::WrightFisher),
         30,
         {"Avec 200 individus", "plus la population est petite, plus un allèle disparaît vite",
          "environ 280 générations"},
         {"Avec seulement", "est grande"},
         {"Ne = N = 200"}},
        {"grande",
         sized(2000),
         30,
         {"Avec 2 000 individus, la population est grande", "environ 2 800 générations"},
         {"petite"},
         {"1/(2Ne) = 0,025 %"}},
        {"mutation",
         with(sized(20, Model::WrightFisher), 0.01, 0, kNeutral),
         30,
         {"petite", "ne tombe pas à zéro, elle se stabilise vers 38 %."},
         {"de moitié", "migrants"},
         {"Équilibre mutation–dérive"}},
        {"migration",
         with(sized(20, Model::WrightFisher), 0, 0.1, kNeutral),
         30,
         {"Des migrants venus des autres classes"},
         {"de moitié", "mutation"},
         {"Fst se stabilise vers 0,"}},
        {"sélection",
         with(sized(2000), 0, 0, {150, 100, 100, 100}),
         30,
         {"grande", "La sélection avantage certains allèles"},
         {"de moitié"},
         {"Ne = 1 999,5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Explanation words = heterozygosityExplanation(c.settings, c.classes);
        expectNoFormula(words.pupil);
        for (const std::string& part : c.pupilSays)
            EXPECT_TRUE(has(words.pupil, part)) << part << " not in: " << words.pupil;
        for (const std::string& part : c.pupilOmits)
            EXPECT_FALSE(has(words.pupil, part)) << part << " in: " << words.pupil;
        for (const std::string& part : c.teacherSays)
            EXPECT_TRUE(has(words.teacher, part)) << part << " not in: " << words.teacher;
    }
}

TEST(ExplanationTest, FixationInPlainWordsWithTheRunsClasses) {
    Settings rare = sized(20, Model::Protocole, 2);
    rare.urn = {4, 36, 0, 0};
    Settings single = sized(200, Model::WrightFisher, 2);
    single.urn = {1, 399, 0, 0};
    Settings lethal = rare;
    lethal.genotypes = std::array<int, 3>{100, 100, 0};
    Settings strong = lethal;
    strong.genotypes = std::array<int, 3>{100, 150, 50};
    const std::vector<Case> cases{
        {"neutre, protocole",
         rare,
         30,
         {"Sans sélection, le hasard seul décide",
          "ce soit l'allèle 1 dans 19 % des classes (6 sur 30), l'allèle 2 dans 81 % (24 sur 30)."},
         {"sélection avantage"},
         {"allèle 1 : 19,3 % (10 % au départ)",
          "Dans le modèle idéal (Wright-Fisher), la même urne donnerait sa fréquence de départ : "
          "allèle 1 : 10 %"}},
        {"une seule classe",
         sized(20, Model::WrightFisher, 2),
         1,
         {"l'allèle 1 dans 50 % des cas, l'allèle 2 dans 50 %."},
         {"sur 1"},
         {"sa fréquence de départ"}},
        {"un seul exemplaire",
         single,
         30,
         {"l'allèle 1 dans moins de 1 % des classes (0 sur 30), l'allèle 2 dans 100 %"},
         {" 0 %"},
         {"allèle 1 : 0,25 %"}},
        {"sélection exacte",
         with(sized(20, Model::WrightFisher, 2), 0, 0, {150, 100, 100, 100}),
         10,
         {"La sélection avantage les allèles", "sur 10)"},
         {"Sans sélection"},
         {"exactement"}},
        {"mutation",
         with(rare, 0.01, 0, kNeutral),
         30,
         {"La mutation peut faire réapparaître un allèle perdu"},
         {"%"},
         {"une fixation n'est pas définitive"}},
        {"migration",
         with(rare, 0, 0.1, kNeutral),
         30,
         {"Un migrant peut ramener un allèle perdu"},
         {"%"},
         {"une fixation n'est pas définitive"}},
        {"homozygote létal",
         lethal,
         30,
         {"ne peut pas l'emporter", "l'allèle 1 dans 100 % des classes (30 sur 30), l'allèle 2 "
                                    "dans 0 % (0 sur 30)"},
         {"valeur sélective, mais"},
         {"Probabilité de fixation exacte", "allèle 2 : 0 %"}},
        {"génotypes hors du calcul",
         strong,
         30,
         {"La sélection favorise certains génotypes", "on ne peut pas dire simplement"},
         {"%"},
         {"avec les valeurs sélectives des génotypes"}},
        {"sélection hors du calcul",
         with(sized(20, Model::Protocole, 3), 0, 0, {50, 100, 150, 100}),
         30,
         {"on ne peut pas dire simplement"},
         {"%"},
         {"Aucune probabilité de fixation n'est attendue ici"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Explanation words = fixationExplanation(c.settings, c.classes);
        expectNoFormula(words.pupil);
        for (const std::string& part : c.pupilSays)
            EXPECT_TRUE(has(words.pupil, part)) << part << " not in: " << words.pupil;
        for (const std::string& part : c.pupilOmits)
            EXPECT_FALSE(has(words.pupil, part)) << part << " in: " << words.pupil;
        for (const std::string& part : c.teacherSays)
            EXPECT_TRUE(has(words.teacher, part)) << part << " not in: " << words.teacher;
    }
}

TEST(ExplanationTest, DifferentiationInWordsOnWrightsScale) {
    const Settings apart = sized(20, Model::WrightFisher);
    const Settings linked = with(apart, 0, 0.1, kNeutral);
    const struct {
        Settings settings;
        int classes;
        std::optional<double> fst;
        const char* pupil;
        const char* teacher;
    } cases[] = {
        {apart, 1, 0.0, "Avec une seule classe, il n'y a pas d'autre classe", "au moins deux"},
        {apart, 30, 0.01, "À la génération 40, les classes sont peu différentes",
         "Différenciation entre les classes à la génération 40 : Fst = 0,01"},
        {apart, 30, 0.1, "sont assez différentes les unes des autres : chacune dérive",
         "Fst = 0,1 "},
        {linked, 30, 0.2, "sont très différentes les unes des autres : les migrants",
         "Fst se stabilise"},
        {apart, 30, 0.6, "sont extrêmement différentes", "Fst = 0,6 "},
        {apart, 30, std::nullopt, "toutes les classes ont gardé le même allèle",
         "Fst n'a plus de sens"},
    };
    for (const auto& c : cases) {
        const Explanation words = differentiationExplanation(c.settings, c.classes, 40, c.fst);
        expectNoFormula(words.pupil);
        EXPECT_TRUE(has(words.pupil, c.pupil)) << words.pupil;
        EXPECT_TRUE(has(words.teacher, c.teacher)) << words.teacher;
    }
}

TEST(PendingNoticeTest, NamesWhatWaitsForTheNextLaunch) {
    const Scenario run;
    Scenario bigger = run;
    bigger.a.individuals = 200;
    bigger.a.urn = evenUrn(200, 4);
    Scenario reseeded = run;
    reseeded.seed = 7;
    reseeded.generations = 250;
    Scenario compared = run;
    compared.b = Settings{};
    Scenario comparedB = compared;
    comparedB.b->mutation = 0.001;
    Scenario twoAlleles = run;
    twoAlleles.a.alleles = 2;
    twoAlleles.a.urn = evenUrn(20, 2);
    Scenario lethal = twoAlleles;
    lethal.a.genotypes = std::array<int, 3>{100, 100, 0};
    const struct {
        Scenario shown;
        std::optional<Scenario> edited;
        const char* says; // nothing when the notice must stay away
    } cases[] = {
        {run, run, nullptr},
        {compared, compared, nullptr},
        {run, bigger,
         "(Individus N : 20 → 200 ; Boules dans l'urne : 10, 10, 10, 10 → 100, 100, 100, 100)"},
        {run, reseeded, "(Nombre de générations : 100 → 250 ; Graine : 1993 → 7)"},
        {run, compared, "(jeu B ajouté)"},
        {compared, run, "(jeu B retiré)"},
        {compared, comparedB, "(Mutation u du jeu B : 0 → 0.001)"},
        // A parameter left out is said as such, not as a blank.
        {twoAlleles, lethal, "(Génotypes 11, 12, 22 (%) : (vide) → 100, 100, 0)"},
        {run, std::nullopt, "une fois corrigés"},
    };
    for (const auto& c : cases) {
        const std::string notice = pendingNotice(c.shown, c.edited);
        if (!c.says) {
            EXPECT_EQ(notice, "");
            continue;
        }
        EXPECT_TRUE(has(notice, c.says)) << notice;
        EXPECT_TRUE(has(notice, "ils s'appliqueront au prochain « Lancer »")) << notice;
    }
}

} // namespace
} // namespace bocavo::labo

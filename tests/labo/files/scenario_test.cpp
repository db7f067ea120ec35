// Scenario files: what is written reads back equal; anything malformed,
// truncated, out of range, not UTF-8 or misspelt is refused with the line and
// the value named, and leaves the caller's parameters as they were.
#include "labo/files/scenario_file.h"
#include "tests/scratch_dir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace bocavo::labo {
namespace {

Scenario comparison() {
    Scenario s;
    s.classes = 12;
    s.generations = 345;
    s.seed = 4'000'000'000u;
    s.a.individuals = 60;
    s.a.model = Model::WrightFisher;
    s.a.alleles = 3;
    s.a.urn = {12, 100, 8, 0};
    s.a.fitness = {110, 100, 95, 100};
    s.a.mutation = 0.0025;
    s.a.migration = 0.125;
    Settings b;
    b.individuals = 10'000;
    b.urn = evenUrn(10'000, 4);
    s.b = b;
    return s;
}

TEST(ScenarioTest, WrittenScenariosReadBackEqual) {
    for (Scenario s : {comparison(), Scenario{}}) {
        const Result<Scenario> back = parseScenario(scenarioText(s));
        ASSERT_TRUE(back) << back.reason();
        EXPECT_EQ(*back, s);
        s.b.reset();
        const Result<Scenario> alone = parseScenario(scenarioText(s));
        ASSERT_TRUE(alone) << alone.reason();
        EXPECT_EQ(*alone, s);
    }
    const std::string text = scenarioText(comparison());
    EXPECT_NE(text.find("\nmutation = 0.0025\n"), std::string::npos);
    EXPECT_NE(text.find("\nurn = 12, 100, 8\n"), std::string::npos);
    EXPECT_TRUE(checkScenario(comparison()));
    EXPECT_NE(secondSeed(1993), 1993u);
}

// The README's example is a real scenario, kept beside the tests.
TEST(ScenarioTest, TheReadmesExampleIsSound) {
    const auto path = std::filesystem::path(LABO_TEST_DATA) / "comparaison.scenario";
    const Result<Scenario> loaded = loadScenario(path);
    ASSERT_TRUE(loaded) << loaded.reason();
    EXPECT_EQ(loaded->a, Settings{});
    ASSERT_TRUE(loaded->b);
    EXPECT_EQ(loaded->b->individuals, 200);
    const std::string readme =
        readAll(std::filesystem::path(LABO_TEST_DATA) / "../../../README.md");
    EXPECT_NE(readme.find(readAll(path)), std::string::npos) << "README shows another example";
}

// The lesson's instructions: kept as written, whatever they look like, and a
// file without them is written as before, byte for byte.
TEST(ScenarioTest, AConsigneReadsBackAsWritten) {
    const std::string lesson = "Observez l'allèle 1 (orange) génération après génération.\n"
                               "\n"
                               "\n"
                               "classes = 5\n"
                               "[A]\n"
                               "# Question n°2 : où en est-il à la génération 50 ?\n"
                               "\t- notez-le = dans le cahier";
    Scenario s = comparison();
    const std::string without = scenarioText(s);
    s.consigne = lesson;
    const std::string with = scenarioText(s);
    EXPECT_EQ(with.substr(0, without.size()), without);
    EXPECT_EQ(with.substr(with.size() - lesson.size() - 13), "\n[consigne]\n" + lesson + "\n");
    const Result<Scenario> back = parseScenario(with);
    ASSERT_TRUE(back) << back.reason();
    EXPECT_EQ(*back, s);
    const Result<Scenario> old = parseScenario(without);
    ASSERT_TRUE(old) << old.reason();
    EXPECT_EQ(old->consigne, "");

    // As a teacher's editor may save it: the same consigne.
    struct Case {
        std::string written;
        std::string read;
    } cases[] = {
        {"\n  \nLisez.   \r\n\r\n  Puis lancez.\t\n\n", "Lisez.\n\n  Puis lancez."},
        {"[consigne]\n", "[consigne]"},
        {"", ""},
        {"\n\n", ""},
    };
    for (const Case& c : cases) {
        const Result<Scenario> read = parseScenario(without + "[consigne]  # ici\n" + c.written);
        ASSERT_TRUE(read) << read.reason();
        EXPECT_EQ(read->consigne, c.read) << c.written;
    }
}

TEST(ScenarioTest, AMisplacedOrUnreadableConsigneIsRefused) {
    const std::string good = scenarioText(comparison());
    const auto at = good.find("\n[A]");
    const Result<Scenario> early =
        parseScenario(good.substr(0, at) + "\n[consigne]\nLisez." + good.substr(at));
    ASSERT_FALSE(early);
    EXPECT_NE(early.reason().find("doit venir en dernier"), std::string::npos) << early.reason();
    const Result<Scenario> control = parseScenario(good + "[consigne]\nLisez.\nun \x1b[31m\n");
    ASSERT_FALSE(control);
    const auto line = std::count(good.begin(), good.end(), '\n') + 3;
    EXPECT_NE(control.reason().find("ligne " + std::to_string(line) + " : la consigne"),
              std::string::npos)
        << control.reason();
}

// One faulty line at a time in an otherwise sound file.
TEST(ScenarioTest, FaultyFilesAreRefusedWithTheLineAndTheValue) {
    const std::string good = scenarioText(comparison());
    auto with = [&](const std::string& line, const std::string& replacement) {
        std::string text = good;
        const auto at = text.find(line);
        EXPECT_NE(at, std::string::npos) << line;
        return text.replace(at, line.size(), replacement);
    };
    auto lineOf = [&](const std::string& line) {
        const auto at = good.find(line);
        return std::to_string(1 +
                              std::count(good.begin(), good.begin() + static_cast<long>(at), '\n'));
    };
    struct Case {
        std::string text;
        std::string error;
    };
    const std::string individuals = lineOf("individuals = 60");
    const std::vector<Case> cases{
        {with("mutation = 0.0025", "mutaton = 0.0025"),
         "Scénario refusé, ligne " + lineOf("mutation = 0.0025") +
             " : clé inconnue « mutaton » dans [A]."},
        {with("classes = 12", "classes 12"),
         "Scénario refusé, ligne " + lineOf("classes = 12") +
             " : « classes 12 » n'est pas de la forme « clé = valeur »."},
        {with("individuals = 60", "individuals = 65"),
         "Scénario refusé, ligne " + individuals +
             " : « 65 » ne convient pas pour le nombre d'individus : il faut un multiple de 10 de "
             "10 à 10 000."},
        {with("migration = 0.125", "migration = 0,1"),
         "Scénario refusé, ligne " + lineOf("migration = 0.125") +
             " : « 0,1 » ne convient pas pour le taux de migration : il faut un nombre décimal de "
             "0 à 0.5, avec un point (0.01)."},
        {with("mutation = 0.0025", "mutation = 1e-3"), "« 1e-3 » ne convient pas"},
        {with("seed = 4000000000", "seed = 4294967296"),
         "« 4294967296 » ne convient pas pour la graine"},
        {with("urn = 12, 100, 8", "urn = 12, 100, 7"),
         "Scénario refusé, ligne " + lineOf("urn = 12, 100, 8") +
             " : [A] : L'urne doit contenir au moins 2N = 120 boules pour 60 individus, et non "
             "119."},
        {with("urn = 12, 100, 8", "urn = 12, 108"),
         "Scénario refusé, ligne " + lineOf("urn = 12, 100, 8") + " : [A] annonce 3 allèles"},
        {with("classes = 12", "classes = 12\nclasses = 13"),
         "la clé « classes » est donnée deux fois."},
        {with("format = 1", "format = 2"), "ce programme ne lit que le format 1."},
        {with("[B]", "[C]"), "« [C] » n'est pas une section connue ([A] ou [B])."},
        {with("sets = A, B", "sets = A"), "la section [B] est là mais « sets » ne l'annonce pas."},
        {with("classes = 12", "classes = 1"),
         "Scénario refusé, ligne " + lineOf("migration = 0.125") +
             " : [A] : la migration demande au moins deux classes."},
        {"", "Scénario refusé : le fichier est vide."},
        {" \n\n", "Scénario refusé : le fichier est vide."},
        {"# Rien que des commentaires\n", "la clé « format » manque (le fichier est peut-être "
                                          "tronqué)."},
        // What a line holds is quoted as it is, but shown: no control byte reaches
        // the terminal, no pasted page floods the message.
        {with("classes = 12", "classes \x1B[31m12"),
         "Scénario refusé, ligne " + lineOf("classes = 12") +
             " : « classes ␛[31m12 » n'est pas de la forme « clé = valeur »."},
        {with("mutation = 0.0025", std::string("muta\0tion = 0", 14)),
         "clé inconnue « muta␀tion » dans [A]."},
        {with("classes = 12", "classes " + std::string(60'000, 'x')),
         " : « classes " + std::string(32, 'x') + "… » n'est pas de la forme"},
        {with("format = 1", "format = 1\t2"), "« 1␉2 » : ce programme ne lit que le format 1."},
        // Truncated: cut before the end of [B], and cut before [B] itself.
        {good.substr(0, good.rfind("migration")), "la clé « migration » manque dans [B]"},
        {good.substr(0, good.find("\n[B]")), "la section [B] manque"},
        // Not UTF-8: a Latin-1 « é » in a comment, and a character cut in two.
        {with("# Scénario", "# Sc\xE9nario"),
         "Scénario refusé, ligne 1 : le fichier n'est pas du texte UTF-8."},
        {with("urn = 12, 100, 8", "urn = 12, 100, 8 # \xE9"),
         "Scénario refusé, ligne " + lineOf("urn = 12, 100, 8") +
             " : le fichier n'est pas du texte UTF-8."},
        {good.substr(0, good.find("é") + 1),
         "Scénario refusé, ligne 1 : le fichier n'est pas du texte UTF-8."},
    };
    for (const Case& c : cases) {
        const Result<Scenario> result = parseScenario(c.text);
        EXPECT_FALSE(result) << c.error;
        EXPECT_LT(result.reason().size(), 300u) << result.reason().substr(0, 300);
        EXPECT_NE(result.reason().find(c.error), std::string::npos)
            << "expected « " << c.error << " », got « " << result.reason() << " »";
    }
}

// The caller keeps its parameters whenever a load fails; a file that cannot
// be read at all says why.
TEST(ScenarioTest, AFailedLoadChangesNothing) {
    const ScratchDir dir;
    const auto scratch = [&](const std::string& name) { return dir / name; };
    Scenario current = comparison();
    const Scenario before = current;
    auto open = [&](const std::filesystem::path& path) {
        const Result<Scenario> result = loadScenario(path);
        if (result)
            current = *result;
        return result.reason();
    };
    const auto bad = scratch("mauvais.scenario");
    std::ofstream(bad) << scenarioText(Scenario{}).substr(0, 200);
    EXPECT_NE(open(bad), "");
    EXPECT_EQ(open(scratch("absent.scenario")), "Impossible de lire le scénario « " +
                                                    scratch("absent.scenario").string() +
                                                    " » : le fichier n'existe pas.");
    EXPECT_NE(open(dir.path()).find("pas un fichier ordinaire"), std::string::npos);
    // Each cause its own words: a loop of links is not a missing file.
    std::filesystem::create_symlink("boucle.scenario", scratch("boucle.scenario"));
    EXPECT_EQ(open(scratch("boucle.scenario")),
              "Impossible de lire le scénario « " + scratch("boucle.scenario").string() +
                  " » : le chemin tourne en rond entre des liens symboliques.");
    EXPECT_EQ(current, before);
    // A sound one replaces them.
    const auto good = scratch("bon.scenario");
    ASSERT_EQ(saveScenario(Scenario{}, good).reason(), "");
    EXPECT_EQ(open(good), "");
    EXPECT_EQ(current, Scenario{});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
              3); // no temporary
}

// The name only: whether the CSV file is a regular one is the export's to see.
TEST(ScenarioTest, TheScenarioBesideACsvFileTakesItsName) {
    EXPECT_EQ(scenarioBeside("/tmp/derive.csv"), "/tmp/derive.scenario");
    EXPECT_EQ(scenarioBeside("derive"), "derive.scenario");
    EXPECT_FALSE(scenarioBeside("-"));              // the standard output
    EXPECT_FALSE(scenarioBeside("lecon.scenario")); // never written over the CSV itself
}

} // namespace
} // namespace bocavo::labo

// The command-line mode: sound arguments write the file, every bad one gets
// its own French message and a non-zero status.
#include "labo/cli/command_line.h"
#include "labo/files/csv_writer.h"
#include "labo/files/scenario_file.h"
#include "tests/scratch_dir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace bocavo::labo {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(CommandLineTest, WritesTheSameCountsAsTheModel) {
    const ScratchDir dir;
    const auto path = dir / "labo_cli_test.csv";
    const Outcome r = run({"--classes", "4", "--generations", "25", "--seed", "9", "--csv",
                           path.string(), "--every=5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    // 4 classes × generations 0, 5, ..., 25 × 4 alleles.
    auto scenario = path;
    scenario.replace_extension(kScenarioExtension);
    EXPECT_TRUE(r.out.starts_with("4 classes, générations 0 à 25 : 96 lignes écrites dans " +
                                  path.string() + "\nattendu Ne : 19.5\n"))
        << r.out;
    EXPECT_TRUE(r.out.ends_with("\nScénario écrit dans " + scenario.string() + "\n")) << r.out;
    Experiment experiment(4, 9);
    experiment.advanceTo(25);
    const auto expectedPath = dir / "labo_cli_expected.csv";
    ASSERT_TRUE(writeCsv({&experiment}, expectedPath, 5).written);
    std::ifstream a(path), b(expectedPath);
    std::stringstream ta, tb;
    ta << a.rdbuf();
    tb << b.rdbuf();
    EXPECT_EQ(ta.str(), tb.str());
    EXPECT_EQ(ta.str().rfind("classe,génération,allèle,effectif,fréquence\n1,0,1,10,25\n", 0), 0u);
}

TEST(CommandLineTest, HelpIsShownAndSucceeds) {
    const Outcome r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Utilisation : bocavo-labo --classes N", 0), 0u);
    EXPECT_TRUE(wantsCommandLine({"--help"}));
    EXPECT_TRUE(wantsCommandLine({"--classes", "3"}));
    EXPECT_FALSE(wantsCommandLine({}));
    // Any argument belongs to the command line: a stray one is refused, never
    // passed to Qt nor ignored by opening the window.
    for (const std::vector<std::string>& stray :
         {std::vector<std::string>{"foo"}, {"-classes", "3"}, {"-platform", "xcb"}}) {
        EXPECT_TRUE(wantsCommandLine(stray));
        const Outcome r = run(stray);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err.rfind("bocavo-labo : Argument inattendu : « " + stray[0] + " ».", 0), 0u)
            << r.err;
    }
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "bocavo-labo " BOCAVO_VERSION "\n");
}

TEST(CommandLineTest, ALongRunShowsItsProgressOnOneLine) {
    const ScratchDir dir;
    std::ostringstream out, err, progress;
    const std::string path = (dir / "p.csv").string();
    ASSERT_EQ(
        runCommandLine({"--classes", "3", "--generations", "400", "--seed", "2", "--csv", path},
                       out, err, &progress),
        0);
    const std::string shown = progress.str();
    EXPECT_NE(shown.find("\rGénération 400 (100 %)"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\rÉcriture du fichier (100 %)"), std::string::npos) << shown;
    EXPECT_EQ(shown.find('\n'), std::string::npos);              // one line, rewritten
    EXPECT_EQ(shown.back(), '\r');                               // and wiped at the end
    EXPECT_LE(std::count(shown.begin(), shown.end(), '%'), 202); // at most once per percent
    EXPECT_TRUE(err.str().empty());
}

TEST(CommandLineTest, BadArgumentsAreNamedAndFail) {
    const std::vector<std::string> good{"--classes", "3", "--generations", "10",
                                        "--seed",    "1", "--csv",         "x.csv"};
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases{
        {{"--classes", "0", "--generations", "10", "--seed", "1", "--csv", "x.csv"},
         "--classes : « 0 » ne convient pas pour le nombre de classes : il faut un nombre entier "
         "de 1 à 1 000."},
        {{"--classes", "3", "--generations", "32768", "--seed", "1", "--csv", "x.csv"},
         "--generations : « 32768 » ne convient pas pour le nombre de générations : il faut un "
         "nombre entier de 1 à 32 767."},
        {{"--classes", "3", "--generations", "10", "--seed", "-4", "--csv", "x.csv"},
         "--seed : « -4 » ne convient pas pour la graine : il faut un nombre entier de 0 à 4 294 "
         "967 295."},
        {{"--classes", "3", "--generations"}, "L'option --generations attend une valeur."},
        {{"--classes", "3", "--generations", "10", "--seed", "4294967296", "--csv", "x.csv"},
         "--seed : « 4294967296 » ne convient pas pour la graine : il faut un nombre entier de 0 "
         "à 4 294 967 295."},
        {{"--classes", "3", "--generations", "1e3", "--seed", "1", "--csv", "x.csv"},
         "--generations : « 1e3 » ne convient pas pour le nombre de générations : il faut un "
         "nombre entier de 1 à 32 767."},
        {{"--classes", "3", "--generations", "10", "--seed", "1"}, "L'option --csv manque."},
        {{"--classes", "3", "--classes", "4"}, "L'option --classes est donnée deux fois."},
        {{"--colour", "bleu"}, "Option inconnue : « --colour »."},
        {{"--classes", "3", "trois"}, "Argument inattendu : « trois »."},
        {{"--classes", "3", "--generations", "10", "--seed", "1", "--csv", "x.csv", "--every", "0"},
         "--every : « 0 » ne convient pas pour l'intervalle entre générations gardées : il faut "
         "un nombre entier de 1 à 32 767."},
        {{"--classes", "3", "--generations", "10", "--seed", "1", "--csv="},
         "--csv : Le nom du fichier CSV est vide."},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_EQ(r.err.rfind("bocavo-labo : " + c.message + "\n", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("Utilisation :"), std::string::npos);
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_TRUE(parseCommandLine(good).reason().empty());
}

TEST(CommandLineTest, AnUnwritableFileFailsWithStatusOne) {
    const Outcome r = run({"--classes", "2", "--generations", "3", "--seed", "1", "--csv",
                           "/nonexistent-folder/x.csv"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "bocavo-labo : Impossible d'écrire le fichier « /nonexistent-folder/x.csv » : "
                     "le dossier n'existe pas.\n");
}

// What a reading gave, none when it was refused.
template <typename T> std::optional<T> valueOf(const Result<T>& read) {
    return read ? std::optional<T>(*read) : std::nullopt;
}

TEST(CommandLineTest, FieldValuesAreReadStrictly) {
    EXPECT_EQ(valueOf(parseClasses(" 30 ")), 30);
    EXPECT_EQ(parseClasses("").reason(),
              "Indiquez le nombre de classes : un nombre entier de 1 à 1 000.");
    EXPECT_FALSE(valueOf(parseClasses("12,5")));
    EXPECT_FALSE(valueOf(parseClasses("+5")));
    EXPECT_EQ(valueOf(parseSeed("0")), 0u);
    EXPECT_EQ(valueOf(parseSeed("4294967295")), 4294967295u);
    EXPECT_FALSE(valueOf(parseSeed("99999999999999999999"))); // too long to read, refused
    // Leading zeros change nothing, however many.
    EXPECT_EQ(valueOf(parseSeed("0000000000000000001")), 1u);
    EXPECT_EQ(valueOf(parseSeed(std::string(200, '0') + "4294967295")), 4294967295u);
    EXPECT_EQ(valueOf(parseClasses("0030")), 30);
    EXPECT_EQ(valueOf(parseGenerations("00000000000000000000032767")), 32767);
    EXPECT_EQ(parseEvery("000").reason().rfind("« 000 » ne convient pas", 0),
              0u); // zero is still zero
    // A pasted page is quoted by its first 40 characters only, accents kept whole.
    const std::string page(10'000, '7');
    EXPECT_EQ(parseClasses(page).reason(), "« " + std::string(40, '7') +
                                               "… » ne convient pas pour le nombre de classes : il "
                                               "faut un nombre entier de 1 à 1 000.");
    EXPECT_EQ(shortQuote(std::string(39, 'a') + "ééé"), "« " + std::string(39, 'a') + "é… »");
    EXPECT_EQ(shortQuote("é"), "« é »");
    // Shown, not obeyed: a control byte is its picture and counts as one
    // character, a byte that is not UTF-8 is �; a pasted newline never splits
    // the refusal into two.
    EXPECT_EQ(shortQuote("\x1B[31mrouge"), "« ␛[31mrouge »");
    EXPECT_EQ(shortQuote(std::string("a\0b\x7F\xFF\xC2\x9B", 7)), "« a␀b␡�� »");
    std::string pictures;
    for (int i = 0; i < 39; ++i)
        pictures += "␊";
    EXPECT_EQ(shortQuote(std::string(39, '\n') + "ab"), "« " + pictures + "a… »");
    EXPECT_EQ(parseClasses("12\n34").reason(),
              "« 12␊34 » ne convient pas pour le nombre de classes : il faut un nombre entier de 1 "
              "à 1 000.");
    const Outcome r = run({"--classes", "3", "--generations", "10", "--seed", page});
    EXPECT_EQ(r.err.find(std::string(41, '7')), std::string::npos); // never echoed whole
    EXPECT_EQ(groupDigits(131072000), "131 072 000");
}

// With every new parameter at its default the file is byte for byte what
// bocavo-labo wrote before they existed (the seed now defaults to 1993).
TEST(CommandLineTest, DefaultsWriteTheSameFilesAsBefore) {
    const ScratchDir dir;
    const auto scratch = [&](const std::string& name) { return dir / name; };
    const std::filesystem::path data(LABO_TEST_DATA);
    const std::vector<std::pair<std::string, std::vector<std::string>>> fixtures{
        {"classes3_generations60_seed1993.csv", {"--classes", "3", "--generations", "60"}},
        {"classes12_generations250_seed7_every5.csv",
         {"--classes", "12", "--generations", "250", "--seed", "7", "--every", "5"}},
        {"classes1_generations40_seed4294967295.csv",
         {"--classes",     "1",           "--generations", "40",
          "--seed",        "4294967295",  "--model",       "protocole",
          "--individuals", "20",          "--alleles",     "4",
          "--urn",         "10,10,10,10", "--fitness",     "100,100,100,100",
          "--mutation",    "0",           "--migration",   "0"}},
    };
    for (const auto& [file, options] : fixtures) {
        auto args = options;
        const auto out = scratch(file);
        args.insert(args.end(), {"--csv", out.string()});
        const Outcome r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(readAll(out), readAll(data / file)) << file;
    }
}

TEST(CommandLineTest, PopulationOptionsMakeSetA) {
    const Result<CommandLine> p =
        parseCommandLine({"--classes", "5", "--generations", "9", "--csv", "x.csv", "--individuals",
                          "200", "--model", "wright-fisher", "--urn", "40,360", "--fitness=105,100",
                          "--mutation", "0.001", "--migration", "0.05"});
    ASSERT_EQ(p.reason(), "");
    const Settings& a = p->scenario.a;
    EXPECT_EQ(a.individuals, 200);
    EXPECT_EQ(a.model, Model::WrightFisher);
    EXPECT_EQ(a.alleles, 2); // from the urn's length
    EXPECT_EQ(a.urn, (std::array<int, 4>{40, 360, 0, 0}));
    EXPECT_EQ(a.fitness, (std::array<int, 4>{105, 100, 100, 100}));
    EXPECT_DOUBLE_EQ(a.mutation, 0.001);
    EXPECT_DOUBLE_EQ(a.migration, 0.05);
    EXPECT_EQ(p->scenario.seed, kDefaultSeed);
    // Alleles alone: the urn in equal shares of 2N.
    const Result<CommandLine> three =
        parseCommandLine({"--classes", "5", "--generations", "9", "--csv", "x.csv", "--individuals",
                          "10", "--alleles", "3"});
    ASSERT_EQ(three.reason(), "");
    EXPECT_EQ(three->scenario.a.urn, (std::array<int, 4>{7, 7, 6, 0}));
}

TEST(CommandLineTest, BadPopulationOptionsAreNamedAndFail) {
    const std::vector<std::string> base{"--classes", "3", "--generations", "10", "--csv", "x.csv"};
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--individuals", "25"},
         "--individuals : « 25 » ne convient pas pour le nombre d'individus : il faut un multiple "
         "de 10 de 10 à 10 000."},
        {{"--model", "moran"},
         "--model : « moran » ne convient pas pour le modèle : il faut protocole ou "
         "wright-fisher."},
        {{"--urn", "10,10,10"},
         "L'urne doit contenir au moins 2N = 40 boules pour 20 individus, et non 30."},
        {{"--alleles", "3", "--urn", "20,20"}, "--urn donne 2 valeurs pour 3 allèles."},
        {{"--fitness", "5,100,100,100"},
         "--fitness : « 5,100,100,100 » ne convient pas pour les valeurs sélectives : il faut de 2 "
         "à 4 nombres entiers de 10 à 1 000, séparés par des virgules."},
        {{"--mutation", "0.2"},
         "--mutation : « 0.2 » ne convient pas pour le taux de mutation : il faut un nombre "
         "décimal "
         "de 0 à 0.1, avec un point (0.01)."},
        {{"--migration", "-0.1"},
         "--migration : « -0.1 » ne convient pas pour le taux de migration"},
        {{"--classes", "1", "--generations", "10", "--csv", "x.csv", "--migration", "0.1"},
         "Jeu A : la migration demande au moins deux classes."},
        {{"--genotypes", "100,50,0"},
         "Les valeurs sélectives des génotypes 11, 12 et 22 ne valent que pour 2 allèles (et non "
         "4)"},
        {{"--fitness", "110,100", "--genotypes", "100,50,0"},
         "Donnez les valeurs sélectives des allèles ou celles des génotypes, pas les deux"},
    };
    for (const auto& [extra, message] : cases) {
        auto args = extra.size() > 4 ? extra : base;
        if (extra.size() <= 4)
            args.insert(args.end(), extra.begin(), extra.end());
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_EQ(r.err.rfind("bocavo-labo : " + message, 0), 0u) << r.err;
    }
}

// Genotype fitness on the command line: the scenario keeps it, the summary
// counts the classes that died out and gives the figures theory is sure of.
TEST(CommandLineTest, GenotypesRunAndTheSummarySaysWhatDiedOut) {
    const ScratchDir dir;
    const auto path = dir / "genotypes.csv";
    const Outcome r =
        run({"--classes", "3", "--generations", "6", "--csv", path.string(), "--model",
             "wright-fisher", "--urn", "0,40", "--genotypes", "100, 100, 0"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\nclasses éteintes : 3\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nattendu allèle 1 : 0\nattendu allèle 2 : 0\n"), std::string::npos)
        << r.out;
    auto scenario = path;
    scenario.replace_extension(kScenarioExtension);
    const Result<Scenario> back = loadScenario(scenario);
    ASSERT_TRUE(back) << back.reason();
    EXPECT_EQ(back->a.genotypes, (std::array<int, 3>{100, 100, 0}));
}

// The CSV's scenario reproduces it; options after --scenario change the file's
// parameters, options before it would be lost and are refused; a bad scenario
// touches no file.
TEST(CommandLineTest, ScenariosReproduceTheirCsvFiles) {
    const ScratchDir dir;
    const auto scratch = [&](const std::string& name) { return dir / name; };
    const auto csv = scratch("forces.csv");
    Outcome r = run({"--classes", "4", "--generations", "30", "--seed", "12", "--csv", csv.string(),
                     "--individuals", "30", "--alleles", "2", "--fitness", "120,100", "--mutation",
                     "0.01", "--migration", "0.1"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto scenario = scratch("forces.scenario");
    ASSERT_TRUE(std::filesystem::exists(scenario));
    const std::string first = readAll(csv);
    EXPECT_NE(first.find("\n4,30,2,"), std::string::npos);  // classes 1-4, alleles 1-2 only
    EXPECT_EQ(first.find(",3,"), first.find("\n1,3,") + 2); // no allele 3 anywhere
    const auto again = scratch("again.csv");
    r = run({"--scenario", scenario.string(), "--csv", again.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readAll(again), first);
    EXPECT_EQ(readAll(scratch("again.scenario")), readAll(scenario));

    r = run({"--scenario", scenario.string(), "--individuals", "40", "--csv", again.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(readAll(scratch("again.scenario")).find("urn = 40, 40\n"), std::string::npos);

    r = run({"--seed", "3", "--scenario", scenario.string(), "--csv", again.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("bocavo-labo : --scenario : donnez --seed après --scenario", 0), 0u);

    const auto broken = scratch("broken.scenario");
    std::ofstream(broken) << readAll(scenario).substr(0, 150);
    const std::string kept = readAll(again);
    r = run({"--scenario", broken.string(), "--csv", again.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("bocavo-labo : --scenario : Scénario refusé, ligne ", 0), 0u) << r.err;
    EXPECT_EQ(readAll(again), kept);
}

// A teacher's scenario beside the CSV keeps its comments and its set B,
// whether it gives that file or another: the scenario that reproduces a new
// run goes under a free name beside it, and the summary says which.
TEST(CommandLineTest, TheTeachersScenarioBesideItsCsvIsLeftAlone) {
    const ScratchDir dir;
    const auto lecon = dir / "lecon.scenario";
    std::filesystem::copy_file(LABO_TEST_DATA "/comparaison.scenario", lecon);
    const std::string teachers = readAll(lecon);
    const auto csv = dir / "lecon.csv";
    Outcome r = run({"--scenario", lecon.string(), "--csv", csv.string(), "--every", "50"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readAll(lecon), teachers);
    EXPECT_NE(r.out.find("Scénario déjà à côté, laissé tel quel : " + lecon.string()),
              std::string::npos)
        << r.out;

    for (const std::string seed : {"5", "6"}) {
        r = run(
            {"--scenario", lecon.string(), "--seed", seed, "--csv", csv.string(), "--every", "50"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(readAll(lecon), teachers);
        const auto mine = dir / "lecon-2.scenario";
        EXPECT_NE(r.out.find("Scénario écrit dans " + mine.string() + "\n" + lecon.string() +
                             ", qui décrit une autre simulation, reste tel quel.\n"),
                  std::string::npos)
            << r.out;
        const Result<Scenario> now = loadScenario(mine);
        ASSERT_TRUE(now) << now.reason();
        EXPECT_EQ(now->seed, std::stoul(seed)); // the second run replaced the first's
        EXPECT_FALSE(now->b);                   // what the file holds: set A alone
        // and what the scenario alone would not say about the file.
        EXPECT_NE(readAll(mine).find("\n# Le fichier CSV à côté ne garde qu'une génération sur "
                                     "50 : l'exporter de même pour le refaire.\n"),
                  std::string::npos);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}

// The CSV file is the result: when only its scenario cannot be written (here
// a name the system accepts for the CSV but not with ".scenario"), the run
// succeeds and says what is missing.
TEST(CommandLineTest, AScenarioThatCannotBeWrittenIsAWarning) {
    const ScratchDir dir;
    const auto csv = dir / (std::string(250, 'n') + ".csv"); // 254 bytes, the scenario 259
    const Outcome r = run({"--classes", "2", "--generations", "3", "--csv", csv.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err.rfind("bocavo-labo : Attention : le fichier CSV est écrit, mais pas le "
                          "scénario qui le reproduit. Impossible d'écrire le fichier « ",
                          0),
              0u)
        << r.err;
    EXPECT_NE(r.err.find(".scenario » : le nom est trop long.\n"), std::string::npos) << r.err;
    EXPECT_EQ(readAll(csv).rfind(kCsvHeader, 0), 0u);
    EXPECT_EQ(r.out.find("Scénario"), std::string::npos);
}

// An option after --scenario never silently drops what the scenario set: a
// rare allele's urn and a selected allele's fitness must be replaced explicitly.
TEST(CommandLineTest, OverridesKeepOrRefuseTheScenariosUrnAndFitness) {
    const ScratchDir dir;
    Scenario rare;
    rare.classes = 2;
    rare.generations = 5;
    rare.a.alleles = 2;
    rare.a.urn = {4, 36, 0, 0};
    rare.a.fitness = {120, 100, 100, 100};
    const auto file = (dir / "rare.scenario").string();
    ASSERT_EQ(saveScenario(rare, file).reason(), "");
    const auto csv = (dir / "rare.csv").string();
    auto parse = [&](std::vector<std::string> more) {
        std::vector<std::string> args{"--scenario", file, "--csv", csv};
        args.insert(args.end(), more.begin(), more.end());
        return parseCommandLine(args);
    };
    EXPECT_EQ(parse({"--individuals", "40"}).reason(),
              "--individuals : l'urne du scénario ne convient plus ; donnez aussi --urn, sinon "
              "elle serait perdue.");
    EXPECT_EQ(parse({"--alleles", "3"}).reason().rfind("--alleles : l'urne du scénario", 0), 0u);
    EXPECT_EQ(parse({"--alleles", "3", "--urn", "10,20,10"}).reason(),
              "--alleles : les valeurs sélectives du scénario ne conviennent plus ; donnez aussi "
              "--fitness, sinon elles seraient perdues.");
    // Still sound, or replaced: kept, or taken.
    const auto same = parse({"--individuals", "20", "--mutation", "0.01"});
    ASSERT_EQ(same.reason(), "");
    EXPECT_EQ(same->scenario.a.urn, rare.a.urn);
    EXPECT_EQ(same->scenario.a.fitness, rare.a.fitness);
    const auto bigger = parse({"--individuals", "40", "--urn", "8,72"});
    ASSERT_EQ(bigger.reason(), "");
    EXPECT_EQ(bigger->scenario.a.fitness, rare.a.fitness);
    const auto three = parse({"--alleles", "3", "--urn", "10,20,10", "--fitness", "120,100,100"});
    ASSERT_EQ(three.reason(), "");
    EXPECT_EQ(three->scenario.a.fitness, (std::array<int, 4>{120, 100, 100, 100}));
}

} // namespace
} // namespace bocavo::labo

// The command-line mode: sound arguments write the file, every bad one gets
// its own French message and a non-zero status.
#include "model/command_line.h"
#include "model/csv_writer.h"

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
    const auto path = std::filesystem::temp_directory_path() / "labo_cli_test.csv";
    const Outcome r = run({"--classes", "4", "--generations", "25", "--seed", "9", "--csv",
                           path.string(), "--every=5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    // 4 classes × generations 0, 5, ..., 25 × 4 alleles.
    auto scenario = path;
    scenario.replace_extension(".scenario");
    EXPECT_EQ(r.out, "4 classes, générations 0 à 25 : 96 lignes écrites dans " + path.string() +
                         "\nScénario écrit dans " + scenario.string() + "\n");
    Experiment experiment(4, 9);
    experiment.advanceTo(25);
    const auto expectedPath = std::filesystem::temp_directory_path() / "labo_cli_expected.csv";
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
    EXPECT_FALSE(wantsCommandLine({"-platform", "xcb"})); // Qt's own options open the window
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
    EXPECT_TRUE(parseCommandLine(good).error.empty());
}

TEST(CommandLineTest, AnUnwritableFileFailsWithStatusOne) {
    const Outcome r = run({"--classes", "2", "--generations", "3", "--seed", "1", "--csv",
                           "/nonexistent-folder/x.csv"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "bocavo-labo : Impossible d'écrire le fichier « /nonexistent-folder/x.csv » : "
                     "le dossier n'existe pas.\n");
}

TEST(CommandLineTest, FieldValuesAreReadStrictly) {
    EXPECT_EQ(parseClasses(" 30 ").value, 30);
    EXPECT_EQ(parseClasses("").error,
              "Indiquez le nombre de classes : un nombre entier de 1 à 1 000.");
    EXPECT_FALSE(parseClasses("12,5").value);
    EXPECT_FALSE(parseClasses("+5").value);
    EXPECT_EQ(parseSeed("0").value, 0u);
    EXPECT_EQ(parseSeed("4294967295").value, 4294967295u);
    EXPECT_FALSE(parseSeed("99999999999999999999").value); // too long to read, refused
    EXPECT_EQ(groupDigits(131072000), "131 072 000");
}

} // namespace
} // namespace bocavo::labo

// --serie on the command line: each refusal in its own French words, and the
// rows of the series its options describe, with their expected figures.
#include "core/lab/files/series_csv.h"
#include "labo/cli/command_line.h"
#include "tests/scratch_dir.h"

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

Outcome run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = runCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> seriesRun(std::vector<std::string> more) {
    std::vector<std::string> args{"--classes", "20", "--generations", "30", "--seed", "4"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(SeriesCommandTest, BadSeriesAreNamedAndFail) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"--serie", "10,20,5"},
         "--serie : « 5 » ne convient pas pour une taille de la série : il faut un nombre entier "
         "de 10 à 10 000."},
        {{"--serie", "10,20000"},
         "--serie : « 20000 » ne convient pas pour une taille de la série : il faut un nombre "
         "entier de 10 à 10 000."},
        {{"--serie", "10,25"},
         "--serie : Le nombre d'individus doit être un multiple de 10 de 10 à 10 000 (et non "
         "25)."},
        {{"--serie", "10,20,30,40,50,60,70,80,90"},
         "--serie : La série donne 9 tailles : 8 au plus."},
        {{"--serie", "50,20,50"}, "--serie : La taille 50 est donnée deux fois dans la série."},
        {{"--serie", "20"},
         "--serie : Une série compare au moins 2 tailles, séparées par des virgules (10,20,50)."},
        {{"--alleles", "2", "--urn", "3,37", "--serie", "10,20"},
         "--serie : Pour N = 10, l'urne ne peut pas garder les proportions de celle de N = 20 : "
         "donnez une urne qui se partage exactement (4,36 pour 10 % à N = 20) ou des parts "
         "égales."},
        {{"--serie", "10,20", "--xlsx", "s.xlsx"},
         "--xlsx : une série de tailles s'écrit en une ligne par taille, dans le fichier CSV "
         "seulement."},
        {{"--serie", "10,20", "--every", "5"},
         "--every : une série de tailles s'écrit en une ligne par taille, dans le fichier CSV "
         "seulement."},
    };
    for (const Case& c : cases) {
        const Outcome r = run(seriesRun(c.args));
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_EQ(r.err.rfind("bocavo-labo : " + c.message + "\n", 0), 0u) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

// The options reach the series: its size, classes, generations, seed and set.
TEST(SeriesCommandTest, TheFileHoldsTheSeriesOfTheOptions) {
    const ScratchDir dir;
    const auto path = (dir / "serie.csv").string();
    const Outcome r = run(seriesRun({"--model", "wright-fisher", "--alleles", "2", "--urn", "8,32",
                                     "--serie", "50,10,20", "--csv", path}));
    ASSERT_EQ(r.status, 0) << r.err;
    Settings set;
    set.model = Model::WrightFisher;
    set.alleles = 2;
    set.urn = {8, 32, 0, 0};
    SizeSeries series(set, {10, 20, 50}, 20, 30, 4);
    ASSERT_TRUE(series.run());
    std::ifstream file(path);
    std::stringstream written;
    written << file.rdbuf();
    EXPECT_EQ(written.str(), seriesCsv(series.rows(), 30));
    EXPECT_EQ(r.out, "3 tailles de 20 classes, générations 0 à 30 : 3 lignes écrites dans " + path +
                         "\n" + seriesExpectedLines(series.rows()));
    // Two figures for each size, the ideal model's chance of a loss among them.
    EXPECT_NE(r.out.find("\nattendu part avec perte à N = 50 : 0."), std::string::npos) << r.out;
    EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST(SeriesCommandTest, AMedianPastTheEndIsSaidSo) {
    SeriesRow small{.individuals = 10, .classes = 4, .lostClasses = 3, .lostShare = 0.75};
    small.medianFirstLoss = 12;
    small.meanHeterozygosity = 0.1;
    small.expectedHeterozygosity = 0.125;
    SeriesRow large{.individuals = 100, .classes = 4, .lostClasses = 1, .lostShare = 0.25};
    large.meanHeterozygosity = 0.6; // half the classes or fewer lost one: no median
    large.expectedLostShare = 0.2;
    const std::vector<SeriesRow> rows{small, large};
    EXPECT_EQ(seriesCsv(rows, 30), std::string(kSeriesCsvHeader) +
                                       "10,4,3,0.75,12,0.1,0.125,\n"
                                       "100,4,1,0.25,au-delà de 30,0.6,,0.2\n");
}

} // namespace
} // namespace bocavo::labo

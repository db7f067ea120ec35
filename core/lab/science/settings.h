// One parameter set of a laboratory run (set A, or set B beside it): the
// population's size, its reproduction model, its alleles and the forces that
// act beside drift. The defaults are the classroom protocol exactly, and a run
// with every default is the main program's run.
#pragma once

#include "core/lab/science/limits.h"
#include "core/text/result.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bocavo::labo {

enum class Model {
    Protocole,   // fixed couples by position, broods of 80, 60, 40 and 20 % of the couples
    WrightFisher // every copy drawn from a parent chosen uniformly at random
};

inline constexpr int kMaxAlleles = 4;
inline constexpr int kMinAlleles = 2;
inline constexpr int kMinIndividuals = 10;     // individuals
inline constexpr int kMaxIndividuals = 10'000; // individuals
inline constexpr int kIndividualsStep = 10;    // individuals: N is a multiple of 10
inline constexpr int kMinFitness = 10;         // percent; at most a hundredfold spread,
inline constexpr int kMaxFitness = 1000;       // percent; so redraws stay few
// Genotype fitness for two alleles, 11, 12 and 22: 0 is a lethal genotype.
inline constexpr int kGenotypes = 3;
inline constexpr int kMinGenotypeFitness = 0;    // percent
inline constexpr int kMaxGenotypeFitness = 1000; // percent
inline constexpr double kMaxMutation = 0.1;      // per copy per generation
inline constexpr double kMaxMigration = 0.5;     // per parent per generation
// A size history: the ideal model breeds any number of children, the protocol
// keeps its couples and so multiples of 10.
inline constexpr int kMinIdealIndividuals = 1; // individuals, in a size history
inline constexpr int kMaxSizeChanges = 100;    // entries of a size history
// An urn above 2N balls is a source population; each allele's compartment
// holds at most this many balls (2N at the largest N).
inline constexpr int kMaxBallsPerAllele = 2 * kMaxIndividuals; // balls

// From generation `generation` on (1..kMaxGeneration), the children number
// `individuals`, until the next change.
struct SizeChange {
    int generation = 0;
    int individuals = 0;
    bool operator==(const SizeChange&) const = default;
};

struct Settings {
    int individuals = 20;
    Model model = Model::Protocole;
    int alleles = 4;
    std::array<int, kMaxAlleles> urn{10, 10, 10, 10}; // balls per allele, 2N or more; 0 past K
    std::array<int, kMaxAlleles> fitness{100, 100, 100, 100}; // percent; 100 past K
    double mutation = 0.0;                                    // per copy per generation
    double migration = 0.0;                                   // island model's m
    std::vector<SizeChange> sizes; // by increasing generation; empty: N for ever
    // With two alleles, the fitness of 11, 12 and 22 in percent, in place of
    // the alleles' (which then stay 100); none: a genotype's fitness is the
    // mean of its two alleles'.
    std::optional<std::array<int, kGenotypes>> genotypes;

    int copies() const { return 2 * individuals; }        // the founders' copies
    int balls() const;                                    // in the urn's K compartments
    bool sourceUrn() const { return balls() > copies(); } // the founders are a sample of it
    int individualsAt(int g) const;                       // generation g's (0: the founders)
    int copiesAt(int g) const { return 2 * individualsAt(g); }
    int mostIndividuals() const; // over the whole history
    int stretchEnd(int g) const; // the last generation of g's size before the next change
    bool operator==(const Settings&) const = default;
};

// Sound, or the French reason of the first fault found.
Result<void> checkSettings(const Settings& settings);

// Equal shares of the 2N balls among K alleles, the first alleles taking the
// remainder (N = 30, K = 4: 15, 15, 15, 15; N = 10, K = 3: 7, 7, 6); 0 past K.
std::array<int, kMaxAlleles> evenUrn(int individuals, int alleles);

// True when some genotype's fitness differs from another's: among the K
// alleles', or among the three genotypes' when they are given.
bool hasSelection(const Settings& settings);
// The fitness of genotype (a, b), alleles 0..K − 1, in percent: the given
// genotype's, or the mean of its two alleles'.
double genotypeFitness(const Settings& settings, int a, int b);

// A usual pattern of genotype fitness, as the window and the page offer it.
struct GenotypePreset {
    std::string_view name; // French, as shown
    std::array<int, kGenotypes> fitness;
};
inline constexpr std::array<GenotypePreset, 4> kGenotypePresets{{
    {"additif", {100, 90, 80}},
    {"allèle 1 dominant", {100, 100, 80}},
    {"récessif létal", {100, 100, 0}},
    {"avantage de l'hétérozygote", {90, 100, 80}},
}};
// True when the set is the classroom protocol itself (every default).
bool isClassroomProtocol(const Settings& settings);

// The model's name as the window shows it: "Protocole de la classe",
// "Modèle idéal (Wright-Fisher)"; and the word the command line and scenario
// write for it: "protocole", "wright-fisher".
std::string modelTitle(Model model);
constexpr std::string_view modelWord(Model model) {
    return model == Model::Protocole ? "protocole" : "wright-fisher";
}

// The generations where N changes, in order; the sizes a set takes, each once.
std::vector<int> changeGenerations(const Settings& settings);
std::vector<int> distinctSizes(const Settings& settings);

// Values as typed by the user, refused in French like the other fields (each
// parameter's own reading is in its entry of the parameter table).
// "C1,C2[,C3[,C4]]": 2 to 4 whole numbers, each in [low, high]; one per allele.
Result<std::vector<int>> parseList(std::string_view text, int low, int high,
                                   const std::string& what);
// A decimal, 0..high ("0.01", "1e-3" refused: teachers write 0.001). Files and
// the command line take a point only; the window takes the comma a French
// reader types too, and says so when it refuses.
enum class DecimalMark { Point, PointOrComma };
Result<double> parseRate(std::string_view text, double high, const std::string& what,
                         DecimalMark mark = DecimalMark::Point);

// "20:10, 25:200": from generation 20 on N = 10, from 25 on N = 200 (spaces
// free, "" none). Each pair is checked on its own here; checkSettings checks
// the sizes against the model.
Result<std::vector<SizeChange>> parseSizeHistory(std::string_view text);
std::string sizesText(const std::vector<SizeChange>& sizes); // "20:10, 25:200"

// "100, 50, 0": the fitness of 11, 12 and 22, each a whole percent from 0 to
// 1 000; "" none (a genotype's fitness is then its alleles' mean).
Result<std::optional<std::array<int, kGenotypes>>> parseGenotypes(std::string_view text);
std::string genotypesText(const std::optional<std::array<int, kGenotypes>>& genotypes);

// The shortest decimal text that reads back to exactly this rate ("0.01", "0").
std::string rateText(double rate);

} // namespace bocavo::labo

// A scenario: every parameter of a laboratory run in a small text file that a
// teacher can prepare at home, read, edit by hand and open in class.
//
//   # comments start with '#'; blank lines are ignored
//   format = 1
//   classes = 30
//   generations = 100
//   seed = 1993
//   sets = A, B              (or just A)
//   [A]
//   individuals = 20
//   model = protocole        (or wright-fisher)
//   alleles = 4
//   urn = 10, 10, 10, 10     (one count per allele, at least 2N in all)
//   fitness = 100, 100, 100, 100
//   mutation = 0
//   migration = 0
//   history = 20:10, 25:200  (only with a size history)
//   [B]
//   ... the same keys
//   [consigne]               (optional, always last)
//   The lesson's instructions for the pupils: every line after the header,
//   as it is, to the end of the file ('#', '[' and '=' included).
//
// Every key must be there exactly once, so that a misspelt or truncated file
// is refused rather than quietly completed with defaults; only a key added
// since format 1 may be left out (history = 20:10, 25:200, a set's size
// history), and is at its default, so that older files read unchanged.
#pragma once

#include "core/lab/science/settings.h"
#include "engine/random_source.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bocavo::labo {

inline constexpr char kScenarioExtension[] = ".scenario";
// A scenario is a few hundred bytes: longer text is refused unread.
inline constexpr std::size_t kMaxScenarioBytes = 1 << 16; // bytes
// The lesson's instructions: every line after this header, as written.
inline constexpr char kConsigneHeader[] = "[consigne]";

struct Scenario {
    Settings a;
    std::optional<Settings> b;             // the comparison set, window only
    int classes = kDefaultClasses;         // per set
    int generations = kDefaultGenerations; // last generation of "Lancer"
    std::uint32_t seed =
        Source_Aleatoire::kFixedSeed; // set A's; set B's comes from it (secondSeed)
    // The lesson's instructions, lines joined by '\n', without blank lines or
    // spaces at either end; empty when the file gives none.
    std::string consigne;

    bool operator==(const Scenario&) const = default;
};

// Sound as a whole (each set, and migration only with at least two
// classes), or the French reason.
Result<void> checkScenario(const Scenario& scenario);

// Set B's seed: a well-mixed value of set A's, so that the two sets never share
// their random sequences even when their parameters are the same.
std::uint32_t secondSeed(std::uint32_t seed);
// The seed of set `set` (0: A, 1: B).
std::uint32_t setSeed(const Scenario& scenario, int set);

// True when `plan` goes on with the run of `shown`: the same sets, classes and
// seed, only the last generation may differ, so the generations drawn stand.
bool continuesRun(const Scenario& shown, const Scenario& plan);

// The file's text, commented in French; parseScenario reads it back equal.
// `note`, if any, is a comment of its own under the title (one line each).
std::string scenarioText(const Scenario& scenario, const std::vector<std::string>& note = {});

// The scenario, or the French reason naming the line and the value.
Result<Scenario> parseScenario(std::string_view text);

// True when `file` reproduces a CSV file written from `written`: the same
// classes, generations and seed, and the same set(s) that went into the file.
// A file holding set B beside a CSV of set A alone still reproduces it (the
// command line runs set A only).
bool reproduces(const Scenario& file, const Scenario& written);

} // namespace bocavo::labo

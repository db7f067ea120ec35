// Every parameter of a laboratory run, declared once: its scenario key, its
// command-line option, its French label and refusal, its range and default,
// and how its value is read and written. The scenario files, the command line,
// the window and the page all read this table, so a new parameter is one entry.
#pragma once

#include "core/lab/science/settings.h"
#include "core/text/result.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace bocavo::labo {

struct Scenario;

// The run's own parameters (classes, generations, seed) or each set's.
enum class ParameterScope { Run, Set };
// How a value is typed: a whole number, one word of a few, a list of whole
// numbers (one per allele), a decimal rate, « génération:N » pairs or the
// three genotypes' fitness.
enum class ParameterKind { Whole, Choice, List, Rate, Sizes, Genotypes };

// One set's values as they are read one at a time (a scenario's section, the
// command line). The size, the allele count and the lists are kept as given,
// because they must agree with each other once every value is known.
struct SetReading {
    Settings settings; // model, mutation and migration go straight here
    std::optional<int> individuals;
    std::optional<int> alleles;
    std::vector<int> urn;
    std::vector<int> fitness;
};

struct Parameter {
    std::string_view key{};     // in a scenario file
    std::string_view option{};  // on the command line
    std::string_view metavar{}; // what the help shows after the option
    std::string_view field{};   // the window's field (objectName), before the set's letter
    std::string_view label{};   // the window's label, its access key after '&'
    std::string_view what{};    // how a refusal names it: "le nombre d'individus"
    // How a refusal names a list's one value, "%1" the allele ("le nombre de
    // boules de l'allèle %1").
    std::string_view item{};
    std::string_view hint{};    // the window's tooltip ("%1" the allele, for a list)
    std::string_view help{};    // the command line's help, '\n' between its lines
    std::string_view comment{}; // the scenario's comment above the key, if any
    ParameterScope scope = ParameterScope::Run;
    ParameterKind kind = ParameterKind::Whole;
    double low = 0.0; // the range of a value (of each number, for a list)
    double high = 0.0;
    int step = 1;          // a whole value is a multiple of it
    bool required = false; // the command line needs it unless a scenario gives it
    // A scenario may leave it out, and does at its default: files written
    // before it existed are read unchanged, and runs without it write the same file.
    bool optional = false;
    std::span<const std::string_view> choices{}; // a choice's words, in order
    // The value as a scenario and the command line write it ("10, 10, 10, 10").
    std::string (*write)(const Scenario& run, const Settings& set) = nullptr;
    // Reads the value typed for it into the run or the set, or refuses it with
    // a reason that quotes the text and names the parameter.
    Result<void> (*read)(const Parameter& self, std::string_view text, DecimalMark mark,
                         Scenario& run, SetReading& set) = nullptr;
};

// Every parameter, the run's first, in the order a scenario writes them.
std::span<const Parameter> parameters();
// The parameter of this key and scope, or none (a misspelt key).
const Parameter* findParameter(std::string_view key, ParameterScope scope);
// The parameter of this command-line option, or none.
const Parameter* findOption(std::string_view option);
// The parameter of this key, known to exist (a key written in the program).
const Parameter& parameter(std::string_view key);

// A list's one value (one allele's), read with its own name in the refusal.
Result<int> readItem(const Parameter& list, std::string_view text, int allele);
// A list's one value's name or tooltip, "%1" replaced with the allele.
std::string itemText(std::string_view pattern, int allele);

// The label as a page shows it, without the access key's '&'.
std::string plainLabel(std::string_view label);

// The table as plain data, for the page: what it needs to build its fields and
// say what each accepts.
struct ParameterSummary {
    std::string key;
    std::string label; // without '&'
    std::string kind;  // "whole", "choice", "list", "rate", "sizes" or "genotypes"
    bool perSet = false;
    double low = 0.0;
    double high = 0.0;
    int step = 1;
    std::string defaultValue; // as a scenario writes it
    std::vector<std::string> choices;
};
std::vector<ParameterSummary> parameterSummary();

} // namespace bocavo::labo

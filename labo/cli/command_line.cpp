#include "labo/cli/command_line.h"

#include "core/lab/science/experiment.h"
#include "core/lab/science/limits.h"
#include "core/lab/science/parameters.h"
#include "core/lab/science/size_series.h"
#include "labo/files/scenario_file.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace bocavo::labo {
namespace {

bool isOption(const std::string& arg) {
    return arg.rfind("--", 0) == 0;
}

inline constexpr std::size_t kHelpColumn = 21; // where each option's explanation starts

// "  --option VALUE     what it does", continued lines lined up beneath; an
// option too long for its column gets its explanation on the next line.
std::string optionHelp(std::string_view option, std::string_view metavar, std::string_view help) {
    std::string text = "  " + std::string(option) + (metavar.empty() ? "" : " ");
    text += metavar;
    const std::string indent(kHelpColumn, ' ');
    // Columns, not bytes: the help's options are ASCII, their values may not be.
    if (text.size() + 1 > kHelpColumn)
        text += "\n" + indent;
    else
        text.append(kHelpColumn - text.size(), ' ');
    for (const char c : help)
        text += c == '\n' ? "\n" + indent : std::string(1, c);
    return text + "\n";
}

std::string parameterHelp(ParameterScope scope) {
    std::string text;
    for (const Parameter& p : parameters())
        if (p.scope == scope)
            text += optionHelp(p.option, p.metavar, p.help);
    return text;
}

} // namespace

std::string usageText() {
    return "Utilisation : bocavo-labo --classes N --generations G --csv FICHIER [options]\n"
           "              bocavo-labo --scenario SCÉNARIO --csv FICHIER [options]\n"
           "              bocavo-labo --serie N1,N2,... --classes N --generations G [options]\n"
           "\n"
           "Fait dériver N classes pendant G générations, sans fenêtre, et écrit chaque\n"
           "classe, génération et allèle dans le fichier CSV, avec à côté le scénario qui\n"
           "le reproduit (même nom, extension .scenario ; un autre fichier déjà à ce nom\n"
           "est gardé, et le scénario prend un nom libre : derive-2.scenario...).\n"
           "\n" +
           parameterHelp(ParameterScope::Run) +
           optionHelp("--csv", "FICHIER", "fichier à écrire (remplacé s'il existe)") +
           optionHelp("--xlsx", "FICHIER",
                      "classeur pour le tableur (paramètres, fréquences, résumé\n"
                      "et graphique), avec --csv ou à sa place") +
           optionHelp("--every", "K",
                      "ne garder qu'une génération sur K (0, K, 2K... et la\n"
                      "dernière), 1 par défaut") +
           optionHelp("--serie", "N1,N2,...",
                      "série de tailles : les mêmes classes à chaque N (2 à 8\n"
                      "tailles), une ligne par N dans le fichier CSV (par défaut\n"
                      "la sortie standard) ; l'urne garde ses proportions") +
           "\n"
           "La population (par défaut, le protocole de la classe) :\n" +
           parameterHelp(ParameterScope::Set) +
           optionHelp("--scenario", "FICHIER",
                      "lit tous les paramètres dans un scénario ; les options\n"
                      "données après lui le modifient (le jeu B reste à la fenêtre)") +
           optionHelp("--help", "", "affiche cette aide") +
           optionHelp("--version", "", "affiche la version") +
           "\n"
           "Avec « --csv - », les lignes vont sur la sortie standard.\n"
           "Sans argument, bocavo-labo ouvre sa fenêtre.\n"
           "\n"
           "Codes de sortie : 0 fait, 1 fichier non écrit (ou mémoire insuffisante),\n"
           "2 arguments refusés, 129, 130, 143 interrompu (SIGHUP, SIGINT, SIGTERM),\n"
           "141 sortie standard fermée.\n";
}

bool wantsCommandLine(const std::vector<std::string>& args) {
    return !args.empty();
}

namespace {

// The command line's own options, beside the parameters of the table.
inline constexpr char kCsv[] = "--csv";
inline constexpr char kXlsx[] = "--xlsx";
inline constexpr char kEvery[] = "--every";
inline constexpr char kScenario[] = "--scenario";
// Not a parameter of the table: it says what the run is (one row per size
// instead of every class's counts), as --csv says where it goes, and a
// scenario has nowhere to keep it.
inline constexpr char kSeries[] = "--serie";
inline constexpr const char* kOwnOptions[] = {kCsv, kXlsx, kEvery, kScenario, kSeries};

bool neutral(const Settings& set) {
    for (int k = 0; k < set.alleles; ++k)
        if (set.fitness[static_cast<std::size_t>(k)] != 100)
            return false;
    return true;
}

// A new N or K must not silently drop what a scenario set: an urn split evenly
// follows them (as in the window) and an urn still sound is kept, but any other
// urn is refused unless --urn replaces it; likewise fitnesses other than 100 %
// for a new K, unless --fitness replaces them. Without --scenario the set is
// the protocol's, so nothing is ever refused there.
Result<void> applyPopulation(Settings& set, const SetReading& asked) {
    const int before = set.alleles;
    const bool evenBefore = set.urn == evenUrn(set.individuals, before);
    const bool neutralBefore = neutral(set);
    set.individuals = asked.individuals.value_or(set.individuals);
    int k = asked.alleles.value_or(0);
    for (const auto* list : {&asked.urn, &asked.fitness}) {
        const int n = static_cast<int>(list->size());
        if (n == 0)
            continue;
        if (k != 0 && n != k)
            return Refusal{(list == &asked.urn ? "--urn" : "--fitness") + std::string(" donne ") +
                           std::to_string(n) + " valeurs pour " + std::to_string(k) + " allèles."};
        k = n;
    }
    if (k == 0)
        k = before;
    set.alleles = k;
    if (!asked.urn.empty()) {
        set.urn = {0, 0, 0, 0};
        for (std::size_t i = 0; i < asked.urn.size(); ++i)
            set.urn[i] = asked.urn[i];
    } else if (evenBefore) {
        set.urn = evenUrn(set.individuals, k);
    } else if (k != before || !checkSettings(set)) {
        return Refusal{std::string(k != before ? "--alleles" : "--individuals") +
                       " : l'urne du scénario ne convient plus ; donnez aussi --urn, sinon elle "
                       "serait perdue."};
    }
    if (k != before && asked.fitness.empty() && !neutralBefore)
        return Refusal{"--alleles : les valeurs sélectives du scénario ne conviennent plus ; "
                       "donnez aussi --fitness, sinon elles seraient perdues."};
    if (!asked.fitness.empty() || k != before) {
        set.fitness = {100, 100, 100, 100};
        for (std::size_t i = 0; i < asked.fitness.size(); ++i)
            set.fitness[i] = asked.fitness[i];
    }
    return checkSettings(set);
}

// The first parameter already given, in the table's order.
const Parameter* firstGiven(const std::function<bool(std::string_view)>& given) {
    for (const Parameter& p : parameters())
        if (given(p.option))
            return &p;
    return nullptr;
}

} // namespace

Result<CommandLine> parseCommandLine(const std::vector<std::string>& args) {
    CommandLine options;
    Scenario& scenario = options.scenario;
    SetReading asked; // set A's values, applied once all are read
    std::vector<std::string> seen;
    const auto given = [&seen](std::string_view name) {
        return std::find(seen.begin(), seen.end(), name) != seen.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--version") {
            options.version = true;
            continue;
        }
        if (!isOption(name)) {
            return Refusal{"Argument inattendu : " + shortQuote(name) + "."};
        }
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
            hasValue = true;
        }
        const Parameter* parameter = findOption(name);
        if (!parameter && std::find(std::begin(kOwnOptions), std::end(kOwnOptions), name) ==
                              std::end(kOwnOptions)) {
            return Refusal{"Option inconnue : " + shortQuote(name) + "."};
        }
        if (given(name)) {
            return Refusal{"L'option " + name + " est donnée deux fois."};
        }
        seen.push_back(name);
        if (!hasValue) {
            if (i + 1 >= args.size() || isOption(args[i + 1])) {
                return Refusal{"L'option " + name + " attend une valeur."};
            }
            value = args[++i];
        }
        std::string error;
        if (parameter) {
            error =
                parameter->read(*parameter, value, DecimalMark::Point, scenario, asked).reason();
        } else if (name == kCsv) {
            if (value.empty())
                error = "Le nom du fichier CSV est vide.";
            options.csv = value;
        } else if (name == kXlsx) {
            if (value.empty())
                error = "Le nom du classeur est vide.";
            options.xlsx = value;
        } else if (name == kEvery) {
            const auto p = parseEvery(value);
            options.every = p ? *p : 1;
            error = p.reason();
        } else if (name == kSeries) {
            const auto sizes = parseSizes(value);
            options.series = sizes ? *sizes : std::vector<int>{};
            error = sizes.reason();
        } else if (const Parameter* early = firstGiven(given)) {
            // The file gives every parameter and the options after it change
            // some; one given before would be silently lost, so it is refused.
            error = "donnez " + std::string(early->option) +
                    " après --scenario, sinon le scénario la remplacerait.";
        } else {
            const Result<Scenario> loaded = loadScenario(value);
            error = loaded.reason();
            if (loaded) {
                scenario = *loaded;
                scenario.b.reset();          // set B is for the window only
                asked.settings = scenario.a; // what the options after it change
            }
        }
        if (!error.empty()) {
            return Refusal{name + " : " + error};
        }
    }
    if (options.help || options.version)
        return options;
    if (!given(kScenario)) {
        for (const Parameter& p : parameters()) {
            if (p.required && !given(p.option)) {
                return Refusal{"L'option " + std::string(p.option) + " manque."};
            }
        }
    }
    const bool series = given(kSeries);
    if (series && (given(kXlsx) || given(kEvery))) {
        return Refusal{std::string(given(kXlsx) ? kXlsx : kEvery) +
                       " : une série de tailles s'écrit en une ligne par taille, dans le "
                       "fichier CSV seulement."};
    }
    if (!series && !given(kCsv) && !given(kXlsx)) {
        return Refusal{"L'option --csv manque."};
    }
    if (!series && options.xlsx == options.csv) {
        return Refusal{"--xlsx : le classeur et le fichier CSV ne peuvent pas avoir le même nom."};
    }
    scenario.a = asked.settings;
    if (const auto applied = applyPopulation(scenario.a, asked); !applied)
        return Refusal{applied.reason()};
    if (const auto sound = checkScenario(scenario); !sound)
        return Refusal{sound.reason()};
    if (const auto sizes = checkSeries(scenario.a, options.series); series && !sizes)
        return Refusal{std::string(kSeries) + " : " + sizes.reason()};
    return options;
}

} // namespace bocavo::labo

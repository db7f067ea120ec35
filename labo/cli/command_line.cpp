#include "labo/cli/command_line.h"

#include "core/lab/science/experiment.h"
#include "core/lab/science/limits.h"
#include "core/lab/science/settings.h"
#include "labo/files/scenario_file.h"

namespace bocavo::labo {
namespace {

bool isOption(const std::string& arg) {
    return arg.rfind("--", 0) == 0;
}

} // namespace

std::string usageText() {
    return "Utilisation : bocavo-labo --classes N --generations G --csv FICHIER [options]\n"
           "              bocavo-labo --scenario SCÉNARIO --csv FICHIER [options]\n"
           "\n"
           "Fait dériver N classes pendant G générations, sans fenêtre, et écrit chaque\n"
           "classe, génération et allèle dans le fichier CSV, avec à côté le scénario qui\n"
           "le reproduit (même nom, extension .scenario ; un autre fichier déjà à ce nom\n"
           "est gardé, et le scénario prend un nom libre : derive-2.scenario...).\n"
           "\n"
           "  --classes N        nombre de classes, de 1 à 1 000\n"
           "  --generations G    dernière génération, de 1 à 32 767\n"
           "  --seed S           graine, de 0 à 4 294 967 295, " +
           std::to_string(kDefaultSeed) +
           " par défaut (la classe 1\n"
           "                     refait alors le programme principal)\n"
           "  --csv FICHIER      fichier à écrire (remplacé s'il existe)\n"
           "  --xlsx FICHIER     classeur pour le tableur (paramètres, fréquences, résumé\n"
           "                     et graphique), avec --csv ou à sa place\n"
           "  --every K          ne garder qu'une génération sur K (0, K, 2K... et la\n"
           "                     dernière), 1 par défaut\n"
           "\n"
           "La population (par défaut, le protocole de la classe) :\n"
           "  --individuals N    individus par classe, multiple de 10 de 10 à 10 000 (20)\n"
           "  --model M          protocole (couples fixes de la classe) ou wright-fisher\n"
           "                     (modèle idéal : chaque copie vient d'un parent au hasard)\n"
           "  --alleles K        nombre d'allèles, 2, 3 ou 4 (4)\n"
           "  --urn C1,C2[,C3[,C4]]\n"
           "                     boules de chaque allèle dans l'urne, 2N en tout (parts égales)\n"
           "  --fitness F1,F2[,F3[,F4]]\n"
           "                     valeur sélective de chaque allèle en %, de 10 à 1 000 (100)\n"
           "  --mutation U       taux de mutation par copie et par génération, de 0 à 0.1 (0)\n"
           "  --migration M      taux de migration entre les classes, de 0 à 0.5 (0)\n"
           "  --scenario FICHIER lit tous les paramètres dans un scénario ; les options\n"
           "                     données après lui le modifient (le jeu B reste à la fenêtre)\n"
           "  --help             affiche cette aide\n"
           "  --version          affiche la version\n"
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

enum Option {
    Classes,
    Generations,
    Seed,
    Csv,
    Every,
    Individuals,
    ModelOption,
    Alleles,
    Urn,
    Fitness,
    Mutation,
    Migration,
    ScenarioOption,
    Xlsx,
    kOptions
};
constexpr const char* kNames[kOptions] = {
    "--classes",     "--generations", "--seed",     "--csv", "--every",
    "--individuals", "--model",       "--alleles",  "--urn", "--fitness",
    "--mutation",    "--migration",   "--scenario", "--xlsx"};

// What the population options asked for, applied once every option is read,
// because --individuals, --alleles, --urn and --fitness must agree.
struct AskedPopulation {
    std::optional<int> individuals, alleles;
    std::vector<int> urn, fitness;
};

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
std::string applyPopulation(Settings& set, const AskedPopulation& asked) {
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
            return (list == &asked.urn ? "--urn" : "--fitness") + std::string(" donne ") +
                   std::to_string(n) + " valeurs pour " + std::to_string(k) + " allèles.";
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
    } else if (k != before || !checkSettings(set).empty()) {
        return std::string(k != before ? "--alleles" : "--individuals") +
               " : l'urne du scénario ne convient plus ; donnez aussi --urn, sinon elle serait "
               "perdue.";
    }
    if (k != before && asked.fitness.empty() && !neutralBefore)
        return "--alleles : les valeurs sélectives du scénario ne conviennent plus ; donnez "
               "aussi --fitness, sinon elles seraient perdues.";
    if (!asked.fitness.empty() || k != before) {
        set.fitness = {100, 100, 100, 100};
        for (std::size_t i = 0; i < asked.fitness.size(); ++i)
            set.fitness[i] = asked.fitness[i];
    }
    return checkSettings(set);
}

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    CommandLine& options = parsed.options;
    Scenario& scenario = options.scenario;
    Settings& set = scenario.a;
    AskedPopulation asked;
    bool seen[kOptions] = {};
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
            parsed.error = "Argument inattendu : " + shortQuote(name) + ".";
            return parsed;
        }
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
            hasValue = true;
        }
        int which = -1;
        for (int k = 0; k < kOptions; ++k)
            if (name == kNames[k])
                which = k;
        if (which < 0) {
            parsed.error = "Option inconnue : " + shortQuote(name) + ".";
            return parsed;
        }
        if (seen[which]) {
            parsed.error = "L'option " + name + " est donnée deux fois.";
            return parsed;
        }
        seen[which] = true;
        if (!hasValue) {
            if (i + 1 >= args.size() || isOption(args[i + 1])) {
                parsed.error = "L'option " + name + " attend une valeur.";
                return parsed;
            }
            value = args[++i];
        }
        std::string error;
        switch (which) {
        case Classes: {
            const auto p = parseClasses(value);
            scenario.classes = p.value.value_or(0);
            error = p.error;
            break;
        }
        case Generations: {
            const auto p = parseGenerations(value);
            scenario.generations = p.value.value_or(0);
            error = p.error;
            break;
        }
        case Seed: {
            const auto p = parseSeed(value);
            scenario.seed = p.value.value_or(0);
            error = p.error;
            break;
        }
        case Csv:
            if (value.empty())
                error = "Le nom du fichier CSV est vide.";
            options.csv = value;
            break;
        case Every: {
            const auto p = parseEvery(value);
            options.every = p.value.value_or(1);
            error = p.error;
            break;
        }
        case Individuals: {
            const auto p = parseIndividuals(value);
            asked.individuals = p.value;
            error = p.error;
            break;
        }
        case ModelOption: {
            const auto p = parseModel(value);
            set.model = p.value.value_or(Model::Protocole);
            error = p.error;
            break;
        }
        case Alleles: {
            const auto p = parseAlleles(value);
            asked.alleles = p.value;
            error = p.error;
            break;
        }
        case Urn: {
            auto p = parseList(value, 0, 2 * kMaxIndividuals, "l'urne");
            asked.urn = p.value.value_or(std::vector<int>{});
            error = p.error;
            break;
        }
        case Fitness: {
            auto p = parseList(value, kMinFitness, kMaxFitness, "les valeurs sélectives");
            asked.fitness = p.value.value_or(std::vector<int>{});
            error = p.error;
            break;
        }
        case Mutation: {
            const auto p = parseRate(value, kMaxMutation, "le taux de mutation");
            set.mutation = p.value.value_or(0.0);
            error = p.error;
            break;
        }
        case Migration: {
            const auto p = parseRate(value, kMaxMigration, "le taux de migration");
            set.migration = p.value.value_or(0.0);
            error = p.error;
            break;
        }
        case Xlsx:
            if (value.empty())
                error = "Le nom du classeur est vide.";
            options.xlsx = value;
            break;
        default: {
            // The file gives every parameter and the options after it change
            // some; one given before would be silently lost, so it is refused.
            for (int k = Classes; k < ScenarioOption; ++k) {
                if (seen[k] && k != Csv && k != Every) {
                    error = "donnez " + std::string(kNames[k]) +
                            " après --scenario, sinon le "
                            "scénario la remplacerait.";
                    break;
                }
            }
            if (!error.empty())
                break;
            const ScenarioResult loaded = loadScenario(value);
            error = loaded.error;
            if (loaded.scenario) {
                scenario = *loaded.scenario;
                scenario.b.reset(); // set B is for the window only
            }
            break;
        }
        }
        if (!error.empty()) {
            parsed.error = name + " : " + error;
            return parsed;
        }
    }
    if (options.help || options.version)
        return parsed;
    if (!seen[ScenarioOption]) {
        for (const Option required : {Classes, Generations}) {
            if (!seen[required]) {
                parsed.error = "L'option " + std::string(kNames[required]) + " manque.";
                return parsed;
            }
        }
    }
    if (!seen[Csv] && !seen[Xlsx]) {
        parsed.error = "L'option --csv manque.";
        return parsed;
    }
    if (options.xlsx == options.csv) {
        parsed.error = "--xlsx : le classeur et le fichier CSV ne peuvent pas avoir le même nom.";
        return parsed;
    }
    if (std::string fault = applyPopulation(set, asked); !fault.empty()) {
        parsed.error = fault;
        return parsed;
    }
    if (std::string fault = checkScenario(scenario); !fault.empty())
        parsed.error = fault;
    return parsed;
}

} // namespace bocavo::labo

#include "command_line.h"

#include "csv_writer.h"
#include "experiment.h"
#include "limits.h"

#include <exception>
#include <ostream>

namespace bocavo::labo {
namespace {

constexpr int kExitWriteFailed = 1;
constexpr int kExitBadArguments = 2;

bool isOption(const std::string& arg) {
    return arg.rfind("--", 0) == 0;
}

} // namespace

std::string usageText() {
    return "Utilisation : bocavo-labo --classes N --generations G --seed S --csv FICHIER "
           "[--every K]\n"
           "\n"
           "Fait dériver N classes de 20 individus pendant G générations, sans fenêtre, et\n"
           "écrit chaque classe, génération et allèle dans le fichier CSV.\n"
           "\n"
           "  --classes N      nombre de classes, de 1 à 1 000\n"
           "  --generations G  dernière génération, de 1 à 32 767\n"
           "  --seed S         graine, de 0 à 4 294 967 295 (" +
           std::to_string(kDefaultSeed) +
           " : la classe 1 refait le programme principal)\n"
           "  --csv FICHIER    fichier à écrire (remplacé s'il existe)\n"
           "  --every K        ne garder qu'une génération sur K (0, K, 2K...), 1 par défaut\n"
           "  --help           affiche cette aide\n"
           "\n"
           "Sans argument, bocavo-labo ouvre sa fenêtre.\n";
}

bool wantsCommandLine(const std::vector<std::string>& args) {
    for (const std::string& arg : args)
        if (isOption(arg) || arg == "-h")
            return true;
    return false;
}

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    CommandLine& options = parsed.options;
    bool seen[5] = {};
    static const char* const kNames[5] = {"--classes", "--generations", "--seed", "--csv",
                                          "--every"};
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (!isOption(name)) {
            parsed.error = "Argument inattendu : « " + name + " ».";
            return parsed;
        }
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
            hasValue = true;
        }
        int which = -1;
        for (int k = 0; k < 5; ++k)
            if (name == kNames[k])
                which = k;
        if (which < 0) {
            parsed.error = "Option inconnue : « " + name + " ».";
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
        case 0: {
            const auto p = parseClasses(value);
            options.classes = p.value.value_or(0);
            error = p.error;
            break;
        }
        case 1: {
            const auto p = parseGenerations(value);
            options.generations = p.value.value_or(0);
            error = p.error;
            break;
        }
        case 2: {
            const auto p = parseSeed(value);
            options.seed = p.value.value_or(0);
            error = p.error;
            break;
        }
        case 3:
            if (value.empty())
                error = "Le nom du fichier CSV est vide.";
            options.csv = value;
            break;
        default: {
            const auto p = parseEvery(value);
            options.every = p.value.value_or(1);
            error = p.error;
            break;
        }
        }
        if (!error.empty()) {
            parsed.error = name + " : " + error;
            return parsed;
        }
    }
    if (options.help)
        return parsed;
    for (int k = 0; k < 4; ++k) {
        if (!seen[k]) {
            parsed.error = "L'option " + std::string(kNames[k]) + " manque.";
            return parsed;
        }
    }
    return parsed;
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParsedCommandLine parsed = parseCommandLine(args);
    if (!parsed.error.empty()) {
        err << "bocavo-labo : " << parsed.error << "\n\n" << usageText();
        return kExitBadArguments;
    }
    const CommandLine& options = parsed.options;
    if (options.help) {
        out << usageText();
        return 0;
    }
    CsvOutcome outcome;
    try {
        Experiment experiment(options.classes, options.seed);
        experiment.advanceTo(options.generations);
        outcome = writeCsv(experiment, options.csv, options.every);
    } catch (const std::exception& e) {
        outcome.error = e.what();
    }
    if (!outcome.written) {
        err << "bocavo-labo : " << outcome.error << "\n";
        return kExitWriteFailed;
    }
    out << groupDigits(static_cast<std::uint64_t>(options.classes))
        << (options.classes > 1 ? " classes" : " classe") << ", générations 0 à "
        << groupDigits(static_cast<std::uint64_t>(options.generations)) << " : "
        << groupDigits(outcome.rows) << " lignes écrites dans " << options.csv << "\n";
    return 0;
}

} // namespace bocavo::labo

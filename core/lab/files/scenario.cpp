#include "core/lab/files/scenario.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace bocavo::labo {
namespace {

inline constexpr int kFormat = 1; // the format= line's value

// The keys of a set, in the order the file writes them.
inline constexpr const char* kSetKeys[] = {"individuals", "model",    "alleles",  "urn",
                                           "fitness",     "mutation", "migration"};
inline constexpr const char* kRunKeys[] = {"format", "classes", "generations", "seed", "sets"};

// Where the text stops being UTF-8: the offset of its first bad byte, or npos.
std::size_t firstBadByte(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t bytes = utf8CharBytes(text, i);
        if (bytes == 0)
            return i;
        i += bytes;
    }
    return std::string_view::npos;
}

std::string listText(const std::array<int, kMaxAlleles>& values, int count) {
    std::string text;
    for (int k = 0; k < count; ++k)
        text += (k ? ", " : "") + std::to_string(values[static_cast<std::size_t>(k)]);
    return text;
}

// Reads one set's value into `set`; "" or the reason (without the line).
std::string readSetValue(Settings& set, std::string_view key, std::string_view value,
                         std::vector<int>& urn, std::vector<int>& fitness) {
    if (key == "individuals") {
        const auto p = parseIndividuals(value);
        set.individuals = p.value.value_or(0);
        return p.error;
    }
    if (key == "model") {
        const auto p = parseModel(value);
        set.model = p.value.value_or(Model::Protocole);
        return p.error;
    }
    if (key == "alleles") {
        const auto p = parseAlleles(value);
        set.alleles = p.value.value_or(0);
        return p.error;
    }
    if (key == "urn") {
        auto p = parseList(value, 0, 2 * kMaxIndividuals, "l'urne");
        urn = p.value.value_or(std::vector<int>{});
        return p.error;
    }
    if (key == "fitness") {
        auto p = parseList(value, kMinFitness, kMaxFitness, "les valeurs sélectives");
        fitness = p.value.value_or(std::vector<int>{});
        return p.error;
    }
    if (key == "mutation") {
        const auto p = parseRate(value, kMaxMutation, "le taux de mutation");
        set.mutation = p.value.value_or(0.0);
        return p.error;
    }
    const auto p = parseRate(value, kMaxMigration, "le taux de migration");
    set.migration = p.value.value_or(0.0);
    return p.error;
}

// The keys read so far, each with its line, so that a fault found once the
// whole file is read still names the line it comes from.
using Seen = std::vector<std::pair<std::string, int>>;

int lineOf(const Seen& seen, std::string_view key) {
    for (const auto& [k, line] : seen)
        if (k == key)
            return line;
    return 0;
}

bool has(const Seen& seen, std::string_view key) {
    return lineOf(seen, key) != 0;
}

struct Section {
    Settings set;
    std::vector<int> urn, fitness;
    Seen seen;
    int line = 0; // of its [X] header
};

struct Fault {
    int line = 0;
    std::string why; // empty: no fault
};

// Puts the lists into the set once every key is known; the fault and its line, if any.
Fault completeSection(Section& section, const std::string& name) {
    for (const char* key : kSetKeys)
        if (!has(section.seen, key))
            return {section.line, "la clé « " + std::string(key) + " » manque dans [" + name +
                                      "] (ligne " + std::to_string(section.line) + ")."};
    Settings& set = section.set;
    const auto k = static_cast<std::size_t>(set.alleles);
    if (section.urn.size() != k || section.fitness.size() != k)
        return {lineOf(section.seen, section.urn.size() != k ? "urn" : "fitness"),
                "[" + name + "] annonce " + std::to_string(set.alleles) +
                    " allèles : l'urne et les valeurs sélectives doivent en donner autant."};
    set.urn = {0, 0, 0, 0};
    set.fitness = {100, 100, 100, 100};
    for (std::size_t i = 0; i < k; ++i) {
        set.urn[i] = section.urn[i];
        set.fitness[i] = section.fitness[i];
    }
    // What is left once each value is in range: the urn must hold 2N balls.
    if (const std::string fault = checkSettings(set); !fault.empty())
        return {lineOf(section.seen, "urn"), "[" + name + "] : " + fault};
    return {};
}

ScenarioResult refuse(int line, const std::string& why) {
    return {std::nullopt, "Scénario refusé, ligne " + std::to_string(line) + " : " + why};
}

} // namespace

std::string checkScenario(const Scenario& s) {
    if (s.classes < kMinClasses || s.classes > kMaxClasses)
        return "Le nombre de classes doit aller de 1 à 1 000.";
    if (s.generations < kMinGenerations || s.generations > kMaxGeneration)
        return "Le nombre de générations doit aller de 1 à 32 767.";
    for (const Settings* set : {&s.a, s.b ? &*s.b : nullptr}) {
        if (!set)
            continue;
        const std::string name = set == &s.a ? "A" : "B";
        if (const std::string fault = checkSettings(*set); !fault.empty())
            return "Jeu " + name + " : " + fault;
        if (set->migration > 0.0 && s.classes < 2)
            return "Jeu " + name + " : la migration demande au moins deux classes.";
    }
    return {};
}

std::uint32_t secondSeed(std::uint32_t seed) {
    std::uint64_t key = 0xB0CA'B0CAull << 32 | seed;
    return static_cast<std::uint32_t>(splitmix64(key) >> 32);
}

std::string scenarioText(const Scenario& s, const std::vector<std::string>& note) {
    std::ostringstream out;
    out << "# Scénario du Laboratoire de dérive (bocavo-labo)\n";
    for (const std::string& line : note)
        out << "# " << line << "\n";
    out << "# Une valeur par ligne, « clé = valeur » ; « # » commence un commentaire.\n"
           "# Toutes les clés sont obligatoires ; les nombres décimaux s'écrivent avec un point.\n"
           "format = "
        << kFormat
        << "\n"
           "# Classes par jeu (1 à 1 000), dernière génération (1 à 32 767), graine (0 à 4 294 967 "
           "295)\n"
           "classes = "
        << s.classes
        << "\n"
           "generations = "
        << s.generations
        << "\n"
           "seed = "
        << s.seed
        << "\n"
           "# Jeux de paramètres : A seul, ou A et B pour comparer\n"
           "sets = "
        << (s.b ? "A, B" : "A") << "\n";
    for (const Settings* set : {&s.a, s.b ? &*s.b : nullptr}) {
        if (!set)
            continue;
        out << "\n[" << (set == &s.a ? "A" : "B") << "]\n"
            << "# Individus : multiple de 10 de 10 à 10 000\n"
            << "individuals = " << set->individuals << "\n"
            << "# Modèle : protocole (couples fixes de la classe) ou wright-fisher (modèle idéal)\n"
            << "model = " << modelKey(set->model) << "\n"
            << "# Allèles : 2, 3 ou 4 ; l'urne en donne les boules (total 2N)\n"
            << "alleles = " << set->alleles << "\n"
            << "urn = " << listText(set->urn, set->alleles) << "\n"
            << "# Valeurs sélectives en % (10 à 1 000), une par allèle\n"
            << "fitness = " << listText(set->fitness, set->alleles) << "\n"
            << "# Taux de mutation par copie et par génération (0 à 0.1)\n"
            << "mutation = " << rateText(set->mutation) << "\n"
            << "# Taux de migration entre les classes (0 à 0.5)\n"
            << "migration = " << rateText(set->migration) << "\n";
    }
    return out.str();
}

ScenarioResult parseScenario(std::string_view text) {
    if (text.size() > kMaxScenarioBytes)
        return {std::nullopt, "Scénario refusé : le fichier est bien trop long pour un scénario."};
    if (const auto bad = firstBadByte(text); bad != std::string_view::npos)
        return refuse(1 + static_cast<int>(std::count(text.begin(), text.begin() + bad, '\n')),
                      "le fichier n'est pas du texte UTF-8.");
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3); // a byte-order mark left by some editors
    if (trimmed(text).empty())
        return {std::nullopt, "Scénario refusé : le fichier est vide."};
    Scenario scenario;
    Seen seen;
    Section sections[2];
    int current = -1; // −1: the run's keys; 0: [A]; 1: [B]
    std::string wantedSets;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (const auto hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        line = trimmed(line);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            const int which = line == "[A]" ? 0 : line == "[B]" ? 1 : -1;
            if (which < 0)
                return refuse(lineNumber,
                              shortQuote(line) + " n'est pas une section connue ([A] ou [B]).");
            if (which <= current || sections[which].line != 0)
                return refuse(lineNumber, "la section " + std::string(line) +
                                              " est mal placée ou donnée deux fois.");
            current = which;
            sections[which].line = lineNumber;
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            return refuse(lineNumber,
                          shortQuote(line) + " n'est pas de la forme « clé = valeur ».");
        const std::string key(trimmed(line.substr(0, equals)));
        const std::string_view value = trimmed(line.substr(equals + 1));
        bool known = false;
        for (const char* k : kRunKeys)
            known = known || (current < 0 && key == k);
        for (const char* k : kSetKeys)
            known = known || (current >= 0 && key == k);
        if (!known)
            return refuse(
                lineNumber,
                "clé inconnue " + shortQuote(key) +
                    (current < 0 ? "" : " dans [" + std::string(current ? "B" : "A") + "]") + ".");
        auto& seenHere = current < 0 ? seen : sections[current].seen;
        if (has(seenHere, key))
            return refuse(lineNumber, "la clé « " + key + " » est donnée deux fois.");
        seenHere.emplace_back(key, lineNumber);
        std::string error;
        if (current >= 0) {
            Section& section = sections[current];
            error = readSetValue(section.set, key, value, section.urn, section.fitness);
        } else if (key == "format") {
            if (value != std::to_string(kFormat))
                error = shortQuote(value) + " : ce programme ne lit que le format " +
                        std::to_string(kFormat) + ".";
        } else if (key == "classes") {
            const auto p = parseClasses(value);
            scenario.classes = p.value.value_or(0);
            error = p.error;
        } else if (key == "generations") {
            const auto p = parseGenerations(value);
            scenario.generations = p.value.value_or(0);
            error = p.error;
        } else if (key == "seed") {
            const auto p = parseSeed(value);
            scenario.seed = p.value.value_or(0);
            error = p.error;
        } else {
            std::string sets;
            for (const char c : value)
                if (!std::isspace(static_cast<unsigned char>(c)))
                    sets += c;
            if (sets != "A" && sets != "A,B")
                error = shortQuote(value) + " ne convient pas pour les jeux : il faut A, ou A, B.";
            wantedSets = sets;
        }
        if (!error.empty())
            return refuse(lineNumber, error);
    }
    for (const char* key : kRunKeys)
        if (!has(seen, key))
            return refuse(lineNumber, "la clé « " + std::string(key) +
                                          " » manque (le fichier "
                                          "est peut-être tronqué).");
    const bool wantB = wantedSets == "A,B";
    if (sections[0].line == 0 || (wantB && sections[1].line == 0))
        return refuse(lineNumber, std::string("la section [") + (sections[0].line ? "B" : "A") +
                                      "] manque (le fichier est peut-être tronqué).");
    if (!wantB && sections[1].line != 0)
        return refuse(sections[1].line, "la section [B] est là mais « sets » ne l'annonce pas.");
    for (int i = 0; i < (wantB ? 2 : 1); ++i) {
        const std::string name = i ? "B" : "A";
        if (const Fault fault = completeSection(sections[i], name); !fault.why.empty())
            return refuse(fault.line, fault.why);
        if (sections[i].set.migration > 0.0 && scenario.classes < 2)
            return refuse(lineOf(sections[i].seen, "migration"),
                          "[" + name + "] : la migration demande au moins deux classes.");
    }
    scenario.a = sections[0].set;
    if (wantB)
        scenario.b = sections[1].set;
    if (const std::string fault = checkScenario(scenario); !fault.empty())
        return {std::nullopt, "Scénario refusé : " + fault};
    return {scenario, {}};
}

bool reproduces(const Scenario& file, const Scenario& written) {
    return file.a == written.a && (!written.b || file.b == written.b) &&
           file.classes == written.classes && file.generations == written.generations &&
           file.seed == written.seed;
}

} // namespace bocavo::labo

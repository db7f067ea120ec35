#include "core/lab/files/scenario.h"

#include "core/lab/science/parameters.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace bocavo::labo {
namespace {

inline constexpr int kFormat = 1; // the format= line's value

// The keys that shape the file rather than name a parameter.
inline constexpr char kFormatKey[] = "format";
inline constexpr char kSetsKey[] = "sets";

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
    SetReading reading;
    Settings set; // once complete
    Seen seen;
    int line = 0; // of its [X] header
};

struct Fault {
    int line = 0;
    std::string why; // empty: no fault
};

// Puts the lists into the set once every key is known; the fault and its line, if any.
Fault completeSection(Section& section, const std::string& name) {
    for (const Parameter& p : parameters())
        if (p.scope == ParameterScope::Set && !p.optional && !has(section.seen, p.key))
            return {section.line, "la clé « " + std::string(p.key) + " » manque dans [" + name +
                                      "] (ligne " + std::to_string(section.line) + ")."};
    const SetReading& reading = section.reading;
    Settings& set = section.set;
    set = reading.settings;
    set.individuals = reading.individuals.value_or(0);
    set.alleles = reading.alleles.value_or(0);
    const auto k = static_cast<std::size_t>(set.alleles);
    if (reading.urn.size() != k || reading.fitness.size() != k)
        return {lineOf(section.seen, reading.urn.size() != k ? "urn" : "fitness"),
                "[" + name + "] annonce " + std::to_string(set.alleles) +
                    " allèles : l'urne et les valeurs sélectives doivent en donner autant."};
    set.urn = {0, 0, 0, 0};
    set.fitness = {100, 100, 100, 100};
    for (std::size_t i = 0; i < k; ++i) {
        set.urn[i] = reading.urn[i];
        set.fitness[i] = reading.fitness[i];
    }
    // What is left once each value is in range: the urn must hold 2N balls.
    if (const auto sound = checkSettings(set); !sound)
        return {lineOf(section.seen, "urn"), "[" + name + "] : " + sound.reason()};
    return {};
}

Refusal refuse(int line, const std::string& why) {
    return {"Scénario refusé, ligne " + std::to_string(line) + " : " + why};
}

// The lines after [consigne] (the first of them is line `first`), each without
// the spaces an editor may leave at its end (or a Windows '\r'), and without
// blank lines around the whole: the same text however the file was saved.
Result<std::string> readConsigne(std::string_view rest, int first) {
    std::string consigne;
    std::size_t blankLines = 0; // held back until a line of text follows them
    for (int lineNumber = first; !rest.empty(); ++lineNumber) {
        const auto end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.remove_suffix(1);
        for (const char c : line)
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
                return refuse(lineNumber, "la consigne contient un caractère de contrôle " +
                                              shortQuote(std::string(1, c)) + ".");
        if (line.empty()) {
            blankLines += consigne.empty() ? 0 : 1;
            continue;
        }
        if (!consigne.empty())
            consigne.append(blankLines + 1, '\n');
        blankLines = 0;
        consigne += line;
    }
    return consigne;
}

} // namespace

Result<void> checkScenario(const Scenario& s) {
    if (s.classes < kMinClasses || s.classes > kMaxClasses)
        return Refusal{"Le nombre de classes doit aller de 1 à 1 000."};
    if (s.generations < kMinGenerations || s.generations > kMaxGeneration)
        return Refusal{"Le nombre de générations doit aller de 1 à 32 767."};
    for (const Settings* set : {&s.a, s.b ? &*s.b : nullptr}) {
        if (!set)
            continue;
        const std::string name = set == &s.a ? "A" : "B";
        if (const auto sound = checkSettings(*set); !sound)
            return Refusal{"Jeu " + name + " : " + sound.reason()};
        if (set->migration > 0.0 && s.classes < 2)
            return Refusal{"Jeu " + name + " : la migration demande au moins deux classes."};
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
        << kFormatKey << " = " << kFormat << "\n";
    const auto writeKeys = [&out, &s](ParameterScope scope, const Settings& set) {
        for (const Parameter& p : parameters()) {
            if (p.scope != scope || (p.optional && p.write(s, set) == p.write(s, Settings{})))
                continue;
            if (!p.comment.empty())
                out << "# " << p.comment << "\n";
            out << p.key << " = " << p.write(s, set) << "\n";
        }
    };
    writeKeys(ParameterScope::Run, s.a);
    out << "# Jeux de paramètres : A seul, ou A et B pour comparer\n"
        << kSetsKey << " = " << (s.b ? "A, B" : "A") << "\n";
    for (const Settings* set : {&s.a, s.b ? &*s.b : nullptr}) {
        if (!set)
            continue;
        out << "\n[" << (set == &s.a ? "A" : "B") << "]\n";
        writeKeys(ParameterScope::Set, *set);
    }
    if (!s.consigne.empty())
        out << "\n# La consigne montrée aux élèves : tout ce qui suit " << kConsigneHeader
            << ", tel quel.\n"
            << kConsigneHeader << "\n"
            << s.consigne << "\n";
    return out.str();
}

Result<Scenario> parseScenario(std::string_view text) {
    if (text.size() > kMaxScenarioBytes)
        return Refusal{"Scénario refusé : le fichier est bien trop long pour un scénario."};
    if (const auto bad = firstBadByte(text); bad != std::string_view::npos)
        return refuse(1 + static_cast<int>(std::count(text.begin(), text.begin() + bad, '\n')),
                      "le fichier n'est pas du texte UTF-8.");
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3); // a byte-order mark left by some editors
    if (trimmed(text).empty())
        return Refusal{"Scénario refusé : le fichier est vide."};
    Scenario scenario;
    Seen seen;
    Section sections[2];
    int current = -1; // −1: the run's keys; 0: [A]; 1: [B]
    std::string wantedSets;
    int lineNumber = 0;
    int consigneLine = 0; // of its header; 0: none
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
        if (line == kConsigneHeader) {
            auto consigne = readConsigne(text, lineNumber + 1);
            if (!consigne)
                return Refusal{consigne.reason()};
            scenario.consigne = std::move(*consigne);
            consigneLine = lineNumber;
            break;
        }
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
        const bool structural = current < 0 && (key == kFormatKey || key == kSetsKey);
        const Parameter* parameter =
            findParameter(key, current < 0 ? ParameterScope::Run : ParameterScope::Set);
        if (!structural && !parameter)
            return refuse(
                lineNumber,
                "clé inconnue " + shortQuote(key) +
                    (current < 0 ? "" : " dans [" + std::string(current ? "B" : "A") + "]") + ".");
        auto& seenHere = current < 0 ? seen : sections[current].seen;
        if (has(seenHere, key))
            return refuse(lineNumber, "la clé « " + key + " » est donnée deux fois.");
        seenHere.emplace_back(key, lineNumber);
        std::string error;
        if (parameter) {
            SetReading& reading = sections[std::max(current, 0)].reading; // the run's: unused
            error =
                parameter->read(*parameter, value, DecimalMark::Point, scenario, reading).reason();
        } else if (key == kFormatKey) {
            if (value != std::to_string(kFormat))
                error = shortQuote(value) + " : ce programme ne lit que le format " +
                        std::to_string(kFormat) + ".";
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
    std::vector<std::string_view> runKeys{kFormatKey};
    for (const Parameter& p : parameters())
        if (p.scope == ParameterScope::Run)
            runKeys.push_back(p.key);
    runKeys.push_back(kSetsKey);
    // Keys put after the consigne are part of its text.
    const std::string why = consigneLine ? std::string("la section ") + kConsigneHeader +
                                               " doit venir en dernier, après [A] et [B]"
                                         : "le fichier est peut-être tronqué";
    for (const std::string_view key : runKeys)
        if (!has(seen, key))
            return refuse(lineNumber, "la clé « " + std::string(key) + " » manque (" + why + ").");
    const bool wantB = wantedSets == "A,B";
    if (sections[0].line == 0 || (wantB && sections[1].line == 0))
        return refuse(lineNumber, std::string("la section [") + (sections[0].line ? "B" : "A") +
                                      "] manque (" + why + ").");
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
    if (const auto sound = checkScenario(scenario); !sound)
        return Refusal{"Scénario refusé : " + sound.reason()};
    return scenario;
}

std::uint32_t setSeed(const Scenario& scenario, int set) {
    return set == 0 ? scenario.seed : secondSeed(scenario.seed);
}

bool continuesRun(const Scenario& shown, const Scenario& plan) {
    return shown.a == plan.a && shown.b == plan.b && shown.classes == plan.classes &&
           shown.seed == plan.seed;
}

bool reproduces(const Scenario& file, const Scenario& written) {
    return file.a == written.a && (!written.b || file.b == written.b) &&
           file.classes == written.classes && file.generations == written.generations &&
           file.seed == written.seed;
}

} // namespace bocavo::labo

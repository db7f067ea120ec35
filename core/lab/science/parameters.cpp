#include "core/lab/science/parameters.h"

#include "core/lab/files/scenario.h"
#include "core/lab/science/limits.h"

#include <algorithm>
#include <array>
#include <utility>

namespace bocavo::labo {
namespace {

using Read = Result<void>;

template <typename T> Read refusedOr(const Result<T>& parsed) {
    if (parsed)
        return {};
    return Refusal{parsed.reason()};
}

// The value read into its place (its zero when refused), and the refusal if any.
template <typename T, typename Target> Read readInto(Result<T> parsed, Target& target) {
    target = parsed ? std::move(*parsed) : T{};
    return refusedOr(parsed);
}

Result<int> readWhole(const Parameter& p, std::string_view text) {
    return parseWhole(text, static_cast<int>(p.low), static_cast<int>(p.high), std::string(p.what),
                      p.step);
}

Result<std::vector<int>> readList(const Parameter& p, std::string_view text) {
    return parseList(text, static_cast<int>(p.low), static_cast<int>(p.high), std::string(p.what));
}

Result<double> readRate(const Parameter& p, std::string_view text, DecimalMark mark) {
    return parseRate(text, p.high, std::string(p.what), mark);
}

std::string listText(const std::array<int, kMaxAlleles>& values, int count) {
    std::string text;
    for (int k = 0; k < count; ++k)
        text += (k ? ", " : "") + std::to_string(values[static_cast<std::size_t>(k)]);
    return text;
}

inline constexpr std::array<std::string_view, 2> kModelWords{modelWord(Model::Protocole),
                                                             modelWord(Model::WrightFisher)};

// The run's parameters, then each set's, in the order a scenario writes them.
const std::array<Parameter, 12> kParameters{{
    {.key = "classes",
     .option = "--classes",
     .metavar = "N",
     .field = "classes",
     .label = "Nombre de &classes",
     .what = "le nombre de classes",
     .hint = "De 1 à 1 000 classes",
     .help = "nombre de classes, de 1 à 1 000",
     .comment = "Classes par jeu (1 à 1 000), dernière génération (1 à 32 767), graine (0 à 4 "
                "294 967 295)",
     .scope = ParameterScope::Run,
     .kind = ParameterKind::Whole,
     .low = kMinClasses,
     .high = kMaxClasses,
     .required = true,
     .write = [](const Scenario& run, const Settings&) { return std::to_string(run.classes); },
     .read = [](const Parameter& self, std::string_view text, DecimalMark, Scenario& run,
                SetReading&) -> Read { return readInto(readWhole(self, text), run.classes); }},
    {.key = "generations",
     .option = "--generations",
     .metavar = "G",
     .field = "generations",
     .label = "Nombre de gé&nérations",
     .what = "le nombre de générations",
     .hint = "De 1 à 32 767 générations",
     .help = "dernière génération, de 1 à 32 767",
     .scope = ParameterScope::Run,
     .kind = ParameterKind::Whole,
     .low = kMinGenerations,
     .high = kMaxGeneration,
     .required = true,
     .write = [](const Scenario& run, const Settings&) { return std::to_string(run.generations); },
     .read = [](const Parameter& self, std::string_view text, DecimalMark, Scenario& run,
                SetReading&) -> Read { return readInto(readWhole(self, text), run.generations); }},
    {.key = "seed",
     .option = "--seed",
     .metavar = "S",
     .field = "graine",
     .label = "&Graine",
     .what = "la graine",
     .hint = "De 0 à 4 294 967 295 ; avec 1993, la classe 1 montre ce que montre le programme "
             "principal",
     .help = "graine, de 0 à 4 294 967 295, 1993 par défaut (la classe 1\n"
             "refait alors le programme principal)",
     .scope = ParameterScope::Run,
     .kind = ParameterKind::Whole,
     .low = 0,
     .high = UINT32_MAX,
     .write = [](const Scenario& run, const Settings&) { return std::to_string(run.seed); },
     .read = [](const Parameter&, std::string_view text, DecimalMark, Scenario& run,
                SetReading&) -> Read { return readInto(parseSeed(text), run.seed); }},
    {.key = "individuals",
     .option = "--individuals",
     .metavar = "N",
     .field = "individus",
     .label = "&Individus N",
     .what = "le nombre d'individus",
     .hint = "Un multiple de 10, de 10 à 10 000 individus",
     .help = "individus par classe, multiple de 10 de 10 à 10 000 (20)",
     .comment = "Individus : multiple de 10 de 10 à 10 000",
     .scope = ParameterScope::Set,
     .kind = ParameterKind::Whole,
     .low = kMinIndividuals,
     .high = kMaxIndividuals,
     .step = kIndividualsStep,
     .write = [](const Scenario&, const Settings& set) { return std::to_string(set.individuals); },
     .read = [](const Parameter& self, std::string_view text, DecimalMark, Scenario&,
                SetReading& set) -> Read {
         const auto p = readWhole(self, text);
         set.individuals = p ? std::optional(*p) : std::nullopt;
         return refusedOr(p);
     }},
    {.key = "model",
     .option = "--model",
     .metavar = "M",
     .field = "modele",
     .label = "Modèle",
     .what = "le modèle",
     .help = "protocole (couples fixes de la classe) ou wright-fisher\n"
             "(modèle idéal : chaque copie vient d'un parent au hasard)",
     .comment = "Modèle : protocole (couples fixes de la classe) ou wright-fisher (modèle idéal)",
     .scope = ParameterScope::Set,
     .kind = ParameterKind::Choice,
     .low = 0,
     .high = 1,
     .choices = kModelWords,
     .write = [](const Scenario&,
                 const Settings& set) { return std::string(modelWord(set.model)); },
     .read = [](const Parameter& self, std::string_view text, DecimalMark, Scenario&,
                SetReading& set) -> Read {
         const std::string_view word = trimmed(text);
         for (const Model model : {Model::Protocole, Model::WrightFisher})
             if (word == modelWord(model)) {
                 set.settings.model = model;
                 return {};
             }
         return Refusal{shortQuote(word) + " ne convient pas pour " + std::string(self.what) +
                        " : il faut protocole ou wright-fisher."};
     }},
    {.key = "alleles",
     .option = "--alleles",
     .metavar = "K",
     .field = "alleles",
     .label = "Allèles",
     .what = "le nombre d'allèles",
     .help = "nombre d'allèles, 2, 3 ou 4 (4)",
     .comment = "Allèles : 2, 3 ou 4 ; l'urne en donne les boules (total 2N)",
     .scope = ParameterScope::Set,
     .kind = ParameterKind::Whole,
     .low = kMinAlleles,
     .high = kMaxAlleles,
     .write = [](const Scenario&, const Settings& set) { return std::to_string(set.alleles); },
     .read = [](const Parameter& self, std::string_view text, DecimalMark, Scenario&,
                SetReading& set) -> Read {
         const auto p = readWhole(self, text);
         set.alleles = p ? std::optional(*p) : std::nullopt;
         return refusedOr(p);
     }},
    {.key = "urn",
     .option = "--urn",
     .metavar = "C1,C2[,C3[,C4]]",
     .field = "urne",
     .label = "Boules dans l'urne",
     .what = "l'urne",
     .item = "le nombre de boules de l'allèle %1",
     .hint = "Boules de l'allèle %1 dans l'urne des fondateurs ; l'urne en contient au moins 2N, "
             "et au-delà c'est une population source dont les fondateurs sont un échantillon",
     .help = "boules de chaque allèle dans l'urne, 2N en tout (parts égales) ;\n"
             "plus de 2N : une population source, où les fondateurs sont tirés",
     .scope = ParameterScope::Set,
     .kind = ParameterKind::List,
     .low = 0,
     .high = 2 * kMaxIndividuals, // each count alone; the sum is the set's check
     .write = [](const Scenario&, const Settings& set) { return listText(set.urn, set.alleles); },
     .read = [](const Parameter& self, std::string_view text, DecimalMark, Scenario&,
                SetReading& set) -> Read { return readInto(readList(self, text), set.urn); }},
    {.key = "fitness",
     .option = "--fitness",
     .metavar = "F1,F2[,F3[,F4]]",
     .field = "valeur",
     .label = "Valeur sélective (%)",
     .what = "les valeurs sélectives",
     .item = "la valeur sélective de l'allèle %1 (en %)",
     .hint = "Valeur sélective de l'allèle %1, de 10 à 1 000 % ; celle d'un génotype est la "
             "moyenne de ses deux allèles",
     .help = "valeur sélective de chaque allèle en %, de 10 à 1 000 (100)",
     .comment = "Valeurs sélectives en % (10 à 1 000), une par allèle",
     .scope = ParameterScope::Set,
     .kind = ParameterKind::List,
     .low = kMinFitness,
     .high = kMaxFitness,
     .write = [](const Scenario&,
                 const Settings& set) { return listText(set.fitness, set.alleles); },
     .read = [](const Parameter& self, std::string_view text, DecimalMark, Scenario&,
                SetReading& set) -> Read { return readInto(readList(self, text), set.fitness); }},
    {.key = "genotypes",
     .option = "--genotypes",
     .metavar = "W11,W12,W22",
     .field = "genotypes",
     .label = "Génotypes 11, 12, 22 (%)",
     .what = "les valeurs sélectives des génotypes",
     .hint = "Pour 2 allèles : valeurs sélectives des génotypes 11, 12 et 22, de 0 à 1 000 %, "
             "à la place de celles des allèles (qui restent alors à 100 %) ; 0 : génotype létal. "
             "Vide : chaque génotype a la moyenne de ses deux allèles",
     .help = "pour 2 allèles, valeurs sélectives des génotypes 11, 12 et 22\n"
             "en %, de 0 à 1 000 (0 : létal), à la place de --fitness",
     .comment = "Valeurs sélectives des génotypes 11, 12 et 22 en % (0 à 1 000), facultatives, "
                "pour 2 allèles seulement",
     .scope = ParameterScope::Set,
     .kind = ParameterKind::Genotypes,
     .low = kMinGenotypeFitness,
     .high = kMaxGenotypeFitness,
     .optional = true,
     .write = [](const Scenario&, const Settings& set) { return genotypesText(set.genotypes); },
     .read = [](const Parameter&, std::string_view text, DecimalMark, Scenario&, SetReading& set)
         -> Read { return readInto(parseGenotypes(text), set.settings.genotypes); }},
    {.key = "mutation",
     .option = "--mutation",
     .metavar = "U",
     .field = "mutation",
     .label = "Mutation u",
     .what = "le taux de mutation",
     .hint = "Par copie et par génération, de 0 à 0,1",
     .help = "taux de mutation par copie et par génération, de 0 à 0.1 (0)",
     .comment = "Taux de mutation par copie et par génération (0 à 0.1)",
     .scope = ParameterScope::Set,
     .kind = ParameterKind::Rate,
     .low = 0.0,
     .high = kMaxMutation,
     .write = [](const Scenario&, const Settings& set) { return rateText(set.mutation); },
     .read = [](const Parameter& self, std::string_view text, DecimalMark mark, Scenario&,
                SetReading& set) -> Read {
         return readInto(readRate(self, text, mark), set.settings.mutation);
     }},
    {.key = "migration",
     .option = "--migration",
     .metavar = "M",
     .field = "migration",
     .label = "Migr. m",
     .what = "le taux de migration",
     .hint = "Part des parents remplacés chaque génération par des migrants venus d'autres "
             "classes, de 0 à 0,5",
     .help = "taux de migration entre les classes, de 0 à 0.5 (0)",
     .comment = "Taux de migration entre les classes (0 à 0.5)",
     .scope = ParameterScope::Set,
     .kind = ParameterKind::Rate,
     .low = 0.0,
     .high = kMaxMigration,
     .write = [](const Scenario&, const Settings& set) { return rateText(set.migration); },
     .read = [](const Parameter& self, std::string_view text, DecimalMark mark, Scenario&,
                SetReading& set) -> Read {
         return readInto(readRate(self, text, mark), set.settings.migration);
     }},
    {.key = "history",
     .option = "--histoire",
     .metavar = "\"G:N,...\"",
     .field = "histoire",
     .label = "Histoire de N",
     .what = "l'histoire de la taille",
     .hint = "« génération:N » séparés par des virgules : 20:10, 25:200 fait passer la population "
             "à 10 individus à la génération 20, puis à 200 à la génération 25 (goulot "
             "d'étranglement) ; vide, N ne change pas. N va de 1 à 10 000 dans le modèle idéal, "
             "c'est un multiple de 10 dans le protocole",
     .help = "histoire de la taille : « 20:10,25:200 », 10 individus dès la\n"
             "génération 20, 200 dès la 25 (aucune par défaut)",
     .comment = "Histoire de la taille, facultative : « génération:N » séparés par des virgules "
                "(20:10, 25:200 "
                ": N = 10 dès la génération 20, puis 200 dès la 25)",
     .scope = ParameterScope::Set,
     .kind = ParameterKind::Sizes,
     .low = kMinIdealIndividuals,
     .high = kMaxIndividuals,
     .optional = true,
     .write = [](const Scenario&, const Settings& set) { return sizesText(set.sizes); },
     .read = [](const Parameter&, std::string_view text, DecimalMark, Scenario&, SetReading& set)
         -> Read { return readInto(parseSizeHistory(text), set.settings.sizes); }},
}};

} // namespace

std::span<const Parameter> parameters() {
    return kParameters;
}

const Parameter* findParameter(std::string_view key, ParameterScope scope) {
    for (const Parameter& p : kParameters)
        if (p.key == key && p.scope == scope)
            return &p;
    return nullptr;
}

const Parameter* findOption(std::string_view option) {
    for (const Parameter& p : kParameters)
        if (p.option == option)
            return &p;
    return nullptr;
}

const Parameter& parameter(std::string_view key) {
    const auto* found = std::find_if(kParameters.begin(), kParameters.end(),
                                     [key](const Parameter& p) { return p.key == key; });
    return found != kParameters.end() ? *found : kParameters.front();
}

std::string itemText(std::string_view pattern, int allele) {
    std::string text(pattern);
    if (const auto at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, std::to_string(allele));
    return text;
}

Result<int> readItem(const Parameter& list, std::string_view text, int allele) {
    return parseWhole(text, static_cast<int>(list.low), static_cast<int>(list.high),
                      itemText(list.item, allele));
}

std::string plainLabel(std::string_view label) {
    std::string text(label);
    std::erase(text, '&');
    return text;
}

std::vector<ParameterSummary> parameterSummary() {
    static constexpr const char* kKinds[] = {"whole", "choice", "list",
                                             "rate",  "sizes",  "genotypes"};
    const Scenario defaults;
    std::vector<ParameterSummary> summary;
    for (const Parameter& p : kParameters) {
        ParameterSummary& s = summary.emplace_back();
        s.key = p.key;
        s.label = plainLabel(p.label);
        s.kind = kKinds[static_cast<int>(p.kind)];
        s.perSet = p.scope == ParameterScope::Set;
        s.low = p.low;
        s.high = p.high;
        s.step = p.step;
        s.defaultValue = p.write(defaults, defaults.a);
        s.choices.assign(p.choices.begin(), p.choices.end());
    }
    return summary;
}

} // namespace bocavo::labo

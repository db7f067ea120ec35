#include "core/lab/words/pending_notice.h"

#include <vector>

namespace bocavo::labo {
namespace {

inline constexpr int kRateDecimals = 6; // the finest rate a field takes, 0,000001

std::string whole(int value) {
    return groupDigits(static_cast<std::uint64_t>(value));
}

std::string rate(double value) {
    return frenchDecimal(value, kRateDecimals);
}

std::string counts(const std::array<int, kMaxAlleles>& values, int alleles) {
    std::string text;
    for (int k = 0; k < alleles; ++k)
        text += (k == 0 ? "" : ", ") + whole(values[static_cast<std::size_t>(k)]);
    return text;
}

void compare(std::vector<std::string>& changes, const std::string& what, const std::string& before,
             const std::string& after) {
    if (before != after)
        changes.push_back(what + " : " + before + " → " + after);
}

// What differs between two sets; `of` names the set when the run compares two.
void compareSets(std::vector<std::string>& changes, const Settings& a, const Settings& b,
                 const std::string& of) {
    compare(changes, "N" + of, whole(a.individuals), whole(b.individuals));
    compare(changes, "modèle" + of, modelTitle(a.model), modelTitle(b.model));
    compare(changes, "allèles" + of, whole(a.alleles), whole(b.alleles));
    compare(changes, "urne" + of, counts(a.urn, a.alleles), counts(b.urn, b.alleles));
    compare(changes, "valeurs sélectives" + of, counts(a.fitness, a.alleles),
            counts(b.fitness, b.alleles));
    compare(changes, "mutation" + of, rate(a.mutation), rate(b.mutation));
    compare(changes, "migration" + of, rate(a.migration), rate(b.migration));
}

} // namespace

std::string pendingNotice(const Scenario& shown, const std::optional<Scenario>& edited) {
    if (edited == shown)
        return {};
    const std::string head = "Ces paramètres ne sont pas ceux de la simulation affichée";
    if (!edited)
        return head + " : ils s'appliqueront au prochain « Lancer », une fois corrigés.";
    std::vector<std::string> changes;
    compare(changes, "classes", whole(shown.classes), whole(edited->classes));
    compare(changes, "générations", whole(shown.generations), whole(edited->generations));
    compare(changes, "graine", std::to_string(shown.seed), std::to_string(edited->seed));
    const bool comparing = shown.b || edited->b;
    compareSets(changes, shown.a, edited->a, comparing ? " du jeu A" : "");
    if (shown.b && edited->b)
        compareSets(changes, *shown.b, *edited->b, " du jeu B");
    else if (shown.b != edited->b)
        changes.push_back(edited->b ? "jeu B ajouté" : "jeu B retiré");
    std::string list;
    for (const std::string& change : changes)
        list += (list.empty() ? "" : " ; ") + change;
    return head + " (" + list + ") : ils s'appliqueront au prochain « Lancer ».";
}

} // namespace bocavo::labo

#include "core/lab/words/pending_notice.h"

#include "core/lab/science/parameters.h"

#include <vector>

namespace bocavo::labo {
namespace {

// Each parameter that differs, with its window label and both values as the
// fields write them; `of` names the set when the run compares two.
void compare(std::vector<std::string>& changes, ParameterScope scope, const Scenario& shown,
             const Settings& before, const Scenario& edited, const Settings& after,
             const std::string& of) {
    for (const Parameter& p : parameters()) {
        if (p.scope != scope)
            continue;
        const std::string from = p.write(shown, before);
        const std::string to = p.write(edited, after);
        // An optional parameter left out writes nothing: said, not left blank.
        auto said = [](const std::string& value) { return value.empty() ? "(vide)" : value; };
        if (from != to)
            changes.push_back(plainLabel(p.label) + of + " : " + said(from) + " → " + said(to));
    }
}

} // namespace

std::string pendingNotice(const Scenario& shown, const std::optional<Scenario>& edited) {
    if (edited == shown)
        return {};
    const std::string head = "Ces paramètres ne sont pas ceux de la simulation affichée";
    if (!edited)
        return head + " : ils s'appliqueront au prochain « Lancer », une fois corrigés.";
    std::vector<std::string> changes;
    compare(changes, ParameterScope::Run, shown, shown.a, *edited, edited->a, "");
    const bool comparing = shown.b || edited->b;
    compare(changes, ParameterScope::Set, shown, shown.a, *edited, edited->a,
            comparing ? " du jeu A" : "");
    if (shown.b && edited->b)
        compare(changes, ParameterScope::Set, shown, *shown.b, *edited, *edited->b, " du jeu B");
    else if (shown.b != edited->b)
        changes.push_back(edited->b ? "jeu B ajouté" : "jeu B retiré");
    std::string list;
    for (const std::string& change : changes)
        list += (list.empty() ? "" : " ; ") + change;
    return head + " (" + list + ") : ils s'appliqueront au prochain « Lancer ».";
}

} // namespace bocavo::labo

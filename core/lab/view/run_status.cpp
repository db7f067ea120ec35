#include "core/lab/view/run_status.h"

#include "core/lab/science/limits.h"

#include <algorithm>
#include <cstdint>

namespace bocavo::labo {
namespace {

std::string grouped(int value) {
    return groupDigits(static_cast<std::uint64_t>(value));
}

} // namespace

std::string runStanding(const std::vector<int>& generations) {
    const int a = generations.at(0);
    if (std::all_of(generations.begin(), generations.end(), [a](int b) { return b == a; }))
        return "génération " + grouped(a);
    const int b = generations.at(1);
    if (b < 0)
        return "génération " + grouped(a) + " pour le jeu A, le jeu B n'a pas encore commencé";
    return "génération " + grouped(a) + " pour le jeu A et " + grouped(b) + " pour le jeu B";
}

std::string reachedText(int generation, int classes, int sets) {
    return "Génération " + grouped(generation) + " atteinte dans " + grouped(classes) + " classe" +
           (classes > 1 ? "s" : "") + (sets > 1 ? " par jeu" : "") + ".";
}

std::string steppedText(const std::vector<int>& generations) {
    std::string text = runStanding(generations) + ".";
    text[0] = 'G'; // "génération" starts the sentence
    return text;
}

std::string alreadyFixedText(const std::vector<int>& generations, bool someExtinct) {
    return std::string("Toutes les classes ont déjà un seul allèle") +
           (someExtinct ? ", ou se sont éteintes" : "") + " (" + runStanding(generations) + ").";
}

std::string fixationText(const std::vector<int>& generations, bool allFixed, bool someExtinct) {
    const std::string where = "à la " + runStanding(generations);
    return allFixed ? std::string("Toutes les classes n'ont plus qu'un allèle") +
                          (someExtinct ? ", ou se sont éteintes, " : " ") + where + "."
                    : "Arrêt " + where + " : des classes gardent encore plusieurs allèles.";
}

std::string extinctText(const std::vector<int>& extinct) {
    std::string which;
    int total = 0;
    for (std::size_t set = 0; set < extinct.size(); ++set) {
        if (extinct[set] == 0)
            continue;
        which += std::string(which.empty() ? "" : " et ") + grouped(extinct[set]) +
                 (extinct[set] > 1 ? " classes" : " classe") +
                 (extinct.size() > 1 ? std::string(" du jeu ") + char('A' + set) : "");
        total += extinct[set];
    }
    if (total == 0)
        return {};
    return " " + which +
           (total > 1 ? " se sont éteintes : aucun de leurs couples ne pouvait avoir"
                      : " s'est éteinte : aucun de ses couples ne pouvait avoir") +
           " d'enfant viable.";
}

std::string cancelledText(const std::vector<int>& generations) {
    const std::string where = generations.empty() || generations.front() < 0
                                  ? "avant la première génération"
                                  : "à la " + runStanding(generations);
    return "Calcul annulé " + where + " : les générations déjà calculées sont conservées.";
}

std::string lastGenerationText() {
    return "La génération " + grouped(kMaxGeneration) +
           " est la dernière que le compteur peut atteindre : il n'y a pas de génération "
           "suivante.";
}

} // namespace bocavo::labo

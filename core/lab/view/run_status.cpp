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

std::string alreadyFixedText(const std::vector<int>& generations) {
    return "Toutes les classes ont déjà un seul allèle (" + runStanding(generations) + ").";
}

std::string fixationText(const std::vector<int>& generations, bool allFixed) {
    const std::string where = "à la " + runStanding(generations);
    return allFixed ? "Toutes les classes n'ont plus qu'un allèle " + where + "."
                    : "Arrêt " + where + " : des classes gardent encore plusieurs allèles.";
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

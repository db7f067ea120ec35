// What the lab says of its run after each command, in French, for the
// window's status line and the page's alike: where the sets stand, what a
// command reached, why it was refused.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bocavo::labo {

// Where the sets of a run stand, from their generations (A, then B if any),
// A at least at generation 0: "génération 11", or, when the sets differ,
// "génération 11 pour le jeu A et 3 pour le jeu B" or "génération 11 pour le
// jeu A, le jeu B n'a pas encore commencé". Every status text that names the
// generation of a run says it through this, from the run itself.
std::string runStanding(const std::vector<int>& generations);

// « Lancer » reached its generation in every class of each set.
std::string reachedText(int generation, int classes, int sets);
// « Génération suivante » done: "Génération 11."
std::string steppedText(const std::vector<int>& generations);
// « Jusqu'à fixation »: with nothing left to do, and once done (a class that
// died out is done too).
std::string alreadyFixedText(const std::vector<int>& generations, bool someExtinct = false);
std::string fixationText(const std::vector<int>& generations, bool allFixed,
                         bool someExtinct = false);
// Classes that died out (no couple could have a child that survives), per
// set: a sentence to add after any of the texts above, "" when none.
std::string extinctText(const std::vector<int>& extinct);
// A cancel keeps what was computed; `generations` may be empty or −1 (none yet).
std::string cancelledText(const std::vector<int>& generations);

// « Génération suivante » refused: no run yet, or the counter's last generation.
inline constexpr std::string_view kNoGenerationYet =
    "Lancez d'abord une simulation : il n'y a pas encore de génération.";
std::string lastGenerationText();
inline constexpr std::string_view kRunErased = "Simulation effacée.";
inline constexpr std::string_view kNothingToExport =
    "Il n'y a rien à exporter : lancez d'abord une simulation.";

} // namespace bocavo::labo

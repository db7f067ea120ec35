// The few words the views share, written one way for every view.
#pragma once

#include "core/lab/view/chart.h"

#include <string>
#include <vector>

namespace bocavo::labo {

// "aucune classe", "1 classe", "1 000 classes".
std::string classesText(int classes);
// "générations 0 à 1 000".
std::string generationsText(Span span);
// Fst as the classes show it at generation g, then what the island model
// expects; neither once every class has fixed the same allele.
std::string differentiationText(const Experiment& run, const Statistics& stats, int g);

// Where the sets of a run stand, from their generations (A, then B if any),
// A at least at generation 0: "génération 11", or, when the sets differ,
// "génération 11 pour le jeu A et 3 pour le jeu B" or "génération 11 pour le
// jeu A, le jeu B n'a pas encore commencé". Every status text that names the
// generation of a run says it through this, from the run itself.
std::string runStanding(const std::vector<int>& generations);

} // namespace bocavo::labo

// What each view says of a parameter set, in two texts: the pupil's, shown by
// default, says what is seen in plain words (with the run's numbers where they
// help, never a formula); the teacher's, behind « Détails pour le professeur »,
// gives the formulas, Ne and the approximations behind the figures. Plain
// strings, so that every front end shows the same words.
#pragma once

#include "core/lab/science/settings.h"

#include <optional>
#include <string>

namespace bocavo::labo {

inline constexpr char kTeacherDetailsTitle[] = "Détails pour le professeur";

// Population sizes the pupil's words call small and large, in individuals:
// at 50 the classroom sees an allele vanish within a run of a hundred
// generations; from 500 it hardly ever does.
inline constexpr int kSmallPopulation = 50;  // individuals, at most
inline constexpr int kLargePopulation = 500; // individuals, at least

struct Explanation {
    std::string pupil;   // plain sentences, no formula; empty when there is nothing to say
    std::string teacher; // the figures and how they are computed
};

// The « Hétérozygotie » view: how fast drift wears the variation away at this
// size, and what mutation, migration and selection change.
Explanation heterozygosityExplanation(const Settings& settings, int classes);

// The « Fixation » view: which allele is expected to win in what share of the
// `classes` classes, or why no share is expected.
Explanation fixationExplanation(const Settings& settings, int classes);

// The « Toutes les classes » view at generation `generation`: how different the
// classes are, from the observed Fst (none once every class has fixed the
// same allele); a single class has nothing to be compared with.
Explanation differentiationExplanation(const Settings& settings, int classes, int generation,
                                       std::optional<double> observedFst);

} // namespace bocavo::labo

// The engine half of the two simulation commands, in their fixed order. The
// census is left to the caller, which runs it while writing the results.
#pragma once

#include "breeding.h"
#include "founding.h"
#include "turnover.h"

namespace bocavo {

// A new run: urn refilled, 20 founders drawn, 20 children bred.
template <UniformSource S> void foundGeneration(Population& pop, S& source) {
    Init_Var(pop);
    Init_Individu(pop, source);
    breedGeneration(pop, source);
}

// The children become the parents in a random order, and breed again.
template <UniformSource S> void nextGeneration(Population& pop, S& source) {
    Shuffle(pop, source);
    Promotion(pop);
    Init_Var(pop);
    breedGeneration(pop, source);
}

} // namespace bocavo

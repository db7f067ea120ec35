// The turnover: the children take the parents' places in a random order.
#pragma once

#include "population.h"
#include "random_source.h"

namespace bocavo {

// A uniformly random permutation of 1..20 in Perm: value i goes to a slot
// drawn uniformly, drawn again while the slot is taken. Perm is cleared first,
// so an earlier permutation has no influence.
template <UniformSource S> void Shuffle(Population& pop, S& source) {
    for (int i = 1; i <= kIndividus; ++i) {
        pop.Perm(i) = 0;
        pop.Identite(i) = static_cast<std::int16_t>(i);
    }
    for (int i = 1; i <= kIndividus; ++i) {
        std::int16_t r = Tirage(source, kIndividus);
        while (pop.Perm(r) != 0)
            r = Tirage(source, kIndividus);
        pop.Perm(r) = pop.Identite(i);
    }
}

// New parent i is former child Perm(i), copies in the same order; every child
// cell ends at 0. Needs a Perm just built by Shuffle.
void Promotion(Population& pop);

} // namespace bocavo

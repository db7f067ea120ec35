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
    // One draw per turn: it places value i if its slot is empty and is spent
    // otherwise. Whether a slot is taken is pure chance, so it is folded into
    // arithmetic rather than a branch the processor would keep mispredicting.
    int i = 1;
    while (i <= kIndividus) {
        Cell& slot = pop.Perm(Tirage(source, kIndividus));
        const int empty = slot == 0;                                 // 1 or 0
        slot = static_cast<Cell>(slot | (-empty & pop.Identite(i))); // an empty slot holds 0
        i += empty;
    }
}

// New parent i is former child Perm(i), copies in the same order; every child
// cell ends at 0. Needs a Perm just built by Shuffle.
void Promotion(Population& pop);

} // namespace bocavo

// The reproduction schedule: couple k is parents 2k − 1 and 2k, and a
// generation is four broods of 8, 6, 4 and 2 children.
#pragma once

#include "population.h"
#include "random_source.h"

#include <array>

namespace bocavo {

struct Brood {
    std::int16_t nbr_couple; // couples 1..nbr_couple each get one child
    std::int16_t Deb;        // the child of couple k goes to row Deb + k
};

// Every caller breeds a generation with these rows, in this order; together
// they fill child rows 1 to 20 exactly once.
inline constexpr std::array<Brood, 4> kBroods{{{8, 0}, {6, 8}, {4, 14}, {2, 18}}};

// One brood. Copy 1 of a child comes from the odd partner and copy 2 from the
// even one; both draws are made, odd partner first, before the row is written.
template <UniformSource S>
void Enfant(Population& pop, S& source, std::int16_t nbr_couple, std::int16_t Deb) {
    for (int k = 1; k <= nbr_couple; ++k) {
        const std::int16_t a = Tirage(source, 2);
        const std::int16_t b = Tirage(source, 2);
        const int row = Deb + k;
        pop.Geno_Enfant(row, 1) = pop.Geno_Parent(2 * k - 1, a);
        pop.Geno_Enfant(row, 2) = pop.Geno_Parent(2 * k, b);
    }
}

// The four broods of a generation: 40 values of the source, child row 1 first.
template <UniformSource S> void breedGeneration(Population& pop, S& source) {
    for (const Brood& brood : kBroods)
        Enfant(pop, source, brood.nbr_couple, brood.Deb);
}

} // namespace bocavo

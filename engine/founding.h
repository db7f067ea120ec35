// The urn reset and the founding draw of the 20 parents.
#pragma once

#include "population.h"
#include "random_source.h"

namespace bocavo {

// Counts to 0 and urn to ten balls of each allele; the genotypes stay as they are.
void Init_Var(Population& pop);

// Draws the 40 parent copies out of the urn, cell (1,1) first and (20,2) last.
// The draw is deliberately not weighted by the balls left: an allele number is
// drawn uniformly and drawn again while its urn compartment is empty.
template <UniformSource S> void Init_Individu(Population& pop, S& source) {
    int left = 0;
    for (int a = 1; a <= kAlleles; ++a)
        left += pop.Urne(a);
    for (int i = 1; i <= kIndividus; ++i) {
        for (int j = 1; j <= kCopies; ++j) {
            // With no ball left the rejection loop below would never end.
            if (left <= 0)
                throw EngineError("Tirage des fondateurs impossible : l'urne est vide");
            std::int16_t a = Tirage(source, kAlleles);
            while (pop.Urne(a) <= 0)
                a = Tirage(source, kAlleles);
            pop.Urne(a) = sub16(pop.Urne(a), 1);
            --left;
            pop.Geno_Parent(i, j) = a;
        }
    }
}

} // namespace bocavo

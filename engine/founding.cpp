#include "founding.h"

namespace bocavo {

void Init_Var(Population& pop) {
    for (int k = 1; k <= kAlleles; ++k) {
        pop.Nb_Allele(k) = 0;
        pop.Urne(k) = kBallsPerAllele;
    }
}

} // namespace bocavo

#include "turnover.h"

namespace bocavo {

void Promotion(Population& pop) {
    for (int i = 1; i <= kIndividus; ++i) {
        for (int j = 1; j <= kCopies; ++j) {
            const int child = pop.Perm(i);
            pop.Geno_Parent(i, j) = pop.Geno_Enfant(child, j);
            pop.Geno_Enfant(child, j) = 0;
        }
    }
}

} // namespace bocavo

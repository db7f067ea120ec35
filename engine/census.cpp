#include "census.h"

namespace bocavo {

void Count_Allele(Population& pop) {
    for (int i = 1; i <= kIndividus; ++i) {
        for (int j = 1; j <= kCopies; ++j) {
            const int a = pop.Geno_Enfant(i, j);
            pop.Nb_Allele(a) = add16(pop.Nb_Allele(a), 1);
        }
    }
}

float Frequence(const Population& pop, int k) {
    const std::int16_t percent = mul16(pop.Nb_Allele(k), 100);
    return static_cast<float>(percent) / 40.0f;
}

} // namespace bocavo

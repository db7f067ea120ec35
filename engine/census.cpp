#include "census.h"

namespace bocavo {

void Count_Allele(Population& pop) {
    // Tallied apart and added once per allele: the same checked result as
    // forty separate increments, without forty round trips through the table.
    Vector<kAlleles> seen("Nb_Allele");
    for (int i = 1; i <= kIndividus; ++i)
        for (int j = 1; j <= kCopies; ++j)
            ++seen(pop.Geno_Enfant(i, j));
    for (int k = 1; k <= kAlleles; ++k)
        pop.Nb_Allele(k) = add16(pop.Nb_Allele(k), seen(k));
}

float Frequence(const Population& pop, int k) {
    const std::int16_t percent = mul16(pop.Nb_Allele(k), 100);
    return static_cast<float>(percent) / 40.0f;
}

} // namespace bocavo

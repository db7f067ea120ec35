// The allele census of the children and their frequencies.
#pragma once

#include "population.h"

namespace bocavo {

// Adds the children's alleles to Nb_Allele; it never clears the counts (that
// is Init_Var's job), so a second census without a reset adds up to 80.
void Count_Allele(Population& pop);

// Allele k's share of the 40 copies in percent, in single precision:
// Nb_Allele(k) × 100 in checked 16-bit arithmetic, then / 40. Always a whole
// multiple of 2.5, so the value is exact.
float Frequence(const Population& pop, int k);

} // namespace bocavo

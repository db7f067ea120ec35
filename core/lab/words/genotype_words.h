// The words of the « Génotypes » view: the genotypes' names, Hardy–Weinberg's
// terms beside them, and what the view says of a set. With two alleles the
// three genotypes 11, 12 and 22 face p², 2pq and q²; with more, each
// homozygote ii faces its pᵢ² and every heterozygote together faces 1 − Σ p²,
// so that four alleles draw five pairs of curves rather than ten.
#pragma once

#include "core/lab/science/settings.h"
#include "core/lab/words/explanation.h"

#include <string>
#include <vector>

namespace bocavo::labo {

// The genotypes in the order the view and its table list them: allele i for
// the homozygote ii, 0 for the heterozygotes (between 11 and 22 with two
// alleles, last with more).
std::vector<int> genotypeOrder(int alleles);
// "11", "12" (two alleles), "hétérozygotes" (more).
std::string genotypeName(int genotype, int alleles);
// "p²", "2pq", "q²" (two alleles); "p₁²" … "p₄²", "1 − Σ p²" (more).
std::string hardyWeinbergName(int genotype, int alleles);

// What the view says of one set: genotypes of random unions stay near
// Hardy–Weinberg's shares within each class, and why the classes are not
// pooled first.
Explanation genotypesExplanation(const Settings& settings, int classes);

} // namespace bocavo::labo

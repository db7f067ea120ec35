// What population genetics expects of one parameter set, for the curves drawn
// beside the simulated ones and for the figures the window explains in French.
// Each function cites its formula; each returns nothing where the formula does
// not apply to the set (a force it leaves out is switched on).
#pragma once

#include "labo/model/settings.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace bocavo::labo {

// Children per parent in one generation of the protocol, parent 1 to N: the
// couple k (parents 2k − 1 and 2k) has one child in each brood of at least k couples.
std::vector<int> offspringPerParent(int individuals);

// Variance Vk of the children per parent: 2 in the protocol whatever N,
// 2(1 − 1/N) in the ideal model (binomial).
double offspringVariance(const Settings& settings);

// Ne = (4N − 2)/(Vk + 2) in the protocol (Hill 1979, constant N), Ne = N in the
// ideal model.
double effectiveSize(const Settings& settings);

// H0 = 1 − Σ p_k² of the founders, whose copies are exactly the urn's balls.
double founderHeterozygosity(const Settings& settings);

// H(t), t = 0..last, for the mean over the classes:
//   without mutation  H0 (1 − 1/(2Ne))^t                       (Wright 1931)
//   with mutation     F' = 1/(2Ne) + (1 − 1/(2Ne))(1/K + a²(F − 1/K)), H = 1 − F,
//                     a = 1 − uK/(K − 1) (K-allele model, one generation at a
//                     time; exact for the ideal model's mean of 1 − Σ p²).
// Empty when selection or migration is on.
std::vector<double> expectedHeterozygosity(const Settings& settings, int last);

// Mutation–drift equilibrium of the K-allele model (Kimura and Crow 1964):
// H = 4Ne·u·(K − 1)/(K − 1 + 4Ne·u·K) up to u = 0.01, above it the fixed point of
// the recursion above. Only with mutation on and selection and migration off.
std::optional<double> equilibriumHeterozygosity(const Settings& settings);

// An allele's share of the founders' copies (its balls / 2N).
double startingFrequency(const Settings& settings, int allele);
// Each allele's expected share among the children of the first breeding,
// neutral: the founding draw picks an allele uniformly among those left in the
// urn, so in the protocol a rare allele lands in the first individuals, whose
// couples have the largest broods. The starting frequencies in the ideal model.
// The protocol's founding draw is averaged over many draws of a source of its
// own (fixed seed, about a million values: some 10 ms, so compute it once per
// parameter set rather than at every redraw; fixationProbabilities and
// fixationSentence call it too).
std::array<double, kMaxAlleles> firstBreedingFrequencies(const Settings& settings);

// Probability that each allele 1..K is the one fixed, from its frequency p
// after the first breeding. Neutral: p itself (the frequency is a martingale
// from then on). Selection, one allele A against others that share one fitness:
// u(p) = (1 − e^(−2Ne·s·p))/(1 − e^(−2Ne·s)), s = w_A/w_a − 1 (Kimura 1962, weak
// selection, genotype fitness the mean of its alleles'), and the others share
// 1 − u(p) in proportion to their frequencies. Nothing for other fitness
// patterns, or with mutation or migration on (fixation is not final then).
std::array<std::optional<double>, kMaxAlleles> fixationProbabilities(const Settings& settings);

// Island model's equilibrium differentiation between d classes for small m
// (Wright 1931; Takahata 1983 for finite d): Fst ≈ 1/(1 + 4Ne·m·(d/(d − 1))²).
// Only with migration on, d ≥ 2, and mutation and selection off.
std::optional<double> expectedDifferentiation(const Settings& settings, int classes);

// One short French sentence per figure, as the window shows them; empty when
// the figure does not apply.
std::string effectiveSizeSentence(const Settings& settings);
std::string heterozygositySentence(const Settings& settings);
std::string equilibriumSentence(const Settings& settings);
std::string fixationSentence(const Settings& settings);
std::string differentiationSentence(const Settings& settings, int classes);

} // namespace bocavo::labo

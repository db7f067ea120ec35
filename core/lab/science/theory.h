// What population genetics expects of one parameter set, for the curves drawn
// beside the simulated ones and for the figures the window explains in French.
// Each figure is exact (up to the stated averages) or a stated approximation
// inside its domain; outside, the function returns no figure, never a wrong one.
#pragma once

#include "core/lab/science/settings.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace bocavo::labo {

// Children per parent in one generation of the protocol, parent 1 to
// `parents`, for `children` children (broodsFor): with as many of each, the
// couple k (parents 2k − 1 and 2k) has one child in each brood of at least k couples.
std::vector<int> offspringPerParent(int parents, int children);

// Variance Vk of the children per parent: 2 in the protocol whatever N,
// 2(1 − 1/N) in the ideal model (binomial).
double offspringVariance(const Settings& settings);

// Ne = (4N − 2)/(Vk + 2) in the protocol (Hill 1979, constant N), Ne = N in the
// ideal model.
double effectiveSize(const Settings& settings);

// Ne of the breeding that makes generation g ≥ 1 under the size history,
// with the parents' N: N in the ideal model; in the protocol, for k̄ = 2N(g)/N
// children per parent of variance Vk, (N·k̄ − 1)/(k̄ − 1 + Vk/k̄) (Crow and
// Kimura), which is effectiveSize when the size does not change.
double effectiveSizeAt(const Settings& settings, int g);
// Over generations 1..last, the harmonic mean of effectiveSizeAt: the size
// of a constant population that loses as much heterozygosity.
double meanEffectiveSize(const Settings& settings, int last);

// H0 = E[1 − Σ p_k²] of the founders: that of the urn when they are its
// balls, a little less when they are a sample of a larger urn.
double founderHeterozygosity(const Settings& settings);

// H(t), t = 0..last, the mean over the classes of 1 − Σ p²: H0, then the
// exact recursion of identity.h generation by generation (the founding
// draw's effect on the first breeding included, each change of size,
// mutation and migration between `classes` classes too). Empty under selection.
std::vector<double> expectedHeterozygosity(const Settings& settings, int last, int classes = 1);

// Where that recursion settles with mutation: its fixed point, for every u
// (with K alleles and u small it is Kimura and Crow's 4Ne·u·(K − 1)/(K − 1 +
// 4Ne·u·K)). Only with mutation on and selection and migration off.
std::optional<double> equilibriumHeterozygosity(const Settings& settings);

// An allele's expected share of the founders' copies (its share of the urn's balls).
double startingFrequency(const Settings& settings, int allele);

// Under selection, each allele's frequency p_k(t), t = 0..last, in a population
// too large to drift: from the urn's shares, p_k' = p_k·Σ_j p_j·w_kj / w̄ with
// w̄ = Σ p_i·p_j·w_ij (two alleles: p' = (p²w11 + pq·w12)/w̄), then mutation;
// the protocol's first breeding also weighs the founding draw's effect on an
// uneven urn (an approximation, within 0.01 at N = 1 000). It stops early
// where w̄ is 0 (nothing can survive). Empty without selection.
std::vector<std::array<double, kMaxAlleles>> expectedFrequencies(const Settings& settings,
                                                                 int last);

// Probability that each allele 1..K is the one fixed (fixation.h says how and
// where): nothing with mutation or migration on, where fixation is not final.
// Neutral, the size history and a source urn change nothing: it is the
// frequency after the first breeding.
std::array<std::optional<double>, kMaxAlleles> fixationProbabilities(const Settings& settings);

// Fst(t), t = 0..last, between `classes` classes linked by migration: 1 −
// E[H_S]/E[H_T] from the exact recursion; at generation 0, 0 where every
// class holds the urn itself, above where each class's founders are a sample
// of a larger urn. Empty unless migration is on between at least two classes
// and selection is off.
std::vector<double> expectedDifferentiation(const Settings& settings, int classes, int last);
// The value it settles at: the balance of migration against drift and
// mutation, the level it keeps while the classes slowly fix one allele.
std::optional<double> differentiationBalance(const Settings& settings, int classes);

// What theory expects of a set of `classes` classes at generation `last`, one
// "attendu <quoi> : <valeur>\n" a line, the value a plain number with a point
// (four decimals at most), so that a script can check a run from outside: Ne,
// the heterozygosity, the share of classes that fix each allele (« allèle K »)
// and Fst; a figure theory does not give is left out.
std::string expectedLines(const Settings& settings, int classes, int last);
// A figure as a script reads it: a point, four decimals at most, no trailing zeros.
std::string plainNumber(double value);

// One short French sentence per figure, as the window shows them; empty when
// there is no figure.
std::string effectiveSizeSentence(const Settings& settings);
std::string heterozygositySentence(const Settings& settings);
std::string equilibriumSentence(const Settings& settings);
std::string fixationSentence(const Settings& settings);
std::string differentiationSentence(const Settings& settings, int classes);

} // namespace bocavo::labo

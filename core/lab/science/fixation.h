// Which allele a class ends with, when no mutation or migration can undo a
// fixation: neutral, its frequency after the first breeding; under selection
// of one allele A against others that share one fitness, the exact Markov
// chain of the ideal model while 2N is small enough, else the diffusion with
// this selection scheme's own drift, inside the domain where it holds, for
// a constant size and an urn of exactly 2N balls.
#pragma once

#include "core/lab/science/settings.h"

#include <array>
#include <optional>

namespace bocavo::labo {

// The ideal model's chain is solved exactly up to this many copies (2N): a
// system of 2N − 1 unknowns, under 0.1 s at its largest.
inline constexpr int kExactChainCopies = 1000; // copies
// The diffusion is trusted where the fitness of A and of the others differ by
// at most 10 % in the ideal model, 2 % in the protocol, whose redraws by
// random couples and founding draw it leaves out (at N = 20 and 10 % it
// overestimates an advantageous allele's chance by 0.03); further apart, only
// where it makes the favoured side's loss nearly impossible, as any error in
// its early, rare phase then no longer counts.
inline constexpr double kWeakSelection = 0.1;          // relative difference of fitness
inline constexpr double kWeakProtocolSelection = 0.02; // relative difference of fitness
inline constexpr double kNearlyCertain = 1e-3;         // chance that the favoured side is lost

enum class FixationMethod {
    None,      // no figure: mutation, migration, another fitness pattern, a size history or a
               // source urn under selection, outside the domain
    Neutral,   // the frequency after the first breeding
    Chain,     // the ideal model's exact Markov chain
    Diffusion, // u(p) = [1 − (1 + s·p)^(1 − 2Ne)]/[1 − (1 + s)^(1 − 2Ne)], or its integral
               // form for given genotype fitness
    Lethal,    // a homozygote of fitness 0 is never fixed, and the other allele then is
};

struct Fixation {
    std::array<std::optional<double>, kMaxAlleles> chance{}; // alleles 1..K
    FixationMethod method = FixationMethod::None;
};
Fixation fixation(const Settings& settings);

// Ideal model, two kinds of copies: the chance that A, with `start` of the
// `copies` copies, is fixed. A kept child is AA, Aa or aa with chance ∝ p²·w_AA,
// 2pq·w_Aa, q²·w_aa, so the next count is the sum of N such children's A copies.
// A count of 0 (or 2N) is a fixation only where that homozygote survives.
double chainFixation(int start, int copies, double wAA, double wAa, double waa);
// What is sure whatever the model: A is never fixed when AA never survives,
// always (once present) when aa never does; fixed or lost at the start. None
// otherwise.
std::optional<double> lethalFixation(int start, int copies, double wAA, double waa);

// The diffusion's u(p) for genotype fitness w11, w12, w22 (allele 1 at p):
// the change per generation is pq[p(w11 − w12) + q(w12 − w22)]/w̄, the variance
// pq/(2Ne), u(p) = ∫₀ᵖψ/∫₀¹ψ, worked out numerically. With w12 the mean of
// w11 and w22 it is diffusionFixation's.
double genotypeDiffusion(double p, double w11, double w12, double w22, double ne);

// The diffusion's u(p) for A of relative advantage s = w_A/w_a − 1 when a
// genotype's fitness is the mean of its alleles': the change per generation
// is (s/2)·pq/(1 + s·p) and the variance pq/(2Ne), so ψ(x) = (1 + s·x)^(−2Ne).
double diffusionFixation(double p, double s, double ne);

} // namespace bocavo::labo

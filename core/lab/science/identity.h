// The exact expectations of drift, mutation and migration, one generation at
// a time: the chance that two copies differ (identity in state), for two
// copies of one individual, of two individuals of one class, and of two
// classes. Every expected heterozygosity and differentiation of theory.h comes
// from these recursions; the simulation's steps (deme.h) are followed one by
// one, the founding draw and the first breeding included.
#pragma once

#include "core/lab/science/settings.h"

#include <array>
#include <map>
#include <utility>

namespace bocavo::labo {

// Chance that two distinct copies carry different alleles.
struct Differences {
    double within = 0.0;  // the two copies of one individual
    double between = 0.0; // copies of two individuals of one class
    double across = 0.0;  // copies of two classes
};

// Each allele's expected frequency among generation 1's children, from which
// a neutral frequency is a martingale. In the protocol from an urn of exactly
// 2N balls the founding draw picks an allele, not a ball, so a rare allele
// lands in the first individuals, whose couples have the largest broods: it is
// averaged over many founding draws of a source of its own (about a million
// copies, some 10 ms; its standard error stays under 0.001). Otherwise it is
// the urn's share.
std::array<double, kMaxAlleles> firstBredFrequencies(const Settings& settings);

// The recursions for one set of `classes` classes, its size history
// followed generation by generation. Selection is left out: the caller gives
// no figure under selection.
class Identity {
public:
    Identity(const Settings& settings, int classes);

    const Differences& founding() const { return founding_; } // generation 0
    Differences first() const;                                // generation 1's children, mutated
    // Generation g + 1 from generation g ≥ 1: turnover, migrants, breeding, mutation.
    Differences next(const Differences& d, int g) const;

    // Mean over the classes of generation g's 1 − Σ p² (all its copies, as
    // the statistics count it).
    double heterozygosity(const Differences& d, int g) const;
    // 1 − E[H_S]/E[H_T], H_S within the classes and H_T of their pooled copies,
    // each 1 − Σ p² as Statistics::differentiation counts them.
    double differentiation(const Differences& d, int g) const;

    // Where the recursion settles once the size stops changing: with mutation
    // its fixed point; without, the shape it keeps while every difference
    // fades (its leading direction from generation 1, at no particular
    // scale), whose differentiation is the level Fst keeps.
    Differences balance() const;

private:
    // Generation g's children from parents of generation g − 1, mutated.
    Differences breed(const Differences& parents, int g) const;

    Settings settings_;
    int classes_;
    Differences founding_;
    // The protocol's chance that copies of two children of one class come
    // from one parent, by (parents, children).
    std::map<std::pair<int, int>, double> sameParent_;
};

} // namespace bocavo::labo

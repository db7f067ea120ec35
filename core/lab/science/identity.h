// The exact expectations of drift, mutation and migration, one generation at
// a time: the chance that two copies differ (identity in state), for two
// copies of one individual, of two individuals of one class, and of two
// classes. Every expected heterozygosity and differentiation of theory.h comes
// from these recursions; the simulation's steps (deme.h) are followed one by
// one, the founding draw and the first breeding included.
#pragma once

#include "core/lab/science/settings.h"

#include <array>
#include <optional>

namespace bocavo::labo {

// Chance that two distinct copies carry different alleles.
struct Differences {
    double within = 0.0;  // the two copies of one individual
    double between = 0.0; // copies of two individuals of one class
    double across = 0.0;  // copies of two classes
};

// What the founding draw leaves after the first breeding, neutral: each
// allele's expected frequency among the children, and their expected Σ p².
// In the ideal model every child copy is a fair draw from the urn; in the
// protocol the founding draw picks an allele, not a ball, so a rare allele
// lands in the first individuals, whose couples have the largest broods: it is
// averaged over many founding draws of a source of its own (about a million
// copies, some 10 ms; its standard error stays under 0.001).
struct FirstBreeding {
    std::array<double, kMaxAlleles> frequency{};
    double within = 0.0;       // chance that a child's two copies are alike
    double homozygosity = 0.0; // E[Σ p²] of the children
};
FirstBreeding firstBreeding(const Settings& settings);

// The recursions for one set of `classes` classes. Selection is left out:
// the caller gives no figure under selection.
class Identity {
public:
    Identity(const Settings& settings, int classes);

    double founders() const { return founders_; } // H0 of the urn, every class alike
    const FirstBreeding& firstBreeding() const { return first_; }
    Differences first() const; // generation 1's children, mutated
    // Generation g + 1 from generation g ≥ 1: turnover, migrants, breeding, mutation.
    Differences next(const Differences& d) const;

    // Mean over the classes of 1 − Σ p² (all 2N copies, as the statistics count it).
    double heterozygosity(const Differences& d) const;
    // 1 − E[H_S]/E[H_T], H_S within the classes and H_T of their pooled copies,
    // each 1 − Σ p² as Statistics::differentiation counts them.
    double differentiation(const Differences& d) const;

    // Where the recursion settles: with mutation its fixed point; without, the
    // shape it keeps while every difference fades (its leading direction from
    // generation 1, at no particular scale), whose differentiation is the
    // level Fst keeps.
    Differences balance() const;

private:
    Settings settings_;
    int classes_;
    double founders_;
    FirstBreeding first_;
    double sameParent_; // chance that copies of two children of one class come from one parent
};

} // namespace bocavo::labo

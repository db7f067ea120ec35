// The homozygotes of each allele, generation by generation, summed over a
// set's classes while they breed: what the allele counts alone cannot tell of
// the children's genotypes. One sum per generation, not a record per class,
// so that a thousand classes cost no more memory than one.
//
// Classes left with a single allele are not counted: each of their
// individuals is a homozygote of it, as their allele counts tell the reader.
// So a fixed class whose generations are copied rather than bred, or copied
// again after a run to fixation ends, never counts twice.
#pragma once

#include "core/lab/science/deme.h"
#include "core/lab/science/history.h"
#include "engine/population.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace bocavo::labo {

// Homozygotes of alleles 1..4 in a flat table of copies (individual i's at 2i
// and 2i + 1, allele numbers 0..K − 1).
Counts homozygotesOf(const std::vector<Allele>& copies);
// Homozygotes of alleles 1..4 in an engine genotype table (allele numbers 1..4).
Counts homozygotesOf(const Genotypes& table);

class GenotypeCensus {
public:
    using Sums = std::array<std::uint32_t, 4>; // at most 1 000 classes of 10 000 individuals

    GenotypeCensus();

    // Makes room for generations up to `last`, before the workers start: the
    // room of generations already counted never moves.
    void prepare(int last);
    // One class's generation g: `alleles` its copies of each allele,
    // `homozygotes` its individuals of each genotype ii. Safe from any thread.
    void add(int g, const Counts& alleles, const Counts& homozygotes);
    // The sums at g over the classes with more than one allele, once every
    // class has counted g.
    Sums at(int g) const;
    std::size_t bytes() const;

private:
    using Slot = std::array<std::atomic<std::uint32_t>, 4>;
    std::vector<std::unique_ptr<Slot[]>> blocks_; // History::kBlockSize generations each
};

} // namespace bocavo::labo

// The recorded allele counts of one class, generation by generation. Four
// bytes per generation (a count is at most 40): the largest run, 1 000 classes
// by 32 768 generations, takes 131 MB.
//
// Storage grows in fixed blocks whose slots never move, so the window may read
// every generation already published while the worker writes later ones: a
// block, once allocated, stays where it is until the history is destroyed.
#pragma once

#include "engine/population.h"
#include "limits.h"

#include <array>
#include <cstdint>
#include <memory>

namespace bocavo::labo {

using Counts = std::array<std::uint8_t, 4>; // copies of alleles 1..4 among the 40

// An allele's share of the 40 copies, in percent, as the charts plot it.
inline double percentOf(int copies) {
    return copies * 100.0 / kAlleleCopies;
}

class History {
public:
    static constexpr int kBlockSize = 1024; // generations per block
    static constexpr int kBlocks = (kMaxGeneration + 1 + kBlockSize - 1) / kBlockSize;

    // g in 0..kMaxGeneration, already written.
    const Counts& at(int g) const {
        return (*blocks_[static_cast<std::size_t>(g / kBlockSize)])[g % kBlockSize];
    }
    // Allocates the block on first use.
    void set(int g, const Counts& counts);
    // Sets generations first..last to the same counts.
    void fill(int first, int last, const Counts& counts);
    // Bytes held by allocated blocks.
    std::size_t bytes() const;

private:
    using Block = std::array<Counts, kBlockSize>;
    std::array<std::unique_ptr<Block>, kBlocks> blocks_;
};

} // namespace bocavo::labo

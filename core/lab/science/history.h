// The recorded allele counts of one class, generation by generation, in as
// few bytes as the counts need: one per allele while 2N ≤ 255, two above, and
// only the K alleles in use. The classroom's run (N = 20, four alleles) takes
// four bytes per generation, so 1 000 classes by 32 768 generations take 131 MB.
//
// Storage grows in fixed blocks whose slots never move, so the window may read
// every generation already published while the worker writes later ones: a
// block, once allocated, stays where it is until the history is destroyed.
#pragma once

#include "core/lab/science/limits.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace bocavo::labo {

// Copies of alleles 1..4 among the 2N of a generation; 0 past the K in use.
using Counts = std::array<std::uint16_t, 4>;

// An allele's share of a generation's copies, in percent, as the charts plot it.
inline double percentOf(int copies, int totalCopies) {
    return copies * 100.0 / totalCopies;
}

class History {
public:
    static constexpr int kBlockSize = 1024; // generations per block
    static constexpr int kBlocks = (kMaxGeneration + 1 + kBlockSize - 1) / kBlockSize;

    // Counts of up to `copies` copies of `alleles` alleles.
    History(int copies, int alleles);

    // g in 0..kMaxGeneration, already written.
    Counts at(int g) const;
    // One allele's copies (1..K) at g, without the others: what a chart of
    // thousands of generations reads, so it stays inline.
    int count(int g, int allele) const {
        const std::uint8_t* p = blocks_[static_cast<std::size_t>(g / kBlockSize)].get() +
                                static_cast<std::ptrdiff_t>(g % kBlockSize) * stride_;
        if (!wide_)
            return p[allele - 1];
        std::uint16_t n;
        std::memcpy(&n, p + 2 * (allele - 1), 2);
        return n;
    }
    // Allocates the block on first use.
    void set(int g, const Counts& counts);
    // Sets generations first..last to the same counts.
    void fill(int first, int last, const Counts& counts);
    // Bytes held by allocated blocks.
    std::size_t bytes() const;
    // Bytes one generation takes.
    int stride() const { return stride_; }

private:
    std::uint8_t* slot(int g);

    int alleles_;
    bool wide_;  // two bytes per count
    int stride_; // bytes per generation
    std::vector<std::unique_ptr<std::uint8_t[]>> blocks_;
};

} // namespace bocavo::labo

#include "history.h"

#include <algorithm>

namespace bocavo::labo {

void History::set(int g, const Counts& counts) {
    auto& block = blocks_[static_cast<std::size_t>(g / kBlockSize)];
    if (!block)
        block = std::make_unique<Block>();
    (*block)[g % kBlockSize] = counts;
}

void History::fill(int first, int last, const Counts& counts) {
    for (int g = first; g <= last;) {
        const int blockEnd = std::min(last, (g / kBlockSize + 1) * kBlockSize - 1);
        set(g, counts); // allocates the block
        auto& block = *blocks_[static_cast<std::size_t>(g / kBlockSize)];
        std::fill(block.begin() + g % kBlockSize + 1, block.begin() + blockEnd % kBlockSize + 1,
                  counts);
        g = blockEnd + 1;
    }
}

std::size_t History::bytes() const {
    std::size_t total = 0;
    for (const auto& block : blocks_)
        if (block)
            total += sizeof(Block);
    return total;
}

} // namespace bocavo::labo

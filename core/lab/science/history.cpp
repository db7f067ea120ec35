#include "core/lab/science/history.h"

#include <cstring>
#include <stdexcept>

namespace bocavo::labo {

History::History(int copies, int alleles)
    : alleles_(alleles), wide_(copies > 255), stride_(alleles * (copies > 255 ? 2 : 1)),
      blocks_(kBlocks) {
    if (alleles < 1 || alleles > 4 || copies < 1 || copies > 65535)
        throw std::invalid_argument("History: bad shape");
}

std::uint8_t* History::slot(int g) {
    auto& block = blocks_[static_cast<std::size_t>(g / kBlockSize)];
    if (!block)
        block = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(kBlockSize * stride_));
    return block.get() + static_cast<std::ptrdiff_t>(g % kBlockSize) * stride_;
}

Counts History::at(int g) const {
    const std::uint8_t* p = blocks_[static_cast<std::size_t>(g / kBlockSize)].get() +
                            static_cast<std::ptrdiff_t>(g % kBlockSize) * stride_;
    Counts counts{};
    for (int k = 0; k < alleles_; ++k) {
        if (wide_) {
            std::uint16_t n;
            std::memcpy(&n, p + 2 * k, 2);
            counts[static_cast<std::size_t>(k)] = n;
        } else {
            counts[static_cast<std::size_t>(k)] = p[k];
        }
    }
    return counts;
}

void History::set(int g, const Counts& counts) {
    std::uint8_t* p = slot(g);
    for (int k = 0; k < alleles_; ++k) {
        if (wide_)
            std::memcpy(p + 2 * k, &counts[static_cast<std::size_t>(k)], 2);
        else
            p[k] = static_cast<std::uint8_t>(counts[static_cast<std::size_t>(k)]);
    }
}

void History::fill(int first, int last, const Counts& counts) {
    if (first > last)
        return;
    set(first, counts);
    const std::uint8_t* model = slot(first);
    for (int g = first + 1; g <= last; ++g)
        std::memcpy(slot(g), model, static_cast<std::size_t>(stride_));
}

std::size_t History::bytes() const {
    std::size_t total = 0;
    for (const auto& block : blocks_)
        if (block)
            total += static_cast<std::size_t>(kBlockSize * stride_);
    return total;
}

} // namespace bocavo::labo

#include "core/lab/science/genotype_census.h"

#include <algorithm>

namespace bocavo::labo {
namespace {

constexpr int kBlockSize = History::kBlockSize;

} // namespace

Counts homozygotesOf(const std::vector<Allele>& copies) {
    Counts homozygotes{};
    for (std::size_t i = 0; i + 1 < copies.size(); i += 2)
        if (copies[i] == copies[i + 1])
            ++homozygotes[copies[i]];
    return homozygotes;
}

Counts homozygotesOf(const Genotypes& table) {
    Counts homozygotes{};
    for (int i = 1; i <= Genotypes::rows(); ++i)
        if (table(i, 1) == table(i, 2))
            ++homozygotes[static_cast<std::size_t>(table(i, 1) - 1)];
    return homozygotes;
}

GenotypeCensus::GenotypeCensus() : blocks_(static_cast<std::size_t>(History::kBlocks)) {}

void GenotypeCensus::prepare(int last) {
    for (int b = 0; b <= last / kBlockSize; ++b) {
        auto& block = blocks_[static_cast<std::size_t>(b)];
        if (!block) {
            block = std::make_unique<Slot[]>(kBlockSize);
            // Zeroed by hand: older C++ libraries leave a default atomic undefined.
            for (int g = 0; g < kBlockSize; ++g)
                for (auto& sum : block[static_cast<std::size_t>(g)])
                    sum.store(0, std::memory_order_relaxed);
        }
    }
}

void GenotypeCensus::add(int g, const Counts& alleles, const Counts& homozygotes) {
    if (std::count_if(alleles.begin(), alleles.end(), [](auto n) { return n != 0; }) <= 1)
        return;
    Slot& slot =
        blocks_[static_cast<std::size_t>(g / kBlockSize)][static_cast<std::size_t>(g % kBlockSize)];
    for (std::size_t k = 0; k < slot.size(); ++k)
        if (homozygotes[k] != 0)
            slot[k].fetch_add(homozygotes[k], std::memory_order_relaxed);
}

GenotypeCensus::Sums GenotypeCensus::at(int g) const {
    const Slot& slot =
        blocks_[static_cast<std::size_t>(g / kBlockSize)][static_cast<std::size_t>(g % kBlockSize)];
    Sums sums{};
    for (std::size_t k = 0; k < slot.size(); ++k)
        sums[k] = slot[k].load(std::memory_order_relaxed);
    return sums;
}

std::size_t GenotypeCensus::bytes() const {
    const auto allocated = static_cast<std::size_t>(std::count_if(
        blocks_.begin(), blocks_.end(), [](const auto& block) { return block != nullptr; }));
    return blocks_.capacity() * sizeof(blocks_[0]) + allocated * kBlockSize * sizeof(Slot);
}

} // namespace bocavo::labo

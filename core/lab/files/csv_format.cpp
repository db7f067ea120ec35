#include "core/lab/files/csv_format.h"

#include "core/lab/science/limits.h"

#include <algorithm>

namespace bocavo::labo {
namespace {

std::uint64_t digits(std::uint64_t n) {
    std::uint64_t d = 1;
    while (n >= 10) {
        n /= 10;
        ++d;
    }
    return d;
}

} // namespace

std::vector<std::string> fieldTexts(int copies) {
    std::vector<std::string> tail(static_cast<std::size_t>(copies) + 1);
    for (int n = 0; n <= copies; ++n)
        tail[static_cast<std::size_t>(n)] =
            std::to_string(n) + "," + frequencyText(n, copies) + "\n";
    return tail;
}

std::string frequencyText(int count, int copies) {
    // In ten-thousandths of a percent, rounded half up: exact for 40 copies
    // (count × 2.5), so the classroom's file keeps the main program's values.
    const std::int64_t units =
        (std::int64_t{count} * 2'000'000 + copies) / (2 * std::int64_t{copies});
    std::string text = std::to_string(units / 10'000);
    std::string fraction = std::to_string(10'000 + units % 10'000).substr(1);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (!fraction.empty())
        text += "." + fraction;
    return text;
}

std::vector<std::uint8_t> fieldLengths(int copies) {
    std::vector<std::uint8_t> lengths;
    for (const std::string& text : fieldTexts(copies))
        lengths.push_back(static_cast<std::uint8_t>(text.size()));
    return lengths;
}

std::uint64_t csvBytes(const std::vector<const Statistics*>& sets, int every) {
    std::uint64_t bytes = sizeof(kCsvHeader) - 1;
    std::uint64_t number = 0; // the last class number of the sets before
    for (const Statistics* stats : sets) {
        const auto classes = static_cast<std::uint64_t>(stats->classes());
        const auto alleles = static_cast<std::uint64_t>(stats->alleles());
        std::uint64_t numberDigits = 0; // of this set's class numbers, once each
        for (std::uint64_t c = 1; c <= classes; ++c)
            numberDigits += digits(number + c);
        number += classes;
        const auto& fields = stats->csvFieldBytes();
        const int last = static_cast<int>(fields.size()) - 1;
        for (int g = 0; g <= last; g = nextKept(g, every, last))
            // "c,g,a," on each row (allele a a single digit), then the counted fields.
            bytes +=
                alleles * (numberDigits + classes * (digits(static_cast<std::uint64_t>(g)) + 4)) +
                fields[static_cast<std::size_t>(g)];
    }
    return bytes;
}

int everyWithin(const std::vector<const Statistics*>& sets, std::uint64_t limit) {
    // Rows shrink almost in proportion to K: start from the ratio, then step up.
    const std::uint64_t whole = csvBytes(sets, 1);
    if (whole <= limit)
        return 1;
    int every = static_cast<int>(
        std::clamp<std::uint64_t>(whole / std::max<std::uint64_t>(limit, 1), 1, kMaxEvery));
    while (every < kMaxEvery && csvBytes(sets, every) > limit)
        ++every;
    return every;
}

} // namespace bocavo::labo

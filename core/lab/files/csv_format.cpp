#include "core/lab/files/csv_format.h"

#include "core/lab/science/limits.h"
#include "core/text/user_text.h"

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

CsvRows::CsvRows(const Sets& sets, int every) : sets_(sets), every_(every) {
    for (const Experiment* experiment : sets_) {
        classes_ += experiment->classes();
        auto& texts = texts_.emplace_back();
        for (const int n : distinctSizes(experiment->settings()))
            texts[2 * n] = fieldTexts(2 * n);
    }
}

std::uint64_t CsvRows::append(int number, std::string& out) const {
    if (number == 1)
        out += kCsvHeader;
    std::size_t set = 0;
    int c = number;
    while (c > sets_[set]->classes())
        c -= sets_[set++]->classes();
    const Experiment& experiment = *sets_[set];
    const Settings& settings = experiment.settings();
    const auto alleles = static_cast<std::size_t>(settings.alleles);
    const int last = experiment.generation();
    const std::string classField = std::to_string(number) + ",";
    std::uint64_t rows = 0;
    for (int g = 0; g <= last; g = nextKept(g, every_, last)) {
        const std::string lead = classField + std::to_string(g) + ",";
        const Counts counts = experiment.counts(c, g);
        const auto& texts = texts_[set].at(settings.copiesAt(g));
        for (std::size_t k = 0; k < alleles; ++k) {
            out += lead;
            out += static_cast<char>('1' + k);
            out += ',';
            out += texts[counts[k]];
        }
        rows += alleles;
    }
    return rows;
}

std::string everyNote(std::uint64_t every) {
    return "Le fichier CSV à côté ne garde qu'une génération sur " + groupDigits(every) +
           " : l'exporter de même pour le refaire.";
}

std::string endNote(std::size_t set, std::uint64_t generation) {
    return std::string("Le jeu ") + (set ? "B" : "A") + " y va jusqu'à la génération " +
           groupDigits(generation) + ".";
}

std::vector<std::string> reproductionNote(const Sets& sets, int generations, int every) {
    std::vector<std::string> note{kBesideMark};
    if (every > 1)
        note.push_back(everyNote(static_cast<std::uint64_t>(every)));
    for (std::size_t i = 0; i < sets.size(); ++i)
        if (sets[i]->generation() != generations)
            note.push_back(endNote(i, static_cast<std::uint64_t>(sets[i]->generation())));
    return note;
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

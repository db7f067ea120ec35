#include "core/lab/files/workbook.h"

#include "core/lab/files/run_description.h"
#include "core/lab/science/limits.h"

#include <algorithm>
#include <array>
#include <map>

namespace bocavo::labo {
namespace {

SheetCell number(std::string text) {
    return {SheetCell::Kind::Number, std::move(text)};
}
SheetCell number(long long value) {
    return number(std::to_string(value));
}
// numerator / denominator to six decimal places, rounded half up, trailing
// zeros dropped: integer arithmetic, so every platform writes the same text.
inline constexpr std::int64_t kRatioScale = 1'000'000; // 10^6: six places
SheetCell ratio(std::int64_t numerator, std::int64_t denominator) {
    constexpr std::int64_t scale = kRatioScale;
    const std::int64_t units = (numerator * scale * 2 + denominator) / (2 * denominator);
    std::string text = std::to_string(units / scale);
    std::string fraction = std::to_string(scale + units % scale).substr(1);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    return number(fraction.empty() ? text : text + "." + fraction);
}
SheetCell text(std::string value) {
    return {SheetCell::Kind::Text, std::move(value)};
}
SheetCell heading(std::string value) {
    return {SheetCell::Kind::Heading, std::move(value)};
}

std::string setName(std::size_t index) {
    return index == 0 ? "A" : "B";
}

// The generations a sheet keeps: 0, every, 2·every, ... and the last.
std::vector<int> kept(int last, int every) {
    std::vector<int> generations;
    for (int g = 0; g <= last; g = nextKept(g, every, last))
        generations.push_back(g);
    return generations;
}

std::uint64_t keptCount(int last, int every) {
    return static_cast<std::uint64_t>(last / every) + 1 + (last % every != 0 ? 1 : 0);
}

// One column per summary figure: the mean frequency, the classes that fixed
// and that lost each allele, then the mean heterozygosity.
int summaryColumns(int alleles) {
    return 1 + 3 * alleles + 1;
}

Sheet parametersSheet(const Sets& sets, const WorkbookNote& note) {
    Sheet sheet{"Paramètres", {}, {}, 36};
    auto& rows = sheet.rows;
    rows.push_back({heading("Paramètre")});
    for (std::size_t i = 0; i < sets.size(); ++i)
        rows.back().push_back(heading("Jeu " + setName(i)));
    for (const ParameterRow& parameter : parameterRows(sets)) {
        rows.push_back({heading(parameter.label)});
        for (const ParameterValue& value : parameter.values)
            rows.back().push_back(value.text.empty() ? SheetCell{}
                                  : value.number     ? number(value.text)
                                                     : text(value.text));
    }
    rows.push_back({});
    rows.push_back({heading("Générations gardées : une sur"), number(note.every)});
    rows.push_back({heading("Date de l'export"), text(note.date)});
    rows.push_back({heading("Version du programme"), text(note.version)});
    return sheet;
}

// Generations in rows, one column per class and allele, each cell the CSV's
// own frequency text stored as a number, the classes numbered as in the CSV.
Sheet frequencySheet(const Experiment& experiment, std::size_t index, int firstClass, int every) {
    Sheet sheet{"Fréquences " + setName(index), {}, {}};
    const int alleles = experiment.settings().alleles;
    const Settings& settings = experiment.settings();
    std::vector<SheetCell> top{heading("génération")};
    for (int c = 1; c <= experiment.classes(); ++c)
        for (int k = 1; k <= alleles; ++k)
            top.push_back(heading("classe " + std::to_string(firstClass + c) + ", allèle " +
                                  std::to_string(k) + " (%)"));
    sheet.rows.push_back(std::move(top));
    // Each count's frequency for each size the set takes, computed once.
    std::map<int, std::vector<std::string>> texts;
    for (const int size : distinctSizes(settings))
        for (int n = 0; n <= 2 * size; ++n)
            texts[2 * size].push_back(frequencyText(n, 2 * size));
    for (const int g : kept(experiment.generation(), every)) {
        const auto& shares = texts[settings.copiesAt(g)];
        std::vector<SheetCell> row{number(g)};
        row.reserve(1 + static_cast<std::size_t>(experiment.classes() * alleles));
        for (int c = 1; c <= experiment.classes(); ++c) {
            const Counts counts = experiment.counts(c, g);
            for (int k = 0; k < alleles; ++k)
                row.push_back(number(shares[counts[static_cast<std::size_t>(k)]]));
        }
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

// Generation g of a set, summed over its classes in whole numbers: the mean
// frequencies (written as the CSV writes a frequency), the classes that fixed
// and that lost each allele, and the mean heterozygosity, 1 − Σ p² averaged.
std::vector<SheetCell> summaryRow(const Experiment& experiment, int g) {
    const auto alleles = static_cast<std::size_t>(experiment.settings().alleles);
    const int copies = experiment.settings().copiesAt(g);
    std::array<int, 4> sums{}, fixed{}, lost{};
    std::int64_t squares = 0;
    for (int c = 1; c <= experiment.classes(); ++c) {
        const Counts counts = experiment.counts(c, g);
        for (std::size_t k = 0; k < alleles; ++k) {
            sums[k] += counts[k];
            fixed[k] += counts[k] == copies;
            lost[k] += counts[k] == 0;
            squares += std::int64_t{counts[k]} * counts[k];
        }
    }
    std::vector<SheetCell> row{number(g)};
    for (std::size_t k = 0; k < alleles; ++k)
        row.push_back(number(frequencyText(sums[k], experiment.classes() * copies)));
    for (const auto* counted : {&fixed, &lost})
        for (std::size_t k = 0; k < alleles; ++k)
            row.push_back(number((*counted)[k]));
    const std::int64_t all = std::int64_t{experiment.classes()} * copies * copies;
    row.push_back(ratio(all - squares, all));
    return row;
}

// Each set's block of columns, side by side with an empty column between, and
// the chart of every set's mean frequencies.
Sheet summarySheet(const Sets& sets, std::size_t sheetIndex, int every) {
    Sheet sheet{"Résumé", {{}}, {}};
    LineChart chart{"Fréquence moyenne des allèles", "génération", "fréquence moyenne (%)", {}, 0};
    int column = 0;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const Experiment& experiment = *sets[i];
        const int alleles = experiment.settings().alleles;
        const std::string prefix = sets.size() > 1 ? setName(i) + " : " : "";
        auto& top = sheet.rows[0];
        top.resize(static_cast<std::size_t>(column));
        top.push_back(heading(prefix + "génération"));
        for (int k = 1; k <= alleles; ++k)
            top.push_back(
                heading(prefix + "allèle " + std::to_string(k) + ", fréquence moyenne (%)"));
        for (int k = 1; k <= alleles; ++k)
            top.push_back(
                heading(prefix + "allèle " + std::to_string(k) + ", classes où il est fixé"));
        for (int k = 1; k <= alleles; ++k)
            top.push_back(
                heading(prefix + "allèle " + std::to_string(k) + ", classes où il est perdu"));
        top.push_back(heading(prefix + "hétérozygotie moyenne"));
        const auto generations = kept(experiment.generation(), every);
        for (std::size_t r = 0; r < generations.size(); ++r) {
            const int g = generations[r];
            if (sheet.rows.size() <= r + 1)
                sheet.rows.emplace_back();
            auto& row = sheet.rows[r + 1];
            row.resize(static_cast<std::size_t>(column));
            const auto figures = summaryRow(experiment, g);
            row.insert(row.end(), figures.begin(), figures.end());
        }
        const int last = static_cast<int>(generations.size());
        for (int k = 1; k <= alleles; ++k)
            chart.series.push_back({{sheetIndex, column + k, 0, 0},
                                    {sheetIndex, column, 1, last},
                                    {sheetIndex, column + k, 1, last},
                                    i > 0});
        column += summaryColumns(alleles) + 1;
    }
    chart.column = column;
    sheet.chart = std::move(chart);
    return sheet;
}

} // namespace

std::uint64_t workbookCells(const std::vector<WorkbookSet>& sets, int every) {
    std::uint64_t cells = 0;
    for (const WorkbookSet& set : sets) {
        const std::uint64_t rows = 1 + keptCount(set.last, every);
        cells += rows * (1 + static_cast<std::uint64_t>(set.classes) *
                                 static_cast<std::uint64_t>(set.alleles));
        cells += rows * static_cast<std::uint64_t>(summaryColumns(set.alleles));
    }
    return cells;
}

int workbookEvery(const std::vector<WorkbookSet>& sets, std::uint64_t limit) {
    // Rows shrink almost in proportion to K: start from the ratio, then step up.
    const std::uint64_t whole = workbookCells(sets, 1);
    if (whole <= limit)
        return 1;
    int every = static_cast<int>(
        std::clamp<std::uint64_t>(whole / std::max<std::uint64_t>(limit, 1), 1, kMaxEvery));
    while (every < kMaxEvery && workbookCells(sets, every) > limit)
        ++every;
    return every;
}

std::string workbookTooLarge(const std::vector<WorkbookSet>& sets, int every) {
    const int within = workbookEvery(sets, kMaxWorkbookCells);
    return "le classeur aurait " + groupDigits(workbookCells(sets, every)) +
           " cellules ; au-delà de " + groupDigits(kMaxWorkbookCells) +
           ", un ordinateur de l'école mettrait bien plus de quelques secondes à l'ouvrir. "
           "Gardez « une génération sur " +
           groupDigits(static_cast<std::uint64_t>(within)) + " » pour qu'il en ait au plus " +
           groupDigits(workbookCells(sets, within)) + ".";
}

Workbook workbookOf(const Sets& allSets, const WorkbookNote& note) {
    // A set cancelled before its founders has no generation to show.
    Sets sets;
    for (const Experiment* experiment : allSets)
        if (experiment->generation() >= 0)
            sets.push_back(experiment);
    Workbook book;
    book.sheets.push_back(parametersSheet(sets, note));
    int firstClass = 0;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        book.sheets.push_back(frequencySheet(*sets[i], i, firstClass, note.every));
        firstClass += sets[i]->classes();
    }
    book.sheets.push_back(summarySheet(sets, book.sheets.size(), note.every));
    return book;
}

} // namespace bocavo::labo

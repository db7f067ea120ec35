#include "core/lab/files/view_table.h"

#include "core/lab/files/run_description.h" // withSeparator
#include "core/lab/science/theory.h"
#include "core/lab/words/genotype_words.h"
#include "core/text/user_text.h"

#include <algorithm>
#include <functional>

namespace bocavo::labo {
namespace {

// Decimals of a share or a heterozygosity: more than any chart shows.
inline constexpr int kTableDecimals = 6;

SheetCell heading(std::string text) {
    return {SheetCell::Kind::Heading, std::move(text)};
}

// `value` with at most kTableDecimals places, trailing zeros dropped.
SheetCell decimal(double value) {
    std::string text = fixedDecimal(value, kTableDecimals);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    if (text == "-0")
        text = "0";
    return {SheetCell::Kind::Number, std::move(text)};
}

SheetCell frequency(const Experiment& run, int classNumber, int g, int allele) {
    const int count = run.counts(classNumber, g)[static_cast<std::size_t>(allele - 1)];
    return {SheetCell::Kind::Number, frequencyText(count, run.settings().copiesAt(g))};
}

// A column: its heading, the last generation it has a value for, and the value.
struct Column {
    std::string heading;
    int last = 0;
    std::function<SheetCell(int)> value;
};

// Each genotype's observed share beside its Hardy–Weinberg share within the
// classes, then the heterozygotes Hardy–Weinberg would give the pooled classes.
void genotypeColumns(const Statistics& stats, const std::string& prefix,
                     std::vector<Column>& columns) {
    const int alleles = stats.alleles();
    const auto& shares = stats.genotypes();
    for (const int genotype : genotypeOrder(alleles)) {
        const std::string name = prefix + genotypeName(genotype, alleles);
        columns.push_back(
            {name + " observés", stats.lastWithGenotypes(), [&shares, genotype](int g) {
                 return decimal(shares[static_cast<std::size_t>(g)].observed(genotype));
             }});
        columns.push_back({name + " Hardy-Weinberg (" + hardyWeinbergName(genotype, alleles) + ")",
                           stats.lastWithGenotypes(), [&shares, genotype](int g) {
                               return decimal(
                                   shares[static_cast<std::size_t>(g)].expected(genotype));
                           }});
    }
    columns.push_back({prefix + "hétérozygotes Hardy-Weinberg, classes mélangées",
                       stats.lastWithGenotypes(), [&shares](int g) {
                           return decimal(shares[static_cast<std::size_t>(g)].pooledHeterozygotes);
                       }});
}

// `curves`: theory's heterozygosity of each set over what is on show, empty
// where theory gives none.
std::vector<Column> columnsOf(const std::vector<ViewSet>& sets, const ViewChoice& choice,
                              const std::vector<std::vector<double>>& curves) {
    std::vector<Column> columns;
    const bool both = sets.size() > 1;
    const auto prefix = [both](std::size_t set) {
        return both ? std::string(set == 0 ? "A" : "B") + " : " : std::string();
    };
    const auto chosen = [&]() -> const Experiment& {
        return *sets[std::min(static_cast<std::size_t>(choice.set), sets.size() - 1)].experiment;
    };
    switch (choice.kind) {
    case ViewKind::OneClass: {
        const Experiment& run = chosen();
        for (int k = 1; k <= run.settings().alleles; ++k)
            columns.push_back(
                {"allèle " + std::to_string(k) + " (%)", run.generation(),
                 [&run, &choice, k](int g) { return frequency(run, choice.classNumber, g, k); }});
        break;
    }
    case ViewKind::AllClasses: {
        const Experiment& run = chosen();
        if (choice.allele > run.settings().alleles)
            break;
        for (int c = 1; c <= run.classes(); ++c)
            columns.push_back({"classe " + std::to_string(c) + ", allèle " +
                                   std::to_string(choice.allele) + " (%)",
                               run.generation(), [&run, &choice, c](int g) {
                                   return frequency(run, c, g, choice.allele);
                               }});
        break;
    }
    case ViewKind::Fixation:
        for (std::size_t s = 0; s < sets.size(); ++s) {
            const Statistics& stats = *sets[s].stats;
            if (choice.allele > stats.alleles())
                continue;
            const auto k = static_cast<std::size_t>(choice.allele - 1);
            const auto share = [&stats, k](const std::vector<std::array<int, 4>>& counted) {
                return [&stats, &counted, k](int g) {
                    return decimal(100.0 * counted[static_cast<std::size_t>(g)][k] /
                                   stats.classes());
                };
            };
            const std::string allele = "allèle " + std::to_string(choice.allele);
            columns.push_back({prefix(s) + allele + " fixé (% des classes)", stats.generation(),
                               share(stats.fixedClasses())});
            columns.push_back({prefix(s) + allele + " perdu (% des classes)", stats.generation(),
                               share(stats.lostClasses())});
        }
        break;
    case ViewKind::Heterozygosity:
        for (std::size_t s = 0; s < sets.size(); ++s) {
            const Statistics& stats = *sets[s].stats;
            columns.push_back(
                {prefix(s) + "hétérozygotie moyenne", stats.generation(), [&stats](int g) {
                     return decimal(stats.meanHeterozygosity()[static_cast<std::size_t>(g)]);
                 }});
            const std::vector<double>& curve = curves[s];
            if (!curve.empty())
                columns.push_back(
                    {prefix(s) + "hétérozygotie attendue", choice.last,
                     [&curve](int g) { return decimal(curve[static_cast<std::size_t>(g)]); }});
        }
        break;
    case ViewKind::Genotypes:
        for (std::size_t s = 0; s < sets.size(); ++s)
            genotypeColumns(*sets[s].stats, prefix(s), columns);
        break;
    }
    return columns;
}

} // namespace

ViewTable viewTable(const std::vector<ViewSet>& sets, const ViewChoice& choice) {
    ViewTable table{{{heading("génération")}}, 1};
    auto& rows = table.rows;
    if (sets.empty())
        return table;
    std::vector<std::vector<double>> curves(sets.size());
    if (choice.kind == ViewKind::Heterozygosity)
        for (std::size_t s = 0; s < sets.size(); ++s)
            curves[s] = expectedHeterozygosity(sets[s].experiment->settings(), choice.last,
                                               sets[s].experiment->classes());
    const std::vector<Column> columns = columnsOf(sets, choice, curves);
    for (const Column& column : columns)
        rows[0].push_back(heading(column.heading));
    const int first = std::max(0, choice.first);
    const auto width = static_cast<std::uint64_t>(columns.size() + 1);
    const auto generations = static_cast<std::uint64_t>(std::max(0, choice.last - first + 1));
    // Kept rows: about generations / every, plus the last one.
    while (width * (generations / static_cast<std::uint64_t>(table.every) + 2) >
               kMaxWorkbookCells &&
           static_cast<std::uint64_t>(table.every) < generations)
        ++table.every;
    for (int g = first; g <= choice.last; g = nextKept(g, table.every, choice.last)) {
        std::vector<SheetCell> row{{SheetCell::Kind::Number, std::to_string(g)}};
        for (const Column& column : columns)
            row.push_back(g <= column.last ? column.value(g) : SheetCell{});
        rows.push_back(std::move(row));
    }
    return table;
}

std::string tableText(const ViewTable& table, std::string_view decimalSign) {
    std::string text;
    for (const auto& row : table.rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += '\t';
            const SheetCell& cell = row[i];
            text += cell.kind == SheetCell::Kind::Number ? withSeparator(cell.value, decimalSign)
                                                         : cell.value;
        }
        text += '\n';
    }
    return text;
}

std::string tableCopiedText(const ViewTable& table) {
    const int rows = std::max(0, static_cast<int>(table.rows.size()) - 1); // below the headings
    std::string text = "Tableau copié : " + std::to_string(rows) + " lignes";
    if (table.every > 1)
        text += ", une génération sur " + std::to_string(table.every);
    return text + ".";
}

} // namespace bocavo::labo

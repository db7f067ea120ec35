#include "core/lab/files/run_description.h"

#include "core/lab/science/settings.h"

#include <algorithm>

namespace bocavo::labo {
namespace {

ParameterValue number(long long value) {
    return {true, std::to_string(value)};
}

} // namespace

std::vector<ParameterRow> parameterRows(const Sets& sets) {
    std::vector<ParameterRow> rows;
    const auto row = [&](std::string label, auto valueOf) {
        rows.push_back({std::move(label), {}});
        for (const Experiment* experiment : sets)
            rows.back().values.push_back(valueOf(*experiment));
    };
    row("Individus par classe (N)",
        [](const Experiment& e) { return number(e.settings().individuals); });
    row("Modèle", [](const Experiment& e) {
        return ParameterValue{false, modelTitle(e.settings().model)};
    });
    row("Allèles (K)", [](const Experiment& e) { return number(e.settings().alleles); });
    int alleles = 0;
    for (const Experiment* experiment : sets)
        alleles = std::max(alleles, experiment->settings().alleles);
    // An allele past a set's K has no value in that set.
    const auto perAllele = [&](const std::string& label, int k, const auto& values) {
        row(label, [k, &values](const Experiment& e) {
            return k < e.settings().alleles ? number(values(e)[static_cast<std::size_t>(k)])
                                            : ParameterValue{};
        });
    };
    for (int k = 0; k < alleles; ++k)
        perAllele("Boules de l'allèle " + std::to_string(k + 1) + " dans l'urne", k,
                  [](const Experiment& e) { return e.settings().urn; });
    for (int k = 0; k < alleles; ++k)
        perAllele("Valeur sélective de l'allèle " + std::to_string(k + 1) + " (%)", k,
                  [](const Experiment& e) { return e.settings().fitness; });
    row("Taux de mutation", [](const Experiment& e) {
        return ParameterValue{true, rateText(e.settings().mutation)};
    });
    row("Taux de migration", [](const Experiment& e) {
        return ParameterValue{true, rateText(e.settings().migration)};
    });
    row("Classes", [](const Experiment& e) { return number(e.classes()); });
    row("Dernière génération", [](const Experiment& e) { return number(e.generation()); });
    row("Graine", [](const Experiment& e) { return number(e.seed()); });
    return rows;
}

std::string withSeparator(std::string number, std::string_view separator) {
    if (const auto point = number.find('.'); point != std::string::npos)
        number.replace(point, 1, separator);
    return number;
}

std::vector<std::string> parameterLines(const Sets& sets, std::string_view separator) {
    const std::vector<ParameterRow> rows = parameterRows(sets);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        std::string line =
            sets.size() > 1 ? std::string("Jeu ") + (i == 0 ? "A" : "B") + " — " : std::string();
        bool first = true;
        for (const ParameterRow& row : rows) {
            const ParameterValue& value = row.values[i];
            if (value.text.empty())
                continue;
            line += (first ? "" : " ; ") + row.label + " : " +
                    (value.number ? withSeparator(value.text, separator) : value.text);
            first = false;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace bocavo::labo

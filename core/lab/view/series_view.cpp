#include "core/lab/view/series_view.h"

#include "core/lab/files/series_csv.h"
#include "core/lab/science/fixation.h"
#include "core/text/user_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace bocavo::labo {
namespace {

// Room on either side of the smallest and largest size, in decades, so that
// their points and labels are not cut by the plot's edges.
inline constexpr double kSizeMargin = 0.12; // decades
// The axis of a series with one size only (never drawn from a sound series,
// but a view is never without a width): a decade around it.
inline constexpr double kLoneSizeSpan = 0.5; // decades on each side
// Decimals of the heterozygosity in the words: enough to tell 0,045 from 0,05.
inline constexpr int kHeterozygosityDecimals = 3;

std::string sizeText(int individuals) {
    return groupDigits(static_cast<std::uint64_t>(individuals));
}

std::string atSize(const SeriesRow& row) {
    return "à N = " + sizeText(row.individuals);
}

// A share as a pupil reads it: whole percents, never a misleading 0 % or 100 %.
std::string sharePercent(double share) {
    const long percent = std::lround(100.0 * share);
    if (percent == 0 && share > 0.0)
        return "moins de 1 %";
    if (percent == 100 && share < 1.0)
        return "plus de 99 %";
    return std::to_string(percent) + " %";
}

Line seriesLine(Role role, std::string_view colour, std::string name, double width) {
    Line line = lineOf(role, 0, 0, colour);
    line.name = std::move(name);
    line.width = width;
    return line;
}

// The line through the rows that give `value`, with a disc at each point:
// filled for what the classes showed, hollow for what theory expects.
void addLine(View& view, Line line, const std::vector<SeriesRow>& rows, bool filled,
             std::optional<double> (*value)(const SeriesRow&)) {
    for (const SeriesRow& row : rows)
        if (const std::optional<double> y = value(row)) {
            const Point at{seriesPosition(row.individuals), *y};
            line.points.push_back(at);
            view.chart.markers.push_back({std::string(), line.colour, filled, at});
        }
    if (!line.points.empty())
        view.chart.lines.push_back(std::move(line));
}

Axis sizeAxis(const std::vector<SeriesRow>& rows) {
    Axis axis{"Taille de la population N (échelle logarithmique)"};
    if (rows.empty())
        return axis;
    const double low = seriesPosition(rows.front().individuals);
    const double high = seriesPosition(rows.back().individuals);
    const double margin = high > low ? kSizeMargin * std::max(1.0, high - low) : kLoneSizeSpan;
    axis.min = low - margin;
    axis.max = high + margin;
    for (const SeriesRow& row : rows)
        axis.labels.push_back({seriesPosition(row.individuals), sizeText(row.individuals)});
    return axis;
}

std::string rowStatus(const SeriesRow& row, int last) {
    std::string text = "N = " + sizeText(row.individuals) + " : " +
                       groupDigits(static_cast<std::uint64_t>(row.lostClasses)) + " classe" +
                       (row.lostClasses > 1 ? "s" : "") + " sur " +
                       groupDigits(static_cast<std::uint64_t>(row.classes)) +
                       " avec un allèle perdu (" + sharePercent(row.lostShare);
    if (row.expectedLostShare)
        text += ", attendu " + sharePercent(*row.expectedLostShare);
    text += ") ; " + medianLossText(row, last) + " ; hétérozygotie " +
            frenchDecimal(row.meanHeterozygosity, kHeterozygosityDecimals);
    if (row.expectedHeterozygosity)
        text += " (attendue " +
                frenchDecimal(*row.expectedHeterozygosity, kHeterozygosityDecimals) + ")";
    return text + ".";
}

// What a pupil sees from the smallest size to the largest, said only where
// the run shows it: chance may give a series that does not.
std::string pupilWords(const std::vector<SeriesRow>& rows, int last) {
    const SeriesRow& small = rows.front();
    const SeriesRow& large = rows.back();
    const bool allLost = std::all_of(rows.begin(), rows.end(),
                                     [](const SeriesRow& r) { return r.lostClasses == r.classes; });
    const bool noneLost = std::all_of(rows.begin(), rows.end(),
                                      [](const SeriesRow& r) { return r.lostClasses == 0; });
    std::string text;
    if (noneLost)
        text = "En " + sizeText(last) +
               " générations, aucune classe n'a perdu d'allèle, à aucune taille : augmentez le "
               "nombre de générations pour voir une différence.";
    else if (allLost)
        text = "Toutes les classes ont perdu un allèle, à chaque taille : comparez dans le tableau "
               "la génération où la moitié des classes en avait perdu un.";
    else if (small.lostShare > large.lostShare)
        text = "Dans une petite population, un allèle disparaît plus vite : " + atSize(small) +
               ", " + sharePercent(small.lostShare) + " des classes ont perdu un allèle en " +
               sizeText(last) + " générations ; " + atSize(large) + ", " +
               sharePercent(large.lostShare) + ".";
    else
        text = "Ici, le hasard a fait perdre un allèle aussi souvent " + atSize(large) + " qu'" +
               atSize(small) + " : relancez avec plus de classes pour un résultat plus net.";
    if (large.meanHeterozygosity > small.meanHeterozygosity)
        text += " L'hétérozygotie, qui mesure la diversité des allèles, reste plus élevée dans "
                "une grande population : " +
                frenchDecimal(small.meanHeterozygosity, kHeterozygosityDecimals) + " " +
                atSize(small) + ", " +
                frenchDecimal(large.meanHeterozygosity, kHeterozygosityDecimals) + " " +
                atSize(large) + ".";
    return text;
}

std::string teacherWords(const std::vector<SeriesRow>& rows, int classes, int last) {
    const bool anyExpectedLoss = std::any_of(
        rows.begin(), rows.end(), [](const SeriesRow& r) { return r.expectedLostShare; });
    std::string text =
        "Chaque taille est lancée avec les mêmes réglages et la même graine, " +
        groupDigits(static_cast<std::uint64_t>(classes)) + " classes, jusqu'à la génération " +
        sizeText(last) +
        ". Part avec perte : classes où au moins un allèle a disparu. Génération médiane : la "
        "première où la moitié des classes avait perdu un allèle, les classes sans perte "
        "comptées (« au-delà » quand moins de la moitié en a perdu un). Hétérozygotie attendue : "
        "celle de la vue « Hétérozygotie » à la dernière génération, la dérive ôtant environ "
        "1/(2Ne) de l'hétérozygotie à chaque génération.";
    text += anyExpectedLoss
                ? " Part attendue : la chaîne de Wright-Fisher exacte (inclusion–exclusion sur les "
                  "allèles), donnée pour le modèle idéal sans sélection, mutation ni migration "
                  "tant que le calcul reste court (2N jusqu'à " +
                      groupDigits(static_cast<std::uint64_t>(kExactChainCopies)) + " copies)."
                : " Aucune part attendue : elle n'est calculée que pour le modèle idéal sans "
                  "sélection, mutation ni migration, tant que 2N ne dépasse pas " +
                      groupDigits(static_cast<std::uint64_t>(kExactChainCopies)) + " copies.";
    return text;
}

SheetCell cellOf(const std::string& text) {
    if (text.empty())
        return {};
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return {*end == '\0' ? SheetCell::Kind::Number : SheetCell::Kind::Text, text};
}

std::vector<std::string> splitCells(std::string_view line) {
    std::vector<std::string> cells;
    for (;;) {
        const auto comma = line.find(',');
        cells.emplace_back(line.substr(0, comma));
        if (comma == std::string_view::npos)
            return cells;
        line.remove_prefix(comma + 1);
    }
}

} // namespace

double seriesPosition(int individuals) {
    return std::log10(static_cast<double>(individuals));
}

std::string medianLossText(const SeriesRow& row, int last) {
    if (row.medianFirstLoss)
        return "la moitié des classes avait perdu un allèle à la génération " +
               sizeText(*row.medianFirstLoss);
    return "moins de la moitié en a perdu un : médiane au-delà de la génération " + sizeText(last);
}

View seriesView(const std::vector<SeriesRow>& rows, int classes, int last) {
    View view;
    view.chart.x = sizeAxis(rows);
    view.chart.y = Axis{"Part ou hétérozygotie H", 0.0, 1.0, 0.2, 1};
    if (rows.empty()) {
        view.chart.title = "Série de tailles : aucune série";
        view.status.push_back("Aucune série : donnez les tailles puis « Lancer la série ».");
        return view;
    }
    addLine(view, seriesLine(Role::Lost, kAnyLossColour, "Classes avec perte", kBoldLine), rows,
            true, [](const SeriesRow& r) { return std::optional<double>(r.lostShare); });
    addLine(view, seriesLine(Role::Expected, kTheoryColour, "Part attendue", kExpectedLine), rows,
            false, [](const SeriesRow& r) { return r.expectedLostShare; });
    addLine(
        view,
        seriesLine(Role::Heterozygosity, kEveryAlleleColour, "Hétérozygotie moyenne", kBoldLine),
        rows, true, [](const SeriesRow& r) { return std::optional<double>(r.meanHeterozygosity); });
    addLine(view,
            seriesLine(Role::Expected, kTheoryColour, "Hétérozygotie attendue", kExpectedLine),
            rows, false, [](const SeriesRow& r) { return r.expectedHeterozygosity; });
    view.chart.title = "Classes ayant perdu un allèle et hétérozygotie à la génération " +
                       sizeText(last) + ", selon N (" +
                       groupDigits(static_cast<std::uint64_t>(classes)) + " classes par taille)";
    for (const SeriesRow& row : rows)
        view.status.push_back(rowStatus(row, last));
    view.notes.push_back({"", {pupilWords(rows, last), teacherWords(rows, classes, last)}});
    return view;
}

std::string seriesSettingsNote(const Scenario& plan) {
    return "La série reprend les réglages du jeu A (modèle, allèles, urne en proportions, "
           "forces), " +
           groupDigits(static_cast<std::uint64_t>(plan.classes)) +
           (plan.classes > 1 ? " classes" : " classe") + " par taille, les générations 0 à " +
           sizeText(plan.generations) + " et la graine " + std::to_string(plan.seed) +
           " ; seule la taille N change." + (plan.b ? " Le jeu B n'y entre pas." : "");
}

std::string seriesStanding(int done, int sizes, int classes, int last) {
    if (done >= sizes)
        return "Série de tailles terminée : " + std::to_string(sizes) + " tailles de " +
               groupDigits(static_cast<std::uint64_t>(classes)) +
               (classes > 1 ? " classes" : " classe") + " jusqu'à la génération " + sizeText(last) +
               ".";
    if (done == 0)
        return "Série de tailles annulée avant la fin de la première taille : aucune ligne.";
    return "Série de tailles annulée : " + std::to_string(done) +
           (done > 1 ? " tailles" : " taille") + " sur " + std::to_string(sizes) + " calculée" +
           (done > 1 ? "s" : "") + ", gardée" + (done > 1 ? "s" : "") + " dans le tableau.";
}

// Read back from the CSV's own text, so that the table and the file can
// never differ in a figure or a heading.
std::vector<std::vector<SheetCell>> seriesTable(const std::vector<SeriesRow>& rows, int last) {
    std::vector<std::vector<SheetCell>> table;
    const std::string csv = seriesCsv(rows, last);
    std::string_view text = csv;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::vector<std::string> cells = splitCells(text.substr(0, end));
        std::vector<SheetCell>& row = table.emplace_back();
        for (const std::string& cell : cells)
            row.push_back(table.size() == 1 ? SheetCell{SheetCell::Kind::Heading, cell}
                                            : cellOf(cell));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return table;
}

} // namespace bocavo::labo

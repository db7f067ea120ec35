// « Série de tailles » as a view: for each size N of the series, the share of
// classes that lost an allele and the mean heterozygosity at the last
// generation, each beside what theory expects where it gives a figure, drawn
// against N; the median generation of the first loss in the words and the
// table. Plain data, like the lab's other views, for the window and the page.
#pragma once

#include "core/lab/files/scenario.h"
#include "core/lab/files/workbook.h"
#include "core/lab/science/size_series.h"
#include "core/lab/view/chart.h"

#include <string>
#include <vector>

namespace bocavo::labo {

// Where a size stands across the chart: its logarithm, so that doubling N is
// the same step at 10 → 20 as at 100 → 200, and a worksheet's 10, 20, 50,
// 100, 200 fall almost evenly apart while keeping their true proportions.
double seriesPosition(int individuals);

// The series' rows (smallest N first, as SizeSeries gives them) at generation
// `last`, each size run with `classes` classes. The x axis is labelled with
// the sizes themselves; shares and heterozygosity share the y axis (0 to 1).
// An expected figure the row lacks gives no point; without rows, an empty
// chart that says so.
View seriesView(const std::vector<SeriesRow>& rows, int classes, int last);

// The rows as « Copier le tableau » gives them: the CSV file's headings, then
// one row per size (numbers with a '.', a median past the run as text, an
// expected figure theory does not give left empty).
std::vector<std::vector<SheetCell>> seriesTable(const std::vector<SeriesRow>& rows, int last);

// "la moitié des classes avait perdu un allèle à la génération 23", or
// "au-delà de la génération 100" when fewer than half had: the median in words.
std::string medianLossText(const SeriesRow& row, int last);

// What a series takes from the lab's parameters, said beside its sizes.
std::string seriesSettingsNote(const Scenario& plan);

// Where a series stands once its task ends: "Série de tailles terminée : …",
// or, cancelled after `done` of `sizes` sizes, what was kept.
std::string seriesStanding(int done, int sizes, int classes, int last);

} // namespace bocavo::labo

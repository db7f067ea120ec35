// « A et B côte à côte »: the view of a run that compares two sets, dealt out
// into one view per set, both drawn on the same axes so that the two charts
// read against each other at a glance. The front ends only lay them out.
#pragma once

#include "core/lab/view/chart.h"

#include <functional>
#include <vector>

namespace bocavo::labo {

// One of the four views (classView, allClassesView, or a summary view with its cache bound).
using ViewOf = std::function<View(const std::vector<ViewSet>&, const ChartChoice&)>;

// One view per set on display, A then B, on the axes of both (every
// generation on show in either, every value of either). A view that shows one
// set at a time is asked for each set; a view that draws every set on one
// chart is shared out: each set gets its lines, words, status and changes of N,
// its title led by the set's name. Without set B or without a run: the one view.
std::vector<View> sideBySide(const std::vector<ViewSet>& sets, const ChartChoice& choice,
                             const ViewOf& viewOf);

} // namespace bocavo::labo

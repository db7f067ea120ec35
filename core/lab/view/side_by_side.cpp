#include "core/lab/view/side_by_side.h"

#include <algorithm>
#include <string_view>

namespace bocavo::labo {
namespace {

// The part of a view drawing every set that belongs to `set`.
View shareOf(const View& whole, int set) {
    View view = whole;
    std::erase_if(view.chart.lines, [set](const Line& line) { return line.set != set; });
    std::erase_if(view.notes, [set](const Note& note) { return note.lead != setLead(set, true); });
    const std::string label = setLabel(set, true);
    std::erase_if(view.status, [&label](const std::string& line) {
        return std::string_view(line).substr(0, label.size()) != label;
    });
    view.chart.title = "Jeu " + setName(set) + " — " + whole.chart.title;
    view.shown.set = set;
    return view;
}

// The axis that holds both: the wider range, the sparser labels.
Axis axisOfBoth(const Axis& a, const Axis& b) {
    Axis both = a;
    both.min = std::min(a.min, b.min);
    both.max = std::max(a.max, b.max);
    both.tick = std::max(a.tick, b.tick);
    both.decimals = std::max(a.decimals, b.decimals);
    return both;
}

} // namespace

std::vector<View> sideBySide(const std::vector<ViewSet>& sets, const ChartChoice& choice,
                             const ViewOf& viewOf) {
    View whole = viewOf(sets, choice);
    if (sets.size() < 2 || !whole.generations)
        return {std::move(whole)};
    std::vector<View> views;
    for (int set = 0; set < static_cast<int>(sets.size()); ++set) {
        if (whole.commands.setChoice) { // a view of one set at a time
            ChartChoice one = choice;
            one.set = set;
            views.push_back(viewOf(sets, one));
        } else {
            views.push_back(shareOf(whole, set));
        }
        // Each chart shows its own set: there is none to choose, and the
        // other set's changes of N are not its own.
        views.back().commands.setChoice = false;
        views.back().chart.sizeChanges =
            sizeChangesWithin({sets[static_cast<std::size_t>(set)]}, *whole.generations);
    }
    Axis x = views.front().chart.x;
    Axis y = views.front().chart.y;
    for (const View& view : views) {
        x = axisOfBoth(x, view.chart.x);
        y = axisOfBoth(y, view.chart.y);
    }
    for (View& view : views) {
        view.chart.x = x;
        view.chart.y = y;
    }
    return views;
}

} // namespace bocavo::labo

#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/lab/view/chart.h"

#include <algorithm>

namespace bocavo::labo {

Line lineOf(Role role, int set, int allele, std::string_view colour) {
    Line line;
    line.role = role;
    line.set = set;
    line.allele = allele;
    line.colour = colour;
    line.stroke = setStroke(set);
    return line;
}

int lastGeneration(const std::vector<ViewSet>& sets) {
    int last = -1;
    for (const ViewSet& set : sets)
        last = std::max(last, set.stats->generation());
    return last;
}

std::optional<Span> shownSpan(const std::vector<ViewSet>& sets, const std::optional<Span>& zoom) {
    const int last = lastGeneration(sets);
    if (last < 0)
        return std::nullopt;
    if (!zoom)
        return Span{0, last};
    return Span{std::min(zoom->first, last), std::min(zoom->last, last)};
}

std::optional<Span> clampedZoom(const std::vector<ViewSet>& sets, Span asked) {
    const int end = std::max(0, lastGeneration(sets));
    const int first = std::clamp(asked.first, 0, end);
    const int last = std::clamp(asked.last, first, end);
    if (end > 0 && (first > 0 || last < end) && last > first)
        return Span{first, last};
    return std::nullopt;
}

std::vector<int> sizeChangesWithin(const std::vector<ViewSet>& sets, Span span) {
    std::vector<int> changes;
    for (const ViewSet& set : sets)
        for (const int g : changeGenerations(set.experiment->settings()))
            if (g >= span.first && g <= span.last)
                changes.push_back(g);
    std::sort(changes.begin(), changes.end());
    changes.erase(std::unique(changes.begin(), changes.end()), changes.end());
    return changes;
}

Axis generationAxis(const std::string& title, int first, int last) {
    const int end = std::max(first + 1, last);
    const int span = end - first;
    int step = 1;
    for (int scale = 1; span / step > 10; scale *= 10) {
        for (const int m : {1, 2, 5}) {
            step = m * scale;
            if (span / step <= 10)
                break;
        }
    }
    return Axis{title, static_cast<double>(first), static_cast<double>(end),
                static_cast<double>(step), 0};
}

} // namespace bocavo::labo

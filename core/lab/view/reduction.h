// A line of many generations drawn on a screen a few hundred pixels wide:
// every generation while they fit, else per pixel column its first, lowest,
// highest and last points, in the order they come. The drawn line then
// reaches every peak and every trough, and joins its columns as the whole
// line would. Only the drawing is reduced; the run keeps every generation.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace bocavo::labo {

struct Point {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const Point&) const = default;
};

// Points kept per column at most.
inline constexpr int kPointsPerColumn = 4;

// Generations first..last of `value(g)` for a line `columns` pixels wide;
// from `steadyFrom` on the value is known not to change (a class that fixed
// for good), so only what comes before it is read.
template <typename Value>
std::vector<Point> reducedLine(int first, int last, int columns, Value value,
                               int steadyFrom = std::numeric_limits<int>::max()) {
    std::vector<Point> points;
    if (last < first)
        return points;
    const std::int64_t span = std::int64_t{last} - first + 1;
    columns = std::max(columns, 1);
    if (span <= std::int64_t{kPointsPerColumn} * columns) {
        points.reserve(static_cast<std::size_t>(span));
        for (int g = first; g <= last; ++g)
            points.push_back({static_cast<double>(g), value(g)});
        return points;
    }
    points.reserve(static_cast<std::size_t>(kPointsPerColumn * columns));
    for (std::int64_t c = 0; c < columns; ++c) {
        const auto begin = static_cast<int>(first + span * c / columns);
        const auto end = static_cast<int>(first + span * (c + 1) / columns) - 1;
        const int read = std::min(end, std::max(begin, steadyFrom)); // the rest repeats it
        const double start = value(begin);
        int low = begin;
        int high = begin;
        double lowest = start;
        double highest = start;
        double stop = start;
        for (int g = begin + 1; g <= read; ++g) {
            stop = value(g);
            if (stop < lowest) {
                lowest = stop;
                low = g;
            }
            if (stop > highest) {
                highest = stop;
                high = g;
            }
        }
        points.push_back({static_cast<double>(begin), start});
        const auto add = [&points](int g, double y) {
            if (points.back().x != g)
                points.push_back({static_cast<double>(g), y});
        };
        if (low < high) {
            add(low, lowest);
            add(high, highest);
        } else {
            add(high, highest);
            add(low, lowest);
        }
        add(end, stop);
    }
    return points;
}

} // namespace bocavo::labo

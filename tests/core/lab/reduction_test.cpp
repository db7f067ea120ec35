// A line reduced for drawing keeps, column by column, the extremes of the
// data it stands for, so no peak a class reached ever vanishes from a chart.
#include "core/lab/view/reduction.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace bocavo::labo {
namespace {

struct Case {
    std::string name;
    int first;
    int last;
    int columns;
    std::function<double(int)> value;
    int steadyFrom = std::numeric_limits<int>::max(); // value(g) = value(steadyFrom) past it
};

std::vector<double> randomWalk(int length, unsigned seed) {
    std::mt19937 draw(seed);
    std::vector<double> walk(static_cast<std::size_t>(length));
    double y = 50.0;
    for (double& v : walk) {
        y = std::clamp(y + std::uniform_real_distribution<double>(-2.0, 2.0)(draw), 0.0, 100.0);
        v = y;
    }
    return walk;
}

const std::vector<double> kWalk = randomWalk(32768, 1993);

const std::vector<Case> kCases = {
    {"fitsTheScreen", 0, 100, 800, [](int g) { return g % 7 * 1.0; }},
    {"oneSpikeInAWholeRun", 0, 32767, 800, [](int g) { return g == 12345 ? 100.0 : 25.0; }},
    {"oneDipInAWholeRun", 0, 32767, 800, [](int g) { return g == 20001 ? 0.0 : 25.0; }},
    {"spikeAtTheVeryEnd", 0, 32767, 333, [](int g) { return g == 32767 ? 90.0 : 10.0; }},
    {"sawtoothFasterThanAPixel", 0, 32767, 640, [](int g) { return g % 3 == 0 ? 0.0 : 100.0; }},
    {"randomWalk", 0, 32767, 1000, [](int g) { return kWalk[static_cast<std::size_t>(g)]; }},
    {"zoomedStretch", 1000, 9999, 217, [](int g) { return kWalk[static_cast<std::size_t>(g)]; }},
    {"oneColumn", 5, 5000, 1, [](int g) { return std::sin(g / 10.0); }},
    {"justTooLong", 0, 400, 100, [](int g) { return g % 50 == 0 ? 1.0 : 0.0; }},
    {"fixedForGoodEarly", 0, 32767, 760,
     [](int g) { return kWalk[static_cast<std::size_t>(std::min(g, 300))]; }, 300},
    {"fixedForGoodMidColumn", 0, 32767, 97,
     [](int g) { return g < 20000 ? kWalk[static_cast<std::size_t>(g)] : 100.0; }, 20000},
};

class Reduction : public testing::TestWithParam<Case> {};

TEST_P(Reduction, KeepsEveryColumnsExtremesInOrder) {
    const Case& c = GetParam();
    const std::vector<Point> points =
        reducedLine(c.first, c.last, c.columns, c.value, c.steadyFrom);
    const int span = c.last - c.first + 1;
    ASSERT_FALSE(points.empty());
    EXPECT_EQ(points.front().x, c.first);
    EXPECT_EQ(points.back().x, c.last);
    for (std::size_t i = 1; i < points.size(); ++i)
        ASSERT_LT(points[i - 1].x, points[i].x) << i;
    for (const Point& p : points)
        ASSERT_EQ(p.y, c.value(static_cast<int>(p.x))) << "generation " << p.x;
    if (span <= kPointsPerColumn * c.columns) {
        EXPECT_EQ(static_cast<int>(points.size()), span);
        return;
    }
    EXPECT_LE(static_cast<int>(points.size()), kPointsPerColumn * c.columns);
    // Each column holds its own lowest and highest value.
    for (int column = 0; column < c.columns; ++column) {
        const int begin = c.first + static_cast<int>(std::int64_t{span} * column / c.columns);
        const int end = c.first + static_cast<int>(std::int64_t{span} * (column + 1) / c.columns);
        double low = c.value(begin);
        double high = low;
        for (int g = begin; g < end; ++g) {
            low = std::min(low, c.value(g));
            high = std::max(high, c.value(g));
        }
        double drawnLow = high;
        double drawnHigh = low;
        for (const Point& p : points)
            if (p.x >= begin && p.x < end) {
                drawnLow = std::min(drawnLow, p.y);
                drawnHigh = std::max(drawnHigh, p.y);
            }
        ASSERT_EQ(drawnLow, low) << "column " << column;
        ASSERT_EQ(drawnHigh, high) << "column " << column;
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, Reduction, testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

TEST(Reduction, NothingToDrawGivesNoPoint) {
    EXPECT_TRUE(reducedLine(10, 9, 100, [](int) { return 1.0; }).empty());
}

} // namespace
} // namespace bocavo::labo

#include <array>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "analysis/PlotPoints.h"

namespace {

TEST(PlotPoints, SortingKeepsEqualXInOrderAndPutsNaNLast)
{
    const double nan = std::nan("");
    PlotPoints points = {{2, 0}, {nan, 1}, {1, 2}, {2, 3}, {-1, 4}};
    SortByX(points);
    const double ys[] = {4, 2, 0, 3, 1};
    for (std::size_t i = 0; i < points.size(); ++i)
        EXPECT_EQ(points[i].Y, ys[i]) << i;
}

TEST(PlotPoints, BoundsSkipNonFinitePointsAndAxesGetAMargin)
{
    const double inf = std::numeric_limits<double>::infinity();
    PlotBounds bounds;
    bounds.Include(PlotPoints{{inf, 1}, {std::nan(""), 2}});
    EXPECT_TRUE(bounds.Empty);
    bounds.Include(PlotPoints{{1, -2}, {3, 5}, {2, inf}});
    EXPECT_FALSE(bounds.Empty);
    EXPECT_EQ((std::array{bounds.MinX, bounds.MaxX, bounds.MinY, bounds.MaxY}), (std::array{1.0, 3.0, -2.0, 5.0}));

    struct Case {
        double lo, hi, min, max;
    };
    const double top = std::numeric_limits<double>::max();
    const Case cases[] = {{0, 10, -0.5, 10.5}, {2, 2, 1.5, 2.5}, {-top, top, -top, top}};
    for (const Case& c : cases) {
        AxisSpan span = PaddedSpan(c.lo, c.hi);
        EXPECT_EQ(span.Min, c.min) << c.lo << ".." << c.hi;
        EXPECT_EQ(span.Max, c.max) << c.lo << ".." << c.hi;
    }
}

TEST(PlotPoints, TicksFallOnRoundNumbersAboutFiveAcross)
{
    struct Case {
        double lo, hi, interval, anchor;
    };
    const Case cases[] = {{-1, 1, 0.5, -1}, {0, 1000, 200, 0}, {0, 2.7e-4, 5e-5, 0}, {1, 10000, 2000, 0},
                          {3, 3, 0.2, 2.6}};
    for (const Case& c : cases) {
        AxisTicks ticks = NiceTicks(c.lo, c.hi);
        EXPECT_DOUBLE_EQ(ticks.Interval, c.interval) << c.lo << ".." << c.hi;
        EXPECT_NEAR(ticks.Anchor, c.anchor, 1e-12) << c.lo << ".." << c.hi;
        EXPECT_GE(ticks.Anchor, ticks.Span.Min);
    }
    // Across the whole double range still about five ticks, never millions.
    const double top = std::numeric_limits<double>::max();
    AxisTicks widest = NiceTicks(-top, top);
    EXPECT_TRUE(std::isfinite(widest.Interval));
    EXPECT_GT(widest.Interval, top / 10);
}

}  // namespace

#pragma once

#include <span>
#include <vector>

// One point of a chart series.
struct PlotPoint {
    double X = 0;
    double Y = 0;
    bool operator==(const PlotPoint&) const = default;
};

using PlotPoints = std::vector<PlotPoint>;

// The charts keep their points in ascending x order; points with equal x stay
// in the order they were added. A NaN x sorts after everything else.
void SortByX(PlotPoints& points);

// The smallest rectangle holding the finite points given to it.
struct PlotBounds {
    double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
    bool Empty = true;

    void Include(const PlotPoint& p);
    void Include(std::span<const PlotPoint> points);
    void Include(const PlotBounds& other);
};

// An axis range around lo..hi with a margin on both sides, so that points on
// the edge stay visible; a single value gets a unit-wide range around it.
struct AxisSpan {
    double Min = 0, Max = 1;
};
AxisSpan PaddedSpan(double lo, double hi);

// Where an axis over lo..hi puts its ticks: every Interval (1, 2 or 5 times
// a power of ten, about five ticks across the padded span) from Anchor, a
// multiple of Interval.
struct AxisTicks {
    AxisSpan Span;
    double Interval = 1;
    double Anchor = 0;
};
AxisTicks NiceTicks(double lo, double hi);

// The same ticks for an axis showing exactly min..max, as after a zoom.
AxisTicks TicksAcross(double min, double max);

#include "analysis/PlotPoints.h"

#include <algorithm>
#include <cmath>
#include <limits>

void SortByX(PlotPoints& points)
{
    auto key = [](const PlotPoint& p) {
        return std::isnan(p.X) ? std::numeric_limits<double>::infinity() : p.X;
    };
    auto before = [&](const PlotPoint& a, const PlotPoint& b) { return key(a) < key(b); };
    if (!std::is_sorted(points.begin(), points.end(), before))
        std::stable_sort(points.begin(), points.end(), before);
}

void PlotBounds::Include(const PlotPoint& p)
{
    if (!std::isfinite(p.X) || !std::isfinite(p.Y))
        return;
    if (Empty) {
        MinX = MaxX = p.X;
        MinY = MaxY = p.Y;
        Empty = false;
        return;
    }
    MinX = std::min(MinX, p.X);
    MaxX = std::max(MaxX, p.X);
    MinY = std::min(MinY, p.Y);
    MaxY = std::max(MaxY, p.Y);
}

void PlotBounds::Include(std::span<const PlotPoint> points)
{
    for (const PlotPoint& p : points)
        Include(p);
}

void PlotBounds::Include(const PlotBounds& other)
{
    if (other.Empty)
        return;
    Include(PlotPoint{other.MinX, other.MinY});
    Include(PlotPoint{other.MaxX, other.MaxY});
}

AxisSpan PaddedSpan(double lo, double hi)
{
    if (!(lo < hi))
        return {lo - 0.5, lo + 0.5};
    // In extended precision the margin cannot overflow; near the ends of the
    // double range the edges go unpadded.
    const long double margin = (static_cast<long double>(hi) - lo) / 20;
    const long double top = std::numeric_limits<double>::max();
    const long double min = lo - margin, max = hi + margin;
    return {min < -top ? lo : double(min), max > top ? hi : double(max)};
}

AxisTicks TicksAcross(double min, double max)
{
    AxisTicks ticks;
    ticks.Span = {min, max};
    // Extended precision: the width of the whole double range is finite.
    const long double width = static_cast<long double>(max) - min;
    if (!(width > 0) || !std::isfinite(width))
        return ticks;
    const long double rough = width / 5;
    const long double power = std::pow(10.0L, std::floor(std::log10(rough)));
    const long double fraction = rough / power;
    const int nice = fraction < 1.5 ? 1 : fraction < 3.5 ? 2 : fraction < 7.5 ? 5 : 10;
    ticks.Interval = double(nice * power);
    ticks.Anchor = double(std::ceil(min / static_cast<long double>(ticks.Interval)) * ticks.Interval);
    return ticks;
}

AxisTicks NiceTicks(double lo, double hi)
{
    AxisSpan span = PaddedSpan(lo, hi);
    return TicksAcross(span.Min, span.Max);
}

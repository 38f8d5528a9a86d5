#include "training/ChartScale.h"

#include <algorithm>
#include <cmath>

namespace {

double niceStep(double span)
{
    const double raw = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double fraction = raw / power;
    return (fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10) * power;
}

}  // namespace

TAxisRange NiceRange(double low, double high, double minStep)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        return {};
    if (!(high > low)) {
        const double margin = low == 0 ? 1 : std::fabs(low) / 10;
        low -= margin;
        high += margin;
    }
    const double step = std::max(niceStep(high - low), minStep);
    if (!(step > 0) || !std::isfinite(step))
        return {low, high, high - low};
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

#include "analysis/RelativeError.h"

#include <cmath>

#include "data/NumberText.h"

double RelativeError(double target, double output)
{
    Extended difference = static_cast<Extended>(target) - output;
    if (std::fabs(target) > 0)
        return NarrowToDouble(difference / std::fabs(static_cast<Extended>(target)));
    return NarrowToDouble(difference);
}

ErrorSpread AbsoluteErrorSpread(std::span<const double> relativeErrors)
{
    ErrorSpread spread;
    if (relativeErrors.empty())
        return spread;
    const Extended count = relativeErrors.size();
    Extended sum = 0;
    for (double r : relativeErrors)
        sum += std::fabs(r);
    spread.Mean = NarrowToDouble(sum / count);
    Extended squares = 0;
    for (double r : relativeErrors) {
        Extended d = std::fabs(r) - static_cast<Extended>(spread.Mean);
        squares += d * d;
    }
    spread.Deviation = NarrowToDouble(std::sqrt(squares / count));
    return spread;
}

std::string ErrorSeriesTitle(int output, double mean, double deviation)
{
    return PadFloat(output, 2, 0) + " " + PadFloat(100 * static_cast<Extended>(mean), 6, 2) + "% " +
           PadFloat(100 * static_cast<Extended>(deviation), 6, 2) + "%";
}

#pragma once

#include <span>
#include <string>

#include "engine/Extended.h"

// (target - output) / |target|, or the plain difference when the target is 0.
// A quotient beyond the double range raises the floating point overflow.
double RelativeError(double target, double output);

// Mean and population standard deviation of the absolute relative errors.
struct ErrorSpread {
    double Mean = 0;
    double Deviation = 0;
};
ErrorSpread AbsoluteErrorSpread(std::span<const double> relativeErrors);

// The title of output k's error series (k 1-based), both figures in percent:
// "  1    1.23%    0.45%".
std::string ErrorSeriesTitle(int output, double mean, double deviation);

#pragma once

#include <limits>

// The engine's intermediate arithmetic: the x87 extended format.
using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "Extended must be the 80-bit x87 format with a 64-bit mantissa");

// Stores an extended value as a double; a finite value beyond the double range
// is the floating point overflow the hardware would have trapped.
double NarrowToDouble(Extended value);

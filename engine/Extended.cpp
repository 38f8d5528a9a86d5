#include "engine/Extended.h"

#include <cmath>

#include "engine/Errors.h"

double NarrowToDouble(Extended value)
{
    double result = static_cast<double>(value);
    if (std::isinf(result) && std::isfinite(value))
        throw FloatingPointError::overflow();
    return result;
}

#include "engine/Errors.h"

ConversionError ConversionError::integer(std::string_view text)
{
    return ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

ConversionError ConversionError::floatingPoint(std::string_view text)
{
    return ConversionError("'" + std::string(text) + "' is not a valid floating point value");
}

FloatingPointError FloatingPointError::overflow()
{
    return FloatingPointError("Floating point overflow");
}

FloatingPointError FloatingPointError::divisionByZero()
{
    return FloatingPointError("Floating point division by zero");
}

FloatingPointError FloatingPointError::invalidOperation()
{
    return FloatingPointError("Invalid floating point operation");
}

AssertionError::AssertionError(std::string_view unit, int line)
    : std::runtime_error("Assertion failure (" + std::string(unit) + ", line " + std::to_string(line) + ")")
{
}

#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// A text that is not the number a command asked for.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    static ConversionError integer(std::string_view text);
    static ConversionError floatingPoint(std::string_view text);
};

// Overflow, division by zero or an invalid operation, detected explicitly
// where the hardware would have trapped.
class FloatingPointError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    static FloatingPointError overflow();
    static FloatingPointError divisionByZero();
    static FloatingPointError invalidOperation();
};

// A broken precondition, named by unit and line like the program's asserts.
class AssertionError : public std::runtime_error {
public:
    AssertionError(std::string_view unit, int line);
};

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/Extended.h"

// How the program writes and reads numbers in texts. The decimal separator is
// always the point, whatever the locale.

// General format: 15 significant digits, no trailing zeros; scientific form
// (5E-5, 1E20) below 0.0001 or with more than 15 digits before the point.
std::string FormatGeneral(Extended value);
// The length of FormatGeneral(value), without building the text.
int GeneralTextLength(Extended value);

// Short scientific format: 5.0000E-001, -1.2250E+001, 0.0000E+000.
std::string FormatShortScientific(Extended value);

// Value rounded to precision significant digits, written with digits decimals
// (exponent form when the integer part has more than precision digits), then
// padded on the left with blanks to at least precision + 1 characters.
std::string PadFloat(Extended value, int precision, int digits);

// Whether text is a number: optional blanks, sign, digits with at most one
// point, an optional exponent, optional blanks. Out of the extended range is
// not a number.
bool TryParseFloat(std::string_view text, Extended& value);
bool IsNumberText(std::string_view text);

// As TryParseFloat, raising "'text' is not a valid floating point value".
Extended ParseFloat(std::string_view text);

// Optional blanks, sign, decimal digits, optional blanks, within 32 bits;
// raising "'text' is not a valid integer value" otherwise.
std::int32_t ParseInteger(std::string_view text);
bool TryParseInteger(std::string_view text, std::int32_t& value);

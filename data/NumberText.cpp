#include "data/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

#include "engine/Errors.h"

namespace {

// The decimal digits of a value rounded to `significant` digits, without the
// sign, and the decimal exponent of the first digit.
struct Decimal {
    std::string digits;
    int exponent = 0;
    bool negative = false;
};

// Writes value rounded to `significant` digits as d.ddde±x into buffer.
void scientificDigits(Extended value, int significant, char (&buffer)[128])
{
    const double narrow = static_cast<double>(value);
    if (std::isfinite(narrow) && static_cast<Extended>(narrow) == value) {
        // A value that is a double (every value read from a dataset file) has
        // the same correctly rounded digits as a double, and they come several
        // times faster than from the extended-precision printf.
        const auto end = std::to_chars(buffer, buffer + sizeof buffer - 1, narrow, std::chars_format::scientific,
                                       significant - 1);
        *end.ptr = '\0';
    } else {
        std::snprintf(buffer, sizeof buffer, "%.*Le", significant - 1, value);
    }
}

Decimal roundToSignificant(Extended value, int significant)
{
    char buffer[128];
    scientificDigits(value, significant, buffer);
    Decimal d;
    const char* p = buffer;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; *p && *p != 'e'; ++p)
        if (*p != '.')
            d.digits += *p;
    if (*p == 'e')
        d.exponent = std::atoi(p + 1);
    return d;
}

int decimalDigitCount(int n)
{
    int count = 1;
    while (n >= 10) {
        n /= 10;
        ++count;
    }
    return count;
}

void stripTrailingZeros(std::string& digits)
{
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

std::string specialValue(Extended value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string exponentText(int exponent, bool alwaysSign, int minDigits)
{
    std::string digits = std::to_string(std::abs(exponent));
    while (int(digits.size()) < minDigits)
        digits.insert(digits.begin(), '0');
    std::string sign = exponent < 0 ? "-" : (alwaysSign ? "+" : "");
    return "E" + sign + digits;
}

// d.dddEx from the digits of a Decimal, without trailing zeros in the mantissa.
std::string generalScientific(const Decimal& d)
{
    std::string text = d.digits.substr(0, 1);
    if (d.digits.size() > 1)
        text += "." + d.digits.substr(1);
    return text + exponentText(d.exponent, false, 1);
}

// The digits placed around the point, with exactly `decimals` decimals
// (padding with zeros or cutting, the digits being rounded already).
std::string fixedText(const Decimal& d, int decimals)
{
    std::string integer;
    std::string fraction;
    if (d.exponent >= 0) {
        integer = d.digits.substr(0, std::min<std::size_t>(d.digits.size(), d.exponent + 1));
        integer.resize(d.exponent + 1, '0');
        if (d.digits.size() > std::size_t(d.exponent) + 1)
            fraction = d.digits.substr(d.exponent + 1);
    } else {
        integer = "0";
        fraction = std::string(-d.exponent - 1, '0') + d.digits;
    }
    if (decimals >= 0)
        fraction.resize(decimals, '0');
    return fraction.empty() ? integer : integer + "." + fraction;
}

bool allZeroDigits(const std::string& text)
{
    return text.find_first_of("123456789") == std::string::npos;
}

locale_t cLocale()
{
    static locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return locale;
}

bool isBlank(char c)
{
    return c == ' ';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

std::string FormatGeneral(Extended value)
{
    if (!std::isfinite(value))
        return specialValue(value);
    if (value == 0)
        return "0";
    Decimal d = roundToSignificant(value, 15);
    stripTrailingZeros(d.digits);
    std::string sign = d.negative ? "-" : "";
    if (d.exponent < -4 || d.exponent >= 15)
        return sign + generalScientific(d);
    return sign + fixedText(d, -1);
}

int GeneralTextLength(Extended value)
{
    if (!std::isfinite(value) || value == 0)
        return int(FormatGeneral(value).size());
    char buffer[128];
    scientificDigits(value, 15, buffer);
    const char* p = buffer;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    int digits = 0;
    int significant = 0;  // digits up to the last one that is not 0
    for (; *p && *p != 'e'; ++p) {
        if (*p == '.')
            continue;
        ++digits;
        if (*p != '0')
            significant = digits;
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    const int n = std::max(significant, 1);
    int length = negative ? 1 : 0;
    if (exponent < -4 || exponent >= 15)
        length += (n > 1 ? n + 1 : 1) + 1 + (exponent < 0 ? 1 : 0) + decimalDigitCount(std::abs(exponent));
    else if (exponent >= 0)
        length += exponent + 1 + (n > exponent + 1 ? n - exponent : 0);
    else
        length += 1 - exponent + n;
    return length;
}

std::string FormatShortScientific(Extended value)
{
    if (!std::isfinite(value))
        return specialValue(value);
    if (value == 0)
        return "0.0000E+000";
    Decimal d = roundToSignificant(value, 5);
    std::string text = d.negative ? "-" : "";
    text += d.digits.substr(0, 1) + "." + d.digits.substr(1);
    return text + exponentText(d.exponent, true, 3);
}

namespace {

// Fixed notation with `digits` decimals of the value rounded once, at the
// coarser of `precision` significant digits and `digits` decimals.
std::string fixedFormat(Extended value, int precision, int digits)
{
    if (!std::isfinite(value))
        return specialValue(value);
    Extended magnitude = std::fabs(value);
    std::string text;
    if (magnitude == 0) {
        text = fixedText(Decimal{"0", 0, false}, digits);
    } else {
        Decimal d = roundToSignificant(magnitude, precision);
        if (d.exponent + 1 > precision) {
            stripTrailingZeros(d.digits);
            text = generalScientific(d);
        } else if (d.exponent + 1 + digits < precision) {
            char buffer[128];
            std::snprintf(buffer, sizeof buffer, "%.*Lf", digits, magnitude);
            text = buffer;
        } else {
            text = fixedText(d, digits);
        }
    }
    return value < 0 && !allZeroDigits(text) ? "-" + text : text;
}

}  // namespace

std::string PadFloat(Extended value, int precision, int digits)
{
    precision = std::clamp(precision, 1, 18);
    digits = std::clamp(digits, 0, 18);
    std::string text = fixedFormat(value, precision, digits);
    while (int(text.size()) <= precision)
        text.insert(text.begin(), ' ');
    return text;
}

bool TryParseFloat(std::string_view text, Extended& value)
{
    std::string_view body = trimBlanks(text);
    std::string normal;
    std::size_t p = 0;
    if (p < body.size() && (body[p] == '+' || body[p] == '-'))
        normal += body[p++];
    bool point = false;
    std::size_t mantissaDigits = 0;
    std::size_t mantissaStart = p;
    for (; p < body.size(); ++p) {
        if (isDigit(body[p])) {
            ++mantissaDigits;
        } else if (body[p] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (p == mantissaStart)
        return false;
    normal += mantissaDigits == 0 ? std::string("0") : "0" + std::string(body.substr(mantissaStart, p - mantissaStart));
    if (p < body.size() && (body[p] == 'E' || body[p] == 'e')) {
        normal += 'e';
        ++p;
        if (p < body.size() && (body[p] == '+' || body[p] == '-'))
            normal += body[p++];
        std::size_t exponentStart = p;
        while (p < body.size() && isDigit(body[p]))
            normal += body[p++];
        if (p == exponentStart)
            return false;
    }
    if (p != body.size())
        return false;
    Extended result = strtold_l(normal.c_str(), nullptr, cLocale());
    if (std::isinf(result))
        return false;
    value = result;
    return true;
}

bool IsNumberText(std::string_view text)
{
    Extended ignored;
    return TryParseFloat(text, ignored);
}

Extended ParseFloat(std::string_view text)
{
    Extended value;
    if (!TryParseFloat(text, value))
        throw ConversionError::floatingPoint(text);
    return value;
}

bool TryParseInteger(std::string_view text, std::int32_t& value)
{
    std::string_view body = trimBlanks(text);
    std::size_t p = 0;
    bool negative = false;
    if (p < body.size() && (body[p] == '+' || body[p] == '-'))
        negative = body[p++] == '-';
    if (p == body.size())
        return false;
    long long magnitude = 0;
    for (; p < body.size(); ++p) {
        if (!isDigit(body[p]))
            return false;
        magnitude = magnitude * 10 + (body[p] - '0');
        if (magnitude > 2147483648LL)
            return false;
    }
    long long result = negative ? -magnitude : magnitude;
    if (result > 2147483647LL)
        return false;
    value = static_cast<std::int32_t>(result);
    return true;
}

std::int32_t ParseInteger(std::string_view text)
{
    std::int32_t value;
    if (!TryParseInteger(text, value))
        throw ConversionError::integer(text);
    return value;
}

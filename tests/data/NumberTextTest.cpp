#include "data/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/Errors.h"

TEST(NumberText, GeneralFormat)
{
    struct Case { Extended value; const char* text; };
    const Case cases[] = {
        {0.5, "0.5"}, {3, "3"}, {0.0001, "0.0001"}, {0.00005, "5E-5"}, {1e20, "1E20"},
        {0, "0"}, {-2.5, "-2.5"}, {0.1, "0.1"}, {0.1L, "0.1"}, {1.0L / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"}, {123456789012345.0, "123456789012345"}, {1e15, "1E15"},
        {1.5e-7, "1.5E-7"}, {-1e-10, "-1E-10"}, {12345.678, "12345.678"}, {1000, "1000"},
        {0.000099999999999999999L, "0.0001"}, {1.25e300, "1.25E300"}, {-7e-300, "-7E-300"},
        {1e4000L, "1E4000"},
        {std::numeric_limits<Extended>::infinity(), "INF"}, {-std::numeric_limits<Extended>::infinity(), "-INF"},
        {std::numeric_limits<Extended>::quiet_NaN(), "NAN"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatGeneral(c.value), c.text) << c.text;
        EXPECT_EQ(GeneralTextLength(c.value), int(std::string(c.text).size())) << c.text;
    }
}

TEST(NumberText, GeneralTextLengthIsTheFormattedLength)
{
    // Values of every magnitude and digit count, doubles and extended ones.
    for (int e = -320; e <= 320; e += 7)
        for (Extended mantissa : {1.0L, -1.0L, 1.5L, 9.99999999999999999L, 1.0L / 7, -2.0L / 3, 123.456L}) {
            const Extended x = mantissa * std::pow(10.0L, Extended(e));
            for (Extended value : {x, Extended(double(x))})
                EXPECT_EQ(GeneralTextLength(value), int(FormatGeneral(value).size())) << FormatGeneral(value);
        }
}

TEST(NumberText, ShortScientificFormat)
{
    struct Case { Extended value; const char* text; };
    const Case cases[] = {
        {0.5, "5.0000E-001"}, {-12.25, "-1.2250E+001"}, {0, "0.0000E+000"}, {-0.0, "0.0000E+000"},
        {1, "1.0000E+000"}, {1e100, "1.0000E+100"}, {1.23456e-300, "1.2346E-300"}, {123456, "1.2346E+005"},
        {0.123454, "1.2345E-001"}, {1e-4000L, "1.0000E-4000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatShortScientific(c.value), c.text) << c.text;
}

TEST(NumberText, PadFloat)
{
    struct Case { Extended value; int precision; int digits; const char* text; };
    const Case cases[] = {
        {7, 2, 0, "  7"}, {1.23, 6, 2, "   1.23"}, {0.45, 6, 2, "   0.45"}, {0, 6, 2, "   0.00"},
        {-1.5, 6, 2, "  -1.50"}, {123.456, 6, 2, " 123.46"}, {99.999, 6, 2, " 100.00"},
        {1234.5678, 6, 2, "1234.57"}, {12345.678, 6, 2, "12345.70"}, {1234567, 6, 2, "1.23457E6"},
        {12, 2, 0, " 12"}, {120, 2, 0, "1.2E2"}, {0.004, 6, 2, "   0.00"}, {0.005001, 6, 2, "   0.01"},
        {-0.001, 6, 2, "   0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PadFloat(c.value, c.precision, c.digits), c.text) << c.text;

    // A series title of the error charts: output 7, mean 0.0123, deviation 0.0045.
    std::string title = PadFloat(7, 2, 0) + " " + PadFloat(100 * 0.0123L, 6, 2) + "% " + PadFloat(100 * 0.0045L, 6, 2) + "%";
    EXPECT_EQ(title, "  7    1.23%    0.45%");
}

TEST(NumberText, ParsesTheGridSyntax)
{
    struct Case { const char* text; Extended value; };
    const Case valid[] = {
        {"1", 1}, {" 2.5 ", 2.5}, {"+3", 3}, {"-.5", -0.5}, {".", 0}, {"5.", 5}, {"1e3", 1000},
        {"1E+3", 1000}, {"1e-3", 0.001L}, {"0.1", 0.1L}, {"007", 7}, {"1.5e-5000", 0},
        {"1e4000", 1e4000L},
    };
    for (const Case& c : valid) {
        Extended v = -99;
        EXPECT_TRUE(TryParseFloat(c.text, v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    for (const char* text : {"", " ", "1e", "1.2.3", "1,5", "abc", "+", "-", "e5", "1e+", "0x10", "inf",
                             "nan", "1 000", "\t1", "1e5000", "--1", "1-"})
        EXPECT_FALSE(IsNumberText(text)) << '"' << text << '"';
}

TEST(NumberText, ParsesIntegers)
{
    struct Case { const char* text; std::int32_t value; };
    for (Case c : {Case{"3", 3}, {" -12 ", -12}, {"+7", 7}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"0", 0}}) {
        std::int32_t v = 0;
        EXPECT_TRUE(TryParseInteger(c.text, v)) << c.text;
        EXPECT_EQ(v, c.value);
    }
    for (const char* text : {"2147483648", "-2147483649", "1.0", "", "x1", "1e3", "-", "99999999999999999999"})
        {
        std::int32_t v = 0;
        EXPECT_FALSE(TryParseInteger(text, v)) << text;
    }
}

TEST(NumberText, ConversionErrorsQuoteTheText)
{
    try {
        ParseFloat("1e");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'1e' is not a valid floating point value");
    }
    try {
        ParseInteger("3.5");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'3.5' is not a valid integer value");
    }
    EXPECT_EQ(ParseFloat(" 4.25"), 4.25L);
    EXPECT_EQ(ParseInteger("12"), 12);
}

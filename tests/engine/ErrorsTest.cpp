#include "engine/Errors.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/Extended.h"

TEST(Errors, MessagesAreTheProgramsOwnTexts)
{
    EXPECT_STREQ(ConversionError::integer("x1").what(), "'x1' is not a valid integer value");
    EXPECT_STREQ(ConversionError::floatingPoint("1e").what(), "'1e' is not a valid floating point value");
    EXPECT_STREQ(FloatingPointError::overflow().what(), "Floating point overflow");
    EXPECT_STREQ(FloatingPointError::divisionByZero().what(), "Floating point division by zero");
    EXPECT_STREQ(FloatingPointError::invalidOperation().what(), "Invalid floating point operation");
    EXPECT_STREQ(AssertionError("Neuran", 434).what(), "Assertion failure (Neuran, line 434)");
}

TEST(Errors, NarrowingBeyondTheDoubleRangeOverflows)
{
    EXPECT_EQ(NarrowToDouble(1.5L), 1.5);
    EXPECT_THROW(NarrowToDouble(1e309L), FloatingPointError);
    EXPECT_THROW(NarrowToDouble(-1e309L), FloatingPointError);
    // Infinity and NaN are carried, not trapped; tiny values underflow quietly.
    EXPECT_TRUE(std::isinf(NarrowToDouble(std::numeric_limits<Extended>::infinity())));
    EXPECT_EQ(NarrowToDouble(1e-400L), 0.0);
}

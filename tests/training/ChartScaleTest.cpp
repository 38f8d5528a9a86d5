#include "training/ChartScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(ChartScale, WidensToWholeStepsOfOneTwoOrFive)
{
    struct Case {
        double low, high;
        TAxisRange expected;
    };
    const Case cases[] = {
        {0, 1000, {0, 1000, 200}},
        {0, 999, {0, 1000, 200}},                 // holds still while the data grow a little
        {0, 1250, {0, 1500, 500}},
        {0, 37.5, {0, 40, 10}},
        {-40, 20, {-40, 20, 20}},
        {-0.013, 0.0021, {-0.015, 0.005, 0.005}},
        {0, 0, {-1, 1, 0.5}},                     // a single value gets room around it
        {5, 5, {4.4, 5.6, 0.2}},
    };
    for (const Case& c : cases) {
        TAxisRange r = NiceRange(c.low, c.high);
        EXPECT_NEAR(r.Min, c.expected.Min, 1e-12) << c.low << ".." << c.high;
        EXPECT_NEAR(r.Max, c.expected.Max, 1e-12) << c.low << ".." << c.high;
        EXPECT_NEAR(r.Step, c.expected.Step, 1e-12) << c.low << ".." << c.high;
    }
    // Counts: patterns 1 to 4 have ticks on whole numbers.
    EXPECT_EQ(NiceRange(1, 4, 1), (TAxisRange{1, 4, 1}));
    EXPECT_EQ(NiceRange(1, 2, 1), (TAxisRange{1, 2, 1}));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(NiceRange(0, inf), TAxisRange{});
    EXPECT_EQ(NiceRange(std::nan(""), 1), TAxisRange{});
    EXPECT_TRUE(std::isfinite(NiceRange(-1e308, 1e308).Max));
}

}  // namespace

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
        {0, 1000, {0, 1000}},                // steps of 200
        {0, 999, {0, 1000}},                 // holds still while the data grow a little
        {0, 1250, {0, 1500}},                // steps of 500
        {0, 37.5, {0, 40}},                  // steps of 10
        {-40, 20, {-40, 20}},                // steps of 20
        {-0.013, 0.0021, {-0.015, 0.005}},   // steps of 0.005
        {0, 0, {-1, 1}},                     // a single value gets room around it
        {5, 5, {4.4, 5.6}},
    };
    for (const Case& c : cases) {
        TAxisRange r = NiceRange(c.low, c.high);
        EXPECT_NEAR(r.Min, c.expected.Min, 1e-12) << c.low << ".." << c.high;
        EXPECT_NEAR(r.Max, c.expected.Max, 1e-12) << c.low << ".." << c.high;
    }
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(NiceRange(0, inf), TAxisRange{});
    EXPECT_EQ(NiceRange(std::nan(""), 1), TAxisRange{});
    EXPECT_TRUE(std::isfinite(NiceRange(-1e308, 1e308).Max));
}

}  // namespace

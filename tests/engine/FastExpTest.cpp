#include "engine/FastExp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

// Distance in extended units in the last place of the library's value.
long double ulpsFromLibrary(Extended t)
{
    Extended reference = std::exp(t);
    Extended ulp = std::nextafter(reference, std::numeric_limits<Extended>::infinity()) - reference;
    return std::fabs(fast_exp::FastExp(t) - reference) / ulp;
}

}  // namespace

TEST(FastExp, WithinOneUlpOfTheLibraryOverTheWholeRange)
{
    std::mt19937_64 generator(20261210);
    std::uniform_real_distribution<double> wide(-11400, 11400);
    std::uniform_real_distribution<double> narrow(-800, 800);
    std::uniform_real_distribution<double> tiny(-1e-3, 1e-3);
    long double worst = 0;
    for (int i = 0; i < 200000; ++i) {
        // Extended arguments that are not doubles, spread over every scale.
        Extended fraction = std::ldexp(static_cast<Extended>(generator() >> 11), -53 - 20);
        for (Extended t : {wide(generator) + fraction, narrow(generator) + fraction, tiny(generator) + fraction})
            if (std::fabs(t) < 11355)
                worst = std::max(worst, ulpsFromLibrary(t));
    }
    EXPECT_LE(worst, 1.0L);
}

TEST(FastExp, EdgesAreTheLibrarysOwn)
{
    // Beyond +-700 the library decides, so overflow and underflow happen
    // exactly where they happen for expl.
    const Extended limit = std::log(std::numeric_limits<Extended>::max());
    for (Extended t : {std::nextafter(Extended(700), Extended(1000)), limit, std::nextafter(limit, Extended(0)),
                       std::nextafter(limit, Extended(20000)), Extended(-11355), Extended(-11380), Extended(-20000),
                       -std::numeric_limits<Extended>::infinity(), std::numeric_limits<Extended>::infinity()})
        EXPECT_EQ(fast_exp::FastExp(t), std::exp(t)) << static_cast<double>(t);
    for (Extended t : {Extended(0), Extended(1), Extended(-1), Extended(700), Extended(-700), std::nextafter(Extended(700), Extended(0))})
        EXPECT_LE(ulpsFromLibrary(t), 1.0L) << static_cast<double>(t);
    EXPECT_EQ(fast_exp::FastExp(0), 1.0L);
    EXPECT_GT(fast_exp::FastExp(-11380), 0.0L);  // the subnormal side
    EXPECT_TRUE(std::isnan(fast_exp::FastExp(std::numeric_limits<Extended>::quiet_NaN())));
}

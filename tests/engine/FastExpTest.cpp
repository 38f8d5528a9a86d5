#include "engine/FastExp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
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

TEST(FastExp, WithinOneUlpOfTheLibraryOverTheFastRange)
{
    // Uniform arguments, arguments next to the midpoints between table
    // entries (where the reduction picks k), and arguments next to the table
    // entries themselves (where r cancels to almost nothing).
    const Extended step = 0.693147180559945309417232121458176568L / 256;
    std::mt19937_64 generator(20261211);
    std::uniform_real_distribution<double> uniform(-700, 700);
    std::uniform_int_distribution<int> offset(-1000, 1000);
    long double worst = 0;
    int tested = 0;
    for (int i = 0; i < 400000; ++i) {
        Extended fraction = std::ldexp(static_cast<Extended>(generator() >> 11), -53 - 20);
        Extended k = std::trunc(uniform(generator) / static_cast<double>(step));
        for (Extended t : {uniform(generator) + fraction, (k + 0.5L) * step + std::ldexp(static_cast<Extended>(offset(generator)), -60),
                           k * step + std::ldexp(static_cast<Extended>(offset(generator)), -50)}) {
            if (std::fabs(t) < 700) {
                worst = std::max(worst, ulpsFromLibrary(t));
                ++tested;
            }
        }
    }
    EXPECT_GT(tested, 1150000);
    EXPECT_LE(worst, 1.0L);
}

TEST(FastExp, ABlockGivesEachLaneWhatItGetsAlone)
{
    // Lanes for the library among fast ones, and arguments beyond the double
    // range, whose split into two doubles is infinite.
    const Extended huge = std::numeric_limits<Extended>::max();
    const Extended inf = std::numeric_limits<Extended>::infinity();
    const Extended arguments[] = {1.25L, -700, 700, 699.99L, -3.5e-320L, 1e300L, 3e308L, -3e308L, huge, -huge,
                                  inf, -inf, std::numeric_limits<Extended>::quiet_NaN(), 11356, -11400, 0.1L, 1e-4000L};
    constexpr int kLanes = std::size(arguments);
    fast_exp::ExpBlock<kLanes + 1> block;
    for (int q = 0; q < kLanes; ++q)
        block.set(q, arguments[q]);
    block.compute(kLanes);
    for (int q = 0; q < kLanes; ++q) {
        const Extended t = arguments[q];
        const Extended alone = fast_exp::FastExp(t);
        const Extended inBlock = block.isFast(q) ? block.fastValue(q) : std::exp(block.argument(q));
        if (std::isnan(alone)) {
            EXPECT_TRUE(std::isnan(inBlock)) << q;
        } else {
            EXPECT_EQ(std::memcmp(&alone, &inBlock, 10), 0) << q;
            EXPECT_EQ(std::isfinite(block.argument(q)), std::isfinite(t)) << q;
        }
        EXPECT_EQ(block.isFast(q), std::fabs(t) < 700) << q;
    }
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

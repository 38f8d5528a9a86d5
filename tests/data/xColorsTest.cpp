#include "data/xColors.h"

#include <gtest/gtest.h>

TEST(xColors, ScaleColorGivesTheGridsShades)
{
    struct Case {
        TRGB from;
        float lightness;
        TRGB expected;
    };
    const Case cases[] = {
        {{255, 192, 64}, 0.7f, {223, 150, 0}},     // header of the selection
        {{212, 208, 200}, 0.75f, {167, 159, 142}}, // other headers on a grey button face
        {{166, 202, 240}, 0.9f, {131, 181, 234}},  // selected number
        {{255, 192, 255}, 0.8f, {255, 103, 255}},  // selected non-number
        {{255, 251, 240}, 0.9f, {255, 238, 190}},  // even data rows
        {{128, 128, 128}, 0.5f, {64, 64, 64}},     // grey: no hue
        {{0, 0, 0}, 2.0f, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        const TRGB got = ScaleColor(c.from, c.lightness, 1);
        EXPECT_EQ(got, c.expected) << int(c.from.R) << "," << int(c.from.G) << "," << int(c.from.B) << " got "
                                   << int(got.R) << "," << int(got.G) << "," << int(got.B);
    }
}

TEST(xColors, HslRoundTripKeepsEveryPrimaryAndMixedColour)
{
    for (const TRGB c : {TRGB{255, 0, 0}, TRGB{0, 255, 0}, TRGB{0, 0, 255}, TRGB{12, 200, 99}, TRGB{250, 251, 252}}) {
        EXPECT_EQ(ScaleColor(c, 1, 1), c);
    }
}

TEST(xColors, HueOfPureBlueIsTwoThirdsAndLightnessIsTheMidpoint)
{
    const THSL hsl = RGBToHSL(0, 0, 1);
    EXPECT_FLOAT_EQ(hsl.H, 4.0f / 6);
    EXPECT_FLOAT_EQ(hsl.L, 0.5f);
    EXPECT_FLOAT_EQ(hsl.S, 1.0f);
    EXPECT_FLOAT_EQ(RGBToHSL(1, 0, 0.5f).H, 1 - 0.5f / 6) << "a negative hue wraps round";
}

TEST(xColors, FloatsAreClampedThenRoundedToTheNearestByte)
{
    EXPECT_EQ(FloatsToRGB(-1, 2, 0.5f), (TRGB{0, 255, 128}));  // 127.5 is a tie: even
}

TEST(xColors, GradientStartsAtTheTopColourAndApproachesTheBottomOne)
{
    const TRGB top{255, 192, 64}, bottom{223, 150, 0};
    EXPECT_EQ(GradientColor(top, bottom, 0, 20), top);
    EXPECT_EQ(GradientColor(top, bottom, 10, 20), (TRGB{239, 171, 32}));
    EXPECT_EQ(GradientColor(top, bottom, 20, 20), bottom) << "reached at the edge below the last row";
    const TRGB last = GradientColor(top, bottom, 19, 20);
    EXPECT_TRUE(last.R >= bottom.R && last.R < top.R);
    EXPECT_EQ(GradientColor(top, bottom, 5, 0), top);
}

#include "data/xColors.h"

#include <algorithm>
#include <cmath>

THSL RGBToHSL(float r, float g, float b)
{
    const float max = std::max({r, g, b});
    const float min = std::min({r, g, b});
    THSL hsl;
    hsl.L = (max + min) / 2;
    if (max == min)
        return hsl;
    const float d = max - min;
    hsl.S = hsl.L < 0.5f ? d / (max + min) : d / (2 - max - min);
    float h;
    if (r == max)
        h = (g - b) / d;
    else if (g == max)
        h = 2 + (b - r) / d;
    else
        h = 4 + (r - g) / d;
    h = h / 6;
    if (h < 0)
        h = h + 1;
    hsl.H = h;
    return hsl;
}

namespace {

float channel(float m1, float m2, float h)
{
    h = h - std::floor(h);
    if (6 * h < 1)
        return m1 + (m2 - m1) * h * 6;
    if (2 * h < 1)
        return m2;
    if (3 * h < 2)
        return m1 + (m2 - m1) * (2.0f / 3 - h) * 6;
    return m1;
}

std::uint8_t toByte(float v)
{
    v = std::clamp(v, 0.0f, 1.0f) * 255;
    return static_cast<std::uint8_t>(std::nearbyint(v));  // the default rounding mode: ties to even
}

}  // namespace

void HSLToRGB(const THSL& hsl, float& r, float& g, float& b)
{
    if (hsl.S == 0) {
        r = g = b = hsl.L;
        return;
    }
    const float m2 = hsl.L <= 0.5f ? hsl.L * (1 + hsl.S) : hsl.L + hsl.S - hsl.L * hsl.S;
    const float m1 = 2 * hsl.L - m2;
    r = channel(m1, m2, hsl.H + 1.0f / 3);
    g = channel(m1, m2, hsl.H);
    b = channel(m1, m2, hsl.H - 1.0f / 3);
}

TRGB FloatsToRGB(float r, float g, float b) { return {toByte(r), toByte(g), toByte(b)}; }

TRGB ScaleColor(TRGB colour, float lightness, float saturation)
{
    THSL hsl = RGBToHSL(colour.R / 255.0f, colour.G / 255.0f, colour.B / 255.0f);
    hsl.L = hsl.L * lightness;
    hsl.S = hsl.S * saturation;
    float r, g, b;
    HSLToRGB(hsl, r, g, b);
    return FloatsToRGB(r, g, b);
}

TRGB GradientColor(TRGB top, TRGB bottom, int y, int height)
{
    if (height <= 0)
        return top;
    const auto mix = [&](std::uint8_t t, std::uint8_t b) {
        const long long from = t * 256LL, to = b * 256LL;
        return static_cast<std::uint8_t>((from + (to - from) * y / height) >> 8);
    };
    return {mix(top.R, bottom.R), mix(top.G, bottom.G), mix(top.B, bottom.B)};
}

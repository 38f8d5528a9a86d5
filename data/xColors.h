#pragma once

#include <cstdint>

// Colour arithmetic of the dataset editor's grid, in single-precision floats
// so that every shade comes out the same on every machine.

struct TRGB {
    std::uint8_t R = 0, G = 0, B = 0;
    friend bool operator==(const TRGB&, const TRGB&) = default;
};

struct THSL {
    float L = 0, H = 0, S = 0;
};

// r, g and b in 0..1; H in 0..1 (a fraction of the colour circle).
THSL RGBToHSL(float r, float g, float b);
void HSLToRGB(const THSL& hsl, float& r, float& g, float& b);

// Channels clamped to 0..1, times 255, rounded to the nearest byte (ties to even).
TRGB FloatsToRGB(float r, float g, float b);

// The colour with its lightness and saturation multiplied by the factors.
TRGB ScaleColor(TRGB colour, float lightness, float saturation);

// The colour of pixel row y (0 = the top row) of a vertical gradient of
// height rows that starts at top and reaches bottom at the bottom edge; each
// channel is interpolated in 16-bit steps.
TRGB GradientColor(TRGB top, TRGB bottom, int y, int height);

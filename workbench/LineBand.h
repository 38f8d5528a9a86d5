#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct DiagramBox;

// A band of rows of rendered weight lines: each pixel is 0xFFgggggg, the
// opaque grey of the topmost line through it, or 0 where no line passes, so
// it paints as premultiplied ARGB over whatever lies beneath.
struct LineBand {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;  // row-major, Width * Height
};

// Draws one-pixel lines into a band topmost first: each line lands only on
// pixels that no earlier line set, so every pixel is written once and lines
// can be given from the last drawn to the first. The pixels of each line are
// those of the raster painter's aliased cosmetic line with square caps.
class LineBandCanvas {
public:
    LineBandCanvas(int left, int top, int width, int height);

    void drawUnder(int x1, int y1, int x2, int y2, std::uint8_t grey);
    bool full() const { return unset_ == 0; }
    LineBand take() { return std::move(band_); }

private:
    void fillColumn(int x, int rowFrom, int rowTo, std::uint32_t colour);
    void steep(int x1, int y1, int x2, int y2, std::uint32_t colour);
    void shallow(int x1, int y1, int x2, int y2, std::uint32_t colour);

    LineBand band_;
    int words_ = 0;                     // mask words per column
    std::vector<std::uint64_t> free_;   // per column, a bit per row not yet set
    long long unset_ = 0;
};

// The lines into box that cross rows top..top+height-1, each over the one
// before as listed; greys[i] is the grey of box.Connections[i], or negative
// for a line that is not drawn.
LineBand RenderLineBand(const DiagramBox& box, std::span<const std::int16_t> greys, int top, int height);

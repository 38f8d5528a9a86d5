#include "workbench/LineBand.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "workbench/DiagramLayout.h"

// Fixed point as the raster painter uses it: end points in 1/64 pixel, the
// step along the line in 1/65536 pixel per pixel, and half a pixel added at
// each end for the square caps.

LineBandCanvas::LineBandCanvas(int left, int top, int width, int height)
    : band_{left, top, std::max(width, 0), std::max(height, 0), {}}, words_((band_.Height + 63) / 64)
{
    band_.Pixels.assign(std::size_t(band_.Width) * band_.Height, 0);
    free_.assign(std::size_t(band_.Width) * words_, ~std::uint64_t(0));
    for (int x = 0; x < band_.Width && band_.Height % 64; ++x)
        free_[std::size_t(x) * words_ + words_ - 1] = (std::uint64_t(1) << (band_.Height % 64)) - 1;
    unset_ = static_cast<long long>(band_.Width) * band_.Height;
}

void LineBandCanvas::fillColumn(int x, int rowFrom, int rowTo, std::uint32_t colour)
{
    const int column = x - band_.Left;
    if (column < 0 || column >= band_.Width)
        return;
    const int from = std::max(rowFrom - band_.Top, 0);
    const int to = std::min(rowTo - band_.Top, band_.Height - 1);
    std::uint64_t* mask = free_.data() + std::size_t(column) * words_;
    for (int w = from / 64; w <= to / 64 && from <= to; ++w) {
        const int lo = std::max(from - w * 64, 0);
        const int hi = std::min(to - w * 64, 63);
        const std::uint64_t range = (hi == 63 ? ~std::uint64_t(0) : (std::uint64_t(1) << (hi + 1)) - 1) &
                                    ~((std::uint64_t(1) << lo) - 1);
        std::uint64_t bits = mask[w] & range;
        mask[w] &= ~bits;
        unset_ -= std::popcount(bits);
        while (bits) {
            const int row = w * 64 + std::countr_zero(bits);
            band_.Pixels[std::size_t(row) * band_.Width + column] = colour;
            bits &= bits - 1;
        }
    }
}

void LineBandCanvas::drawUnder(int x1, int y1, int x2, int y2, std::uint8_t grey)
{
    const std::uint32_t colour = 0xFF000000u | grey * 0x010101u;
    if (x1 == x2 && y1 == y2)
        fillColumn(x1, y1, y1, colour);
    else if (std::abs(x2 - x1) < std::abs(y2 - y1))
        steep(x1, y1, x2, y2, colour);
    else
        shallow(x1, y1, x2, y2, colour);
}

// One pixel per row from y1 to y2; the column of row y1 + i is
// (x0 + i * step) >> 16. Whole runs of rows in one column are filled at once.
void LineBandCanvas::steep(int x1, int y1, int x2, int y2, std::uint32_t colour)
{
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int first = std::max(y1, band_.Top);
    const int last = std::min(y2, band_.Top + band_.Height - 1);
    if (first > last)
        return;
    const std::int64_t step = std::int64_t(x2 - x1) * 65536 / (y2 - y1);
    const std::int64_t round = step > 0 ? 32 : 0;
    const std::int64_t x0 = std::int64_t(x1) * 65536 - (step >> 1) + (((32 + round) * step) >> 6);
    int y = first;
    while (y <= last) {
        const std::int64_t i = y - y1;
        const std::int64_t x = x0 + i * step;
        const std::int64_t column = x >> 16;
        std::int64_t end = y2 - y1;  // last i in this column
        if (step > 0)
            end = ((column + 1) * 65536 - x0 + step - 1) / step - 1;
        else if (step < 0)
            end = (x0 - column * 65536) / -step;
        const int runEnd = int(std::min<std::int64_t>(last, y1 + end));
        fillColumn(int(column), y, runEnd, colour);
        y = runEnd + 1;
    }
}

// One pixel per column from x1 to x2.
void LineBandCanvas::shallow(int x1, int y1, int x2, int y2, std::uint32_t colour)
{
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    if (std::max(y1, y2) < band_.Top || std::min(y1, y2) >= band_.Top + band_.Height)
        return;
    const std::int64_t step = std::int64_t(y2 - y1) * 65536 / (x2 - x1);
    const std::int64_t round = step > 0 ? 32 : 0;
    std::int64_t y = std::int64_t(y1) * 65536 - (step >> 1) + (((32 + round) * step) >> 6);
    for (int x = x1; x <= x2; ++x, y += step) {
        const int row = int(y >> 16);
        fillColumn(x, row, row, colour);
    }
}

LineBand RenderLineBand(const DiagramBox& box, std::span<const std::int16_t> greys, int top, int height)
{
    LineBandCanvas canvas(box.LineX1, top, box.LineX2 - box.LineX1 + 1, height);
    const int bottom = top + height - 1;
    for (std::size_t i = box.Connections.size(); i-- > 0 && !canvas.full();) {
        const DiagramConnection& c = box.Connections[i];
        if (std::max(c.Y1, c.Y2) < top || std::min(c.Y1, c.Y2) > bottom || greys[i] < 0)
            continue;
        canvas.drawUnder(box.LineX1, c.Y1, box.LineX2, c.Y2, std::uint8_t(greys[i]));
    }
    return canvas.take();
}

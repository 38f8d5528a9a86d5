#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <gtest/gtest.h>

#include "engine/Neuran.h"
#include "workbench/LineBand.h"
#include "workbench/NetworkDiagram.h"
#include "workbench/Unit1Fixture.h"

namespace {

struct Line {
    int x1, y1, x2, y2;
    std::uint8_t grey;
};

constexpr QRgb kGround = qRgb(200, 0, 200);  // no grey line can leave this

QImage ground(QSize size, QImage::Format format)
{
    QImage image(size, format);
    image.fill(format == QImage::Format_Grayscale8 ? qRgb(0, 0, 0) : kGround);
    return image;
}

QImage paintedByQt(const std::vector<Line>& lines, QSize size, QImage::Format format = QImage::Format_RGB32)
{
    QImage image = ground(size, format);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Line& l : lines) {
        painter.setPen(QPen(QColor(l.grey, l.grey, l.grey), 0));
        painter.drawLine(l.x1, l.y1, l.x2, l.y2);
    }
    return image;
}

// The same lines drawn last first into bands of the given heights, stacked.
QImage paintedInBands(const std::vector<Line>& lines, QSize size, const std::vector<int>& heights,
                      QImage::Format format = QImage::Format_RGB32)
{
    QImage image = ground(size, format);
    int top = 0;
    for (std::size_t b = 0; top < size.height(); ++b) {
        const int height = heights[b % heights.size()];
        LineBandCanvas canvas(0, top, size.width(), height);
        for (auto it = lines.rbegin(); it != lines.rend(); ++it)
            canvas.drawUnder(it->x1, it->y1, it->x2, it->y2, it->grey);
        const LineBand band = canvas.take();
        for (int y = 0; y < band.Height && top + y < size.height(); ++y)
            for (int x = 0; x < band.Width; ++x)
                if (const std::uint32_t p = band.Pixels[std::size_t(y) * band.Width + x])
                    image.setPixel(x, top + y, p);
        top += height;
    }
    return image;
}

int differingPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    const auto rowBytes = std::size_t(a.width()) * a.depth() / 8;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width() && std::memcmp(a.constScanLine(y), b.constScanLine(y), rowBytes); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

TLayerParams randomParams()
{
    TLayerParams p;
    p.Activation = 2;
    return p;
}

}  // namespace

// Lines of every slant, direction and length, drawn one over another; cut
// into bands of odd heights so that bands cut through most of them.
TEST(LineBand, PixelsAreThoseOfThePainter)
{
    const QSize size(230, 3000);
    std::mt19937 random(20261211);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    std::vector<Line> lines;
    for (int i = 0; i < 6000; ++i) {
        Line l{pick(0, 229), pick(0, 2999), 0, 0, std::uint8_t(pick(0, 255))};
        switch (i % 6) {
        case 0: l.x2 = pick(0, 229); l.y2 = pick(0, 2999); break;                                    // anything
        case 1: l.x2 = pick(0, 229); l.y2 = std::clamp(l.y1 + pick(-120, 120), 0, 2999); break;      // mostly shallow
        case 2: l.x2 = std::clamp(l.x1 + pick(-3, 3), 0, 229); l.y2 = pick(0, 2999); break;         // very steep
        case 3: l.x2 = l.x1; l.y2 = pick(0, 2999); break;                                            // vertical
        case 4: l.x2 = pick(0, 229); l.y2 = l.y1; break;                                             // horizontal
        case 5: l.x2 = std::clamp(l.x1 + pick(-40, 40), 0, 229); l.y2 = std::clamp(l.y1 + l.x2 - l.x1, 0, 2999); break;  // diagonal
        }
        lines.push_back(l);
    }
    lines.push_back({5, 5, 5, 5, 17});  // a single point
    const QImage expected = paintedByQt(lines, size);
    EXPECT_EQ(differingPixels(paintedInBands(lines, size, {256}), expected), 0);
    EXPECT_EQ(differingPixels(paintedInBands(lines, size, {37, 100, 1, 64, 301}), expected), 0);
}

// Coordinates as far down as the tallest diagram reaches, where 16.16 fixed
// point no longer fits 32 bits. One byte a pixel keeps the surface small;
// the ground is black and no line is.
TEST(LineBand, PixelsAreThoseOfThePainterFarDown)
{
    const QSize size(100, 82000);
    std::mt19937 random(80000);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    std::vector<Line> lines;
    for (int i = 0; i < 800; ++i) {
        const int y1 = pick(40000, 81999);
        const int y2 = i % 2 ? std::clamp(y1 + pick(-150, 150), 0, 81999) : pick(0, 81999);
        lines.push_back({2, y1, 98, y2, std::uint8_t(pick(1, 255))});
    }
    const QImage expected = paintedByQt(lines, size, QImage::Format_Grayscale8);
    EXPECT_EQ(differingPixels(paintedInBands(lines, size, {256}, QImage::Format_Grayscale8), expected), 0);
}

// Big networks paint from cached bands, small ones draw their lines; both
// must give the same picture, wherever the view is. The painter's lines
// shift by a pixel here and there where it clips them, so the lines drawn
// directly are drawn whole, onto a surface that holds all of the diagram.
TEST(LineBand, CachedDiagramLooksExactlyAsDrawnDirectly)
{
    TNeuroNet net(150);
    net.AddLayer(120, randomParams());
    net.AddLayer(40, randomParams());
    net.Layer(1).Weight(3, 7) = 0;
    net.Layer(1).Weight(60, 100) = -net.MaxAbsWeight();
    NetworkDiagram direct;
    NetworkDiagram cached;
    cached.setLineCacheFrom(1);
    direct.setView(&net, true, false);
    cached.setView(&net, true, false);
    const QImage whole = direct.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (QRect view : {QRect(0, 0, 900, 520), QRect(0, 2900, 900, 700), QRect(70, 2617, 333, 1), whole.rect()}) {
        view &= whole.rect();
        QImage part(view.size(), QImage::Format_RGB32);
        cached.render(&part, QPoint(), QRegion(view));
        EXPECT_EQ(differingPixels(whole.copy(view), part), 0) << view.y();
    }
    EXPECT_GT(cached.lineRenders(), 0);
}

TEST(LineBand, OnlyAWeightChangeDrawsTheLinesAgain)
{
    TNeuroNet net(200);
    net.AddLayer(100, randomParams());
    net.AddLayer(10, randomParams());
    NetworkDiagram diagram;
    diagram.setLineCacheFrom(1);
    diagram.setView(&net, true, false);
    QImage target(900, 520, QImage::Format_RGB32);
    const auto paintAt = [&](int top) { diagram.render(&target, QPoint(), QRegion(0, top, 900, 520)); };
    paintAt(3000);
    const int first = diagram.lineRenders();
    ASSERT_GT(first, 0);

    paintAt(3060);  // a scroll step
    paintAt(3000);
    net.SetInput(1, 0.75);
    ASSERT_TRUE(net.Evaluate());
    diagram.redraw();  // what an evaluation does
    paintAt(3000);
    diagram.setView(&net, true, false);
    paintAt(3000);
    EXPECT_EQ(diagram.lineRenders(), first);

    struct Change {
        const char* what;
        std::function<void()> apply;
    };
    const double largest = net.MaxAbsWeight();
    const Change changes[] = {
        {"weight in view", [&] { net.Layer(1).Weight(50, 80) = -net.Layer(1).Weight(50, 80); }},
        {"largest weight elsewhere", [&] { net.Layer(2).Weight(0, 0) = 4 * largest; }},
        {"labels off", [&] { diagram.setLabels(false); }},
        {"randomized", [&] { net.Randomize(); }},
    };
    for (const Change& change : changes) {
        const int before = diagram.lineRenders();
        change.apply();
        diagram.redraw();
        paintAt(3000);
        EXPECT_GT(diagram.lineRenders(), before) << change.what;
    }
}

using DiagramInWindow = Unit1Fixture;

// The window's commands: an evaluation or another input vector leaves the
// lines as they were drawn; an edited weight draws them again.
TEST_F(DiagramInWindow, OnlyAnEditedLayerDrawsTheLinesAgain)
{
    newNetwork(3);
    addLayer(4, 2);
    NetworkDiagram& diagram = *form->PaintBox1;
    diagram.setLineCacheFrom(1);
    QImage target(diagram.size(), QImage::Format_RGB32);
    diagram.render(&target);
    const int first = diagram.lineRenders();
    ASSERT_GT(first, 0);

    form->EvaluateOutput1->trigger();
    diagram.render(&target);
    typeInputs({"1", "2", "3"});
    diagram.render(&target);
    EXPECT_EQ(diagram.lineRenders(), first);

    editLayer(1, {{1, 1, "0.5"}}, {});
    diagram.render(&target);
    EXPECT_GT(diagram.lineRenders(), first);
}

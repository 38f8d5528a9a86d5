#include <QFontMetrics>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "engine/Neuran.h"
#include "workbench/ActivationPictures.h"
#include "workbench/NetworkDiagram.h"
#include "workbench/ToolbarIcons.h"

namespace {

TLayerParams zeroParams(int activation)
{
    TLayerParams p;
    p.WeightInit = 1;
    p.BiasInit = 1;
    p.Activation = activation;
    return p;
}

QRgb grey(int g) { return qRgb(g, g, g); }

QImage render(NetworkDiagram& diagram) { return diagram.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Whether any pixel of the rectangle satisfies the test.
template <class Test>
bool anyPixel(const QImage& image, const QRect& rect, Test test)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.valid(x, y) && test(QColor(image.pixel(x, y))))
                return true;
    return false;
}

bool reddish(const QColor& c) { return c.red() > c.green() + 30; }
bool darkGrey(const QColor& c) { return c.red() == c.green() && c.green() == c.blue() && c.red() < 60; }
bool nearWhite(const QColor& c) { return c.red() == c.green() && c.green() == c.blue() && c.red() > 200; }

// Two inputs into two neurons: both columns are two rows tall, so input k
// and neuron k share a row and their line is horizontal.
class DiagramPixels : public ::testing::Test {
protected:
    void SetUp() override
    {
        net.AddLayer(2, zeroParams(1));
        TLayer& layer = net.Layer(1);
        layer.Weight(0, 0) = 2;     // +M, row 1
        layer.Weight(1, 1) = -2;    // -M, row 2
        layer.Weight(0, 1) = 0.5;   // input 2 to neuron 1, rising
        layer.Weight(1, 0) = 0;     // input 1 to neuron 2: no line
        diagram.setLabels(false);
        diagram.setNetwork(&net);
        image = render(diagram);
        in = diagram.Boxes[0];
        box = diagram.Boxes[1];
    }

    TNeuroNet net{2};
    NetworkDiagram diagram;
    QImage image;
    DiagramRect in, box;
};

}  // namespace

TEST_F(DiagramPixels, WeightLinesInGreyLevels)
{
    const int row1 = box.Top + 19;
    const int row2 = box.Top + 58;
    EXPECT_EQ(image.pixel(88, row1), grey(254));
    EXPECT_EQ(image.pixel(88, row2), grey(0));
    // 0.5 * 127 / 2 = 31.75 gives 31, so 158, on the line rising from row 2.
    const QRect onRising(60, row2 - 8 - 2, 1, 5);
    EXPECT_TRUE(anyPixel(image, onRising, [](const QColor& c) { return c.rgb() == grey(158); }));
    // Where the zero weight would run from row 1 down to row 2 there is only ground.
    const QRect onFalling(60, row1 + 8 - 2, 1, 5);
    EXPECT_FALSE(anyPixel(image, onFalling, [](const QColor& c) { return c.rgb() != grey(127); }));
    EXPECT_DOUBLE_EQ(diagram.MaxWeight, 2);
}

TEST_F(DiagramPixels, FramesShadowsAndCaptions)
{
    EXPECT_EQ(image.pixel(box.Left, box.Top), grey(0));
    EXPECT_EQ(image.pixel(box.Right - 1, box.Bottom - 1), grey(0));
    EXPECT_EQ(image.pixel(box.Left + 2, box.Top + 2), grey(127));  // not filled
    EXPECT_EQ(image.pixel(box.Left + 4, box.Bottom), grey(70));
    EXPECT_EQ(image.pixel(box.Right - 1, box.Bottom + 3), grey(70));
    EXPECT_EQ(image.pixel(box.Left + 3, box.Bottom), grey(127));
    EXPECT_EQ(image.pixel(box.Right, box.Top + 4), grey(70));
    EXPECT_EQ(image.pixel(box.Right + 3, box.Top + 10), grey(70));
    EXPECT_EQ(image.pixel(box.Right, box.Top + 3), grey(127));
    EXPECT_EQ(image.pixel(box.Right + 4, box.Top + 10), grey(127));

    // The activation picture sits inside the box: its axes are black.
    const int pictureTop = (box.Top + box.Bottom) / 2 - 16;
    EXPECT_EQ(image.pixel(box.Left + 4 + 16, pictureTop + 3), grey(0));

    const int th = diagram.textHeight();
    for (int j = 0; j <= diagram.LastBox; ++j) {
        const DiagramRect& b = diagram.Boxes[j];
        EXPECT_TRUE(anyPixel(image, QRect(b.Left, 0, 40, th), nearWhite)) << j;
    }
    EXPECT_FALSE(anyPixel(image, QRect(0, th, image.width(), 6), nearWhite));
}

TEST_F(DiagramPixels, OutputsAreReachedByAnArrow)
{
    const DiagramRect& out = diagram.Boxes[2];
    const int y = diagram.layout().CenterY;
    EXPECT_EQ(image.pixel(box.Right + 20, y - 4), grey(0));
    EXPECT_EQ(image.pixel(box.Right + 20, y + 4), grey(0));
    EXPECT_EQ(image.pixel(box.Right + 20, y), grey(127));  // an outline, not filled
    EXPECT_EQ(image.pixel(out.Left - 19, y - 8), grey(0));
    EXPECT_EQ(image.pixel(out.Left - 1, y), grey(0));
}

TEST(NetworkDiagram, SizesItselfFromTheFont)
{
    TNeuroNet net(1);
    net.AddLayer(1, zeroParams(0));
    NetworkDiagram diagram;
    EXPECT_EQ(diagram.LastBox, -1);
    EXPECT_EQ(diagram.HitTest(), -1);
    const int th = diagram.textHeight();
    EXPECT_EQ(th, QFontMetrics(DiagramFont()).height());
    EXPECT_EQ(DiagramFont().family(), "DejaVu Sans");
    EXPECT_EQ(DiagramFont().pointSize(), 8);
    EXPECT_EQ(th, 13);

    diagram.setLabels(false);
    diagram.setNetwork(&net);
    EXPECT_EQ(diagram.size(), QSize(328, 75));
    EXPECT_EQ(diagram.layout().CenterY, th + 27);
    EXPECT_EQ(diagram.LastBox, 2);
    diagram.setLabels(true);
    EXPECT_EQ(diagram.size(), QSize(512, 75));
    EXPECT_EQ(diagram.Boxes[0].Left, 100);
    diagram.setCompact(true);
    EXPECT_EQ(diagram.Boxes[1].Bottom - diagram.Boxes[1].Top, 38);
}

TEST(NetworkDiagram, OutputLabelsTurnDarkRedWhenNotEvaluated)
{
    TNeuroNet net(1);
    net.AddLayer(1, zeroParams(0));
    net.Layer(1).Weight(0, 0) = 1;
    net.SetInput(1, 0.25);
    ASSERT_TRUE(net.Evaluate());
    NetworkDiagram diagram;
    diagram.setNetwork(&net);
    const DiagramLabel input = diagram.layout().InputLabels.at(0);
    const DiagramLabel output = diagram.layout().OutputLabels.at(0);
    const int th = diagram.textHeight();
    const QRect inputRect(input.X, input.Y, 90, th);
    const QRect outputRect(output.X, output.Y, 90, th);

    QImage image = render(diagram);
    EXPECT_TRUE(anyPixel(image, inputRect, darkGrey));
    EXPECT_TRUE(anyPixel(image, outputRect, darkGrey));
    EXPECT_FALSE(anyPixel(image, outputRect, reddish));

    net.SetInput(1, 0.5);
    diagram.redraw();
    image = render(diagram);
    EXPECT_TRUE(anyPixel(image, outputRect, reddish));
    EXPECT_FALSE(anyPixel(image, outputRect, darkGrey));
    EXPECT_FALSE(anyPixel(image, inputRect, reddish));
    EXPECT_TRUE(anyPixel(image, outputRect, [](const QColor& c) { return c.rgb() == qRgb(128, 0, 0); }));
}

TEST(NetworkDiagram, PointerAndClicks)
{
    TNeuroNet net(1);
    net.AddLayer(1, zeroParams(0));
    NetworkDiagram diagram;
    diagram.setLabels(false);
    diagram.setNetwork(&net);
    QSignalSpy clicks(&diagram, &NetworkDiagram::clicked);

    diagram.PaintBox1MouseMove(150, 40);
    EXPECT_EQ(diagram.HitTest(), 1);
    EXPECT_EQ(diagram.cursor().shape(), Qt::PointingHandCursor);
    diagram.PaintBox1MouseMove(diagram.Boxes[1].Left, 40);  // on the outline
    EXPECT_EQ(diagram.HitTest(), -1);
    EXPECT_EQ(diagram.cursor().shape(), Qt::ArrowCursor);

    QTest::mouseClick(&diagram, Qt::LeftButton, {}, QPoint(280, 40));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(diagram.HitTest(), 2);
    QTest::mouseClick(&diagram, Qt::RightButton, {}, QPoint(150, 40));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(&diagram, Qt::LeftButton, {}, QPoint(100, 40));  // between boxes
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(diagram.HitTest(), -1);
}

TEST(ActivationPictures, SevenTransparentPlots)
{
    std::vector<QImage> pictures;
    for (int code = 0; code < 7; ++code) {
        const QImage picture = ActivationPicture(code).toImage();
        ASSERT_EQ(picture.size(), QSize(32, 32)) << code;
        EXPECT_TRUE(picture.hasAlphaChannel());
        EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << code;
        EXPECT_EQ(qAlpha(picture.pixel(31, 31)), 0) << code;
        EXPECT_EQ(picture.pixel(16, 2), qRgb(0, 0, 0)) << code;  // the y axis
        EXPECT_EQ(picture.pixel(30, 16), qRgb(0, 0, 0)) << code;  // the x axis
        for (const QImage& other : pictures)
            EXPECT_NE(picture, other) << code;
        pictures.push_back(picture);
    }
    const auto whiteRows = [](const QImage& picture) {
        std::vector<int> rows;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (qAlpha(picture.pixel(x, y)) > 200 && qRed(picture.pixel(x, y)) > 200)
                    rows.push_back(y);
        return std::pair(*std::min_element(rows.begin(), rows.end()), *std::max_element(rows.begin(), rows.end()));
    };
    const auto [logTop, logBottom] = whiteRows(pictures[1]);  // 0..1: above the axis only
    EXPECT_LE(logTop, 5);
    EXPECT_LE(logBottom, 17);
    const auto [tanTop, tanBottom] = whiteRows(pictures[2]);  // -1..1
    EXPECT_LE(tanTop, 5);
    EXPECT_GE(tanBottom, 27);
    EXPECT_TRUE(ActivationPicture(7).isNull());
}

TEST(ToolbarIcons, TenIconsAtTwoSizes)
{
    for (int i = 0; i < 10; ++i) {
        const QIcon icon = ToolbarIcon(i);
        ASSERT_FALSE(icon.isNull()) << i;
        EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16))) << i;
        EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32))) << i;
        const QImage small = icon.pixmap(16, 16).toImage();
        EXPECT_TRUE(anyPixel(small, small.rect(), [](const QColor& c) { return c.alpha() == 255; })) << i;
    }
    EXPECT_TRUE(ToolbarIcon(10).isNull());
    EXPECT_TRUE(ToolbarIcon(-1).isNull());
    EXPECT_FALSE(ProgramIcon().isNull());
}

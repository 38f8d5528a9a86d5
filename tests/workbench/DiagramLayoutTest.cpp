#include <functional>

#include <gtest/gtest.h>

#include "engine/Neuran.h"
#include "workbench/DiagramLayout.h"

namespace {

constexpr int kTH = 13;

TLayerParams zeroParams(int activation = 0)
{
    TLayerParams p;
    p.WeightInit = 1;
    p.BiasInit = 1;
    p.Activation = activation;
    return p;
}

// 1 input, one layer of one neuron with weight w.
TNeuroNet tinyNet(double w)
{
    TNeuroNet net(1);
    net.AddLayer(1, zeroParams(2));
    net.Layer(1).Weight(0, 0) = w;
    return net;
}

}  // namespace

TEST(DiagramLayout, OneInputOneNeuronWithoutLabels)
{
    const TNeuroNet net = tinyNet(0.5);
    const DiagramLayout d = LayoutDiagram(net, false, false, kTH);
    ASSERT_EQ(d.Items.size(), 3u);
    EXPECT_EQ(d.LastBox, 2);
    EXPECT_EQ(d.CenterY, kTH + 27);
    const int lefts[] = {0, 136, 272};
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(d.Boxes[j], (DiagramRect{lefts[j], 40 - 19, lefts[j] + 40, 40 + 19})) << j;
        EXPECT_EQ(d.Items[j].Rect, d.Boxes[j]);
    }
    EXPECT_EQ(d.Width, 328);
    EXPECT_EQ(d.Height, 75);
    EXPECT_EQ(d.Items[0].Caption, "Inputs (1)");
    EXPECT_EQ(d.Items[1].Caption, "Layer 1 (1)");
    EXPECT_EQ(d.Items[2].Caption, "Outputs");
    EXPECT_EQ(d.Items[0].Picture, -1);
    EXPECT_EQ(d.Items[1].Picture, 2);
    EXPECT_EQ(d.Items[2].Picture, -1);
    EXPECT_TRUE(d.InputLabels.empty());
    EXPECT_TRUE(d.OutputLabels.empty());

    // One line from the inputs box into the layer, an arrow into the outputs.
    const DiagramBox& layer = d.Items[1];
    EXPECT_FALSE(layer.HasArrow);
    EXPECT_EQ(layer.LineX1, 40);
    EXPECT_EQ(layer.LineX2, 136);
    ASSERT_EQ(layer.Connections.size(), 1u);
    EXPECT_EQ(layer.Connections[0].Y1, 40);
    EXPECT_EQ(layer.Connections[0].Y2, 40);
    EXPECT_EQ(layer.Connections[0].Weight, 0.5);
    EXPECT_DOUBLE_EQ(d.MaxWeight, 0.5);
    const DiagramBox& outputs = d.Items[2];
    ASSERT_TRUE(outputs.HasArrow);
    EXPECT_EQ(outputs.Arrow.X1, 176);
    EXPECT_EQ(outputs.Arrow.X2, 272);
    EXPECT_EQ(outputs.Arrow.Y, 40);
}

TEST(DiagramLayout, LabelsShiftEverythingAndWidenTheSurface)
{
    TNeuroNet net = tinyNet(1);
    net.SetInput(1, 0.5);
    ASSERT_TRUE(net.Evaluate());
    const DiagramLayout plain = LayoutDiagram(net, false, false, kTH);
    const DiagramLayout d = LayoutDiagram(net, true, false, kTH);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(d.Boxes[j].Left, plain.Boxes[j].Left + 100);
        EXPECT_EQ(d.Boxes[j].Top, plain.Boxes[j].Top);
    }
    EXPECT_EQ(d.Width, 512);
    EXPECT_EQ(d.Height, 75);

    ASSERT_EQ(d.InputLabels.size(), 1u);
    EXPECT_EQ(d.InputLabels[0].X, 0);
    EXPECT_EQ(d.InputLabels[0].Y, 21 + 9);
    EXPECT_EQ(d.InputLabels[0].Text, "5.0000E-001");
    EXPECT_FALSE(d.InputLabels[0].DarkRed);
    ASSERT_EQ(d.OutputLabels.size(), 1u);
    EXPECT_EQ(d.OutputLabels[0].X, 412 + 16);
    EXPECT_EQ(d.OutputLabels[0].Y, 30);
    EXPECT_EQ(d.OutputLabels[0].Text, "4.6212E-001");  // tanh(0.5)
    EXPECT_FALSE(d.OutputLabels[0].DarkRed);

    net.SetInput(1, 2);  // outputs now out of date
    const DiagramLayout stale = LayoutDiagram(net, true, false, kTH);
    EXPECT_TRUE(stale.OutputLabels[0].DarkRed);
    EXPECT_EQ(stale.OutputLabels[0].Text, "4.6212E-001");
    EXPECT_EQ(stale.InputLabels[0].Text, "2.0000E+000");
}

TEST(DiagramLayout, NetworkWithoutLayers)
{
    TNeuroNet net(3);
    const DiagramLayout d = LayoutDiagram(net, false, false, kTH);
    ASSERT_EQ(d.Items.size(), 2u);
    EXPECT_EQ(d.LastBox, 1);
    // Three rows: 58 pixels either side of the centre line.
    EXPECT_EQ(d.CenterY, kTH + 8 + 58);
    EXPECT_EQ(d.Boxes[0], (DiagramRect{0, kTH + 8, 40, kTH + 8 + 116}));
    EXPECT_EQ(d.Boxes[1], (DiagramRect{136, kTH + 8, 176, kTH + 8 + 116}));
    ASSERT_TRUE(d.Items[1].HasArrow);
    EXPECT_EQ(d.Items[1].Arrow.X1, 40);
    EXPECT_EQ(d.Items[1].Arrow.X2, 136);
    EXPECT_EQ(d.Items[1].Arrow.Y, d.CenterY);
    EXPECT_DOUBLE_EQ(d.MaxWeight, 1);
    EXPECT_EQ(d.Width, 192);
    EXPECT_EQ(d.Height, kTH + 8 + 116 + 16);
}

TEST(DiagramLayout, TallestColumnSetsTheCentreAndEveryRowHasItsLine)
{
    TNeuroNet net(2);
    net.AddLayer(5, zeroParams());
    net.AddLayer(1, zeroParams());
    for (int n = 0; n < 5; ++n)
        for (int k = 0; k < 2; ++k)
            net.Layer(1).Weight(n, k) = (n + 1) * (k == 0 ? 1 : -1);
    net.Layer(2).Weight(0, 3) = 2;  // the only non-zero weight into layer 2
    const DiagramLayout d = LayoutDiagram(net, false, false, kTH);

    EXPECT_EQ(d.CenterY, kTH + 8 + 97);
    EXPECT_EQ(d.Boxes[1].Top, kTH + 8);  // the tallest column starts at TH + 8
    EXPECT_EQ(d.Boxes[1].Bottom, kTH + 8 + 194);
    EXPECT_EQ(d.Boxes[0].Top, d.CenterY - 39);
    EXPECT_EQ(d.Boxes[2].Top, d.CenterY - 19);
    EXPECT_EQ(d.Boxes[3].Top, d.CenterY - 19);  // one output
    EXPECT_EQ(d.Height, d.Boxes[1].Bottom + 16);
    EXPECT_DOUBLE_EQ(d.MaxWeight, 5);

    const auto& into1 = d.Items[1].Connections;
    ASSERT_EQ(into1.size(), 10u);
    // Drawn neuron by neuron, input by input.
    EXPECT_EQ(into1[0].Y1, d.Boxes[0].Top + 19);
    EXPECT_EQ(into1[1].Y1, d.Boxes[0].Top + 39 + 19);
    EXPECT_EQ(into1[3].Y2, d.Boxes[1].Top + 39 + 19);
    EXPECT_EQ(into1[3].Weight, -2);

    const auto& into2 = d.Items[2].Connections;
    ASSERT_EQ(into2.size(), 1u);
    EXPECT_EQ(into2[0].Y1, d.Boxes[1].Top + 3 * 39 + 19);
    EXPECT_EQ(into2[0].Y2, d.Boxes[2].Top + 19);
}

TEST(DiagramLayout, CompactViewHasEqualBoxesAndArrows)
{
    TNeuroNet net(4);
    net.AddLayer(7, zeroParams(1));
    net.AddLayer(2, zeroParams(5));
    net.Layer(1).Weight(0, 0) = 1;
    const DiagramLayout d = LayoutDiagram(net, false, true, kTH);
    EXPECT_EQ(d.CenterY, kTH + 27);
    for (int j = 0; j <= d.LastBox; ++j) {
        EXPECT_EQ(d.Boxes[j].Bottom - d.Boxes[j].Top, 38) << j;
        EXPECT_EQ(d.Boxes[j].Top, kTH + 8) << j;
        EXPECT_TRUE(d.Items[j].Connections.empty()) << j;
        EXPECT_EQ(d.Items[j].HasArrow, j > 0) << j;
        if (j > 0) {
            EXPECT_EQ(d.Items[j].Arrow.X1, d.Boxes[j - 1].Right);
            EXPECT_EQ(d.Items[j].Arrow.X2, d.Boxes[j].Left);
        }
    }
    EXPECT_EQ(d.Height, kTH + 46 + 16);
    EXPECT_EQ(d.Width, 3 * 136 + 40 + 16);
}

TEST(DiagramLayout, FollowsTheTextHeight)
{
    const TNeuroNet net = tinyNet(1);
    const DiagramLayout d = LayoutDiagram(net, false, false, 16);
    EXPECT_EQ(d.CenterY, 43);
    EXPECT_EQ(d.Height, 78);
}

TEST(DiagramLayout, HitTestIsStrictOnEverySide)
{
    const TNeuroNet net = tinyNet(1);
    const DiagramLayout d = LayoutDiagram(net, false, false, kTH);
    const DiagramRect& b = d.Boxes[1];  // 136..175 x 21..58
    struct Case {
        int x, y, expected;
    };
    const Case cases[] = {
        {b.Left, b.Top + 5, -1},          {b.Left + 1, b.Top + 5, 1},
        {b.Left + 5, b.Top, -1},          {b.Left + 5, b.Top + 1, 1},
        {b.Right - 1, b.Bottom - 1, 1},   {b.Right, b.Top + 5, -1},
        {b.Left + 5, b.Bottom, -1},       {1, 22, 0},
        {273, 22, 2},                     {100, 40, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitTest(d.Boxes, d.LastBox, c.x, c.y), c.expected) << c.x << "," << c.y;
    EXPECT_EQ(HitTest(d.Boxes, -1, 1, 22), -1);  // before the first drawing
    EXPECT_EQ(HitTest(d.Boxes, 1, 273, 22), -1);  // only boxes up to lastBox count
}

TEST(DiagramLayout, WeightGreyLevels)
{
    struct Case {
        double w, m;
        int grey;
    };
    const Case cases[] = {
        {5, 5, 254},   {-5, 5, 0},      {1e-9, 5, 127},   {-1e-9, 5, 127}, {2.5, 5, 190},
        {-2.5, 5, 64}, {0.999, 1, 253}, {-0.999, 1, 1},   {2, 1, 125},  // low eight bits of 381
        {-2, 1, 129},                                                   // of -127
    };
    for (const Case& c : cases)
        EXPECT_EQ(WeightGrey(c.w, c.m), c.grey) << c.w << "/" << c.m;
    EXPECT_EQ(WeightGrey(0, 5), -1);
    EXPECT_EQ(WeightGrey(-0.0, 5), -1);
    EXPECT_GE(WeightGrey(1, 0), 0);  // a broken maximum still gives a colour
}

TEST(DiagramLayout, ArrowOutline)
{
    const auto points = ArrowOutline({176, 272, 40});
    const std::vector<std::array<int, 2>> expected = {{176, 36}, {253, 36}, {253, 32}, {271, 40},
                                                      {253, 48}, {253, 44}, {176, 44}};
    EXPECT_EQ(points, expected);
}

namespace {

TNeuroNet threeIntoTwo()
{
    TNeuroNet net(3);
    net.AddLayer(2, zeroParams());
    net.Layer(1).Weight(0, 1) = 0.5;
    net.Layer(1).Weight(1, 2) = -1;
    return net;
}

}  // namespace

TEST(DiagramLayout, UnchangedLinesAreTakenOverFromThePreviousLayout)
{
    TNeuroNet net = threeIntoTwo();
    DiagramLayout previous = LayoutDiagram(net, true, false, kTH);
    const std::vector<DiagramConnection> lines = previous.Items[1].Connections;
    EXPECT_FALSE(previous.Items[1].LinesReused);

    net.SetInput(1, 3);  // only the labels change
    DiagramLayout again = LayoutDiagram(net, true, false, kTH, &previous);
    EXPECT_TRUE(again.Items[1].LinesReused);
    ASSERT_EQ(again.Items[1].Connections.size(), lines.size());
    EXPECT_EQ(again.Items[1].Connections[1].Y2, lines[1].Y2);
    EXPECT_EQ(again.InputLabels[0].Text, LayoutDiagram(net, true, false, kTH).InputLabels[0].Text);

    struct Case {
        const char* what;
        std::function<void(TNeuroNet&)> change;
        bool labels;
    };
    const Case cases[] = {
        {"weight", [](TNeuroNet& n) { n.Layer(1).Weight(0, 1) = 0.25; }, true},
        {"zero becomes a line", [](TNeuroNet& n) { n.Layer(1).Weight(0, 0) = 1; }, true},
        {"line becomes zero", [](TNeuroNet& n) { n.Layer(1).Weight(1, 2) = 0; }, true},
        {"labels move the boxes", [](TNeuroNet&) {}, false},
        {"more inputs move the rows", [](TNeuroNet& n) { n.SetInputCount(4); }, true},
    };
    for (const Case& c : cases) {
        TNeuroNet changed = threeIntoTwo();
        DiagramLayout old = LayoutDiagram(changed, true, false, kTH);
        c.change(changed);
        const DiagramLayout fresh = LayoutDiagram(changed, c.labels, false, kTH);
        const DiagramLayout next = LayoutDiagram(changed, c.labels, false, kTH, &old);
        EXPECT_FALSE(next.Items[1].LinesReused) << c.what;
        ASSERT_EQ(next.Items[1].Connections.size(), fresh.Items[1].Connections.size()) << c.what;
        for (std::size_t i = 0; i < fresh.Items[1].Connections.size(); ++i) {
            EXPECT_EQ(next.Items[1].Connections[i].Y1, fresh.Items[1].Connections[i].Y1) << c.what;
            EXPECT_EQ(next.Items[1].Connections[i].Weight, fresh.Items[1].Connections[i].Weight) << c.what;
        }
        EXPECT_EQ(next.Items[1].LineX1, fresh.Items[1].LineX1) << c.what;
    }
}

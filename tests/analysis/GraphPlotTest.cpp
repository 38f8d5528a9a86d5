#include <cmath>
#include <numbers>
#include <stdexcept>

#include <gtest/gtest.h>

#include "analysis/GraphPlot.h"
#include "analysis/PlotData.h"
#include "analysis/RelativeError.h"

namespace {

const SeriesFill* findFill(const PlotResult& result, PlotChart chart, int series)
{
    for (const SeriesFill& fill : result.Fills)
        if (fill.Chart == chart && fill.Series == series)
            return &fill;
    return nullptr;
}

// Input 1 and lag output 1 selected, every output checked.
PlotRequest allChecked(int outputs)
{
    return {1, std::vector<bool>(outputs, true), std::vector<bool>(outputs, true), 1};
}

TEST(GraphPlot, SweepRunsWhileMaxPlusStepExceedsX)
{
    struct Case {
        double min, max;
        std::size_t count;
    };
    // Accumulating the step lands just below max on 0..2 pi, so one more point
    // fits before max + step.
    const Case cases[] = {{0, 1, 101}, {0, 100, 101}, {-1, 1, 101}, {0, 2 * std::numbers::pi, 102}};
    for (const Case& c : cases) {
        double step = (c.max - c.min) / 100;
        std::vector<double> x = SweepPositions(c.min, c.max, step);
        ASSERT_EQ(x.size(), c.count) << c.min << ".." << c.max;
        EXPECT_EQ(x.front(), c.min);
        EXPECT_NEAR(x[1] - x[0], step, 1e-15);
        EXPECT_LT(x.back(), c.max + step);
    }
    // A step below the precision of x would never move it: one point, no hang.
    EXPECT_EQ(SweepPositions(1e16, 1e16 + 2, 0.02).size(), 1u);
    EXPECT_TRUE(SweepPositions(0, 1, std::nan("")).empty());
}

TEST(GraphPlot, OneInputDrawsTheResponseAcrossTheRangeAndTargetsAtTheData)
{
    TNeuroNet net = LinearNet({{2}}, {0.5});
    TDatasetRows rows = MakeRows(1, 1, {{0.5, 3}, {0, 1}, {1, 2}, {0.25, 0}});
    PlotResult plot = ComputePlot(net, rows, allChecked(1));
    ASSERT_EQ(plot.Ending, PlotEnding::Complete);

    const SeriesFill* line = findFill(plot, PlotChart::Graphs, 0);
    const SeriesFill* targets = findFill(plot, PlotChart::Graphs, 1);
    ASSERT_TRUE(line && targets);
    EXPECT_TRUE(line->Visible && targets->Visible);
    ASSERT_EQ(line->Points.size(), 101u);
    EXPECT_EQ(line->Points.front(), (PlotPoint{0, 0.5}));
    EXPECT_NEAR(line->Points[1].X, 0.01, 1e-15);
    EXPECT_NEAR(line->Points.back().X, 1, 1e-12);
    for (const PlotPoint& p : line->Points)
        EXPECT_NEAR(p.Y, 2 * p.X + 0.5, 1e-12);
    EXPECT_EQ(targets->Points, (PlotPoints{{0, 1}, {0.25, 0}, {0.5, 3}, {1, 2}})) << "kept in ascending x";

    // The last evaluation is the lag chart's, on the last pattern.
    EXPECT_EQ(net.Inputs[0], 0.25);
    EXPECT_EQ(net.Outputs[0], 1);
}

TEST(GraphPlot, SeveralInputsDrawOnePointPerPatternOrderedByTheSelectedInput)
{
    TNeuroNet net = LinearNet({{1, 10}}, {0});
    TDatasetRows rows = MakeRows(2, 1, {{3, 1, 0}, {1, 2, 0}, {2, 0, 0}});
    PlotRequest request = allChecked(1);
    for (int input : {1, 2}) {
        request.Input = input;
        PlotResult plot = ComputePlot(net, rows, request);
        const SeriesFill* line = findFill(plot, PlotChart::Graphs, 0);
        ASSERT_TRUE(line);
        const PlotPoints expected = input == 1 ? PlotPoints{{1, 21}, {2, 2}, {3, 13}}
                                               : PlotPoints{{0, 2}, {1, 13}, {2, 21}};
        EXPECT_EQ(line->Points, expected) << "input " << input;
    }
}

TEST(GraphPlot, NoSelectedInputDrawsNothing)
{
    TNeuroNet net(1);
    TDatasetRows rows = MakeRows(1, 1, {{1, 1}});
    for (int input : {0, 2}) {
        PlotRequest request = allChecked(1);
        request.Input = input;
        PlotResult plot = ComputePlot(net, rows, request);
        EXPECT_TRUE(plot.Fills.empty());
        EXPECT_FALSE(plot.MeanText);
    }
}

TEST(GraphPlot, RelativeErrorDividesByTheTargetUnlessItIsZero)
{
    struct Case {
        double target, output, r;
    };
    const Case cases[] = {{2, 1.5, 0.25}, {-2, -1, -0.5}, {-4, -5, 0.25}, {0, 0.3, -0.3}, {0, -0.5, 0.5}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(RelativeError(c.target, c.output), c.r) << c.target << " " << c.output;
    EXPECT_THROW(RelativeError(1e-310, 1e10), std::runtime_error) << "beyond the double range";
}

TEST(GraphPlot, ErrorSeriesCarryPercentsAndTheirTitlesTheMeanAndDeviation)
{
    // Without layers the output is the input: errors 0.5, 0 and 0.
    TNeuroNet net(1);
    TDatasetRows rows = MakeRows(1, 1, {{1, 2}, {2, 2}, {4, 4}});
    PlotResult plot = ComputePlot(net, rows, allChecked(1));
    const SeriesFill* errors = findFill(plot, PlotChart::Errors, 0);
    ASSERT_TRUE(errors);
    EXPECT_EQ(errors->Points, (PlotPoints{{1, 50}, {2, 0}, {3, 0}}));
    // Mean 1/6, deviation sqrt(1/18).
    EXPECT_EQ(errors->Title, "  1   16.67%   23.57%");
    EXPECT_EQ(plot.MeanText, "16.6666666666667");
    EXPECT_EQ(plot.RMSText, "23.5702260395516");
}

TEST(GraphPlot, AveragesRunOverTheCheckedErrorOutputsOnly)
{
    // Output 1 is off by 10 %, output 2 by 50 %, output 3 by 30 %.
    TNeuroNet net = LinearNet({{1}, {1}, {1}}, {0, 0, 0});
    TDatasetRows rows = MakeRows(1, 3, {{1, 1.0 / 0.9, 2, 1.0 / 0.7}});
    PlotRequest request = allChecked(3);
    request.ErrorOutputs = {false, true, true};
    PlotResult plot = ComputePlot(net, rows, request);
    const SeriesFill* first = findFill(plot, PlotChart::Errors, 0);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->Visible);
    EXPECT_TRUE(first->Points.empty());
    EXPECT_FALSE(first->Title) << "an unchecked output keeps its title";
    EXPECT_EQ(plot.MeanText, "40");
    EXPECT_EQ(plot.RMSText, "0");

    request.ErrorOutputs = {false, false, false};
    plot = ComputePlot(net, rows, request);
    EXPECT_EQ(plot.MeanText, "") << "every output unchecked clears both fields";
    EXPECT_EQ(plot.RMSText, "");
    for (int t = 0; t < 3; ++t)
        EXPECT_FALSE(findFill(plot, PlotChart::Errors, t)->Visible);
}

TEST(GraphPlot, UncheckedResponseOutputsAreEmptiedAndHidden)
{
    TNeuroNet net = LinearNet({{1}, {2}}, {0, 0});
    TDatasetRows rows = MakeRows(1, 2, {{0, 0, 0}, {1, 1, 2}});
    PlotRequest request = allChecked(2);
    request.GraphOutputs = {true, false};
    PlotResult plot = ComputePlot(net, rows, request);
    for (int series : {2, 3}) {
        const SeriesFill* fill = findFill(plot, PlotChart::Graphs, series);
        ASSERT_TRUE(fill);
        EXPECT_FALSE(fill->Visible);
        EXPECT_TRUE(fill->Points.empty());
    }
    EXPECT_EQ(findFill(plot, PlotChart::Graphs, 1)->Points.size(), 2u);
}

TEST(GraphPlot, LagsDrawTheDiagonalOverTheTargetsAndOutputAgainstTarget)
{
    TNeuroNet net = LinearNet({{1}, {0}}, {0, 0.5});
    TDatasetRows rows = MakeRows(1, 2, {{2, 4, 0.5}, {1, 0, 0.5}, {3, 1, 0.5}});
    PlotRequest request = allChecked(2);
    PlotResult plot = ComputePlot(net, rows, request);
    const SeriesFill* diagonal = findFill(plot, PlotChart::Lags, 0);
    const SeriesFill* points = findFill(plot, PlotChart::Lags, 1);
    ASSERT_TRUE(diagonal && points);
    EXPECT_TRUE(diagonal->Visible);
    ASSERT_EQ(diagonal->Points.size(), 101u);
    for (const PlotPoint& p : diagonal->Points)
        EXPECT_EQ(p.X, p.Y);
    EXPECT_EQ(diagonal->Points.front().X, 0);
    EXPECT_EQ(points->Points, (PlotPoints{{0, 1}, {1, 3}, {4, 2}}));

    // Output 2's targets are all equal: no diagonal, the points still drawn.
    request.LagOutput = 2;
    plot = ComputePlot(net, rows, request);
    EXPECT_FALSE(findFill(plot, PlotChart::Lags, 0)->Visible);
    EXPECT_TRUE(findFill(plot, PlotChart::Lags, 0)->Points.empty());
    EXPECT_EQ(findFill(plot, PlotChart::Lags, 1)->Points, (PlotPoints{{0.5, 0.5}, {0.5, 0.5}, {0.5, 0.5}}));

    request.LagOutput = 0;
    plot = ComputePlot(net, rows, request);
    EXPECT_FALSE(findFill(plot, PlotChart::Lags, 0));
    EXPECT_TRUE(plot.MeanText) << "the other charts are drawn without a lag output";
}

TEST(GraphPlot, AnOverflowEndsThePlotWhereItStands)
{
    // The third pattern overflows the layer; two inputs, so the response
    // chart evaluates the patterns itself.
    TNeuroNet net = LinearNet({{1e40, 0}}, {0});
    TDatasetRows rows = MakeRows(2, 1, {{1, 0, 1}, {2, 0, 1}, {1e20, 0, 1}, {3, 0, 1}});
    PlotResult plot = ComputePlot(net, rows, allChecked(1));
    EXPECT_EQ(plot.Ending, PlotEnding::Overflow);
    ASSERT_EQ(plot.Fills.size(), 2u) << "only the first output's two series were begun";
    EXPECT_EQ(plot.Fills[0].Points, (PlotPoints{{1, 1e40}, {2, 2e40}}));
    EXPECT_EQ(plot.Fills[1].Points, (PlotPoints{{1, 1}, {2, 1}}));
    EXPECT_FALSE(plot.MeanText);
    EXPECT_FALSE(net.Evaluated);
    EXPECT_EQ(net.Inputs[0], 1e20) << "the failed evaluation's inputs stay";

    // With one input the response sweep overflows first: the targets are not
    // drawn either.
    TNeuroNet single = LinearNet({{1e40}}, {0});
    TDatasetRows wide = MakeRows(1, 1, {{0, 1}, {1e20, 1}});
    plot = ComputePlot(single, wide, allChecked(1));
    EXPECT_EQ(plot.Ending, PlotEnding::Overflow);
    ASSERT_EQ(plot.Fills.size(), 1u);
    EXPECT_FALSE(plot.Fills[0].Points.empty());
    EXPECT_LT(plot.Fills[0].Points.size(), 101u);
}

TEST(GraphPlot, AFloatingPointErrorIsHandedBackAfterThePartialPlot)
{
    // A tiny target turns the error quotient beyond the double range.
    TNeuroNet net(1);
    TDatasetRows rows = MakeRows(1, 1, {{1, 2}, {1e10, 1e-310}, {1, 1}});
    PlotResult plot = ComputePlot(net, rows, allChecked(1));
    ASSERT_EQ(plot.Ending, PlotEnding::Error);
    ASSERT_TRUE(plot.Error);
    try {
        std::rethrow_exception(plot.Error);
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }
    const SeriesFill* errors = findFill(plot, PlotChart::Errors, 0);
    ASSERT_TRUE(errors);
    EXPECT_EQ(errors->Points, (PlotPoints{{1, 50}}));
    EXPECT_FALSE(errors->Title);
    EXPECT_FALSE(findFill(plot, PlotChart::Lags, 1));
}

}  // namespace

namespace {

TEST(GraphPlot, EditorMatricesBecomeRowsNarrowedToDoubles)
{
    TMatrix inputs(3, 2), outputs(2, 1);
    inputs.SetItem(0, 0, 1);
    inputs.SetItem(0, 1, 0.1L);
    inputs.SetItem(1, 0, 2);
    outputs.SetItem(0, 0, -1);
    outputs.SetItem(1, 0, 5);
    TDatasetRows rows = RowsFromMatrices(inputs, outputs);
    EXPECT_EQ(rows.PatternCount(), 2) << "no more patterns than the shorter matrix holds";
    EXPECT_EQ(rows.Values, (std::vector<double>{1, 0.1, -1, 2, 0, 5}));

    inputs.SetItem(2, 1, 1e400L);
    outputs.Resize(3, 1);
    EXPECT_THROW(RowsFromMatrices(inputs, outputs), std::runtime_error);
}

}  // namespace

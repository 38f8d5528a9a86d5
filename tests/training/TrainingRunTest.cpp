#include "training/TrainingRun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "data/NumberText.h"
#include "engine/Errors.h"
#include "files/NetFile.h"
#include "files/TestFiles.h"
#include "platform/Platform.h"

namespace {

struct Dataset {
    std::vector<std::vector<double>> inputs, targets;
};

// Loads data into net as the editor would hand it over; net is then ready to train.
TDatasetRows load(TNeuroNet& net, const Dataset& data)
{
    TMatrix in(int(data.inputs.size()), int(data.inputs[0].size()));
    TMatrix out(int(data.targets.size()), int(data.targets[0].size()));
    for (int p = 0; p < in.Rows(); ++p) {
        for (int i = 0; i < in.Cols(); ++i)
            in.SetItem(p, i, data.inputs[p][i]);
        for (int j = 0; j < out.Cols(); ++j)
            out.SetItem(p, j, data.targets[p][j]);
    }
    TDatasetRows rows;
    EXPECT_TRUE(LoadTrainingSet(in, out, net, rows));
    SetRangesFromData(net, rows);
    return rows;
}

// A 2-3-2 net: hyperbolic tangent hidden layer, linear outputs, fixed random weights.
TNeuroNet smallNet()
{
    platform::SetSeedClock([] { return 1234u; });
    TNeuroNet net(2);
    TLayerParams hidden;
    hidden.Activation = 2;
    net.AddLayer(3, hidden);
    net.AddLayer(2, TLayerParams{});
    platform::SetSeedClock({});
    return net;
}

// Second input constant; the second target column holds a 0.
const Dataset kSmallData = {
    {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}},
    {{1, 2}, {2, 0}, {3, -1}, {2.5, 4}, {1.5, 3}, {0.5, -2}},
};

// A 1-1 linear net whose weight and bias are given.
TNeuroNet linearNet(double weight, double bias, int outputs = 1)
{
    TNeuroNet net(1);
    TLayerParams zeros;
    zeros.WeightInit = zeros.BiasInit = 1;
    net.AddLayer(outputs, zeros);
    for (int n = 0; n < outputs; ++n) {
        net.Layer(1).Weight(n, 0) = weight;
        net.Layer(1).Bias[n] = bias;
    }
    return net;
}

std::vector<double> allWeights(const TNeuroNet& net)
{
    std::vector<double> all;
    for (const auto& layer : net.Layers) {
        all.insert(all.end(), layer->Weights.begin(), layer->Weights.end());
        all.insert(all.end(), layer->Bias.begin(), layer->Bias.end());
    }
    return all;
}

struct Window {
    int iterations;
    double windowMax, average, deviation;
    std::vector<std::string> titles;
};

struct RunResult {
    int stopState = 0;
    int iterations = 0;
    double epochMaxError = 0;
    std::vector<Window> windows;
    std::vector<double> weights;
};

// The run written out plainly: load, ranges from the columns, then epochs of
// per-pattern evaluate, errors, back-propagation and one update, the stop
// tests in order and the statistics of each window.
RunResult referenceRun(TNeuroNet& net, const Dataset& data, const TTrainingSettings& s, int userStopAt)
{
    const int P = int(data.inputs.size()), NI = net.InputCount(), NO = net.OutputCount();
    net.BeginTraining();
    auto range = [&](const std::vector<std::vector<double>>& rows, int c) {
        double lo = rows[0][c], hi = rows[0][c];
        for (int p = 1; p < P; ++p) {
            hi = rows[p][c] > hi ? rows[p][c] : hi;
            lo = rows[p][c] < lo ? rows[p][c] : lo;
        }
        return hi > lo ? TRange{lo, hi} : TRange{1, -1};
    };
    for (int i = 0; i < NI; ++i)
        net.InputRanges[i] = range(data.inputs, i);
    for (int j = 0; j < NO; ++j)
        net.OutputRanges[j] = range(data.targets, j);

    std::vector<std::vector<long double>> E(NO, std::vector<long double>(P, 0));
    RunResult result;
    int windowCount = 0;
    double windowMaxSum = 0;
    while (result.stopState == 0) {
        ++result.iterations;
        ++windowCount;
        double epochMax = 0;
        bool overflow = false;
        for (int p = 0; p < P && !overflow; ++p) {
            net.SetInputs(NI, data.inputs[p].data());
            if (!net.Evaluate()) {
                overflow = true;
                break;
            }
            for (int j = 0; j < NO; ++j) {
                long double t = data.targets[p][j], o = net.Outputs[j];
                double r = double(t != 0 ? (t - o) / fabsl(t) : t - o);
                E[j][p] += r;
                if (std::fabs(r) > epochMax)
                    epochMax = std::fabs(r);
                const TRange& q = net.OutputRanges[j];
                long double e = t - o;
                if (q.Max > q.Min) {
                    long double st = (t - q.Min) * 1.8L / ((long double)q.Max - q.Min) - 0.9L;
                    long double so = (o - q.Min) * 1.8L / ((long double)q.Max - q.Min) - 0.9L;
                    e = st - so;
                }
                net.LastLayer().Deltas[j] = double(e);
            }
            net.BackPropagate(s.Algorithm);
        }
        result.epochMaxError = epochMax;
        if (overflow) {
            result.stopState = 4;
            break;
        }
        net.ApplyCorrections();
        if (result.iterations == userStopAt)
            result.stopState = 1;
        if (result.iterations >= s.MaxIterations)
            result.stopState = 2;
        if (!(100.0L * epochMax > s.AcceptableError))
            result.stopState = 3;
        if (!(epochMax <= 1e50L))
            result.stopState = 4;
        windowMaxSum += epochMax;
        if (windowCount < s.Buffer)
            continue;
        Window w{result.iterations, double(100.0L * windowMaxSum / windowCount), 0, 0, {}};
        long double sumMean = 0, sumDev = 0;
        for (int j = 0; j < NO; ++j) {
            long double mean = 0, squares = 0;
            for (int p = 0; p < P; ++p) {
                E[j][p] *= 1.0L / windowCount;
                mean += fabsl(E[j][p]);
            }
            mean *= 1.0L / P;
            for (int p = 0; p < P; ++p)
                squares += (fabsl(E[j][p]) - mean) * (fabsl(E[j][p]) - mean);
            long double dev = sqrtl(squares / P);
            sumMean += mean;
            sumDev += dev;
            w.titles.push_back(PadFloat(j + 1, 2, 0) + " " + PadFloat(100 * mean, 6, 2) + "% " + PadFloat(100 * dev, 6, 2) + "%");
            std::fill(E[j].begin(), E[j].end(), 0);
        }
        w.average = double(100 * sumMean / NO);
        w.deviation = double(100 * sumDev / NO);
        result.windows.push_back(w);
        windowCount = 0;
        windowMaxSum = 0;
    }
    net.EndTraining();
    result.weights = allWeights(net);
    return result;
}

RunResult coreRun(TNeuroNet& net, const Dataset& data, const TTrainingSettings& s, int userStopAt)
{
    TDatasetRows rows = load(net, data);
    TMatrix errors;
    RunResult result;
    TTrainingRun run(net, rows, errors, s);
    int stopState = 0;
    run.Run(
        stopState, [&] { if (run.Iterations() == userStopAt) stopState = 1; },
        [&](const TWindowSummary& w) {
            result.windows.push_back({w.Iterations, w.WindowMax, w.Average, w.Deviation, w.Titles});
        });
    result.stopState = stopState;
    result.iterations = run.Iterations();
    result.epochMaxError = run.EpochMaxError();
    FreeTrainingSet(net, rows);
    result.weights = allWeights(net);
    return result;
}

TEST(TrainingRun, GivesBitForBitTheNumbersOfThePlainLoop)
{
    struct Case {
        const char* what;
        TTrainingSettings settings;
        double momentum;
        int userStopAt;
        int expectedStop;
    };
    const Case cases[] = {
        {"error back-propagation to the limit", {1, 300, -1, 50}, 0, -1, 2},
        {"fast back-propagation to the limit", {2, 300, -1, 50}, 0.3, -1, 2},
        {"stopped by the user mid-window", {2, 1000, -1, 50}, 0.3, 120, 1},
        {"acceptable error", {1, 100000, 35, 50}, 0, -1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TNeuroNet a = smallNet(), b = smallNet();
        for (TNeuroNet* net : {&a, &b}) {
            net->LearningRate = 0.02;
            net->Momentum = c.momentum;
        }
        RunResult expected = referenceRun(a, kSmallData, c.settings, c.userStopAt);
        RunResult got = coreRun(b, kSmallData, c.settings, c.userStopAt);
        EXPECT_EQ(got.stopState, c.expectedStop);
        EXPECT_EQ(got.stopState, expected.stopState);
        EXPECT_EQ(got.iterations, expected.iterations);
        EXPECT_EQ(got.epochMaxError, expected.epochMaxError);
        EXPECT_EQ(got.weights, expected.weights);
        ASSERT_EQ(got.windows.size(), expected.windows.size());
        ASSERT_FALSE(got.windows.empty());
        for (std::size_t k = 0; k < got.windows.size(); ++k) {
            EXPECT_EQ(got.windows[k].iterations, expected.windows[k].iterations);
            EXPECT_EQ(got.windows[k].windowMax, expected.windows[k].windowMax);
            EXPECT_EQ(got.windows[k].average, expected.windows[k].average);
            EXPECT_EQ(got.windows[k].deviation, expected.windows[k].deviation);
            EXPECT_EQ(got.windows[k].titles, expected.windows[k].titles);
        }
    }
}

// A run of a prepared net on data, with a pump that can stop it.
struct Outcome {
    int stopState = 0;
    int iterations = 0;
    double epochMaxError = 0;
    bool overflowed = false;
    std::vector<int> displayedAt;
};

Outcome runOn(TNeuroNet& net, const Dataset& data, const TTrainingSettings& s, std::function<void(int, int&)> pump = {})
{
    TDatasetRows rows = load(net, data);
    TMatrix errors;
    TTrainingRun run(net, rows, errors, s);
    Outcome out;
    run.Run(out.stopState, [&] { if (pump) pump(run.Iterations(), out.stopState); },
            [&](const TWindowSummary& w) { out.displayedAt.push_back(w.Iterations); });
    out.iterations = run.Iterations();
    out.epochMaxError = run.EpochMaxError();
    out.overflowed = run.Overflowed();
    return out;
}

TEST(TrainingRun, StopsAsTheTestsInTheirOrderSay)
{
    // One pattern: input 1, target 2; the net answers 1 with a learning rate
    // of 0, so every epoch's largest relative error is exactly 0.5.
    const Dataset half = {{{1}}, {{2}}};
    struct Case {
        const char* what;
        TTrainingSettings settings;
        int userStopAt;
        int stopState, iterations;
        std::vector<int> displayedAt;
    };
    const Case cases[] = {
        {"four windows of 250", {1, 1000, -1, 250}, -1, 2, 1000, {250, 500, 750, 1000}},
        {"no iterations: one epoch", {1, 0, -1, 50}, -1, 2, 1, {}},
        {"negative iterations: one epoch", {1, -7, -1, 50}, -1, 2, 1, {}},
        {"error equal to the acceptable one", {1, 10, 50, 50}, -1, 3, 1, {}},
        {"error just above the acceptable one", {1, 3, 49.999, 50}, -1, 2, 3, {}},
        {"user stop", {1, 100, -1, 50}, 60, 1, 60, {50}},
        {"user stop in the limit's epoch", {1, 60, -1, 50}, 60, 2, 60, {50}},
        {"user stop in an acceptable epoch", {1, 100, 50, 50}, 1, 3, 1, {}},
        {"a window ending the run is shown", {1, 100, -1, 50}, 50, 1, 50, {50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TNeuroNet net = linearNet(0, 1);
        Outcome out = runOn(net, half, c.settings, [&](int iteration, int& stop) {
            if (iteration == c.userStopAt)
                stop = 1;
        });
        EXPECT_EQ(out.stopState, c.stopState);
        EXPECT_EQ(out.iterations, c.iterations);
        EXPECT_EQ(out.epochMaxError, 0.5);
        EXPECT_EQ(out.displayedAt, c.displayedAt);
        EXPECT_FALSE(out.overflowed);
    }
}

TEST(TrainingRun, AnErrorBeyond1e50IsUnstableAfterItsEpoch)
{
    // Target 1e-60 against an output of 1: a relative error of about 1e60.
    TNeuroNet net = linearNet(0, 1);
    Outcome out = runOn(net, {{{1}}, {{1e-60}}}, {1, 100, -1, 1});
    EXPECT_EQ(out.stopState, 4);
    EXPECT_EQ(out.iterations, 1);
    EXPECT_EQ(out.displayedAt, std::vector<int>{1}) << "the epoch's window is still shown";
    EXPECT_FALSE(out.overflowed);
}

TEST(TrainingRun, AnOverflowEndsTheRunWithTheWeightsOfTheLastCompletedEpoch)
{
    // Linear 1-1, inputs 0 and 1 scaled to -1 and 1, targets far apart: the
    // first update throws the weight past the guard of the next forward pass.
    const Dataset data = {{{0}, {1}}, {{0}, {1e3}}};
    TNeuroNet net = linearNet(0.5, 0);
    net.LearningRate = 1e60;
    TDatasetRows rows = load(net, data);
    TMatrix errors(1, 2);
    double firstEpochMax = 0;
    ASSERT_TRUE(TrainEpoch(net, rows, 1, errors, firstEpochMax));
    const std::vector<double> afterFirst = allWeights(net);

    TNeuroNet again = linearNet(0.5, 0);
    again.LearningRate = 1e60;
    Outcome out = runOn(again, data, {1, 100, -1, 50});
    EXPECT_EQ(out.stopState, 4);
    EXPECT_TRUE(out.overflowed);
    EXPECT_EQ(out.iterations, 2) << "the failed epoch counts";
    EXPECT_EQ(out.epochMaxError, 0) << "no pattern of the failed epoch was evaluated";
    EXPECT_EQ(allWeights(again), afterFirst);
    EXPECT_TRUE(out.displayedAt.empty());
}

TEST(TrainingRun, RelativeErrorsAndTheErrorsHandedToBackPropagation)
{
    // Two linear outputs, learning rate 0: output 1 has a constant target 3
    // (off pair, error t - o), output 2 varies 0..10 (scaled difference) and
    // has a target of 0 (plain difference as relative error).
    const Dataset data = {{{0}, {5}, {10}}, {{3, 10}, {3, 5}, {3, 0}}};
    TNeuroNet net = linearNet(0.25, 1.5, 2);
    TDatasetRows rows = load(net, data);
    EXPECT_EQ(net.InputRanges[0].Min, 0);
    EXPECT_EQ(net.InputRanges[0].Max, 10);
    EXPECT_EQ(net.OutputRanges[0].Min, 1);
    EXPECT_EQ(net.OutputRanges[0].Max, -1);
    EXPECT_EQ(net.OutputRanges[1].Min, 0);
    EXPECT_EQ(net.OutputRanges[1].Max, 10);

    TMatrix errors(2, 3);
    double epochMax = 0;
    ASSERT_TRUE(TrainEpoch(net, rows, 1, errors, epochMax));
    // Last pattern: input 10 scales to 1; both raw outputs are 1.75.
    // Output 1 unscaled: 1.75, error 3 - 1.75. Output 2 scaled back to
    // (1.75 + 0.9) * 10 / 1.8, and its target 0 gives the plain difference.
    const long double o2 = (10.0L - 0) * (1.75L + 0.9L) / 1.8L;
    EXPECT_EQ(net.LastLayer().Deltas[0], 3 - 1.75);
    EXPECT_NEAR(net.LastLayer().Deltas[1], -0.9 - 1.75, 1e-15);
    EXPECT_DOUBLE_EQ(double(errors.GetItem(0, 2)), (3 - 1.75) / 3);
    EXPECT_DOUBLE_EQ(double(errors.GetItem(1, 2)), double(0 - o2));
    EXPECT_DOUBLE_EQ(epochMax, double(o2));
    EXPECT_FALSE(net.Evaluated) << "the corrections made the outputs stale";
}

TEST(TrainingRun, OutputRangesOfAnotherLengthAreAnAssertionFailure)
{
    TNeuroNet net = linearNet(0, 1);
    TDatasetRows rows = load(net, {{{1}}, {{2}}});
    net.OutputRanges.clear();
    TMatrix errors(1, 1);
    double epochMax = 0;
    try {
        TrainEpoch(net, rows, 1, errors, epochMax);
        FAIL() << "no assertion failure";
    } catch (const AssertionError& e) {
        EXPECT_STREQ(e.what(), "Assertion failure (Unit1, line 1059)");
    }
}

TEST(TrainingRun, LongEpochsPumpBetweenPatternsWithoutChangingAResult)
{
    // 601 weights and biases: a pump every 33 patterns, so 3 times in 100.
    auto build = [] {
        platform::SetSeedClock([] { return 99u; });
        TNeuroNet net(4);
        TLayerParams hidden;
        hidden.Activation = 2;
        net.AddLayer(100, hidden);
        net.AddLayer(1, TLayerParams{});
        platform::SetSeedClock({});
        net.LearningRate = 0.001;
        return net;
    };
    TNeuroNet a = build(), b = build();
    ASSERT_EQ(PatternsBetweenPumps(a), 33);
    Dataset data;
    for (int p = 0; p < 100; ++p) {
        data.inputs.push_back({p * 0.1, std::sin(p), 1.0 / (p + 1), p % 3 * 1.0});
        data.targets.push_back({std::cos(p * 0.2)});
    }
    TDatasetRows rows = load(a, data);
    load(b, data);
    TMatrix errorsA(1, 100), errorsB(1, 100);
    double maxA = 0, maxB = 0;
    int pumps = 0;
    ASSERT_TRUE(TrainEpoch(a, rows, 1, errorsA, maxA));
    ASSERT_TRUE(TrainEpoch(b, rows, 1, errorsB, maxB, [&] { ++pumps; }));
    EXPECT_EQ(pumps, 3);
    EXPECT_EQ(maxA, maxB);
    EXPECT_EQ(allWeights(a), allWeights(b));
}

TEST(TrainingRun, WindowStatisticsAndSeriesTitles)
{
    // Seven outputs, two patterns, a window of two epochs. Output 7's mean
    // absolute errors are 0.0168 and 0.0078: mean 0.0123, deviation 0.0045.
    TMatrix errors(7, 2);
    errors.SetItem(6, 0, 2 * 0.0168L);
    errors.SetItem(6, 1, -2 * 0.0078L);
    errors.SetItem(0, 0, 2 * 0.2L);
    errors.SetItem(0, 1, -2 * 0.4L);
    TWindowSummary w;
    SummarizeWindow(errors, 2, 0.75, 500, w);
    EXPECT_EQ(w.Iterations, 500);
    EXPECT_DOUBLE_EQ(w.WindowMax, 37.5);
    EXPECT_EQ(w.Titles[6], "  7    1.23%    0.45%");
    EXPECT_EQ(w.Titles[0], "  1   30.00%   10.00%");
    EXPECT_EQ(w.Titles[1], "  2    0.00%    0.00%");
    EXPECT_NEAR(w.Average, (30 + 1.23) / 7, 1e-12);
    EXPECT_NEAR(w.Deviation, (10 + 0.45) / 7, 1e-12);
    EXPECT_DOUBLE_EQ(double(errors.GetItem(0, 1)), -0.4) << "the matrix holds the window's means";
    ASSERT_EQ(w.PatternCount(), 2);
    EXPECT_DOUBLE_EQ(w.Percents[0], 20);
    EXPECT_DOUBLE_EQ(w.Percents[1], -40);
    EXPECT_DOUBLE_EQ(w.Percents[13], -0.78);
    EXPECT_DOUBLE_EQ(w.PercentMin, -40);
    EXPECT_DOUBLE_EQ(w.PercentMax, 20);
}

TEST(TrainingRun, LoadsFromTheEditorsMatrices)
{
    TMatrix in(3, 2), out(3, 1);
    in.SetItem(2, 1, 0.1L);  // not a double: rounded to the nearest
    out.SetItem(1, 0, 7);
    TNeuroNet net(2);
    net.AddLayer(1, TLayerParams{});
    net.InputRanges.assign(2, TRange{0, 5});
    TDatasetRows rows;
    ASSERT_TRUE(LoadTrainingSet(in, out, net, rows));
    EXPECT_EQ(rows.PatternCount(), 3);
    EXPECT_EQ(rows.Inputs(2)[1], 0.1);
    EXPECT_EQ(rows.Targets(1)[0], 7);
    EXPECT_TRUE(net.LastLayer().HasTrainingBuffers());
    EXPECT_FALSE(net.InputRanges[0].active()) << "training starts with the ranges off";

    FreeTrainingSet(net, rows);
    EXPECT_FALSE(net.LastLayer().HasTrainingBuffers());
    EXPECT_TRUE(rows.Values.empty());

    EXPECT_FALSE(LoadTrainingSet(TMatrix(0, 2), TMatrix(0, 1), net, rows)) << "no pattern";
    EXPECT_THROW(LoadTrainingSet(TMatrix(3, 3), out, net, rows), std::runtime_error);
}

TEST(TrainingRun, LoadsFromAFile)
{
    TempDir dir;
    TMatrix in(2, 2), out(2, 1);
    in.SetItem(1, 0, 4);
    out.SetItem(1, 0, -3);
    std::string error;
    ASSERT_TRUE(WriteDatasetFile(dir.file("a.nld"), in, out, error)) << error;
    TNeuroNet net(2);
    net.AddLayer(1, TLayerParams{});
    TDatasetRows rows;
    ASSERT_TRUE(LoadTrainingSet(dir.file("a.nld"), net, rows));
    EXPECT_EQ(rows.PatternCount(), 2);
    EXPECT_EQ(rows.Inputs(1)[0], 4);
    EXPECT_EQ(rows.Targets(1)[0], -3);
    EXPECT_TRUE(net.LastLayer().HasTrainingBuffers());

    // No file: false, nothing said. A file that cannot be used: an error
    // that names it.
    EXPECT_FALSE(LoadTrainingSet("", net, rows));
    EXPECT_FALSE(LoadTrainingSet(dir.file("none.nld"), net, rows));
    EXPECT_FALSE(LoadTrainingSet(dir.path().string(), net, rows)) << "a folder is no file";
    std::vector<std::uint8_t> bytes = readBytes(dir.file("a.nld"));
    bytes.resize(bytes.size() - 8);
    writeBytes(dir.file("short.nld"), bytes);
    TNeuroNet wider(3);
    wider.AddLayer(1, TLayerParams{});
    for (auto [name, target] : {std::pair{dir.file("short.nld"), &net}, std::pair{dir.file("a.nld"), &wider}}) {
        try {
            LoadTrainingSet(name, *target, rows);
            ADD_FAILURE() << name << " was loaded";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(rows.PatternCount(), 2) << "a failed load keeps the rows";
}

TEST(TrainingRun, TheXorExampleLearnsToTheAcceptableErrorWithEitherAlgorithm)
{
    for (int algorithm : {1, 2}) {
        SCOPED_TRACE(algorithm);
        std::unique_ptr<TNeuroNet> net;
        ASSERT_TRUE(ReadNetFile(std::string(CORVALITH_SOURCE_DIR) + "/examples/xor.crv", net));
        net->LearningRate = 0.1;
        net->Momentum = algorithm == 2 ? 0.5 : 0;
        Outcome out = runOn(*net, {{{0, 0}, {0, 1}, {1, 0}, {1, 1}}, {{0}, {1}, {1}, {0}}}, {algorithm, 1000000, 1, 250});
        EXPECT_EQ(out.stopState, 3);
        EXPECT_LE(out.epochMaxError, 0.01);
        EXPECT_LT(out.iterations, 100000);
    }
}

}  // namespace

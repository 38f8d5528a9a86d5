#include "engine/Neuran.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/Errors.h"
#include "platform/Platform.h"

namespace {

TLayerParams randomParams(int activation)
{
    TLayerParams p;
    p.Activation = activation;
    return p;
}

class Training : public ::testing::Test {
protected:
    void SetUp() override { platform::SetSeedClock([] { return 4242u; }); }
    void TearDown() override { platform::SetSeedClock({}); }
};

// A 2-3-2 net with a hyperbolic tangent hidden layer and a logistic output.
TNeuroNet smallNet()
{
    TNeuroNet net(2);
    platform::SetSeedClock([] { return 42u; });
    net.AddLayer(3, randomParams(2));
    platform::SetSeedClock([] { return 99u; });
    net.AddLayer(2, randomParams(1));
    return net;
}

// One pattern as the training run presents it: evaluate, write the output
// errors, back-propagate.
void present(TNeuroNet& net, const std::vector<double>& x, const std::vector<double>& t, int algorithm)
{
    net.SetInputs(net.InputCount(), x.data());
    ASSERT_TRUE(net.Evaluate());
    for (int j = 0; j < net.OutputCount(); ++j)
        net.LastLayer().Deltas[j] = t[j] - net.Outputs[j];
    net.BackPropagate(algorithm);
}

double squaredError(TNeuroNet& net, const std::vector<double>& x, const std::vector<double>& t)
{
    net.SetInputs(net.InputCount(), x.data());
    net.Evaluate();
    double e = 0;
    for (int j = 0; j < net.OutputCount(); ++j)
        e += 0.5 * (t[j] - net.Outputs[j]) * (t[j] - net.Outputs[j]);
    return e;
}

std::vector<std::vector<double>> weightCorrections(const TNeuroNet& net)
{
    std::vector<std::vector<double>> all;
    for (const auto& layer : net.Layers) {
        all.push_back(layer->WeightCorrections);
        all.push_back(layer->BiasCorrections);
    }
    return all;
}

}  // namespace

TEST_F(Training, WorkedExampleWithLearningRateOneHalf)
{
    TLayerParams zero;
    zero.WeightInit = zero.BiasInit = 1;
    TNeuroNet net(1);
    net.AddLayer(1, zero);
    net.LearningRate = 0.5;
    net.BeginTraining();
    present(net, {1}, {1}, 1);
    EXPECT_EQ(net.LastLayer().Deltas[0], 1.0);
    EXPECT_EQ(net.LastLayer().WeightCorrections[0], 0.5);
    EXPECT_EQ(net.LastLayer().BiasCorrections[0], 0.5);
    net.ApplyCorrections();
    EXPECT_EQ(net.Layer(1).Weight(0, 0), 0.5);
    EXPECT_EQ(net.Layer(1).Bias[0], 0.5);
    EXPECT_EQ(net.LastLayer().WeightCorrections[0], 0.0);

    // A second update right after the first changes nothing.
    net.ApplyCorrections();
    EXPECT_EQ(net.Layer(1).Weight(0, 0), 0.5);
}

TEST_F(Training, CorrectionsFollowTheNumericalGradient)
{
    const std::vector<double> x = {0.3, -0.7};
    const std::vector<double> t = {0.2, 0.9};
    TNeuroNet net = smallNet();
    net.LearningRate = 1;
    net.BeginTraining();
    present(net, x, t, 1);

    const double h = 1e-6;
    for (int k = 1; k <= net.LayerCount(); ++k) {
        TLayer& layer = net.Layer(k);
        for (std::size_t n = 0; n < layer.Weights.size(); ++n) {
            double saved = layer.Weights[n];
            layer.Weights[n] = saved + h;
            double up = squaredError(net, x, t);
            layer.Weights[n] = saved - h;
            double down = squaredError(net, x, t);
            layer.Weights[n] = saved;
            EXPECT_NEAR(layer.WeightCorrections[n], -(up - down) / (2 * h), 1e-8) << "layer " << k << " weight " << n;
        }
    }
}

TEST_F(Training, MomentumCodeDiffersOnlyAboveTheFirstLayer)
{
    const std::vector<double> x = {0.5, 0.25};
    const std::vector<double> t = {0.1, 0.8};

    // With no momentum, or with one layer, both codes agree.
    TNeuroNet plain = smallNet(), fast = smallNet();
    for (TNeuroNet* net : {&plain, &fast}) {
        net->LearningRate = 0.3;
        net->BeginTraining();
    }
    present(plain, x, t, 1);
    present(fast, x, t, 2);
    EXPECT_EQ(weightCorrections(plain), weightCorrections(fast));

    TNeuroNet one(2), oneFast(2);
    for (TNeuroNet* net : {&one, &oneFast}) {
        platform::SetSeedClock([] { return 5u; });
        net->AddLayer(2, randomParams(1));
        net->LearningRate = 0.3;
        net->Momentum = 0.9;
        net->BeginTraining();
    }
    present(one, x, t, 1);
    present(oneFast, x, t, 2);
    EXPECT_EQ(weightCorrections(one), weightCorrections(oneFast));

    // With momentum, layer 2 adds Momentum times layer 1's deltas to its inputs.
    TNeuroNet momentum = smallNet();
    momentum.LearningRate = 0.3;
    momentum.Momentum = 0.5;
    momentum.BeginTraining();
    present(momentum, x, t, 2);
    EXPECT_EQ(momentum.Layer(1).WeightCorrections, plain.Layer(1).WeightCorrections);
    EXPECT_EQ(momentum.Layer(2).BiasCorrections, plain.Layer(2).BiasCorrections);
    const TLayer& hidden = momentum.Layer(1);
    const TLayer& out = momentum.Layer(2);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) {
            Extended step = 0.3L * out.Deltas[i];
            Extended a = 0.5L * hidden.Deltas[j] + hidden.Outputs[j];
            EXPECT_EQ(out.WeightCorrections[i * 3 + j], static_cast<double>(step * a)) << i << "," << j;
        }
}

TEST_F(Training, CorrectionsAccumulateOverPatterns)
{
    TNeuroNet once = smallNet(), twice = smallNet();
    for (TNeuroNet* net : {&once, &twice}) {
        net->LearningRate = 0.25;
        net->BeginTraining();
    }
    present(once, {1, 0}, {0, 1}, 1);
    present(twice, {1, 0}, {0, 1}, 1);
    present(twice, {1, 0}, {0, 1}, 1);
    for (int k = 1; k <= 2; ++k)
        for (std::size_t n = 0; n < once.Layer(k).WeightCorrections.size(); ++n)
            EXPECT_DOUBLE_EQ(twice.Layer(k).WeightCorrections[n], 2 * once.Layer(k).WeightCorrections[n]);
}

TEST_F(Training, CodesOtherThanOneAndTwoAndZeroRateChangeNothing)
{
    TNeuroNet net = smallNet();
    net.LearningRate = 0.5;
    net.BeginTraining();
    auto before = weightCorrections(net);
    for (int code : {0, 3}) {
        present(net, {1, 1}, {0, 0}, code);
        EXPECT_EQ(weightCorrections(net), before);
        EXPECT_EQ(net.LastLayer().Deltas[0], 0 - net.Outputs[0]);  // still the caller's error
    }
    net.LearningRate = 0;
    present(net, {1, 1}, {0, 0}, 1);
    EXPECT_EQ(weightCorrections(net), before);
    std::vector<double> weights = net.Layer(1).Weights;
    net.ApplyCorrections();
    EXPECT_EQ(net.Layer(1).Weights, weights);
}

TEST_F(Training, SaturatingOutputPassesTheErrorThrough)
{
    for (int code : {4, 5, 6}) {
        TNeuroNet net(1);
        net.AddLayer(2, randomParams(code));
        net.BeginTraining();
        net.LastLayer().Deltas = {0.75, -2.5};
        net.Evaluate();
        net.BackPropagate(1);
        EXPECT_EQ(net.LastLayer().Deltas, (std::vector<double>{0.75, -2.5})) << code;
    }
}

TEST_F(Training, BeginAndEndTraining)
{
    TNeuroNet net = smallNet();
    net.InputRanges = {{0, 1}, {0, 2}};
    net.OutputRanges = {{0, 5}, {1, 3}};
    std::vector<double> weights = net.Layer(2).Weights;
    EXPECT_TRUE(net.BeginTraining());
    for (const TRange& r : net.InputRanges)
        EXPECT_FALSE(r.active());
    EXPECT_EQ(net.OutputRanges.size(), 2u);
    EXPECT_EQ(net.Layer(2).WeightCorrections, std::vector<double>(6, 0.0));
    net.EndTraining();
    EXPECT_TRUE(net.Layer(2).Deltas.empty());
    EXPECT_EQ(net.Layer(2).Weights, weights);
    // Without the buffers the step does nothing rather than write out of bounds.
    net.BackPropagate(1);
    net.ApplyCorrections();
    EXPECT_EQ(net.Layer(2).Weights, weights);
}

TEST_F(Training, DivergingCorrectionsRaiseOverflow)
{
    TNeuroNet net(1);
    TLayerParams p;
    p.WeightInit = p.BiasInit = 1;
    net.AddLayer(1, p);
    net.LearningRate = 1e300;
    net.BeginTraining();
    net.SetInput(1, 1e10);
    net.Evaluate();
    net.LastLayer().Deltas[0] = 1e10;
    try {
        net.BackPropagate(1);
        FAIL() << "no overflow";
    } catch (const FloatingPointError& e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }
    // The flags are cleared, so a sound step afterwards raises nothing.
    net.LearningRate = 1;
    net.LastLayer().Deltas[0] = 1;
    EXPECT_NO_THROW(net.BackPropagate(1));
}

#include "engine/Neuran.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/Errors.h"
#include "engine/Random.h"
#include "platform/Platform.h"

namespace {

TLayerParams zeroParams(int activation = 0)
{
    TLayerParams p;
    p.WeightInit = 1;
    p.BiasInit = 1;
    p.Activation = activation;
    return p;
}

TLayerParams randomParams(int activation = 0)
{
    TLayerParams p;
    p.Activation = activation;
    return p;
}

// Every test starts from a seed clock that always answers the same value.
class Engine : public ::testing::Test {
protected:
    void SetUp() override { platform::SetSeedClock([] { return 12345u; }); }
    void TearDown() override { platform::SetSeedClock({}); }
};

// One layer, one input x, weight w, bias b.
TNeuroNet singleNeuron(int activation, double x, double w, double b)
{
    TNeuroNet net(1);
    net.AddLayer(1, zeroParams(activation));
    net.Layer(1).Weight(0, 0) = w;
    net.Layer(1).Bias[0] = b;
    net.SetInput(1, x);
    return net;
}

std::string assertionText(const std::function<void()>& call)
{
    try {
        call();
    } catch (const AssertionError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST_F(Engine, CountsAreClampedOrRefused)
{
    struct Case { int requested; int expected; };
    for (Case c : {Case{0, 1}, Case{-5, 1}, Case{5000, 2048}, Case{7, 7}}) {
        TNeuroNet net(c.requested);
        EXPECT_EQ(net.InputCount(), c.expected);
        EXPECT_EQ(net.OutputCount(), c.expected);
        EXPECT_EQ(net.LayerCount(), 0);
    }
    TLayer layer(5000, zeroParams(), -3);
    EXPECT_EQ(layer.NeuronCount(), 1024);
    EXPECT_EQ(layer.InputCount(), 1);

    TNeuroNet net(2);
    for (int i = 0; i < 32; ++i)
        net.AddLayer(1, zeroParams());
    net.Evaluate();
    net.AddLayer(3, zeroParams());
    EXPECT_EQ(net.LayerCount(), 32);
    EXPECT_EQ(net.OutputCount(), 1);
    EXPECT_TRUE(net.Evaluated);

    net.SetLayerSize(1, 0);
    net.SetLayerSize(1, 1025);
    EXPECT_EQ(net.Layer(1).NeuronCount(), 1);
    EXPECT_TRUE(net.Evaluated);
}

TEST_F(Engine, OutputsAlwaysMatchTheLastLayer)
{
    // The layer clamps an oversized count; the network's outputs follow it.
    TNeuroNet net(1);
    net.AddLayer(2000, zeroParams());
    EXPECT_EQ(net.Layer(1).NeuronCount(), 1024);
    EXPECT_EQ(net.OutputCount(), 1024);
    EXPECT_TRUE(net.Evaluate());
}

TEST_F(Engine, InitializeDrawsBiasThenWeightsPerNeuronFromTheSeededGenerator)
{
    TLayerParams p = randomParams();
    p.WeightFrom = -2;
    p.WeightTo = 3;
    p.BiasFrom = 10;
    p.BiasTo = 20;
    TLayer layer(2, p, 3);

    random_generator::SetState(12345u);
    auto next = [](double from, double to) {
        return static_cast<double>(from + random_generator::Draw() * (static_cast<Extended>(to) - from));
    };
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(layer.Bias[i], next(10, 20)) << "neuron " << i;
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(layer.Weight(i, j), next(-2, 3)) << "neuron " << i << " input " << j;
    }

    // Values set to zero consume no draw.
    p.BiasInit = 1;
    TLayer zeroBias(1, p, 1);
    random_generator::SetState(12345u);
    EXPECT_EQ(zeroBias.Bias[0], 0.0);
    EXPECT_EQ(zeroBias.Weight(0, 0), next(-2, 3));
}

TEST_F(Engine, GeneratorIsTheProgramsCongruence)
{
    random_generator::SetState(0);
    EXPECT_EQ(random_generator::Draw(), 1.0L / 4294967296.0L);
    EXPECT_EQ(random_generator::State(), 1u);
    EXPECT_EQ(random_generator::Draw(), 134775814.0L / 4294967296.0L);
    random_generator::SetState(0xFFFFFFFFu);
    random_generator::Draw();
    EXPECT_EQ(random_generator::State(), 0xFFFFFFFFu * 134775813u + 1u);
}

TEST_F(Engine, RangesOfInitialValues)
{
    TLayerParams p = randomParams();
    p.WeightFrom = p.WeightTo = 0.25;
    TLayer constant(3, p, 4);
    for (double w : constant.Weights)
        EXPECT_EQ(w, 0.25);

    p.WeightFrom = 5;
    p.WeightTo = 2;
    TLayer reversed(20, p, 20);
    for (double w : reversed.Weights) {
        EXPECT_GT(w, 2.0);
        EXPECT_LE(w, 5.0);
    }

    TNeuroNet zeros(3);
    zeros.AddLayer(4, zeroParams());
    zeros.AddLayer(2, zeroParams());
    EXPECT_EQ(zeros.MaxAbsWeight(), 1.0);
    EXPECT_EQ(TNeuroNet(2).MaxAbsWeight(), 1.0);
    zeros.Layer(2).Weight(1, 3) = -7.5;
    zeros.Layer(2).Bias[0] = 100;  // biases do not count
    EXPECT_EQ(zeros.MaxAbsWeight(), 7.5);
}

TEST_F(Engine, SetInputCountKeepsOrReinitialisesLayerOne)
{
    TNeuroNet net(2);
    net.AddLayer(3, randomParams());
    net.AddLayer(2, randomParams());
    net.SetInput(1, 4);
    net.Evaluate();
    net.SetInputCount(2);
    EXPECT_EQ(net.Inputs[0], 4.0);
    EXPECT_TRUE(net.Evaluated);

    std::vector<double> second = net.Layer(2).Weights;
    platform::SetSeedClock([] { return 999u; });
    net.SetInputCount(5);
    EXPECT_EQ(net.InputCount(), 5);
    EXPECT_EQ(net.Layer(1).InputCount(), 5);
    EXPECT_EQ(net.Layer(1).Weights.size(), 15u);
    EXPECT_EQ(net.Layer(2).Weights, second);
    EXPECT_EQ(net.Inputs, std::vector<double>(5, 0.0));
    EXPECT_FALSE(net.Evaluated);

    TNeuroNet bare(2);
    bare.SetInputCount(4);
    EXPECT_EQ(bare.OutputCount(), 4);
}

TEST_F(Engine, SetLayerSizeReinitialisesThatLayerAndTheNextOnly)
{
    TNeuroNet net(2);
    for (int n : {3, 4, 2})
        net.AddLayer(n, randomParams());
    std::vector<double> first = net.Layer(1).Weights;
    std::vector<double> third = net.Layer(3).Weights;
    platform::SetSeedClock([] { return 777u; });
    net.SetLayerSize(2, 6);
    EXPECT_EQ(net.Layer(1).Weights, first);
    EXPECT_EQ(net.Layer(2).NeuronCount(), 6);
    EXPECT_EQ(net.Layer(3).InputCount(), 6);
    EXPECT_NE(net.Layer(3).Weights.size(), third.size());
    EXPECT_FALSE(net.Evaluated);

    net.SetLayerSize(3, 5);
    EXPECT_EQ(net.OutputCount(), 5);
    // An index the caller should never pass changes nothing.
    net.SetLayerSize(9, 2);
    EXPECT_EQ(net.LayerCount(), 3);
}

TEST_F(Engine, OneNeuronWorkedExampleForEachCode)
{
    struct Case { int code; double bias; double expected; };
    const Case cases[] = {
        {0, 1, 7.0},
        {1, 1, static_cast<double>(1.0L / (std::exp(-7.0L) + 1.0L))},
        {2, 1, static_cast<double>(2.0L / (std::exp(-14.0L) + 1.0L) - 1.0L)},
        {3, 1, static_cast<double>(std::sin(7.0L))},
        {4, 1, 1.0},
        {5, 1, 1.0},
        {6, -10, 0.0},
        {6, 1, 7.0},
        {9, 1, 7.0},  // unknown codes behave as linear
    };
    for (const Case& c : cases) {
        TNeuroNet net = singleNeuron(c.code, 2, 3, c.bias);
        ASSERT_TRUE(net.Evaluate());
        EXPECT_EQ(net.Outputs[0], c.expected) << "code " << c.code;
        EXPECT_TRUE(net.Evaluated);
    }
    // The extended sum differs from a double one: 0.1*3 + 0.2*3 is not 0.9 in doubles.
    TNeuroNet net(2);
    net.AddLayer(1, zeroParams());
    net.Layer(1).Weight(0, 0) = 3;
    net.Layer(1).Weight(0, 1) = 3;
    net.SetInput(1, 0.1);
    net.SetInput(2, 0.2);
    net.Evaluate();
    EXPECT_EQ(net.Outputs[0], static_cast<double>(0.1L * 3 + 0.2L * 3));
}

TEST_F(Engine, OverflowGuardTestsTheSumBeforeTheBias)
{
    struct Case { double x; double bias; bool passes; };
    const Case cases[] = {
        {1e49, 0, true},
        {1e51, -1e51, false},  // the sum fails even though the bias would bring it back
        {0, 1e60, false},      // the sum passes, the output check fails
        {-1e51, 0, false},
        {std::nan(""), 0, false},
    };
    for (const Case& c : cases) {
        TNeuroNet net = singleNeuron(0, c.x, 1, c.bias);
        EXPECT_EQ(net.Evaluate(), c.passes) << c.x << " + " << c.bias;
    }
    // 1e50 as a double lies above the guard bound, the extended 1e50 does not.
    EXPECT_FALSE(singleNeuron(0, 1e50, 1, 0).Evaluate());
    EXPECT_TRUE(singleNeuron(0, static_cast<double>(std::nextafter(1e50, 0.0)), 1, 0).Evaluate());
}

TEST_F(Engine, FailedEvaluationKeepsTheLastOutputsAndComputesAgain)
{
    TNeuroNet net(1);
    net.AddLayer(2, zeroParams());
    net.AddLayer(1, zeroParams());
    net.Layer(1).Weight(0, 0) = 1;
    net.Layer(1).Weight(1, 0) = 1;
    net.Layer(2).Weight(0, 0) = 1;
    net.Layer(2).Weight(0, 1) = 1;
    net.SetInput(1, 2);
    ASSERT_TRUE(net.Evaluate());
    EXPECT_EQ(net.Outputs[0], 4.0);

    net.Layer(1).Weight(1, 0) = 1e60;
    net.Evaluated = false;
    EXPECT_FALSE(net.Evaluate());
    EXPECT_FALSE(net.Evaluated);
    EXPECT_EQ(net.Outputs[0], 4.0);
    EXPECT_EQ(net.Layer(1).Outputs[0], 2.0);  // neurons before the failure hold new outputs

    net.Layer(1).Weight(1, 0) = 3;
    EXPECT_TRUE(net.Evaluate());
    EXPECT_EQ(net.Outputs[0], 8.0);
}

TEST_F(Engine, EvaluateComputesOnlyWhenOutOfDate)
{
    TNeuroNet net = singleNeuron(0, 2, 3, 1);
    ASSERT_TRUE(net.Evaluate());
    net.Layer(1).Weight(0, 0) = 100;  // a direct write leaves the flag to the caller
    EXPECT_TRUE(net.Evaluate());
    EXPECT_EQ(net.Outputs[0], 7.0);

    net.Randomize();  // zero parameters: weight and bias are 0 again
    EXPECT_FALSE(net.Evaluated);
    net.Layer(1).Weight(0, 0) = 100;
    net.Evaluated = true;
    net.SetInput(1, 2);
    EXPECT_FALSE(net.Evaluated);
    EXPECT_TRUE(net.Evaluate());
    EXPECT_EQ(net.Outputs[0], 200.0);
}

TEST_F(Engine, InputAndOutputScaling)
{
    TNeuroNet net(1);
    net.InputRanges = {{0, 10}};
    for (auto [value, stored] : {std::pair{5.0, 0.0}, {0.0, -1.0}, {10.0, 1.0}, {20.0, 3.0}}) {
        net.SetInput(1, value);
        EXPECT_EQ(net.Inputs[0], stored) << value;
    }
    // Off, equal or reversed pairs and arrays of the wrong length scale nothing.
    for (auto ranges : {std::vector<TRange>{{1, -1}}, {{3, 3}}, {{0, 10}, {0, 10}}}) {
        net.InputRanges = ranges;
        net.SetInput(1, 5);
        EXPECT_EQ(net.Inputs[0], 5.0);
    }

    // Without layers the outputs are the scaled inputs; output ranges do not apply.
    net.InputRanges = {{0, 10}};
    net.OutputRanges = {{0, 100}};
    net.SetInput(1, 10);
    ASSERT_TRUE(net.Evaluate());
    EXPECT_EQ(net.Outputs[0], 1.0);

    for (auto [y, mapped] : {std::pair{0.9, 10.0}, {-0.9, 0.0}, {0.0, 5.0}}) {
        TNeuroNet out = singleNeuron(0, y, 1, 0);
        out.OutputRanges = {{0, 10}};
        ASSERT_TRUE(out.Evaluate());
        EXPECT_EQ(out.Outputs[0], static_cast<double>((10.0L * (y - (-0.9L))) / 1.8L)) << y;
        EXPECT_NEAR(out.Outputs[0], mapped, 1e-15) << y;
    }
}

TEST_F(Engine, ScalingBeyondTheDoubleRangeOverflows)
{
    TNeuroNet net(1);
    net.InputRanges = {{0, 1e-300}};
    EXPECT_THROW(net.SetInput(1, 1e10), FloatingPointError);
}

TEST_F(Engine, IndexAndCountAssertions)
{
    TNeuroNet net(3);
    net.SetInput(2, 5);
    EXPECT_EQ(assertionText([&] { net.SetInput(0, 1); }), "Assertion failure (Neuran, line 434)");
    EXPECT_EQ(assertionText([&] { net.SetInput(4, 1); }), "Assertion failure (Neuran, line 434)");
    const double two[] = {1, 2};
    EXPECT_EQ(assertionText([&] { net.SetInputs(2, two); }), "Assertion failure (Neuran, line 412)");
    EXPECT_EQ(net.Inputs, (std::vector<double>{0, 5, 0}));
}

TEST_F(Engine, RandomInputsLieInTheUnitInterval)
{
    TNeuroNet net(50);
    net.SetInputs(50, nullptr);
    for (double x : net.Inputs) {
        EXPECT_GE(x, 0.0);
        EXPECT_LT(x, 1.0);
    }
    EXPECT_FALSE(net.Evaluated);
}

TEST_F(Engine, DerivativesFromTheStoredOutput)
{
    TLayer layer(1, zeroParams(), 1);
    struct Case { int code; double y; Extended expected; };
    const Case cases[] = {
        {0, 5, 1}, {1, 0.25, 0.75L * 0.25L}, {2, 0.5, 1.5L * 0.5L}, {3, 0.6, std::sqrt(1 - Extended(0.6) * Extended(0.6))},
        {4, 0, 1}, {4, 1, 1}, {5, -1, 1}, {6, 0, 1}, {6, 12, 1}, {4, 1.5, 0}, {6, -0.1, 0}, {42, 3, 1},
    };
    for (const Case& c : cases) {
        layer.Params.Activation = c.code;
        layer.Outputs[0] = c.y;
        EXPECT_EQ(layer.Derivative(1), c.expected) << "code " << c.code << " y " << c.y;
    }
}

TEST_F(Engine, ExponentialOverflowIsRaisedAndUnderflowIsHarmless)
{
    TLayer layer(1, zeroParams(1), 1);
    EXPECT_THROW(layer.Activate(-11357), FloatingPointError);
    EXPECT_NO_THROW(layer.Activate(-11356));
    EXPECT_EQ(layer.Activate(1e6), 1.0L);
    layer.Params.Activation = 2;
    EXPECT_THROW(layer.Activate(-5679), FloatingPointError);
    EXPECT_NO_THROW(layer.Activate(-5678));
    EXPECT_EQ(layer.Activate(1e6), 1.0L);
    try {
        TNeuroNet net = singleNeuron(1, 1, -1e40, 0);
        net.Evaluate();
        FAIL() << "no overflow";
    } catch (const FloatingPointError& e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }

    layer.Params.Activation = 3;
    EXPECT_EQ(layer.Activate(9223372036854775808.0L), 0.0L);
    EXPECT_EQ(layer.Activate(-1e30L), 0.0L);
    EXPECT_EQ(layer.Activate(9223372036854775807.0L), std::sin(9223372036854775807.0L));
}

TEST_F(Engine, ResetRangesSwitchesEveryPairOff)
{
    TNeuroNet net(1);
    net.ResetRanges(3, 2);
    ASSERT_EQ(net.InputRanges.size(), 3u);
    ASSERT_EQ(net.OutputRanges.size(), 2u);
    for (const TRange& r : net.InputRanges)
        EXPECT_TRUE(r.Min == 1 && r.Max == -1);
}

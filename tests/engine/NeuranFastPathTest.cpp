#include "engine/Neuran.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/Errors.h"
#include "platform/Platform.h"

// The layer loops advance several neurons, or several inputs, at once. These
// tests hold them to the plain one-at-a-time computation, inputs and neurons
// in increasing order, bit for bit, on values that are not exactly representable.
namespace {

struct Shape {
    std::vector<int> sizes;  // inputs, then the neurons of each layer
    int hiddenCode;
};

const Shape kShapes[] = {
    {{1, 1}, 0}, {{3, 5}, 2}, {{7, 9, 3}, 1}, {{2, 8, 1}, 2}, {{13, 6, 11, 5}, 3}, {{5, 4, 4, 7}, 2}, {{64, 17, 33, 10}, 1},
};

TNeuroNet randomNet(const Shape& shape, std::mt19937_64& generator)
{
    std::uniform_real_distribution<double> weight(-1.5, 1.5);
    TNeuroNet net(shape.sizes.front());
    for (std::size_t k = 1; k < shape.sizes.size(); ++k) {
        TLayerParams p;
        p.WeightInit = p.BiasInit = 1;
        p.Activation = k + 1 == shape.sizes.size() ? 0 : shape.hiddenCode;
        net.AddLayer(shape.sizes[k], p);
        TLayer& layer = net.Layer(int(k));
        for (double& w : layer.Weights)
            w = weight(generator);
        for (double& b : layer.Bias)
            b = weight(generator);
    }
    return net;
}

std::vector<double> randomVector(int n, std::mt19937_64& generator)
{
    std::uniform_real_distribution<double> value(-1, 1);
    std::vector<double> v(n);
    for (double& x : v)
        x = value(generator);
    return v;
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// The plain forward pass: one neuron at a time, inputs in increasing order.
std::vector<std::vector<double>> referenceForward(const TNeuroNet& net)
{
    std::vector<std::vector<double>> outputs;
    const std::vector<double>* source = &net.Inputs;
    for (const auto& layer : net.Layers) {
        std::vector<double> out(layer->NeuronCount());
        for (int i = 0; i < layer->NeuronCount(); ++i) {
            Extended s = 0;
            for (int j = 0; j < layer->InputCount(); ++j)
                s = s + static_cast<Extended>(layer->Weight(i, j)) * static_cast<Extended>((*source)[j]);
            out[i] = static_cast<double>(layer->Activate(s + layer->Bias[i]));
        }
        outputs.push_back(out);
        source = &outputs.back();
    }
    return outputs;
}

// The plain back-propagation step, written straight from its definition.
void referenceBackPropagate(TNeuroNet& net, int algorithm)
{
    const int L = net.LayerCount();
    TLayer& out = net.Layer(L);
    for (int i = 0; i < out.NeuronCount(); ++i)
        out.Deltas[i] = static_cast<double>(out.Derivative(i + 1) * static_cast<Extended>(out.Deltas[i]));
    for (int k = L - 1; k >= 1; --k) {
        TLayer& layer = net.Layer(k);
        TLayer& next = net.Layer(k + 1);
        for (int j = 0; j < layer.NeuronCount(); ++j) {
            double d = 0;
            for (int i = 0; i < next.NeuronCount(); ++i)
                d = static_cast<double>(d + static_cast<Extended>(next.Deltas[i]) * static_cast<Extended>(next.Weight(i, j)));
            layer.Deltas[j] = static_cast<double>(layer.Derivative(j + 1) * static_cast<Extended>(d));
        }
    }
    for (int k = L; k >= 1; --k) {
        TLayer& layer = net.Layer(k);
        for (int i = 0; i < layer.NeuronCount(); ++i) {
            Extended step = static_cast<Extended>(net.LearningRate) * layer.Deltas[i];
            layer.BiasCorrections[i] = static_cast<double>(step + layer.BiasCorrections[i]);
            for (int j = 0; j < layer.InputCount(); ++j) {
                Extended a;
                if (k == 1)
                    a = net.Inputs[j];
                else if (algorithm == 1)
                    a = net.Layer(k - 1).Outputs[j];
                else
                    a = static_cast<Extended>(net.Momentum) * net.Layer(k - 1).Deltas[j] + net.Layer(k - 1).Outputs[j];
                double& c = layer.WeightCorrections[std::size_t(i) * layer.InputCount() + j];
                c = static_cast<double>(step * a + c);
            }
        }
    }
}

}  // namespace

TEST(EngineFastPath, ForwardPassIsBitIdenticalToTheReference)
{
    std::mt19937_64 generator(7);
    for (const Shape& shape : kShapes) {
        TNeuroNet net = randomNet(shape, generator);
        for (int pattern = 0; pattern < 5; ++pattern) {
            std::vector<double> x = randomVector(net.InputCount(), generator);
            net.SetInputs(net.InputCount(), x.data());
            ASSERT_TRUE(net.Evaluate());
            auto expected = referenceForward(net);
            for (int k = 1; k <= net.LayerCount(); ++k)
                EXPECT_TRUE(sameBits(net.Layer(k).Outputs, expected[k - 1])) << "layer " << k << " of shape " << shape.sizes.size();
        }
    }
}

TEST(EngineFastPath, BackPropagationIsBitIdenticalToTheReference)
{
    std::mt19937_64 generator(11);
    for (int algorithm : {1, 2}) {
        for (const Shape& shape : kShapes) {
            TNeuroNet fast = randomNet(shape, generator);
            TNeuroNet plain(fast.InputCount());
            for (const auto& layer : fast.Layers) {
                plain.AddLayer(layer->NeuronCount(), layer->Params);
                plain.LastLayer().Weights = layer->Weights;
                plain.LastLayer().Bias = layer->Bias;
            }
            for (TNeuroNet* net : {&fast, &plain}) {
                net->LearningRate = 0.37;
                net->Momentum = 0.61;
                net->BeginTraining();
            }
            for (int pattern = 0; pattern < 4; ++pattern) {
                std::vector<double> x = randomVector(fast.InputCount(), generator);
                std::vector<double> e = randomVector(fast.OutputCount(), generator);
                for (TNeuroNet* net : {&fast, &plain}) {
                    net->SetInputs(net->InputCount(), x.data());
                    ASSERT_TRUE(net->Evaluate());
                    net->LastLayer().Deltas = e;
                }
                fast.BackPropagate(algorithm);
                referenceBackPropagate(plain, algorithm);
            }
            for (int k = 1; k <= fast.LayerCount(); ++k) {
                EXPECT_TRUE(sameBits(fast.Layer(k).Deltas, plain.Layer(k).Deltas)) << "algorithm " << algorithm << " layer " << k;
                EXPECT_TRUE(sameBits(fast.Layer(k).WeightCorrections, plain.Layer(k).WeightCorrections)) << "layer " << k;
                EXPECT_TRUE(sameBits(fast.Layer(k).BiasCorrections, plain.Layer(k).BiasCorrections)) << "layer " << k;
            }
            fast.ApplyCorrections();
            for (int k = 1; k <= plain.LayerCount(); ++k) {
                TLayer& layer = plain.Layer(k);
                for (std::size_t n = 0; n < layer.Weights.size(); ++n)
                    layer.Weights[n] = static_cast<double>(static_cast<Extended>(layer.Weights[n]) + layer.WeightCorrections[n]);
                for (std::size_t n = 0; n < layer.Bias.size(); ++n)
                    layer.Bias[n] = static_cast<double>(static_cast<Extended>(layer.Bias[n]) + layer.BiasCorrections[n]);
                EXPECT_TRUE(sameBits(fast.Layer(k).Weights, layer.Weights)) << "layer " << k;
                EXPECT_TRUE(sameBits(fast.Layer(k).Bias, layer.Bias)) << "layer " << k;
            }
        }
    }
}

TEST(EngineFastPath, SigmoidLayersStopAtTheSameNeuronAsTheReference)
{
    // One neuron deep in the second block of a sigmoid layer gets an extreme
    // weight or bias; the outputs before it are written, the ones after it
    // keep what they held, exactly as in the one-at-a-time pass.
    struct Case { double weight, bias; const char* outcome; };
    const double inf = std::numeric_limits<double>::infinity();
    const double largest = std::numeric_limits<double>::max();
    const Case cases[] = {
        {1e60, 0, "guard"},                 // the sum fails its guard
        {1, std::nan(""), "guard"},         // the output is a NaN
        {1, inf, "ok"},                     // an infinite argument
        {1, largest, "ok"},                 // an argument beyond the double range
        {1, -largest, "overflow"},          // ... whose exponential overflows
        {1, -2e4, "overflow"},
        {1, 800, "ok"},                     // the library's side of the fast range
    };
    constexpr int kNeurons = 41, kOdd = 37;
    std::mt19937_64 generator(5);
    std::uniform_real_distribution<double> weight(-1.5, 1.5);
    for (int code : {1, 2}) {
        for (const Case& c : cases) {
            TNeuroNet net(1);
            TLayerParams p;
            p.WeightInit = p.BiasInit = 1;
            p.Activation = code;
            net.AddLayer(kNeurons, p);
            TLayer& layer = net.Layer(1);
            for (int i = 0; i < kNeurons; ++i) {
                layer.Weight(i, 0) = weight(generator);
                layer.Bias[i] = weight(generator);
            }
            layer.Weight(kOdd, 0) = c.weight;
            layer.Bias[kOdd] = c.bias;
            net.SetInput(1, 0.73);
            layer.Outputs.assign(kNeurons, 7.0);

            std::vector<double> expected = layer.Outputs;
            std::string expectedOutcome = "ok";
            try {
                for (int i = 0; i < kNeurons; ++i) {
                    Extended s = static_cast<Extended>(layer.Weight(i, 0)) * static_cast<Extended>(net.Inputs[0]);
                    if (!(std::fabs(s) <= 1e50L)) {
                        expectedOutcome = "guard";
                        break;
                    }
                    Extended y = layer.Activate(s + layer.Bias[i]);
                    if (!(std::fabs(y) <= 1e50L)) {
                        expectedOutcome = "guard";
                        break;
                    }
                    expected[i] = static_cast<double>(y);
                }
            } catch (const FloatingPointError&) {
                expectedOutcome = "overflow";
            }
            std::string outcome;
            try {
                outcome = net.Evaluate() ? "ok" : "guard";
            } catch (const FloatingPointError&) {
                outcome = "overflow";
            }
            EXPECT_EQ(expectedOutcome, c.outcome) << "code " << code << " bias " << c.bias;
            EXPECT_EQ(outcome, expectedOutcome) << "code " << code << " bias " << c.bias;
            EXPECT_TRUE(sameBits(layer.Outputs, expected)) << "code " << code << " bias " << c.bias;
        }
    }
}

// Writes the example networks, datasets and C export with the program's own writers:
//   corvalith_make_examples <folder>
#include <cmath>
#include <cstdio>
#include <string>

#include "engine/Neuran.h"
#include "files/CExport.h"
#include "files/NetFile.h"
#include "files/TextDataset.h"
#include "platform/Platform.h"

namespace {

constexpr int kLinear = 0;
constexpr int kLogistic = 1;
constexpr int kTanh = 2;

TLayerParams randomParams(int activation, double from, double to)
{
    TLayerParams p;
    p.Activation = activation;
    p.WeightFrom = from;
    p.WeightTo = to;
    p.BiasFrom = from / 2;
    p.BiasTo = to / 2;
    return p;
}

// 2 inputs, two tanh neurons that detect "at least one" and "both", and a
// linear output that takes their difference: 0, 1, 1, 0 for the four corners.
TNeuroNet xorNet()
{
    TNeuroNet net(2);
    net.AddLayer(2, randomParams(kTanh, -1, 1));
    net.AddLayer(1, randomParams(kLinear, -1, 1));
    TLayer& hidden = net.Layer(1);
    hidden.Weights = {10, 10, 10, 10};
    hidden.Bias = {-5, -15};
    TLayer& out = net.Layer(2);
    out.Weights = {0.5, -0.5};
    out.Bias = {0};
    net.Inputs = {1, 0};
    return net;
}

// 4-8-6-3 with random weights of both signs: the diagram shows them as grey
// levels from black to white.
TNeuroNet wideNet()
{
    platform::SetSeedClock([] { return 0x5eed2026u; });
    TNeuroNet net(4);
    net.AddLayer(8, randomParams(kTanh, -1, 1));
    net.AddLayer(6, randomParams(kLogistic, -2, 2));
    net.AddLayer(3, randomParams(kLinear, -1, 1));
    platform::SetSeedClock({});
    net.Inputs = {0.2, -0.5, 0.9, 0.1};
    return net;
}

bool write(const TNeuroNet& net, const std::string& name)
{
    std::string error;
    if (WriteNetFile(net, name, error))
        return true;
    std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
    return false;
}

// One input x in [-3, 3] and one output sin x, 121 pairs: a curve for a
// hyperbolic-tangent hidden layer to learn.
bool writeSine(const std::string& name)
{
    const int pairs = 121;
    TMatrix inputs(pairs, 1), outputs(pairs, 1);
    for (int p = 0; p < pairs; ++p) {
        double x = -3 + 6.0 * p / (pairs - 1);
        inputs.SetItem(p, 0, x);
        outputs.SetItem(p, 0, std::sin(x));
    }
    std::string error;
    if (WriteTextDataset(name, inputs, outputs, error))
        return true;
    std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
    return false;
}

bool writeXorData(const std::string& name)
{
    TMatrix inputs(4, 2), outputs(4, 1);
    for (int p = 0; p < 4; ++p) {
        inputs.SetItem(p, 0, p >> 1);
        inputs.SetItem(p, 1, p & 1);
        outputs.SetItem(p, 0, (p >> 1) ^ (p & 1));
    }
    std::string error;
    if (WriteTextDataset(name, inputs, outputs, error))
        return true;
    std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
    return false;
}

bool exportAsC(TNeuroNet net, const std::string& name)
{
    std::string error;
    if (ExportNetworkAsC(net, name, error))
        return true;
    std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    bool ok = write(xorNet(), folder + "/xor.crv");
    ok = write(wideNet(), folder + "/wide-4-8-6-3.crv") && ok;
    ok = exportAsC(xorNet(), folder + "/xor.h") && ok;
    ok = writeSine(folder + "/sine.csv") && ok;
    ok = writeXorData(folder + "/xor.csv") && ok;
    return ok ? 0 : 1;
}

// Writes the example networks with the program's own network writer:
//   corvalith_make_examples <folder>
#include <cstdio>
#include <string>

#include "engine/Neuran.h"
#include "files/NetFile.h"
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
    return ok ? 0 : 1;
}

// Writes the example networks, datasets (binary and text) and the C export
// with the program's own writers:
//   corvalith_make_examples <folder>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "data/xMatrix.h"
#include "engine/Neuran.h"
#include "files/CExport.h"
#include "files/DatasetFile.h"
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

struct Dataset {
    TMatrix inputs;
    TMatrix outputs;
};

// The four corners of the unit square and their exclusive or.
Dataset xorData()
{
    Dataset d{TMatrix(4, 2), TMatrix(4, 1)};
    for (int p = 0; p < 4; ++p) {
        const int a = p / 2, b = p % 2;
        d.inputs.SetItem(p, 0, a);
        d.inputs.SetItem(p, 1, b);
        d.outputs.SetItem(p, 0, a ^ b);
    }
    return d;
}

// One period of a sine, 50 points from 0 to 2 pi both included: one input,
// one output, a curve for the graphs window.
Dataset sineData()
{
    constexpr int kPoints = 50;
    Dataset d{TMatrix(kPoints, 1), TMatrix(kPoints, 1)};
    for (int p = 0; p < kPoints; ++p) {
        const double x = 2 * std::numbers::pi * p / (kPoints - 1);
        d.inputs.SetItem(p, 0, x);
        // sin(2 pi) in doubles is -2.4E-16, whose relative error would dwarf
        // every other point's; the curve's true zero is meant.
        d.outputs.SetItem(p, 0, p == kPoints - 1 ? 0.0 : std::sin(x));
    }
    return d;
}

// Two 2-bit numbers (a1 a0 b1 b0) and the three bits of their sum (s2 s1 s0):
// 16 pairs, four inputs, three outputs.
Dataset adderData()
{
    Dataset d{TMatrix(16, 4), TMatrix(16, 3)};
    for (int p = 0; p < 16; ++p) {
        const int a = p / 4, b = p % 4, sum = a + b;
        const int bits[4] = {a >> 1, a & 1, b >> 1, b & 1};
        for (int c = 0; c < 4; ++c)
            d.inputs.SetItem(p, c, bits[c]);
        for (int c = 0; c < 3; ++c)
            d.outputs.SetItem(p, c, (sum >> (2 - c)) & 1);
    }
    return d;
}

bool write(const Dataset& data, const std::string& name)
{
    std::string error;
    if (WriteDatasetFile(name, data.inputs, data.outputs, error))
        return true;
    std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
    return false;
}

// The same dataset as comma-separated text, for the editor's text import.
bool writeText(const Dataset& data, const std::string& name)
{
    std::string error;
    if (WriteTextDataset(name, data.inputs, data.outputs, error))
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
    ok = write(xorData(), folder + "/xor.nld") && ok;
    ok = write(sineData(), folder + "/sine.nld") && ok;
    ok = write(adderData(), folder + "/adder-2bit.nld") && ok;
    ok = writeText(xorData(), folder + "/xor.csv") && ok;
    ok = writeText(sineData(), folder + "/sine.csv") && ok;
    ok = writeText(adderData(), folder + "/adder-2bit.csv") && ok;
    ok = exportAsC(xorNet(), folder + "/xor.h") && ok;
    return ok ? 0 : 1;
}

#include "files/CExport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "engine/Errors.h"
#include "engine/FastExp.h"
#include "engine/Neuran.h"
#include "files/FileAccess.h"

namespace {

// Hexadecimal literals carry every bit. C has no literal for an infinity or a
// NaN; math.h's macros stand in (a NaN's payload never reaches an output).
std::string hexLiteral(double v)
{
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return v < 0 ? "-HUGE_VAL" : "HUGE_VAL";
    char digits[40];
    auto end = std::to_chars(digits, digits + sizeof digits, std::fabs(v), std::chars_format::hex).ptr;
    return (std::signbit(v) ? "-0x" : "0x") + std::string(digits, end);
}

std::string hexLiteral(Extended v)
{
    char digits[48];
    auto end = std::to_chars(digits, digits + sizeof digits, std::fabs(v), std::chars_format::hex).ptr;
    return (std::signbit(v) ? "-0x" : "0x") + std::string(digits, end) + "L";
}

std::string upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return s;
}

// The values as the body of an array initializer, four to a line.
void appendValues(std::string& out, std::span<const double> values, const char* indent = "    ")
{
    for (std::size_t n = 0; n < values.size(); ++n) {
        if (n % 4 == 0)
            out += n == 0 ? indent : std::string("\n") + indent;
        else
            out += ' ';
        out += hexLiteral(values[n]);
        if (n + 1 < values.size())
            out += ',';
    }
}

void appendArray(std::string& out, const std::string& declaration, std::span<const double> values)
{
    out += "static const double " + declaration + " = {\n";
    appendValues(out, values);
    out += "\n};\n";
}

// The range pairs as the engine applies them, one {min, max} to a line: an
// array whose length is not the count scales nothing, so it is written as off pairs.
void appendRangePairs(std::string& out, const std::string& declaration, const std::vector<TRange>& ranges, int count)
{
    out += "static const double " + declaration + "[2] = {\n";
    for (int j = 0; j < count; ++j) {
        TRange r = ranges.size() == std::size_t(count) ? ranges[j] : TRange{};
        out += "    {" + hexLiteral(r.Min) + ", " + hexLiteral(r.Max) + "}";
        out += j + 1 < count ? ",\n" : "\n";
    }
    out += "};\n";
}

bool hasSigmoidLayer(const TNeuroNet& net)
{
    return std::any_of(net.Layers.begin(), net.Layers.end(),
                       [](const auto& layer) { return layer->Params.Activation == 1 || layer->Params.Activation == 2; });
}

int widestLayer(const TNeuroNet& net)
{
    int widest = 1;
    for (const auto& layer : net.Layers)
        widest = std::max(widest, layer->NeuronCount());
    return widest;
}

std::size_t weightCount(const TNeuroNet& net)
{
    std::size_t count = 0;
    for (const auto& layer : net.Layers)
        count += layer->Weights.size();
    return count;
}

// The engine's exponential, step for step in scalar double arithmetic: its
// SSE2 lanes are independent and exactly rounded, so a lone double operation
// gives each lane's bits. Contraction into fused multiply-adds would change
// them, hence the pragmas.
void appendExp(std::string& out, const std::string& n)
{
    using namespace fast_exp;
    out += "/* 2^(j/256) as a head of 26 significant bits and a tail. */\n";
    out += "static const double " + n + "_exp_table_[256][2] = {\n";
    for (int j = 0; j < 256; ++j) {
        out += "    {" + hexLiteral(kPowersOfTwo[j].hi) + ", " + hexLiteral(kPowersOfTwo[j].lo) + "}";
        out += j < 255 ? ",\n" : "\n";
    }
    out += "};\n\n";
    out += "/* e^t into *e in the workbench's arithmetic; 0 when it overflows the long double range. */\n";
    out += "#if defined(__GNUC__) && !defined(__clang__)\n";
    out += "__attribute__((optimize(\"fp-contract=off\")))\n";
    out += "#endif\n";
    out += "static inline int " + n + "_exp_(long double t, long double *e)\n{\n";
    out += "#ifdef __clang__\n#pragma STDC FP_CONTRACT OFF\n#endif\n";
    out += "    const double hi = (double)t;\n";
    out += "    double lo, z, kd, a, w, rhi, back, rlo, r2, poly, plow, p1, p2, ph, pl, product, head, tail, scale;\n";
    out += "    uint64_t bits;\n";
    out += "    int k, m;\n";
    out += "    unsigned j;\n";
    out += "    if (!(fabs(hi) < " + hexLiteral(kFastLimit) + ")) {\n";
    out += "        *e = expl(t);\n";
    out += "        return !(isinf(*e) && isfinite(t));\n";
    out += "    }\n";
    out += "    lo = (double)(t - hi);\n";
    out += "    z = hi * " + hexLiteral(kInvLn2) + " + 0x1.8p+52;\n";
    out += "    kd = z - 0x1.8p+52;\n";
    out += "    k = (int)kd;\n";
    out += "    j = (unsigned)k & 255u;\n";
    out += "    m = (k - (int)j) / 256;\n";
    out += "    a = hi - kd * " + hexLiteral(kLn2Hi) + ";\n";
    out += "    w = lo - kd * " + hexLiteral(kLn2Lo) + ";\n";
    out += "    rhi = a + w;\n";
    out += "    back = rhi - a;\n";
    out += "    rlo = (a - (rhi - back)) + (w - back);\n";
    out += "    r2 = rhi * rhi;\n";
    out += "    poly = (" + hexLiteral(1.0 / 6) + " + rhi * " + hexLiteral(1.0 / 24) + ") + r2 * (" + hexLiteral(1.0 / 120)
        + " + rhi * " + hexLiteral(1.0 / 720) + ");\n";
    out += "    plow = ((rlo + rhi * rlo) + r2 * 0x1p-1) + r2 * rhi * poly;\n";
    out += "    memcpy(&bits, &rhi, sizeof bits);\n";
    out += "    bits &= 0xFFFFFFFFFC000000u;\n";
    out += "    memcpy(&p1, &bits, sizeof p1);\n";
    out += "    p2 = (rhi - p1) + plow;\n";
    out += "    ph = " + n + "_exp_table_[j][0];\n";
    out += "    pl = " + n + "_exp_table_[j][1];\n";
    out += "    product = ph * p1;\n";
    out += "    head = ph + product;\n";
    out += "    tail = (((product - (head - ph)) + ph * p2) + pl * (rhi + plow)) + pl;\n";
    out += "    bits = (uint64_t)(m + 1023) << 52;\n";
    out += "    memcpy(&scale, &bits, sizeof scale);\n";
    out += "    *e = ((long double)head + tail) * scale;\n";
    out += "    return 1;\n";
    out += "}\n\n";
}

void appendLayerFunction(std::string& out, const std::string& n, const std::string& N, bool sigmoid)
{
    out += "/* One layer: each neuron's weighted sum in long double, inputs in order, the\n";
    out += "   guard on the sum, the bias, the activation, the guard on the result. */\n";
    out += "static inline int " + n + "_layer_(int code, int neurons, int inputs, const double *w, const double *b,\n";
    out += "    const double *x, double *y)\n{\n";
    out += "    int i, j;\n";
    out += "    for (i = 0; i < neurons; ++i) {\n";
    out += "        const double *row = w + (long)i * inputs;\n";
    out += "        long double s = 0, v;\n";
    out += "        for (j = 0; j < inputs; ++j)\n";
    out += "            s += (long double)row[j] * x[j];\n";
    out += "        if (!(fabsl(s) <= " + N + "_GUARD_))\n";
    out += "            return 0;\n";
    out += "        s += b[i];\n";
    out += "        switch (code) {\n";
    if (sigmoid) {
        out += "        case 1:\n";
        out += "            if (!" + n + "_exp_(-s, &v))\n                return 0;\n";
        out += "            v = 1.0L / (v + 1.0L);\n";
        out += "            break;\n";
        out += "        case 2:\n";
        out += "            if (!" + n + "_exp_(-2.0L * s, &v))\n                return 0;\n";
        out += "            v = 2.0L / (v + 1.0L) - 1.0L;\n";
        out += "            break;\n";
    }
    out += "        case 3: v = fabsl(s) >= " + hexLiteral(9223372036854775808.0L) + " ? 0.0L : sinl(s); break;\n";
    out += "        case 4: v = s < 0 ? 0.0L : (s > 1 ? 1.0L : s); break;\n";
    out += "        case 5: v = s < -1 ? -1.0L : (s > 1 ? 1.0L : s); break;\n";
    out += "        case 6: v = s < 0 ? 0.0L : s; break;\n";
    out += "        default: v = s; break;\n";
    out += "        }\n";
    out += "        if (!(fabsl(v) <= " + N + "_GUARD_))\n";
    out += "            return 0;\n";
    out += "        y[i] = (double)v;\n";
    out += "    }\n";
    out += "    return 1;\n";
    out += "}\n\n";
}

void appendEvaluate(std::string& out, const TNeuroNet& net, const std::string& n, const std::string& N)
{
    const bool layers = net.LayerCount() > 0;
    out += "static inline int " + n + "_evaluate(const double *inputs, double *outputs)\n{\n";
    out += "    double x[" + N + "_INPUT_COUNT];\n";
    if (layers) {
        const std::string width = std::to_string(widestLayer(net));
        out += "    double a[" + width + "]";
        if (net.LayerCount() > 1)
            out += ", b[" + width + "]";
        out += ", y[" + N + "_OUTPUT_COUNT];\n";
    }
    out += "    int j;\n";
    out += "    for (j = 0; j < " + N + "_INPUT_COUNT; ++j) {\n";
    out += "        const double *r = " + n + "_input_ranges[j];\n";
    out += "        double v = inputs[j];\n";
    out += "        if (r[0] < r[1]) {\n";
    out += "            long double s = (((long double)v - r[0]) * 2) / ((long double)r[1] - r[0]) + (-1.0L);\n";
    out += "            v = (double)s;\n";
    out += "            if (isinf(v) && isfinite(s))\n";
    out += "                return 0;\n";
    out += "        }\n";
    out += "        x[j] = v;\n";
    out += "    }\n";
    if (!layers) {
        out += "    memcpy(outputs, x, sizeof x);\n";
        out += "    return 1;\n}\n\n";
        return;
    }
    const char* source = "x";
    for (int k = 1; k <= net.LayerCount(); ++k) {
        const TLayer& layer = net.Layer(k);
        const char* target = k % 2 ? "a" : "b";
        out += "    if (!" + n + "_layer_(" + std::to_string(layer.Params.Activation) + ", "
            + std::to_string(layer.NeuronCount()) + ", " + std::to_string(layer.InputCount()) + ", " + n + "_weights_"
            + std::to_string(k) + ", " + n + "_bias_" + std::to_string(k) + ", " + source + ", " + target + "))\n";
        out += "        return 0;\n";
        source = target;
    }
    out += "    for (j = 0; j < " + N + "_OUTPUT_COUNT; ++j) {\n";
    out += "        const double *r = " + n + "_output_ranges[j];\n";
    out += "        double v = " + std::string(source) + "[j];\n";
    out += "        if (r[0] < r[1]) {\n";
    out += "            long double s = (((long double)r[1] - r[0]) * ((long double)v - (" + hexLiteral(-0.9L) + "))) / "
        + hexLiteral(1.8L) + " + r[0];\n";
    out += "            v = (double)s;\n";
    out += "            if (isinf(v) && isfinite(s))\n";
    out += "                return 0;\n";
    out += "        }\n";
    out += "        y[j] = v;\n";
    out += "    }\n";
    out += "    memcpy(outputs, y, sizeof y);\n";
    out += "    return 1;\n}\n\n";
}

// The network's transient state, put back after the test vectors are worked out.
class NetStateKeeper {
public:
    explicit NetStateKeeper(TNeuroNet& net) : net_(net), inputs_(net.Inputs), outputs_(net.Outputs), evaluated_(net.Evaluated)
    {
        for (const auto& layer : net.Layers)
            layerOutputs_.push_back(layer->Outputs);
    }
    ~NetStateKeeper()
    {
        net_.Inputs = inputs_;
        net_.Outputs = outputs_;
        net_.Evaluated = evaluated_;
        for (std::size_t k = 0; k < layerOutputs_.size(); ++k)
            net_.Layers[k]->Outputs = layerOutputs_[k];
    }
    NetStateKeeper(const NetStateKeeper&) = delete;
    NetStateKeeper& operator=(const NetStateKeeper&) = delete;

private:
    TNeuroNet& net_;
    std::vector<double> inputs_, outputs_;
    bool evaluated_;
    std::vector<std::vector<double>> layerOutputs_;
};

struct TestVectors {
    std::vector<double> inputs, outputs;  // one row per vector
    std::vector<int> results;
};

// A fixed generator, so that one network always gets the same vectors.
class VectorRandom {
public:
    double uniform(double from, double to)
    {
        state_ = state_ * 6364136223846793005u + 1442695040888963407u;
        return from + double(state_ >> 11) * 0x1p-53 * (to - from);
    }

private:
    std::uint64_t state_ = 0x853c49e6748fea9bu;
};

// Inputs over each input's range (or [-3, 3] without one), and some far
// beyond it: saturated neurons, exponentials off the fast path, tripped guards.
std::vector<double> vectorInputs(const TNeuroNet& net, int n, VectorRandom& random)
{
    std::vector<double> x(net.InputCount());
    double factor = 1;
    switch (n % 16) {
    case 12: case 13: factor = std::ldexp(1.0, int(random.uniform(1, 13))); break;
    case 14: factor = std::pow(10.0, random.uniform(2.5, 6)); break;
    case 15: factor = std::pow(10.0, random.uniform(30, 60)); break;
    default: break;
    }
    const bool ranged = net.InputRanges.size() == net.Inputs.size();
    for (int j = 0; j < net.InputCount(); ++j) {
        double from = -3, to = 3;
        if (ranged && net.InputRanges[j].active() && std::isfinite(net.InputRanges[j].Max - net.InputRanges[j].Min)) {
            const TRange& r = net.InputRanges[j];
            double margin = (r.Max - r.Min) / 8;
            from = r.Min - margin;
            to = r.Max + margin;
        }
        x[j] = n == 0 ? 0.0 : random.uniform(from, to) * factor;
    }
    return x;
}

TestVectors testVectors(TNeuroNet& net)
{
    const std::size_t perVector = std::size_t(net.InputCount()) + std::size_t(net.OutputCount());
    std::size_t count = 256;
    count = std::min(count, std::max<std::size_t>(8, 65536 / perVector));
    count = std::min(count, std::max<std::size_t>(8, 50'000'000 / std::max<std::size_t>(1, weightCount(net))));

    NetStateKeeper keeper(net);
    VectorRandom random;
    TestVectors vectors;
    for (std::size_t n = 0; n < count; ++n) {
        std::vector<double> x = vectorInputs(net, int(n), random);
        bool ok = false;
        try {
            net.SetInputs(net.InputCount(), x.data());
            ok = net.Evaluate();
        } catch (const FloatingPointError&) {
            ok = false;
        }
        vectors.inputs.insert(vectors.inputs.end(), x.begin(), x.end());
        if (ok)
            vectors.outputs.insert(vectors.outputs.end(), net.Outputs.begin(), net.Outputs.end());
        else
            vectors.outputs.insert(vectors.outputs.end(), net.OutputCount(), 0.0);
        vectors.results.push_back(ok ? 1 : 0);
    }
    return vectors;
}

void appendSelfTest(std::string& out, TNeuroNet& net, const std::string& n, const std::string& N)
{
    TestVectors vectors = testVectors(net);
    const std::string count = std::to_string(vectors.results.size());
    out += "#ifdef " + N + "_SELF_TEST\n";
    out += "#include <stdio.h>\n\n";
    out += "/* Test vectors: inputs, and the outputs and result the workbench computed for them. */\n";
    out += "#define " + N + "_TEST_COUNT_ " + count + "\n";
    appendArray(out, n + "_test_inputs_[" + N + "_TEST_COUNT_ * " + N + "_INPUT_COUNT]", vectors.inputs);
    appendArray(out, n + "_test_outputs_[" + N + "_TEST_COUNT_ * " + N + "_OUTPUT_COUNT]", vectors.outputs);
    out += "static const unsigned char " + n + "_test_results_[" + N + "_TEST_COUNT_] = {\n";
    for (std::size_t v = 0; v < vectors.results.size(); ++v) {
        out += v % 32 == 0 ? (v == 0 ? "    " : "\n    ") : " ";
        out += std::to_string(vectors.results[v]);
        if (v + 1 < vectors.results.size())
            out += ',';
    }
    out += "\n};\n\n";
    out += "/* 1 when every test vector gives the workbench's result and outputs bit for bit. */\n";
    out += "static inline int " + n + "_self_test(void)\n{\n";
    out += "    int v, failures = 0;\n";
    out += "    for (v = 0; v < " + N + "_TEST_COUNT_; ++v) {\n";
    out += "        double outputs[" + N + "_OUTPUT_COUNT];\n";
    out += "        const double *expected = " + n + "_test_outputs_ + (long)v * " + N + "_OUTPUT_COUNT;\n";
    out += "        int result = " + n + "_evaluate(" + n + "_test_inputs_ + (long)v * " + N + "_INPUT_COUNT, outputs);\n";
    out += "        if (result != " + n + "_test_results_[v] || (result && memcmp(outputs, expected, sizeof outputs) != 0)) {\n";
    out += "            if (failures < 5)\n";
    out += "                fprintf(stderr, \"" + n + ": test vector %d gives a different result\\n\", v + 1);\n";
    out += "            ++failures;\n";
    out += "        }\n";
    out += "    }\n";
    out += "    printf(\"" + n + ": %d of %d test vectors match\\n\", " + N + "_TEST_COUNT_ - failures, " + N
        + "_TEST_COUNT_);\n";
    out += "    return failures == 0;\n";
    out += "}\n\n";
    out += "/* Compiled on its own (cc -x c), the header is the self-test program. */\n";
    out += "#if defined(__INCLUDE_LEVEL__) && __INCLUDE_LEVEL__ == 0\n";
    out += "int main(void)\n{\n    return " + n + "_self_test() ? 0 : 1;\n}\n";
    out += "#endif\n";
    out += "#endif /* " + N + "_SELF_TEST */\n\n";
}

void appendPreamble(std::string& out, const TNeuroNet& net, const std::string& n, const std::string& N)
{
    out += "/* " + n + ".h: a network of " + std::to_string(net.LayerCount()) + " layer(s), written by Corvalith as C.\n\n";
    out += "   int " + n + "_evaluate(const double *inputs, double *outputs);\n";
    out += "     Reads " + N + "_INPUT_COUNT inputs and writes " + N + "_OUTPUT_COUNT outputs, as the workbench's\n";
    out += "     Evaluate does with the same inputs. Returns 1, or 0 when a value overflows;\n";
    out += "     the outputs are then left as they were. No allocation, no global state.\n\n";
    out += "   On x86-64 with gcc or clang (no -ffast-math) the outputs are the workbench's\n";
    out += "   bit for bit; long double must be the 80-bit type and double arithmetic SSE2.\n";
    out += "   To check it on your machine:\n";
    out += "     cc -O2 -D" + N + "_SELF_TEST -x c " + n + ".h -o " + n + "_test -lm && ./" + n + "_test\n";
    out += "   or define " + N + "_SELF_TEST and call " + n + "_self_test() (1 when all match). */\n";
    out += "#ifndef " + N + "_H_INCLUDED\n";
    out += "#define " + N + "_H_INCLUDED\n\n";
    out += "#include <math.h>\n#include <stdint.h>\n#include <string.h>\n\n";
    out += "#define " + N + "_INPUT_COUNT " + std::to_string(net.InputCount()) + "\n";
    out += "#define " + N + "_OUTPUT_COUNT " + std::to_string(net.OutputCount()) + "\n";
    out += "#define " + N + "_GUARD_ " + hexLiteral(Extended(1e50L)) + "\n\n";
}

void appendData(std::string& out, const TNeuroNet& net, const std::string& n, const std::string& N)
{
    out += "/* Range pairs (min, max); a pair scales its value only when min < max. */\n";
    appendRangePairs(out, n + "_input_ranges[" + N + "_INPUT_COUNT]", net.InputRanges, net.InputCount());
    if (net.LayerCount() > 0)
        appendRangePairs(out, n + "_output_ranges[" + N + "_OUTPUT_COUNT]", net.OutputRanges, net.OutputCount());
    out += "\n";
    for (int k = 1; k <= net.LayerCount(); ++k) {
        const TLayer& layer = net.Layer(k);
        const std::string suffix = std::to_string(k);
        out += "/* Layer " + suffix + ": " + std::to_string(layer.NeuronCount()) + " neuron(s) of "
            + std::to_string(layer.InputCount()) + " input(s), activation " + std::to_string(layer.Params.Activation);
        if (layer.Params.Activation >= 0 && layer.Params.Activation < kActivationCount)
            out += " (" + std::string(ActivationNames[layer.Params.Activation].substr(1)) + ")";
        out += "; weights one neuron's row after another. */\n";
        appendArray(out, n + "_weights_" + suffix + "[" + std::to_string(layer.Weights.size()) + "]", layer.Weights);
        appendArray(out, n + "_bias_" + suffix + "[" + std::to_string(layer.Bias.size()) + "]", layer.Bias);
        out += "\n";
    }
}

}  // namespace

std::string CIdentifierForFile(const std::string& fileName)
{
    std::string stem = std::filesystem::path(fileName).stem().string();
    std::string name;
    for (char c : stem) {
        bool valid = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        name += valid ? c : '_';
    }
    if (name.empty() || !((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z')))
        name = "net_" + name;
    return name;
}

std::string CHeaderText(TNeuroNet& net, const std::string& name)
{
    const std::string N = upper(name);
    const bool sigmoid = hasSigmoidLayer(net);
    std::string out;
    appendPreamble(out, net, name, N);
    appendData(out, net, name, N);
    if (net.LayerCount() > 0) {
        if (sigmoid)
            appendExp(out, name);
        appendLayerFunction(out, name, N, sigmoid);
    }
    appendEvaluate(out, net, name, N);
    appendSelfTest(out, net, name, N);
    out += "#endif /* " + N + "_H_INCLUDED */\n";
    return out;
}

bool ExportNetworkAsC(TNeuroNet& net, const std::string& fileName, std::string& error)
{
    std::string text = CHeaderText(net, CIdentifierForFile(fileName));
    return WriteFileAtomically(fileName, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), error);
}

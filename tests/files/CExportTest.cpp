#include "files/CExport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Neuran.h"
#include "tests/files/TestFiles.h"

// Exported headers are compiled with the system's C compiler (and C++ and
// clang when present) and their self-tests run: the test vectors hold the
// engine's own outputs, so a passing self-test is the bit-for-bit proof.
namespace {

struct NetShape {
    std::string name;
    std::vector<int> sizes;  // inputs, then the neurons of each layer
    std::vector<int> codes;  // activation of each layer
    double weightScale;
    bool inputRanges, outputRanges;
    void (*tweak)(TNeuroNet&) = nullptr;
};

// Values C has no plain literal for, and one that is not normal. A saturating
// neuron turns an infinite bias into 1 or 0; the output pair (0, inf) gives
// infinite outputs, which are no overflow.
void specialValues(TNeuroNet& net)
{
    net.Layer(1).Weights[1] = 0x0.0000000000123p-1022;
    net.Layer(1).Bias[1] = -HUGE_VAL;
    net.Layer(1).Bias[2] = HUGE_VAL;
    net.InputRanges = {TRange{std::nan(""), 1}, TRange{0, HUGE_VAL}};
    net.OutputRanges = {TRange{0, HUGE_VAL}, TRange{-1, 1}};
}

const NetShape kShapes[] = {
    {"bare", {3}, {}, 1, true, false},
    {"linear", {2, 3}, {0}, 1, false, false},
    {"sigmoids", {4, 6, 3}, {1, 2}, 1.5, true, true},
    {"sine_sat", {3, 5, 4, 2}, {3, 4, 5}, 2, false, true},
    {"mixed4", {5, 7, 6, 33, 3}, {6, 1, 2, 7}, 1, true, true},
    {"steep", {2, 37, 1}, {1, 2}, 60, false, false},
    {"specials", {2, 3, 2}, {4, 0}, 1, false, false, specialValues},
};

TNeuroNet makeNet(const NetShape& shape)
{
    std::mt19937_64 generator(std::hash<std::string>()(shape.name));
    std::uniform_real_distribution<double> weight(-shape.weightScale, shape.weightScale);
    TNeuroNet net(shape.sizes.front());
    for (std::size_t k = 1; k < shape.sizes.size(); ++k) {
        TLayerParams p;
        p.WeightInit = p.BiasInit = 1;
        p.Activation = shape.codes[k - 1];
        net.AddLayer(shape.sizes[k], p);
        TLayer& layer = net.Layer(int(k));
        for (double& w : layer.Weights)
            w = weight(generator);
        for (double& b : layer.Bias)
            b = weight(generator) / 2;
    }
    // One input pair off and one output pair off among the active ones.
    if (shape.inputRanges) {
        net.InputRanges.assign(net.InputCount(), TRange{-2.5, 7.25});
        net.InputRanges[0] = TRange{};
    }
    if (shape.outputRanges) {
        net.OutputRanges.assign(net.OutputCount(), TRange{0.1, 1000});
        net.OutputRanges.back() = TRange{3, 3};
    }
    if (shape.tweak)
        shape.tweak(net);
    return net;
}

struct CommandResult {
    int status;
    std::string output;
};

CommandResult run(const std::string& command, const TempDir& dir)
{
    const std::string log = dir.file("log.txt");
    int status = std::system((command + " > '" + log + "' 2>&1").c_str());
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    return {status, text.str()};
}

bool haveCommand(const std::string& name)
{
    return std::system(("command -v " + name + " > /dev/null 2>&1").c_str()) == 0;
}

void writeText(const std::string& fileName, const std::string& text)
{
    std::ofstream(fileName, std::ios::binary) << text;
}

std::string readText(const std::string& fileName)
{
    std::vector<std::uint8_t> bytes = readBytes(fileName);
    return std::string(bytes.begin(), bytes.end());
}

std::string exportHeader(const NetShape& shape, const TempDir& dir)
{
    TNeuroNet net = makeNet(shape);
    std::string error;
    const std::string file = dir.file(shape.name + ".h");
    EXPECT_TRUE(ExportNetworkAsC(net, file, error)) << error;
    return file;
}

// A program that includes every header and runs every self-test.
std::string allSelfTestsProgram()
{
    std::string program;
    for (const auto& shape : kShapes)
        program += "#include \"" + shape.name + ".h\"\n";
    program += "int main(void)\n{\n    int ok = 1;\n";
    for (const auto& shape : kShapes)
        program += "    ok = " + shape.name + "_self_test() && ok;\n";
    program += "    return ok ? 0 : 1;\n}\n";
    return program;
}

std::string selfTestDefines()
{
    std::string defines;
    for (const auto& shape : kShapes) {
        std::string upper = shape.name;
        for (char& c : upper)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        defines += " -D" + upper + "_SELF_TEST";
    }
    return defines;
}

TEST(CExport, SelfTestsPassWithEveryCompiler)
{
    TempDir dir;
    for (const auto& shape : kShapes)
        exportHeader(shape, dir);
    writeText(dir.file("all.c"), allSelfTestsProgram());

    struct Compiler {
        std::string command;
        bool required;
    };
    const std::string strict = " -O2 -Wall -Wextra -pedantic -Werror" + selfTestDefines();
    const Compiler compilers[] = {
        {"cc -std=c99" + strict, true},
        {"cc -std=gnu17 -march=native" + strict, true},  // contraction into FMA is the default here
        {"c++ -std=c++17 -x c++" + strict, true},
        {"clang -std=c99 -march=native" + strict, false},
    };
    for (const auto& compiler : compilers) {
        const std::string tool = compiler.command.substr(0, compiler.command.find(' '));
        if (!haveCommand(tool)) {
            EXPECT_FALSE(compiler.required) << tool << " is missing; scripts/install-deps installs it";
            continue;
        }
        const std::string exe = dir.file("all");
        CommandResult built = run(compiler.command + " -I'" + dir.path().string() + "' '" + dir.file("all.c") + "' -o '" + exe + "' -lm", dir);
        ASSERT_EQ(built.status, 0) << compiler.command << "\n" << built.output;
        CommandResult tested = run("'" + exe + "'", dir);
        EXPECT_EQ(tested.status, 0) << compiler.command << "\n" << tested.output;
        for (const auto& shape : kShapes)
            EXPECT_NE(tested.output.find(shape.name + ": 256 of 256 test vectors match"), std::string::npos)
                << compiler.command << "\n" << tested.output;
    }
}

TEST(CExport, HeaderCompiledAloneRunsItsSelfTest)
{
    TempDir dir;
    const std::string header = exportHeader(kShapes[2], dir);
    const std::string exe = dir.file("selftest");
    CommandResult built = run("cc -O2 -DSIGMOIDS_SELF_TEST -x c '" + header + "' -o '" + exe + "' -lm", dir);
    ASSERT_EQ(built.status, 0) << built.output;
    CommandResult tested = run("'" + exe + "'", dir);
    EXPECT_EQ(tested.status, 0) << tested.output;
    EXPECT_NE(tested.output.find("sigmoids: 256 of 256 test vectors match"), std::string::npos) << tested.output;

    // Without the macro the header is a plain header: no main, no vectors.
    CommandResult plain = run("cc -O2 -c -x c '" + header + "' -o '" + dir.file("plain.o") + "'", dir);
    EXPECT_EQ(plain.status, 0) << plain.output;
    CommandResult symbols = run("nm '" + dir.file("plain.o") + "'", dir);
    EXPECT_EQ(symbols.output.find("main"), std::string::npos) << symbols.output;
}

TEST(CExport, ChangedWeightFailsTheSelfTest)
{
    TempDir dir;
    const std::string header = exportHeader(kShapes[2], dir);
    std::string text = readText(header);
    // The first weight of layer 2 becomes 0.5 more or less.
    const std::string array = "sigmoids_weights_2[18] = {\n    ";
    std::size_t at = text.find(array);
    ASSERT_NE(at, std::string::npos);
    at += array.size();
    std::size_t end = text.find(',', at);
    TNeuroNet net = makeNet(kShapes[2]);
    double changed = net.Layer(2).Weights[0] + 0.5;
    char literal[64];
    std::snprintf(literal, sizeof literal, "%a", changed);
    text.replace(at, end - at, literal);
    writeText(header, text);

    const std::string exe = dir.file("selftest");
    CommandResult built = run("cc -O2 -DSIGMOIDS_SELF_TEST -x c '" + header + "' -o '" + exe + "' -lm", dir);
    ASSERT_EQ(built.status, 0) << built.output;
    CommandResult tested = run("'" + exe + "'", dir);
    EXPECT_NE(tested.status, 0) << tested.output;
    EXPECT_NE(tested.output.find("sigmoids: test vector"), std::string::npos) << tested.output;
}

// A sweep across the whole exponential: every table entry, both sides of the
// fast path's limit, arguments that are not doubles. The C program and the
// engine hash the same million outputs.
TEST(CExport, SigmoidSweepMatchesTheEngineBitForBit)
{
    TempDir dir;
    const long count = 1 << 20;
    const char* step = "0x1.7cp-10";  // 1520 / 2^20
    for (int code : {1, 2}) {
        TNeuroNet net(1);
        TLayerParams p;
        p.WeightInit = p.BiasInit = 1;
        p.Activation = code;
        net.AddLayer(1, p);
        net.Layer(1).Weights[0] = 1.0000001;
        net.Layer(1).Bias[0] = 0.1;
        const std::string name = "sweep" + std::to_string(code);
        writeText(dir.file(name + ".h"), CHeaderText(net, name));
        writeText(dir.file("sweep.c"),
                  "#include \"" + name + ".h\"\n#include <stdio.h>\n"
                  "int main(void)\n{\n    unsigned long long hash = 14695981039346656037ull, bits;\n    long n;\n"
                  "    for (n = 0; n < " + std::to_string(count) + "; ++n) {\n"
                  "        double x = -760.0 + (double)n * " + step + ", y = 0;\n"
                  "        int ok = " + name + "_evaluate(&x, &y);\n"
                  "        memcpy(&bits, &y, sizeof bits);\n"
                  "        hash = (hash ^ (ok ? bits : 1)) * 1099511628211ull;\n    }\n"
                  "    printf(\"%016llx\\n\", hash);\n    return 0;\n}\n");
        const std::string exe = dir.file("sweep");
        CommandResult built = run("cc -O2 '" + dir.file("sweep.c") + "' -o '" + exe + "' -lm", dir);
        ASSERT_EQ(built.status, 0) << built.output;
        CommandResult swept = run("'" + exe + "'", dir);
        ASSERT_EQ(swept.status, 0) << swept.output;

        unsigned long long hash = 14695981039346656037ull;
        for (long n = 0; n < count; ++n) {
            double x = -760.0 + double(n) * 0x1.7cp-10, y = 0;
            net.SetInputs(1, &x);
            bool ok = net.Evaluate();
            y = net.Outputs[0];
            unsigned long long bits;
            std::memcpy(&bits, &y, sizeof bits);
            hash = (hash ^ (ok ? bits : 1)) * 1099511628211ull;
        }
        char expected[32];
        std::snprintf(expected, sizeof expected, "%016llx\n", hash);
        EXPECT_EQ(swept.output, expected) << "code " << code;
    }
}

TEST(CExport, VectorsEndBothWays)
{
    // The steep network's sums reach the library's range and beyond, and the
    // special values must not trip every vector: each has vectors that end in
    // the guard or an overflow, and vectors that succeed.
    for (const NetShape* shape : {&kShapes[5], &kShapes[6]}) {
        TNeuroNet net = makeNet(*shape);
        std::string text = CHeaderText(net, shape->name);
        std::size_t at = text.find(shape->name + "_test_results_[");
        ASSERT_NE(at, std::string::npos);
        std::string results = text.substr(at, text.find("};", at) - at);
        results = results.substr(results.find('{'));
        EXPECT_NE(results.find('0'), std::string::npos) << shape->name;
        EXPECT_NE(results.find('1'), std::string::npos) << shape->name;
    }
}

TEST(CExport, ExportLeavesTheNetworkAsItWas)
{
    TNeuroNet net = makeNet(kShapes[2]);
    const std::vector<double> inputs = {0.5, 1, 2, 3};
    net.SetInputs(4, inputs.data());
    ASSERT_TRUE(net.Evaluate());
    const std::vector<double> storedInputs = net.Inputs, outputs = net.Outputs, hidden = net.Layer(1).Outputs;

    CHeaderText(net, "sigmoids");
    EXPECT_TRUE(net.Evaluated);
    EXPECT_EQ(net.Inputs, storedInputs);
    EXPECT_EQ(net.Outputs, outputs);
    EXPECT_EQ(net.Layer(1).Outputs, hidden);
}

TEST(CExport, IdentifierFromFileName)
{
    const std::pair<std::string, std::string> cases[] = {
        {"xor.h", "xor"},
        {"/tmp/some dir/My-Net.v2.h", "My_Net_v2"},
        {"2layer.h", "net_2layer"},
        {"_hidden.h", "net__hidden"},
        {"caf\xc3\xa9.h", "caf__"},
        {".h", "net__h"},
    };
    for (const auto& [file, name] : cases)
        EXPECT_EQ(CIdentifierForFile(file), name) << file;
}

TEST(CExport, FailedWriteReportsAndLeavesNoFile)
{
    TempDir dir;
    TNeuroNet net = makeNet(kShapes[1]);
    std::string error;
    EXPECT_FALSE(ExportNetworkAsC(net, dir.file("missing/net.h"), error));
    EXPECT_NE(error.find("Cannot"), std::string::npos) << error;
    EXPECT_TRUE(dir.names().empty());
}

}  // namespace

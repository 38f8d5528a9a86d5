#include <cmath>
#include <fstream>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/Neuran.h"
#include "files/CExport.h"
#include "files/DatasetFile.h"
#include "files/NetFile.h"
#include "files/TextDataset.h"

// The networks in examples/ open and do what they promise.
namespace {

std::unique_ptr<TNeuroNet> openExample(const std::string& name)
{
    std::unique_ptr<TNeuroNet> net;
    EXPECT_TRUE(ReadNetFile(std::string(CORVALITH_SOURCE_DIR) + "/examples/" + name, net)) << name;
    return net;
}

TEST(Examples, XorNetworkAnswersTheTruthTable)
{
    auto net = openExample("xor.crv");
    ASSERT_TRUE(net);
    ASSERT_EQ(net->InputCount(), 2);
    ASSERT_EQ(net->OutputCount(), 1);
    const double table[4][3] = {{0, 0, 0}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}};
    for (const auto& row : table) {
        net->SetInput(1, row[0]);
        net->SetInput(2, row[1]);
        ASSERT_TRUE(net->Evaluate());
        EXPECT_NEAR(net->Outputs[0], row[2], 0.001) << row[0] << " xor " << row[1];
    }
}

TEST(Examples, WideNetworkHasWeightsOfBothSigns)
{
    auto net = openExample("wide-4-8-6-3.crv");
    ASSERT_TRUE(net);
    ASSERT_EQ(net->LayerCount(), 3);
    EXPECT_EQ(net->InputCount(), 4);
    EXPECT_EQ(net->Layer(1).NeuronCount(), 8);
    EXPECT_EQ(net->Layer(2).NeuronCount(), 6);
    EXPECT_EQ(net->Layer(3).NeuronCount(), 3);
    int negative = 0, positive = 0;
    for (int k = 1; k <= net->LayerCount(); ++k)
        for (double w : net->Layer(k).Weights)
            (w < 0 ? negative : positive) += 1;
    EXPECT_GT(negative, 20);
    EXPECT_GT(positive, 20);
    EXPECT_TRUE(net->Evaluate());
}

struct Dataset {
    TMatrix inputs, outputs;
};

Dataset openDataset(const std::string& name)
{
    Dataset d;
    std::string error;
    EXPECT_EQ(ReadDatasetFile(std::string(CORVALITH_SOURCE_DIR) + "/examples/" + name, d.inputs, d.outputs, error),
              DatasetReadResult::Loaded)
        << name << ": " << error;
    return d;
}

TEST(Examples, XorDatasetMatchesTheXorNetworksAnswers)
{
    const Dataset d = openDataset("xor.nld");
    ASSERT_EQ(d.inputs.Rows(), 4);
    ASSERT_EQ(d.inputs.Cols(), 2);
    ASSERT_EQ(d.outputs.Cols(), 1);
    auto net = openExample("xor.crv");
    ASSERT_TRUE(net);
    for (int p = 0; p < 4; ++p) {
        net->SetInput(1, double(d.inputs.GetItem(p, 0)));
        net->SetInput(2, double(d.inputs.GetItem(p, 1)));
        ASSERT_TRUE(net->Evaluate());
        EXPECT_NEAR(net->Outputs[0], double(d.outputs.GetItem(p, 0)), 0.001) << "pair " << p;
    }
}

TEST(Examples, SineDatasetIsOnePeriod)
{
    const Dataset d = openDataset("sine.nld");
    ASSERT_EQ(d.inputs.Rows(), 50);
    ASSERT_EQ(d.inputs.Cols(), 1);
    ASSERT_EQ(d.outputs.Cols(), 1);
    EXPECT_EQ(d.inputs.GetItem(0, 0), 0.0L);
    EXPECT_NEAR(double(d.inputs.GetItem(49, 0)), 2 * std::numbers::pi, 1e-12);
    for (int p = 0; p < 50; ++p)
        EXPECT_NEAR(double(d.outputs.GetItem(p, 0)), std::sin(double(d.inputs.GetItem(p, 0))), 1e-15);
}

TEST(Examples, AdderDatasetHoldsEverySumOfTwoBitNumbers)
{
    const Dataset d = openDataset("adder-2bit.nld");
    ASSERT_EQ(d.inputs.Rows(), 16);
    ASSERT_EQ(d.inputs.Cols(), 4);
    ASSERT_EQ(d.outputs.Cols(), 3);
    for (int p = 0; p < 16; ++p) {
        const auto bit = [](const TMatrix& m, int p, int c) { return int(m.GetItem(p, c)); };
        const int a = 2 * bit(d.inputs, p, 0) + bit(d.inputs, p, 1);
        const int b = 2 * bit(d.inputs, p, 2) + bit(d.inputs, p, 3);
        const int sum = 4 * bit(d.outputs, p, 0) + 2 * bit(d.outputs, p, 1) + bit(d.outputs, p, 2);
        EXPECT_EQ(sum, a + b) << "pair " << p;
    }
}

// Each text dataset is its binary twin, value for value, behind a header line.
TEST(Examples, TextDatasetsHoldTheBinaryDatasetsValues)
{
    for (const char* name : {"xor", "sine", "adder-2bit"}) {
        const Dataset binary = openDataset(std::string(name) + ".nld");
        TTextTable table;
        std::string error;
        ASSERT_TRUE(ReadTextTable(std::string(CORVALITH_SOURCE_DIR) + "/examples/" + name + ".csv", table, error))
            << error;
        EXPECT_EQ(table.ColumnNames.size(), std::size_t(table.ColumnCount)) << name;
        Dataset text;
        ASSERT_TRUE(SplitTextTable(table, binary.outputs.Cols(), text.inputs, text.outputs)) << name;
        ASSERT_EQ(text.inputs.Rows(), binary.inputs.Rows()) << name;
        ASSERT_EQ(text.inputs.Cols(), binary.inputs.Cols()) << name;
        for (int p = 0; p < binary.inputs.Rows(); ++p) {
            for (int c = 0; c < binary.inputs.Cols(); ++c)
                EXPECT_EQ(text.inputs.GetItem(p, c), binary.inputs.GetItem(p, c)) << name << " " << p;
            for (int c = 0; c < binary.outputs.Cols(); ++c)
                EXPECT_EQ(text.outputs.GetItem(p, c), binary.outputs.GetItem(p, c)) << name << " " << p;
        }
    }
}

// The exported header in examples/ is the one the program writes for xor.crv today.
TEST(Examples, XorHeaderIsTheCurrentExport)
{
    auto net = openExample("xor.crv");
    ASSERT_TRUE(net);
    std::ifstream in(std::string(CORVALITH_SOURCE_DIR) + "/examples/xor.h", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), CHeaderText(*net, "xor")) << "rebuild it: build/examples/corvalith_make_examples examples";
}

}  // namespace

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/Neuran.h"
#include "files/CExport.h"
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

TEST(Examples, TextDatasetsImportWithTheirHeaders)
{
    struct Case {
        const char* file;
        int rows, columns;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"sine.csv", 121, 2, {"x1", "y1"}},
        {"xor.csv", 4, 3, {"x1", "x2", "y1"}},
    };
    for (const auto& c : cases) {
        TTextTable table;
        std::string error;
        ASSERT_TRUE(ReadTextTable(std::string(CORVALITH_SOURCE_DIR) + "/examples/" + c.file, table, error)) << error;
        EXPECT_EQ(table.RowCount, c.rows) << c.file;
        EXPECT_EQ(table.ColumnCount, c.columns) << c.file;
        EXPECT_EQ(table.ColumnNames, c.names) << c.file;
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

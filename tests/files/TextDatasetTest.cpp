#include "files/TextDataset.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/files/TestFiles.h"

namespace {

std::vector<std::uint64_t> bitsOf(const std::vector<double>& values)
{
    std::vector<std::uint64_t> bits;
    for (double v : values)
        bits.push_back(std::bit_cast<std::uint64_t>(v));
    return bits;
}

TEST(TextDataset, ReadsTheCommonForms)
{
    struct Case {
        const char* what;
        std::string text;
        int columns;
        std::vector<double> values;
        std::vector<std::string> names;
        char separator;
    };
    const Case cases[] = {
        {"commas", "1,2,3\n4,5,6\n", 3, {1, 2, 3, 4, 5, 6}, {}, ','},
        {"semicolons, CR LF, header, blank line", "x;y\r\n1.5;2\r\n\r\n  \r\n3;4\r\n", 2, {1.5, 2, 3, 4}, {"x", "y"}, ';'},
        {"byte-order mark and tabs", "\xEF\xBB\xBFin\tout\n1\t2\n", 2, {1, 2}, {"in", "out"}, ' '},
        {"runs of blanks and tabs, no final line end", "  1   2\t3 \n4\t 5 6", 3, {1, 2, 3, 4, 5, 6}, {}, ' '},
        {"tabs with an empty header field", "a\t\tc\n1\t2\t3\n", 3, {1, 2, 3}, {"a", "c"}, ' '},
        {"quoted fields and blanks around commas", "\"a\", \"b\"\n\"1\" , 2\n", 2, {1, 2}, {"a", "b"}, ','},
        {"lone CR line ends", "1,2\r3,4\r", 2, {1, 2, 3, 4}, {}, ','},
        {"number forms", "+1,-.5,1e3,5.,2.5E-2\n", 5, {1, -0.5, 1000, 5, 0.025}, {}, ','},
        {"nearest double", "0.1,0.30000000000000004,4.9e-324,1e-400,1.7976931348623157e308\n", 5,
         {0.1, 0.30000000000000004, 4.9e-324, 0, 1.7976931348623157e308}, {}, ','},
    };
    for (const auto& c : cases) {
        TTextTable table;
        std::string reason;
        ASSERT_TRUE(ParseTextTable(c.text, table, reason)) << c.what << ": " << reason;
        EXPECT_EQ(table.ColumnCount, c.columns) << c.what;
        EXPECT_EQ(table.RowCount, int(c.values.size()) / c.columns) << c.what;
        EXPECT_EQ(bitsOf(table.Values), bitsOf(c.values)) << c.what;
        EXPECT_EQ(table.ColumnNames, c.names) << c.what;
        EXPECT_EQ(table.Separator, c.separator) << c.what;
    }
}

TEST(TextDataset, SignOfZeroIsKept)
{
    TTextTable table;
    std::string reason;
    ASSERT_TRUE(ParseTextTable("-0,-1e-400\n", table, reason)) << reason;
    EXPECT_TRUE(std::signbit(table.Values[0]));
    EXPECT_TRUE(std::signbit(table.Values[1]));
}

TEST(TextDataset, ErrorsNameTheLineAndColumnAndChangeNothing)
{
    const std::pair<std::string, std::string> cases[] = {
        {"1,2\n3,abc\n", "Line 2, column 2: 'abc' is not a valid floating point value"},
        {"x,y\n\n1,2\n\n1,2,3\n", "Line 5, column 3: line 3 has only 2 values"},
        {"1,2,3\n4,5\n", "Line 2, column 3: missing value; line 1 has 3 values"},
        {"1,2\n3,\n", "Line 2, column 2: '' is not a valid floating point value"},
        {"1,2\n3,1e400\n", "Line 2, column 2: '1e400' is not a valid floating point value"},
        {"1,2\n3,inf\n", "Line 2, column 2: 'inf' is not a valid floating point value"},
        {"1,2\nnan,3\n", "Line 2, column 1: 'nan' is not a valid floating point value"},
        {"1,2\n0x10,3\n", "Line 2, column 1: '0x10' is not a valid floating point value"},
        {"1,2\n+-1,3\n", "Line 2, column 1: '+-1' is not a valid floating point value"},
        {"1;2\n1,5;2\n", "Line 2, column 1: '1,5' is not a valid floating point value"},
        {"x,y\nname,2\n", "Line 2, column 1: 'name' is not a valid floating point value"},
        {"1 2\n3 4 \x01\n", "Line 2, column 3: line 1 has only 2 values"},
        {"", "The file holds no values"},
        {"\xEF\xBB\xBF\r\n  \n", "The file holds no values"},
        {"a,b\n\n", "The file holds no values"},
        {std::string("\xFF\xFE" "1\0,\0" "2\0", 8), "The file is UTF-16 text; save it as UTF-8 or plain text"},
        {"1\n2\n", "Every line holds one value; a dataset needs at least one input and one output column"},
        {"1,2\n3," + std::string(100, '7') + "x\n",
         "Line 2, column 2: '" + std::string(64, '7') + "...' is not a valid floating point value"},
    };
    for (const auto& [text, expected] : cases) {
        TTextTable table;
        table.ColumnCount = 9;
        std::string reason;
        EXPECT_FALSE(ParseTextTable(text, table, reason)) << text;
        EXPECT_EQ(reason, expected) << text;
        EXPECT_EQ(table.ColumnCount, 9) << text;
        EXPECT_TRUE(table.Values.empty()) << text;
    }
}

TEST(TextDataset, PreviewHoldsTheFirstLinesAsTheyAre)
{
    std::string text = "x, y\r\n\r\n";
    for (int n = 0; n < 20; ++n)
        text += std::to_string(n) + ", " + std::to_string(n * n) + "\n";
    TTextTable table;
    std::string reason;
    ASSERT_TRUE(ParseTextTable(text, table, reason)) << reason;
    EXPECT_EQ(table.FirstLines, (std::vector<std::string>{"x, y", "", "0, 0", "1, 1", "2, 4", "3, 9", "4, 16", "5, 25"}));
}

TEST(TextDataset, SplitTakesTheLastColumnsAsOutputs)
{
    TTextTable table;
    std::string reason;
    ASSERT_TRUE(ParseTextTable("1,2,3,4\n5,6,7,8\n", table, reason)) << reason;
    TMatrix inputs(1, 1), outputs(1, 1);
    ASSERT_TRUE(SplitTextTable(table, 1, inputs, outputs));
    EXPECT_EQ(inputs.Rows(), 2);
    EXPECT_EQ(inputs.Cols(), 3);
    EXPECT_EQ(outputs.Cols(), 1);
    EXPECT_EQ(inputs.GetItem(1, 2), 7);
    EXPECT_EQ(outputs.GetItem(1, 0), 8);

    ASSERT_TRUE(SplitTextTable(table, 3, inputs, outputs));
    EXPECT_EQ(inputs.Cols(), 1);
    EXPECT_EQ(outputs.Cols(), 3);
    EXPECT_EQ(inputs.GetItem(1, 0), 5);
    EXPECT_EQ(outputs.GetItem(0, 0), 2);

    for (int refused : {0, 4, -1}) {
        EXPECT_FALSE(SplitTextTable(table, refused, inputs, outputs)) << refused;
        EXPECT_EQ(inputs.Cols(), 1) << refused;
        EXPECT_EQ(outputs.Cols(), 3) << refused;
    }
}

TMatrix matrixOf(int rows, int cols, const std::vector<Extended>& values)
{
    TMatrix m(rows, cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            m.SetItem(r, c, values[std::size_t(r) * cols + c]);
    return m;
}

TEST(TextDataset, ExportIsShortestAndReadsBackToTheSameDoubles)
{
    const double tiny = std::numeric_limits<double>::denorm_min();
    const TMatrix inputs = matrixOf(3, 2, {0.1L, 1.0L / 3, -0.0L, tiny, 1e300L, -2.5L});
    const TMatrix outputs = matrixOf(3, 1, {std::numeric_limits<double>::max(), 100, 123456789012345678.0L});
    std::string text, reason;
    ASSERT_TRUE(FormatTextDataset(inputs, outputs, text, reason)) << reason;
    EXPECT_EQ(text,
              "x1,x2,y1\n"
              "0.1,0.3333333333333333,1.7976931348623157e+308\n"
              "-0,5e-324,100\n"
              "1e+300,-2.5,123456789012345680\n");

    // Random bit patterns: every finite double comes back exactly.
    std::mt19937_64 generator(7);
    TMatrix randomIn(500, 3), randomOut(500, 2);
    for (TMatrix* m : {&randomIn, &randomOut})
        for (int r = 0; r < m->Rows(); ++r)
            for (int c = 0; c < m->Cols(); ++c) {
                double v;
                do
                    v = std::bit_cast<double>(generator());
                while (!std::isfinite(v));
                m->SetItem(r, c, v);
            }
    ASSERT_TRUE(FormatTextDataset(randomIn, randomOut, text, reason)) << reason;
    TTextTable table;
    ASSERT_TRUE(ParseTextTable(text, table, reason)) << reason;
    EXPECT_EQ(table.ColumnNames, (std::vector<std::string>{"x1", "x2", "x3", "y1", "y2"}));
    TMatrix backIn, backOut;
    ASSERT_TRUE(SplitTextTable(table, 2, backIn, backOut));
    for (const auto& [original, back] : {std::pair{&randomIn, &backIn}, std::pair{&randomOut, &backOut}})
        for (int r = 0; r < original->Rows(); ++r)
            for (int c = 0; c < original->Cols(); ++c)
                ASSERT_EQ(std::bit_cast<std::uint64_t>(double(back->GetItem(r, c))),
                          std::bit_cast<std::uint64_t>(double(original->GetItem(r, c))))
                    << r << "," << c;
    std::string again;
    ASSERT_TRUE(FormatTextDataset(backIn, backOut, again, reason));
    EXPECT_EQ(again, text);
}

TEST(TextDataset, ExportRefusesWhatNoDoubleHolds)
{
    struct Case {
        TMatrix inputs, outputs;
        std::string reason;
    };
    const Case cases[] = {
        {matrixOf(1, 2, {1, 1e4000L}), TMatrix(1, 1), "Input 2 of pair 1 lies outside the range of a double"},
        {TMatrix(2, 1), matrixOf(2, 1, {0, std::numeric_limits<Extended>::infinity()}),
         "Output 1 of pair 2 is not a finite number"},
        {TMatrix(2, 1), matrixOf(2, 1, {std::nanl(""), 0}), "Output 1 of pair 1 is not a finite number"},
        {TMatrix(2, 1), TMatrix(3, 1), "The inputs hold 2 pairs and the outputs 3"},
    };
    for (const auto& c : cases) {
        std::string text = "unchanged", reason;
        EXPECT_FALSE(FormatTextDataset(c.inputs, c.outputs, text, reason));
        EXPECT_EQ(reason, c.reason);
        EXPECT_EQ(text, "unchanged");
    }
}

TEST(TextDataset, FilesRoundTripAndFailuresLoseNothing)
{
    TempDir dir;
    const std::string file = dir.file("data.csv");
    const TMatrix inputs = matrixOf(2, 2, {1, 2, 3, 4}), outputs = matrixOf(2, 1, {0.5L, -0.5L});
    std::string error;
    ASSERT_TRUE(WriteTextDataset(file, inputs, outputs, error)) << error;
    TTextTable table;
    ASSERT_TRUE(ReadTextTable(file, table, error)) << error;
    EXPECT_EQ(table.Values, (std::vector<double>{1, 2, 0.5, 3, 4, -0.5}));

    // A refused export leaves the old file; nothing else appears in the folder.
    const TMatrix bad = matrixOf(2, 1, {1, 1e4000L});
    EXPECT_FALSE(WriteTextDataset(file, bad, outputs, error));
    EXPECT_NE(error.find("Cannot create file"), std::string::npos) << error;
    EXPECT_NE(error.find("Input 1 of pair 2 lies outside the range of a double"), std::string::npos) << error;
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data.csv"});
    ASSERT_TRUE(ReadTextTable(file, table, error)) << error;
    EXPECT_EQ(table.RowCount, 2);

    EXPECT_FALSE(ReadTextTable(dir.file("missing.csv"), table, error));
    EXPECT_NE(error.find("Cannot open file"), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;

    writeBytes(dir.file("bad.csv"), {'1', ',', '2', '\n', 'z', ',', '2', '\n'});
    EXPECT_FALSE(ReadTextTable(dir.file("bad.csv"), table, error));
    EXPECT_NE(error.find("Cannot import file"), std::string::npos) << error;
    EXPECT_NE(error.find("bad.csv\". Line 2, column 1: 'z' is not a valid floating point value"), std::string::npos)
        << error;
    EXPECT_EQ(table.RowCount, 2);
}

}  // namespace

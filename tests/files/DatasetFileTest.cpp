#include "files/DatasetFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>

#include "files/TestFiles.h"

namespace {

// Inputs hold 100 p + c + 0.1, outputs -(100 p + c) - 0.7, as extended values.
std::pair<TMatrix, TMatrix> sampleDataset(int patterns, int inputs, int outputs)
{
    TMatrix in(patterns, inputs), out(patterns, outputs);
    for (int p = 0; p < patterns; ++p) {
        for (int c = 0; c < inputs; ++c)
            in.SetItem(p, c, 100 * p + c + 0.1L);
        for (int c = 0; c < outputs; ++c)
            out.SetItem(p, c, -(100 * p + c) - 0.7L);
    }
    return {std::move(in), std::move(out)};
}

std::vector<std::uint8_t> encoded(int patterns, int inputs, int outputs)
{
    auto [in, out] = sampleDataset(patterns, inputs, outputs);
    std::vector<std::uint8_t> bytes;
    std::string reason;
    EXPECT_TRUE(EncodeDataset(in, out, bytes, reason)) << reason;
    return bytes;
}

double doubleAt(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    double value;
    std::memcpy(&value, bytes.data() + offset, 8);
    return value;
}

void expectShape(const TMatrix& m, int rows, int cols)
{
    EXPECT_EQ(m.Rows(), rows);
    EXPECT_EQ(m.Cols(), cols);
}

// A 1 x 1 dataset holding 42 and 43: what the editor holds before a failed open.
std::pair<TMatrix, TMatrix> editorState()
{
    TMatrix in(1, 1), out(1, 1);
    in.SetItem(0, 0, 42);
    out.SetItem(0, 0, 43);
    return {std::move(in), std::move(out)};
}

void expectEditorStateKept(const TMatrix& in, const TMatrix& out, const std::string& label)
{
    ASSERT_EQ(in.Rows(), 1) << label;
    ASSERT_EQ(in.Cols(), 1) << label;
    ASSERT_EQ(out.Cols(), 1) << label;
    EXPECT_EQ(in.GetItem(0, 0), 42) << label;
    EXPECT_EQ(out.GetItem(0, 0), 43) << label;
}

}  // namespace

TEST(DatasetFile, OnePatternOfOneInputAndOneOutputIs48BytesWithTheFixedHeader)
{
    TMatrix in(1, 1), out(1, 1);
    in.SetItem(0, 0, 1.5L);
    out.SetItem(0, 0, -2);
    TempDir dir;
    std::string error;
    ASSERT_TRUE(WriteDatasetFile(dir.file("one.nld"), in, out, error)) << error;
    const std::vector<std::uint8_t> expected = {
        0x4E, 0x4C, 0x44, 0x20, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
        0x08, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F,  // 1.5
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0,  // -2
    };
    EXPECT_EQ(readBytes(dir.file("one.nld")), expected);
}

TEST(DatasetFile, RecordsArePatternsOfInputsThenOutputs)
{
    EXPECT_EQ(encoded(2, 3, 1).size(), 96u);
    auto bytes = encoded(3, 2, 1);
    ASSERT_EQ(bytes.size(), 104u);
    EXPECT_EQ(doubleAt(bytes, 32), 0.1);      // pattern 0, input 1
    EXPECT_EQ(doubleAt(bytes, 48), -0.7);     // pattern 0, output 1
    EXPECT_EQ(doubleAt(bytes, 56), 100.1);    // pattern 1, input 1
    EXPECT_EQ(doubleAt(bytes, 96), -200.7);   // pattern 2, output 1
}

TEST(DatasetFile, WrittenReadAndWrittenAgainIsIdenticalForSeveralShapes)
{
    TempDir dir;
    for (auto [patterns, inputs, outputs] : {std::tuple{1, 1, 1}, {3, 2, 1}, {2, 3, 1}, {5, 1, 4}, {1200, 7, 3}}) {
        auto [in, out] = sampleDataset(patterns, inputs, outputs);
        std::string error;
        ASSERT_TRUE(WriteDatasetFile(dir.file("a.nld"), in, out, error)) << error;

        auto [readIn, readOut] = editorState();
        ASSERT_EQ(ReadDatasetFile(dir.file("a.nld"), readIn, readOut, error), DatasetReadResult::Loaded) << error;
        expectShape(readIn, patterns, inputs);
        expectShape(readOut, patterns, outputs);
        EXPECT_EQ(readIn.GetItem(patterns - 1, inputs - 1), static_cast<double>(in.GetItem(patterns - 1, inputs - 1)));

        ASSERT_TRUE(WriteDatasetFile(dir.file("b.nld"), readIn, readOut, error)) << error;
        EXPECT_EQ(readBytes(dir.file("a.nld")), readBytes(dir.file("b.nld"))) << patterns << "x" << inputs;
        EXPECT_EQ(readBytes(dir.file("a.nld")).size(), 32u + std::size_t(patterns) * (inputs + outputs) * 8);
    }
}

TEST(DatasetFile, ValuesAreRoundedToTheNearestDoubleTiesToEven)
{
    const Extended halfUlp = std::ldexp(1.0L, -53);  // half the spacing of doubles at 1
    TMatrix in(1, 3), out(1, 1);
    in.SetItem(0, 0, 0.1L);
    in.SetItem(0, 1, 1 + halfUlp);      // tie: to 1, the even neighbour
    in.SetItem(0, 2, 1 + 3 * halfUlp);  // tie: to 1 + 2^-51, the even neighbour
    out.SetItem(0, 0, 1 + halfUlp * 1.5L);
    std::vector<std::uint8_t> bytes;
    std::string reason;
    ASSERT_TRUE(EncodeDataset(in, out, bytes, reason));
    EXPECT_EQ(doubleAt(bytes, 32), 0.1);
    EXPECT_EQ(doubleAt(bytes, 40), 1.0);
    EXPECT_EQ(doubleAt(bytes, 48), 1.0 + std::ldexp(1.0, -51));
    EXPECT_EQ(doubleAt(bytes, 56), 1.0 + std::ldexp(1.0, -52));
}

TEST(DatasetFile, AValueBeyondTheDoubleRangeIsRefusedAndTheOldFileKept)
{
    TempDir dir;
    std::string name = dir.file("data.nld");
    writeBytes(name, {7, 7, 7});
    auto [in, out] = sampleDataset(2, 2, 1);
    in.SetItem(1, 1, 1e400L);
    std::string error;
    EXPECT_FALSE(WriteDatasetFile(name, in, out, error));
    EXPECT_EQ(error, "Cannot write file \"" + name + "\". Input 2 of pair 2 lies outside the range of a double");
    EXPECT_EQ(readBytes(name), (std::vector<std::uint8_t>{7, 7, 7}));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data.nld"});

    in.SetItem(1, 1, 0);
    out.SetItem(0, 0, -1e400L);
    EXPECT_FALSE(WriteDatasetFile(name, in, out, error));
    EXPECT_EQ(error, "Cannot write file \"" + name + "\". Output 1 of pair 1 lies outside the range of a double");

    // Infinities and NaNs are doubles too and are stored as they are.
    out.SetItem(0, 0, std::numeric_limits<Extended>::infinity());
    ASSERT_TRUE(WriteDatasetFile(name, in, out, error)) << error;
    EXPECT_TRUE(std::isinf(doubleAt(readBytes(name), 32 + 16)));
}

TEST(DatasetFile, TheWriterRefusesDatasetsNoReaderWouldAccept)
{
    TempDir dir;
    std::string error;
    EXPECT_FALSE(WriteDatasetFile(dir.file("x.nld"), TMatrix(2, 1), TMatrix(3, 1), error));
    EXPECT_EQ(error, "Cannot write file \"" + dir.file("x.nld") + "\". The inputs hold 2 pairs and the outputs 3");
    EXPECT_FALSE(WriteDatasetFile(dir.file("x.nld"), TMatrix(0, 1), TMatrix(0, 1), error));
    EXPECT_FALSE(WriteDatasetFile(dir.file("x.nld"), TMatrix(1, 0), TMatrix(1, 1), error));
    EXPECT_TRUE(dir.names().empty());
}

TEST(DatasetFile, AFailedSaveSaysWhyAndLeavesWhatWasThere)
{
    TempDir dir;
    auto [in, out] = sampleDataset(2, 2, 1);
    std::string error;
    std::filesystem::create_directory(dir.path() / "taken.nld");
    EXPECT_FALSE(WriteDatasetFile(dir.file("taken.nld"), in, out, error));
    EXPECT_EQ(error, "Cannot create file \"" + dir.file("taken.nld") + "\". Is a directory");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"taken.nld"});
}

TEST(DatasetFile, AFailedSaveInAReadOnlyFolderKeepsTheOldFile)
{
    TempDir dir;
    auto [in, out] = sampleDataset(2, 2, 1);
    std::string error;
    if (!permissionsAreEnforced(dir))
        GTEST_SKIP() << "file permissions do not apply to this user";
    auto folder = dir.path() / "locked";
    std::filesystem::create_directory(folder);
    std::string name = (folder / "data.nld").string();
    writeBytes(name, {1, 2});
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(WriteDatasetFile(name, in, out, error));
    EXPECT_EQ(error, "Cannot create file \"" + name + "\". Permission denied");
    EXPECT_EQ(readBytes(name), (std::vector<std::uint8_t>{1, 2}));
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
}

TEST(DatasetFile, ReservedFieldsAreIgnoredByEveryReader)
{
    TempDir dir;
    auto bytes = encoded(3, 2, 1);
    for (std::size_t i = 24; i < 32; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 37);
    writeBytes(dir.file("r.nld"), bytes);

    std::string error;
    auto [in, out] = editorState();
    ASSERT_EQ(ReadDatasetFile(dir.file("r.nld"), in, out, error), DatasetReadResult::Loaded) << error;
    EXPECT_EQ(in.GetItem(2, 1), 201.1);
    EXPECT_TRUE(CheckDatasetFile(dir.file("r.nld"), 2, 1, error)) << error;
    TDatasetRows rows;
    ASSERT_TRUE(ReadDatasetRows(dir.file("r.nld"), rows, error)) << error;
    EXPECT_EQ(rows.Inputs(2)[1], 201.1);
}

TEST(DatasetFile, RowsReaderGivesTheHeaderAndOneRowPerPattern)
{
    TempDir dir;
    writeBytes(dir.file("rows.nld"), encoded(3, 2, 1));
    TDatasetRows rows;
    std::string error;
    ASSERT_TRUE(ReadDatasetRows(dir.file("rows.nld"), rows, error)) << error;
    EXPECT_EQ(rows.Header.PatternCount, 3);
    EXPECT_EQ(rows.Header.InputCount, 2);
    EXPECT_EQ(rows.Header.OutputCount, 1);
    EXPECT_EQ(rows.Header.InputWidth, 8);
    EXPECT_EQ(rows.Header.OutputWidth, 8);
    ASSERT_EQ(rows.Values.size(), 9u);
    EXPECT_EQ(std::vector<double>(rows.Inputs(1).begin(), rows.Inputs(1).end()), (std::vector<double>{100.1, 101.1}));
    EXPECT_EQ(std::vector<double>(rows.Targets(2).begin(), rows.Targets(2).end()), std::vector<double>{-200.7});
}

TEST(DatasetFile, SetupCheckComparesTheCountsWithTheNetwork)
{
    TempDir dir;
    writeBytes(dir.file("d.nld"), encoded(4, 3, 1));
    std::string reason;
    EXPECT_TRUE(CheckDatasetFile(dir.file("d.nld"), 3, 1, reason)) << reason;
    EXPECT_FALSE(CheckDatasetFile(dir.file("d.nld"), 3, 2, reason));
    EXPECT_EQ(reason, "Incompatible sizes of inputs and outputs");
    EXPECT_FALSE(CheckDatasetFile(dir.file("d.nld"), 2, 1, reason));
    EXPECT_EQ(reason, "Incompatible sizes of inputs and outputs");
}

TEST(DatasetFile, MalformedFilesAreRefusedByEveryReaderAndNothingChanges)
{
    // Offsets in the 104-byte file of 3 patterns, 2 inputs, 1 output: P at 4,
    // NI at 8, NO at 12, widths at 16 and 20, records at 32, 56 and 80.
    using Mutation = std::function<void(std::vector<std::uint8_t>&)>;
    auto setInt = [](std::size_t offset, std::int32_t value) {
        return Mutation([=](std::vector<std::uint8_t>& b) { putInt32(b, offset, value); });
    };
    auto truncateTo = [](std::size_t length) { return Mutation([=](std::vector<std::uint8_t>& b) { b.resize(length); }); };
    const std::string incorrect = "Incorrect dataset file";
    const std::string insideHeader = "The file ends inside the 32-byte dataset header";
    const std::string shortFile = "The file ends before the last of the 3 patterns its header announces";
    struct Case {
        std::string label;
        Mutation mutate;
        bool notADataset;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"magic NLD and a zero byte", [](auto& b) { b[3] = 0; }, true, incorrect},
        {"magic in lower case", [](auto& b) { b[0] = 'n'; }, true, incorrect},
        {"empty file", truncateTo(0), false, insideHeader},
        {"three bytes", truncateTo(3), false, insideHeader},
        {"ten bytes of no dataset", [](auto& b) { b.assign(10, 'x'); }, false, insideHeader},
        {"magic only", truncateTo(4), false, insideHeader},
        {"header cut short", truncateTo(31), false, insideHeader},
        {"header only", truncateTo(32), false, shortFile},
        {"inside the first record", truncateTo(40), false, shortFile},
        {"after the first record", truncateTo(56), false, shortFile},
        {"after the second record", truncateTo(80), false, shortFile},
        {"last value cut short", truncateTo(103), false, shortFile},
        {"a byte after the last record", [](auto& b) { b.push_back(0); },
         false, "The file holds more than the 3 patterns its header announces"},
        {"one pattern fewer announced", setInt(4, 2), false, "The file holds more than the 2 patterns its header announces"},
        {"2^31-1 patterns", setInt(4, 0x7fffffff), false,
         "The file ends before the last of the 2147483647 patterns its header announces"},
        {"40 bytes claiming 2^31-1 patterns", [](auto& b) { b.resize(40); putInt32(b, 4, 0x7fffffff); }, false,
         "The file ends before the last of the 2147483647 patterns its header announces"},
        {"huge input count", setInt(8, 0x7fffffff), false,
         "The file ends before the last of the 3 patterns its header announces"},
        {"no patterns", setInt(4, 0), false,
         "The dataset header gives 0 patterns, 2 inputs and 1 outputs; each must be at least 1"},
        {"negative patterns", setInt(4, -3), false,
         "The dataset header gives -3 patterns, 2 inputs and 1 outputs; each must be at least 1"},
        {"no inputs", setInt(8, 0), false,
         "The dataset header gives 3 patterns, 0 inputs and 1 outputs; each must be at least 1"},
        {"negative outputs", setInt(12, -1), false,
         "The dataset header gives 3 patterns, 2 inputs and -1 outputs; each must be at least 1"},
        {"input width 4", setInt(16, 4), false,
         "The dataset header gives element widths of 4 and 8 bytes; only 8-byte values can be read"},
        {"output width 16", setInt(20, 16), false,
         "The dataset header gives element widths of 8 and 16 bytes; only 8-byte values can be read"},
        {"width 0", setInt(16, 0), false,
         "The dataset header gives element widths of 0 and 8 bytes; only 8-byte values can be read"},
    };

    TempDir dir;
    const std::string name = dir.file("bad.nld");
    for (const Case& c : cases) {
        auto bytes = encoded(3, 2, 1);
        c.mutate(bytes);
        writeBytes(name, bytes);
        std::string error;

        auto [in, out] = editorState();
        auto expected = c.notADataset ? DatasetReadResult::NotADataset : DatasetReadResult::Failed;
        EXPECT_EQ(ReadDatasetFile(name, in, out, error), expected) << c.label;
        EXPECT_EQ(error, "Cannot read file \"" + name + "\". " + c.reason) << c.label;
        expectEditorStateKept(in, out, c.label);

        TDatasetRows rows;
        rows.Values = {5};
        EXPECT_FALSE(ReadDatasetRows(name, rows, error)) << c.label;
        EXPECT_EQ(error, "Cannot read file \"" + name + "\". " + c.reason) << c.label;
        EXPECT_EQ(rows.Values, std::vector<double>{5}) << c.label;

        std::string reason;
        EXPECT_FALSE(CheckDatasetFile(name, 2, 1, reason)) << c.label;
        EXPECT_EQ(reason, c.reason) << c.label;
    }
}

TEST(DatasetFile, FilesThatCannotBeOpenedAreReportedWithTheSystemsReason)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder.nld");
    for (auto [name, systemText] : {std::pair{"missing.nld", "No such file or directory"}, {"folder.nld", "Is a directory"}}) {
        std::string path = dir.file(name);
        std::string error;
        auto [in, out] = editorState();
        EXPECT_EQ(ReadDatasetFile(path, in, out, error), DatasetReadResult::Failed);
        EXPECT_EQ(error, "Cannot open file \"" + path + "\". " + systemText);
        expectEditorStateKept(in, out, name);

        TDatasetRows rows;
        EXPECT_FALSE(ReadDatasetRows(path, rows, error));
        EXPECT_EQ(error, "Cannot open file \"" + path + "\". " + systemText);

        std::string reason;
        EXPECT_FALSE(CheckDatasetFile(path, 1, 1, reason));
        EXPECT_EQ(reason, systemText);
    }
}

TEST(DatasetFile, AFileAnnouncingMoreThanTheMachineCanHoldIsRefusedNotThrown)
{
    // A sparse file, its size several times the machine's memory, whose
    // header matches that size: only the header is really on disk.
    const std::uint64_t memory = std::uint64_t(::sysconf(_SC_PHYS_PAGES)) * std::uint64_t(::sysconf(_SC_PAGESIZE));
    const std::uint64_t patterns = 0x7fffffff;
    const std::uint64_t valuesPerPattern = 4 * memory / (8 * patterns) + 2;
    auto bytes = encoded(1, 1, 1);
    bytes.resize(kDatasetHeaderSize);
    putInt32(bytes, 4, std::int32_t(patterns));
    putInt32(bytes, 8, 1);
    putInt32(bytes, 12, std::int32_t(valuesPerPattern - 1));
    TempDir dir;
    const std::string name = dir.file("huge.nld");
    writeBytes(name, bytes);
    std::filesystem::resize_file(name, kDatasetHeaderSize + patterns * valuesPerPattern * 8);

    const std::string notEnoughMemory = "Cannot read file \"" + name + "\". Not enough memory for the dataset";
    std::string error;
    auto [in, out] = editorState();
    EXPECT_EQ(ReadDatasetFile(name, in, out, error), DatasetReadResult::Failed);
    EXPECT_EQ(error, notEnoughMemory);
    expectEditorStateKept(in, out, "huge");
    TDatasetRows rows;
    EXPECT_FALSE(ReadDatasetRows(name, rows, error));
    EXPECT_EQ(error, notEnoughMemory);
    EXPECT_TRUE(rows.Values.empty());
    // The setup dialog's check reads the header only.
    EXPECT_TRUE(CheckDatasetFile(name, 1, int(valuesPerPattern - 1), error)) << error;
}

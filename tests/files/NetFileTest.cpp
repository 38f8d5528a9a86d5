#include "files/NetFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>

#include "engine/Random.h"
#include "files/TestFiles.h"
#include "platform/Platform.h"

namespace {

TLayerParams params(int activation, std::int32_t reserved = 0)
{
    TLayerParams p;
    p.WeightInit = 0;
    p.BiasInit = 1;
    p.WeightTo = 2;
    p.WeightFrom = -2;
    p.BiasTo = 3;
    p.BiasFrom = -3;
    p.Activation = activation;
    p.Reserved = reserved;
    return p;
}

// 2 inputs, a layer of 3 neurons and one of 1, distinct values everywhere.
std::unique_ptr<TNeuroNet> sampleNet(bool withRanges)
{
    auto net = std::make_unique<TNeuroNet>(2);
    net->Inputs = {0.1, -2.5};
    net->AddLayer(3, params(2, 0x7f7f7f7f));
    net->AddLayer(1, params(0));
    double v = 0.125;
    for (auto& layer : net->Layers) {
        for (double& b : layer->Bias)
            b = v += 1.0 / 3;
        for (double& w : layer->Weights)
            w = v -= 0.7;
    }
    if (withRanges) {
        net->InputRanges = {{-1, 4}, {0, 0.001}};
        net->OutputRanges = {{10, 20}};
    }
    return net;
}

void expectSameParams(const TLayerParams& a, const TLayerParams& b)
{
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

void expectSameNet(const TNeuroNet& a, const TNeuroNet& b)
{
    ASSERT_EQ(a.InputCount(), b.InputCount());
    ASSERT_EQ(a.LayerCount(), b.LayerCount());
    EXPECT_EQ(a.OutputCount(), b.OutputCount());
    EXPECT_EQ(a.Inputs, b.Inputs);
    for (int k = 1; k <= a.LayerCount(); ++k) {
        EXPECT_EQ(a.Layer(k).NeuronCount(), b.Layer(k).NeuronCount());
        EXPECT_EQ(a.Layer(k).InputCount(), b.Layer(k).InputCount());
        expectSameParams(a.Layer(k).Params, b.Layer(k).Params);
        EXPECT_EQ(a.Layer(k).Bias, b.Layer(k).Bias);
        EXPECT_EQ(a.Layer(k).Weights, b.Layer(k).Weights);
    }
    ASSERT_EQ(a.InputRanges.size(), b.InputRanges.size());
    for (std::size_t i = 0; i < a.InputRanges.size(); ++i) {
        EXPECT_EQ(a.InputRanges[i].Min, b.InputRanges[i].Min);
        EXPECT_EQ(a.InputRanges[i].Max, b.InputRanges[i].Max);
    }
    ASSERT_EQ(a.OutputRanges.size(), b.OutputRanges.size());
    for (std::size_t i = 0; i < a.OutputRanges.size(); ++i) {
        EXPECT_EQ(a.OutputRanges[i].Min, b.OutputRanges[i].Min);
        EXPECT_EQ(a.OutputRanges[i].Max, b.OutputRanges[i].Max);
    }
}

std::unique_ptr<TNeuroNet> saveAndRead(const TNeuroNet& net, const TempDir& dir)
{
    std::string name = dir.file("net.crv");
    std::string error;
    EXPECT_TRUE(WriteNetFile(net, name, error)) << error;
    std::unique_ptr<TNeuroNet> read;
    EXPECT_TRUE(ReadNetFile(name, read));
    return read;
}

std::vector<std::uint8_t> hexBytes(const std::string& hex)
{
    std::vector<std::uint8_t> bytes;
    std::istringstream in(hex);
    std::string byte;
    while (in >> byte)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(byte, nullptr, 16)));
    return bytes;
}

std::vector<std::uint8_t> textBytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

}  // namespace

TEST(NetFile, RoundTripKeepsEveryStoredField)
{
    TempDir dir;
    for (bool withRanges : {true, false}) {
        auto net = sampleNet(withRanges);
        net->LearningRate = 0.5;
        net->Momentum = 0.9;
        ASSERT_TRUE(net->Evaluate());
        auto read = saveAndRead(*net, dir);
        ASSERT_TRUE(read);
        expectSameNet(*net, *read);
        EXPECT_FALSE(read->Evaluated);
        EXPECT_EQ(read->LearningRate, 0);
        EXPECT_EQ(read->Momentum, 0);
        EXPECT_EQ(read->Outputs, std::vector<double>{0.0});
    }
}

TEST(NetFile, NetworkWithoutLayersIsHeaderInputsCountAndTwoRangeBytes)
{
    TempDir dir;
    TNeuroNet net(5);
    net.Inputs = {1, 2, 3, 4, 5};
    std::string error;
    ASSERT_TRUE(WriteNetFile(net, dir.file("empty.crv"), error)) << error;
    EXPECT_EQ(readBytes(dir.file("empty.crv")).size(), 24u + 8 * 5 + 4 + 2);

    std::unique_ptr<TNeuroNet> read;
    ASSERT_TRUE(ReadNetFile(dir.file("empty.crv"), read));
    expectSameNet(net, *read);
    EXPECT_EQ(read->OutputCount(), 5);
}

TEST(NetFile, SmallestNetworkIsExactly106BytesInTheFixedLayout)
{
    TNeuroNet net(1);
    net.Inputs = {0.5};
    net.AddLayer(1, params(1, 0x11223344));
    net.Layer(1).Bias = {0.25};
    net.Layer(1).Weights = {-1.5};

    std::vector<std::uint8_t> expected = textBytes("Corvalith File  ");
    auto tail = hexBytes(
        "02 00 00 00  01 00 00 00  00 00 00 00 00 00 E0 3F  01 00 00 00"  // version, n, input 0.5, L
        "  01 00 00 00"                                                    // m
        "  00 00 00 00  01 00 00 00"                                       // WeightInit, BiasInit
        "  00 00 00 00 00 00 00 40  00 00 00 00 00 00 00 C0"               // WeightTo 2, WeightFrom -2
        "  00 00 00 00 00 00 08 40  00 00 00 00 00 00 08 C0"               // BiasTo 3, BiasFrom -3
        "  01 00 00 00  44 33 22 11"                                       // Activation, reserved
        "  00 00 00 00 00 00 D0 3F  00 00 00 00 00 00 F8 BF"               // bias 0.25, weight -1.5
        "  00 00");                                                        // no ranges
    expected.insert(expected.end(), tail.begin(), tail.end());
    ASSERT_EQ(expected.size(), 106u);
    EXPECT_EQ(EncodeNetFile(net), expected);

    TempDir dir;
    std::string error;
    ASSERT_TRUE(WriteNetFile(net, dir.file("small.crv"), error)) << error;
    EXPECT_EQ(readBytes(dir.file("small.crv")), expected);
}

TEST(NetFile, RangesOfTheWrongLengthAreSavedAsAbsent)
{
    auto net = sampleNet(true);
    net->SetInputCount(3);  // the two input pairs no longer match
    TempDir dir;
    auto read = saveAndRead(*net, dir);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->InputRanges.empty());
    ASSERT_EQ(read->OutputRanges.size(), 1u);
    EXPECT_EQ(read->OutputRanges[0].Max, 20);
}

TEST(NetFile, FilesEndingBeforeTheRangeSectionsLoadWithoutThoseRanges)
{
    auto net = sampleNet(true);
    auto full = EncodeNetFile(*net);
    const std::size_t afterLayers = full.size() - (1 + 16 * 2) - (1 + 16 * 1);

    auto noRanges = DecodeNetFile(std::span(full).first(afterLayers));
    ASSERT_TRUE(noRanges);
    EXPECT_TRUE(noRanges->InputRanges.empty());
    EXPECT_TRUE(noRanges->OutputRanges.empty());
    EXPECT_EQ(noRanges->Layer(2).Weights, net->Layer(2).Weights);

    auto inputRangesOnly = DecodeNetFile(std::span(full).first(afterLayers + 1 + 16 * 2));
    ASSERT_TRUE(inputRangesOnly);
    EXPECT_EQ(inputRangesOnly->InputRanges.size(), 2u);
    EXPECT_EQ(inputRangesOnly->InputRanges[1].Max, 0.001);
    EXPECT_TRUE(inputRangesOnly->OutputRanges.empty());

    // Any non-zero flag announces the pairs.
    auto flagTwo = full;
    flagTwo[afterLayers] = 2;
    auto read = DecodeNetFile(flagTwo);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->InputRanges.size(), 2u);
}

TEST(NetFile, EveryTruncationIsRejectedExceptAtTheOptionalSections)
{
    auto full = EncodeNetFile(*sampleNet(true));
    ASSERT_EQ(full.size(), 302u);
    for (std::size_t length = 0; length < full.size(); ++length) {
        bool optionalEnd = length == 252 || length == 285;
        EXPECT_EQ(DecodeNetFile(std::span(full).first(length)) != nullptr, optionalEnd) << "length " << length;
    }
}

TEST(NetFile, MalformedFilesAreRejectedAndTheNetworkStaysAsItWas)
{
    // Offsets in the 302-byte file of sampleNet(true): n at 20, L at 40,
    // layer 1 m at 44 and its activation at 88, layer 2 m at 168 and its
    // activation at 212, input range flag at 252, output range flag at 285.
    using Mutation = std::function<void(std::vector<std::uint8_t>&)>;
    auto setInt = [](std::size_t offset, std::int32_t value) {
        return Mutation([=](std::vector<std::uint8_t>& b) { putInt32(b, offset, value); });
    };
    auto truncateTo = [](std::size_t length) { return Mutation([=](std::vector<std::uint8_t>& b) { b.resize(length); }); };
    const std::vector<std::pair<std::string, Mutation>> cases = {
        {"signature without its last blank", [](auto& b) { b[15] = 'X'; }},
        {"signature in lower case", [](auto& b) { b[0] = 'c'; }},
        {"version 1", setInt(16, 1)},
        {"version 3", setInt(16, 3)},
        {"no inputs", setInt(20, 0)},
        {"negative inputs", setInt(20, -1)},
        {"2049 inputs", setInt(20, 2049)},
        {"2^31-1 inputs", setInt(20, 0x7fffffff)},
        {"negative layer count", setInt(40, -1)},
        {"33 layers", setInt(40, 33)},
        {"layer count 2^31-1", setInt(40, 0x7fffffff)},
        {"layer without neurons", setInt(44, 0)},
        {"negative neurons", setInt(44, -5)},
        {"1025 neurons", setInt(44, 1025)},
        {"1024 neurons in a short file", setInt(44, 1024)},
        {"last layer larger than the file", setInt(168, 2)},
        {"one layer more than stored", setInt(40, 3)},
        {"input range flag without pairs", truncateTo(253)},
        {"input pairs cut short", truncateTo(284)},
        {"output range flag without pairs", truncateTo(286)},
        {"empty file", truncateTo(0)},
        {"header only", truncateTo(20)},
    };

    TempDir dir;
    for (const auto& [label, mutate] : cases) {
        auto bytes = EncodeNetFile(*sampleNet(true));
        mutate(bytes);
        writeBytes(dir.file("bad.crv"), bytes);
        auto current = std::make_unique<TNeuroNet>(7);
        TNeuroNet* before = current.get();
        EXPECT_FALSE(ReadNetFile(dir.file("bad.crv"), current)) << label;
        EXPECT_EQ(current.get(), before) << label;
        EXPECT_EQ(current->InputCount(), 7) << label;
    }
}

TEST(NetFile, UnknownActivationCodesAndBytesAfterTheRangesAreKept)
{
    // The engine evaluates an unknown code as linear, so such a file still loads.
    auto bytes = EncodeNetFile(*sampleNet(true));
    putInt32(bytes, 88, 7);
    bytes.push_back(0);
    auto net = DecodeNetFile(bytes);
    ASSERT_NE(net, nullptr);
    EXPECT_EQ(net->Layer(1).Params.Activation, 7);
    EXPECT_EQ(net->OutputRanges.size(), std::size_t(net->OutputCount()));
}

TEST(NetFile, ThingsThatAreNotNetworkFilesAreRejected)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder.crv");
    auto dataset = hexBytes("4E 4C 44 20 01 00 00 00 01 00 00 00 01 00 00 00 08 00 00 00 08 00 00 00"
                            " FF FF FF FF FF FF FF FF 00 00 00 00 00 00 F0 3F 00 00 00 00 00 00 00 40");
    writeBytes(dir.file("data.nld"), dataset);
    for (std::string name : {"folder.crv", "missing.crv", "data.nld"}) {
        auto current = std::make_unique<TNeuroNet>(3);
        EXPECT_FALSE(ReadNetFile(dir.file(name), current)) << name;
        EXPECT_EQ(current->InputCount(), 3) << name;
    }
}

TEST(NetFile, SavingReplacesTheOldFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    std::string name = dir.file("net.crv");
    writeBytes(name, {1, 2, 3});
    std::filesystem::permissions(name, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
                                           | std::filesystem::perms::group_read);
    auto net = sampleNet(false);
    std::string error;
    ASSERT_TRUE(WriteNetFile(*net, name, error)) << error;
    EXPECT_EQ(readBytes(name), EncodeNetFile(*net));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"net.crv"});
    EXPECT_EQ(std::filesystem::status(name).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read);
}

TEST(NetFile, SavingThroughALinkUpdatesTheFileItPointsTo)
{
    TempDir dir;
    writeBytes(dir.file("real.crv"), {1});
    std::filesystem::create_symlink(dir.file("real.crv"), dir.file("link.crv"));
    auto net = sampleNet(false);
    std::string error;
    ASSERT_TRUE(WriteNetFile(*net, dir.file("link.crv"), error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.crv")));
    EXPECT_EQ(readBytes(dir.file("real.crv")), EncodeNetFile(*net));
}

TEST(NetFile, AFailedSaveSaysWhyAndLeavesWhatWasThere)
{
    TempDir dir;
    auto net = sampleNet(true);
    std::string error;

    // A folder of that name: the finished temporary file cannot replace it.
    std::filesystem::create_directory(dir.path() / "taken.crv");
    writeBytes(dir.file("taken.crv/inside"), {9, 9});
    EXPECT_FALSE(WriteNetFile(*net, dir.file("taken.crv"), error));
    EXPECT_EQ(error, "Cannot create file \"" + dir.file("taken.crv") + "\". Is a directory");
    EXPECT_EQ(readBytes(dir.file("taken.crv/inside")), (std::vector<std::uint8_t>{9, 9}));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"taken.crv"});

    EXPECT_FALSE(WriteNetFile(*net, dir.file("nowhere/net.crv"), error));
    EXPECT_EQ(error, "Cannot create file \"" + dir.file("nowhere/net.crv") + "\". No such file or directory");
}

TEST(NetFile, AFailedSaveInAReadOnlyFolderKeepsTheOldFile)
{
    TempDir dir;
    if (!permissionsAreEnforced(dir))
        GTEST_SKIP() << "file permissions do not apply to this user";
    auto folder = dir.path() / "locked";
    std::filesystem::create_directory(folder);
    std::string name = (folder / "net.crv").string();
    writeBytes(name, {4, 5, 6});
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);

    std::string error;
    EXPECT_FALSE(WriteNetFile(*sampleNet(true), name, error));
    EXPECT_EQ(error, "Cannot create file \"" + name + "\". Permission denied");
    EXPECT_EQ(readBytes(name), (std::vector<std::uint8_t>{4, 5, 6}));
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
}

TEST(NetFile, ARejectedFileLeavesTheRandomGeneratorAsItWas)
{
    // Building a layer reseeds the generator from the clock; the clock here
    // gives a value that shows whether that happened.
    constexpr std::uint32_t kState = 0x12345678, kClock = 0x0badf00d;
    platform::SetSeedClock([] { return kClock; });
    const auto full = EncodeNetFile(*sampleNet(true));
    auto lastLayerTooLarge = full;
    putInt32(lastLayerTooLarge, 168, 2);
    std::vector<std::vector<std::uint8_t>> files = {lastLayerTooLarge};
    for (std::size_t length = 0; length <= full.size(); ++length)
        files.emplace_back(full.begin(), full.begin() + std::ptrdiff_t(length));

    TempDir dir;
    for (const auto& bytes : files) {
        writeBytes(dir.file("net.crv"), bytes);
        random_generator::SetState(kState);
        std::unique_ptr<TNeuroNet> net;
        bool accepted = ReadNetFile(dir.file("net.crv"), net);
        EXPECT_EQ(random_generator::State(), accepted ? kClock : kState) << bytes.size() << " bytes";
    }
    platform::SetSeedClock({});
}

TEST(NetFile, OnlyTheNetworksBytesAreReadFromAHugeFile)
{
    // A network followed by a sparse tail far larger than the machine's memory:
    // the tail is not part of the network and is never read.
    TempDir dir;
    auto net = sampleNet(true);
    writeBytes(dir.file("tail.crv"), EncodeNetFile(*net));
    std::filesystem::resize_file(dir.file("tail.crv"), std::uint64_t(1) << 40);
    std::unique_ptr<TNeuroNet> read;
    ASSERT_TRUE(ReadNetFile(dir.file("tail.crv"), read));
    expectSameNet(*net, *read);
}

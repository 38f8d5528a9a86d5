#include "files/NetFile.h"

#include <algorithm>
#include <new>

#include "engine/Random.h"
#include "files/ByteStream.h"
#include "files/FileAccess.h"

namespace {

constexpr std::size_t kSignatureSize = 16;
constexpr std::uint64_t kParamsSize = 48;
static_assert(kNetFileSignature.size() == kSignatureSize);

void putParams(ByteWriter& out, const TLayerParams& params)
{
    out.PutInt32(params.WeightInit);
    out.PutInt32(params.BiasInit);
    out.PutDouble(params.WeightTo);
    out.PutDouble(params.WeightFrom);
    out.PutDouble(params.BiasTo);
    out.PutDouble(params.BiasFrom);
    out.PutInt32(params.Activation);
    out.PutInt32(params.Reserved);
}

// The caller has made sure the 48 bytes are there.
void readParams(ByteReader& in, TLayerParams& params)
{
    in.ReadInt32(params.WeightInit);
    in.ReadInt32(params.BiasInit);
    in.ReadDouble(params.WeightTo);
    in.ReadDouble(params.WeightFrom);
    in.ReadDouble(params.BiasTo);
    in.ReadDouble(params.BiasFrom);
    in.ReadInt32(params.Activation);
    in.ReadInt32(params.Reserved);
}

void putRanges(ByteWriter& out, const std::vector<TRange>& ranges, int count)
{
    bool present = ranges.size() == std::size_t(count);
    out.PutByte(present ? 1 : 0);
    if (!present)
        return;
    for (const TRange& range : ranges) {
        out.PutDouble(range.Min);
        out.PutDouble(range.Max);
    }
}

// One optional range section; a file may end before it (no ranges).
void readRanges(ByteReader& in, std::vector<TRange>& ranges, int count)
{
    std::uint8_t present = 0;
    if (!in.ReadByte(present) || present == 0)
        return;
    ranges.assign(count, TRange{});
    for (TRange& range : ranges) {
        in.ReadDouble(range.Min);
        in.ReadDouble(range.Max);
    }
}

std::uint64_t layerBlockSize(std::uint64_t neurons, std::uint64_t inputs)
{
    return 4 + kParamsSize + 8 * neurons + 8 * neurons * inputs;
}

// Where the sections of a network file lie, as its counts give them.
struct NetLayout {
    std::int32_t InputCount = 0;
    std::vector<std::int32_t> NeuronCounts;  // per layer
    std::uint64_t End = 0;                    // where the network's bytes end
};

std::int32_t int32At(const std::uint8_t* bytes)
{
    ByteReader in({bytes, 4});
    std::int32_t value = 0;
    in.ReadInt32(value);
    return value;
}

// Walks the counts and section sizes of a file of size bytes, reading only
// the signature, the version and the counts through read(offset, out); the
// values themselves are neither read nor trusted. False when a count is out
// of its limits, a section is cut short or a read fails.
template <class Reader>
bool readLayout(Reader read, std::uint64_t size, NetLayout& layout)
{
    std::uint8_t head[kSignatureSize + 8];
    if (size < sizeof head || !read(0, head) || !std::equal(head, head + kSignatureSize, kNetFileSignature.begin())
        || int32At(head + kSignatureSize) != kNetFileVersion)
        return false;
    layout.InputCount = int32At(head + kSignatureSize + 4);
    if (layout.InputCount < 1 || layout.InputCount > kMaxInputs)
        return false;
    std::uint64_t pos = sizeof head + 8 * std::uint64_t(layout.InputCount);

    std::uint8_t count[4];
    if (pos + 4 > size || !read(pos, count))
        return false;
    std::int32_t layerCount = int32At(count);
    if (layerCount < 0 || layerCount > kMaxLayers)
        return false;
    pos += 4;
    std::uint64_t inputs = std::uint64_t(layout.InputCount);
    for (int k = 0; k < layerCount; ++k) {
        if (pos + 4 > size || !read(pos, count))
            return false;
        std::int32_t neurons = int32At(count);
        if (neurons < 1 || neurons > kMaxNeurons || pos + layerBlockSize(neurons, inputs) > size)
            return false;
        layout.NeuronCounts.push_back(neurons);
        pos += layerBlockSize(neurons, inputs);
        inputs = std::uint64_t(neurons);
    }

    // The two optional range sections: a file may end before either.
    for (std::uint64_t pairs : {std::uint64_t(layout.InputCount), inputs}) {
        std::uint8_t present = 0;
        if (pos == size)
            break;
        if (!read(pos, std::span(&present, 1)))
            return false;
        pos += 1;
        if (present != 0) {
            if (pos + 16 * pairs > size)
                return false;
            pos += 16 * pairs;
        }
    }
    layout.End = pos;
    return true;
}

auto spanReader(std::span<const std::uint8_t> bytes)
{
    return [bytes](std::uint64_t offset, std::span<std::uint8_t> out) {
        std::copy_n(bytes.begin() + std::ptrdiff_t(offset), out.size(), out.begin());
        return true;
    };
}

// The network of bytes whose layout has been read: nothing is checked here.
std::unique_ptr<TNeuroNet> buildNet(std::span<const std::uint8_t> bytes, const NetLayout& layout)
{
    ByteReader in(bytes.subspan(kSignatureSize + 8));
    auto net = std::make_unique<TNeuroNet>(layout.InputCount);
    in.ReadDoubles(net->Inputs);
    std::int32_t skipped = 0;
    in.ReadInt32(skipped);
    // Layers are created with zeros, which costs no random draws: the file's
    // values replace them at once.
    TLayerParams zeros;
    zeros.WeightInit = 1;
    zeros.BiasInit = 1;
    for (std::size_t k = 0; k < layout.NeuronCounts.size(); ++k) {
        in.ReadInt32(skipped);
        TLayerParams params;
        readParams(in, params);
        net->AddLayer(layout.NeuronCounts[k], zeros);
        TLayer& layer = net->LastLayer();
        layer.Params = params;
        in.ReadDoubles(layer.Bias);
        in.ReadDoubles(layer.Weights);
    }
    readRanges(in, net->InputRanges, net->InputCount());
    readRanges(in, net->OutputRanges, net->OutputCount());
    net->Evaluated = false;
    return net;
}

}  // namespace

std::vector<std::uint8_t> EncodeNetFile(const TNeuroNet& net)
{
    ByteWriter out;
    std::uint64_t size = kSignatureSize + 12 + 8 * std::uint64_t(net.InputCount()) + 2;
    for (const auto& layer : net.Layers)
        size += layerBlockSize(layer->NeuronCount(), layer->InputCount());
    out.Reserve(size + 16 * std::uint64_t(net.InputCount() + net.OutputCount()));

    out.PutBytes({reinterpret_cast<const std::uint8_t*>(kNetFileSignature.data()), kSignatureSize});
    out.PutInt32(kNetFileVersion);
    out.PutInt32(net.InputCount());
    out.PutDoubles(net.Inputs);
    out.PutInt32(net.LayerCount());
    for (const auto& layer : net.Layers) {
        out.PutInt32(layer->NeuronCount());
        putParams(out, layer->Params);
        out.PutDoubles(layer->Bias);
        out.PutDoubles(layer->Weights);
    }
    putRanges(out, net.InputRanges, net.InputCount());
    putRanges(out, net.OutputRanges, net.OutputCount());
    return out.Take();
}

std::unique_ptr<TNeuroNet> DecodeNetFile(std::span<const std::uint8_t> bytes)
{
    NetLayout layout;
    if (!readLayout(spanReader(bytes), bytes.size(), layout))
        return nullptr;
    // Nothing below can fail but an allocation; a network that cannot be
    // built leaves the random generator, which every new layer reseeds, as
    // it was.
    const std::uint32_t generatorState = random_generator::State();
    try {
        return buildNet(bytes.first(layout.End), layout);
    } catch (const std::bad_alloc&) {
        random_generator::SetState(generatorState);
        return nullptr;
    }
}

bool WriteNetFile(const TNeuroNet& net, const std::string& fileName, std::string& error)
{
    std::vector<std::uint8_t> bytes;
    try {
        bytes = EncodeNetFile(net);
    } catch (const std::bad_alloc&) {
        error = FileErrorMessage("write", fileName, "Not enough memory");
        return false;
    }
    return WriteFileAtomically(fileName, bytes, error);
}

bool ReadNetFile(const std::string& fileName, std::unique_ptr<TNeuroNet>& net)
{
    TReadableFile file;
    std::string reason;
    if (!file.Open(fileName, reason))
        return false;
    try {
        // The counts alone are read first; then only the bytes they make part
        // of the network.
        NetLayout layout;
        auto fileReader = [&](std::uint64_t offset, std::span<std::uint8_t> out) {
            return file.ReadAt(offset, out, reason);
        };
        if (!readLayout(fileReader, file.Size(), layout))
            return false;
        std::vector<std::uint8_t> bytes(layout.End);
        if (!file.ReadAt(0, bytes, reason))
            return false;
        std::unique_ptr<TNeuroNet> read = DecodeNetFile(bytes);
        if (!read)
            return false;
        net = std::move(read);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

#include "files/NetFile.h"

#include <algorithm>
#include <new>

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

// One optional range section; a file may end before it (true, no ranges).
bool readRanges(ByteReader& in, std::vector<TRange>& ranges, int count)
{
    std::uint8_t present = 0;
    if (!in.ReadByte(present) || present == 0)
        return true;
    if (!in.Has(16 * std::uint64_t(count)))
        return false;
    ranges.assign(count, TRange{});
    for (TRange& range : ranges) {
        in.ReadDouble(range.Min);
        in.ReadDouble(range.Max);
    }
    return true;
}

std::uint64_t layerBlockSize(std::uint64_t neurons, std::uint64_t inputs)
{
    return 4 + kParamsSize + 8 * neurons + 8 * neurons * inputs;
}

}  // namespace

std::uint64_t MaxNetFileSize()
{
    std::uint64_t size = kSignatureSize + 4 + 4 + 8 * std::uint64_t(kMaxInputs) + 4;
    size += layerBlockSize(kMaxNeurons, kMaxInputs);
    size += (kMaxLayers - 1) * layerBlockSize(kMaxNeurons, kMaxNeurons);
    return size + 1 + 16 * std::uint64_t(kMaxInputs) + 1 + 16 * std::uint64_t(kMaxNeurons);
}

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
    ByteReader in(bytes);
    std::uint8_t signature[kSignatureSize];
    std::int32_t version = 0;
    if (!in.ReadBytes(signature) || !std::equal(signature, signature + kSignatureSize, kNetFileSignature.begin())
        || !in.ReadInt32(version) || version != kNetFileVersion)
        return nullptr;

    // Every count is checked against its limits and every section against
    // the bytes that are really there before anything is allocated for it.
    std::int32_t inputCount = 0;
    if (!in.ReadInt32(inputCount) || inputCount < 1 || inputCount > kMaxInputs || !in.Has(8 * std::uint64_t(inputCount)))
        return nullptr;
    auto net = std::make_unique<TNeuroNet>(inputCount);
    in.ReadDoubles(net->Inputs);

    std::int32_t layerCount = 0;
    if (!in.ReadInt32(layerCount) || layerCount < 0 || layerCount > kMaxLayers)
        return nullptr;
    // Layers are created with zeros, which costs no random draws: the file's
    // values replace them at once.
    TLayerParams zeros;
    zeros.WeightInit = 1;
    zeros.BiasInit = 1;
    for (int k = 1; k <= layerCount; ++k) {
        std::int32_t neurons = 0;
        if (!in.ReadInt32(neurons) || neurons < 1 || neurons > kMaxNeurons)
            return nullptr;
        std::uint64_t inputs = net->OutputCount();
        if (!in.Has(layerBlockSize(neurons, inputs) - 4))
            return nullptr;
        TLayerParams params;
        readParams(in, params);
        net->AddLayer(neurons, zeros);
        TLayer& layer = net->Layer(k);
        layer.Params = params;
        in.ReadDoubles(layer.Bias);
        in.ReadDoubles(layer.Weights);
    }

    // Whatever follows the output ranges is not part of the network.
    if (!readRanges(in, net->InputRanges, net->InputCount()) || !readRanges(in, net->OutputRanges, net->OutputCount()))
        return nullptr;
    net->Evaluated = false;
    return net;
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
    try {
        std::vector<std::uint8_t> bytes;
        std::uint64_t fileSize = 0;
        std::string reason;
        std::uint64_t limit = MaxNetFileSize();
        if (!ReadFileBytes(fileName, limit + 1, bytes, fileSize, reason) || fileSize > limit)
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

// libFuzzer target for the network file reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "files/NetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::unique_ptr<TNeuroNet> net = DecodeNetFile({data, size});
    if (!net)
        return 0;

    // An accepted file is the writer's layout up to the end of the layers
    // (range flags other than 0 and 1, and missing range sections, are
    // normalised), and what the writer makes of it reads back to itself.
    std::size_t layersEnd = 28 + 8 * std::size_t(net->InputCount());
    for (const auto& layer : net->Layers)
        layersEnd += 52 + 8 * layer->Bias.size() + 8 * layer->Weights.size();
    std::vector<std::uint8_t> written = EncodeNetFile(*net);
    if (layersEnd > size || layersEnd > written.size() || std::memcmp(data, written.data(), layersEnd) != 0)
        std::abort();
    std::unique_ptr<TNeuroNet> again = DecodeNetFile(written);
    if (!again || EncodeNetFile(*again) != written)
        std::abort();
    return 0;
}

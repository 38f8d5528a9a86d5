// libFuzzer target for the dataset file readers.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "files/DatasetFile.h"

namespace {

double doubleAt(const std::uint8_t* bytes)
{
    std::uint64_t bits;
    std::memcpy(&bits, bytes, 8);
    return std::bit_cast<double>(bits);
}

// Same bits, or both NaN: widening quiets a signalling NaN.
bool sameValue(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) || (std::isnan(a) && std::isnan(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    TMatrix inputs, outputs;
    TDatasetRows rows;
    std::string reason;
    DatasetReadResult matrices = DecodeDataset(bytes, inputs, outputs, reason);
    DatasetReadResult perPattern = DecodeDatasetRows(bytes, rows, reason);
    if (matrices != perPattern)
        std::abort();
    if (matrices != DatasetReadResult::Loaded)
        return 0;

    // Written again, an accepted file is the same bytes except the reserved fields.
    std::vector<std::uint8_t> written;
    if (!EncodeDataset(inputs, outputs, written, reason) || written.size() != size
        || std::memcmp(data, written.data(), 24) != 0)
        std::abort();
    for (std::size_t offset = 32; offset < size; offset += 8)
        if (!sameValue(doubleAt(data + offset), doubleAt(written.data() + offset)))
            std::abort();
    for (int p = 0; p < inputs.Rows(); ++p)
        for (int c = 0; c < inputs.Cols(); ++c)
            if (!sameValue(static_cast<double>(inputs.GetItem(p, c)), rows.Inputs(p)[std::size_t(c)]))
                std::abort();
    return 0;
}

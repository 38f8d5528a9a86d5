// libFuzzer target for the file-level code: each input is saved by the
// program's writer and read back through every reader of both formats, which
// must agree with the decoders on the same bytes.
#include <stdlib.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "files/DatasetFile.h"
#include "files/FileAccess.h"
#include "files/NetFile.h"

namespace {

std::string folder;

void removeFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

// Same bits, or both NaN: widening quiets a signalling NaN.
bool sameValue(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) || (std::isnan(a) && std::isnan(b));
}

bool sameMatrix(const TMatrix& a, const TMatrix& b)
{
    if (a.Rows() != b.Rows() || a.Cols() != b.Cols())
        return false;
    for (int r = 0; r < a.Rows(); ++r)
        for (int c = 0; c < a.Cols(); ++c)
            if (!sameValue(double(a.GetItem(r, c)), double(b.GetItem(r, c))))
                return false;
    return true;
}

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

void checkNetReader(const std::string& name, std::span<const std::uint8_t> bytes)
{
    std::unique_ptr<TNeuroNet> decoded = DecodeNetFile(bytes);
    std::unique_ptr<TNeuroNet> read;
    if (ReadNetFile(name, read) != (decoded != nullptr))
        std::abort();
    if (decoded && EncodeNetFile(*read) != EncodeNetFile(*decoded))
        std::abort();
}

void checkDatasetReaders(const std::string& name, std::span<const std::uint8_t> bytes)
{
    TMatrix decodedIn, decodedOut;
    std::string reason;
    DatasetReadResult expected = DecodeDataset(bytes, decodedIn, decodedOut, reason);
    const bool loaded = expected == DatasetReadResult::Loaded;

    TMatrix in, out;
    std::string error;
    if (ReadDatasetFile(name, in, out, error) != expected)
        std::abort();
    if (loaded ? !sameMatrix(in, decodedIn) || !sameMatrix(out, decodedOut)
               : !startsWith(error, "Cannot read file \"") || in.Rows() != 0)
        std::abort();

    TDatasetRows rows;
    if (ReadDatasetRows(name, rows, error) != loaded)
        std::abort();
    if (loaded) {
        for (int p = 0; p < rows.PatternCount(); ++p)
            for (int c = 0; c < decodedIn.Cols(); ++c)
                if (!sameValue(rows.Inputs(p)[std::size_t(c)], double(decodedIn.GetItem(p, c))))
                    std::abort();
    }

    const int inputs = loaded ? in.Cols() : 1;
    const int outputs = loaded ? out.Cols() : 1;
    if (CheckDatasetFile(name, inputs, outputs, reason) != loaded)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/corvalith-fuzz-XXXXXX";
    if (!::mkdtemp(pattern))
        std::abort();
    folder = pattern;
    std::atexit(removeFolder);
    // Syncing every input would only slow the fuzzer down.
    SetSyncFunction([](int) { return 0; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    const std::string name = folder + "/input";
    std::string error;
    if (!WriteFileAtomically(name, bytes, error))
        std::abort();
    checkNetReader(name, bytes);
    checkDatasetReaders(name, bytes);
    return 0;
}

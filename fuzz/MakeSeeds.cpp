// Writes a few valid files of each format as the fuzzers' starting corpus:
// corvalith_fuzz_seeds <network folder> <dataset folder>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "files/DatasetFile.h"
#include "files/NetFile.h"

namespace {

void save(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void networkSeeds(const std::filesystem::path& folder)
{
    TNeuroNet empty(3);
    save(folder / "no-layers.crv", EncodeNetFile(empty));

    TNeuroNet small(1);
    small.AddLayer(1, TLayerParams{});
    save(folder / "one-neuron.crv", EncodeNetFile(small));

    TNeuroNet ranged(2);
    TLayerParams tanh;
    tanh.Activation = 2;
    ranged.AddLayer(3, tanh);
    ranged.AddLayer(2, TLayerParams{});
    ranged.InputRanges = {{0, 1}, {-5, 5}};
    ranged.OutputRanges = {{1, 2}, {3, 4}};
    auto bytes = EncodeNetFile(ranged);
    save(folder / "ranges.crv", bytes);
    bytes.resize(bytes.size() - 1 - 2 * 16);
    save(folder / "input-ranges-only.crv", bytes);
}

void datasetSeeds(const std::filesystem::path& folder)
{
    int shapes[][3] = {{1, 1, 1}, {3, 2, 1}, {2, 3, 2}};
    for (auto [patterns, inputs, outputs] : shapes) {
        TMatrix in(patterns, inputs), out(patterns, outputs);
        in.Fill(0.25L);
        out.Fill(-3);
        std::vector<std::uint8_t> bytes;
        std::string reason;
        EncodeDataset(in, out, bytes, reason);
        char name[32];
        std::snprintf(name, sizeof name, "%dx%dx%d.nld", patterns, inputs, outputs);
        save(folder / name, bytes);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <network folder> <dataset folder>\n", argv[0]);
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    std::filesystem::create_directories(argv[2]);
    networkSeeds(argv[1]);
    datasetSeeds(argv[2]);
    return 0;
}

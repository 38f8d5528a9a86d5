#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "files/DatasetFile.h"
#include "files/TextDataset.h"

// Importing a 100,000-line CSV file of 10 columns into the editor's two
// matrices, beside reading the same dataset from the binary dataset file.
namespace {

constexpr int kRows = 100'000;
constexpr int kInputs = 9;
constexpr int kOutputs = 1;

struct DatasetFiles {
    std::string csv, nld;
    DatasetFiles()
    {
        auto folder = std::filesystem::temp_directory_path();
        csv = (folder / "corvalith-bench-import.csv").string();
        nld = (folder / "corvalith-bench-import.nld").string();
        // Values of full double precision: the longest texts a writer produces.
        std::mt19937_64 generator(2026);
        std::uniform_real_distribution<double> value(-1000, 1000);
        TMatrix inputs(kRows, kInputs), outputs(kRows, kOutputs);
        for (int p = 0; p < kRows; ++p) {
            for (int c = 0; c < kInputs; ++c)
                inputs.SetItem(p, c, value(generator));
            outputs.SetItem(p, 0, value(generator));
        }
        std::string error;
        if (!WriteTextDataset(csv, inputs, outputs, error) || !WriteDatasetFile(nld, inputs, outputs, error))
            throw std::runtime_error(error);
    }
    ~DatasetFiles()
    {
        std::error_code ignored;
        std::filesystem::remove(csv, ignored);
        std::filesystem::remove(nld, ignored);
    }
};

const DatasetFiles& files()
{
    static DatasetFiles instance;
    return instance;
}

void ImportCsv(benchmark::State& state)
{
    const std::string& name = files().csv;
    state.counters["MB"] = double(std::filesystem::file_size(name)) / 1e6;
    for (auto _ : state) {
        TTextTable table;
        TMatrix inputs, outputs;
        std::string error;
        if (!ReadTextTable(name, table, error) || !SplitTextTable(table, kOutputs, inputs, outputs))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(inputs.GetItem(kRows - 1, 0));
    }
}

void ReadNld(benchmark::State& state)
{
    const std::string& name = files().nld;
    for (auto _ : state) {
        TMatrix inputs, outputs;
        std::string error;
        if (ReadDatasetFile(name, inputs, outputs, error) != DatasetReadResult::Loaded)
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(inputs.GetItem(kRows - 1, 0));
    }
}

}  // namespace

BENCHMARK(ImportCsv)->Name("Import/csv/100000x10")->Unit(benchmark::kMillisecond);
BENCHMARK(ReadNld)->Name("Import/nld/100000x10")->Unit(benchmark::kMillisecond);

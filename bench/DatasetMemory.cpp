// Peak memory of the dataset readers on one large file of one input and one
// output, each reader in a child process of its own, against the file's size:
// corvalith_dataset_memory [MiB of records, default 256] [folder, default /tmp]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/Machine.h"
#include "files/DatasetFile.h"
#include "files/FileAccess.h"

namespace {

// Writes the file a piece at a time, so that this process stays small.
void writeDataset(const std::string& name, std::int32_t patterns)
{
    TMatrix in(1, 1), out(1, 1);
    std::vector<std::uint8_t> header;
    std::string reason;
    EncodeDataset(in, out, header, reason);
    header.resize(kDatasetHeaderSize);
    for (int i = 0; i < 4; ++i)
        header[4 + i] = std::uint8_t(std::uint32_t(patterns) >> (8 * i));
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(header.data()), std::streamsize(header.size()));
    std::vector<double> piece(1 << 16);
    for (std::int64_t written = 0; written < 2 * std::int64_t(patterns); written += std::int64_t(piece.size())) {
        for (std::size_t i = 0; i < piece.size(); ++i)
            piece[i] = double(written + std::int64_t(i)) * 0.5;
        file.write(reinterpret_cast<const char*>(piece.data()), std::streamsize(piece.size() * sizeof(double)));
    }
}

// The peak resident size, in bytes, of a child process that runs work.
long peakOfChild(const std::function<bool()>& work)
{
    std::fflush(stdout);
    pid_t child = ::fork();
    if (child == 0)
        ::_exit(work() ? 0 : 1);
    int status = 0;
    rusage usage {};
    ::wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the reader failed\n");
        std::exit(1);
    }
    return usage.ru_maxrss * 1024L;
}

}  // namespace

int main(int argc, char** argv)
{
    const long mebibytes = argc > 1 ? std::atol(argv[1]) : 256;
    const std::filesystem::path folder = argc > 2 ? argv[2] : "/tmp";
    const std::int32_t patterns = std::int32_t(mebibytes * 1024 * 1024 / 16);
    const std::string name = (folder / ("corvalith-memory-" + std::to_string(::getpid()) + ".nld")).string();
    writeDataset(name, patterns);
    const double fileSize = double(std::filesystem::file_size(name));

    printMachine();
    std::printf("memory: %.1f GiB\n", double(::sysconf(_SC_PHYS_PAGES)) * double(::sysconf(_SC_PAGESIZE)) / (1 << 30));
    std::printf("file: %d patterns of 1 input and 1 output, %.1f MiB\n", patterns, fileSize / (1 << 20));
    const long baseline = peakOfChild([] { return true; });

    struct Reader {
        const char* label;
        std::function<bool()> read;
    };
    const std::vector<Reader> readers = {
        {"ReadDatasetRows (training run, graphs)",
         [&] {
             TDatasetRows rows;
             std::string error;
             return ReadDatasetRows(name, rows, error) && rows.PatternCount() == patterns;
         }},
        {"ReadDatasetFile (editor, extended values)",
         [&] {
             TMatrix in, out;
             std::string error;
             return ReadDatasetFile(name, in, out, error) == DatasetReadResult::Loaded;
         }},
        {"whole file's bytes, then DecodeDatasetRows",
         [&] {
             TReadableFile file;
             std::string reason;
             if (!file.Open(name, reason))
                 return false;
             std::vector<std::uint8_t> bytes(file.Size());
             TDatasetRows rows;
             return file.ReadAt(0, bytes, reason)
                    && DecodeDatasetRows(bytes, rows, reason) == DatasetReadResult::Loaded;
         }},
    };
    std::printf("%-45s %12s %14s\n", "reader", "peak MiB", "peak / file");
    for (const Reader& reader : readers) {
        double peak = double(peakOfChild(reader.read) - baseline);
        std::printf("%-45s %12.1f %14.2f\n", reader.label, peak / (1 << 20), peak / fileSize);
    }
    std::filesystem::remove(name);
    return 0;
}

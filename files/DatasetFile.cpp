#include "files/DatasetFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "files/ByteStream.h"
#include "files/FileAccess.h"

namespace {

enum class HeaderCheck { Valid, NotADataset, Damaged };

std::string format(const char* pattern, long long a, long long b = 0, long long c = 0)
{
    char text[256];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

std::uint64_t recordSize(const TDatasetHeader& header)
{
    return (std::uint64_t(header.InputCount) + std::uint64_t(header.OutputCount)) * kDatasetElementWidth;
}

// Reads and judges the header against the file's real length, so that no
// count is trusted before the bytes it announces are known to be there.
HeaderCheck checkHeader(std::span<const std::uint8_t> head, std::uint64_t fileSize, TDatasetHeader& header,
                        std::string& reason)
{
    if (head.size() < kDatasetMagic.size() || !std::equal(kDatasetMagic.begin(), kDatasetMagic.end(), head.begin())) {
        reason = kIncorrectDatasetFile;
        return HeaderCheck::NotADataset;
    }
    ByteReader in(head);
    if (!in.ReadBytes(header.Magic) || !in.ReadInt32(header.PatternCount) || !in.ReadInt32(header.InputCount)
        || !in.ReadInt32(header.OutputCount) || !in.ReadInt32(header.InputWidth) || !in.ReadInt32(header.OutputWidth)
        || !in.ReadInt32(header.Reserved1) || !in.ReadInt32(header.Reserved2)) {
        reason = "The file ends inside the 32-byte dataset header";
        return HeaderCheck::Damaged;
    }
    if (header.InputWidth != kDatasetElementWidth || header.OutputWidth != kDatasetElementWidth) {
        reason = format("The dataset header gives element widths of %lld and %lld bytes; only 8-byte values can be read",
                        header.InputWidth, header.OutputWidth);
        return HeaderCheck::Damaged;
    }
    if (header.PatternCount < 1 || header.InputCount < 1 || header.OutputCount < 1) {
        reason = format("The dataset header gives %lld patterns, %lld inputs and %lld outputs; each must be at least 1",
                        header.PatternCount, header.InputCount, header.OutputCount);
        return HeaderCheck::Damaged;
    }
    std::uint64_t records = (fileSize - kDatasetHeaderSize) / recordSize(header);
    if (records < std::uint64_t(header.PatternCount)) {
        reason = format("The file ends before the last of the %lld patterns its header announces", header.PatternCount);
        return HeaderCheck::Damaged;
    }
    if (fileSize != kDatasetHeaderSize + records * recordSize(header) || records > std::uint64_t(header.PatternCount)) {
        reason = format("The file holds more than the %lld patterns its header announces", header.PatternCount);
        return HeaderCheck::Damaged;
    }
    return HeaderCheck::Valid;
}

DatasetReadResult asResult(HeaderCheck check)
{
    return check == HeaderCheck::NotADataset ? DatasetReadResult::NotADataset : DatasetReadResult::Failed;
}

// Reads the header first and the records only when the header holds up, so a
// large file that is no dataset is never read whole.
DatasetReadResult readDatasetBytes(const std::string& fileName, std::vector<std::uint8_t>& bytes, std::string& error)
{
    std::uint64_t fileSize = 0;
    std::string reason;
    if (!ReadFileBytes(fileName, kDatasetHeaderSize, bytes, fileSize, reason)) {
        error = FileErrorMessage("open", fileName, reason);
        return DatasetReadResult::Failed;
    }
    TDatasetHeader header;
    HeaderCheck check = checkHeader(bytes, fileSize, header, reason);
    if (check != HeaderCheck::Valid) {
        error = FileErrorMessage("read", fileName, reason);
        return asResult(check);
    }
    if (!ReadFileBytes(fileName, fileSize, bytes, fileSize, reason)) {
        error = FileErrorMessage("open", fileName, reason);
        return DatasetReadResult::Failed;
    }
    return DatasetReadResult::Loaded;
}

constexpr const char* kNotEnoughMemory = "Not enough memory for the dataset";

// A value the editor holds, as the double the file stores; false when it
// lies beyond the double range (an infinity or NaN stays what it is).
bool narrow(Extended value, double& stored)
{
    stored = static_cast<double>(value);
    return !(std::isinf(stored) && std::isfinite(value));
}

}  // namespace

bool EncodeDataset(const TMatrix& inputs, const TMatrix& outputs, std::vector<std::uint8_t>& bytes, std::string& reason)
{
    if (inputs.Rows() != outputs.Rows()) {
        reason = format("The inputs hold %lld pairs and the outputs %lld", inputs.Rows(), outputs.Rows());
        return false;
    }
    if (inputs.Rows() < 1 || inputs.Cols() < 1 || outputs.Cols() < 1) {
        reason = "A dataset needs at least one pair, one input and one output";
        return false;
    }
    TDatasetHeader header;
    header.PatternCount = inputs.Rows();
    header.InputCount = inputs.Cols();
    header.OutputCount = outputs.Cols();
    try {
        ByteWriter out;
        out.Reserve(kDatasetHeaderSize + header.PatternCount * recordSize(header));
        out.PutBytes(header.Magic);
        for (std::int32_t field : {header.PatternCount, header.InputCount, header.OutputCount, header.InputWidth,
                                   header.OutputWidth, header.Reserved1, header.Reserved2})
            out.PutInt32(field);
        for (int p = 0; p < header.PatternCount; ++p) {
            for (const TMatrix* matrix : {&inputs, &outputs}) {
                for (int c = 0; c < matrix->Cols(); ++c) {
                    double value = 0;
                    if (!narrow(matrix->GetItem(p, c), value)) {
                        reason = format(matrix == &inputs ? "Input %lld of pair %lld lies outside the range of a double"
                                                          : "Output %lld of pair %lld lies outside the range of a double",
                                        c + 1, p + 1);
                        return false;
                    }
                    out.PutDouble(value);
                }
            }
        }
        bytes = out.Take();
        return true;
    } catch (const std::bad_alloc&) {
        reason = kNotEnoughMemory;
        return false;
    }
}

DatasetReadResult DecodeDataset(std::span<const std::uint8_t> bytes, TMatrix& inputs, TMatrix& outputs,
                                std::string& reason)
{
    TDatasetHeader header;
    HeaderCheck check = checkHeader(bytes, bytes.size(), header, reason);
    if (check != HeaderCheck::Valid)
        return asResult(check);
    const int patterns = header.PatternCount;
    TMatrix readInputs(patterns, header.InputCount);
    TMatrix readOutputs(patterns, header.OutputCount);
    if (readInputs.Rows() != patterns || readOutputs.Rows() != patterns) {
        reason = kNotEnoughMemory;
        return DatasetReadResult::Failed;
    }
    ByteReader in(bytes.subspan(kDatasetHeaderSize));
    for (int p = 0; p < patterns; ++p) {
        for (TMatrix* matrix : {&readInputs, &readOutputs}) {
            for (int c = 0; c < matrix->Cols(); ++c) {
                double value = 0;
                in.ReadDouble(value);
                matrix->SetItem(p, c, value);
            }
        }
    }
    inputs = std::move(readInputs);
    outputs = std::move(readOutputs);
    return DatasetReadResult::Loaded;
}

DatasetReadResult DecodeDatasetRows(std::span<const std::uint8_t> bytes, TDatasetRows& rows, std::string& reason)
{
    TDatasetRows read;
    HeaderCheck check = checkHeader(bytes, bytes.size(), read.Header, reason);
    if (check != HeaderCheck::Valid)
        return asResult(check);
    try {
        const auto patterns = std::size_t(read.Header.PatternCount);
        read.Values.resize(patterns * (std::size_t(read.Header.InputCount) + std::size_t(read.Header.OutputCount)));
        ByteReader in(bytes.subspan(kDatasetHeaderSize));
        in.ReadDoubles(read.Values);
    } catch (const std::bad_alloc&) {
        reason = kNotEnoughMemory;
        return DatasetReadResult::Failed;
    }
    rows = std::move(read);
    return DatasetReadResult::Loaded;
}

bool WriteDatasetFile(const std::string& fileName, const TMatrix& inputs, const TMatrix& outputs, std::string& error)
{
    std::vector<std::uint8_t> bytes;
    std::string reason;
    if (!EncodeDataset(inputs, outputs, bytes, reason)) {
        error = FileErrorMessage("write", fileName, reason);
        return false;
    }
    return WriteFileAtomically(fileName, bytes, error);
}

DatasetReadResult ReadDatasetFile(const std::string& fileName, TMatrix& inputs, TMatrix& outputs, std::string& error)
{
    std::vector<std::uint8_t> bytes;
    DatasetReadResult result = readDatasetBytes(fileName, bytes, error);
    if (result != DatasetReadResult::Loaded)
        return result;
    std::string reason;
    result = DecodeDataset(bytes, inputs, outputs, reason);
    if (result != DatasetReadResult::Loaded)
        error = FileErrorMessage("read", fileName, reason);
    return result;
}

bool ReadDatasetRows(const std::string& fileName, TDatasetRows& rows, std::string& error)
{
    std::vector<std::uint8_t> bytes;
    if (readDatasetBytes(fileName, bytes, error) != DatasetReadResult::Loaded)
        return false;
    std::string reason;
    if (DecodeDatasetRows(bytes, rows, reason) != DatasetReadResult::Loaded) {
        error = FileErrorMessage("read", fileName, reason);
        return false;
    }
    return true;
}

bool CheckDatasetFile(const std::string& fileName, int netInputs, int netOutputs, std::string& reason)
{
    std::vector<std::uint8_t> head;
    std::uint64_t fileSize = 0;
    if (!ReadFileBytes(fileName, kDatasetHeaderSize, head, fileSize, reason))
        return false;
    TDatasetHeader header;
    if (checkHeader(head, fileSize, header, reason) != HeaderCheck::Valid)
        return false;
    if (header.InputCount != netInputs || header.OutputCount != netOutputs) {
        reason = kIncompatibleDatasetSizes;
        return false;
    }
    return true;
}

#include "files/DatasetFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
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

DatasetReadResult asResult(HeaderCheck check)
{
    switch (check) {
    case HeaderCheck::Valid:
        return DatasetReadResult::Loaded;
    case HeaderCheck::NotADataset:
        return DatasetReadResult::NotADataset;
    case HeaderCheck::Damaged:
        break;
    }
    return DatasetReadResult::Failed;
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
    ByteReader in(head);
    if (fileSize < kDatasetHeaderSize || !in.Has(kDatasetHeaderSize)) {
        reason = "The file ends inside the 32-byte dataset header";
        return HeaderCheck::Damaged;
    }
    if (!std::equal(kDatasetMagic.begin(), kDatasetMagic.end(), head.begin())) {
        reason = kIncorrectDatasetFile;
        return HeaderCheck::NotADataset;
    }
    in.ReadBytes(header.Magic);
    for (std::int32_t* field : {&header.PatternCount, &header.InputCount, &header.OutputCount, &header.InputWidth,
                                &header.OutputWidth, &header.Reserved1, &header.Reserved2})
        in.ReadInt32(*field);
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

// Opens a dataset file and reads and judges its header, before anything of
// the records is read. Unless the result is Loaded, action says what failed
// ("open" or "read") and reason why.
DatasetReadResult openDataset(const std::string& fileName, TReadableFile& file, TDatasetHeader& header,
                              std::string_view& action, std::string& reason)
{
    action = "open";
    if (!file.Open(fileName, reason))
        return DatasetReadResult::Failed;
    action = "read";
    std::array<std::uint8_t, kDatasetHeaderSize> head{};
    auto present = std::span(head).first(std::size_t(std::min<std::uint64_t>(file.Size(), kDatasetHeaderSize)));
    if (!file.ReadAt(0, present, reason))
        return DatasetReadResult::Failed;
    return asResult(checkHeader(present, file.Size(), header, reason));
}

DatasetReadResult openDataset(const std::string& fileName, TReadableFile& file, TDatasetHeader& header,
                              std::string& error)
{
    std::string_view action;
    std::string reason;
    DatasetReadResult result = openDataset(fileName, file, header, action, reason);
    if (result != DatasetReadResult::Loaded)
        error = FileErrorMessage(action, fileName, reason);
    return result;
}

std::uint64_t valueCount(const TDatasetHeader& header)
{
    return std::uint64_t(header.PatternCount) * (std::uint64_t(header.InputCount) + std::uint64_t(header.OutputCount));
}

// Doubles read as the file's raw little-endian bytes, as this machine's doubles.
void fromLittleEndian(std::span<double> values)
{
    if constexpr (std::endian::native != std::endian::little) {
        for (double& value : values) {
            std::uint8_t raw[8];
            std::memcpy(raw, &value, 8);
            ByteReader(raw).ReadDouble(value);
        }
    }
}

// Reads values.size() doubles from offset straight into values, without a
// copy of the file's bytes beside them.
bool readDoubles(const TReadableFile& file, std::uint64_t offset, std::span<double> values, std::string& reason)
{
    std::span<std::uint8_t> raw(reinterpret_cast<std::uint8_t*>(values.data()), values.size() * sizeof(double));
    if (!file.ReadAt(offset, raw, reason))
        return false;
    fromLittleEndian(values);
    return true;
}

constexpr const char* kNotEnoughMemory = "Not enough memory for the dataset";

bool allocateValues(std::vector<double>& values, std::uint64_t count)
{
    if (!FitsInMemory(count * sizeof(double)))
        return false;
    try {
        values.resize(std::size_t(count));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

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
    TReadableFile file;
    TDatasetHeader header;
    DatasetReadResult result = openDataset(fileName, file, header, error);
    if (result != DatasetReadResult::Loaded)
        return result;
    const int patterns = header.PatternCount;
    if (!FitsInMemory(valueCount(header) * sizeof(Extended))) {
        error = FileErrorMessage("read", fileName, kNotEnoughMemory);
        return DatasetReadResult::Failed;
    }
    TMatrix readInputs(patterns, header.InputCount);
    TMatrix readOutputs(patterns, header.OutputCount);
    if (readInputs.Rows() != patterns || readOutputs.Rows() != patterns) {
        error = FileErrorMessage("read", fileName, kNotEnoughMemory);
        return DatasetReadResult::Failed;
    }
    // The records are read a piece at a time into the matrices, so the
    // file's bytes are never held whole beside them.
    std::array<double, 8192> piece;
    std::uint64_t offset = kDatasetHeaderSize;
    std::uint64_t remaining = valueCount(header);
    int p = 0, c = 0;
    const int recordLength = header.InputCount + header.OutputCount;
    while (remaining > 0) {
        auto values = std::span(piece).first(std::size_t(std::min<std::uint64_t>(remaining, piece.size())));
        std::string reason;
        if (!readDoubles(file, offset, values, reason)) {
            error = FileErrorMessage("read", fileName, reason);
            return DatasetReadResult::Failed;
        }
        for (double value : values) {
            if (c < header.InputCount)
                readInputs.SetItem(p, c, value);
            else
                readOutputs.SetItem(p, c - header.InputCount, value);
            if (++c == recordLength) {
                c = 0;
                ++p;
            }
        }
        offset += values.size_bytes();
        remaining -= values.size();
    }
    inputs = std::move(readInputs);
    outputs = std::move(readOutputs);
    return DatasetReadResult::Loaded;
}

bool ReadDatasetRows(const std::string& fileName, TDatasetRows& rows, std::string& error)
{
    TReadableFile file;
    TDatasetRows read;
    if (openDataset(fileName, file, read.Header, error) != DatasetReadResult::Loaded)
        return false;
    // The header was checked against the file's size, so the count fits.
    const std::uint64_t count = valueCount(read.Header);
    if (!allocateValues(read.Values, count)) {
        error = FileErrorMessage("read", fileName, kNotEnoughMemory);
        return false;
    }
    std::string reason;
    if (!readDoubles(file, kDatasetHeaderSize, read.Values, reason)) {
        error = FileErrorMessage("read", fileName, reason);
        return false;
    }
    rows = std::move(read);
    return true;
}

bool CheckDatasetFile(const std::string& fileName, int netInputs, int netOutputs, std::string& reason)
{
    TReadableFile file;
    TDatasetHeader header;
    std::string_view action;
    if (openDataset(fileName, file, header, action, reason) != DatasetReadResult::Loaded)
        return false;
    if (header.InputCount != netInputs || header.OutputCount != netOutputs) {
        reason = kIncompatibleDatasetSizes;
        return false;
    }
    return true;
}

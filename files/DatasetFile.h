#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/xMatrix.h"

// The training dataset file: a 32-byte header, then one record per pattern
// holding its NI input values and then its NO output values, all 8-byte
// doubles; nothing after the last record.

inline constexpr std::array<std::uint8_t, 4> kDatasetMagic = {'N', 'L', 'D', ' '};
inline constexpr std::size_t kDatasetHeaderSize = 32;
inline constexpr std::int32_t kDatasetElementWidth = 8;

// Reasons the training setup dialog shows after the file name and " - ".
inline constexpr std::string_view kIncorrectDatasetFile = "Incorrect dataset file";
inline constexpr std::string_view kIncompatibleDatasetSizes = "Incompatible sizes of inputs and outputs";

struct TDatasetHeader {
    std::array<std::uint8_t, 4> Magic = kDatasetMagic;
    std::int32_t PatternCount = 0;  // P
    std::int32_t InputCount = 0;    // NI
    std::int32_t OutputCount = 0;   // NO
    std::int32_t InputWidth = kDatasetElementWidth;   // bytes per stored input value
    std::int32_t OutputWidth = kDatasetElementWidth;  // bytes per stored output value
    std::int32_t Reserved1 = -1;
    std::int32_t Reserved2 = -1;
};

enum class DatasetReadResult {
    Loaded,
    NotADataset,  // the magic differs: the editor ignores such a file silently
    Failed,       // cannot be opened, or a dataset file that is damaged
};

// The dataset as the training run and the graphs window hold it: the
// patterns' records in one block, each NI input values then NO target values,
// as in the file. Inputs(p) and Targets(p) are views into the block.
struct TDatasetRows {
    TDatasetHeader Header;
    std::vector<double> Values;

    int PatternCount() const { return Header.PatternCount; }
    std::span<const double> Inputs(int p) const
    {
        return std::span<const double>(Values).subspan(recordOffset(p), std::size_t(Header.InputCount));
    }
    std::span<const double> Targets(int p) const
    {
        return std::span<const double>(Values).subspan(recordOffset(p) + std::size_t(Header.InputCount),
                                                       std::size_t(Header.OutputCount));
    }

private:
    std::size_t recordOffset(int p) const
    {
        return std::size_t(p) * (std::size_t(Header.InputCount) + std::size_t(Header.OutputCount));
    }
};

// The editor's writer: one pattern per row of inputs and outputs, each value
// rounded to the nearest double. A value beyond the double range is refused
// rather than stored as an infinity. Writes through a temporary file, so a
// failed save leaves the old file as it was; error says why.
bool WriteDatasetFile(const std::string& fileName, const TMatrix& inputs, const TMatrix& outputs, std::string& error);

// The editor's reader. Only when the result is Loaded do inputs and outputs
// change, taking the file's counts and values; otherwise error holds the
// message ("Cannot open file ..." or "Cannot read file ...").
DatasetReadResult ReadDatasetFile(const std::string& fileName, TMatrix& inputs, TMatrix& outputs, std::string& error);

// The training setup dialog's check: a complete dataset file whose input and
// output counts are the network's. Otherwise false with the reason:
// kIncorrectDatasetFile, kIncompatibleDatasetSizes, the system's text when
// the file cannot be opened, or what is wrong with the file.
bool CheckDatasetFile(const std::string& fileName, int netInputs, int netOutputs, std::string& reason);

// The reader of the training run and the graphs window. The header is
// checked against the file's size before any record is read, and the records
// are read straight into rows.Values. rows changes only on success; otherwise
// error holds the message.
bool ReadDatasetRows(const std::string& fileName, TDatasetRows& rows, std::string& error);

// The same on bytes in memory; reason is the bare text of what is wrong.
bool EncodeDataset(const TMatrix& inputs, const TMatrix& outputs, std::vector<std::uint8_t>& bytes, std::string& reason);
DatasetReadResult DecodeDataset(std::span<const std::uint8_t> bytes, TMatrix& inputs, TMatrix& outputs,
                                std::string& reason);
DatasetReadResult DecodeDatasetRows(std::span<const std::uint8_t> bytes, TDatasetRows& rows, std::string& reason);

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/xMatrix.h"

// Datasets as delimited text, the form spreadsheets, loggers and scripts
// write: one pattern per line, fields separated by commas, semicolons, tabs or
// blanks, the decimal point always ".".

// The largest text file an import reads.
inline constexpr std::uint64_t kMaxTextDatasetSize = std::uint64_t(256) << 20;

// A table of numbers read from text. Values holds RowCount rows of
// ColumnCount values; each is the double nearest to its text.
struct TTextTable {
    int ColumnCount = 0;
    int RowCount = 0;
    std::vector<double> Values;
    std::vector<std::string> ColumnNames;  // the header line's fields, when there is one
    char Separator = ',';                  // ',', ';', or ' ' for runs of blanks
    std::vector<std::string> FirstLines;   // the file's first lines as they are, for a preview
};

// Reads the text: CR LF, LF or CR line ends, an optional UTF-8 byte-order
// mark, blank lines ignored, and a first line that is not all numbers taken
// as column names. The separator is the one of ',' and ';' that the first
// line holds more of, or runs of blanks (spaces and tabs, so tab-separated
// text too) when it holds neither. Fields may be quoted. On failure returns false with the reason naming the line and
// column ("Line 12, column 3: 'abc' is not a valid floating point value"),
// and table is untouched.
bool ParseTextTable(std::string_view text, TTextTable& table, std::string& reason);

// The same on a file; error is the program's file message ("Cannot open file
// ...", "Cannot import file ... Line 12, column 3: ...").
bool ReadTextTable(const std::string& fileName, TTextTable& table, std::string& error);

// The table's first columns as inputs and its last outputColumns columns as
// outputs, one pattern per row; 1 <= outputColumns < ColumnCount. Both
// matrices change, or (when memory runs out) neither does.
bool SplitTextTable(const TTextTable& table, int outputColumns, TMatrix& inputs, TMatrix& outputs);

// The dataset as text: a header line x1,..,xNI,y1,..,yNO, then one pattern per
// line, inputs then outputs, comma-separated, each value the shortest text
// that reads back as the same double. False with the reason when the matrices
// disagree in rows or a value is no finite double.
bool FormatTextDataset(const TMatrix& inputs, const TMatrix& outputs, std::string& text, std::string& reason);

// The same written to a file through a temporary file, so a failed export
// leaves whatever was there as it was.
bool WriteTextDataset(const std::string& fileName, const TMatrix& inputs, const TMatrix& outputs, std::string& error);

// libFuzzer target for the text dataset reader: whatever it accepts is a
// whole table, and writing the table and reading it back gives the same bits.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/TextDataset.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    TTextTable table;
    std::string reason;
    if (!ParseTextTable(text, table, reason)) {
        if (reason.empty() || table.RowCount != 0 || !table.Values.empty())
            std::abort();
        return 0;
    }
    if (table.ColumnCount < 2 || table.RowCount < 1
        || table.Values.size() != std::size_t(table.RowCount) * std::size_t(table.ColumnCount))
        std::abort();

    TMatrix inputs, outputs;
    if (!SplitTextTable(table, 1, inputs, outputs))
        std::abort();
    std::string written;
    if (!FormatTextDataset(inputs, outputs, written, reason))
        std::abort();
    TTextTable again;
    if (!ParseTextTable(written, again, reason) || again.ColumnCount != table.ColumnCount
        || again.RowCount != table.RowCount)
        std::abort();
    for (std::size_t n = 0; n < table.Values.size(); ++n)
        if (std::bit_cast<std::uint64_t>(again.Values[n]) != std::bit_cast<std::uint64_t>(table.Values[n]))
            std::abort();
    return 0;
}

#include "data/PasteText.h"

#include <string>

#include "data/NumberText.h"

namespace {

bool isCellSeparator(char c) { return c == '\t' || c == ' ' || c == ',' || c == ';'; }
bool isLineSeparator(char c) { return c == '\r' || c == '\n'; }

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

TToken NextToken(std::string_view text, std::size_t& pos, Extended& value)
{
    value = 0;
    while (pos < text.size() && (isCellSeparator(text[pos]) || isLineSeparator(text[pos])))
        ++pos;
    if (pos >= text.size())
        return tkNone;
    const std::size_t start = pos;
    while (pos < text.size() && !isCellSeparator(text[pos]) && !isLineSeparator(text[pos]))
        ++pos;
    TToken token = tkEnd;
    if (pos < text.size())
        token = isLineSeparator(text[pos]) ? tkLine : tkCell;
    if (!TryParseFloat(text.substr(start, pos - start), value)) {
        value = 0;
        return tkBad;
    }
    return token;
}

void PasteText(std::string_view text, const TGridRect& selection, TMatrix& matrix)
{
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    if (text.empty())
        return;
    int lastRow = selection.Bottom;
    int lastCol = selection.Right;
    if (selection.Left == selection.Right && selection.Top == selection.Bottom) {
        lastRow = matrix.Rows();
        lastCol = matrix.Cols();
    }
    lastRow = std::min(lastRow, matrix.Rows());
    lastCol = std::min(lastCol, matrix.Cols());
    std::size_t pos = 0;
    Extended value = 0;
    for (int row = selection.Top; row <= lastRow; ++row) {
        TToken token = tkCell;
        for (int col = selection.Left; col <= lastCol; ++col) {
            token = NextToken(text, pos, value);
            if (token == tkNone || token == tkBad)
                return;
            matrix.SetItem(row - 1, col - 1, value);
            if (token == tkEnd)
                return;
            if (token == tkLine)
                break;
        }
        if (token == tkLine)
            continue;
        do {
            token = NextToken(text, pos, value);
            if (token == tkNone || token == tkEnd)
                return;
        } while (token != tkLine);
    }
}

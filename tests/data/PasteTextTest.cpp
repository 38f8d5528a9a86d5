#include "data/PasteText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<double>>;

TMatrix matrixOf(const Rows& rows)
{
    TMatrix m(int(rows.size()), int(rows.front().size()));
    for (int r = 0; r < m.Rows(); ++r)
        for (int c = 0; c < m.Cols(); ++c)
            m.SetItem(r, c, rows[r][c]);
    return m;
}

Rows rowsOf(const TMatrix& m)
{
    Rows rows(m.Rows(), std::vector<double>(m.Cols()));
    for (int r = 0; r < m.Rows(); ++r)
        for (int c = 0; c < m.Cols(); ++c)
            rows[r][c] = double(m.GetItem(r, c));
    return rows;
}

const Rows kNines3x3 = {{9, 9, 9}, {9, 9, 9}, {9, 9, 9}};

}  // namespace

TEST(NextToken, ReadsNumbersAndSaysWhatEndedThem)
{
    const std::string text = "  1.5\t-2e1,\r\n\r\n 3;x\n.";
    std::size_t pos = 0;
    Extended v = 0;
    EXPECT_EQ(NextToken(text, pos, v), tkCell);
    EXPECT_EQ(v, 1.5L);
    EXPECT_EQ(NextToken(text, pos, v), tkCell);
    EXPECT_EQ(v, -20.0L);
    EXPECT_EQ(NextToken(text, pos, v), tkCell);
    EXPECT_EQ(v, 3.0L);
    EXPECT_EQ(NextToken(text, pos, v), tkBad) << "x, though it ended at a line break";
    EXPECT_EQ(NextToken(text, pos, v), tkEnd);
    EXPECT_EQ(v, 0.0L) << "a lone point reads as 0";
    EXPECT_EQ(NextToken(text, pos, v), tkNone);
    pos = 0;
    EXPECT_EQ(NextToken(" ,;\t\r\n", pos, v), tkNone);
    pos = 0;
    EXPECT_EQ(NextToken("7\n", pos, v), tkLine);
}

TEST(PasteText, FillsTheTargetAreaFromTheTextsLines)
{
    struct Case {
        const char* name;
        std::string text;
        TGridRect selection;
        Rows before, after;
    };
    const Case cases[] = {
        {"tabs and CR LF from a single cell", "1\t2\r\n3\t4", {1, 1, 1, 1}, kNines3x3,
         {{1, 2, 9}, {3, 4, 9}, {9, 9, 9}}},
        {"a selected row cuts a longer line", "1,2,3", {1, 1, 2, 1}, kNines3x3, {{1, 2, 9}, {9, 9, 9}, {9, 9, 9}}},
        {"a bad token stops, what came before stays", "1 2\nx 3", {1, 1, 1, 1}, kNines3x3,
         {{1, 2, 9}, {9, 9, 9}, {9, 9, 9}}},
        {"runs of separators count as one", "1;;2", {1, 1, 1, 1}, kNines3x3, {{1, 2, 9}, {9, 9, 9}, {9, 9, 9}}},
        {"a comma is never a decimal point", "1,5", {1, 1, 1, 1}, kNines3x3, {{1, 5, 9}, {9, 9, 9}, {9, 9, 9}}},
        {"lines beyond a two-row selection are ignored", "1\n2\n3", {1, 1, 1, 2}, kNines3x3,
         {{1, 9, 9}, {2, 9, 9}, {9, 9, 9}}},
        {"the last cell takes only the first number", "1 2\n3", {3, 3, 3, 3}, kNines3x3,
         {{9, 9, 9}, {9, 9, 9}, {9, 9, 1}}},
        {"a non-number ending a skipped line skips the next line too", "1 2 x\n3 4\n5 6", {1, 1, 2, 3}, kNines3x3,
         {{1, 2, 9}, {5, 6, 9}, {9, 9, 9}}},
        {"a short line leaves the rest of its row", "1\n2 3 4", {2, 1, 2, 1}, kNines3x3,
         {{9, 1, 9}, {9, 2, 3}, {9, 9, 9}}},
        {"a line ending in a separator runs on into the next", "1 \n2", {1, 1, 1, 1}, kNines3x3,
         {{1, 2, 9}, {9, 9, 9}, {9, 9, 9}}},
        {"empty lines vanish", "1\n\n\n2", {1, 1, 1, 1}, {{9}, {9}, {9}}, {{1}, {2}, {9}}},
        {"a spreadsheet's trailing line break", "1\t2\r\n3\t4\r\n", {1, 1, 1, 1}, {{9, 9}, {9, 9}, {9, 9}},
         {{1, 2}, {3, 4}, {9, 9}}},
        {"a byte-order mark at the start is dropped", "\xEF\xBB\xBF" "1 2", {1, 1, 1, 1}, {{9, 9}}, {{1, 2}}},
        {"a non-breaking blank is not a separator", "\xC2\xA0" "1 2", {1, 1, 1, 1}, {{9, 9}}, {{9, 9}}},
        {"only separators", " \t\r\n", {1, 1, 1, 1}, {{9, 9}}, {{9, 9}}},
        {"empty text", "", {1, 1, 1, 1}, {{9, 9}}, {{9, 9}}},
        {"exponents and signs", "+1e2 -.5E-1", {1, 1, 1, 1}, {{9, 9}}, {{100, -0.05}}},
        {"four lines into two pairs", "1\n2\n3\n4", {1, 1, 1, 1}, {{9}, {9}}, {{1}, {2}}},
    };
    for (const Case& c : cases) {
        TMatrix m = matrixOf(c.before);
        PasteText(c.text, c.selection, m);
        EXPECT_EQ(rowsOf(m), c.after) << c.name;
        EXPECT_EQ(m.Rows(), int(c.before.size())) << c.name;
    }
}

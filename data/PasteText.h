#pragma once

#include <cstddef>
#include <string_view>

#include "data/xMatrix.h"
#include "engine/Extended.h"

// Numbers pasted into a matrix editor grid as text: lines of cells.

enum TToken {
    tkNone,  // only separators, or nothing, remained
    tkEnd,   // the number ended with the end of the text
    tkLine,  // the number ended at a line separator (carriage return, line feed)
    tkCell,  // the number ended at a column separator (tab, blank, comma, semicolon)
    tkBad,   // the characters collected do not form a number
};

// Reads the next number from text at pos, skipping separators first, and
// leaves pos on the separator that ended it. value is set for every token
// but tkNone and tkBad.
TToken NextToken(std::string_view text, std::size_t& pos, Extended& value);

// A rectangle of grid cells; grid column c and row r show matrix element
// (r - 1, c - 1).
struct TGridRect {
    int Left = 1, Top = 1, Right = 1, Bottom = 1;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

// Stores the numbers of text into matrix, text lines becoming matrix rows.
// A single selected cell takes everything to the matrix's last row and
// column; a larger selection takes itself. A line longer than the area is
// cut, a shorter one leaves the rest of its row, lines beyond the area are
// ignored, and a token that is not a number ends the paste (what was stored
// before it stays). Dimensions never change. A byte-order mark at the start
// of the text is not part of it.
void PasteText(std::string_view text, const TGridRect& selection, TMatrix& matrix);

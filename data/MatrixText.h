#pragma once

#include <vector>

#include "data/xMatrix.h"

// For each column of the matrix, the length in characters of its longest
// value written in the general format. With a fixed-pitch font that is all a
// grid needs to size the column.
std::vector<int> LongestColumnTexts(const TMatrix& matrix);

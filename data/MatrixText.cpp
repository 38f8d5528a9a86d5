#include "data/MatrixText.h"

#include <algorithm>

#include "data/NumberText.h"

std::vector<int> LongestColumnTexts(const TMatrix& matrix)
{
    std::vector<int> longest(std::size_t(std::max(matrix.Cols(), 0)), 0);
    for (int r = 0; r < matrix.Rows(); ++r)
        for (int c = 0; c < matrix.Cols(); ++c)
            longest[std::size_t(c)] =
                std::max(longest[std::size_t(c)], GeneralTextLength(matrix.GetItem(r, c)));
    return longest;
}

#include "data/xMatrix.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {

// Allocates rows x cols zeros into storage; false when that is impossible.
bool allocateZeros(int rows, int cols, std::vector<Extended>& storage)
{
    if (rows < 0 || cols < 0)
        return false;
    try {
        std::vector<Extended> items(std::size_t(rows) * std::size_t(cols), 0.0L);
        storage.swap(items);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

}  // namespace

TMatrix::TMatrix(int rows, int cols)
{
    SetSize(rows, cols);
}

bool TMatrix::SetSize(int rows, int cols)
{
    if (rows == rows_ && cols == cols_)
        return true;
    if (!allocateZeros(rows, cols, items_))
        return false;
    rows_ = rows;
    cols_ = cols;
    return true;
}

bool TMatrix::Resize(int rows, int cols)
{
    if (rows == rows_ && cols == cols_)
        return true;
    std::vector<Extended> items;
    if (!allocateZeros(rows, cols, items))
        return false;
    int keptRows = std::min(rows, rows_);
    int keptCols = std::min(cols, cols_);
    for (int r = 0; r < keptRows; ++r)
        for (int c = 0; c < keptCols; ++c)
            items[std::size_t(r) * std::size_t(cols) + std::size_t(c)] = GetItem(r, c);
    items_.swap(items);
    rows_ = rows;
    cols_ = cols;
    return true;
}

void TMatrix::Fill(Extended value)
{
    std::fill(items_.begin(), items_.end(), value);
}

void TMatrix::Scale(Extended factor)
{
    for (Extended& item : items_)
        item *= factor;
}

bool TMatrix::Assign(const TMatrix& source)
{
    if (&source == this)
        return true;
    if (!SetSize(source.rows_, source.cols_))
        return false;
    std::copy(source.items_.begin(), source.items_.end(), items_.begin());
    return true;
}

#pragma once

#include <cstddef>
#include <vector>

#include "engine/Extended.h"

// A dense Rows x Cols matrix of extended-precision reals, indices 0-based.
// Datasets live in two of them (rows are patterns); the training run keeps
// its error statistics in a third.
class TMatrix {
public:
    TMatrix() = default;
    TMatrix(int rows, int cols);  // every element 0

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }

    // No range checks: callers keep 0 <= row < Rows and 0 <= col < Cols.
    Extended GetItem(int row, int col) const { return items_[index(row, col)]; }
    void SetItem(int row, int col, Extended value) { items_[index(row, col)] = value; }

    // Same dimensions: nothing changes. Otherwise every element becomes 0.
    // When the storage cannot be had (a negative dimension, memory exhausted)
    // the matrix keeps its dimensions and values and false is returned.
    bool SetSize(int rows, int cols);

    // As SetSize, but the region the old and new dimensions share keeps its values.
    bool Resize(int rows, int cols);

    void Fill(Extended value);
    void Scale(Extended factor);

    // Takes the source's dimensions (when they differ) and every element;
    // false, with nothing changed, when the storage cannot be had.
    bool Assign(const TMatrix& source);

private:
    std::size_t index(int row, int col) const { return std::size_t(row) * std::size_t(cols_) + std::size_t(col); }

    int rows_ = 0;
    int cols_ = 0;
    std::vector<Extended> items_;  // row-major
};

#include "workbench/StringGridModel.h"

#include <algorithm>
#include <utility>

StringGridModel::StringGridModel(int fixedCols, int fixedRows, QObject* parent)
    : QAbstractTableModel(parent), fixedCols_(fixedCols), fixedRows_(fixedRows)
{
}

int StringGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int StringGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant StringGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !contains(index.column(), index.row()))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(index.column(), index.row());
    case Qt::BackgroundRole:
        return isFixed(index.column(), index.row()) ? QVariant(fixedBackground_) : QVariant();
    case Qt::ForegroundRole:
        return isFixed(index.column(), index.row()) ? QVariant(fixedForeground_) : QVariant();
    default:
        return {};
    }
}

bool StringGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !contains(index.column(), index.row()) ||
        (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    setText(index.column(), index.row(), value.toString());
    return true;
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (isFixed(index.column(), index.row()))
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void StringGridModel::setFixedBrushes(const QBrush& background, const QBrush& foreground)
{
    fixedBackground_ = background;
    fixedForeground_ = foreground;
}

QString StringGridModel::text(int col, int row) const
{
    if (!contains(col, row))
        return {};
    return texts_[static_cast<std::size_t>(row) * cols_ + col];
}

void StringGridModel::setText(int col, int row, const QString& text)
{
    if (!contains(col, row))
        return;
    at(col, row) = text;
    if (fillDepth_ > 0) {
        if (filledCols_.first > filledCols_.second) {
            filledCols_ = {col, col};
            filledRows_ = {row, row};
        }
        filledCols_ = {std::min(filledCols_.first, col), std::max(filledCols_.second, col)};
        filledRows_ = {std::min(filledRows_.first, row), std::max(filledRows_.second, row)};
        return;
    }
    const QModelIndex cell = index(row, col);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
}

void StringGridModel::setSize(int cols, int rows)
{
    cols = std::max(cols, 0);
    rows = std::max(rows, 0);
    if (cols < cols_) {
        beginRemoveColumns(QModelIndex(), cols, cols_ - 1);
        reshape(cols, rows_);
        endRemoveColumns();
    } else if (cols > cols_) {
        beginInsertColumns(QModelIndex(), cols_, cols - 1);
        reshape(cols, rows_);
        endInsertColumns();
    }
    if (rows < rows_) {
        beginRemoveRows(QModelIndex(), rows, rows_ - 1);
        reshape(cols_, rows);
        endRemoveRows();
    } else if (rows > rows_) {
        beginInsertRows(QModelIndex(), rows_, rows - 1);
        reshape(cols_, rows);
        endInsertRows();
    }
}

void StringGridModel::reshape(int cols, int rows)
{
    if (cols == cols_) {
        texts_.resize(static_cast<std::size_t>(cols) * rows);
    } else {
        std::vector<QString> texts(static_cast<std::size_t>(cols) * rows);
        const int keptCols = std::min(cols, cols_);
        const int keptRows = std::min(rows, rows_);
        for (int row = 0; row < keptRows; ++row)
            for (int col = 0; col < keptCols; ++col)
                texts[static_cast<std::size_t>(row) * cols + col] = std::move(at(col, row));
        texts_ = std::move(texts);
    }
    cols_ = cols;
    rows_ = rows;
}

void StringGridModel::beginFill() { ++fillDepth_; }

void StringGridModel::endFill()
{
    if (fillDepth_ == 0 || --fillDepth_ > 0)
        return;
    const auto [left, right] = std::exchange(filledCols_, kNothingFilled);
    const auto [top, bottom] = std::exchange(filledRows_, kNothingFilled);
    // The grid may have shrunk since the texts were set.
    const int lastCol = std::min(right, cols_ - 1);
    const int lastRow = std::min(bottom, rows_ - 1);
    if (left <= lastCol && top <= lastRow)
        emit dataChanged(index(top, left), index(lastRow, lastCol), {Qt::DisplayRole, Qt::EditRole});
}

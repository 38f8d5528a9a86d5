#include "data/StringGridModel.h"

#include <algorithm>
#include <utility>

StringGridModel::StringGridModel(int fixedCols, int fixedRows, QObject* parent)
    : QAbstractTableModel(parent), fixedCols_(fixedCols), fixedRows_(fixedRows)
{
}

int StringGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(rows_ - fixedRows_, 0);
}

int StringGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(cols_ - fixedCols_, 0);
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return text(index.column() + fixedCols_, index.row() + fixedRows_);
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return fixedRows_ > 0 ? text(section + fixedCols_, 0) : QString();
    return fixedCols_ > 0 ? text(0, section + fixedRows_) : QString();
}

bool StringGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    setText(index.column() + fixedCols_, index.row() + fixedRows_, value.toString());
    return true;
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
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
        if (isFixed(col, row)) {
            fixedFilled_ = true;
            return;
        }
        if (filledCols_.first > filledCols_.second) {
            filledCols_ = {col, col};
            filledRows_ = {row, row};
        }
        filledCols_ = {std::min(filledCols_.first, col), std::max(filledCols_.second, col)};
        filledRows_ = {std::min(filledRows_.first, row), std::max(filledRows_.second, row)};
        return;
    }
    if (isFixed(col, row)) {
        announceFixed(col, row);
        return;
    }
    const QModelIndex cell = index(row - fixedRows_, col - fixedCols_);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
}

void StringGridModel::announceFixed(int col, int row)
{
    if (row < fixedRows_ && col >= fixedCols_)
        emit headerDataChanged(Qt::Horizontal, col - fixedCols_, col - fixedCols_);
    if (col < fixedCols_ && row >= fixedRows_)
        emit headerDataChanged(Qt::Vertical, row - fixedRows_, row - fixedRows_);
}

void StringGridModel::setSize(int cols, int rows)
{
    cols = std::max(cols, 0);
    rows = std::max(rows, 0);
    const int dataCols = std::max(cols - fixedCols_, 0);
    const int dataRows = std::max(rows - fixedRows_, 0);
    if (dataCols < columnCount()) {
        beginRemoveColumns(QModelIndex(), dataCols, columnCount() - 1);
        reshape(cols, rows_);
        endRemoveColumns();
    } else if (dataCols > columnCount()) {
        beginInsertColumns(QModelIndex(), columnCount(), dataCols - 1);
        reshape(cols, rows_);
        endInsertColumns();
    } else {
        reshape(cols, rows_);
    }
    if (dataRows < rowCount()) {
        beginRemoveRows(QModelIndex(), dataRows, rowCount() - 1);
        reshape(cols_, rows);
        endRemoveRows();
    } else if (dataRows > rowCount()) {
        beginInsertRows(QModelIndex(), rowCount(), dataRows - 1);
        reshape(cols_, rows);
        endInsertRows();
    } else {
        reshape(cols_, rows);
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
        emit dataChanged(index(top - fixedRows_, left - fixedCols_), index(lastRow - fixedRows_, lastCol - fixedCols_),
                         {Qt::DisplayRole, Qt::EditRole});
    if (std::exchange(fixedFilled_, false)) {
        if (columnCount() > 0)
            emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        if (rowCount() > 0)
            emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    }
}

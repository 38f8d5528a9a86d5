#include "data/MatrixModel.h"

#include "data/NumberText.h"

TMatrixModel::TMatrixModel(TMatrix& matrix, QObject* parent)
    : QAbstractTableModel(parent), matrix_(matrix), rows_(matrix.Rows()), cols_(matrix.Cols())
{
}

int TMatrixModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int TMatrixModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant TMatrixModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return text(index.row(), index.column());
}

QVariant TMatrixModel::headerData(int section, Qt::Orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    return QString::number(section + 1);
}

bool TMatrixModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    setTyped(index.row(), index.column(), value.toString());
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags TMatrixModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QString TMatrixModel::text(int row, int col) const
{
    if (row < 0 || col < 0 || row >= rows_ || col >= cols_)
        return {};
    if (!typed_.empty()) {
        const auto typed = typed_.find(key(row, col));
        if (typed != typed_.end())
            return typed->second;
    }
    if (row >= matrix_.Rows() || col >= matrix_.Cols())
        return {};
    return QString::fromStdString(FormatGeneral(matrix_.GetItem(row, col)));
}

bool TMatrixModel::isNumber(int row, int col) const
{
    if (typed_.empty())
        return true;
    const auto typed = typed_.find(key(row, col));
    return typed == typed_.end() || IsNumberText(typed->second.toStdString());
}

void TMatrixModel::setTyped(int row, int col, const QString& text)
{
    if (row < 0 || col < 0 || row >= rows_ || col >= cols_ || row >= matrix_.Rows() || col >= matrix_.Cols())
        return;
    typed_[key(row, col)] = text;
    Extended value = 0;
    if (TryParseFloat(text.toStdString(), value))
        matrix_.SetItem(row, col, value);
}

bool TMatrixModel::typedText(int row, int col, QString& text) const
{
    const auto typed = typed_.find(key(row, col));
    if (typed == typed_.end())
        return false;
    text = typed->second;
    return true;
}

void TMatrixModel::restore(int row, int col, bool typed, const QString& text, Extended value)
{
    if (row < 0 || col < 0 || row >= rows_ || col >= cols_ || row >= matrix_.Rows() || col >= matrix_.Cols())
        return;
    if (typed)
        typed_[key(row, col)] = text;
    else
        typed_.erase(key(row, col));
    matrix_.SetItem(row, col, value);
    emit dataChanged(index(row, col), index(row, col), {Qt::DisplayRole, Qt::EditRole});
}

void TMatrixModel::rebuild()
{
    typed_.clear();
    const int rows = matrix_.Rows();
    const int cols = matrix_.Cols();
    // Rows and columns are announced as removed and inserted, not as a reset,
    // so the views keep the widths of the columns that remain.
    if (cols < cols_) {
        beginRemoveColumns(QModelIndex(), cols, cols_ - 1);
        cols_ = cols;
        endRemoveColumns();
    } else if (cols > cols_) {
        beginInsertColumns(QModelIndex(), cols_, cols - 1);
        cols_ = cols;
        endInsertColumns();
    }
    if (rows < rows_) {
        beginRemoveRows(QModelIndex(), rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    } else if (rows > rows_) {
        beginInsertRows(QModelIndex(), rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    }
    if (rows_ > 0 && cols_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1), {Qt::DisplayRole, Qt::EditRole});
}

#pragma once

#include <utility>
#include <vector>

#include <QAbstractTableModel>
#include <QString>

// The texts of a string grid, one QString per cell in row-major order, in
// grid coordinates: the first fixedCols columns and fixedRows rows are the
// fixed cells. Views see the other cells as the model's cells and the fixed
// ones as header data (horizontal: the fixed row; vertical: the fixed
// column), so a TGridView keeps them in view while it scrolls.
class StringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    StringGridModel(int fixedCols, int fixedRows, QObject* parent = nullptr);

    // The cells that are not fixed.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int fixedCols() const { return fixedCols_; }
    int fixedRows() const { return fixedRows_; }
    // The grid's size, fixed cells included.
    int gridCols() const { return cols_; }
    int gridRows() const { return rows_; }

    // Grid coordinates. Empty outside the grid; writes outside it are ignored.
    QString text(int col, int row) const;
    void setText(int col, int row, const QString& text);

    // Keeps the texts of the cells that remain; new cells are empty. Views
    // hear of it as inserted and removed columns and rows, so the widths of
    // the columns that remain are kept.
    void setSize(int cols, int rows);

    // Texts set between beginFill and endFill reach the views in a single
    // notification for the cells they span, at the end: a per-cell one makes
    // filling a large layer slow.
    void beginFill();
    void endFill();

private:
    bool contains(int col, int row) const { return col >= 0 && row >= 0 && col < cols_ && row < rows_; }
    bool isFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }
    QString& at(int col, int row) { return texts_[static_cast<std::size_t>(row) * cols_ + col]; }
    void reshape(int cols, int rows);
    void announceFixed(int col, int row);

    int fixedCols_;
    int fixedRows_;
    int cols_ = 0;
    int rows_ = 0;
    std::vector<QString> texts_;
    // The columns and rows spanned by the texts set in the current fill.
    static constexpr std::pair<int, int> kNothingFilled{1, 0};
    int fillDepth_ = 0;
    std::pair<int, int> filledCols_ = kNothingFilled;
    std::pair<int, int> filledRows_ = kNothingFilled;
    bool fixedFilled_ = false;
};

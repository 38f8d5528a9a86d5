#pragma once

#include <utility>
#include <vector>

#include <QAbstractTableModel>
#include <QBrush>
#include <QString>

// The texts of a string grid, one QString per cell in row-major order. The
// first fixedCols columns and fixedRows rows are read-only cells drawn in the
// brushes given by setFixedBrushes.
class StringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    StringGridModel(int fixedCols, int fixedRows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int fixedCols() const { return fixedCols_; }
    int fixedRows() const { return fixedRows_; }
    bool isFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }
    void setFixedBrushes(const QBrush& background, const QBrush& foreground);

    // Empty outside the grid; writes outside it are ignored.
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
    QString& at(int col, int row) { return texts_[static_cast<std::size_t>(row) * cols_ + col]; }
    void reshape(int cols, int rows);

    int fixedCols_;
    int fixedRows_;
    int cols_ = 0;
    int rows_ = 0;
    std::vector<QString> texts_;
    QBrush fixedBackground_;
    QBrush fixedForeground_;
    // The columns and rows spanned by the texts set in the current fill.
    static constexpr std::pair<int, int> kNothingFilled{1, 0};
    int fillDepth_ = 0;
    std::pair<int, int> filledCols_ = kNothingFilled;
    std::pair<int, int> filledRows_ = kNothingFilled;
};

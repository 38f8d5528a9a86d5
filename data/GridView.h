#pragma once

#include <QHeaderView>
#include <QPointer>
#include <QPoint>
#include <QRect>
#include <QStyledItemDelegate>
#include <QTableView>

class QPainter;

// A grid of cells whose fixed first row and first column (each optional)
// are the table's header views, so they stay in view while the data cells
// scroll. Grid coordinates count the fixed row and column: with both, grid
// cell (1, 1) is the model's cell (0, 0). Fixed cells take their texts from
// the model's header data; the corner cell from cornerText. Every cell can
// be painted by the owner: override drawFixedCell and drawDataCell.
class TGridView : public QTableView {
    Q_OBJECT
public:
    TGridView(QWidget* parent, int fixedCols, int fixedRows);

    int fixedCols() const { return fixedCols_; }
    int fixedRows() const { return fixedRows_; }
    int gridColumnCount() const;
    int gridRowCount() const;

    // Column 0 of a grid with a fixed column is the row header's width.
    int gridColumnWidth(int col) const;
    void setGridColumnWidth(int col, int width);
    // Width of the data columns that appear later.
    void setDefaultColumnWidth(int width);
    // Every row, the fixed one included.
    void setGridRowHeight(int height);
    int gridRowHeight() const { return rowHeight_; }

    // The grid cell at a point of the widget's own coordinates, (-1, -1)
    // outside every cell.
    QPoint cellAt(QPoint widgetPos) const;
    // The rectangle of a cell in the widget's own coordinates.
    QRect cellRect(int col, int row) const;
    QModelIndex modelIndex(int col, int row) const;

    // First data row (grid row) at the top of the view, and scrolling to one.
    int topRow() const;
    void setTopRow(int row);

    QString fixedText(int col, int row) const;
    QHeaderView* rowHeader() const { return verticalHeader(); }
    QHeaderView* columnHeader() const { return horizontalHeader(); }
    QWidget* cornerCell() const { return corner_; }

    // Paints the fixed cell (col, row) in rect of painter's device.
    virtual void drawFixedCell(QPainter& painter, const QRect& rect, int col, int row);
    // Paints a data cell; by default the toolkit's usual item.
    virtual void drawDataCell(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index);

    // Repaints the cells and the headers.
    void repaintAll();

    // The in-place editor while one is open, or nullptr.
    QWidget* openEditor() const;
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }

signals:
    // The first visible row or column changed.
    void topLeftChanged();
    // The in-place editor opened on grid cell (col, row).
    void editorOpened(int col, int row);
    // The text of the in-place editor changed by a keystroke.
    void cellTextEdited(int col, int row, const QString& text);

protected:
    void paintStandardDataCell(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TGridHeader;
    friend class TGridDelegate;
    void paintSection(QPainter& painter, const QRect& rect, Qt::Orientation orientation, int section);

    int fixedCols_;
    int fixedRows_;
    int rowHeight_ = 20;
    int firstColumnWidth_ = 64;
    QWidget* corner_ = nullptr;
    QPointer<QWidget> editor_;
    QStyledItemDelegate* standard_;
};

// The header views of a TGridView: sections painted by the grid's
// drawFixedCell, the row header as wide as grid column 0, the column header
// as high as a row.
class TGridHeader : public QHeaderView {
    Q_OBJECT
public:
    TGridHeader(Qt::Orientation orientation, TGridView* grid);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    TGridView* grid_;
};

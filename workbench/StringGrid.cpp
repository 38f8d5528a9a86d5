#include "workbench/StringGrid.h"

#include <algorithm>

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableWidget>

namespace {

const char* const kFixedCols = "corvalithFixedCols";
const char* const kFixedRows = "corvalithFixedRows";
constexpr int kRowHeight = 24;
constexpr int kGrip = 3;  // pixels either side of a column edge that start a resize

int fixedCols(const QTableWidget& grid) { return grid.property(kFixedCols).toInt(); }
int fixedRows(const QTableWidget& grid) { return grid.property(kFixedRows).toInt(); }

bool isFixed(const QTableWidget& grid, int col, int row) { return col < fixedCols(grid) || row < fixedRows(grid); }

QTableWidgetItem* newItem(const QTableWidget& grid, int col, int row)
{
    auto* item = new QTableWidgetItem;
    if (isFixed(grid, col, row)) {
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(grid.palette().button());
        item->setForeground(grid.palette().buttonText());
    }
    return item;
}

// Without header views, column edges are dragged inside the cells.
class ColumnSizer : public QObject {
public:
    explicit ColumnSizer(QTableWidget* grid) : QObject(grid), grid_(grid) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const int x = mouse->position().toPoint().x();
            if (dragged_ >= 0) {
                grid_->setColumnWidth(dragged_, std::max(8, x - grid_->columnViewportPosition(dragged_)));
                return true;
            }
            if (edgeAt(x) >= 0)
                grid_->viewport()->setCursor(Qt::SplitHCursor);
            else
                grid_->viewport()->unsetCursor();
            return false;
        }
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                return false;
            dragged_ = edgeAt(mouse->position().toPoint().x());
            return dragged_ >= 0;
        }
        case QEvent::MouseButtonRelease:
            if (dragged_ < 0)
                return false;
            dragged_ = -1;
            return true;
        case QEvent::Leave:
            if (dragged_ < 0)
                grid_->viewport()->unsetCursor();
            return false;
        default:
            return false;
        }
    }

private:
    // The column whose right edge is at x, or -1.
    int edgeAt(int x) const
    {
        for (int col = 0; col < grid_->columnCount(); ++col) {
            const int right = grid_->columnViewportPosition(col) + grid_->columnWidth(col);
            if (std::abs(x - right) <= kGrip)
                return col;
        }
        return -1;
    }

    QTableWidget* grid_;
    int dragged_ = -1;
};

}  // namespace

QTableWidget* NewStringGrid(QWidget* parent, int fixedColCount, int fixedRowCount)
{
    auto* grid = new QTableWidget(parent);
    grid->setProperty(kFixedCols, fixedColCount);
    grid->setProperty(kFixedRows, fixedRowCount);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid->viewport()->installEventFilter(new ColumnSizer(grid));
    // Fixed cells are never the current cell: the nearest ordinary one is.
    QObject::connect(grid, &QTableWidget::currentCellChanged, grid, [grid](int row, int col, int, int) {
        if (row < 0 || col < 0 || !isFixed(*grid, col, row))
            return;
        const int ordinaryRow = std::max(row, fixedRows(*grid));
        const int ordinaryCol = std::max(col, fixedCols(*grid));
        if (ordinaryRow < grid->rowCount() && ordinaryCol < grid->columnCount())
            grid->setCurrentCell(ordinaryRow, ordinaryCol);
    });
    return grid;
}

QString cellText(const QTableWidget& grid, int col, int row)
{
    const QTableWidgetItem* item = grid.item(row, col);
    return item ? item->text() : QString();
}

void setCellText(QTableWidget& grid, int col, int row, const QString& text)
{
    if (col < 0 || row < 0 || col >= grid.columnCount() || row >= grid.rowCount())
        return;
    QTableWidgetItem* item = grid.item(row, col);
    if (!item) {
        item = newItem(grid, col, row);
        grid.setItem(row, col, item);
    }
    item->setText(text);
}

void setGridSize(QTableWidget& grid, int cols, int rows)
{
    grid.setColumnCount(std::max(cols, 0));
    grid.setRowCount(std::max(rows, 0));
    // Only the fixed cells need items up front: an empty ordinary cell is
    // editable as it is, and a large layer would otherwise cost an item per weight.
    const auto ensureItem = [&grid](int col, int row) {
        if (!grid.item(row, col))
            grid.setItem(row, col, newItem(grid, col, row));
    };
    const int fc = std::min(fixedCols(grid), grid.columnCount());
    const int fr = std::min(fixedRows(grid), grid.rowCount());
    for (int row = 0; row < grid.rowCount(); ++row)
        for (int col = 0; col < fc; ++col)
            ensureItem(col, row);
    for (int row = 0; row < fr; ++row)
        for (int col = fc; col < grid.columnCount(); ++col)
            ensureItem(col, row);
}

void setColumnWidths(QTableWidget& grid, int firstWidth, int otherWidth)
{
    grid.horizontalHeader()->setDefaultSectionSize(otherWidth);
    for (int col = 1; col < grid.columnCount(); ++col)
        grid.setColumnWidth(col, otherWidth);
    if (grid.columnCount() > 0)
        grid.setColumnWidth(0, firstWidth);
}

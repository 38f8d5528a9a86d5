#include "workbench/StringGrid.h"

#include <algorithm>
#include <cstdlib>

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>

#include "workbench/StringGridModel.h"

namespace {

constexpr int kRowHeight = 24;
constexpr int kGrip = 3;  // pixels either side of a column edge that start a resize

// Without header views, column edges are dragged inside the cells.
class ColumnSizer : public QObject {
public:
    explicit ColumnSizer(TStringGrid* grid) : QObject(grid), grid_(grid) {}

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

    TStringGrid* grid_;
    int dragged_ = -1;
};

}  // namespace

TStringGrid::TStringGrid(QWidget* parent, int fixedCols, int fixedRows)
    : QTableView(parent), texts_(new StringGridModel(fixedCols, fixedRows, this))
{
    texts_->setFixedBrushes(palette().button(), palette().buttonText());
    setModel(texts_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    viewport()->installEventFilter(new ColumnSizer(this));
    // Fixed cells are never the current cell: the nearest ordinary one is.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (!current.isValid() || !texts_->isFixed(current.column(), current.row()))
            return;
        const int ordinaryRow = std::max(current.row(), texts_->fixedRows());
        const int ordinaryCol = std::max(current.column(), texts_->fixedCols());
        if (ordinaryRow < rowCount() && ordinaryCol < columnCount())
            setCurrentIndex(texts_->index(ordinaryRow, ordinaryCol));
    });
}

int TStringGrid::rowCount() const { return texts_->rowCount(); }

int TStringGrid::columnCount() const { return texts_->columnCount(); }

TStringGrid* NewStringGrid(QWidget* parent, int fixedCols, int fixedRows)
{
    return new TStringGrid(parent, fixedCols, fixedRows);
}

QString cellText(const TStringGrid& grid, int col, int row) { return grid.texts().text(col, row); }

void setCellText(TStringGrid& grid, int col, int row, const QString& text) { grid.texts().setText(col, row, text); }

void setGridSize(TStringGrid& grid, int cols, int rows) { grid.texts().setSize(cols, rows); }

void setColumnWidths(TStringGrid& grid, int firstWidth, int otherWidth)
{
    grid.horizontalHeader()->setDefaultSectionSize(otherWidth);
    for (int col = 1; col < grid.columnCount(); ++col)
        grid.setColumnWidth(col, otherWidth);
    if (grid.columnCount() > 0)
        grid.setColumnWidth(0, firstWidth);
}

GridFill::GridFill(TStringGrid& grid) : grid_(grid) { grid_.texts().beginFill(); }

GridFill::~GridFill() { grid_.texts().endFill(); }

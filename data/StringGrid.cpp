#include "data/StringGrid.h"

#include <algorithm>
#include <cstdlib>

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

#include "data/StringGridModel.h"

namespace {

constexpr int kRowHeight = 24;
constexpr int kGrip = 3;  // pixels either side of a column edge that start a resize

// Column edges are dragged wherever they are: in the cells, in the fixed
// row, or between the fixed column and the cells.
class ColumnSizer : public QObject {
public:
    explicit ColumnSizer(TStringGrid* grid) : QObject(grid), grid_(grid)
    {
        for (QWidget* part : {grid->viewport(), grid->rowHeader()->viewport(), grid->columnHeader()->viewport()})
            part->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* part = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::MouseMove: {
            const int x = gridX(part, static_cast<QMouseEvent*>(event));
            if (dragged_ >= 0) {
                grid_->setGridColumnWidth(dragged_, std::max(8, startWidth_ + x - startX_));
                return true;
            }
            if (edgeAt(x) >= 0)
                part->setCursor(Qt::SplitHCursor);
            else
                part->unsetCursor();
            return false;
        }
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                return false;
            startX_ = gridX(part, mouse);
            dragged_ = edgeAt(startX_);
            if (dragged_ >= 0)
                startWidth_ = grid_->gridColumnWidth(dragged_);
            return dragged_ >= 0;
        }
        case QEvent::MouseButtonRelease:
            if (dragged_ < 0)
                return false;
            dragged_ = -1;
            return true;
        case QEvent::Leave:
            if (dragged_ < 0)
                part->unsetCursor();
            return false;
        default:
            return false;
        }
    }

private:
    int gridX(QWidget* part, const QMouseEvent* mouse) const
    {
        return part->mapTo(grid_, mouse->position().toPoint()).x();
    }

    int left(int col) const { return grid_->cellRect(col, grid_->fixedRows()).left(); }

    // The column whose right edge is at x (grid coordinates), or -1.
    int edgeAt(int x) const
    {
        for (int col = 0; col < grid_->gridColumnCount(); ++col) {
            const int right = left(col) + grid_->gridColumnWidth(col);
            if (std::abs(x - right) <= kGrip)
                return col;
        }
        return -1;
    }

    TStringGrid* grid_;
    int dragged_ = -1;
    int startX_ = 0;  // where the drag began, in grid coordinates
    int startWidth_ = 0;
};

}  // namespace

TStringGrid::TStringGrid(QWidget* parent, int fixedCols, int fixedRows)
    : TGridView(parent, fixedCols, fixedRows), texts_(new StringGridModel(fixedCols, fixedRows, this))
{
    setModel(texts_);
    setGridRowHeight(kRowHeight);
    columnHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    new ColumnSizer(this);
}

int TStringGrid::rowCount() const { return texts_->gridRows(); }

int TStringGrid::columnCount() const { return texts_->gridCols(); }

void TStringGrid::showEvent(QShowEvent* event)
{
    TGridView::showEvent(event);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    if (selectionMode() == QAbstractItemView::NoSelection)
        selectionModel()->clearCurrentIndex();
    else if (texts_->rowCount() > 0 && texts_->columnCount() > 0)
        setCurrentIndex(texts_->index(0, 0));
}

TStringGrid* NewStringGrid(QWidget* parent, int fixedCols, int fixedRows)
{
    return new TStringGrid(parent, fixedCols, fixedRows);
}

QString cellText(const TStringGrid& grid, int col, int row) { return grid.texts().text(col, row); }

void setCellText(TStringGrid& grid, int col, int row, const QString& text) { grid.texts().setText(col, row, text); }

void setGridSize(TStringGrid& grid, int cols, int rows) { grid.texts().setSize(cols, rows); }

void setColumnWidths(TStringGrid& grid, int firstWidth, int otherWidth)
{
    grid.setDefaultColumnWidth(otherWidth);
    for (int col = grid.fixedCols(); col < grid.columnCount(); ++col)
        grid.setGridColumnWidth(col, otherWidth);
    if (grid.fixedCols() > 0 || grid.columnCount() > 0)
        grid.setGridColumnWidth(0, firstWidth);
}

GridFill::GridFill(TStringGrid& grid) : grid_(grid) { grid_.texts().beginFill(); }

GridFill::~GridFill() { grid_.texts().endFill(); }

#pragma once

#include <QString>

#include "data/GridView.h"

class StringGridModel;
class QWidget;

// A grid of texts whose fixed first row and column (fixedRows, fixedCols:
// 0 or 1) are headers that stay in view while the other cells scroll. Rows
// are 24 pixels high; a column is resized by dragging its right edge. The
// texts live in a StringGridModel, so a large grid costs a string per cell
// and no more. Each showing starts at the first ordinary cell.
class TStringGrid : public TGridView {
    Q_OBJECT
public:
    TStringGrid(QWidget* parent, int fixedCols, int fixedRows);

    // Grid coordinates, fixed cells included.
    int rowCount() const;
    int columnCount() const;
    StringGridModel& texts() const { return *texts_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    StringGridModel* texts_;
};

TStringGrid* NewStringGrid(QWidget* parent, int fixedCols, int fixedRows);

// The text of a cell; empty for a cell never written or outside the grid.
QString cellText(const TStringGrid& grid, int col, int row);
void setCellText(TStringGrid& grid, int col, int row, const QString& text);

// Keeps the texts of the cells that remain; new cells are empty.
void setGridSize(TStringGrid& grid, int cols, int rows);

// Column 0 gets firstWidth, every other column (also those added later)
// otherWidth.
void setColumnWidths(TStringGrid& grid, int firstWidth, int otherWidth);

// While a GridFill lives, texts set in its grid are shown in one repaint at
// its end rather than announced cell by cell.
class GridFill {
public:
    explicit GridFill(TStringGrid& grid);
    ~GridFill();
    GridFill(const GridFill&) = delete;
    GridFill& operator=(const GridFill&) = delete;

private:
    TStringGrid& grid_;
};

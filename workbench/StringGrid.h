#pragma once

#include <QString>

class QTableWidget;
class QWidget;

// Grids whose fixed rows and columns are ordinary cells (no header views):
// the first fixedCols columns and fixedRows rows are read-only and drawn in
// the button face colour. Rows are 24 pixels high; a column is resized by
// dragging its right edge.
QTableWidget* NewStringGrid(QWidget* parent, int fixedCols, int fixedRows);

// The text of a cell; empty for a cell never written or outside the grid.
QString cellText(const QTableWidget& grid, int col, int row);
void setCellText(QTableWidget& grid, int col, int row, const QString& text);

// Keeps the texts of the cells that remain; new cells are empty.
void setGridSize(QTableWidget& grid, int cols, int rows);

// Column 0 gets firstWidth, every other column (also those added later)
// otherWidth.
void setColumnWidths(QTableWidget& grid, int firstWidth, int otherWidth);

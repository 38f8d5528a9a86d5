#pragma once

#include <QString>

class QTableWidget;
class QWidget;

// Grids whose fixed rows and columns are ordinary cells (no header views):
// the first fixedCols columns and fixedRows rows are read-only and drawn in
// the button face colour. Every cell holds an item, so texts are never null.
QTableWidget* NewStringGrid(QWidget* parent, int fixedCols, int fixedRows);

QString cellText(const QTableWidget& grid, int col, int row);
void setCellText(QTableWidget& grid, int col, int row, const QString& text);

// Keeps the texts of the cells that remain; new cells are empty.
void setGridSize(QTableWidget& grid, int cols, int rows);

void setColumnWidths(QTableWidget& grid, int firstWidth, int otherWidth);

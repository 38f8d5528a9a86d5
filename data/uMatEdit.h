#pragma once

#include <QColor>
#include <QFrame>
#include <QPoint>

#include "data/GridView.h"
#include "data/PasteText.h"
#include "data/xMatrix.h"

class TMatrixModel;
class TMatEdit;

// The grid of a matrix editor: its cells, headers included, are painted by
// the editor that owns it.
class TMatGrid : public TGridView {
    Q_OBJECT
public:
    explicit TMatGrid(TMatEdit* owner);
    void drawFixedCell(QPainter& painter, const QRect& rect, int col, int row) override;
    void drawDataCell(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) override;

private:
    TMatEdit* owner_;
};

// A panel that shows one matrix in a spreadsheet-like grid and edits it:
// typing into cells, selecting by dragging over cells or headers, pasting
// numbers from the clipboard. Grid row 0 and column 0 are the headers;
// element (r, c) is grid cell (c + 1, r + 1). It owns its matrix; whoever
// changes the matrix directly calls UpdateGrid afterwards.
class TMatEdit : public QFrame {
    Q_OBJECT
public:
    explicit TMatEdit(QWidget* owner);
    ~TMatEdit() override;

    TMatrix& Matrix() { return matrix_; }
    TMatGrid* Grid;

    // Rebuilds every cell from the matrix; a matrix without rows becomes 1 x 1.
    void UpdateGrid();
    void Paste();
    bool CanPaste() const;

    // The selected rectangle of data cells, in grid coordinates.
    TGridRect Selection() const { return selection_; }
    // Selects as a press on cell (start) or a drag to it (continue) would;
    // headers select whole rows and columns.
    void SelectRange(QPoint cell, bool start);

    void GridDrawCell(QPainter& painter, const QRect& rect, int col, int row, bool fixed);
    void GridSetEditText(int col, int row, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void requestRepaint();
    void keepSelectionInGrid();
    bool isOnColumnEdge(QPoint headerPos) const;

    TMatrix matrix_{1, 1};
    TMatrixModel* model_;
    QPoint MouseCell{0, 0};
    QPoint Anchor{0, 0};
    bool Selecting = false;
    bool Repainting = false;
    bool repaintPending_ = false;
    bool shiftKey_ = false;  // a key that moves the current cell is pressed with Shift
    TGridRect selection_;
    // The cell being edited as it was when its editor opened, for Escape.
    struct EditStart {
        int row = -1, col = -1;
        bool typed = false;
        QString text;
        Extended value = 0;
    } editStart_;
};

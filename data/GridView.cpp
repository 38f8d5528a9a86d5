#include "data/GridView.h"

#include <algorithm>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

// Paints data cells through the grid and tells it of every keystroke in the
// in-place editor.
class TGridDelegate : public QStyledItemDelegate {
public:
    explicit TGridDelegate(TGridView* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        grid_->drawDataCell(*painter, option, index);
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        grid_->editor_ = editor;
        const int col = index.column() + grid_->fixedCols();
        const int row = index.row() + grid_->fixedRows();
        emit grid_->editorOpened(col, row);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            connect(line, &QLineEdit::textEdited, grid_,
                    [grid = grid_, col, row](const QString& text) { emit grid->cellTextEdited(col, row, text); });
        }
        return editor;
    }

private:
    TGridView* grid_;
};

TGridHeader::TGridHeader(Qt::Orientation orientation, TGridView* grid) : QHeaderView(orientation, grid), grid_(grid)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(1);
    if (orientation == Qt::Vertical) {
        setSectionResizeMode(QHeaderView::Fixed);
        setDefaultSectionSize(grid->gridRowHeight());
    } else {
        setSectionResizeMode(QHeaderView::Interactive);
    }
}

QSize TGridHeader::sizeHint() const
{
    // The toolkit's hint measures the sections' texts, which is slow on a
    // million rows and not the width the grid asks for.
    if (orientation() == Qt::Vertical)
        return {grid_->gridColumnWidth(0), 0};
    return {0, grid_->gridRowHeight()};
}

void TGridHeader::paintEvent(QPaintEvent* event)
{
    // Beyond the last section the grid's empty ground shows, as it does
    // below and right of the last data cell.
    QPainter painter(viewport());
    painter.fillRect(event->rect(), grid_->palette().base());
    const bool across = orientation() == Qt::Horizontal;
    const int extent = across ? viewport()->width() : viewport()->height();
    int first = visualIndexAt(across ? event->rect().left() : event->rect().top());
    int last = visualIndexAt(across ? event->rect().right() : event->rect().bottom());
    if (first < 0)
        first = 0;
    if (last < 0)
        last = count() - 1;
    for (int visual = first; visual <= last && visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (isSectionHidden(logical))
            continue;
        const int position = sectionViewportPosition(logical);
        if (position >= extent)
            break;
        const QRect rect = across ? QRect(position, 0, sectionSize(logical), viewport()->height())
                                  : QRect(0, position, viewport()->width(), sectionSize(logical));
        paintSection(&painter, rect, logical);
    }
}

void TGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    grid_->paintSection(*painter, rect, orientation(), logicalIndex);
    painter->restore();
}

TGridView::TGridView(QWidget* parent, int fixedCols, int fixedRows)
    : QTableView(parent), fixedCols_(std::clamp(fixedCols, 0, 1)), fixedRows_(std::clamp(fixedRows, 0, 1)),
      standard_(new QStyledItemDelegate(this))
{
    setHorizontalHeader(new TGridHeader(Qt::Horizontal, this));
    setVerticalHeader(new TGridHeader(Qt::Vertical, this));
    horizontalHeader()->setVisible(fixedRows_ > 0);
    verticalHeader()->setVisible(fixedCols_ > 0);
    setItemDelegate(new TGridDelegate(this));
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (corner_)
        corner_->installEventFilter(this);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &TGridView::topLeftChanged);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TGridView::topLeftChanged);
}

int TGridView::gridColumnCount() const { return fixedCols_ + (model() ? model()->columnCount() : 0); }

int TGridView::gridRowCount() const { return fixedRows_ + (model() ? model()->rowCount() : 0); }

int TGridView::gridColumnWidth(int col) const
{
    if (col < fixedCols_)
        return firstColumnWidth_;
    return columnWidth(col - fixedCols_);
}

void TGridView::setGridColumnWidth(int col, int width)
{
    if (col < fixedCols_) {
        if (width == firstColumnWidth_)
            return;
        firstColumnWidth_ = width;
        updateGeometries();
        verticalHeader()->viewport()->update();
        return;
    }
    setColumnWidth(col - fixedCols_, width);
}

void TGridView::setDefaultColumnWidth(int width) { horizontalHeader()->setDefaultSectionSize(width); }

void TGridView::setGridRowHeight(int height)
{
    rowHeight_ = height;
    verticalHeader()->setDefaultSectionSize(height);
    updateGeometries();
}

QPoint TGridView::cellAt(QPoint widgetPos) const
{
    const QRect cells = viewport()->geometry();
    int col = -1;
    int row = -1;
    if (fixedCols_ > 0 && widgetPos.x() >= verticalHeader()->geometry().left() && widgetPos.x() < cells.left())
        col = 0;
    else if (widgetPos.x() >= cells.left() && widgetPos.x() <= cells.right()) {
        const int c = columnAt(widgetPos.x() - cells.left());
        col = c < 0 ? -1 : c + fixedCols_;
    }
    if (fixedRows_ > 0 && widgetPos.y() >= horizontalHeader()->geometry().top() && widgetPos.y() < cells.top())
        row = 0;
    else if (widgetPos.y() >= cells.top() && widgetPos.y() <= cells.bottom()) {
        const int r = rowAt(widgetPos.y() - cells.top());
        row = r < 0 ? -1 : r + fixedRows_;
    }
    if (col < 0 || row < 0)
        return {-1, -1};
    return {col, row};
}

QRect TGridView::cellRect(int col, int row) const
{
    const QRect cells = viewport()->geometry();
    QRect r;
    if (col < fixedCols_) {
        r.setLeft(verticalHeader()->geometry().left());
        r.setWidth(firstColumnWidth_);
    } else {
        r.setLeft(cells.left() + columnViewportPosition(col - fixedCols_));
        r.setWidth(columnWidth(col - fixedCols_));
    }
    if (row < fixedRows_) {
        r.setTop(horizontalHeader()->geometry().top());
        r.setHeight(rowHeight_);
    } else {
        r.setTop(cells.top() + rowViewportPosition(row - fixedRows_));
        r.setHeight(rowHeight(row - fixedRows_));
    }
    return r;
}

QModelIndex TGridView::modelIndex(int col, int row) const
{
    if (!model())
        return {};
    return model()->index(row - fixedRows_, col - fixedCols_);
}

int TGridView::topRow() const
{
    const int r = rowAt(0);
    return (r < 0 ? 0 : r) + fixedRows_;
}

void TGridView::setTopRow(int row)
{
    const int target = std::max(row - fixedRows_, 0);
    if (verticalScrollMode() == QAbstractItemView::ScrollPerItem)
        verticalScrollBar()->setValue(target);
    else
        verticalScrollBar()->setValue(rowViewportPosition(target) + verticalOffset());
}

QString TGridView::fixedText(int col, int row) const
{
    if (!model() || (col < fixedCols_ && row < fixedRows_))
        return {};
    if (row < fixedRows_)
        return model()->headerData(col - fixedCols_, Qt::Horizontal).toString();
    return model()->headerData(row - fixedRows_, Qt::Vertical).toString();
}

void TGridView::drawFixedCell(QPainter& painter, const QRect& rect, int col, int row)
{
    painter.fillRect(rect, palette().button());
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setFont(font());
    painter.drawText(rect.adjusted(4, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, fixedText(col, row));
}

void TGridView::drawDataCell(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    paintStandardDataCell(painter, option, index);
}

void TGridView::paintStandardDataCell(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    standard_->paint(&painter, option, index);
}

void TGridView::repaintAll()
{
    viewport()->update();
    horizontalHeader()->viewport()->update();
    verticalHeader()->viewport()->update();
    if (corner_)
        corner_->update();
}

QWidget* TGridView::openEditor() const
{
    return state() == QAbstractItemView::EditingState ? editor_.data() : nullptr;
}

void TGridView::paintSection(QPainter& painter, const QRect& rect, Qt::Orientation orientation, int section)
{
    const int col = orientation == Qt::Horizontal ? section + fixedCols_ : 0;
    const int row = orientation == Qt::Vertical ? section + fixedRows_ : 0;
    drawFixedCell(painter, rect.adjusted(0, 0, -1, -1), col, row);
    // The lines between the cells, as the table draws them between data cells.
    const int gridHint = style()->styleHint(QStyle::SH_Table_GridLineColor, nullptr, this);
    painter.setPen(QColor::fromRgba(static_cast<QRgb>(gridHint)));
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
}

bool TGridView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == corner_ && event->type() == QEvent::Paint) {
        QPainter painter(corner_);
        paintSection(painter, corner_->rect(), Qt::Horizontal, -fixedCols_);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

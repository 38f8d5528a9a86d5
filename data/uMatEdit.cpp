#include "data/uMatEdit.h"

#include <algorithm>
#include <utility>

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "data/MatrixModel.h"
#include "data/MatrixText.h"
#include "data/xColors.h"
#include "platform/QtPlatform.h"

namespace {

int frameCount = 0;

constexpr int kDefaultColumnWidth = 50;
constexpr int kRowHeight = 20;
constexpr int kColumnEdgeGrip = 3;

TRGB rgbOf(const QColor& c) { return {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())}; }
QColor colourOf(TRGB c) { return QColor(c.R, c.G, c.B); }

QFont gridFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    return font;
}

void fillCell(QPainter& painter, const QRect& rect, TRGB top, TRGB bottom)
{
    if (top == bottom) {
        painter.fillRect(rect, colourOf(top));
        return;
    }
    for (int y = 0; y < rect.height(); ++y)
        painter.fillRect(QRect(rect.left(), rect.top() + y, rect.width(), 1),
                         colourOf(GradientColor(top, bottom, y, rect.height())));
}

}  // namespace

TMatGrid::TMatGrid(TMatEdit* owner) : TGridView(owner, 1, 1), owner_(owner) {}

void TMatGrid::drawFixedCell(QPainter& painter, const QRect& rect, int col, int row)
{
    owner_->GridDrawCell(painter, rect, col, row, true);
}

void TMatGrid::drawDataCell(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    owner_->GridDrawCell(painter, option.rect, index.column() + 1, index.row() + 1, false);
}

TMatEdit::TMatEdit(QWidget* owner) : QFrame(owner)
{
    setObjectName(QStringLiteral("MatEdit%1").arg(++frameCount));
    Grid = new TMatGrid(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setFont(gridFont());
    Grid->setGridRowHeight(kRowHeight);
    Grid->setDefaultColumnWidth(kDefaultColumnWidth);
    Grid->setSelectionMode(QAbstractItemView::NoSelection);
    Grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    Grid->setTabKeyNavigation(true);
    model_ = new TMatrixModel(matrix_, this);
    Grid->setModel(model_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Grid);

    connect(Grid, &TGridView::cellTextEdited, this, &TMatEdit::GridSetEditText);
    connect(Grid, &TGridView::editorOpened, this, [this](int col, int row) {
        editStart_ = {row - 1, col - 1, false, QString(), 0};
        if (row >= 1 && col >= 1 && row <= matrix_.Rows() && col <= matrix_.Cols()) {
            editStart_.typed = model_->typedText(row - 1, col - 1, editStart_.text);
            editStart_.value = matrix_.GetItem(row - 1, col - 1);
        }
    });
    connect(Grid->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::SubmitModelCache)
                    UpdateGrid();  // Enter in the cell editor
                else if (hint == QAbstractItemDelegate::RevertModelCache)  // Escape: as before the editing
                    model_->restore(editStart_.row, editStart_.col, editStart_.typed, editStart_.text,
                                    editStart_.value);
            });
    connect(Grid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (!current.isValid())
            return;
        const QPoint cell(current.column() + 1, current.row() + 1);
        if (!Selecting && std::exchange(shiftKey_, false)) {
            SelectRange(cell, false);  // Shift with the arrows stretches the selection from the anchor
        } else if (!Selecting) {
            selection_ = {cell.x(), cell.y(), cell.x(), cell.y()};
            Anchor = cell;
        }
        requestRepaint();
    });
    Grid->installEventFilter(this);
    for (QWidget* part : {Grid->viewport(), Grid->rowHeader()->viewport(), Grid->columnHeader()->viewport()})
        part->installEventFilter(this);
    if (Grid->cornerCell())
        Grid->cornerCell()->installEventFilter(this);
    UpdateGrid();
}

TMatEdit::~TMatEdit() = default;

void TMatEdit::UpdateGrid()
{
    if (matrix_.Rows() < 1)
        matrix_.SetSize(1, 1);
    model_->rebuild();
    const QFontMetrics metrics(Grid->font());
    const int advance = metrics.horizontalAdvance(QLatin1Char('0'));
    Grid->setGridColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("  %1").arg(matrix_.Rows())));
    const std::vector<int> longest = LongestColumnTexts(matrix_);
    for (int c = 1; c <= matrix_.Cols(); ++c) {
        const int w = std::max(kDefaultColumnWidth, (longest[std::size_t(c - 1)] + 2) * advance);
        if (Grid->gridColumnWidth(c) < w)
            Grid->setGridColumnWidth(c, w);
    }
    keepSelectionInGrid();
    Grid->repaintAll();
}

void TMatEdit::keepSelectionInGrid()
{
    const int lastCol = std::max(matrix_.Cols(), 1);
    const int lastRow = std::max(matrix_.Rows(), 1);
    selection_.Left = std::clamp(selection_.Left, 1, lastCol);
    selection_.Right = std::clamp(selection_.Right, 1, lastCol);
    selection_.Top = std::clamp(selection_.Top, 1, lastRow);
    selection_.Bottom = std::clamp(selection_.Bottom, 1, lastRow);
}

bool TMatEdit::CanPaste() const { return !platform::ClipboardText().isEmpty(); }

void TMatEdit::Paste()
{
    const QString text = platform::ClipboardText();
    if (text.isEmpty())
        return;
    PasteText(text.toStdString(), selection_, matrix_);
    UpdateGrid();
}

void TMatEdit::SelectRange(QPoint cell, bool start)
{
    const int lastCol = Grid->gridColumnCount() - 1;
    const int lastRow = Grid->gridRowCount() - 1;
    TGridRect r;
    if (start) {
        r = {cell.x(), cell.y(), cell.x(), cell.y()};
        Anchor = cell;
        if (cell.x() < 1) {
            r.Left = 1;
            r.Right = lastCol;
            Anchor = {r.Right, r.Bottom};
        }
        if (cell.y() < 1) {
            r.Top = 1;
            r.Bottom = lastRow;
            Anchor = {r.Right, r.Bottom};
        }
    } else {
        r.Left = std::max(std::min(cell.x(), Anchor.x()), 1);
        r.Right = std::max(std::max(cell.x(), Anchor.x()), 1);
        r.Top = std::max(std::min(cell.y(), Anchor.y()), 1);
        r.Bottom = std::max(std::max(cell.y(), Anchor.y()), 1);
    }
    if (r == selection_)
        return;
    selection_ = r;
    requestRepaint();
}

void TMatEdit::GridSetEditText(int col, int row, const QString& text)
{
    model_->setTyped(row - 1, col - 1, text);
    const bool number = model_->isNumber(row - 1, col - 1);
    if (QWidget* editor = Grid->openEditor()) {
        QPalette palette = editor->palette();
        palette.setColor(QPalette::Text, number ? Grid->palette().color(QPalette::Text) : QColor(255, 0, 0));
        editor->setPalette(palette);
    }
}

void TMatEdit::GridDrawCell(QPainter& painter, const QRect& rect, int col, int row, bool fixed)
{
    const TGridRect& s = selection_;
    const QString text = fixed ? Grid->fixedText(col, row) : model_->text(row - 1, col - 1);
    const bool number = fixed || model_->isNumber(row - 1, col - 1);
    const bool selected = !fixed && col >= s.Left && col <= s.Right && row >= s.Top && row <= s.Bottom;
    TRGB top, bottom;
    if (fixed && ((col >= s.Left && col <= s.Right) || (row >= s.Top && row <= s.Bottom))) {
        top = {255, 192, 64};
        bottom = ScaleColor(top, 0.7f, 1);
    } else if (fixed) {
        top = rgbOf(Grid->palette().color(QPalette::Button));
        bottom = ScaleColor(top, 0.75f, 1);
    } else if (selected && number) {
        top = {166, 202, 240};
        bottom = ScaleColor(top, 0.9f, 1);
    } else if (selected) {
        top = {255, 192, 255};
        bottom = ScaleColor(top, 0.8f, 1);
    } else if (!number) {
        top = bottom = {255, 192, 192};
    } else if (row % 2 == 1) {
        top = bottom = rgbOf(Grid->palette().color(QPalette::Base));
    } else {
        top = bottom = ScaleColor({255, 251, 240}, 0.9f, 1);
    }
    fillCell(painter, rect, top, bottom);

    painter.setFont(Grid->font());
    painter.setPen(Grid->palette().color(QPalette::WindowText));
    const QFontMetrics metrics(Grid->font());
    const int w = metrics.horizontalAdvance(text);
    const int h = metrics.height();
    const int right = rect.left() + rect.width();
    const int bottomEdge = rect.top() + rect.height();
    const QPoint origin(right - w - 4, (rect.top() + bottomEdge - h) / 2 + metrics.ascent());
    if (w < rect.width() - 4) {
        painter.drawText(origin, text);
        return;
    }
    painter.save();
    painter.setClipRect(rect.adjusted(1, 1, -1, -1));
    painter.drawText(origin, text);
    painter.restore();
}

void TMatEdit::requestRepaint()
{
    if (repaintPending_)
        return;
    repaintPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            repaintPending_ = false;
            if (Repainting)
                return;
            Repainting = true;
            Grid->repaintAll();
            Repainting = false;
        },
        Qt::QueuedConnection);
}

bool TMatEdit::isOnColumnEdge(QPoint headerPos) const
{
    const QHeaderView* header = Grid->columnHeader();
    const int section = header->logicalIndexAt(headerPos.x());
    if (section < 0)
        return false;
    const int left = header->sectionViewportPosition(section);
    const int right = left + header->sectionSize(section);
    return headerPos.x() >= right - kColumnEdgeGrip || (section > 0 && headerPos.x() <= left + kColumnEdgeGrip);
}

bool TMatEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Grid) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            switch (key->key()) {
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_Home:
            case Qt::Key_End:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                shiftKey_ = key->modifiers() & Qt::ShiftModifier;
                break;
            default:
                shiftKey_ = false;
            }
            if (key->matches(QKeySequence::Paste) && !Grid->isEditing()) {
                Paste();
                return true;
            }
            if (key->matches(QKeySequence::SelectAll) && !Grid->isEditing()) {
                SelectRange({0, 0}, true);
                return true;
            }
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                !Grid->isEditing()) {
                UpdateGrid();
                Grid->edit(Grid->currentIndex());
                return true;
            }
        }
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    const bool header = watched == Grid->columnHeader()->viewport() || watched == Grid->rowHeader()->viewport() ||
                        watched == Grid->cornerCell();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        const QPoint pos = mouse->position().toPoint();
        if (watched == Grid->columnHeader()->viewport() && isOnColumnEdge(pos))
            return false;  // the header resizes the column
        MouseCell = Grid->cellAt(widget->mapTo(Grid, pos));
        SelectRange(MouseCell, true);
        Selecting = true;
        if (header)
            Grid->setFocus();
        return header;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint cell = Grid->cellAt(widget->mapTo(Grid, mouse->position().toPoint()));
        if (cell != MouseCell) {
            MouseCell = cell;
            if (Selecting)
                SelectRange(MouseCell, false);
        }
        return header && Selecting;
    }
    case QEvent::MouseButtonRelease:
        Selecting = false;
        return false;
    default:
        return false;
    }
}

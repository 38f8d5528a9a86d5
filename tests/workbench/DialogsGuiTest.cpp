#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "engine/Neuran.h"
#include "workbench/AboutBox.h"
#include "workbench/AddLayerDialog.h"
#include "workbench/InputVectorDialog.h"
#include "workbench/LayerDialog.h"
#include "workbench/OutputsDialog.h"
#include "workbench/RadioGroup.h"
#include "data/StringGrid.h"

namespace {

QColor fieldGround(const QLineEdit& edit) { return edit.palette().color(QPalette::Base); }
QColor dialogGround(const QDialog& dialog) { return dialog.palette().color(QPalette::Window); }

void clickItem(TRadioGroup& group, int index)
{
    const auto buttons = group.findChildren<QRadioButton*>();
    ASSERT_GT(buttons.size(), index);
    QTest::mouseClick(buttons[index], Qt::LeftButton);
}

bool spinIsTypeable(QSpinBox& spin) { return !spin.findChild<QLineEdit*>()->isReadOnly(); }

void expectActivationItems(const QComboBox& combo)
{
    ASSERT_EQ(combo.count(), 7);
    for (int code = 0; code < 7; ++code)
        EXPECT_EQ(combo.itemText(code).toStdString(), ActivationNames[code]);
    EXPECT_EQ(combo.itemText(1), " Logarithmic Sigmoid");
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_FALSE(combo.isEditable());
}

// Nothing inside the dialog lies outside its parent or is squeezed below
// what its text needs.
void expectNothingClipped(QDialog& dialog)
{
    dialog.show();
    QCoreApplication::processEvents();
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&dialog) || child->isWindow())
            continue;
        const QWidget* parent = child->parentWidget();
        EXPECT_TRUE(parent->rect().contains(child->geometry()))
            << child->metaObject()->className() << " " << child->objectName().toStdString();
        if (qobject_cast<QLabel*>(child) || qobject_cast<QPushButton*>(child) || qobject_cast<QRadioButton*>(child)) {
            EXPECT_GE(child->width(), child->minimumSizeHint().width()) << child->objectName().toStdString();
            EXPECT_GE(child->height(), child->minimumSizeHint().height()) << child->objectName().toStdString();
        }
    }
    dialog.hide();
}

}  // namespace

TEST(AddLayerDialog, InitialState)
{
    TOKBottomDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), " Add layer of neurons");
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());  // fixed size
    EXPECT_GE(dlg.width(), 399);
    EXPECT_GE(dlg.height(), 292);
    EXPECT_EQ(dlg.SpinEdit1->minimum(), 1);
    EXPECT_EQ(dlg.SpinEdit1->maximum(), 1024);
    EXPECT_EQ(dlg.SpinEdit1->value(), 1);
    EXPECT_FALSE(spinIsTypeable(*dlg.SpinEdit1));
    expectActivationItems(*dlg.ComboBox1);
    EXPECT_EQ(dlg.RadioGroup1->title(), "Weights");
    EXPECT_EQ(dlg.RadioGroup2->title(), "Bias");
    EXPECT_EQ(dlg.RadioGroup1->findChildren<QRadioButton*>()[1]->text(), " Zeros");
    EXPECT_EQ(dlg.RadioGroup1->itemIndex(), 0);
    EXPECT_EQ(dlg.RadioGroup2->itemIndex(), 1);
    EXPECT_EQ(dlg.GroupBox1->title(), "Random range");
    EXPECT_TRUE(dlg.GroupBox1->isEnabled());
    EXPECT_FALSE(dlg.GroupBox2->isEnabled());
    EXPECT_TRUE(dlg.Edit1->isEnabled());
    EXPECT_FALSE(dlg.Edit3->isEnabled());
    EXPECT_FALSE(dlg.Edit4->isEnabled());
    EXPECT_EQ(fieldGround(*dlg.Edit3), dialogGround(dlg));
    EXPECT_NE(fieldGround(*dlg.Edit1), dialogGround(dlg));
    EXPECT_EQ(dlg.Edit1->text(), "-1");
    EXPECT_EQ(dlg.Edit2->text(), "1");
    EXPECT_EQ(dlg.Edit3->text(), "-1");
    EXPECT_EQ(dlg.Edit4->text(), "1");
    EXPECT_TRUE(dlg.OKBtn->isDefault());
    EXPECT_EQ(dlg.OKBtn->text(), "OK");
    EXPECT_EQ(dlg.CancelBtn->text(), "Cancel");
    EXPECT_EQ(dlg.findChild<QSpinBox*>("SpinEdit1"), dlg.SpinEdit1);
    EXPECT_EQ(dlg.findChild<QLineEdit*>("Edit4"), dlg.Edit4);
    expectNothingClipped(dlg);

    dlg.show();
    const QRect screen = dlg.screen()->availableGeometry();
    EXPECT_LE((dlg.frameGeometry().center() - screen.center()).manhattanLength(), 2);
}

TEST(AddLayerDialog, RadioClicksEnableAndDisableTheRanges)
{
    TOKBottomDlg dlg;
    dlg.show();
    const QColor normal = fieldGround(*dlg.Edit1);

    clickItem(*dlg.RadioGroup1, 1);
    EXPECT_EQ(dlg.RadioGroup1->itemIndex(), 1);
    EXPECT_FALSE(dlg.GroupBox1->isEnabled());
    EXPECT_FALSE(dlg.Edit1->isEnabled());
    EXPECT_FALSE(dlg.Edit2->isEnabled());
    EXPECT_EQ(fieldGround(*dlg.Edit2), dialogGround(dlg));

    clickItem(*dlg.RadioGroup2, 0);
    EXPECT_TRUE(dlg.GroupBox2->isEnabled());
    EXPECT_TRUE(dlg.Edit3->isEnabled());
    EXPECT_TRUE(dlg.Edit4->isEnabled());
    EXPECT_EQ(fieldGround(*dlg.Edit4), normal);

    clickItem(*dlg.RadioGroup1, 0);
    EXPECT_TRUE(dlg.GroupBox1->isEnabled());
    EXPECT_TRUE(dlg.Edit1->isEnabled());
    EXPECT_EQ(fieldGround(*dlg.Edit1), normal);

    // The command sets the choice by index; the rules follow it.
    dlg.RadioGroup2->setItemIndex(1);
    EXPECT_FALSE(dlg.Edit3->isEnabled());
    // A disabled field keeps its text.
    EXPECT_EQ(dlg.Edit3->text(), "-1");
}

TEST(AddLayerDialog, EnterAcceptsAndEscapeCancels)
{
    TOKBottomDlg dlg;
    dlg.show();
    dlg.SpinEdit1->setFocus();
    QTest::keyClick(dlg.SpinEdit1, Qt::Key_Up);
    EXPECT_EQ(dlg.SpinEdit1->value(), 2);
    QTest::keyClick(dlg.SpinEdit1, Qt::Key_5);  // no typing
    EXPECT_EQ(dlg.SpinEdit1->value(), 2);
    QTest::keyClick(dlg.SpinEdit1, Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());

    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.SpinEdit1->value(), 2);  // the controls keep their values
}

TEST(LayerDialog, InitialState)
{
    TOKBottomDlg2 dlg;
    EXPECT_EQ(dlg.windowTitle(), " Layer");
    EXPECT_EQ(dlg.size(), QSize(618, 385));
    EXPECT_NE(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_EQ(dlg.SpinEdit1->maximum(), 1024);
    EXPECT_EQ(dlg.SpinEdit1->value(), 1);
    EXPECT_FALSE(spinIsTypeable(*dlg.SpinEdit1));
    expectActivationItems(*dlg.ComboBox1);
    EXPECT_EQ(dlg.StringGrid1->columnCount(), 2);
    EXPECT_EQ(dlg.StringGrid1->rowCount(), 2);
    EXPECT_EQ(dlg.StringGrid2->columnCount(), 2);
    EXPECT_EQ(dlg.StringGrid2->rowCount(), 1);
    EXPECT_EQ(dlg.StringGrid1->gridColumnWidth(0), 32);
    EXPECT_EQ(dlg.StringGrid1->gridColumnWidth(1), 128);
    EXPECT_EQ(dlg.StringGrid2->gridColumnWidth(0), 32);
    EXPECT_EQ(dlg.StringGrid2->gridColumnWidth(1), 128);
    EXPECT_TRUE(dlg.OKBtn->isDefault());
    expectNothingClipped(dlg);
}

TEST(LayerDialog, SpinEdit1ChangeAddsNumberedZeroRowsAndDropsOthers)
{
    TOKBottomDlg2 dlg;
    // As the command fills it for 2 neurons of 3 inputs.
    dlg.SpinEdit1->setValue(2);
    setGridSize(*dlg.StringGrid1, 4, 3);
    setGridSize(*dlg.StringGrid2, 2, 2);
    for (int n = 1; n <= 2; ++n) {
        setCellText(*dlg.StringGrid1, 0, n, QString::number(n));
        setCellText(*dlg.StringGrid2, 0, n - 1, QString::number(n));
        setCellText(*dlg.StringGrid2, 1, n - 1, "b" + QString::number(n));
        for (int k = 1; k <= 3; ++k) {
            setCellText(*dlg.StringGrid1, k, 0, QString::number(k));
            setCellText(*dlg.StringGrid1, k, n, QString("w%1%2").arg(n).arg(k));
        }
    }

    dlg.SpinEdit1->setValue(4);
    ASSERT_EQ(dlg.StringGrid1->rowCount(), 5);
    ASSERT_EQ(dlg.StringGrid2->rowCount(), 4);
    EXPECT_EQ(dlg.StringGrid1->columnCount(), 4);
    EXPECT_EQ(cellText(*dlg.StringGrid1, 3, 2), "w23");  // kept
    EXPECT_EQ(cellText(*dlg.StringGrid2, 1, 1), "b2");
    for (int m = 3; m <= 4; ++m) {
        EXPECT_EQ(cellText(*dlg.StringGrid1, 0, m), QString::number(m));
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(cellText(*dlg.StringGrid1, k, m), "0");
        EXPECT_EQ(cellText(*dlg.StringGrid2, 0, m - 1), QString::number(m));
        EXPECT_EQ(cellText(*dlg.StringGrid2, 1, m - 1), "0");
    }

    dlg.SpinEdit1->setValue(1);
    EXPECT_EQ(dlg.StringGrid1->rowCount(), 2);
    EXPECT_EQ(dlg.StringGrid2->rowCount(), 1);
    EXPECT_EQ(cellText(*dlg.StringGrid1, 2, 1), "w12");

    dlg.SpinEdit1->setValue(2);  // a row that came back is new
    EXPECT_EQ(cellText(*dlg.StringGrid1, 2, 2), "0");
    EXPECT_EQ(cellText(*dlg.StringGrid2, 1, 1), "0");
}

TEST(StringGrid, FixedCellsAreHeadersAndTheRestEditableCells)
{
    TOKBottomDlg2 dlg;
    TStringGrid& grid = *dlg.StringGrid1;
    setGridSize(grid, 3, 3);
    setCellText(grid, 2, 0, "k2");
    setCellText(grid, 0, 2, "m2");
    EXPECT_FALSE(grid.columnHeader()->isHidden());
    EXPECT_FALSE(grid.rowHeader()->isHidden());
    EXPECT_TRUE(dlg.StringGrid2->columnHeader()->isHidden()) << "the bias grid has no fixed row";
    EXPECT_EQ(grid.model()->rowCount(), 2);
    EXPECT_EQ(grid.model()->columnCount(), 2);
    EXPECT_EQ(grid.fixedText(2, 0), "k2");
    EXPECT_EQ(grid.fixedText(0, 2), "m2");
    EXPECT_TRUE(grid.model()->flags(grid.modelIndex(1, 1)) & Qt::ItemIsEditable);
    EXPECT_EQ(cellText(grid, 1, 1), "");
    EXPECT_EQ(cellText(grid, 7, 7), "");
    setCellText(grid, 7, 7, "x");  // outside: ignored
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_TRUE(grid.model()->setData(grid.modelIndex(2, 2), "typed"));
    EXPECT_EQ(cellText(grid, 2, 2), "typed");
    QSignalSpy headers(grid.model(), &QAbstractItemModel::headerDataChanged);
    setCellText(grid, 1, 0, "k1");
    ASSERT_EQ(headers.count(), 1);
    EXPECT_EQ(headers[0][0].value<Qt::Orientation>(), Qt::Horizontal);
}

TEST(StringGrid, ResizingKeepsTextsAndColumnWidths)
{
    TOKBottomDlg2 dlg;
    TStringGrid& grid = *dlg.StringGrid1;
    setGridSize(grid, 3, 3);
    setCellText(grid, 1, 1, "a");
    setCellText(grid, 2, 2, "b");
    grid.setGridColumnWidth(1, 77);
    grid.setCurrentIndex(grid.modelIndex(2, 1));
    setGridSize(grid, 5, 4);
    EXPECT_EQ(grid.currentIndex(), grid.modelIndex(2, 1));
    EXPECT_EQ(cellText(grid, 1, 1), "a");
    EXPECT_EQ(cellText(grid, 2, 2), "b");
    EXPECT_EQ(cellText(grid, 4, 3), "");
    EXPECT_EQ(grid.gridColumnWidth(0), 32);
    EXPECT_EQ(grid.gridColumnWidth(1), 77);
    EXPECT_EQ(grid.gridColumnWidth(4), 128);
    EXPECT_EQ(grid.rowHeight(2), 24);
    EXPECT_EQ(grid.gridRowHeight(), 24);
    setGridSize(grid, 2, 4);
    EXPECT_EQ(cellText(grid, 1, 1), "a");
    EXPECT_EQ(cellText(grid, 2, 2), "");
    setGridSize(grid, 3, 4);
    EXPECT_EQ(cellText(grid, 2, 2), "") << "a column that came back is new";
}

TEST(StringGrid, AFillIsAnnouncedOnceAtItsEnd)
{
    TOKBottomDlg2 dlg;
    TStringGrid& grid = *dlg.StringGrid1;
    setGridSize(grid, 4, 4);
    QSignalSpy changes(grid.model(), &QAbstractItemModel::dataChanged);
    {
        const GridFill fill(grid);
        for (int row = 1; row < 3; ++row)
            for (int col = 2; col < 4; ++col)
                setCellText(grid, col, row, QString::number(col * 10 + row));
        EXPECT_EQ(cellText(grid, 3, 2), "32");
        EXPECT_EQ(changes.count(), 0);
    }
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes[0][0].value<QModelIndex>(), grid.modelIndex(2, 1));
    EXPECT_EQ(changes[0][1].value<QModelIndex>(), grid.modelIndex(3, 2));
    {
        const GridFill fill(grid);  // cells set and then cut off
        setCellText(grid, 3, 3, "y");
        setGridSize(grid, 3, 3);
    }
    EXPECT_EQ(changes.count(), 1);
    setCellText(grid, 1, 1, "x");
    EXPECT_EQ(changes.count(), 2);
}

namespace {

// Drags the right edge of grid column col by dx, pressing just left of it in
// whichever part of the grid lies there.
void dragColumnEdge(TStringGrid& grid, int col, int dx)
{
    const QRect cell = grid.cellRect(col, grid.fixedRows());
    const QPoint edge(cell.left() + grid.gridColumnWidth(col) - 1, cell.center().y());
    QWidget* part = col < grid.fixedCols() ? grid.rowHeader()->viewport() : grid.viewport();
    const QPoint from = part->mapFrom(&grid, edge);
    const QPoint to = from + QPoint(dx, 0);
    QTest::mousePress(part, Qt::LeftButton, {}, from);
    QMouseEvent drag(QEvent::MouseMove, QPointF(to), part->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(part, &drag);
    QTest::mouseRelease(part, Qt::LeftButton, {}, to);
}

}  // namespace

TEST(StringGrid, ColumnsAreResizedByDraggingTheirEdge)
{
    TOKBottomDlg1 dlg;
    dlg.show();
    TStringGrid& grid = *dlg.StringGrid1;
    dragColumnEdge(grid, 0, 40);
    EXPECT_EQ(grid.gridColumnWidth(0), 72) << "the fixed column";
    EXPECT_EQ(grid.gridColumnWidth(1), 192);
    dragColumnEdge(grid, 1, -92);
    EXPECT_EQ(grid.gridColumnWidth(1), 100);
}

TEST(InputVectorDialog, InitialStateAndSpinEdit1ChangeAddsRows)
{
    TOKBottomDlg1 dlg;
    EXPECT_EQ(dlg.windowTitle(), " Inputs vector");
    EXPECT_EQ(dlg.size(), QSize(263, 351));
    EXPECT_EQ(dlg.SpinEdit1->maximum(), 2048);
    EXPECT_EQ(dlg.SpinEdit1->value(), 1);
    EXPECT_FALSE(spinIsTypeable(*dlg.SpinEdit1));
    TStringGrid& grid = *dlg.StringGrid1;
    EXPECT_EQ(grid.columnCount(), 2);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.gridColumnWidth(0), 32);
    EXPECT_EQ(grid.gridColumnWidth(1), 192);
    EXPECT_EQ(grid.font().family(), "Liberation Mono");
    EXPECT_EQ(grid.font().pointSize(), 10);
    EXPECT_EQ(grid.model()->columnCount(), 1) << "the numbers are the fixed column";
    expectNothingClipped(dlg);

    setCellText(grid, 0, 0, " 1");
    setCellText(grid, 1, 0, "0.5");
    dlg.SpinEdit1->setValue(3);
    ASSERT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(cellText(grid, 1, 0), "0.5");
    EXPECT_EQ(cellText(grid, 0, 1), " 2");
    EXPECT_EQ(cellText(grid, 1, 1), "0");
    EXPECT_EQ(cellText(grid, 0, 2), " 3");
    EXPECT_EQ(cellText(grid, 1, 2), "0");
    dlg.SpinEdit1->setValue(1);
    EXPECT_EQ(grid.rowCount(), 1);
}

TEST(OutputsDialog, ReadOnlyGridAndCloseButton)
{
    TOKBottomDlg3 dlg;
    EXPECT_EQ(dlg.windowTitle(), " Outputs");
    EXPECT_EQ(dlg.size(), QSize(249, 315));
    TStringGrid& grid = *dlg.StringGrid1;
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid.gridColumnWidth(0), 32);
    EXPECT_EQ(grid.gridColumnWidth(1), 168);
    setGridSize(grid, 2, 3);
    EXPECT_EQ(grid.rowHeight(2), 24);
    EXPECT_EQ(grid.font().family(), "Liberation Mono");
    EXPECT_EQ(dlg.OKBtn->text(), "Close");
    EXPECT_TRUE(dlg.OKBtn->isDefault());
    expectNothingClipped(dlg);
    dlg.show();
    QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(AboutBox, NameVersionAndClose)
{
    TAboutBox box;
    QStringList texts;
    for (const QLabel* label : box.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains("Corvalith"));
    EXPECT_TRUE(texts.contains("Version 1.6"));
    EXPECT_TRUE(texts.contains("(Perceptrons)"));
    const QLabel* icon = box.findChild<QLabel*>("ProgramIcon");
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_EQ(box.OKBtn->text(), "Close");
    expectNothingClipped(box);
    box.show();
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
}

TEST(LayerDialog, FixedRowAndColumnStayInViewAndEachShowingStartsAtTheFirstCell)
{
    TOKBottomDlg2 dlg;
    // A layer of 64 neurons with 64 inputs, as the command fills it.
    dlg.SpinEdit1->setValue(64);
    setGridSize(*dlg.StringGrid1, 65, 65);
    for (int k = 1; k <= 64; ++k)
        setCellText(*dlg.StringGrid1, k, 0, QString::number(k));
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    TStringGrid& grid = *dlg.StringGrid1;
    EXPECT_EQ(grid.currentIndex(), grid.modelIndex(1, 1));

    grid.scrollTo(grid.modelIndex(64, 64));
    grid.setCurrentIndex(grid.modelIndex(64, 64));
    ASSERT_GT(grid.horizontalScrollBar()->value(), 0);
    ASSERT_GT(grid.verticalScrollBar()->value(), 0);
    // The headers are still there, beside the cells now in view, and they
    // number what is in view.
    EXPECT_TRUE(grid.rowHeader()->isVisible());
    EXPECT_TRUE(grid.columnHeader()->isVisible());
    EXPECT_EQ(grid.rowHeader()->geometry().left(), grid.viewport()->geometry().left() - grid.gridColumnWidth(0));
    EXPECT_EQ(grid.columnHeader()->geometry().bottom() + 1, grid.viewport()->geometry().top());
    const QRect corner = grid.cellRect(64, 64);
    ASSERT_TRUE(grid.viewport()->geometry().contains(corner.center()));
    EXPECT_EQ(grid.cellAt(QPoint(grid.cellRect(0, 0).center().x(), corner.center().y())), QPoint(0, 64));
    EXPECT_EQ(grid.cellAt(QPoint(corner.center().x(), grid.cellRect(0, 0).center().y())), QPoint(64, 0));
    EXPECT_EQ(grid.fixedText(64, 0), "64");
    EXPECT_EQ(grid.fixedText(0, 64), "64");
    const QImage image = grid.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(grid.cellRect(0, 64).left() + 2, corner.top() + 2)),
              grid.palette().color(QPalette::Button))
        << "a row header, not a cell, at the left edge";

    dlg.hide();
    dlg.show();
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(grid.verticalScrollBar()->value(), 0);
    EXPECT_EQ(grid.currentIndex(), grid.modelIndex(1, 1));
}

TEST(LayerDialog, BiasGridShowsAScrollBarOnlyWhenRowsDoNotFit)
{
    TOKBottomDlg2 dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_FALSE(dlg.StringGrid2->verticalScrollBar()->isVisible());
    dlg.SpinEdit1->setValue(64);
    QTRY_VERIFY(dlg.StringGrid2->verticalScrollBar()->isVisible());
    const int width = dlg.StringGrid2->width();
    dlg.SpinEdit1->setValue(1);
    QTRY_VERIFY(!dlg.StringGrid2->verticalScrollBar()->isVisible());
    EXPECT_EQ(dlg.StringGrid2->width(), width) << "the grid keeps its width";
}

TEST(OutputsDialog, NoCellLooksChosen)
{
    TOKBottomDlg3 dlg;
    setGridSize(*dlg.StringGrid1, 2, 3);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_FALSE(dlg.StringGrid1->currentIndex().isValid());
    EXPECT_FALSE(dlg.StringGrid1->selectionModel()->hasSelection());
    EXPECT_EQ(dlg.StringGrid1->focusPolicy(), Qt::NoFocus);
}

#include <filesystem>
#include <fstream>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include "data/CountEdit.h"
#include "data/TextImportDialog.h"
#include "data/uData.h"
#include "data/uMatEdit.h"
#include "files/DatasetFile.h"
#include "files/TestFiles.h"
#include "workbench/ScriptedPrompts.h"

namespace {

QString cell(TMatEdit& editor, int col, int row)
{
    return editor.Grid->model()->data(editor.Grid->modelIndex(col, row)).toString();
}

// Presses and releases the left button on grid cell (col, row), headers included.
void clickCell(TMatEdit& editor, int col, int row, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    TGridView& grid = *editor.Grid;
    const QPoint centre = grid.cellRect(col, row).center();
    QWidget* target = grid.viewport();
    if (col == 0 && row == 0)
        target = grid.cornerCell();
    else if (row == 0)
        target = grid.columnHeader()->viewport();
    else if (col == 0)
        target = grid.rowHeader()->viewport();
    const QPoint local = target->mapFrom(&grid, centre);
    QTest::mouseClick(target, Qt::LeftButton, keys, local);
}

void setClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void fill(TMatrix& m, int base)
{
    for (int r = 0; r < m.Rows(); ++r)
        for (int c = 0; c < m.Cols(); ++c)
            m.SetItem(r, c, base + 10 * r + c);
}

class DataEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    // Types text into spin edit as a person would, then leaves it.
    void typeCount(TCountEdit& edit, const QString& text, bool leave = true)
    {
        edit.selectAll();
        QTest::keyClicks(&edit, text);
        if (leave)
            emit edit.editingFinished();
    }

    void setSizes(int pairs, int inputs, int outputs)
    {
        form.PatEdit->setCount(pairs);
        form.InEdit->setCount(inputs);
        form.OutEdit->setCount(outputs);
    }

    ScriptedPrompts script;
    TDataForm form;
    TempDir dir;
};

}  // namespace

TEST_F(DataEditor, StartsWithOnePairOfZerosAndTheFixedLayout)
{
    EXPECT_EQ(form.windowTitle(), "Training data editor");
    EXPECT_EQ(form.size(), QSize(743, 520));
    EXPECT_EQ(form.InputMatrix().Rows(), 1);
    EXPECT_EQ(form.OutputMatrix().Cols(), 1);
    for (TCountEdit* edit : {form.PatEdit, form.InEdit, form.OutEdit})
        EXPECT_EQ(edit->value(), 1);
    TMatEdit& in = *form.InputEditor;
    EXPECT_TRUE(in.objectName().startsWith("MatEdit"));
    EXPECT_NE(in.objectName(), form.OutputEditor->objectName());
    EXPECT_EQ(in.Grid->gridColumnCount(), 2);
    EXPECT_EQ(in.Grid->gridRowCount(), 2);
    EXPECT_EQ(in.Grid->fixedText(1, 0), "1");
    EXPECT_EQ(in.Grid->fixedText(0, 1), "1");
    EXPECT_EQ(in.Grid->fixedText(0, 0), "");
    EXPECT_EQ(cell(in, 1, 1), "0");
    EXPECT_EQ(in.Grid->gridColumnWidth(1), 50);
    EXPECT_EQ(in.Grid->gridRowHeight(), 20);
    EXPECT_EQ(QFontInfo(in.Grid->font()).pixelSize(), 13);
    EXPECT_TRUE(QFontInfo(in.Grid->font()).fixedPitch());

    EXPECT_EQ(form.RPanel->width(), 367);
    EXPECT_EQ(form.Splitter1->handleWidth(), 6);
    EXPECT_EQ(form.findChild<QLabel*>("Panel4")->text(), "Inputs");
    EXPECT_EQ(form.findChild<QLabel*>("Panel5")->text(), "Outputs");
    EXPECT_EQ(form.findChild<QLabel*>("Label3")->text(), "Pairs number");

    struct Expected {
        QAction* action;
        const char* button;
        QString hint;
        QKeySequence shortcut;
    };
    const Expected actions[] = {
        {form.actNew, "ToolButton9", " New dataset ", {}},
        {form.actOpen, "ToolButton1", " Load dataset from file ", QKeySequence("Ctrl+O")},
        {form.actSave, "ToolButton2", " Save dataset to file ", QKeySequence("Ctrl+S")},
        {form.actPasteIn, "ToolButton6", " Paste inputs from the clipboard ", {}},
        {form.actPasteOut, "ToolButton7", " Paste outputs from the clipboard ", {}},
        {form.actImportText, "ImportTextButton", " Import dataset from a text file ", {}},
        {form.actExportText, "ExportTextButton", " Export dataset to a text file ", {}},
        {form.actClose, "ToolButton3", " Close data editor  ", {}},
    };
    for (const Expected& e : actions) {
        EXPECT_EQ(e.action->toolTip(), e.hint);
        EXPECT_EQ(e.action->shortcut(), e.shortcut);
        EXPECT_EQ(form.ToolBar1->widgetForAction(e.action)->objectName(), e.button);
        EXPECT_FALSE(e.action->icon().isNull());
    }
}

TEST_F(DataEditor, TypingStoresNumbersOnlyAndEnterRebuilds)
{
    TMatEdit& in = *form.InputEditor;
    form.InputMatrix().SetItem(0, 0, 7);
    in.UpdateGrid();
    in.Grid->setFocus();
    in.Grid->setCurrentIndex(in.Grid->modelIndex(1, 1));
    QTest::keyClicks(in.Grid, "1");  // opens the cell editor with the key typed
    QWidget* editor = in.Grid->openEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "e");
    EXPECT_EQ(editor->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(form.InputMatrix().GetItem(0, 0), 1.0L) << "1 was a number on the way";

    QTest::keyClicks(editor, "x");
    EXPECT_EQ(form.InputMatrix().GetItem(0, 0), 1.0L);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, "3");
    EXPECT_EQ(form.InputMatrix().GetItem(0, 0), 1000.0L);
    EXPECT_NE(editor->palette().color(QPalette::Text), QColor(255, 0, 0));
    QTest::keyClicks(editor, "x");
    EXPECT_EQ(cell(in, 1, 1), "1e3x") << "kept until the next rebuild";
    EXPECT_EQ(form.InputMatrix().GetItem(0, 0), 1000.0L);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(cell(in, 1, 1), QString("1000"));
    EXPECT_FALSE(in.Grid->isEditing());

    // Enter in the grid rebuilds it too, and opens the cell editor.
    form.InputMatrix().SetItem(0, 0, 0.5);
    QTest::keyClick(in.Grid, Qt::Key_Return);
    EXPECT_EQ(cell(in, 1, 1), "0.5");
    ASSERT_TRUE(in.Grid->isEditing());

    // Escape gives back the value and the text from before the editing.
    editor = in.Grid->openEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "7");
    EXPECT_EQ(form.InputMatrix().GetItem(0, 0), 7.0L) << "the editor opens with its text selected";
    QTest::keyClick(editor, Qt::Key_Escape);
    QTRY_VERIFY(!in.Grid->isEditing());
    EXPECT_EQ(form.InputMatrix().GetItem(0, 0), 0.5L);
    EXPECT_EQ(cell(in, 1, 1), "0.5");
}

TEST_F(DataEditor, HeadersSelectWholeRowsAndColumns)
{
    setSizes(4, 3, 1);
    TMatEdit& in = *form.InputEditor;
    clickCell(in, 2, 0);
    EXPECT_EQ(in.Selection(), (TGridRect{2, 1, 2, 4}));
    clickCell(in, 0, 3);
    EXPECT_EQ(in.Selection(), (TGridRect{1, 3, 3, 3}));
    clickCell(in, 0, 0);
    EXPECT_EQ(in.Selection(), (TGridRect{1, 1, 3, 4}));
    clickCell(in, 2, 2);
    EXPECT_EQ(in.Selection(), (TGridRect{2, 2, 2, 2}));
    EXPECT_EQ(in.Grid->currentIndex(), in.Grid->modelIndex(2, 2));

    // A drag from one row header to another selects the rows between.
    TGridView& grid = *in.Grid;
    QWidget* rows = grid.rowHeader()->viewport();
    QTest::mousePress(rows, Qt::LeftButton, {}, rows->mapFrom(&grid, grid.cellRect(0, 2).center()));
    QMouseEvent move(QEvent::MouseMove, rows->mapFrom(&grid, grid.cellRect(0, 4).center()), rows->mapToGlobal(QPoint()),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(rows, &move);
    QTest::mouseRelease(rows, Qt::LeftButton, {}, rows->mapFrom(&grid, grid.cellRect(0, 4).center()));
    EXPECT_EQ(in.Selection(), (TGridRect{1, 2, 3, 4}));
    EXPECT_EQ(grid.currentIndex(), grid.modelIndex(2, 2)) << "a header never becomes the current cell";

    // The keyboard: arrows move a single cell, Shift stretches from it, Ctrl+A takes all.
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(in.Selection(), (TGridRect{2, 3, 2, 3}));
    QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(in.Selection(), (TGridRect{2, 3, 3, 4}));
    QTest::keyClick(&grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(in.Selection(), (TGridRect{1, 1, 3, 4}));
}

TEST_F(DataEditor, PasteFillsFromTheSelectedCellOrTheSelection)
{
    setSizes(3, 3, 1);
    setClipboard("1\t2\r\n3\t4\r\n");
    form.actPasteIn->trigger();
    EXPECT_EQ(form.InputMatrix().GetItem(0, 1), 2.0L);
    EXPECT_EQ(form.InputMatrix().GetItem(1, 0), 3.0L);
    EXPECT_EQ(form.InputMatrix().GetItem(2, 2), 0.0L);
    EXPECT_EQ(cell(*form.InputEditor, 2, 2), "4") << "shown at once";

    clickCell(*form.InputEditor, 2, 0);  // column 2, every row
    setClipboard("7 8\n9\n10\n11");
    form.actPasteIn->trigger();
    EXPECT_EQ(form.InputMatrix().GetItem(0, 1), 7.0L);
    EXPECT_EQ(form.InputMatrix().GetItem(0, 2), 0.0L) << "the line is cut at the selection";
    EXPECT_EQ(form.InputMatrix().GetItem(2, 1), 10.0L);
    EXPECT_EQ(form.InputMatrix().Rows(), 3) << "a paste never adds pairs";

    setClipboard("5\n6");
    form.actPasteOut->trigger();
    EXPECT_EQ(form.OutputMatrix().GetItem(0, 0), 5.0L);
    EXPECT_EQ(form.OutputMatrix().GetItem(1, 0), 6.0L);

    // Ctrl+V in a grid pastes into that grid.
    clickCell(*form.OutputEditor, 1, 3);
    setClipboard("8");
    QTest::keyClick(form.OutputEditor->Grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.OutputMatrix().GetItem(2, 0), 8.0L);
    EXPECT_EQ(form.InputMatrix().GetItem(2, 0), 0.0L);
}

TEST_F(DataEditor, PasteButtonsFollowTheClipboard)
{
    QGuiApplication::clipboard()->clear();
    QTRY_VERIFY(!form.actPasteIn->isEnabled());
    EXPECT_FALSE(form.actPasteOut->isEnabled());
    auto* picture = new QMimeData;
    picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(picture);
    QTRY_VERIFY(!form.actPasteIn->isEnabled());
    setClipboard("1");
    QTRY_VERIFY(form.actPasteIn->isEnabled());
    EXPECT_TRUE(form.actPasteOut->isEnabled());
}

TEST_F(DataEditor, CountsResizeTheMatricesAndKeepValues)
{
    setSizes(3, 3, 2);
    fill(form.InputMatrix(), 100);
    fill(form.OutputMatrix(), 200);
    typeCount(*form.PatEdit, "2");
    EXPECT_EQ(form.InputMatrix().Rows(), 2);
    EXPECT_EQ(form.OutputMatrix().Rows(), 2);
    EXPECT_EQ(form.InputEditor->Grid->gridRowCount(), 3);
    typeCount(*form.PatEdit, "3");
    EXPECT_EQ(form.InputMatrix().GetItem(1, 2), 112.0L);
    EXPECT_EQ(form.InputMatrix().GetItem(2, 0), 0.0L);
    EXPECT_EQ(form.OutputMatrix().GetItem(2, 1), 0.0L);

    typeCount(*form.InEdit, "2");
    EXPECT_EQ(form.InputMatrix().Cols(), 2);
    EXPECT_EQ(form.InputMatrix().GetItem(1, 1), 111.0L);
    EXPECT_EQ(form.OutputMatrix().Cols(), 2) << "the outputs are untouched";
    EXPECT_EQ(form.OutputMatrix().GetItem(1, 1), 211.0L);

    typeCount(*form.PatEdit, "1200", false);
    EXPECT_EQ(form.InputMatrix().Rows(), 1200) << "applied while typing";
    emit form.PatEdit->editingFinished();
    EXPECT_EQ(form.PatEdit->value(), 1000);
    EXPECT_EQ(form.InputMatrix().Rows(), 1000);
    EXPECT_EQ(form.OutputMatrix().Rows(), 1000);

    form.OutEdit->stepBy(-5);
    EXPECT_EQ(form.OutEdit->value(), 1);
    form.OutEdit->setCount(999);
    form.OutEdit->stepBy(5);
    EXPECT_EQ(form.OutEdit->value(), 1000);
}

TEST_F(DataEditor, NewClearsValuesAndKeepsDimensions)
{
    setSizes(5, 2, 1);
    fill(form.InputMatrix(), 1);
    form.InputEditor->UpdateGrid();
    form.actNew->trigger();
    EXPECT_EQ(form.InputMatrix().Rows(), 5);
    EXPECT_EQ(form.InputMatrix().GetItem(4, 1), 0.0L);
    EXPECT_EQ(cell(*form.InputEditor, 2, 5), "0");
    EXPECT_EQ(form.PatEdit->value(), 5);
}

TEST_F(DataEditor, OpenTakesTheFilesCountsAndValues)
{
    TMatrix in(1200, 2), out(1200, 1);
    fill(in, 1);
    fill(out, 5);
    std::string error;
    ASSERT_TRUE(WriteDatasetFile(dir.file("big.nld"), in, out, error)) << error;

    script.answerFile(QString::fromStdString(dir.file("big.nld")));
    form.actOpen->trigger();
    ASSERT_EQ(script.filesShown.size(), 1u);
    EXPECT_EQ(script.filesShown[0].filter, "Learning Data Files (*.nld);;All Files (*)");
    EXPECT_EQ(script.filesShown[0].fileName, QCoreApplication::applicationDirPath()) << "first in the program's folder";
    EXPECT_EQ(form.PatEdit->value(), 1000);
    EXPECT_EQ(form.InEdit->value(), 2);
    EXPECT_EQ(form.InputMatrix().Rows(), 1200);
    EXPECT_EQ(form.OutputMatrix().Rows(), 1200);
    EXPECT_EQ(form.InputMatrix().GetItem(1199, 1), 1.0L + 11990 + 1);
    EXPECT_EQ(form.InputEditor->Grid->gridRowCount(), 1201);

    // Not a dataset: nothing changes, nothing is said; the folder is remembered.
    std::ofstream(dir.file("notes.txt")) << "just some text, longer than a header of thirty-two bytes";
    script.answerFile(QString::fromStdString(dir.file("notes.txt")));
    form.actOpen->trigger();
    EXPECT_EQ(script.filesShown[1].fileName, QString::fromStdString(dir.path().string()));
    EXPECT_EQ(form.InputMatrix().Rows(), 1200);
    EXPECT_TRUE(script.messages.empty());

    // A file that cannot be read: the reader's message, and nothing changes.
    script.answerFile(QString::fromStdString(dir.file("missing.nld")));
    form.actOpen->trigger();
    ASSERT_EQ(script.errors().size(), 1u);
    EXPECT_TRUE(script.errors()[0].startsWith("Cannot open file \"")) << script.errors()[0].toStdString();
    EXPECT_EQ(form.InputMatrix().Rows(), 1200);

    // Saving writes every pair, beyond what the spin edit shows.
    script.answerFile(QString::fromStdString(dir.file("again.nld")));
    form.actSave->trigger();
    TMatrix readIn, readOut;
    ASSERT_EQ(ReadDatasetFile(dir.file("again.nld"), readIn, readOut, error), DatasetReadResult::Loaded);
    EXPECT_EQ(readIn.Rows(), 1200);
}

TEST_F(DataEditor, SaveWritesTheDatasetAndAsksBeforeReplacing)
{
    setSizes(2, 3, 1);
    fill(form.InputMatrix(), 1);
    script.answerFile(QString::fromStdString(dir.file("two.nld")));
    form.actSave->trigger();
    ASSERT_EQ(script.filesShown.size(), 1u);
    EXPECT_EQ(script.filesShown[0].defaultExt, "nld");
    EXPECT_TRUE(script.filesShown[0].confirmOverwrite);
    EXPECT_EQ(std::filesystem::file_size(dir.file("two.nld")), 96u);

    script.answerFile(QString());  // cancelled
    form.actSave->trigger();
    EXPECT_TRUE(script.messages.empty());

    script.answerFile(QString::fromStdString(dir.file("no-such-folder/x.nld")));
    form.actSave->trigger();
    ASSERT_EQ(script.errors().size(), 1u);
    EXPECT_TRUE(script.errors()[0].startsWith("Cannot create file \"")) << script.errors()[0].toStdString();
}

TEST_F(DataEditor, TheGridsScrollTogether)
{
    setSizes(200, 2, 1);
    QScrollBar* outBar = form.OutputEditor->Grid->verticalScrollBar();
    outBar->setValue(outBar->value() + 10);
    EXPECT_EQ(form.InputEditor->Grid->topRow(), 11);
    EXPECT_EQ(form.OutputEditor->Grid->topRow(), 11);
    form.InputEditor->Grid->setTopRow(50);
    EXPECT_EQ(form.OutputEditor->Grid->topRow(), 50);
    form.InputEditor->Grid->horizontalScrollBar()->setValue(5);
    EXPECT_EQ(form.OutputEditor->Grid->horizontalScrollBar()->value(), 0) << "sideways each on its own";

    // Inputs wide enough for a horizontal scroll bar show fewer rows; their
    // last row is still reachable, with the outputs as far down as they go.
    form.InEdit->setCount(20);
    QScrollBar* inBar = form.InputEditor->Grid->verticalScrollBar();
    QTRY_VERIFY(form.InputEditor->Grid->horizontalScrollBar()->isVisible());
    ASSERT_GT(inBar->maximum(), outBar->maximum());
    inBar->setValue(inBar->maximum());
    EXPECT_EQ(inBar->value(), inBar->maximum());
    EXPECT_EQ(outBar->value(), outBar->maximum());
}

TEST_F(DataEditor, CellsAreShadedBySelectionValidityAndRow)
{
    setSizes(4, 3, 1);
    TMatEdit& in = *form.InputEditor;
    clickCell(in, 2, 3);
    in.GridSetEditText(1, 2, "abc");
    in.Grid->repaintAll();
    QTest::qWait(0);
    const QImage image = in.Grid->grab().toImage();
    const auto at = [&](int col, int row, int dy) {
        const QRect r = in.Grid->cellRect(col, row);
        return QColor(image.pixel(r.left() + 2, r.top() + dy));
    };
    EXPECT_EQ(at(1, 1, 1), in.Grid->palette().color(QPalette::Base)) << "odd rows";
    EXPECT_EQ(at(1, 4, 1), QColor(255, 238, 190)) << "even rows";
    EXPECT_EQ(at(1, 2, 1), QColor(255, 192, 192)) << "not a number";
    EXPECT_EQ(at(2, 3, 0), QColor(166, 202, 240)) << "selected: gradient from the top";
    EXPECT_LT(at(2, 3, 17).red(), 166) << "towards (131, 181, 234)";
    EXPECT_EQ(at(2, 0, 0), QColor(255, 192, 64)) << "header of the selected column";
    EXPECT_EQ(at(0, 3, 0), QColor(255, 192, 64)) << "header of the selected row";
    EXPECT_EQ(at(1, 0, 0), in.Grid->palette().color(QPalette::Button));
}

TEST_F(DataEditor, TooWideTextIsRightAlignedAndCutAtTheCellsLeftEdge)
{
    TMatEdit& in = *form.InputEditor;
    form.InputMatrix().SetItem(0, 0, 123456789012345.0L);
    in.UpdateGrid();
    EXPECT_GT(in.Grid->gridColumnWidth(1), 50) << "the rebuild widens the column";
    in.Grid->setGridColumnWidth(1, 50);  // narrowed by hand
    const QRect cell = in.Grid->cellRect(1, 1);
    const auto inkIn = [&](const QImage& image, int fromX, int toX) {
        for (int x = fromX; x <= toX; ++x)
            for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y)
                if (QColor(image.pixel(x, y)).lightness() < 80)  // text, not a shade
                    return true;
        return false;
    };
    QImage image = in.Grid->grab().toImage();
    EXPECT_TRUE(inkIn(image, cell.left() + 1, cell.left() + 3)) << "the beginning runs to the left edge";
    EXPECT_FALSE(inkIn(image, cell.right() - 3, cell.right())) << "the end stays 4 pixels from the right";
    EXPECT_TRUE(inkIn(image, cell.right() - 12, cell.right() - 4));
    const QRect header = in.Grid->cellRect(0, 1);
    EXPECT_FALSE(inkIn(image, header.right() - 3, header.right())) << "nothing spills into the row header";
}

TEST_F(DataEditor, TextButtonsFollowThePasteButtons)
{
    const QList<QAction*> order = form.ToolBar1->actions();
    const qsizetype paste = order.indexOf(form.actPasteOut);
    EXPECT_EQ(order.indexOf(form.actImportText), paste + 1);
    EXPECT_EQ(order.indexOf(form.actExportText), paste + 2);
    EXPECT_EQ(form.actImportText->text(), "Import text ...");
    EXPECT_EQ(form.actExportText->text(), "Export text ...");
}

TEST_F(DataEditor, ImportTextTakesTheFileAsTheDialogDividesIt)
{
    setSizes(1, 1, 2);
    std::string text = "t;a;b;c;d\r\n";
    for (int p = 0; p < 1200; ++p)
        text += std::to_string(p) + ";1;2;3;" + std::to_string(p) + ".5\r\n";
    std::ofstream(dir.file("logger.csv"), std::ios::binary) << text;

    // The dialog proposes the editor's output count; the person takes one.
    int proposed = 0;
    script.answerFile(QString::fromStdString(dir.file("logger.csv")));
    script.answerDialog([&](QDialog& d) {
        auto& dialog = dynamic_cast<TTextImportDialog&>(d);
        proposed = dialog.OutputColumns();
        dialog.OutputsEdit->setValue(1);
        return true;
    });
    form.actImportText->trigger();
    ASSERT_EQ(script.filesShown.size(), 1u);
    EXPECT_EQ(script.filesShown[0].filter, "Text Files (*.csv *.txt *.tsv *.dat);;All Files (*)");
    EXPECT_EQ(script.filesShown[0].fileName, QCoreApplication::applicationDirPath());
    EXPECT_EQ(proposed, 2);
    EXPECT_EQ(form.InputMatrix().Rows(), 1200);
    EXPECT_EQ(form.InputMatrix().Cols(), 4);
    EXPECT_EQ(form.OutputMatrix().Rows(), 1200);
    EXPECT_EQ(form.OutputMatrix().Cols(), 1);
    EXPECT_EQ(form.InputMatrix().GetItem(1199, 0), 1199.0L);
    EXPECT_EQ(form.OutputMatrix().GetItem(1199, 0), 1199.5L);
    EXPECT_EQ(form.PatEdit->value(), 1000);
    EXPECT_EQ(form.InEdit->value(), 4);
    EXPECT_EQ(form.OutEdit->value(), 1);
    EXPECT_EQ(form.InputEditor->Grid->gridRowCount(), 1201);
    EXPECT_TRUE(script.messages.empty());

    // Cancelled in the dialog: nothing changes.
    script.answerFile(QString::fromStdString(dir.file("logger.csv")));
    script.answerDialog([](QDialog&) { return false; });
    form.actImportText->trigger();
    EXPECT_EQ(script.filesShown[1].fileName, QString::fromStdString(dir.path().string())) << "the folder is remembered";
    EXPECT_EQ(form.InputMatrix().Cols(), 4);

    // A file that cannot be imported: its line and column, no dialog, nothing changed.
    std::ofstream(dir.file("broken.csv"), std::ios::binary) << "1,2\n3,4\n5,x\n";
    script.answerFile(QString::fromStdString(dir.file("broken.csv")));
    form.actImportText->trigger();
    ASSERT_EQ(script.errors().size(), 1u);
    EXPECT_TRUE(script.errors()[0].startsWith("Cannot import file \"")) << script.errors()[0].toStdString();
    EXPECT_TRUE(script.errors()[0].endsWith("Line 3, column 2: 'x' is not a valid floating point value"))
        << script.errors()[0].toStdString();
    EXPECT_EQ(script.dialogsShown.size(), 2u);
    EXPECT_EQ(form.InputMatrix().Rows(), 1200);
    EXPECT_EQ(form.InputMatrix().Cols(), 4);
}

TEST_F(DataEditor, ExportTextWritesEveryPairAndAsksBeforeReplacing)
{
    setSizes(2, 2, 1);
    fill(form.InputMatrix(), 1);
    form.OutputMatrix().SetItem(1, 0, 0.1L);
    script.answerFile(QString::fromStdString(dir.file("data.csv")));
    form.actExportText->trigger();
    ASSERT_EQ(script.filesShown.size(), 1u);
    EXPECT_EQ(script.filesShown[0].filter, "CSV Files (*.csv);;All Files (*)");
    EXPECT_EQ(script.filesShown[0].defaultExt, "csv");
    EXPECT_TRUE(script.filesShown[0].confirmOverwrite);
    std::ifstream in(dir.file("data.csv"), std::ios::binary);
    std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, "x1,x2,y1\n1,2,0\n11,12,0.1\n");

    script.answerFile(QString::fromStdString(dir.file("no-such-folder/x.csv")));
    form.actExportText->trigger();
    ASSERT_EQ(script.errors().size(), 1u);
    EXPECT_TRUE(script.errors()[0].startsWith("Cannot create file \"")) << script.errors()[0].toStdString();
}

#include "data/TextImportDialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>

#include "files/TextDataset.h"

namespace {

TTextTable parsed(const std::string& text)
{
    TTextTable table;
    std::string reason;
    EXPECT_TRUE(ParseTextTable(text, table, reason)) << reason;
    return table;
}

TEST(TextImportDialog, ShowsTheFileAndProposesTheOutputColumns)
{
    TTextImportDialog dialog;
    dialog.SetTable(parsed("a;b;c;d;e\n1;2;3;4;5\n6;7;8;9;10\n"), 1);
    EXPECT_EQ(dialog.PreviewText->toPlainText(), "a;b;c;d;e\n1;2;3;4;5\n6;7;8;9;10");
    EXPECT_EQ(dialog.ColumnsLabel->text(), "5 columns, 2 lines of values; the first line, of column names, is skipped");
    EXPECT_EQ(dialog.OutputsEdit->minimum(), 1);
    EXPECT_EQ(dialog.OutputsEdit->maximum(), 4);
    EXPECT_EQ(dialog.OutputColumns(), 1);
    EXPECT_EQ(dialog.SplitLabel->text(), "Inputs: columns 1 to 4; outputs: column 5");

    dialog.OutputsEdit->setValue(3);
    EXPECT_EQ(dialog.OutputColumns(), 3);
    EXPECT_EQ(dialog.SplitLabel->text(), "Inputs: columns 1 to 2; outputs: columns 3 to 5");

    // A proposal the file cannot meet is brought within its columns.
    dialog.SetTable(parsed("1 2\n3 4\n"), 7);
    EXPECT_EQ(dialog.ColumnsLabel->text(), "2 columns, 2 lines of values");
    EXPECT_EQ(dialog.OutputColumns(), 1);
    EXPECT_EQ(dialog.SplitLabel->text(), "Inputs: column 1; outputs: column 2");
}

}  // namespace

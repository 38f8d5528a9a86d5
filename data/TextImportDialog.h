#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
struct TTextTable;

// Asks how a text file's columns divide into inputs and outputs: shows the
// file's first lines and its column count, and takes the number of output
// columns, the last ones of each line.
class TTextImportDialog : public QDialog {
    Q_OBJECT
public:
    explicit TTextImportDialog(QWidget* parent = nullptr);

    // Shows the table's first lines and counts; outputColumns is the
    // proposal, brought within 1 .. columns - 1.
    void SetTable(const TTextTable& table, int outputColumns);
    int OutputColumns() const;

    QPlainTextEdit* PreviewText;
    QLabel* ColumnsLabel;
    QSpinBox* OutputsEdit;
    QLabel* SplitLabel;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    void showSplit();

    int columns_ = 2;
};

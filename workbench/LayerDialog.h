#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class QSpinBox;
class TStringGrid;

// The layer editing dialog: neuron count, activation, weights (fixed row 0
// and column 0) and biases (fixed column 0). Filled and read by the command.
class TOKBottomDlg2 : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg2(QWidget* parent = nullptr);

    QSpinBox* SpinEdit1;
    QComboBox* ComboBox1;
    TStringGrid* StringGrid1;
    TStringGrid* StringGrid2;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

public slots:
    void SpinEdit1Change();
};

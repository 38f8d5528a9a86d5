#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class QSpinBox;
class QTableWidget;

// The layer editing dialog: neuron count, activation, weights (fixed row 0
// and column 0) and biases (fixed column 0). Filled and read by the command.
class TOKBottomDlg2 : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg2(QWidget* parent = nullptr);

    QSpinBox* SpinEdit1;
    QComboBox* ComboBox1;
    QTableWidget* StringGrid1;
    QTableWidget* StringGrid2;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

public slots:
    void SpinEdit1Change();
};

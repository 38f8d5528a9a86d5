#pragma once

#include <QDialog>

class QPushButton;
class QSpinBox;
class TStringGrid;

// The input vector dialog: the size and one value per row (fixed column 0).
class TOKBottomDlg1 : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg1(QWidget* parent = nullptr);

    QSpinBox* SpinEdit1;
    TStringGrid* StringGrid1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

public slots:
    void SpinEdit1Change();
};

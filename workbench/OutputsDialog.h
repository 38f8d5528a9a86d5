#pragma once

#include <QDialog>

class QPushButton;
class TStringGrid;

// The outputs dialog: a read-only grid of the network's outputs.
class TOKBottomDlg3 : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg3(QWidget* parent = nullptr);

    TStringGrid* StringGrid1;
    QPushButton* OKBtn;  // "Close"
};

#pragma once

#include <QDialog>

class QPushButton;
class QTableWidget;

// The outputs dialog: a read-only grid of the network's outputs.
class TOKBottomDlg3 : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg3(QWidget* parent = nullptr);

    QTableWidget* StringGrid1;
    QPushButton* OKBtn;  // "Close"
};

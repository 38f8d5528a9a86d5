#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TRadioGroup;

// The add-layer dialog. It keeps its controls from one showing to the next;
// the command reads them after OK.
class TOKBottomDlg : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg(QWidget* parent = nullptr);

    QSpinBox* SpinEdit1;
    QComboBox* ComboBox1;
    TRadioGroup* RadioGroup1;
    TRadioGroup* RadioGroup2;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

public slots:
    void RadioGroup1Click();
    void RadioGroup2Click();
};

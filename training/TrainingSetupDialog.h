#pragma once

#include <QDialog>
#include <QString>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TDataForm;

// The training setup dialog: algorithm and its parameters, stop criteria,
// display window length and the dataset's source. Only the source is checked
// here; the training command converts the numbers. Every control keeps its
// value from one showing to the next.
class TOKBottomDlg4 : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg4(QWidget* parent = nullptr);

    // The editor whose matrices " Use data from the editor " means; it is
    // created after this dialog.
    void SetEditor(TDataForm* editor) { editor_ = editor; }

    int NetInputs = 0;
    int NetOutputs = 0;
    bool FileChecked = false;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;  // "Error Back Propagation"
    QWidget* TabSheet2;  // "Fast Back Propagation"
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit4;
    QLabel* Label1;
    QLineEdit* Edit3;
    QPushButton* Button1;
    QCheckBox* DataSrc;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLabel* Label2;
    QSpinBox* BufEdit;
    QAction* actStart;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    // The filter of the file-open dialog of "Browse".
    static const QString OpenDialog1Filter;

    bool CanStart() const;
    void Button1Click();
    void DataSrcClick();
    void actStartUpdate();
    void actStartExecute();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDataForm* editor_ = nullptr;
};

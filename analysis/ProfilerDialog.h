#pragma once

#include <vector>

#include <QDialog>

#include "analysis/ProfilerRun.h"

class QChartView;
class QLineEdit;
class QLineSeries;
class QProgressBar;
class QPushButton;
class TNeuroNet;

// The performance profiler: times the evaluation of the network lent to it.
class TOKBottomDlg7 : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg7(QWidget* parent = nullptr);

    TNeuroNet* Net = nullptr;  // borrowed; set before every showing
    std::vector<double> Times;  // of the last run, milliseconds per evaluation

    // What the tests are timed with; tests of the dialog replace it.
    ProfilerClock Clock;

    QChartView* Chart1;
    QLineSeries* Series1;
    QLineEdit* Edit1;  // "Number of tests"
    QLineEdit* Edit2;  // "Average time [ms]"
    QLineEdit* Edit3;  // "Standard deviation"
    QProgressBar* ProgressBar1;
    QPushButton* Button1;  // "Start tests"
    QPushButton* OKBtn;    // "Close"

    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void runTests();
    void showResults();

    bool running_ = false;
};

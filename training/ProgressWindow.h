#pragma once

#include <QDialog>
#include <QString>

class QChart;
class QChartView;
class QLabel;
class QLineEdit;
class QLineSeries;
class QListWidget;
class QPushButton;
class QSplitter;
class QValueAxis;

// The training progress window: three error lines over the epochs, the
// per-pattern relative errors of every output, four numbers and one button
// that stops the run and afterwards closes the window. The training command
// writes everything in it; the window itself handles the button, activation
// and its smallest size.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    // Outcome of the current or last run; 0 while it runs.
    int StopState = 0;

    QWidget* GraphPanel;
    QChartView* Chart1;
    QLineSeries* Series1;  // "Maximum"
    QLineSeries* Series2;  // "Average"
    QLineSeries* Series3;  // "Deviation"
    QSplitter* Splitter1;
    QWidget* LPanel;
    QListWidget* OutList;
    QSplitter* Splitter2;
    QChartView* Chart2;
    QLineEdit* Edit1;     // "Iterations"
    QLineEdit* Edit2;     // "Maximum Error (%)"
    QLineEdit* MeanEdit;  // "Average Error (%)"
    QLineEdit* RMSEdit;   // "Standard Deviation (%)"
    QPushButton* Button1;
    QLabel* OutcomeLabel;  // why the last run ended

    QValueAxis* EpochAxis;
    QValueAxis* ErrorAxis;
    QValueAxis* PatternAxis;
    QValueAxis* RelativeErrorAxis;

    // The start of a run: caption, the three lines emptied, "Stop", shown.
    void BeginRun(const QString& caption);
    // One checked " Output k" item and one line series "Output k" per output.
    void SetOutputs(int count);
    QLineSeries* OutputSeries(int index) const;  // 0-based
    // The end of a run: the final iterations and largest error, "Close".
    void EndRun(int iterations, double epochMaxError, const QString& outcome);

    void Button1Click();
    void FormActivate();

signals:
    // FormActivate has emptied the "Maximum" line.
    void MaximumEmptied();

protected:
    bool event(QEvent* e) override;

private:
    QChart* newChart(const QString& title);
};

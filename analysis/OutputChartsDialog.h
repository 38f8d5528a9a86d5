#pragma once

#include <span>

#include <QDialog>

class QBarSeries;
class QChartView;
class QPushButton;

// The output charts: one red bar per network output, filled by the main
// window's command.
class TOKBottomDlg8 : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg8(QWidget* parent = nullptr);

    QChartView* Chart1;
    QBarSeries* Series1;
    QPushButton* OKBtn;  // "Close"

    // Replaces the bars: output i (from 1) at x = i, in output order.
    void ShowBars(std::span<const double> outputs);
};

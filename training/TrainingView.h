#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QPointF>

#include "training/TrainingRun.h"

class QLabel;
class TForm7;

// The window side of a training run: its pump and its display callback.
// Display updates are kept until the next pump that processes events and
// written to the widgets just before it, so nothing is drawn that a person
// could not see, and the OutList check marks are read as they stood when the
// window of epochs ended (no event can change them in between).
class TTrainingView {
public:
    // The status panels are optional; they get the iterations and the window's error.
    TTrainingView(TForm7& window, QLabel* iterationsPanel, QLabel* errorPanel);

    // Processes pending events when the last time was at least
    // kPumpIntervalMs ago; the first call always does.
    void Pump();
    void Display(const TWindowSummary& summary);
    // Writes whatever display updates are still kept.
    void Flush();

    static constexpr int kPumpIntervalMs = 20;

private:
    TForm7& window_;
    QLabel* iterationsPanel_;
    QLabel* errorPanel_;
    QElapsedTimer sincePump_;
    QList<QPointF> maximum_, average_, deviation_;
    double errorAxisTop_ = 0;
    TWindowSummary last_;
    bool pending_ = false;
};

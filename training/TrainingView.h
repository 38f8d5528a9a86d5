#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QMetaObject>
#include <QPointF>

#include <vector>

#include "training/PumpGate.h"
#include "training/TrainingRun.h"

class QLabel;
class TForm7;

// The window side of a training run: its pump and its display callback.
// Pending events are processed at most every kPumpIntervalMs, so the Stop
// button and the windows answer at once without costing every short epoch a
// trip through the event loop. Display updates are kept and written to the
// widgets by a pump at most every kDisplayIntervalMs, just before it
// // processes events: redrawing the charts is the dear part. The OutList check
// marks are read when a window of epochs ends, as they stand then.
class TTrainingView {
public:
    // The status panels are optional; they get the iterations and the window's error.
    TTrainingView(TForm7& window, QLabel* iterationsPanel, QLabel* errorPanel);
    ~TTrainingView();
    TTrainingView(const TTrainingView&) = delete;
    TTrainingView& operator=(const TTrainingView&) = delete;

    // Processes pending events when the last time was at least
    // kPumpIntervalMs ago; the first call always does.
    void Pump();
    void Display(const TWindowSummary& summary);
    // Writes whatever display updates are still kept.
    void Flush();

    static constexpr int kPumpIntervalMs = 20;
    static constexpr int kDisplayIntervalMs = 250;

private:
    TForm7& window_;
    QLabel* iterationsPanel_;
    QLabel* errorPanel_;
    TPumpGate pumpGate_{std::int64_t(kPumpIntervalMs) * 1'000'000};
    QElapsedTimer sinceFlush_;
    QList<QPointF> maximum_, average_, deviation_;
    // Tops of the error lines: "Maximum" apart, since activating the window
    // empties it and its old points no longer set the axis.
    double maximumTop_ = 0;
    double keptMaximumTop_ = 0;  // over the kept windows
    double otherTop_ = 0;
    TWindowSummary last_;
    std::vector<bool> shown_;  // the OutList check marks when last_ ended
    QMetaObject::Connection emptied_;
    bool pending_ = false;
};

#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data/xMatrix.h"
#include "engine/Neuran.h"
#include "files/DatasetFile.h"

// One training run of a network on a dataset: batch back-propagation, the
// stop tests and the error statistics of each display window. Nothing here
// knows about windows; the window hands in a pump and a display callback.

// The outcome of a run, as the progress window keeps it in StopState.
enum TStopState : int {
    kRunning = 0,          // also: no epoch ran because the dataset could not be loaded
    kStoppedByUser = 1,
    kIterationLimit = 2,
    kAcceptableError = 3,
    kUnstable = 4,
};

// The line the progress window shows under its charts when a run has ended.
std::string OutcomeText(int stopState);

// Copies the editor's matrices into rows (P from the input matrix, each value
// rounded to a double) and prepares net for training. False, with rows and net
// untouched, when the editor holds no pattern. A matrix whose shape does not
// fit the network raises an error.
bool LoadTrainingSet(const TMatrix& inputs, const TMatrix& outputs, TNeuroNet& net, TDatasetRows& rows);

// The same from a dataset file. False when fileName is empty or names no
// file; a file that cannot be read, or whose counts are not the network's,
// raises an error naming the file and the reason.
bool LoadTrainingSet(const std::string& fileName, TNeuroNet& net, TDatasetRows& rows);

enum class TColumns { Inputs, Targets };

// Minimum and maximum of one column (1-based) over all patterns; a constant
// column gives the off pair (1, -1).
TRange ColumnRange(const TDatasetRows& rows, TColumns columns, int column);

// Input and output ranges of net from the columns of the data.
void SetRangesFromData(TNeuroNet& net, const TDatasetRows& rows);

// Called now and then during an epoch so that windows stay painted; it must
// not change the network.
using TPatternPump = std::function<void()>;

// How many patterns pass between two calls of the pattern pump: enough work
// that asking the clock costs nothing beside it.
int PatternsBetweenPumps(const TNeuroNet& net);

// One pass over all patterns in order, corrections applied once at its end.
// Adds each pattern's signed relative errors to errors (outputs x patterns)
// and returns the largest absolute one in epochMaxError. False when an
// evaluation overflowed: the epoch's corrections are then dropped. The
// pattern pump runs every patternsPerPump patterns (0: as many as
// PatternsBetweenPumps says), never after the last.
bool TrainEpoch(TNeuroNet& net, const TDatasetRows& rows, int algorithm, TMatrix& errors, double& epochMaxError,
                const TPatternPump& patternPump = {}, int patternsPerPump = 0);

// What one display update shows.
struct TWindowSummary {
    int Iterations = 0;
    double WindowMax = 0;  // percent: mean over the window of the epochs' largest errors
    double Average = 0;    // percent: mean over the outputs of their mean absolute error
    double Deviation = 0;  // percent: mean over the outputs of their deviation
    std::vector<std::string> Titles;  // one series title per output
    // 100 x the mean signed relative error of each output and pattern over
    // the window, output by output (NO rows of P), with their extremes.
    std::vector<double> Percents;
    double PercentMin = 0;
    double PercentMax = 0;

    int PatternCount() const { return Titles.empty() ? 0 : int(Percents.size() / Titles.size()); }
};

// The statistics of a window of windowCount epochs whose errors were summed
// into errors; errors is left holding the window's means.
void SummarizeWindow(TMatrix& errors, int windowCount, double windowMaxSum, int iterations, TWindowSummary& summary);

struct TTrainingSettings {
    int Algorithm = 1;          // handed to BackPropagate
    int MaxIterations = 1000000;
    double AcceptableError = 1;  // percent
    int Buffer = 250;            // epochs per display window
};

// The loop of a run. The network must hold the data's ranges and its training
// buffers (LoadTrainingSet, SetRangesFromData).
class TTrainingRun {
public:
    using Pump = std::function<void()>;
    using Display = std::function<void(const TWindowSummary&)>;

    TTrainingRun(TNeuroNet& net, const TDatasetRows& rows, TMatrix& errors, const TTrainingSettings& settings);

    // Runs epochs while stopState is 0. After every epoch pump runs (it may
    // set stopState to 1); then the stop tests, each overriding the one before;
    // after every Buffer epochs display gets the window's statistics. The
    // pump is also handed to TrainEpoch for long epochs.
    void Run(int& stopState, const Pump& pump, const Display& display);

    int Iterations() const { return iterations_; }
    double EpochMaxError() const { return epochMaxError_; }
    // The last epoch's evaluation overflowed (stopState is then 4).
    bool Overflowed() const { return overflowed_; }

private:
    TNeuroNet& net_;
    const TDatasetRows& rows_;
    TMatrix& errors_;
    TTrainingSettings settings_;
    int iterations_ = 0;
    int windowCount_ = 0;
    double epochMaxError_ = 0;
    double windowMaxSum_ = 0;
    bool overflowed_ = false;
    int patternsPerPump_ = 1;
    TWindowSummary summary_;
};

// Ends training on net and releases the rows.
void FreeTrainingSet(TNeuroNet& net, TDatasetRows& rows);

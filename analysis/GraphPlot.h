#pragma once

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "analysis/PlotPoints.h"
#include "engine/Neuran.h"
#include "files/DatasetFile.h"

// What the graphs window compares a network with a dataset by: three charts
// filled from one pass over the patterns.

// The state of the window's lists a plot is drawn for.
struct PlotRequest {
    int Input = 0;                   // selected input, 1-based; 0 when none is selected
    std::vector<bool> GraphOutputs;  // check marks of the response chart's outputs
    std::vector<bool> ErrorOutputs;  // check marks of the error chart's outputs
    int LagOutput = 0;               // selected output of the lag chart, 1-based; 0 when none
};

enum class PlotChart { Graphs, Errors, Lags };

// New contents of one series: its points replace the old ones.
struct SeriesFill {
    PlotChart Chart = PlotChart::Graphs;
    int Series = 0;
    bool Visible = true;
    PlotPoints Points;
    std::optional<std::string> Title;  // unchanged when empty
};

enum class PlotEnding {
    Complete,
    Overflow,  // an evaluation overflowed: the plot ends where it stands
    Error,     // an evaluation or an error quotient raised Error
};

struct PlotResult {
    // In drawing order: the response chart (series 2t line, 2t + 1 targets
    // for output t), the error chart (series t), the lag chart (series 0 the
    // diagonal, series 1 output against target). Series not listed keep what
    // they showed; when the plot ended early the last fill may be partial.
    std::vector<SeriesFill> Fills;
    // The averages over the checked error outputs in general format, empty
    // texts when none is checked; unset unless the error chart was finished.
    std::optional<std::string> MeanText;
    std::optional<std::string> RMSText;
    PlotEnding Ending = PlotEnding::Complete;
    std::exception_ptr Error;
};

// Evaluates net on the patterns of rows, whose input and output counts must be
// the network's, and returns the three charts' new contents. Nothing is drawn
// when request.Input is not one of the network's inputs. Leaves the network's
// inputs and outputs as set by the last evaluation.
PlotResult ComputePlot(TNeuroNet& net, const TDatasetRows& rows, const PlotRequest& request);

// The editor's dataset as the window holds it: P from the input matrix (or
// the output matrix when it has fewer rows), each value narrowed to a double;
// a value beyond the double range raises the floating point overflow.
TDatasetRows RowsFromMatrices(const TMatrix& inputs, const TMatrix& outputs);

// x := min; while max + step > x: x, x := x + step. Ends early if an addition
// no longer moves x, which a step far below x's precision would never do.
std::vector<double> SweepPositions(double min, double max, double step);

// Smallest and largest value of column `column` of the patterns' inputs or
// targets, and a hundredth of their distance; all 0 without patterns.
struct ColumnSpan {
    double Min = 0, Max = 0, Step = 0;
};
ColumnSpan InputSpan(const TDatasetRows& rows, int column);
ColumnSpan TargetSpan(const TDatasetRows& rows, int column);

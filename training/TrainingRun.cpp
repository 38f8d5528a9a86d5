#include "training/TrainingRun.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "data/NumberText.h"
#include "engine/Errors.h"

namespace {

// The internal output scale of the last layer: the inverse of the output
// scaling that Evaluate applies.
Extended internalScale(Extended x, const TRange& range)
{
    return ((x - range.Min) * 1.8L) / (static_cast<Extended>(range.Max) - range.Min) - 0.9L;
}

void requireNetworkShape(const TNeuroNet& net, int inputs, int outputs, const std::string& source)
{
    if (inputs != net.InputCount() || outputs != net.OutputCount())
        throw std::runtime_error(source + std::string(kIncompatibleDatasetSizes));
}

}  // namespace

std::string OutcomeText(int stopState)
{
    switch (stopState) {
    case kStoppedByUser: return "Stopped";
    case kIterationLimit: return "Iteration limit achieved";
    case kAcceptableError: return "Acceptable error achieved";
    case kUnstable: return "Unstable: a smaller training speed may help (the corrections are summed over all patterns)";
    default: return "No epoch ran: the training dataset could not be loaded";
    }
}

bool LoadTrainingSet(const TMatrix& inputs, const TMatrix& outputs, TNeuroNet& net, TDatasetRows& rows)
{
    const int patterns = inputs.Rows();
    if (patterns < 1)
        return false;
    requireNetworkShape(net, inputs.Cols(), outputs.Cols(), "The training data editor's dataset - ");
    if (outputs.Rows() < patterns)
        throw std::runtime_error("The training data editor holds fewer output rows than input rows");
    TDatasetRows loaded;
    loaded.Header = rows.Header;
    loaded.Header.PatternCount = patterns;
    loaded.Header.InputCount = inputs.Cols();
    loaded.Header.OutputCount = outputs.Cols();
    loaded.Values.reserve(std::size_t(patterns) * std::size_t(inputs.Cols() + outputs.Cols()));
    for (int p = 0; p < patterns; ++p) {
        for (int i = 0; i < inputs.Cols(); ++i)
            loaded.Values.push_back(NarrowToDouble(inputs.GetItem(p, i)));
        for (int j = 0; j < outputs.Cols(); ++j)
            loaded.Values.push_back(NarrowToDouble(outputs.GetItem(p, j)));
    }
    rows = std::move(loaded);
    return net.BeginTraining();
}

bool LoadTrainingSet(const std::string& fileName, TNeuroNet& net, TDatasetRows& rows)
{
    std::error_code ignored;
    if (fileName.empty() || !std::filesystem::is_regular_file(fileName, ignored))
        return false;
    TDatasetRows loaded;
    std::string error;
    if (!ReadDatasetRows(fileName, loaded, error))
        throw std::runtime_error(error);
    requireNetworkShape(net, loaded.Header.InputCount, loaded.Header.OutputCount, fileName + " - ");
    rows = std::move(loaded);
    return net.BeginTraining();
}

TRange ColumnRange(const TDatasetRows& rows, TColumns columns, int column)
{
    TRange range;
    for (int p = 0; p < rows.PatternCount(); ++p) {
        const double value = (columns == TColumns::Inputs ? rows.Inputs(p) : rows.Targets(p))[column - 1];
        if (p == 0) {
            range.Min = range.Max = value;
        } else if (value > range.Max) {
            range.Max = value;
        } else if (value < range.Min) {
            range.Min = value;
        }
    }
    if (!(range.Max > range.Min))
        range = TRange{};
    return range;
}

void SetRangesFromData(TNeuroNet& net, const TDatasetRows& rows)
{
    for (int i = 1; i <= rows.Header.InputCount; ++i)
        net.InputRanges[i - 1] = ColumnRange(rows, TColumns::Inputs, i);
    for (int j = 1; j <= rows.Header.OutputCount; ++j)
        net.OutputRanges[j - 1] = ColumnRange(rows, TColumns::Targets, j);
}

int PatternsBetweenPumps(const TNeuroNet& net)
{
    long connections = 0;
    for (const auto& layer : net.Layers)
        connections += long(layer->NeuronCount()) * (layer->InputCount() + 1);
    return int(std::max(1L, 20000L / std::max(1L, connections)));
}

bool TrainEpoch(TNeuroNet& net, const TDatasetRows& rows, int algorithm, TMatrix& errors, double& epochMaxError,
                const TPatternPump& patternPump, int patternsPerPump)
{
    epochMaxError = 0;
    const int patterns = rows.PatternCount();
    const int outputs = rows.Header.OutputCount;
    const int pumpEvery = !patternPump ? 0 : patternsPerPump > 0 ? patternsPerPump : PatternsBetweenPumps(net);
    int untilPump = pumpEvery;
    std::vector<double>& deltas = net.LastLayer().Deltas;
    for (int p = 0; p < patterns; ++p) {
        net.SetInputs(net.InputCount(), rows.Inputs(p).data());
        if (!net.Evaluate())
            return false;
        const std::span<const double> targets = rows.Targets(p);
        for (int j = 0; j < outputs; ++j) {
            const Extended t = targets[j];
            const Extended o = net.Outputs[j];
            const double r = NarrowToDouble(std::fabs(t) > 0 ? (t - o) / std::fabs(t) : t - o);
            errors.SetItem(j, p, errors.GetItem(j, p) + r);
            if (std::fabs(r) > epochMaxError)
                epochMaxError = std::fabs(r);
            if (net.OutputRanges.size() != std::size_t(net.OutputCount()))
                throw AssertionError("Unit1", 1059);
            const TRange& range = net.OutputRanges[j];
            const Extended e = range.Max > range.Min ? internalScale(t, range) - internalScale(o, range) : t - o;
            deltas[j] = NarrowToDouble(e);
        }
        net.BackPropagate(algorithm);
        if (pumpEvery && --untilPump == 0) {
            untilPump = pumpEvery;
            if (p + 1 < patterns)
                patternPump();
        }
    }
    net.ApplyCorrections();
    // The outputs are those of the weights before the corrections.
    net.Evaluated = false;
    return true;
}

void SummarizeWindow(TMatrix& errors, int windowCount, double windowMaxSum, int iterations, TWindowSummary& summary)
{
    summary.Iterations = iterations;
    summary.WindowMax = double(100.0L * windowMaxSum / windowCount);
    errors.Scale(1.0L / windowCount);

    const int outputs = errors.Rows();
    const int patterns = errors.Cols();
    summary.Titles.resize(std::size_t(outputs));
    summary.Percents.resize(std::size_t(outputs) * std::size_t(patterns));
    summary.PercentMin = summary.PercentMax = 0;
    Extended sumMean = 0, sumDev = 0;
    double* percent = summary.Percents.data();
    for (int s = 0; s < outputs; ++s) {
        Extended sum = 0;
        for (int p = 0; p < patterns; ++p)
            sum += std::fabs(errors.GetItem(s, p));
        const Extended mean = (1.0L / patterns) * sum;
        Extended squares = 0;
        for (int p = 0; p < patterns; ++p) {
            const Extended d = std::fabs(errors.GetItem(s, p)) - mean;
            squares += d * d;
        }
        const Extended dev = std::sqrt((1.0L / patterns) * squares);
        sumMean += mean;
        sumDev += dev;
        summary.Titles[s] = PadFloat(s + 1, 2, 0) + " " + PadFloat(100 * mean, 6, 2) + "% " + PadFloat(100 * dev, 6, 2) + "%";
        for (int p = 0; p < patterns; ++p, ++percent) {
            *percent = double(100 * errors.GetItem(s, p));
            summary.PercentMin = std::min(summary.PercentMin, *percent);
            summary.PercentMax = std::max(summary.PercentMax, *percent);
        }
    }
    summary.Average = double(100 * sumMean / outputs);
    summary.Deviation = double(100 * sumDev / outputs);
}

TTrainingRun::TTrainingRun(TNeuroNet& net, const TDatasetRows& rows, TMatrix& errors, const TTrainingSettings& settings)
    : net_(net), rows_(rows), errors_(errors), settings_(settings), patternsPerPump_(PatternsBetweenPumps(net))
{
    if (!errors_.SetSize(rows.Header.OutputCount, rows.PatternCount()))
        throw std::bad_alloc();
    errors_.Fill(0);
}

void TTrainingRun::Run(int& stopState, const Pump& pump, const Display& display)
{
    const TPatternPump patternPump = pump;
    while (stopState == kRunning) {
        ++iterations_;
        ++windowCount_;
        if (!TrainEpoch(net_, rows_, settings_.Algorithm, errors_, epochMaxError_, patternPump, patternsPerPump_)) {
            overflowed_ = true;
            stopState = kUnstable;
            break;
        }
        if (pump)
            pump();
        if (iterations_ >= settings_.MaxIterations)
            stopState = kIterationLimit;
        if (!(100.0L * epochMaxError_ > settings_.AcceptableError))
            stopState = kAcceptableError;
        if (!(epochMaxError_ <= 1e50L))
            stopState = kUnstable;
        windowMaxSum_ += epochMaxError_;
        if (windowCount_ < settings_.Buffer)
            continue;
        SummarizeWindow(errors_, windowCount_, windowMaxSum_, iterations_, summary_);
        windowCount_ = 0;
        if (display)
            display(summary_);
        errors_.Fill(0);
        windowMaxSum_ = 0;
    }
}

void FreeTrainingSet(TNeuroNet& net, TDatasetRows& rows)
{
    net.EndTraining();
    rows = TDatasetRows{};
}

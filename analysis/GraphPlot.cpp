#include "analysis/GraphPlot.h"

#include <algorithm>
#include <cstddef>

#include "analysis/RelativeError.h"
#include "data/NumberText.h"

namespace {

// The evaluation stopped: Evaluate returned false, or threw (held in error).
struct Stop {};

template <class Values>
ColumnSpan spanOf(const TDatasetRows& rows, int column, Values values)
{
    ColumnSpan span;
    for (int p = 0; p < rows.PatternCount(); ++p) {
        double v = values(p)[column];
        if (p == 0) {
            span.Min = span.Max = v;
            continue;
        }
        if (v < span.Min)
            span.Min = v;
        if (v > span.Max)
            span.Max = v;
    }
    span.Step = NarrowToDouble((static_cast<Extended>(span.Max) - span.Min) / 100);
    return span;
}

// Fills the series of the three charts in the order the window draws them.
// Every chart asks for the same patterns in the same order, so each pattern
// is evaluated once and its outputs kept for the charts after it.
class Plotter {
public:
    Plotter(TNeuroNet& net, const TDatasetRows& rows, const PlotRequest& request)
        : net_(net), rows_(rows), request_(request), outputCount_(net.OutputCount())
    {
    }

    PlotResult Run()
    {
        if (request_.Input < 1 || request_.Input > net_.InputCount())
            return {};
        try {
            plotResponses();
            plotErrors();
            plotLags();
        } catch (const Stop&) {
        } catch (...) {
            result_.Ending = PlotEnding::Error;
            result_.Error = std::current_exception();
        }
        for (SeriesFill& fill : result_.Fills)
            SortByX(fill.Points);
        return std::move(result_);
    }

private:
    static bool checked(const std::vector<bool>& marks, int t)
    {
        return t < int(marks.size()) && marks[t];
    }

    SeriesFill& begin(PlotChart chart, int series, bool visible)
    {
        result_.Fills.push_back({chart, series, visible, {}, std::nullopt});
        return result_.Fills.back();
    }

    // Evaluates the network; Stop on overflow, the exception of a raising one.
    void evaluate()
    {
        if (!net_.Evaluate()) {
            result_.Ending = PlotEnding::Overflow;
            throw Stop{};
        }
    }

    // The network's outputs for pattern p, evaluated when first asked for.
    const double* patternOutputs(int p)
    {
        if (p >= evaluatedPatterns_) {
            if (outputs_.empty())
                outputs_.resize(std::size_t(rows_.PatternCount()) * outputCount_);
            std::span<const double> inputs = rows_.Inputs(p);
            net_.SetInputs(int(inputs.size()), inputs.data());
            evaluate();
            std::copy(net_.Outputs.begin(), net_.Outputs.end(), outputs_.begin() + std::size_t(p) * outputCount_);
            evaluatedPatterns_ = p + 1;
        }
        return outputs_.data() + std::size_t(p) * outputCount_;
    }

    void plotResponses()
    {
        const bool single = net_.InputCount() == 1;
        const int k = request_.Input - 1;
        ColumnSpan span;
        if (single)
            span = InputSpan(rows_, k);
        for (int t = 0; t < outputCount_; ++t) {
            const bool shown = checked(request_.GraphOutputs, t);
            SeriesFill& line = begin(PlotChart::Graphs, 2 * t, shown);
            if (!shown) {
                begin(PlotChart::Graphs, 2 * t + 1, false);
                continue;
            }
            if (single && span.Step > 0)
                sweepResponse(line.Points, span, t);
            // The line's fill stays in place while the targets are added to
            // the next one, so index it rather than hold a reference.
            const std::size_t lineIndex = result_.Fills.size() - 1;
            begin(PlotChart::Graphs, 2 * t + 1, true);
            for (int p = 0; p < rows_.PatternCount(); ++p) {
                double x = rows_.Inputs(p)[k];
                if (!single)
                    result_.Fills[lineIndex].Points.push_back({x, patternOutputs(p)[t]});
                result_.Fills.back().Points.push_back({x, rows_.Targets(p)[t]});
            }
        }
    }

    // The response of output t across the input's range.
    void sweepResponse(PlotPoints& line, const ColumnSpan& span, int t)
    {
        if (sweep_.empty())
            sweep_ = SweepPositions(span.Min, span.Max, span.Step);
        for (std::size_t s = 0; s < sweep_.size(); ++s)
            line.push_back({sweep_[s], sweepOutputs(s)[t]});
    }

    // The sweep is the same for every output, so it is evaluated once.
    const double* sweepOutputs(std::size_t s)
    {
        if (s >= sweptPositions_) {
            if (sweepOutputs_.empty())
                sweepOutputs_.resize(sweep_.size() * outputCount_);
            net_.SetInput(1, sweep_[s]);
            evaluate();
            std::copy(net_.Outputs.begin(), net_.Outputs.end(), sweepOutputs_.begin() + s * outputCount_);
            sweptPositions_ = s + 1;
        }
        return sweepOutputs_.data() + s * outputCount_;
    }

    void plotErrors()
    {
        const int P = rows_.PatternCount();
        double sumMean = 0, sumDev = 0;
        int active = 0;
        std::vector<double> errors(P);
        for (int t = 0; t < outputCount_; ++t) {
            const bool shown = checked(request_.ErrorOutputs, t);
            SeriesFill& series = begin(PlotChart::Errors, t, shown);
            if (!shown)
                continue;
            ++active;
            for (int p = 0; p < P; ++p) {
                double r = RelativeError(rows_.Targets(p)[t], patternOutputs(p)[t]);
                errors[p] = r;
                series.Points.push_back({double(p + 1), NarrowToDouble(100 * static_cast<Extended>(r))});
            }
            ErrorSpread spread = AbsoluteErrorSpread(errors);
            series.Title = ErrorSeriesTitle(t + 1, spread.Mean, spread.Deviation);
            sumMean += spread.Mean;
            sumDev += spread.Deviation;
        }
        if (active == 0) {
            result_.MeanText = result_.RMSText = std::string();
            return;
        }
        result_.MeanText = FormatGeneral(100 * static_cast<Extended>(sumMean) / active);
        result_.RMSText = FormatGeneral(100 * static_cast<Extended>(sumDev) / active);
    }

    void plotLags()
    {
        const int j = request_.LagOutput - 1;
        if (j < 0 || j >= outputCount_)
            return;
        ColumnSpan span = TargetSpan(rows_, j);
        SeriesFill& diagonal = begin(PlotChart::Lags, 0, span.Step > 0);
        if (span.Step > 0)
            for (double x : SweepPositions(span.Min, span.Max, span.Step))
                diagonal.Points.push_back({x, x});
        SeriesFill& points = begin(PlotChart::Lags, 1, true);
        for (int p = 0; p < rows_.PatternCount(); ++p)
            points.Points.push_back({rows_.Targets(p)[j], patternOutputs(p)[j]});
    }

    TNeuroNet& net_;
    const TDatasetRows& rows_;
    const PlotRequest& request_;
    const int outputCount_;
    PlotResult result_;
    std::vector<double> outputs_;  // pattern after pattern, outputCount_ each
    int evaluatedPatterns_ = 0;
    std::vector<double> sweep_;
    std::vector<double> sweepOutputs_;  // position after position, outputCount_ each
    std::size_t sweptPositions_ = 0;
};

}  // namespace

PlotResult ComputePlot(TNeuroNet& net, const TDatasetRows& rows, const PlotRequest& request)
{
    return Plotter(net, rows, request).Run();
}

TDatasetRows RowsFromMatrices(const TMatrix& inputs, const TMatrix& outputs)
{
    TDatasetRows rows;
    rows.Header.PatternCount = std::min(inputs.Rows(), outputs.Rows());
    rows.Header.InputCount = inputs.Cols();
    rows.Header.OutputCount = outputs.Cols();
    rows.Values.reserve(std::size_t(rows.Header.PatternCount) * (inputs.Cols() + outputs.Cols()));
    for (int p = 0; p < rows.Header.PatternCount; ++p) {
        for (int i = 0; i < inputs.Cols(); ++i)
            rows.Values.push_back(NarrowToDouble(inputs.GetItem(p, i)));
        for (int j = 0; j < outputs.Cols(); ++j)
            rows.Values.push_back(NarrowToDouble(outputs.GetItem(p, j)));
    }
    return rows;
}

std::vector<double> SweepPositions(double min, double max, double step)
{
    std::vector<double> positions;
    double x = min;
    while (static_cast<Extended>(max) + step > x) {
        positions.push_back(x);
        double next = NarrowToDouble(static_cast<Extended>(x) + step);
        if (next == x)
            break;
        x = next;
    }
    return positions;
}

ColumnSpan InputSpan(const TDatasetRows& rows, int column)
{
    return spanOf(rows, column, [&](int p) { return rows.Inputs(p); });
}

ColumnSpan TargetSpan(const TDatasetRows& rows, int column)
{
    return spanOf(rows, column, [&](int p) { return rows.Targets(p); });
}

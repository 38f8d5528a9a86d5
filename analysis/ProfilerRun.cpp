#include "analysis/ProfilerRun.h"

#include <cmath>

#include "data/NumberText.h"

int ClampTestCount(int requested, std::string& replacementText)
{
    replacementText.clear();
    if (requested > kMaxProfilerTests) {
        replacementText = std::to_string(kMaxProfilerTests);
        return kMaxProfilerTests;
    }
    if (requested < 1) {
        replacementText = "1";
        return 1;
    }
    return requested;
}

std::vector<double> RunProfilerTests(TNeuroNet& net, int count, const ProfilerClock& clock,
                                     const std::function<void(int)>& afterTest)
{
    std::vector<double> times;
    times.reserve(count);
    for (int i = 1; i <= count; ++i) {
        double start = clock();
        for (int pass = 0; pass < kPassesPerTest; ++pass) {
            net.Evaluated = false;
            net.Evaluate();
        }
        times.push_back((clock() - start) / kPassesPerTest);
        if (afterTest)
            afterTest(i);
    }
    return times;
}

ProfileSummary SummarizeTimes(std::span<const double> times)
{
    ProfileSummary summary;
    if (times.empty())
        return summary;
    double sum = 0, sumSq = 0;
    for (double t : times) {
        sum += t;
        sumSq += t * t;
    }
    const double n = double(times.size());
    summary.Mean = sum / n;
    double variance = sumSq / n - summary.Mean * summary.Mean;
    summary.Deviation = variance > 0 ? std::sqrt(variance) : 0;
    return summary;
}

PlotPoints TimeSeries(std::span<const double> times)
{
    PlotPoints points;
    points.reserve(times.size());
    for (std::size_t i = 0; i < times.size(); ++i)
        points.push_back({double(i), times[i]});
    return points;
}

std::string MeanTimeText(double mean)
{
    // With six decimals the text is never short enough for PadFloat to pad it.
    return " " + PadFloat(mean, 5, 6);
}

std::string DeviationText(double deviation)
{
    return " " + FormatShortScientific(deviation);
}

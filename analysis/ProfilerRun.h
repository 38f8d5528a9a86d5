#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "analysis/PlotPoints.h"
#include "engine/Neuran.h"

inline constexpr int kMaxProfilerTests = 5000;
inline constexpr int kPassesPerTest = 1000;

// The number of tests brought into 1..kMaxProfilerTests. When it had to be
// changed, replacementText is what the field shows instead ("5000" or "1"),
// otherwise it is left empty.
int ClampTestCount(int requested, std::string& replacementText);

// Milliseconds from a monotonic clock; any fixed origin.
using ProfilerClock = std::function<double()>;

// Runs count tests; each times kPassesPerTest evaluations of net with its
// cache cleared before each, so every pass computes all layers, and records
// the milliseconds per evaluation. afterTest(i) runs after test i (1-based):
// the window steps its progress bar and processes pending events there.
std::vector<double> RunProfilerTests(TNeuroNet& net, int count, const ProfilerClock& clock,
                                     const std::function<void(int)>& afterTest);

// Mean and population standard deviation of the times. Rounding can make the
// variance come out slightly negative; the deviation is then 0.
struct ProfileSummary {
    double Mean = 0;
    double Deviation = 0;
};
ProfileSummary SummarizeTimes(std::span<const double> times);

// The times as the chart shows them: test i at x = i - 1.
PlotPoints TimeSeries(std::span<const double> times);

// " 0.015600": a blank, then the mean rounded to five significant digits and
// at most six decimals, written with six decimals.
std::string MeanTimeText(double mean);

// " 1.2500E-004": a blank, then the short scientific format.
std::string DeviationText(double deviation);

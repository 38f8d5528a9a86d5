#include <cmath>

#include <gtest/gtest.h>

#include "analysis/PlotData.h"
#include "analysis/ProfilerRun.h"

namespace {

TEST(ProfilerRun, TestCountsAreClampedWithTheFieldsReplacementText)
{
    struct Case {
        int requested, used;
        const char* replacement;
    };
    const Case cases[] = {{0, 1, "1"},     {-3, 1, "1"},       {99999, 5000, "5000"},
                          {1, 1, ""},      {5000, 5000, ""},   {1000, 1000, ""}};
    for (const Case& c : cases) {
        std::string text = "left over";
        EXPECT_EQ(ClampTestCount(c.requested, text), c.used) << c.requested;
        EXPECT_EQ(text, c.replacement) << c.requested;
    }
}

TEST(ProfilerRun, EachTestRecordsMillisecondsPerEvaluation)
{
    TNeuroNet net = LinearNet({{2}}, {1});
    net.SetInput(1, 3);
    // A clock that advances 1, 2, 3 ... ms between readings.
    double now = 0, advance = 0;
    auto clock = [&] {
        advance += 1;
        return now += advance;
    };
    std::vector<int> progress;
    std::vector<double> times = RunProfilerTests(net, 3, clock, [&](int i) { progress.push_back(i); });
    // Test i reads the clock twice: its time is the second advance.
    EXPECT_EQ(times, (std::vector<double>{0.002, 0.004, 0.006}));
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(net.Evaluated);
    EXPECT_EQ(net.Outputs[0], 7);
}

TEST(ProfilerRun, SummaryAndTexts)
{
    std::vector<double> zeros(7, 0.0);
    ProfileSummary summary = SummarizeTimes(zeros);
    EXPECT_EQ(MeanTimeText(summary.Mean), " 0.000000");
    EXPECT_EQ(DeviationText(summary.Deviation), " 0.0000E+000");

    summary = SummarizeTimes(std::vector<double>{1, 2, 3, 4});
    EXPECT_EQ(summary.Mean, 2.5);
    EXPECT_DOUBLE_EQ(summary.Deviation, std::sqrt(1.25));
    EXPECT_EQ(DeviationText(summary.Deviation), " 1.1180E+000");

    // Equal non-zero times: the variance may round below zero, never a NaN.
    for (double t : {0.1, 0.0156, 1e-5, 0.3}) {
        std::vector<double> same(5000, t);
        double deviation = SummarizeTimes(same).Deviation;
        EXPECT_GE(deviation, 0) << t;
        EXPECT_LT(deviation, 1e-6 * t) << t;
    }

    struct Case {
        double mean;
        const char* text;
    };
    const Case cases[] = {{0.0156, " 0.015600"}, {1.23456, " 1.234600"}, {0.0000123, " 0.000012"},
                          {0.00000049, " 0.000000"}, {12.3456789, " 12.346000"}};
    for (const Case& c : cases)
        EXPECT_EQ(MeanTimeText(c.mean), c.text) << c.mean;
}

}  // namespace

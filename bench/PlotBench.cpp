#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include <QChart>
#include <QChartView>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTabWidget>

#include "analysis/GraphPlot.h"
#include "analysis/uGrapher.h"
#include "engine/Neuran.h"
#include "platform/Platform.h"

// How long the graphs window takes to plot a dataset of 10,000 patterns of
// one input and one output, and to paint each tab's chart afterwards.

namespace {

constexpr int kPatterns = 10000;

TNeuroNet sineNet()
{
    platform::SetSeedClock([] { return 11u; });
    TNeuroNet net(1);
    TLayerParams hidden;
    hidden.Activation = 2;
    net.AddLayer(8, hidden);
    net.AddLayer(1, TLayerParams{});
    platform::SetSeedClock({});
    return net;
}

TDatasetRows sineRows()
{
    TDatasetRows rows;
    rows.Header.PatternCount = kPatterns;
    rows.Header.InputCount = 1;
    rows.Header.OutputCount = 1;
    for (int p = 0; p < kPatterns; ++p) {
        double x = 2 * std::numbers::pi * p / (kPatterns - 1);
        rows.Values.push_back(x);
        rows.Values.push_back(std::sin(x));
    }
    return rows;
}

// The window with the network attached and the data loaded, shown.
struct Window {
    TNeuroNet net = sineNet();
    TGrapherForm form;
    Window()
    {
        form.SetNetwork(&net);
        form.Data = sineRows();
        form.DataLoaded = true;
        form.show();
    }
};

void computePlot(benchmark::State& state)
{
    TNeuroNet net = sineNet();
    TDatasetRows rows = sineRows();
    PlotRequest request{1, {true}, {true}, 1};
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputePlot(net, rows, request));
}

void plotWindow(benchmark::State& state)
{
    Window w;
    for (auto _ : state)
        w.form.Plot();
}

// Plot, then paint the tab's chart as the person would see it.
void plotAndPaint(benchmark::State& state, int tab)
{
    Window w;
    w.form.PageControl->setCurrentIndex(tab);
    QChartView* views[] = {w.form.EChart, w.form.LChart, w.form.FChart};
    QChartView* view = views[tab];
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    state.counters["width"] = view->width();
    state.counters["height"] = view->height();
    for (auto _ : state) {
        w.form.Plot();
        image.fill(Qt::white);
        QPainter painter(&image);
        view->render(&painter);
    }
}

// What a person waits for after loading: the series made anew, the plot,
// and the first painting of the tab's chart.
void firstPlotAndPaint(benchmark::State& state, int tab)
{
    Window w;
    w.form.PageControl->setCurrentIndex(tab);
    QChartView* views[] = {w.form.EChart, w.form.LChart, w.form.FChart};
    QChartView* view = views[tab];
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    state.counters["width"] = view->width();
    state.counters["height"] = view->height();
    for (auto _ : state) {
        w.form.SetNetwork(&w.net);
        w.form.Plot();
        image.fill(Qt::white);
        QPainter painter(&image);
        view->render(&painter);
    }
    // To see what was painted: CORVALITH_PLOT_PICTURES=folder.
    if (QString folder = qEnvironmentVariable("CORVALITH_PLOT_PICTURES"); !folder.isEmpty())
        image.save(folder + QStringLiteral("/plot-%1.png").arg(tab));
}

const bool registered = [] {
    benchmark::RegisterBenchmark("ComputePlot/10000", computePlot)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Plot/10000", plotWindow)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlotAndPaint/Errors/10000", plotAndPaint, 0)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlotAndPaint/Lags/10000", plotAndPaint, 1)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlotAndPaint/Graphs/10000", plotAndPaint, 2)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FirstPlotAndPaint/Errors/10000", firstPlotAndPaint, 0)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FirstPlotAndPaint/Lags/10000", firstPlotAndPaint, 1)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FirstPlotAndPaint/Graphs/10000", firstPlotAndPaint, 2)->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QTest>

#include "bench/Shapes.h"
#include "engine/Neuran.h"
#include "platform/Platform.h"
#include "training/ProgressWindow.h"
#include "training/TrainingRun.h"
#include "training/TrainingView.h"

// A training run with no windows beside the same run in the progress window
// with the real pump and display, alternating so both see the same machine.
namespace {

// Created on first use and left to the end of the process: destroying it
// among the other statics at exit would outlive the fonts and plugins it uses.
QApplication& application()
{
    static int argc = 1;
    static char name[] = "corvalith_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *app;
}

// The progress window and two status panels, shown and painted once.
struct Windows {
    TForm7 progress;
    QWidget statusBar;
    QLabel* iterations = new QLabel(&statusBar);
    QLabel* error = new QLabel(&statusBar);

    Windows()
    {
        auto* row = new QHBoxLayout(&statusBar);
        row->addWidget(iterations);
        row->addWidget(error);
        statusBar.show();
        progress.BeginRun(QStringLiteral(" Training - Error Back Propagation"));
        (void)QTest::qWaitForWindowExposed(&progress);
        QCoreApplication::processEvents();
    }
};

std::unique_ptr<TNeuroNet> buildNet(const std::vector<int>& sizes)
{
    platform::SetSeedClock([] { return 11u; });
    auto net = std::make_unique<TNeuroNet>(sizes.front());
    for (std::size_t k = 1; k < sizes.size(); ++k) {
        TLayerParams p;
        p.WeightFrom = p.BiasFrom = -0.5;
        p.WeightTo = p.BiasTo = 0.5;
        p.Activation = k + 1 == sizes.size() ? 0 : 2;
        net->AddLayer(sizes[k], p);
    }
    platform::SetSeedClock({});
    net->LearningRate = 1e-4;
    return net;
}

TMatrix matrixOf(const std::vector<std::vector<double>>& rows)
{
    TMatrix m(int(rows.size()), int(rows[0].size()));
    for (int r = 0; r < m.Rows(); ++r)
        for (int c = 0; c < m.Cols(); ++c)
            m.SetItem(r, c, rows[r][c]);
    return m;
}

struct Problem {
    std::vector<int> sizes;
    std::vector<std::vector<double>> inputs, targets;
    int epochs;
    int buffer;
};

Problem xorProblem()
{
    return {{2, 2, 1}, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}, {{0}, {1}, {1}, {0}}, 100000, 250};
}

// The same for long enough that the charts are redrawn several times a second.
Problem longXorProblem()
{
    Problem problem = xorProblem();
    problem.epochs = 1000000;
    return problem;
}

Problem wideProblem()
{
    BenchShape shape{{8, 64, 64, 4}};
    BenchData data = benchData(shape);
    return {shape.sizes, data.inputs, data.targets, 50, 50};
}

struct Seconds {
    double wall = 0, cpu = 0;
    Seconds& operator+=(const Seconds& o)
    {
        wall += o.wall;
        cpu += o.cpu;
        return *this;
    }
};

Seconds now()
{
    timespec wall{}, cpu{};
    clock_gettime(CLOCK_MONOTONIC, &wall);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    return {wall.tv_sec + 1e-9 * wall.tv_nsec, cpu.tv_sec + 1e-9 * cpu.tv_nsec};
}

// Wall and processor time of one whole run, in the window when windows is given.
Seconds timedRun(const Problem& problem, Windows* windows)
{
    std::unique_ptr<TNeuroNet> net = buildNet(problem.sizes);
    TDatasetRows rows;
    LoadTrainingSet(matrixOf(problem.inputs), matrixOf(problem.targets), *net, rows);
    SetRangesFromData(*net, rows);
    TMatrix errors;
    TTrainingRun run(*net, rows, errors, {1, problem.epochs, -1, problem.buffer});
    int stopState = 0;
    std::unique_ptr<TTrainingView> view;
    if (windows) {
        windows->progress.BeginRun(QStringLiteral(" Training - Error Back Propagation"));
        windows->progress.SetOutputs(net->OutputCount());
        view = std::make_unique<TTrainingView>(windows->progress, windows->iterations, windows->error);
        // The window as the person sees it appear, before the first epoch.
        QCoreApplication::processEvents();
    }
    const Seconds start = now();
    if (view) {
        run.Run(stopState, [&] { view->Pump(); }, [&](const TWindowSummary& w) { view->Display(w); });
        view->Flush();
    } else {
        run.Run(stopState, {}, {});
    }
    const Seconds end = now();
    if (run.Iterations() != problem.epochs)
        std::abort();
    return {end.wall - start.wall, end.cpu - start.cpu};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void windowBesideHeadless(benchmark::State& state, Problem (*make)())
{
    application();
    const Problem problem = make();
    Windows windows;
    Seconds headless, inWindow;
    std::vector<double> ratios, wallRatios;
    for (auto _ : state) {
        const Seconds alone = timedRun(problem, nullptr);
        const Seconds shown = timedRun(problem, &windows);
        headless += alone;
        inWindow += shown;
        ratios.push_back(alone.cpu / shown.cpu);
        wallRatios.push_back(alone.wall / shown.wall);
    }
    // Processor time of the one thread: on a shared machine the wall clock
    // also counts the time other programs had the core. Each pair of runs
    // gives a ratio; their median leaves out the pairs a burst of load hit.
    const double epochs = problem.epochs * double(state.iterations());
    state.counters["headless_epochs/s"] = epochs / headless.cpu;
    state.counters["window_epochs/s"] = epochs / inWindow.cpu;
    state.counters["window/headless"] = median(ratios);
    state.counters["wall_window/headless"] = median(wallRatios);
    state.counters["headless_ms/epoch"] = 1e3 * headless.cpu / epochs;
}

// One display update of a window of epochs over 10,000 patterns and 4
// outputs: the statistics, then the charts, edits and status panels written
// and painted.
void displayUpdate(benchmark::State& state, bool window, int patterns, int outputs)
{
    application();
    std::unique_ptr<Windows> windows;
    std::unique_ptr<TTrainingView> view;
    if (window) {
        windows = std::make_unique<Windows>();
        windows->progress.SetOutputs(outputs);
        view = std::make_unique<TTrainingView>(windows->progress, windows->iterations, windows->error);
    }
    TMatrix errors(outputs, patterns);
    TWindowSummary summary;
    int iterations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int s = 0; s < outputs; ++s)
            for (int p = 0; p < patterns; ++p)
                errors.SetItem(s, p, 250 * 0.01L * ((p * 7 + s * 13 + iterations) % 101 - 50));
        iterations += 250;
        state.ResumeTiming();
        SummarizeWindow(errors, 250, 250 * 0.4, iterations, summary);
        if (view) {
            view->Display(summary);
            view->Flush();
            windows->progress.repaint();
        }
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("TrainingRun/window-vs-headless/xor-2-2-1", windowBesideHeadless, xorProblem)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(15);
    benchmark::RegisterBenchmark("TrainingRun/window-vs-headless/xor-2-2-1-x1000000", windowBesideHeadless, longXorProblem)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("TrainingRun/window-vs-headless/8-64-64-4", windowBesideHeadless, wideProblem)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(9);
    benchmark::RegisterBenchmark("DisplayUpdate/statistics/10000x4", displayUpdate, false, 10000, 4)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("DisplayUpdate/window/10000x4", displayUpdate, true, 10000, 4)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("DisplayUpdate/window/4x1", displayUpdate, true, 4, 1)->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace

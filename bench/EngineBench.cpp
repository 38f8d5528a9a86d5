#include <benchmark/benchmark.h>

#include "analysis/ProfilerRun.h"
#include "bench/Shapes.h"
#include "engine/Neuran.h"
#include "platform/Platform.h"

namespace {

TNeuroNet buildNet(const BenchShape& shape, int hiddenCode, int outputCode)
{
    platform::SetSeedClock([] { return 7u; });
    TNeuroNet net(shape.sizes.front());
    for (std::size_t k = 1; k < shape.sizes.size(); ++k) {
        TLayerParams p;
        p.WeightFrom = p.BiasFrom = -0.5;
        p.WeightTo = p.BiasTo = 0.5;
        p.Activation = k + 1 == shape.sizes.size() ? outputCode : hiddenCode;
        net.AddLayer(shape.sizes[k], p);
    }
    platform::SetSeedClock({});
    return net;
}

// One evaluation with the cache cleared, as the profiler times it.
void evaluate(benchmark::State& state, const BenchShape& shape, int hiddenCode)
{
    TNeuroNet net = buildNet(shape, hiddenCode, 0);
    BenchData data = benchData(shape);
    net.SetInputs(net.InputCount(), data.inputs[0].data());
    for (auto _ : state) {
        net.Evaluated = false;
        benchmark::DoNotOptimize(net.Evaluate());
    }
    state.counters["MAC/s"] = benchmark::Counter(double(shape.connections()), benchmark::Counter::kIsIterationInvariantRate);
}

// The profiler's own figure for the same network: its tests run as in the
// dialog, and the mean of their milliseconds per evaluation is reported in
// nanoseconds, beside the benchmark's time for the loop around them.
void profiler(benchmark::State& state, const BenchShape& shape)
{
    TNeuroNet net = buildNet(shape, 2, 0);
    BenchData data = benchData(shape);
    net.SetInputs(net.InputCount(), data.inputs[0].data());
    const int tests = 20;
    double sumOfMeans = 0;
    for (auto _ : state)
        sumOfMeans += SummarizeTimes(RunProfilerTests(net, tests, platform::PreciseMilliseconds, {})).Mean;
    state.counters["profiler_ns"] = 1e6 * sumOfMeans / double(state.iterations());
}

// One batch epoch as the training run does it.
void epoch(benchmark::State& state, const BenchShape& shape)
{
    TNeuroNet net = buildNet(shape, 2, 0);
    BenchData data = benchData(shape);
    net.LearningRate = 1e-5;
    net.BeginTraining();
    TLayer& last = net.LastLayer();
    for (auto _ : state) {
        for (int p = 0; p < kBenchPatterns; ++p) {
            net.SetInputs(net.InputCount(), data.inputs[p].data());
            net.Evaluate();
            for (int j = 0; j < net.OutputCount(); ++j)
                last.Deltas[j] = data.targets[p][j] - net.Outputs[j];
            net.BackPropagate(1);
        }
        net.ApplyCorrections();
    }
    state.counters["MAC/s"] = benchmark::Counter(3.0 * shape.connections() * kBenchPatterns, benchmark::Counter::kIsIterationInvariantRate);
}

const bool registered = [] {
    for (const BenchShape& shape : benchShapes()) {
        benchmark::RegisterBenchmark(("Evaluate/ours/" + shape.name()).c_str(), evaluate, shape, 2);
        benchmark::RegisterBenchmark(("Epoch/ours/" + shape.name()).c_str(), epoch, shape)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Profiler/ours/" + shape.name()).c_str(), profiler, shape)->Unit(benchmark::kMillisecond);
    }
    const BenchShape& widest = benchShapes().back();
    benchmark::RegisterBenchmark(("Linear/ours/" + widest.name()).c_str(), evaluate, widest, 0);
    return true;
}();

}  // namespace

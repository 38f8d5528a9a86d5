#include <benchmark/benchmark.h>

#include <doublefann.h>

#include <memory>

#include "bench/Shapes.h"

// The peer: the FANN library in double precision, same shapes, same data.
namespace {

struct FannDeleter {
    void operator()(fann* ann) const { fann_destroy(ann); }
    void operator()(fann_train_data* data) const { fann_destroy_train(data); }
};
using FannNet = std::unique_ptr<fann, FannDeleter>;
using FannData = std::unique_ptr<fann_train_data, FannDeleter>;

FannNet buildFann(const BenchShape& shape)
{
    std::vector<unsigned> layers(shape.sizes.begin(), shape.sizes.end());
    FannNet ann(fann_create_standard_array(layers.size(), layers.data()));
    fann_set_activation_function_hidden(ann.get(), FANN_SIGMOID_SYMMETRIC);
    fann_set_activation_steepness_hidden(ann.get(), 1.0);
    fann_set_activation_function_output(ann.get(), FANN_LINEAR);
    fann_randomize_weights(ann.get(), -0.5, 0.5);
    return ann;
}

FannData fannData(const BenchShape& shape)
{
    BenchData data = benchData(shape);
    FannData train(fann_create_train(kBenchPatterns, shape.sizes.front(), shape.sizes.back()));
    for (int p = 0; p < kBenchPatterns; ++p) {
        std::copy(data.inputs[p].begin(), data.inputs[p].end(), train->input[p]);
        std::copy(data.targets[p].begin(), data.targets[p].end(), train->output[p]);
    }
    return train;
}

void evaluate(benchmark::State& state, const BenchShape& shape)
{
    FannNet ann = buildFann(shape);
    BenchData data = benchData(shape);
    for (auto _ : state)
        benchmark::DoNotOptimize(fann_run(ann.get(), data.inputs[0].data()));
    state.counters["MAC/s"] = benchmark::Counter(double(shape.connections()), benchmark::Counter::kIsIterationInvariantRate);
}

void epoch(benchmark::State& state, const BenchShape& shape)
{
    FannNet ann = buildFann(shape);
    FannData train = fannData(shape);
    fann_set_training_algorithm(ann.get(), FANN_TRAIN_BATCH);
    fann_set_learning_rate(ann.get(), 1e-5f);
    for (auto _ : state)
        benchmark::DoNotOptimize(fann_train_epoch(ann.get(), train.get()));
    state.counters["MAC/s"] = benchmark::Counter(3.0 * shape.connections() * kBenchPatterns, benchmark::Counter::kIsIterationInvariantRate);
}

const bool registered = [] {
    for (const BenchShape& shape : benchShapes()) {
        benchmark::RegisterBenchmark(("Evaluate/fann/" + shape.name()).c_str(), evaluate, shape);
        benchmark::RegisterBenchmark(("Epoch/fann/" + shape.name()).c_str(), epoch, shape)->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "engine/Extended.h"

// The record a layer is created with; stored byte for byte in network files.
struct TLayerParams {
    std::int32_t WeightInit = 0;  // 0: random weights from the range, else zeros
    std::int32_t BiasInit = 0;    // the same for the biases
    double WeightTo = 1;
    double WeightFrom = -1;
    double BiasTo = 1;
    double BiasFrom = -1;
    std::int32_t Activation = 0;  // activation code 0..6
    std::int32_t Reserved = 0;
};
static_assert(sizeof(TLayerParams) == 48);
static_assert(offsetof(TLayerParams, WeightInit) == 0);
static_assert(offsetof(TLayerParams, BiasInit) == 4);
static_assert(offsetof(TLayerParams, WeightTo) == 8);
static_assert(offsetof(TLayerParams, WeightFrom) == 16);
static_assert(offsetof(TLayerParams, BiasTo) == 24);
static_assert(offsetof(TLayerParams, BiasFrom) == 32);
static_assert(offsetof(TLayerParams, Activation) == 40);
static_assert(offsetof(TLayerParams, Reserved) == 44);

// A scaling pair; it scales only when Min < Max. (1, -1) is the off value.
struct TRange {
    double Min = 1;
    double Max = -1;
    bool active() const { return Min < Max; }
};

inline constexpr int kActivationCount = 7;
extern const std::array<std::string_view, kActivationCount> ActivationNames;

inline constexpr int kMaxLayers = 32;
inline constexpr int kMaxInputs = 2048;
inline constexpr int kMaxNeurons = 1024;

// One fully connected layer. Weights are one row-major block of NeuronCount
// rows of InputCount values; all vectors are 0-based.
class TLayer {
public:
    TLayer(int neuronCount, const TLayerParams& params, int inputCount);

    void Resize(int neuronCount, int inputCount);
    void Initialize();

    Extended Activate(Extended x) const;
    Extended Derivative(int i) const;  // i is 1-based
    bool Compute(const double* source);

    int NeuronCount() const { return neuronCount_; }
    int InputCount() const { return inputCount_; }

    double& Weight(int neuron, int input) { return Weights[std::size_t(neuron) * inputCount_ + input]; }
    double Weight(int neuron, int input) const { return Weights[std::size_t(neuron) * inputCount_ + input]; }
    std::span<double> WeightRow(int neuron) { return {Weights.data() + std::size_t(neuron) * inputCount_, std::size_t(inputCount_)}; }
    std::span<const double> WeightRow(int neuron) const { return {Weights.data() + std::size_t(neuron) * inputCount_, std::size_t(inputCount_)}; }

    bool HasTrainingBuffers() const;

    std::vector<double> Weights;
    std::vector<double> Bias;
    std::vector<double> Outputs;
    std::vector<double> WeightCorrections;  // training only, shaped like Weights
    std::vector<double> BiasCorrections;    // training only
    std::vector<double> Deltas;             // training only
    TLayerParams Params;

private:
    bool FinishNeuron(int i, Extended sum);

    int neuronCount_ = 0;
    int inputCount_ = 0;
};

// The multilayer perceptron: network inputs feeding a chain of up to 32 layers.
class TNeuroNet {
public:
    explicit TNeuroNet(int inputCount);

    int LayerCount() const { return static_cast<int>(Layers.size()); }
    int InputCount() const { return static_cast<int>(Inputs.size()); }
    int OutputCount() const { return static_cast<int>(Outputs.size()); }

    TLayer& Layer(int k) { return *Layers[k - 1]; }  // k is 1-based
    const TLayer& Layer(int k) const { return *Layers[k - 1]; }
    TLayer& LastLayer() { return *Layers.back(); }

    void SetInputCount(int count);
    void AddLayer(int neuronCount, const TLayerParams& params);
    void SetLayerSize(int index, int neuronCount);
    void Randomize();
    double MaxAbsWeight() const;
    void ResetRanges(int inputPairs, int outputPairs);

    void SetInput(int index, double value);  // index is 1-based
    void SetInputs(int count, const double* vector);  // nullptr: random inputs
    bool Evaluate();

    bool BeginTraining();
    void EndTraining();
    void BackPropagate(int algorithm);
    void ApplyCorrections();

    std::vector<double> Inputs;
    std::vector<double> Outputs;
    std::vector<std::unique_ptr<TLayer>> Layers;
    bool Evaluated = false;
    double LearningRate = 0;
    double Momentum = 0;
    std::vector<TRange> InputRanges;
    std::vector<TRange> OutputRanges;

private:
    bool HasTrainingBuffers() const;
};

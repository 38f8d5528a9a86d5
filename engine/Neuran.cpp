#include "engine/Neuran.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "engine/Errors.h"
#include "engine/FastExp.h"
#include "engine/Random.h"

const std::array<std::string_view, kActivationCount> ActivationNames = {
    " Linear",
    " Logarithmic Sigmoid",
    " Hyperbolic Tangent Sigmoid",
    " Sinusoidal",
    " Saturating Linear",
    " Symmetric Saturating Linear",
    " Positive Linear",
};

namespace {

// The extended number nearest to 1e50; the double nearest to 1e50 lies above it.
constexpr Extended kGuardBound = 1e50L;

bool withinGuard(Extended v)
{
    return std::fabs(v) <= kGuardBound;  // false for a NaN, as the two comparisons are
}

[[noreturn, gnu::noinline, gnu::cold]] void throwOverflow()
{
    throw FloatingPointError::overflow();
}

// e^t, where a finite argument whose result does not fit the extended range
// is the overflow the hardware would have trapped.
[[gnu::always_inline]] inline Extended checkedExp(Extended t)
{
    Extended e = fast_exp::FastExp(t);
    if (std::isinf(e) && std::isfinite(t)) [[unlikely]]
        throwOverflow();
    return e;
}

// The activation functions by code; inlined into the layer's loop so that
// neighbouring neurons' exponentials overlap. Unknown codes are linear.
[[gnu::always_inline]] inline Extended activate(int code, Extended x)
{
    switch (code) {
    case 1:
        return 1.0L / (checkedExp(-x) + 1.0L);
    case 2:
        return 2.0L / (checkedExp(-2.0L * x) + 1.0L) - 1.0L;
    case 3:
        // The x87 sine gives up at 2^63; the program answers 0 there.
        return std::fabs(x) >= 9223372036854775808.0L ? 0.0L : std::sin(x);
    case 4:
        return x < 0 ? 0.0L : (x > 1 ? 1.0L : x);
    case 5:
        return x < -1 ? -1.0L : (x > 1 ? 1.0L : x);
    case 6:
        return x < 0 ? 0.0L : x;
    default:
        return x;
    }
}

// Back-propagation has no guard of its own; its overflows and invalid
// operations are read from the status flags once per call, which keeps the
// loops free of tests. Flags left over from earlier work are cleared first,
// only when set, since clearing costs far more than testing.
constexpr int kTrappedFlags = FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID;

void clearTrappedFlags()
{
    if (std::fetestexcept(kTrappedFlags))
        std::feclearexcept(kTrappedFlags);
}

void throwOnTrappedFlags()
{
    int raised = std::fetestexcept(kTrappedFlags);
    if (!raised)
        return;
    std::feclearexcept(kTrappedFlags);
    if (raised & FE_INVALID)
        throw FloatingPointError::invalidOperation();
    if (raised & FE_DIVBYZERO)
        throw FloatingPointError::divisionByZero();
    throw FloatingPointError::overflow();
}

int clampNetworkInputs(int n)
{
    return std::clamp(n, 1, kMaxInputs);
}

}  // namespace

TLayer::TLayer(int neuronCount, const TLayerParams& params, int inputCount)
    : Params(params)
{
    Resize(neuronCount, inputCount);
}

void TLayer::Resize(int neuronCount, int inputCount)
{
    neuronCount_ = std::max(std::min(neuronCount, kMaxNeurons), 1);
    inputCount_ = std::max(std::min(inputCount, kMaxInputs), 1);
    Weights.assign(std::size_t(neuronCount_) * inputCount_, 0.0);
    Bias.assign(neuronCount_, 0.0);
    Outputs.assign(neuronCount_, 0.0);
    Initialize();
}

void TLayer::Initialize()
{
    random_generator::SeedFromClock();
    auto draw = [](double from, double to) {
        Extended r = random_generator::Draw();
        return static_cast<double>(static_cast<Extended>(from) + r * (static_cast<Extended>(to) - from));
    };
    for (int i = 0; i < neuronCount_; ++i) {
        Bias[i] = Params.BiasInit != 0 ? 0.0 : draw(Params.BiasFrom, Params.BiasTo);
        for (double& w : WeightRow(i))
            w = Params.WeightInit != 0 ? 0.0 : draw(Params.WeightFrom, Params.WeightTo);
    }
}

Extended TLayer::Activate(Extended x) const
{
    return activate(Params.Activation, x);
}

Extended TLayer::Derivative(int i) const
{
    Extended y = Outputs[i - 1];
    switch (Params.Activation) {
    case 1:
        return (1.0L - y) * y;
    case 2:
        return (1.0L + y) * (1.0L - y);
    case 3: {
        Extended a = 1.0L - y * y;
        if (a < 0)
            throw FloatingPointError::invalidOperation();
        return std::sqrt(a);
    }
    case 4:
        return y >= 0 && y <= 1 ? 1.0L : 0.0L;
    case 5:
        return y >= -1 && y <= 1 ? 1.0L : 0.0L;
    case 6:
        return y >= 0 ? 1.0L : 0.0L;
    default:
        return 1.0L;
    }
}

namespace {

// The guard, the activation and the guard again for one neuron; on failure
// the neuron's output keeps its previous value.
template <int Code>
[[gnu::always_inline]] inline bool finishNeuron(Extended sum, double bias, double& output)
{
    if (!withinGuard(sum))
        return false;
    Extended y = activate(Code, sum + static_cast<Extended>(bias));
    if (!withinGuard(y))
        return false;
    output = static_cast<double>(y);
    return true;
}

// The exponential argument of the sigmoid codes for a neuron's input x.
template <int Code>
Extended sigmoidArgument(Extended x)
{
    return Code == 1 ? -x : -2.0L * x;
}

template <int Code>
Extended sigmoidFromExp(Extended e)
{
    return Code == 1 ? 1.0L / (e + 1.0L) : 2.0L / (e + 1.0L) - 1.0L;
}

// Calls finish(i, sum) for the neurons first .. last-1 in order until it
// returns false. Four neurons' sums advance together, which keeps the x87
// adder busy; each neuron still adds its products in increasing input order,
// so every sum is exactly the one-neuron-at-a-time result.
template <class Finish>
[[gnu::always_inline]] inline bool forEachSum(const double* weights, int first, int last, int inputs, const double* x, Finish&& finish)
{
    const std::size_t stride = inputs;
    int i = first;
    for (; i + 4 <= last; i += 4) {
        const double* w0 = weights + i * stride;
        const double* w1 = w0 + stride;
        const double* w2 = w1 + stride;
        const double* w3 = w2 + stride;
        Extended s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        for (int j = 0; j < inputs; ++j) {
            const Extended xj = x[j];
            s0 += w0[j] * xj;
            s1 += w1[j] * xj;
            s2 += w2[j] * xj;
            s3 += w3[j] * xj;
        }
        if (!finish(i, s0) || !finish(i + 1, s1) || !finish(i + 2, s2) || !finish(i + 3, s3))
            return false;
    }
    for (; i < last; ++i) {
        const double* w = weights + i * stride;
        Extended s = 0;
        for (int j = 0; j < inputs; ++j)
            s += w[j] * static_cast<Extended>(x[j]);
        if (!finish(i, s))
            return false;
    }
    return true;
}

// A sigmoid layer in blocks of neurons: first all the block's sums, then all
// its exponentials side by side, then the guards, the overflow test and the
// outputs neuron by neuron. The sums and exponentials have no effect of their
// own, so this gives exactly the one-at-a-time outcome, including which
// outputs are written before a guard fails.
template <int Code>
bool computeSigmoidLayer(const double* weights, const double* bias, double* outputs, int neurons, int inputs, const double* x)
{
    constexpr int kBlock = 32;
    fast_exp::ExpBlock<kBlock> block;
    for (int first = 0; first < neurons; first += kBlock) {
        const int count = std::min(kBlock, neurons - first);
        std::uint64_t unguarded = 0;
        forEachSum(weights, first, first + count, inputs, x, [&](int i, Extended sum) {
            const int q = i - first;
            unguarded |= std::uint64_t(!withinGuard(sum)) << q;
            block.set(q, sigmoidArgument<Code>(sum + static_cast<Extended>(bias[i])));
            return true;
        });
        block.compute(count);
        for (int q = 0; q < count; ++q) {
            if (unguarded >> q & 1)
                return false;
            Extended e;
            if (block.isFast(q)) [[likely]] {
                e = block.fastValue(q);
            } else {
                e = checkedExp(block.argument(q));  // the library's path, with its overflow test
            }
            // e lies in [0, inf] or is a NaN, so y lies in [-1, 1] or is a NaN:
            // the guard on y is the NaN test.
            const Extended y = sigmoidFromExp<Code>(e);
            if (std::isnan(y))
                return false;
            outputs[first + q] = static_cast<double>(y);
        }
    }
    return true;
}

// One layer's outputs with the activation fixed at compile time; neurons are
// finished in order.
template <int Code>
bool computeLayer(const double* weights, const double* bias, double* outputs, int neurons, int inputs, const double* x)
{
    if constexpr (Code == 1 || Code == 2)
        return computeSigmoidLayer<Code>(weights, bias, outputs, neurons, inputs, x);
    return forEachSum(weights, 0, neurons, inputs, x,
                      [&](int i, Extended sum) { return finishNeuron<Code>(sum, bias[i], outputs[i]); });
}

}  // namespace

bool TLayer::Compute(const double* source)
{
    auto compute = [&](auto kernel) {
        return kernel(Weights.data(), Bias.data(), Outputs.data(), neuronCount_, inputCount_, source);
    };
    switch (Params.Activation) {
    case 1: return compute(computeLayer<1>);
    case 2: return compute(computeLayer<2>);
    case 3: return compute(computeLayer<3>);
    case 4: return compute(computeLayer<4>);
    case 5: return compute(computeLayer<5>);
    case 6: return compute(computeLayer<6>);
    default: return compute(computeLayer<0>);
    }
}

bool TLayer::HasTrainingBuffers() const
{
    return Deltas.size() == std::size_t(neuronCount_) && BiasCorrections.size() == std::size_t(neuronCount_)
        && WeightCorrections.size() == Weights.size();
}

TNeuroNet::TNeuroNet(int inputCount)
{
    int n = clampNetworkInputs(inputCount);
    Inputs.assign(n, 0.0);
    Outputs.assign(n, 0.0);
}

void TNeuroNet::SetInputCount(int count)
{
    int n = clampNetworkInputs(count);
    if (n == InputCount())
        return;
    Inputs.assign(n, 0.0);
    if (!Layers.empty()) {
        Layers.front()->Resize(Layers.front()->NeuronCount(), n);
    } else if (OutputCount() != n) {
        Outputs.assign(n, 0.0);
    }
    Evaluated = false;
}

void TNeuroNet::AddLayer(int neuronCount, const TLayerParams& params)
{
    if (LayerCount() >= kMaxLayers)
        return;
    Layers.push_back(std::make_unique<TLayer>(neuronCount, params, OutputCount()));
    // The layer clamps its own size; the outputs follow the layer, so that they
    // always match what the last layer computes.
    Outputs.assign(Layers.back()->NeuronCount(), 0.0);
    Evaluated = false;
}

void TNeuroNet::SetLayerSize(int index, int neuronCount)
{
    if (neuronCount < 1 || neuronCount > kMaxNeurons || index < 1 || index > LayerCount())
        return;
    TLayer& layer = Layer(index);
    layer.Resize(neuronCount, layer.InputCount());
    if (index < LayerCount()) {
        TLayer& next = Layer(index + 1);
        next.Resize(next.NeuronCount(), neuronCount);
    } else {
        Outputs.assign(neuronCount, 0.0);
    }
    Evaluated = false;
}

void TNeuroNet::Randomize()
{
    for (auto& layer : Layers)
        layer->Initialize();
    Evaluated = false;
}

double TNeuroNet::MaxAbsWeight() const
{
    double largest = 0;
    for (const auto& layer : Layers)
        for (double w : layer->Weights)
            largest = std::max(largest, std::fabs(w));
    return largest == 0 ? 1.0 : largest;
}

void TNeuroNet::ResetRanges(int inputPairs, int outputPairs)
{
    InputRanges.assign(std::max(inputPairs, 0), TRange{});
    OutputRanges.assign(std::max(outputPairs, 0), TRange{});
}

void TNeuroNet::SetInput(int index, double value)
{
    if (index < 1 || index > InputCount())
        throw AssertionError("Neuran", 434);
    double stored = value;
    if (InputRanges.size() == Inputs.size()) {
        const TRange& range = InputRanges[index - 1];
        if (range.active()) {
            Extended scaled = ((static_cast<Extended>(value) - range.Min) * 2) / (static_cast<Extended>(range.Max) - range.Min) + (-1.0L);
            stored = NarrowToDouble(scaled);
        }
    }
    Inputs[index - 1] = stored;
    Evaluated = false;
}

void TNeuroNet::SetInputs(int count, const double* vector)
{
    if (count != InputCount())
        throw AssertionError("Neuran", 412);
    for (int i = 1; i <= count; ++i) {
        double value = vector ? vector[i - 1] : static_cast<double>(random_generator::Draw());
        SetInput(i, value);
    }
}

bool TNeuroNet::Evaluate()
{
    if (Evaluated)
        return true;
    if (Layers.empty()) {
        Outputs = Inputs;
        Evaluated = true;
        return true;
    }
    const double* source = Inputs.data();
    for (auto& layer : Layers) {
        if (!layer->Compute(source))
            return false;
        source = layer->Outputs.data();
    }
    const bool scaled = OutputRanges.size() == Outputs.size();
    const std::vector<double>& last = Layers.back()->Outputs;
    for (std::size_t j = 0; j < Outputs.size(); ++j) {
        double y = last[j];
        if (scaled && OutputRanges[j].active()) {
            const TRange& range = OutputRanges[j];
            Extended mapped = ((static_cast<Extended>(range.Max) - range.Min) * (y - (-0.9L))) / 1.8L + range.Min;
            Outputs[j] = NarrowToDouble(mapped);
        } else {
            Outputs[j] = y;
        }
    }
    Evaluated = true;
    return true;
}

bool TNeuroNet::BeginTraining()
{
    for (auto& layer : Layers) {
        layer->Deltas.assign(layer->NeuronCount(), 0.0);
        layer->BiasCorrections.assign(layer->NeuronCount(), 0.0);
        layer->WeightCorrections.assign(layer->Weights.size(), 0.0);
    }
    ResetRanges(InputCount(), OutputCount());
    return true;
}

void TNeuroNet::EndTraining()
{
    for (auto& layer : Layers) {
        std::vector<double>().swap(layer->Deltas);
        std::vector<double>().swap(layer->BiasCorrections);
        std::vector<double>().swap(layer->WeightCorrections);
    }
}

bool TNeuroNet::HasTrainingBuffers() const
{
    return std::all_of(Layers.begin(), Layers.end(), [](const auto& layer) { return layer->HasTrainingBuffers(); });
}

namespace {

// Sums of a block of inputs j of the next layer, each d_j rounded to a double
// after every addition as the step defines it. The block's sums are
// independent, so they advance together along each contiguous weight row.
template <int Block>
void deltaSums(const TLayer& next, int j0, double* d)
{
    for (int q = 0; q < Block; ++q)
        d[q] = 0;
    const std::size_t stride = next.InputCount();
    for (int i = 0; i < next.NeuronCount(); ++i) {
        const Extended delta = next.Deltas[i];
        const double* w = next.Weights.data() + i * stride + j0;
        for (int q = 0; q < Block; ++q)
            d[q] = static_cast<double>(d[q] + delta * static_cast<Extended>(w[q]));
    }
}

}  // namespace

void TNeuroNet::HiddenDeltas(TLayer& layer, const TLayer& next)
{
    constexpr int kBlock = 8;
    double d[kBlock];
    const int n = layer.NeuronCount();
    int j = 0;
    for (; j + kBlock <= n; j += kBlock) {
        deltaSums<kBlock>(next, j, d);
        for (int q = 0; q < kBlock; ++q)
            layer.Deltas[j + q] = static_cast<double>(layer.Derivative(j + q + 1) * static_cast<Extended>(d[q]));
    }
    for (; j < n; ++j) {
        deltaSums<1>(next, j, d);
        layer.Deltas[j] = static_cast<double>(layer.Derivative(j + 1) * static_cast<Extended>(d[0]));
    }
}

void TNeuroNet::BackPropagate(int algorithm)
{
    if ((algorithm != 1 && algorithm != 2) || Layers.empty() || !HasTrainingBuffers())
        return;
    clearTrappedFlags();
    const int L = LayerCount();

    TLayer& out = Layer(L);
    for (int i = 0; i < out.NeuronCount(); ++i)
        out.Deltas[i] = static_cast<double>(out.Derivative(i + 1) * static_cast<Extended>(out.Deltas[i]));

    for (int k = L - 1; k >= 1; --k)
        HiddenDeltas(Layer(k), Layer(k + 1));

    const Extended rate = LearningRate;
    const Extended momentum = algorithm == 2 ? static_cast<Extended>(Momentum) : 0.0L;
    for (int k = L; k >= 1; --k) {
        TLayer& layer = Layer(k);
        const TLayer* previous = k > 1 ? &Layer(k - 1) : nullptr;
        const int inputs = layer.InputCount();
        for (int i = 0; i < layer.NeuronCount(); ++i) {
            const Extended step = rate * static_cast<Extended>(layer.Deltas[i]);
            layer.BiasCorrections[i] = static_cast<double>(step + static_cast<Extended>(layer.BiasCorrections[i]));
            double* corrections = layer.WeightCorrections.data() + std::size_t(i) * inputs;
            if (!previous) {
                for (int j = 0; j < inputs; ++j)
                    corrections[j] = static_cast<double>(step * static_cast<Extended>(Inputs[j]) + static_cast<Extended>(corrections[j]));
            } else if (algorithm == 1) {
                for (int j = 0; j < inputs; ++j)
                    corrections[j] = static_cast<double>(step * static_cast<Extended>(previous->Outputs[j]) + static_cast<Extended>(corrections[j]));
            } else {
                for (int j = 0; j < inputs; ++j) {
                    Extended a = momentum * static_cast<Extended>(previous->Deltas[j]) + static_cast<Extended>(previous->Outputs[j]);
                    corrections[j] = static_cast<double>(step * a + static_cast<Extended>(corrections[j]));
                }
            }
        }
    }
    throwOnTrappedFlags();
}

void TNeuroNet::ApplyCorrections()
{
    if (!HasTrainingBuffers())
        return;
    clearTrappedFlags();
    for (auto& layer : Layers) {
        for (int i = 0; i < layer->NeuronCount(); ++i) {
            layer->Bias[i] = static_cast<double>(static_cast<Extended>(layer->Bias[i]) + layer->BiasCorrections[i]);
            layer->BiasCorrections[i] = 0;
        }
        for (std::size_t n = 0; n < layer->Weights.size(); ++n) {
            layer->Weights[n] = static_cast<double>(static_cast<Extended>(layer->Weights[n]) + layer->WeightCorrections[n]);
            layer->WeightCorrections[n] = 0;
        }
    }
    throwOnTrappedFlags();
}

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
    return v >= -kGuardBound && v <= kGuardBound;
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

// Four neurons' sums advance together, which keeps the x87 adder busy; each
// neuron still adds its products in increasing input order, so every sum is
// exactly the one-neuron-at-a-time result.
void dotProducts4(const double* w, std::size_t stride, const double* x, int n, Extended* sums)
{
    const double* w0 = w;
    const double* w1 = w + stride;
    const double* w2 = w + 2 * stride;
    const double* w3 = w + 3 * stride;
    Extended s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    for (int j = 0; j < n; ++j) {
        const Extended xj = x[j];
        s0 += w0[j] * xj;
        s1 += w1[j] * xj;
        s2 += w2[j] * xj;
        s3 += w3[j] * xj;
    }
    sums[0] = s0;
    sums[1] = s1;
    sums[2] = s2;
    sums[3] = s3;
}

Extended dotProduct(const double* w, const double* x, int n)
{
    Extended s = 0;
    for (int j = 0; j < n; ++j)
        s += w[j] * static_cast<Extended>(x[j]);
    return s;
}

}  // namespace

[[gnu::always_inline]] inline bool TLayer::FinishNeuron(int i, Extended sum)
{
    if (!withinGuard(sum))
        return false;
    Extended y = activate(Params.Activation, sum + static_cast<Extended>(Bias[i]));
    if (!withinGuard(y))
        return false;
    Outputs[i] = static_cast<double>(y);
    return true;
}

bool TLayer::Compute(const double* source)
{
    const double* w = Weights.data();
    const std::size_t stride = inputCount_;
    int i = 0;
    for (; i + 4 <= neuronCount_; i += 4) {
        Extended sums[4];
        dotProducts4(w + i * stride, stride, source, inputCount_, sums);
        for (int q = 0; q < 4; ++q)
            if (!FinishNeuron(i + q, sums[q]))
                return false;
    }
    for (; i < neuronCount_; ++i)
        if (!FinishNeuron(i, dotProduct(w + i * stride, source, inputCount_)))
            return false;
    return true;
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

void TNeuroNet::BackPropagate(int algorithm)
{
    if ((algorithm != 1 && algorithm != 2) || Layers.empty() || !HasTrainingBuffers())
        return;
    clearTrappedFlags();
    const int L = LayerCount();

    TLayer& out = Layer(L);
    for (int i = 0; i < out.NeuronCount(); ++i)
        out.Deltas[i] = static_cast<double>(out.Derivative(i + 1) * static_cast<Extended>(out.Deltas[i]));

    for (int k = L - 1; k >= 1; --k) {
        TLayer& layer = Layer(k);
        const TLayer& next = Layer(k + 1);
        for (int j = 0; j < layer.NeuronCount(); ++j) {
            double d = 0;
            for (int i = 0; i < next.NeuronCount(); ++i)
                d = static_cast<double>(d + static_cast<Extended>(next.Deltas[i]) * static_cast<Extended>(next.Weight(i, j)));
            layer.Deltas[j] = static_cast<double>(layer.Derivative(j + 1) * static_cast<Extended>(d));
        }
    }

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

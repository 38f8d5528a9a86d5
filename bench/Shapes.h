#pragma once

#include <random>
#include <string>
#include <vector>

// The networks both engines are measured on: hidden layers hyperbolic
// tangent, output layer linear, weights uniform in [-0.5, 0.5].
struct BenchShape {
    std::vector<int> sizes;  // inputs first, then each layer's neuron count
    std::string name() const
    {
        std::string text;
        for (int n : sizes)
            text += (text.empty() ? "" : "-") + std::to_string(n);
        return text;
    }
    // Multiply-adds of one forward pass (biases not counted).
    long connections() const
    {
        long total = 0;
        for (std::size_t k = 1; k < sizes.size(); ++k)
            total += long(sizes[k - 1]) * sizes[k];
        return total;
    }
};

inline const std::vector<BenchShape>& benchShapes()
{
    static const std::vector<BenchShape> shapes = {{{2, 8, 1}}, {{8, 64, 64, 4}}, {{64, 256, 256, 10}}};
    return shapes;
}

inline constexpr int kBenchPatterns = 1000;

// Patterns in [-1, 1], the same for both engines.
struct BenchData {
    std::vector<std::vector<double>> inputs;
    std::vector<std::vector<double>> targets;
};

inline BenchData benchData(const BenchShape& shape)
{
    std::mt19937 generator(2026);
    std::uniform_real_distribution<double> uniform(-1, 1);
    BenchData data;
    for (int p = 0; p < kBenchPatterns; ++p) {
        std::vector<double> x(shape.sizes.front()), t(shape.sizes.back());
        for (double& v : x)
            v = uniform(generator);
        for (double& v : t)
            v = uniform(generator);
        data.inputs.push_back(x);
        data.targets.push_back(t);
    }
    return data;
}

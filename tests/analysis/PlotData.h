#pragma once

#include <vector>

#include "engine/Neuran.h"
#include "files/DatasetFile.h"

// A dataset of patterns given as {inputs..., targets...} rows.
inline TDatasetRows MakeRows(int inputs, int outputs, const std::vector<std::vector<double>>& patterns)
{
    TDatasetRows rows;
    rows.Header.PatternCount = int(patterns.size());
    rows.Header.InputCount = inputs;
    rows.Header.OutputCount = outputs;
    for (const auto& pattern : patterns)
        rows.Values.insert(rows.Values.end(), pattern.begin(), pattern.end());
    return rows;
}

// A network of one linear layer: output j = sum of weights[j][i] * input i + bias[j].
inline TNeuroNet LinearNet(const std::vector<std::vector<double>>& weights, const std::vector<double>& bias)
{
    TNeuroNet net(int(weights.front().size()));
    TLayerParams params;
    params.WeightInit = params.BiasInit = 1;
    net.AddLayer(int(weights.size()), params);
    TLayer& layer = net.LastLayer();
    for (std::size_t j = 0; j < weights.size(); ++j) {
        for (std::size_t i = 0; i < weights[j].size(); ++i)
            layer.Weight(int(j), int(i)) = weights[j][i];
        layer.Bias[j] = bias[j];
    }
    return net;
}

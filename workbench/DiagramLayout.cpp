#include "workbench/DiagramLayout.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "data/NumberText.h"
#include "engine/Extended.h"
#include "engine/Neuran.h"

namespace {

struct ColumnGeometry {
    int centerY;
    bool compact;

    DiagramRect box(int left, int rows) const
    {
        const int half = compact ? kCompactHalfHeight : rows * kRowPitch / 2;
        return {left, centerY - half, left + kBoxWidth, centerY + half};
    }
};

// Top edge of the value label of row r (0-based) of a column.
int labelTop(const DiagramRect& box, int r) { return box.Top + r * kRowPitch + 9; }

// Centre line of neuron row r (0-based) of a column.
int rowCentre(const DiagramRect& box, int r) { return box.Top + r * kRowPitch + 19; }

void addConnections(DiagramBox& item, const DiagramRect& from, const TLayer& layer)
{
    item.LineX1 = from.Right;
    item.LineX2 = item.Rect.Left;
    for (int n = 0; n < layer.NeuronCount(); ++n) {
        const auto row = layer.WeightRow(n);
        for (int k = 0; k < layer.InputCount(); ++k) {
            if (row[k] == 0)
                continue;
            item.Connections.push_back({rowCentre(from, k), rowCentre(item.Rect, n), row[k]});
        }
    }
}

// Whether the lines from `from` into item would come out exactly as those of old.
bool sameConnections(const DiagramBox& old, const DiagramBox& item, const DiagramRect& from, const TLayer& layer)
{
    if (old.LineX1 != from.Right || old.LineX2 != item.Rect.Left)
        return false;
    std::size_t i = 0;
    for (int n = 0; n < layer.NeuronCount(); ++n) {
        const auto row = layer.WeightRow(n);
        const int y2 = rowCentre(item.Rect, n);
        for (int k = 0; k < layer.InputCount(); ++k) {
            if (row[k] == 0)
                continue;
            if (i == old.Connections.size())
                return false;
            const DiagramConnection& c = old.Connections[i++];
            if (c.Y1 != rowCentre(from, k) || c.Y2 != y2 ||
                std::bit_cast<std::uint64_t>(c.Weight) != std::bit_cast<std::uint64_t>(row[k]))
                return false;
        }
    }
    return i == old.Connections.size();
}

void addOrReuseConnections(DiagramBox& item, const DiagramRect& from, const TLayer& layer, DiagramBox* old)
{
    if (old && !old->Connections.empty() && sameConnections(*old, item, from, layer)) {
        item.LineX1 = old->LineX1;
        item.LineX2 = old->LineX2;
        item.Connections = std::move(old->Connections);
        item.LinesReused = true;
        return;
    }
    addConnections(item, from, layer);
}

void addArrow(DiagramBox& item, const DiagramRect& from, int centerY)
{
    item.HasArrow = true;
    item.Arrow = {from.Right, item.Rect.Left, centerY};
}

}  // namespace

DiagramLayout LayoutDiagram(const TNeuroNet& net, bool labels, bool compact, int th, DiagramLayout* previous)
{
    DiagramLayout d;
    d.MaxWeight = net.MaxAbsWeight();

    int maxN = net.InputCount();
    for (const auto& layer : net.Layers)
        maxN = std::max(maxN, layer->NeuronCount());
    d.CenterY = compact ? th + 27 : th + 8 + maxN * kRowPitch / 2;
    const ColumnGeometry geometry{d.CenterY, compact};

    int x = 0;
    d.LastBox = 0;
    DiagramRect inputs = geometry.box(x, net.InputCount());
    if (labels) {
        for (int r = 0; r < net.InputCount(); ++r)
            d.InputLabels.push_back({0, labelTop(inputs, r), FormatShortScientific(net.Inputs[r]), false});
        x = kLabelMargin;
    }
    inputs = geometry.box(x, net.InputCount());
    int maxBottom = inputs.Bottom;
    DiagramBox inputsBox;
    inputsBox.Rect = inputs;
    inputsBox.Caption = "Inputs (" + std::to_string(net.InputCount()) + ")";
    d.Items.push_back(std::move(inputsBox));
    x += kColumnPitch;

    for (int i = 1; i <= net.LayerCount(); ++i) {
        const TLayer& layer = net.Layer(i);
        d.LastBox = i;
        DiagramBox item;
        item.Rect = geometry.box(x, layer.NeuronCount());
        maxBottom = std::max(maxBottom, item.Rect.Bottom);
        const DiagramRect& from = d.Items.back().Rect;
        DiagramBox* old = previous && std::size_t(i) < previous->Items.size() ? &previous->Items[i] : nullptr;
        if (compact)
            addArrow(item, from, d.CenterY);
        else
            addOrReuseConnections(item, from, layer, old);
        item.Caption = "Layer " + std::to_string(i) + " (" + std::to_string(layer.NeuronCount()) + ")";
        item.Picture = layer.Params.Activation;
        d.Items.push_back(std::move(item));
        x += kColumnPitch;
    }

    d.LastBox = net.LayerCount() + 1;
    DiagramBox outputs;
    outputs.Rect = geometry.box(x, net.OutputCount());
    addArrow(outputs, d.Items.back().Rect, d.CenterY);
    outputs.Caption = "Outputs";
    d.Items.push_back(std::move(outputs));

    const DiagramRect& out = d.Items.back().Rect;
    if (labels) {
        for (int r = 0; r < net.OutputCount(); ++r)
            d.OutputLabels.push_back({out.Right + 16, labelTop(out, r), FormatShortScientific(net.Outputs[r]),
                                      !net.Evaluated});
    }

    for (std::size_t j = 0; j < d.Items.size(); ++j)
        d.Boxes[j] = d.Items[j].Rect;
    d.Width = out.Right + (labels ? kLabelMargin : 16);
    d.Height = maxBottom + 16;
    return d;
}

int HitTest(const DiagramBoxes& boxes, int lastBox, int x, int y)
{
    int result = -1;
    const int last = std::min(lastBox, kMaxBoxes - 1);
    for (int j = 0; j <= last; ++j) {
        const DiagramRect& b = boxes[j];
        if (b.Left < x && x < b.Right && b.Top < y && y < b.Bottom)
            result = j;
    }
    return result;
}

int WeightGrey(double w, double m)
{
    if (w == 0)
        return -1;
    // Only the low eight bits of v + 127 count. A broken m (0, NaN, infinite)
    // must still give a colour rather than an undefined conversion.
    Extended q = Extended(w) * 127 / m;
    if (std::isnan(q))
        q = 0;
    q = std::clamp<Extended>(q, -1e9L, 1e9L);
    const int v = static_cast<int>(std::trunc(q));
    return (v + 127) & 0xFF;
}

std::vector<std::array<int, 2>> ArrowOutline(const DiagramArrow& a)
{
    return {{a.X1, a.Y - 4},      {a.X2 - 19, a.Y - 4}, {a.X2 - 19, a.Y - 8}, {a.X2 - 1, a.Y},
            {a.X2 - 19, a.Y + 8}, {a.X2 - 19, a.Y + 4}, {a.X1, a.Y + 4}};
}

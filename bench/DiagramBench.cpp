#include <benchmark/benchmark.h>

#include <memory>

#include <QImage>
#include <QRegion>

#include "engine/Neuran.h"
#include "workbench/NetworkDiagram.h"

namespace {

// The largest network a file may hold in one layer: 2048 inputs, 1024
// neurons, about two million weight lines.
std::unique_ptr<TNeuroNet> bigNetwork()
{
    auto net = std::make_unique<TNeuroNet>(2048);
    TLayerParams params;
    params.Activation = 2;
    net->AddLayer(1024, params);
    return net;
}

// What a person sees of the diagram: a window-sized view on its middle.
QRect middleView(const NetworkDiagram& diagram, int shift)
{
    return QRect(0, diagram.height() / 2 + shift, 900, 520);
}

void paint(NetworkDiagram& diagram, const QRect& view, QImage& target)
{
    diagram.render(&target, QPoint(), QRegion(view));
}

struct BigDiagram {
    std::unique_ptr<TNeuroNet> net = bigNetwork();
    NetworkDiagram diagram;
    QImage target{900, 520, QImage::Format_ARGB32_Premultiplied};
    BigDiagram()
    {
        diagram.setView(net.get(), true, false);
        paint(diagram, middleView(diagram, 0), target);
    }
};

void BM_DiagramScrollStep(benchmark::State& state)
{
    BigDiagram big;
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        paint(big.diagram, middleView(big.diagram, 60 * step), big.target);
    }
}
BENCHMARK(BM_DiagramScrollStep)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Name("Diagram/scroll step/2048-1024");

void BM_DiagramEvaluate(benchmark::State& state)
{
    BigDiagram big;
    for (auto _ : state) {
        big.net->Evaluate();
        big.diagram.redraw();
        paint(big.diagram, middleView(big.diagram, 0), big.target);
    }
}
BENCHMARK(BM_DiagramEvaluate)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Name("Diagram/evaluate and repaint/2048-1024");

void BM_DiagramWeightChange(benchmark::State& state)
{
    BigDiagram big;
    double w = 0.25;
    for (auto _ : state) {
        w = -w;
        big.net->Layer(1).WeightRow(512)[1024] = w;
        big.diagram.redraw();
        paint(big.diagram, middleView(big.diagram, 0), big.target);
    }
}
BENCHMARK(BM_DiagramWeightChange)->Unit(benchmark::kMillisecond)->Iterations(3)->Name("Diagram/weight change and repaint/2048-1024");

}  // namespace

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include <QImage>
#include <QRegion>

#include "engine/Neuran.h"
#include "workbench/NetworkDiagram.h"

// Each benchmark runs twice: /0 draws every line on every paint, as small
// networks still do; /1 paints big boxes from cached bands of rendered lines.

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
    explicit BigDiagram(const benchmark::State& state)
    {
        if (state.range(0) == 0)
            diagram.setLineCacheFrom(SIZE_MAX);
        diagram.setView(net.get(), true, false);
        paint(diagram, middleView(diagram, 0), target);
    }
};

void BM_DiagramScrollStep(benchmark::State& state)
{
    BigDiagram big(state);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        paint(big.diagram, middleView(big.diagram, 60 * step), big.target);
    }
}
BENCHMARK(BM_DiagramScrollStep)->Unit(benchmark::kMillisecond)->Arg(0)->Iterations(3)->Name("Diagram/scroll step/2048-1024");
BENCHMARK(BM_DiagramScrollStep)->Unit(benchmark::kMillisecond)->Arg(1)->MinTime(1.0)->Name("Diagram/scroll step/2048-1024");

// A view the size of the window on a part never shown before (or shown so
// long ago that its bands were dropped): every band in it is rendered.
void BM_DiagramUnseenPart(benchmark::State& state)
{
    BigDiagram big(state);
    int page = 0;
    const int pages = big.diagram.height() / 523 - 1;
    for (auto _ : state) {
        page = (page + 37) % pages;  // spread over the whole diagram
        paint(big.diagram, QRect(0, 523 * page, 900, 520), big.target);
    }
}
BENCHMARK(BM_DiagramUnseenPart)->Unit(benchmark::kMillisecond)->Arg(0)->Iterations(3)->Name("Diagram/unseen part/2048-1024");
BENCHMARK(BM_DiagramUnseenPart)->Unit(benchmark::kMillisecond)->Arg(1)->Iterations(30)->Name("Diagram/unseen part/2048-1024");

void BM_DiagramEvaluate(benchmark::State& state)
{
    BigDiagram big(state);
    for (auto _ : state) {
        big.net->Evaluate();
        big.diagram.redraw();
        paint(big.diagram, middleView(big.diagram, 0), big.target);
    }
}
BENCHMARK(BM_DiagramEvaluate)->Unit(benchmark::kMillisecond)->Arg(0)->Iterations(3)->Name("Diagram/evaluate and repaint/2048-1024");
BENCHMARK(BM_DiagramEvaluate)->Unit(benchmark::kMillisecond)->Arg(1)->MinTime(1.0)->Name("Diagram/evaluate and repaint/2048-1024");

void BM_DiagramWeightChange(benchmark::State& state)
{
    BigDiagram big(state);
    double w = 0.25;
    for (auto _ : state) {
        w = -w;
        big.net->Layer(1).WeightRow(512)[1024] = w;
        big.diagram.redraw();
        paint(big.diagram, middleView(big.diagram, 0), big.target);
    }
}
BENCHMARK(BM_DiagramWeightChange)->Unit(benchmark::kMillisecond)->Arg(0)->Iterations(3)->Name("Diagram/weight change and repaint/2048-1024");
BENCHMARK(BM_DiagramWeightChange)->Unit(benchmark::kMillisecond)->Arg(1)->Iterations(5)->Name("Diagram/weight change and repaint/2048-1024");

}  // namespace

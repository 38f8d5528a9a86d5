#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "bench/Shapes.h"

namespace {

// Collects each run's time per iteration so that ours and the peer's can be
// set side by side after the usual console report.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                nanoseconds[run.benchmark_name()] = run.GetAdjustedRealTime() * multiplier(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nanoseconds;

private:
    static double multiplier(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kSecond: return 1e9;
        case benchmark::kMillisecond: return 1e6;
        case benchmark::kMicrosecond: return 1e3;
        default: return 1;
        }
    }
};

// Ten dependent integer additions per loop turn take ten cycles on any core
// of this family, so the loop's rate is the clock the benchmarks ran at.
double measuredClockGHz()
{
    const std::uint64_t turns = 100'000'000;
    std::uint64_t counter = turns, sum = 0;
    auto start = std::chrono::steady_clock::now();
    asm volatile(
        "1:\n\t"
        "add $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\t"
        "add $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\t"
        "dec %1\n\tjnz 1b"
        : "+r"(sum), "+r"(counter));
    double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    return 10.0 * turns / ns;
}

void printComparison(const std::map<std::string, double>& ns)
{
    auto time = [&](const std::string& name) {
        auto it = ns.find(name);
        return it == ns.end() ? 0.0 : it->second;
    };
    std::printf("\n%-10s %-18s %14s %14s %18s\n", "kind", "network", "ours", "FANN-double", "speed ours/FANN");
    for (const char* kind : {"Evaluate", "Epoch"})
        for (const BenchShape& shape : benchShapes()) {
            double ours = time(std::string(kind) + "/ours/" + shape.name());
            double peer = time(std::string(kind) + "/fann/" + shape.name());
            if (ours <= 0 || peer <= 0)
                continue;
            const bool epoch = std::string(kind) == "Epoch";
            std::printf("%-10s %-18s %11.3f %s %11.3f %s %17.2fx\n", kind, shape.name().c_str(),
                        epoch ? ours / 1e6 : ours, epoch ? "ms" : "ns", epoch ? peer / 1e6 : peer, epoch ? "ms" : "ns",
                        peer / ours);
        }
    const BenchShape& widest = benchShapes().back();
    double linear = time("Linear/ours/" + widest.name());
    if (linear > 0) {
        double ghz = measuredClockGHz();
        double macs = widest.connections() / linear;  // multiply-adds per ns = G/s
        std::printf("\nall-linear %s forward pass: %.2f G multiply-adds/s at a measured %.2f GHz = %.0f%% of one per cycle\n",
                    widest.name().c_str(), macs, ghz, 100 * macs / ghz);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printComparison(reporter.nanoseconds);
    benchmark::Shutdown();
    return 0;
}

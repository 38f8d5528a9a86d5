#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "bench/Machine.h"
#include "bench/Shapes.h"

namespace {

// Collects each run's CPU time per iteration so that ours and the peer's can
// be set side by side after the usual console report. CPU time, because on a
// shared machine the wall time also counts what other processes ran.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                nanoseconds[run.benchmark_name()] = run.GetAdjustedCPUTime() * multiplier(run.time_unit);
                for (const auto& [name, counter] : run.counters)
                    counters[run.benchmark_name()][name] = counter.value;
                wallNanoseconds[run.benchmark_name()] = run.GetAdjustedRealTime() * multiplier(run.time_unit);
                auto profiled = run.counters.find("profiler_ns");
                if (profiled != run.counters.end())
                    profilerNanoseconds[run.benchmark_name()] = profiled->second;
            }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nanoseconds;
    std::map<std::string, std::map<std::string, double>> counters;
    // The wall time, which is what the profiler's clock measures too.
    std::map<std::string, double> wallNanoseconds;
    std::map<std::string, double> profilerNanoseconds;

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

// Three independent x87 multiplication chains beside three independent
// addition chains: what the core issues per cycle when both kinds are ready.
double x87OperationsPerNanosecond()
{
    const long turns = 50'000'000;
    long counter = turns;
    const double factor = 1.0000001;
    double start = threadCpuNanoseconds();
    asm volatile(
        "fldz\n\tfldz\n\tfldz\n\tfld1\n\tfld1\n\tfld1\n\tfldl %1\n"
        "1:\n\t"
        "fmul %%st, %%st(1)\n\tfmul %%st, %%st(2)\n\tfmul %%st, %%st(3)\n\t"
        "fadd %%st, %%st(4)\n\tfadd %%st, %%st(5)\n\tfadd %%st, %%st(6)\n\t"
        "dec %0\n\tjnz 1b\n\t"
        "fstp %%st\n\tfstp %%st\n\tfstp %%st\n\tfstp %%st\n\tfstp %%st\n\tfstp %%st\n\tfstp %%st"
        : "+r"(counter)
        : "m"(factor)
        : "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
    double ns = threadCpuNanoseconds() - start;
    return 6.0 * turns / ns;
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
        std::printf("x87 multiplications and additions together: %.2f per cycle (a multiply-add needs one of each)\n",
                    x87OperationsPerNanosecond() / ghz);
    }
}

// Training in the progress window beside the same run without windows, and
// the headless run's epoch beside the engine's and the peer's batch epoch.
void printTraining(const CollectingReporter& reporter)
{
    bool header = false;
    double runEpoch = 0;
    for (const auto& [name, counters] : reporter.counters) {
        if (name.rfind("TrainingRun/", 0) != 0)
            continue;
        if (!header) {
            std::printf("\n%-44s %16s %16s %16s\n", "training run", "headless ep/s", "in window ep/s", "window/headless");
            header = true;
        }
        auto value = [&](const char* key) {
            auto it = counters.find(key);
            return it == counters.end() ? 0.0 : it->second;
        };
        std::printf("%-44s %16.0f %16.0f %15.1f%%\n", name.substr(name.find('/') + 1).c_str(),
                    value("headless_epochs/s"), value("window_epochs/s"), 100 * value("window/headless"));
        if (name.find("/8-64-64-4") != std::string::npos)
            runEpoch = value("headless_ms/epoch");
    }
    auto time = [&](const std::string& name) {
        auto it = reporter.nanoseconds.find(name);
        return it == reporter.nanoseconds.end() ? 0.0 : it->second;
    };
    const double engine = time("Epoch/ours/8-64-64-4"), peer = time("Epoch/fann/8-64-64-4");
    if (runEpoch > 0 && engine > 0 && peer > 0)
        std::printf("8-64-64-4 x 1000 patterns, one epoch: headless run %.2f ms, engine alone %.2f ms, FANN batch %.2f ms\n",
                    runEpoch, engine / 1e6, peer / 1e6);
    if (const double display = time("DisplayUpdate/window/10000x4"); display > 0)
        std::printf("one display update, 10,000 patterns and 4 outputs, written and drawn: %.1f ms\n", display / 1e6);
}

// The profiler's mean time per evaluation beside the benchmark's for the same
// network. Both are wall times: the profiler's clock is the wall clock.
void printProfilerComparison(const CollectingReporter& reporter)
{
    auto time = [](const std::map<std::string, double>& ns, const std::string& name) {
        auto it = ns.find(name);
        return it == ns.end() ? 0.0 : it->second;
    };
    std::printf("\n%-18s %20s %20s %18s\n", "network", "Evaluate (wall)", "profiler's mean", "profiler/Evaluate");
    for (const BenchShape& shape : benchShapes()) {
        double bench = time(reporter.wallNanoseconds, "Evaluate/ours/" + shape.name());
        double profiled = time(reporter.profilerNanoseconds, "Profiler/ours/" + shape.name());
        if (bench > 0 && profiled > 0)
            std::printf("%-18s %17.1f ns %17.1f ns %18.3f\n", shape.name().c_str(), bench, profiled, profiled / bench);
    }
}

void printImportComparison(const std::map<std::string, double>& ns)
{
    auto csv = ns.find("Import/csv/100000x10"), nld = ns.find("Import/nld/100000x10");
    if (csv == ns.end() || nld == ns.end())
        return;
    std::printf("\nimport of 100000 pairs x 10 values: CSV text %.1f ms, dataset file %.1f ms, text/binary %.1fx\n",
                csv->second / 1e6, nld->second / 1e6, csv->second / nld->second);
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    printMachine();
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printComparison(reporter.nanoseconds);
    printTraining(reporter);
    printImportComparison(reporter.nanoseconds);
    printProfilerComparison(reporter);
    benchmark::Shutdown();
    return 0;
}

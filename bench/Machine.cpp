#include "bench/Machine.h"

#include <ctime>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>

namespace {

// The first value of each field in /proc/cpuinfo, that is CPU 0's.
std::map<std::string, std::string> cpuInfo()
{
    std::map<std::string, std::string> fields;
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string key = line.substr(0, line.find_last_not_of(" \t", colon - 1) + 1);
        std::string value = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
        fields.emplace(key, value);
    }
    return fields;
}

}  // namespace

double threadCpuNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}

std::string cpuDescription()
{
    auto info = cpuInfo();
    return info["vendor_id"] + " family " + info["cpu family"] + " model " + info["model"] + " ("
        + info["model name"] + ")";
}

double measuredClockGHz()
{
    const std::uint64_t turns = 20'000'000;
    std::uint64_t counter = turns, value = 1, factor = 3;
    double start = threadCpuNanoseconds();
    asm volatile(
        "1:\n\t"
        "imul %2, %0\n\timul %2, %0\n\timul %2, %0\n\timul %2, %0\n\timul %2, %0\n\t"
        "imul %2, %0\n\timul %2, %0\n\timul %2, %0\n\timul %2, %0\n\timul %2, %0\n\t"
        "dec %1\n\tjnz 1b"
        : "+r"(value), "+r"(counter)
        : "r"(factor));
    double ns = threadCpuNanoseconds() - start;
    return 3.0 * 10.0 * double(turns) / ns;
}

double kernelClockGHz()
{
    std::ifstream freq("/sys/devices/system/cpu/cpu0/cpufreq/scaling_cur_freq");
    double khz = 0;
    if (freq >> khz && khz > 0)
        return khz / 1e6;
    try {
        return std::stod(cpuInfo()["cpu MHz"]) / 1e3;
    } catch (const std::exception&) {
        return 0;
    }
}

void printMachine()
{
    double measured = measuredClockGHz();
    double kernel = kernelClockGHz();
    std::printf("ran on: %s, %.2f GHz measured", cpuDescription().c_str(), measured);
    if (kernel > 0)
        std::printf(", %.2f GHz reported by the kernel", kernel);
    std::printf("\n");
    if (kernel > 0 && (measured > 1.6 * kernel || measured < 0.6 * kernel))
        std::printf("note: the measured clock is far from the reported one (turbo, throttling or a busy machine)\n");
}

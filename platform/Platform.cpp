#include "platform/Platform.h"

#include <chrono>

namespace platform {
namespace {

std::function<std::uint32_t()>& seedClockOverride()
{
    static std::function<std::uint32_t()> clock;
    return clock;
}

}  // namespace

std::uint32_t TickCount()
{
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

double PreciseMilliseconds()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

std::uint32_t SeedClock()
{
    if (seedClockOverride())
        return seedClockOverride()();
    using namespace std::chrono;
    auto ns = duration_cast<nanoseconds>(high_resolution_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ns);
}

void SetSeedClock(std::function<std::uint32_t()> clock)
{
    seedClockOverride() = std::move(clock);
}

}  // namespace platform

#pragma once

#include <cstdint>
#include <functional>

// The platform calls the program makes by name, reduced to what it needs.
namespace platform {

// Milliseconds since an arbitrary start, wrapping at 2^32 like a tick counter.
std::uint32_t TickCount();

// Milliseconds since an arbitrary start from the monotonic clock, to a
// fraction of a microsecond: what the profiler times evaluations with.
double PreciseMilliseconds();

// Low 32 bits of the high-resolution counter; what the random generator is
// seeded with.
std::uint32_t SeedClock();

// Replaces the seed clock, so that tests get repeatable random weights.
// An empty function restores the real clock.
void SetSeedClock(std::function<std::uint32_t()> clock);

}  // namespace platform

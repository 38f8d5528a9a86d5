#include "engine/Random.h"

#include "platform/Platform.h"

namespace random_generator {
namespace {
std::uint32_t state = 0;
}

std::uint32_t State()
{
    return state;
}

void SetState(std::uint32_t value)
{
    state = value;
}

void SeedFromClock()
{
    state = platform::SeedClock();
}

Extended Draw()
{
    state = state * 134775813u + 1u;
    return static_cast<Extended>(state) / 4294967296.0L;
}

}  // namespace random_generator

#pragma once

#include <cstdint>

#include "engine/Extended.h"

// The program-wide 32-bit linear congruential generator:
// S = S * 134775813 + 1 (mod 2^32), each draw yielding S / 2^32 in [0, 1).
namespace random_generator {

std::uint32_t State();
void SetState(std::uint32_t state);

// Sets the state from the platform's seed clock.
void SeedFromClock();

Extended Draw();

}  // namespace random_generator

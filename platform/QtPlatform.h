#pragma once

// The platform calls that need the windowing system.
namespace platform {

// The default beep, at the end of a training run or a profiler run.
void Beep();

}  // namespace platform

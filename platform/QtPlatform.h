#pragma once

#include <QString>

// The platform calls that need the windowing system.
namespace platform {

// The default beep, at the end of a training run or a profiler run.
void Beep();

// The clipboard's text; empty when it holds none (nothing, or only a picture).
QString ClipboardText();

}  // namespace platform

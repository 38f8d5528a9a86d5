#pragma once

#include <string>

// What the benchmarks ran on, so that figures from different machines are
// read for what they are.

// "AuthenticAMD family 25 model 1 (AMD EPYC 7B13)", from the kernel's view of CPU 0.
std::string cpuDescription();

// Time this thread has run, so that a busy machine's other work is not
// counted in the measurements below.
double threadCpuNanoseconds();

// The core clock measured with a chain of dependent integer multiplications,
// whose 3-cycle latency no current x86-64 core shortens.
double measuredClockGHz();

// The clock the kernel reports for CPU 0, or 0 when it reports none.
double kernelClockGHz();

// One line naming the core and both clocks.
void printMachine();

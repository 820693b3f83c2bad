// Instructions counted with the core's SysTick timer. Under an emulator that lets time pass
// by instructions (QEMU's -icount), the timer's counts measure instructions; a calibration
// loop of a known length gives their ratio. On silicon the same counts are clock cycles.
#pragma once

#include <cstdint>

// Starts the timer free-running and measures the calibration loop.
void instruction_clock_start();
// The timer's reading now; it counts down.
uint32_t instruction_clock_now();
// Instructions between two readings (`earlier` first), from the calibration.
uint32_t instructions_between(uint32_t earlier, uint32_t later);

#include "instruction_count.h"

namespace {

// SysTick, the Cortex-M core's own 24-bit down-counter.
volatile uint32_t& SYST_CSR = *reinterpret_cast<volatile uint32_t*>(0xE000E010);
volatile uint32_t& SYST_RVR = *reinterpret_cast<volatile uint32_t*>(0xE000E014);
volatile uint32_t& SYST_CVR = *reinterpret_cast<volatile uint32_t*>(0xE000E018);
constexpr uint32_t ENABLE_ON_CORE_CLOCK = (1u << 0) | (1u << 2);
constexpr uint32_t COUNT_MASK = 0xFFFFFFu;

// The calibration loop: two instructions a turn.
constexpr uint32_t CALIBRATION_TURNS = 100000;
constexpr uint32_t CALIBRATION_INSTRUCTIONS = 2 * CALIBRATION_TURNS;

uint32_t calibration_counts = 0;

} // namespace

void instruction_clock_start() {
    SYST_RVR = COUNT_MASK;
    SYST_CVR = 0;
    SYST_CSR = ENABLE_ON_CORE_CLOCK;
    const uint32_t before = instruction_clock_now();
    uint32_t turns = CALIBRATION_TURNS;
    __asm__ volatile("1: subs %0, %0, #1\n"
                     "   bne 1b"
                     : "+r"(turns));
    calibration_counts = (before - instruction_clock_now()) & COUNT_MASK;
}

uint32_t instruction_clock_now() {
    return SYST_CVR;
}

uint32_t instructions_between(uint32_t earlier, uint32_t later) {
    if (calibration_counts == 0) {
        return 0;
    }
    const uint64_t counts = (earlier - later) & COUNT_MASK;
    return static_cast<uint32_t>((counts * CALIBRATION_INSTRUCTIONS + calibration_counts / 2) /
                                 calibration_counts);
}

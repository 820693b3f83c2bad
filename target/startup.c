// What a Cortex-M3 runs from reset to main: its vector table, the initialised variables
// copied from flash, the others zeroed, the constructors of static objects. The stack is
// filled with a pattern first, so that the deepest use can be read back at the end.
#include <stdint.h>

#include "semihosting.h"
#include "stack_use.h"

extern uint32_t __data_load[], __data_start[], __data_end[];
extern uint32_t __bss_start[], __bss_end[];
extern uint32_t __stack_bottom[], __stack_top[];
extern void (*__init_array_start[])(void);
extern void (*__init_array_end[])(void);

int main(void);

_Noreturn void reset_handler(void);
_Noreturn void fault_handler(void);

// The stack's top, then the handlers of the exceptions up to SysTick; nothing here uses an
// interrupt.
__attribute__((section(".vectors"), used)) static const uint32_t vectors[16] = {
    (uint32_t)__stack_top,   (uint32_t)reset_handler,
    (uint32_t)fault_handler, // NMI
    (uint32_t)fault_handler, // hard fault
    (uint32_t)fault_handler, // memory management
    (uint32_t)fault_handler, // bus fault
    (uint32_t)fault_handler, // usage fault
};

void reset_handler(void) {
    // Below the frame this function runs in, the stack is not in use yet.
    uint32_t* sp;
    __asm__ volatile("mov %0, sp" : "=r"(sp));
    for (uint32_t* p = __stack_bottom; p < sp - 16; ++p) {
        *p = STACK_PATTERN;
    }
    for (uint32_t *from = __data_load, *to = __data_start; to < __data_end;) {
        *to++ = *from++;
    }
    for (uint32_t* p = __bss_start; p < __bss_end; ++p) {
        *p = 0;
    }
    for (void (**f)(void) = __init_array_start; f < __init_array_end; ++f) {
        (*f)();
    }
    host_exit(main());
}

void fault_handler(void) {
    host_print("txm9 target: the processor faulted (a bad address, instruction or stack)\n");
    host_exit(3);
}

uint32_t stack_bytes_used(void) {
    const uint32_t* p = __stack_bottom;
    while (p < __stack_top && *p == STACK_PATTERN) {
        ++p;
    }
    return (uint32_t)((const char*)__stack_top - (const char*)p);
}

uint32_t stack_bytes(void) {
    return (uint32_t)((const char*)__stack_top - (const char*)__stack_bottom);
}

int stack_exhausted(void) {
    for (int i = 0; i < 8; ++i) {
        if (__stack_bottom[i] != STACK_PATTERN) {
            return 1;
        }
    }
    return 0;
}

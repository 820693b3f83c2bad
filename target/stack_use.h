// How deep the stack has been since reset: the start-up code fills it with a pattern, and
// the first word from the bottom that no longer holds it marks the deepest use.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define STACK_PATTERN 0x5AC3A55Cu

uint32_t stack_bytes_used(void);
uint32_t stack_bytes(void); // the stack's size
// The stack's lowest words have been written: it has reached, or gone past, its end and into
// the variables below it.
int stack_exhausted(void);

#ifdef __cplusplus
}
#endif

// The debugger's channel to the host (ARM semihosting): files and a console on the machine
// that runs the emulator or the debug probe. The instrument has no such channel; only the
// programs of this folder use it, to take their input from the host and hand results back.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// A host file opened for reading or (created, emptied) for writing; -1 if it cannot be.
int host_open(const char* path, int for_writing);
void host_close(int handle);
// Up to `size` bytes; how many came (0 at the end of the file), -1 on an error.
int32_t host_read(int handle, void* buffer, uint32_t size);
// All `size` bytes, or 0.
int host_write(int handle, const void* data, uint32_t size);
// To the byte `position` from the file's start; 0 if it cannot.
int host_seek(int handle, uint32_t position);
// A text on the host's console.
void host_print(const char* text);
// The program's arguments as the host passed them, separated by spaces; 0 if none came.
int host_command_line(char* buffer, uint32_t size);
// Ends the emulation (or the debug session) with an exit status.
__attribute__((noreturn)) void host_exit(int status);

#ifdef __cplusplus
}
#endif

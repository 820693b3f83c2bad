#include "semihosting.h"

#include <string.h>

enum {
    SYS_OPEN = 0x01,
    SYS_CLOSE = 0x02,
    SYS_WRITE0 = 0x04,
    SYS_WRITE = 0x05,
    SYS_READ = 0x06,
    SYS_SEEK = 0x0A,
    SYS_GET_CMDLINE = 0x15,
    SYS_EXIT = 0x18,
    SYS_EXIT_EXTENDED = 0x20,
};

// The open modes semihosting numbers as fopen's "rb" and "wb".
enum { MODE_READ_BINARY = 1, MODE_WRITE_BINARY = 5 };

// Why the application stopped: it ended (with a status, through the extended call), or it
// failed, which a host without the extended call reports as status 1.
static const uint32_t ADP_STOPPED_APPLICATION_EXIT = 0x20026;
static const uint32_t ADP_STOPPED_RUN_TIME_ERROR = 0x20023;

// On an M-profile core the host answers a BKPT 0xAB with r0 the operation and r1 its block
// of arguments.
static int32_t semihost(uint32_t operation, const void* arguments) {
    register uint32_t r0 __asm__("r0") = operation;
    register const void* r1 __asm__("r1") = arguments;
    __asm__ volatile("bkpt 0xab" : "+r"(r0) : "r"(r1) : "memory");
    return (int32_t)r0;
}

int host_open(const char* path, int for_writing) {
    const uint32_t block[3] = {(uint32_t)path, for_writing ? MODE_WRITE_BINARY : MODE_READ_BINARY,
                               (uint32_t)strlen(path)};
    return semihost(SYS_OPEN, block);
}

void host_close(int handle) {
    const uint32_t block[1] = {(uint32_t)handle};
    semihost(SYS_CLOSE, block);
}

int32_t host_read(int handle, void* buffer, uint32_t size) {
    const uint32_t block[3] = {(uint32_t)handle, (uint32_t)buffer, size};
    // The host answers with the bytes it could not read.
    const int32_t left = semihost(SYS_READ, block);
    return left < 0 || (uint32_t)left > size ? -1 : (int32_t)(size - (uint32_t)left);
}

int host_write(int handle, const void* data, uint32_t size) {
    const uint32_t block[3] = {(uint32_t)handle, (uint32_t)data, size};
    return semihost(SYS_WRITE, block) == 0;
}

int host_seek(int handle, uint32_t position) {
    const uint32_t block[2] = {(uint32_t)handle, position};
    return semihost(SYS_SEEK, block) == 0;
}

void host_print(const char* text) {
    semihost(SYS_WRITE0, text);
}

int host_command_line(char* buffer, uint32_t size) {
    uint32_t block[2] = {(uint32_t)buffer, size};
    return semihost(SYS_GET_CMDLINE, block) == 0;
}

void host_exit(int status) {
    const uint32_t block[2] = {ADP_STOPPED_APPLICATION_EXIT, (uint32_t)status};
    semihost(SYS_EXIT_EXTENDED, block);
    semihost(SYS_EXIT, (const void*)(status == 0 ? ADP_STOPPED_APPLICATION_EXIT
                                                 : ADP_STOPPED_RUN_TIME_ERROR));
    for (;;) {
    }
}

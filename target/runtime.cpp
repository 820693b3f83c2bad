// What C++ asks of a program that has no C++ library. The firmware allocates nothing and
// deletes nothing, but the standard library's headers still name the deleting operators (a
// virtual destructor, an empty std::string's) and the slot of a pure virtual function: none
// of them can be reached, and if one ever is, the program says so. Nothing ends either (main
// returning ends the emulation), so the destructors of static objects are not kept.
#include <cstddef>

#include "semihosting.h"

namespace {

[[noreturn]] void unreachable(const char* what) {
    host_print("txm9 target: ");
    host_print(what);
    host_print(" reached\n");
    host_exit(3);
}

} // namespace

void operator delete(void*) noexcept {
    unreachable("operator delete");
}

void operator delete(void*, std::size_t) noexcept {
    unreachable("operator delete");
}

extern "C" void __cxa_pure_virtual() {
    unreachable("a pure virtual function");
}

extern "C" int __aeabi_atexit(void*, void (*)(void*), void*) {
    return 0;
}

// The processor stopped by the FPU's trap: it does nothing more until the instrument is
// switched on again. The program decides what that is (the twin goes back to the journal,
// where the next ON will find the firmware as the trap left it).
#pragma once

[[noreturn]] void halt_until_switched_on(const char* reason);
